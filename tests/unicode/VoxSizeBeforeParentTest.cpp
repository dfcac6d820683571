// Every wide control class, sized before it has a parent, as controls made
// at run time commonly are: nothing may need a window before there can be
// one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/classlib/ControlTestSupport.h"
#include "tests/common/PlaceControl.h"

namespace {

// The control classes of the units' start-up registrations (the menus
// that VoxMenus registers are no controls).
const std::vector<std::string> kWideControls = {
    "TVoxEdit",        "TVoxMemo",      "TVoxLabel",       "TVoxStaticText",  // VoxStdCtrls
    "TVoxButton",      "TVoxCheckBox",  "TVoxRadioButton", "TVoxGroupBox",
    "TVoxScrollBar",   "TVoxListBox",   "TVoxComboBox",
    "TVoxScrollBox",   "TVoxFrame",                                           // VoxForms
};

TEST(VoxSizeBeforeParent, EveryWideControlTakesItsSizeBeforeItsParent) {
  controls_test::THostWindow window;
  Owned<TCustomControl> panel(New<TCustomControl>(nullptr));
  panel->SetBounds(0, 0, 500, 400);
  panel->SetParentWindow(window.Handle());
  window.Show();
  place_test::ExpectEachPlacesSizeFirst(kWideControls, panel.get());
}

}  // namespace
