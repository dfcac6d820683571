// Actions and their links: a control follows its action while it still
// shows the action's values.
#include "ControlTestSupport.h"

#include "classlib/ActnList.h"
#include "classlib/StdActns.h"

using namespace controls_test;

namespace {

class TLabelish : public TGraphicControl {
  DECLARE_CLASS(TLabelish, TGraphicControl)
  explicit TLabelish(TComponent* owner) : TGraphicControl(owner) {}
};
IMPLEMENT_CLASS(TLabelish)

struct TCounter {
  int Executed = 0;
  int Updated = 0;
  bool EnableOnUpdate = true;
  void Execute(TObject*) { ++Executed; }
  void Update(TObject* sender) {
    ++Updated;
    static_cast<TCustomAction*>(sender)->SetEnabled(EnableOnUpdate);
  }
};

class ActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    owner = New<TComponent>(nullptr);
    list = New<TActionList>(owner);
    action = New<TAction>(owner);
    action->SetActionList(list);
    control = New<TLabelish>(owner);
    control->SetName("Label1");
    control->SetCaption("Label1");
  }
  void TearDown() override { owner->Free(); }
  TComponent* owner = nullptr;
  TActionList* list = nullptr;
  TAction* action = nullptr;
  TLabelish* control = nullptr;
};

TEST_F(ActionTest, AControlTakesAndFollowsItsActionsCaptionAndEnabled) {
  action->SetCaption("&Open");
  action->SetHint("Opens");
  control->SetAction(action);
  EXPECT_EQ(control->GetCaption(), "&Open");  // a caption equal to the Name is replaced
  EXPECT_EQ(control->GetHint(), "Opens");
  EXPECT_TRUE(control->GetControlStyle().Contains(csActionClient));
  EXPECT_FALSE(control->IsCaptionStored());

  action->SetCaption("&Close");
  action->SetEnabled(false);
  EXPECT_EQ(control->GetCaption(), "&Close");
  EXPECT_FALSE(control->GetEnabled());

  // A control that shows something else of its own is no longer linked.
  control->SetCaption("Mine");
  action->SetCaption("Other");
  EXPECT_EQ(control->GetCaption(), "Mine");
  EXPECT_TRUE(control->IsCaptionStored());
  action->SetEnabled(true);
  EXPECT_TRUE(control->GetEnabled());
}

TEST_F(ActionTest, ClickRunsTheActionAndUpdateRunsThroughTheLink) {
  TCounter counter;
  action->SetOnExecute(TNotifyEvent(&counter, &TCounter::Execute));
  action->SetOnUpdate(TNotifyEvent(&counter, &TCounter::Update));
  control->SetAction(action);
  EXPECT_EQ(control->OnClick, action->GetOnExecute());
  control->Click();
  EXPECT_EQ(counter.Executed, 1);
  EXPECT_EQ(counter.Updated, 1);  // Execute updates first

  counter.EnableOnUpdate = false;
  control->InitiateAction();
  EXPECT_FALSE(control->GetEnabled());
  control->Click();  // a disabled action does not run
  EXPECT_EQ(counter.Executed, 1);

  list->SetState(asSuspended);
  counter.EnableOnUpdate = true;
  control->Click();
  EXPECT_EQ(counter.Executed, 1);
}

TEST_F(ActionTest, TheListHandlerComesFirstAndFreeingTheActionUnlinks) {
  struct TListHandler {
    int Calls = 0;
    void OnExecute(TBasicAction*, bool& handled) {
      ++Calls;
      handled = true;
    }
  } h;
  TCounter counter;
  action->SetOnExecute(TNotifyEvent(&counter, &TCounter::Execute));
  list->OnExecute = TActionEvent(&h, &TListHandler::OnExecute);
  control->SetAction(action);
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(h.Calls, 1);
  EXPECT_EQ(counter.Executed, 0);

  action->Free();
  EXPECT_EQ(control->GetAction(), nullptr);
  EXPECT_EQ(list->GetActionCount(), 0);
}

TEST_F(ActionTest, HintShowsTheShortcutWhenTheApplicationAsksForIt) {
  action->SetHint("Save");
  action->SetShortCut(0x4053);  // Ctrl+S as the platform packs it
  control->SetAction(action);
  auto& hooks = ControlsHooks();
  auto savedShortCuts = hooks.HintShortCuts;
  auto savedText = hooks.ShortCutToText;
  hooks.HintShortCuts = [] { return true; };
  hooks.ShortCutToText = [](uint16_t) { return std::string("Ctrl+S"); };
  THintInfo info;
  info.HintStr = "Save";
  EXPECT_EQ(control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.HintStr, "Save (Ctrl+S)");
  hooks.HintShortCuts = savedShortCuts;
  hooks.ShortCutToText = savedText;
}

TEST_F(ActionTest, HintActionRunsWithoutAHandler) {
  auto* hint = New<THintAction>(owner);
  EXPECT_FALSE(hint->GetDisableIfNoHandler());
  hint->SetHint("status text");
  EXPECT_EQ(GetStrProp(hint, "Hint"), "status text");
}

}  // namespace
