// Wide actions: their wide captions and hints, kept beside the ANSI ones,
// carried by the wide links to the controls (and menu items) that show them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/Seams.h"
#include "classlib/StdCtrls.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxActionTestSupport.h"
#include "unicode/VoxActnList.h"
#include "unicode/VoxStdActns.h"

namespace {

// U+4E2D U+6587 and U+0416 U+0443 U+043A, which code page 1252 cannot hold:
// both have ANSI forms of question marks only, and the last two share one.
const std::wstring kChinese = L"\u4E2D\u6587";
const std::wstring kBeetle = L"\u0416\u0443\u043A";  // "???"
const std::wstring kWorld = L"\u041C\u0438\u0440";   // "???" as well

// Only the wide link: its ActionChange is the class library's ANSI one, so
// whatever wide text the control shows came through the link.
class TLinkOnlyLabel : public TLabel {
  DECLARE_CLASS(TLinkOnlyLabel, TLabel)
  using TLabel::TLabel;
  TClass GetActionLinkClass() override { return VoxControl_GetActionLinkClass(this, inherited::GetActionLinkClass()); }
};
IMPLEMENT_CLASS(TLinkOnlyLabel)

class VoxActions : public testing::Test {
 protected:
  void TearDown() override { owner_->Free(); }
  template <class T>
  T* Make() {
    return New<T>(owner_);
  }
  template <class T>
  T* MakeControl() {
    T* c = New<T>(owner_);
    c->SetParent(panel_);
    return c;
  }
  TComponent* owner_ = New<TComponent>(nullptr);
  TPanel* panel_ = New<TPanel>(owner_);
};

TEST_F(VoxActions, WideActionsSupportTheWideInterface) {
  EXPECT_EQ(IVoxAction::IID, StringToGUID("{59D0AE37-8161-4AD6-9102-14B28E5761EB}"));
  EXPECT_TRUE(Supports<IVoxAction>(static_cast<TCustomAction*>(Make<TVoxAction>())));
  EXPECT_TRUE(Supports<IVoxAction>(static_cast<TCustomAction*>(Make<TVoxCustomAction>())));
  EXPECT_TRUE(Supports<IVoxAction>(static_cast<TCustomAction*>(Make<TVoxHintAction>())));
  EXPECT_FALSE(Supports<IVoxAction>(static_cast<TCustomAction*>(Make<TAction>())));
  EXPECT_TRUE(TVoxAction::StaticClass()->InheritsFrom(TAction::StaticClass()));
  EXPECT_TRUE(TVoxCustomAction::StaticClass()->InheritsFrom(TCustomAction::StaticClass()));
}

TEST_F(VoxActions, AWideTextStaysUntilAnsiCodeChangesIt) {
  struct Case {
    const char* what;
    std::wstring (*get)(TCustomAction*);
    void (*set)(TCustomAction*, const std::wstring&);
    const std::string& (TCustomAction::*getAnsi)() const;
    void (TCustomAction::*setAnsi)(const std::string&);
  } cases[] = {
      {"caption", VoxAction_GetCaption, VoxAction_SetCaption, &TCustomAction::GetCaption, &TCustomAction::SetCaption},
      {"hint", VoxAction_GetHint, VoxAction_SetHint, &TCustomAction::GetHint, &TCustomAction::SetHint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TCustomAction* wide = Make<TVoxAction>();
    c.set(wide, kChinese);
    EXPECT_EQ(c.get(wide), kChinese);
    EXPECT_EQ((wide->*c.getAnsi)(), "??") << "ANSI readers see the ANSI form";
    (wide->*c.setAnsi)("plain");
    EXPECT_EQ(c.get(wide), L"plain") << "the ANSI assignment wins";

    TCustomAction* ansi = Make<TAction>();
    c.set(ansi, kChinese);
    EXPECT_EQ((ansi->*c.getAnsi)(), "??") << "an ANSI action keeps the ANSI form";
    EXPECT_EQ(c.get(ansi), L"??");
  }
  // The wide action's own accessors are the same texts.
  auto* action = Make<TVoxAction>();
  action->SetCaption(kBeetle);
  action->SetHint(kWorld);
  EXPECT_EQ(VoxAction_GetCaption(action), kBeetle);
  EXPECT_EQ(action->GetHint(), kWorld);
  EXPECT_EQ(action->TCustomAction::GetCaption(), "???");
}

TEST_F(VoxActions, ANewWideCaptionReachesEveryLinkedControl) {
  auto* action = Make<TVoxAction>();
  auto* label = MakeControl<TWideLabel>();
  auto* button = MakeControl<TWideSpeedButton>();
  auto* linkOnly = MakeControl<TLinkOnlyLabel>();
  for (TControl* c : std::vector<TControl*>{label, button, linkOnly}) c->SetAction(action);

  // kBeetle, then kWorld: the second has the same ANSI form, so the class
  // library sees a change only through the empty step between them.
  for (const std::wstring& text : {kChinese, kBeetle, kWorld}) {
    VoxAction_SetCaption(action, text);
    VoxAction_SetHint(action, text + L"|" + text);
    for (TControl* c : std::vector<TControl*>{label, button, linkOnly}) {
      SCOPED_TRACE(c->ClassName());
      EXPECT_EQ(VoxControl_GetText(c), text);
      EXPECT_EQ(VoxControl_GetHint(c), text + L"|" + text);
      EXPECT_FALSE(VoxControl_IsCaptionStored(c)) << "the action supplies it";
      EXPECT_FALSE(VoxControl_IsHintStored(c));
    }
  }
}

// The real windows: what a user sees is the Unicode window's own text.
TEST_F(VoxActions, ANewWideCaptionReachesTheRealWindows) {
  auto* form = New<TForm>(owner_, 0);
  form->SetBounds(10, 10, 300, 200);
  auto* action = Make<TVoxAction>();
  std::vector<TWinControl*> controls;
  for (TWinControl* c : std::vector<TWinControl*>{New<TWideButton>(form), New<TWideCheckBox>(form)}) {
    c->SetParent(form);
    c->SetAction(action);
    ASSERT_TRUE(IsWindowUnicode(c->GetHandle()));
    controls.push_back(c);
  }
  for (const std::wstring& text : {kChinese, kBeetle, kWorld}) {
    VoxAction_SetCaption(action, text);
    for (TWinControl* c : controls) {
      SCOPED_TRACE(c->ClassName());
      wchar_t shown[64] = {};
      GetWindowTextW(c->GetHandle(), shown, 64);
      EXPECT_EQ(shown, text);
    }
  }
  // A window made again shows the action's text still.
  controls[0]->Perform(CM_RECREATEWND, 0, 0);
  wchar_t shown[64] = {};
  GetWindowTextW(controls[0]->GetHandle(), shown, 64);
  EXPECT_EQ(shown, kWorld);
}

TEST_F(VoxActions, AControlShowingAnotherWideTextIsNotLinked) {
  auto* action = Make<TVoxAction>();
  auto* label = MakeControl<TLinkOnlyLabel>();
  label->SetAction(action);
  VoxAction_SetCaption(action, kBeetle);
  VoxAction_SetHint(action, kBeetle);
  // The same ANSI form, another wide text: the class library would call it
  // linked.
  VoxControl_SetText(label, kWorld);
  VoxControl_SetHint(label, kWorld);
  ASSERT_TRUE(label->GetActionLink()->TControlActionLink::IsCaptionLinked());
  EXPECT_FALSE(label->GetActionLink()->IsCaptionLinked());
  EXPECT_FALSE(label->GetActionLink()->IsHintLinked());
  EXPECT_TRUE(VoxControl_IsCaptionStored(label)) << "the control's own text is stored";

  label->GetActionLink()->SetCaption("abc");
  label->GetActionLink()->SetHint("abc");
  EXPECT_EQ(VoxControl_GetText(label), kWorld) << "an unlinked caption is left alone";
  EXPECT_EQ(VoxControl_GetHint(label), kWorld);
}

TEST_F(VoxActions, TheActionsTextsReplaceOnlyDefaultsWhenDefaultsAreChecked) {
  struct Case {
    const char* what;
    std::wstring caption, hint;  // the control's own
    bool checkDefaults;
    std::wstring expectedCaption, expectedHint;
  } cases[] = {
      {"no defaults checked", L"own", L"own hint", false, kChinese, kBeetle},
      {"own texts kept", L"own", L"own hint", true, L"own", L"own hint"},
      {"empty texts filled", L"", L"", true, kChinese, kBeetle},
      {"a caption that is the name is a default", L"Label1", L"own hint", true, kChinese, L"own hint"},
  };
  auto* action = Make<TVoxAction>();
  VoxAction_SetCaption(action, kChinese);
  VoxAction_SetHint(action, kBeetle);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* label = MakeControl<TWideLabel>();
    label->SetName("Label1");
    VoxControl_SetText(label, c.caption);
    VoxControl_SetHint(label, c.hint);
    VoxControl_BeforeInherited_ActionChange(label, action, c.checkDefaults);
    EXPECT_EQ(VoxControl_GetText(label), c.expectedCaption);
    EXPECT_EQ(VoxControl_GetHint(label), c.expectedHint);
    label->Free();
  }
  // An ANSI action is left to the inherited step.
  auto* ansi = Make<TAction>();
  ansi->SetCaption("ansi");
  auto* label = MakeControl<TWideLabel>();
  VoxControl_SetText(label, kWorld);
  VoxControl_BeforeInherited_ActionChange(label, ansi, false);
  EXPECT_EQ(VoxControl_GetText(label), kWorld);
}

TEST_F(VoxActions, AssigningAnActionCopiesItsWideTexts) {
  auto* source = Make<TVoxAction>();
  VoxAction_SetCaption(source, kChinese);
  VoxAction_SetHint(source, kBeetle);

  auto* copy = Make<TVoxAction>();
  copy->Assign(source);
  EXPECT_EQ(copy->TCustomAction::GetCaption(), "??") << "the ANSI forms";
  EXPECT_EQ(copy->TCustomAction::GetHint(), "???");
  EXPECT_EQ(VoxAction_GetCaption(copy), kChinese) << "and the wide texts behind them";
  EXPECT_EQ(VoxAction_GetHint(copy), kBeetle);

  auto* fromAnsi = Make<TVoxAction>();
  auto* ansi = Make<TAction>();
  ansi->SetCaption("Open");
  ansi->SetHint("Opens");
  fromAnsi->Assign(ansi);
  EXPECT_EQ(VoxAction_GetCaption(fromAnsi), L"Open");
  EXPECT_EQ(VoxAction_GetHint(fromAnsi), L"Opens");

  auto* label = MakeControl<TWideLabel>();
  VoxControl_SetText(label, kWorld);
  VoxControl_SetHint(label, kChinese);
  auto* fromControl = Make<TVoxAction>();
  VoxAction_AfterInherited_Assign(fromControl, label);
  EXPECT_EQ(VoxAction_GetCaption(fromControl), kWorld);
  EXPECT_EQ(VoxAction_GetHint(fromControl), kChinese);
}

TEST_F(VoxActions, EachControlKindGetsTheWideTwinOfItsLink) {
  struct Case {
    TControl* control;
    TClass expected;
  } cases[] = {
      {MakeControl<TListView>(), TVoxListViewActionLink::StaticClass()},
      {MakeControl<TComboBoxEx>(), TVoxComboBoxExActionLink::StaticClass()},
      {MakeControl<TSpeedButton>(), TVoxSpeedButtonActionLink::StaticClass()},
      {New<TToolButton>(owner_), TVoxToolButtonActionLink::StaticClass()},
      {MakeControl<TButton>(), TVoxButtonActionLink::StaticClass()},
      {MakeControl<TCheckBox>(), TVoxButtonActionLink::StaticClass()},
      {MakeControl<TEdit>(), TVoxWinControlActionLink::StaticClass()},
      {MakeControl<TLabel>(), TVoxControlActionLink::StaticClass()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control->ClassName());
    EXPECT_EQ(VoxControl_GetActionLinkClass(c.control, c.control->GetActionLinkClass()), c.expected);
  }
  // A control whose class library link is not the wide link's parent.
  try {
    VoxControl_GetActionLinkClass(MakeControl<TButton>(), TControlActionLink::StaticClass());
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.GetMessage(), "Assertion failure (VoxActnList, line 450)");
  }
}

TEST_F(VoxActions, AWideActionIsStoredWithItsWideTexts) {
  auto* action = Make<TVoxAction>();
  VoxAction_SetCaption(action, kChinese);
  VoxAction_SetHint(action, kBeetle);
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(action);

  auto* read = Make<TVoxAction>();
  Owned<TStringStream> in(New<TStringStream>(out->GetDataString()));
  in->ReadComponent(read);
  EXPECT_EQ(VoxAction_GetCaption(read), kChinese);
  EXPECT_EQ(VoxAction_GetHint(read), kBeetle);
  EXPECT_NE(out->GetDataString().find("Caption_UTF7"), std::string::npos) << "the companion for older readers";
}

// --- the design-time check of a wide action list ---------------------------------------

// Window timers recorded instead of set: the list's timer is seen running.
class TRecordedTimers {
 public:
  TRecordedTimers()
      : set_(Seams().SetTimer,
             [this](HWND h, UINT_PTR id, UINT elapse) -> UINT_PTR {
               window = h;
               interval = elapse;
               return id;
             }),
        kill_(Seams().KillTimer, [this](HWND, UINT_PTR) {
          interval = 0;
          return TRUE;
        }) {}
  HWND window = nullptr;
  UINT interval = 0;  // 0 while none runs

 private:
  TSeamOverride<decltype(Seams().SetTimer)> set_;
  TSeamOverride<decltype(Seams().KillTimer)> kill_;
};

TEST_F(VoxActions, ADesignedListHandsItselfToTheUpgradeOnceAnAnsiActionIsAdded) {
  TRecordedTimers timers;
  std::vector<TVoxActionList*> upgraded;
  UpgradeActionListItemsProc = [&](TVoxActionList* list) { upgraded.push_back(list); };
  owner_->SetDesigning(true);
  auto* list = Make<TVoxActionList>();
  ASSERT_NE(list->GetCheckActionsTimer(), nullptr);
  EXPECT_EQ(timers.interval, 0u) << "off until an action comes";

  Make<TVoxAction>()->SetActionList(list);
  EXPECT_EQ(timers.interval, 0u) << "a wide action needs no upgrade";
  Make<TAction>()->SetActionList(list);
  EXPECT_EQ(timers.interval, 50u);

  SendMessageA(timers.window, WM_TIMER, 1, 0);
  EXPECT_EQ(upgraded, std::vector<TVoxActionList*>{list});
  EXPECT_EQ(timers.interval, 0u) << "one tick";
  UpgradeActionListItemsProc = nullptr;
}

TEST_F(VoxActions, ARunningListHasNoUpgradeTimer) {
  auto* list = Make<TVoxActionList>();
  Make<TAction>()->SetActionList(list);
  EXPECT_EQ(list->GetCheckActionsTimer(), nullptr);
  EXPECT_EQ(list->GetActionCount(), 1);
}

}  // namespace
