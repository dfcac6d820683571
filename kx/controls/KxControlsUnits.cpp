#include "kx/controls/KxControlsUnits.h"

#include "kx/controls/KxBmpBtn.h"
#include "kx/controls/KxButton.h"
#include "kx/controls/KxColorPicker.h"
#include "kx/controls/KxPanel.h"
#include "kx/controls/KxPopups.h"
#include "kx/controls/KxPrgres.h"
#include "kx/controls/KxRadChk.h"
#include "kx/controls/KxRadGrp.h"
#include "kx/controls/KxCmboBx.h"
#include "kx/controls/KxEdit.h"
#include "kx/controls/KxSpnEdt.h"

const std::vector<TUnitEntry>& KxControlsUnits() {
  static const std::vector<TUnitEntry> units = {
      // Empties the kind-glyph cache and registers the button classes; the
      // glyphs loaded meanwhile go at finalisation.
      {"KxButton", InitializeKxButton, FinalizeKxButton},
      // The bitmap button's class; its shared pattern goes with the last
      // button, or here at the latest.
      {"KxBmpBtn", InitializeKxBmpBtn, FinalizeKxBmpBtn},
      // The colour-name table takes its names from the string table; they
      // are let go at finalisation.
      {"KxColorPicker", InitializeKxColorPicker, FinalizeKxColorPicker},
      {"KxRadChk", InitializeKxRadChk, nullptr},
      // The radio and check groups.
      {"KxRadGrp", InitializeKxRadGrp, nullptr},
      // The combo boxes' stored-form classes.
      {"KxCmboBx", InitializeKxCmboBx, FinalizeKxCmboBx},
      // The edits' stored-form classes.
      {"KxEdit", InitializeKxEdit, FinalizeKxEdit},
      // The panels, group boxes, spacers, status bars and toolbars.
      {"KxPanel", InitializeKxPanel, FinalizeKxPanel},
      {"KxPrgres", InitializeKxPrgres, nullptr},
      // The calendar's, the time picker's and the pop-up panel's classes.
      {"KxPopups", InitializeKxPopups, nullptr},
      // The spin controls' stored-form classes.
      {"KxSpnEdt", InitializeKxSpnEdt, FinalizeKxSpnEdt},
  };
  return units;
}
