// Keyboard routing as the platform does it: CN_KEYDOWN/CN_CHAR ask the
// control, then hand dialog keys and characters to the form, which
// broadcasts them; accelerators and shift states.
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

TEST(WinControlKeyHelpersTest, AcceleratorsAndShiftStates) {
  struct Case {
    WORD vk;
    const char* caption;
    bool want;
  };
  const Case cases[] = {
      {'O', "&Open", true},  {'P', "&Open", false}, {'O', "Open", false},
      {'S', "Save && &Send", true}, {'S', "Save &&Send", false}, {'X', "E&xit", true},
      {'X', "e&xit", true},  {'1', "Item &1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(IsAccel(c.vk, c.caption), c.want);
  }
  EXPECT_EQ(KeysToShiftState(MK_SHIFT | MK_LBUTTON) - TShiftState{ssAlt}, (TShiftState{ssShift, ssLeft}));
  EXPECT_EQ(KeysToShiftState(MK_CONTROL | MK_RBUTTON | MK_MBUTTON) - TShiftState{ssAlt},
            (TShiftState{ssCtrl, ssRight, ssMiddle}));
  EXPECT_TRUE(KeyDataToShiftState(0x20000000).Contains(ssAlt));
}

// A window control standing in for a form: the hooks tell the Controls unit
// that it is one.
class WinControlKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    saved = ControlsHooks();
    // Only the stand-in is a form: the Forms unit's hooks would take it for
    // a real one.
    ControlsHooks() = TControlsHooks{};
    TStandInForm stand = MakeStandInForm(host.Handle());
    form = stand.Form;
    panel = stand.Panel;
    edit = stand.Edit;
    button = New<TProbeControl>(form);
    button->SetParent(panel);
  }
  void TearDown() override {
    form->Free();
    ControlsHooks() = saved;
  }
  TControlsHooks saved;
  THostWindow host;
  TProbeControl* form = nullptr;
  TProbeControl* panel = nullptr;
  TProbeControl* edit = nullptr;
  TProbeControl* button = nullptr;
};

TEST_F(WinControlKeyTest, DialogKeysGoToTheFormUnlessTheControlWantsThem) {
  int dialogKeys = 0;
  form->OnMessage = [&](TProbeControl*, TMessage& m) {
    if (m.Msg != CM_DIALOGKEY) return false;
    ++dialogKeys;
    m.Result = m.WParam == VK_TAB ? 1 : 0;
    return true;
  };
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_TAB, 0), 1);  // the form took it
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_ESCAPE, 0), 0);
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, 'A', 0), 0);  // an ordinary key is not a dialog key
  EXPECT_EQ(dialogKeys, 2);

  edit->OnMessage = [](TProbeControl*, TMessage& m) {
    if (m.Msg != WM_GETDLGCODE) return false;
    m.Result = DLGC_WANTTAB;
    return true;
  };
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_TAB, 0), 0);
  EXPECT_EQ(dialogKeys, 2);
}

TEST_F(WinControlKeyTest, ChildKeysBubbleUpAndStopTheKey) {
  panel->OnMessage = [](TProbeControl*, TMessage& m) {
    if (m.Msg != CM_CHILDKEY) return false;
    m.Result = m.WParam == VK_F2 ? 1 : 0;
    return m.Result != 0;
  };
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F2, 0), 1);
  EXPECT_TRUE(form->SawMessage(CM_CHILDKEY) == false);  // the panel stopped it
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F3, 0), 0);
  EXPECT_TRUE(form->SawMessage(CM_CHILDKEY));
}

TEST_F(WinControlKeyTest, DialogCharsAreBroadcastUntilAControlTakesOne) {
  std::vector<TControl*> asked;
  auto takeO = [&](TProbeControl* self, TMessage& m) {
    if (m.Msg != CM_DIALOGCHAR) return false;
    asked.push_back(self);
    m.Result = IsAccel(static_cast<WORD>(m.WParam), self == button ? "&OK" : "&Name") ? 1 : 0;
    return true;
  };
  edit->OnMessage = takeO;
  button->OnMessage = takeO;
  EXPECT_EQ(edit->Perform(CN_CHAR, 'o', 0), 1);
  EXPECT_EQ(asked, (std::vector<TControl*>{edit, button}));
  asked.clear();
  EXPECT_EQ(edit->Perform(CN_CHAR, 'n', 0), 1);
  EXPECT_EQ(asked, (std::vector<TControl*>{edit}));  // taken at once: the broadcast stops
  asked.clear();
  EXPECT_EQ(edit->Perform(CN_CHAR, 'z', 0), 0);
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(WinControlKeyTest, FocusGoesThroughTheFormsHooks) {
  std::vector<std::string> log;
  ControlsHooks().FocusControl = [&](TCustomForm*, TWinControl* c) {
    log.push_back("focus " + c->GetName());
    ::SetFocus(c->GetHandle());
  };
  ControlsHooks().SetFocusedControl = [&](TCustomForm*, TWinControl* c) {
    log.push_back("focused " + c->GetName());
    return true;
  };
  edit->SetName("Edit1");
  SetActiveWindow(host.Handle());
  EXPECT_TRUE(edit->CanFocus());
  edit->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"focus Edit1", "focused Edit1"}));
  EXPECT_TRUE(edit->Focused());
  edit->SetVisible(false);
  EXPECT_FALSE(edit->CanFocus());
}

}  // namespace
