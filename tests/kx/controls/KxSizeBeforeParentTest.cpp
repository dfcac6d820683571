// Every control class the framed library registers (its foundation's and
// its controls'), sized before it has a parent, as controls made at run time
// commonly are: nothing may need a window before there can be one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/PlaceControl.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

namespace {

// The control classes of the units' start-up registrations, unit by unit
// (the components among them, such as the balloon hints, the frame
// controller or the version information, are no controls).
const std::vector<std::string> kFoundationControls = {
    "TKxBorder",        "TKxLEDDisplay",       "TKxMeter",                             // KxBorder
    "TKxLabel",         "TKxURLLabel",                                                 // KxLabel
    "TKxListBox",       "TKxTabbedListBox",    "TKxEditListBox", "TKxRankListBox",     // KxLstBox
    "TKxFontListBox",                                                                  //
    "TKxCheckList",                                                                    // KxChkLst
    "TKxStatusPane",    "TKxGlyphStatus",      "TKxClockStatus", "TKxKeyStatus",       // KxStatusPanes
    "TKxResourceStatus", "TKxMarqueeStatus",   "TKxFieldStatus", "TKxVersionInfoStatus",
};

const std::vector<std::string> kControls = {
    "TKxButton",      "TKxBitBtn",        "TKxMenuButton",     "TKxToolbarButton",  // KxButton
    "TKxMenuToolbarButton", "TKxToolButton", "TKxControlButton", "TKxShapeButton",
    "TKxBmpButton",                                                                 // KxBmpBtn
    "TKxColorPicker",                                                               // KxColorPicker
    "TKxComboBox",    "TKxMRUComboBox",   "TKxImageComboBox",  "TKxColorComboBox",  // KxCmboBx
    "TKxFontComboBox",
    "TKxEdit",        "TKxMaskEdit",      "TKxMemo",           "TKxRichEdit",       // KxEdit
    "TKxHotKeyEdit",  "TKxNumericEdit",   "TKxExpandEdit",     "TKxColorEdit",
    "TKxDateTimeEdit",
    "TKxPanel",       "TKxGroupBox",      "TKxSpacer",         "TKxStatusBar",      // KxPanel
    "TKxToolbar",
    "TKxCalendar",    "TKxTimePicker",    "TKxPopupPanel",                          // KxPopups
    "TKxProgressBar",                                                               // KxPrgres
    "TKxRadioButton", "TKxCheckBox",                                                // KxRadChk
    "TKxRadioGroup",  "TKxCheckGroup",                                              // KxRadGrp
    "TKxRapidFireButton", "TKxSpinButtons", "TKxSpinEdit",     "TKxSpinner",        // KxSpnEdt
};

TEST(KxSizeBeforeParent, EveryFoundationControlTakesItsSizeBeforeItsParent) {
  kxc_test::TControlHost host(clBtnFace, 500, 400);
  host.Show();
  place_test::ExpectEachPlacesSizeFirst(kFoundationControls, host.Panel());
}

TEST(KxSizeBeforeParent, EveryControlOfTheControlsTakesItsSizeBeforeItsParent) {
  kxc_test::TControlHost host(clBtnFace, 500, 400);
  host.Show();
  place_test::ExpectEachPlacesSizeFirst(kControls, host.Panel());
}

}  // namespace
