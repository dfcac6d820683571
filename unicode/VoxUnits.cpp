#include "unicode/VoxUnits.h"

#include "unicode/VoxClasses.h"
#include "unicode/VoxControls.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxStdCtrls.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxSystem.h"
#include "unicode/VoxWindows.h"

const std::vector<TUnitEntry>& VoxUnits() {
  static const std::vector<TUnitEntry> units = {
      {"VoxSystem", InitializeVoxSystem, nullptr},
      // The platform flags, before any wrapper reads them.
      {"VoxSysUtils", InitializeVoxSysUtils, nullptr},
      // Lets go of shell32 and the last version value at the end.
      {"VoxWindows", nullptr, FinalizeVoxWindows},
      {"VoxClasses", InitializeVoxClasses, nullptr},
      // The caption holders and the trap lists, and the two window atoms.
      {"VoxControls", InitializeVoxControls, FinalizeVoxControls},
      // The application companion (the class library's application exists
      // by now) and the main thread's message hook.
      {"VoxForms", InitializeVoxForms, FinalizeVoxForms},
      // The wide pop-up list, beside the class library's.
      {"VoxMenus", InitializeVoxMenus, FinalizeVoxMenus},
      // The wide standard controls' classes, for stored forms.
      {"VoxStdCtrls", InitializeVoxStdCtrls, nullptr},
  };
  return units;
}
