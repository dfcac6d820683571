// The wide standard actions: each the class library's action with wide
// texts, copies that keep what their kind carries, and the edit actions
// run on real edits through a linked wide button clicked with the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "classlib/StdActns.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxActionTestSupport.h"
#include "unicode/VoxStdActns.h"

using namespace forms_test;

namespace {

const std::wstring kChinese = L"\u4E2D\u6587";
const std::wstring kBeetle = L"\u0416\u0443\u043A";

struct TStdCase {
  TClass wide, base;
  bool wideTexts;  // publishes the wide Caption and Hint
};

const TStdCase kStandardActions[] = {
    {TVoxEditAction::StaticClass(), TEditAction::StaticClass(), true},
    {TVoxEditCut::StaticClass(), TEditCut::StaticClass(), true},
    {TVoxEditCopy::StaticClass(), TEditCopy::StaticClass(), true},
    {TVoxEditPaste::StaticClass(), TEditPaste::StaticClass(), true},
    {TVoxEditSelectAll::StaticClass(), TEditSelectAll::StaticClass(), true},
    {TVoxEditUndo::StaticClass(), TEditUndo::StaticClass(), true},
    {TVoxEditDelete::StaticClass(), TEditDelete::StaticClass(), true},
    {TVoxWindowAction::StaticClass(), TWindowAction::StaticClass(), true},
    {TVoxWindowClose::StaticClass(), TWindowClose::StaticClass(), true},
    {TVoxWindowCascade::StaticClass(), TWindowCascade::StaticClass(), true},
    {TVoxWindowTileHorizontal::StaticClass(), TWindowTileHorizontal::StaticClass(), true},
    {TVoxWindowTileVertical::StaticClass(), TWindowTileVertical::StaticClass(), true},
    {TVoxWindowMinimizeAll::StaticClass(), TWindowMinimizeAll::StaticClass(), true},
    {TVoxWindowArrange::StaticClass(), TWindowArrange::StaticClass(), true},
    {TVoxHelpAction::StaticClass(), THelpAction::StaticClass(), true},
    {TVoxHelpContents::StaticClass(), THelpContents::StaticClass(), true},
    {TVoxHelpTopicSearch::StaticClass(), THelpTopicSearch::StaticClass(), true},
    {TVoxHelpOnHelp::StaticClass(), THelpOnHelp::StaticClass(), true},
    {TVoxHelpContextAction::StaticClass(), THelpContextAction::StaticClass(), true},
    {TVoxCommonDialogAction::StaticClass(), TCommonDialogAction::StaticClass(), false},
    {TVoxFileAction::StaticClass(), TFileAction::StaticClass(), false},
    {TVoxFileOpen::StaticClass(), TFileOpen::StaticClass(), true},
    {TVoxFileOpenWith::StaticClass(), TFileOpenWith::StaticClass(), true},
    {TVoxFileSaveAs::StaticClass(), TFileSaveAs::StaticClass(), true},
    {TVoxFilePrintSetup::StaticClass(), TFilePrintSetup::StaticClass(), true},
    {TVoxFileExit::StaticClass(), TFileExit::StaticClass(), true},
    {TVoxSearchAction::StaticClass(), TSearchAction::StaticClass(), false},
    {TVoxSearchFind::StaticClass(), TSearchFind::StaticClass(), true},
    {TVoxSearchReplace::StaticClass(), TSearchReplace::StaticClass(), true},
    {TVoxSearchFindFirst::StaticClass(), TSearchFindFirst::StaticClass(), true},
    {TVoxSearchFindNext::StaticClass(), TSearchFindNext::StaticClass(), true},
    {TVoxFontEdit::StaticClass(), TFontEdit::StaticClass(), true},
    {TVoxColorSelect::StaticClass(), TColorSelect::StaticClass(), true},
    {TVoxPrintDlg::StaticClass(), TPrintDlg::StaticClass(), true},
};

class VoxStdActions : public testing::Test {
 protected:
  void TearDown() override { owner_->Free(); }
  TComponent* owner_ = New<TComponent>(nullptr);
};

TEST_F(VoxStdActions, EachIsItsClassLibraryTwinWithWideTexts) {
  for (const TStdCase& c : kStandardActions) {
    SCOPED_TRACE(c.wide->ClassName());
    EXPECT_EQ(c.wide->ClassParent(), c.base);
    EXPECT_EQ(c.wide->ClassName(), "TVox" + c.base->ClassName().substr(1));
    auto* action = CreateAs<TCustomAction>(c.wide, owner_);
    EXPECT_TRUE(Supports<IVoxAction>(action));
    // The texts live beside what the action owns (a dialog, for some).
    VoxAction_SetCaption(action, kChinese);
    VoxAction_SetHint(action, kBeetle);
    EXPECT_EQ(VoxAction_GetCaption(action), kChinese);
    EXPECT_EQ(VoxAction_GetHint(action), kBeetle);
    for (const char* name : {"Caption", "Hint"}) {
      PPropInfo info = GetPropInfo(c.wide, name);
      TTypeKind published = info ? info->PropType->Kind : tkUnknown;
      if (c.wideTexts) EXPECT_EQ(published, tkWString) << name;
      else EXPECT_NE(published, tkWString) << name;
    }
  }
  // The hint action has the wide hint only.
  EXPECT_EQ(GetPropInfo(TVoxHintAction::StaticClass(), "Hint")->PropType->Kind, tkWString);
  EXPECT_EQ(GetPropInfo(TVoxHintAction::StaticClass(), "Caption"), nullptr);
}

TEST_F(VoxStdActions, ACopyTakesWhatItsKindCarries) {
  TNotifyEvent accept, cancel, before;
  struct TSink : TObject {
    void A(TObject*) {}
    void B(TObject*) {}
    void C(TObject*) {}
  };
  Owned<TSink> sink(New<TSink>());
  accept = TNotifyEvent(sink.get(), &TSink::A);
  cancel = TNotifyEvent(sink.get(), &TSink::B);
  before = TNotifyEvent(sink.get(), &TSink::C);

  auto* open = New<TVoxFileOpen>(owner_);
  VoxAction_SetCaption(open, kChinese);
  open->SetOnAccept(accept);
  open->SetOnCancel(cancel);
  open->SetBeforeExecute(before);
  auto* copy = New<TVoxFileOpen>(owner_);
  copy->Assign(open);
  EXPECT_EQ(VoxAction_GetCaption(copy), kChinese);
  EXPECT_EQ(copy->GetOnAccept(), accept);
  EXPECT_EQ(copy->GetOnCancel(), cancel);
  EXPECT_EQ(copy->GetBeforeExecute(), before);

  auto* with = New<TVoxFileOpenWith>(owner_);
  with->SetFileName("C:\\read me.txt");
  auto* withCopy = New<TVoxFileOpenWith>(owner_);
  withCopy->Assign(with);
  EXPECT_EQ(withCopy->GetFileName(), "C:\\read me.txt");

  auto* find = New<TVoxSearchFind>(owner_);
  auto* next = New<TVoxSearchFindNext>(owner_);
  next->SetSearchFind(find);
  auto* nextCopy = New<TVoxSearchFindNext>(owner_);
  nextCopy->Assign(next);
  EXPECT_EQ(nextCopy->GetSearchFind(), find);

  auto* mdi = New<TForm>(owner_, 0);
  auto* cascade = New<TVoxWindowCascade>(owner_);
  cascade->SetForm(mdi);
  auto* cascadeCopy = New<TVoxWindowCascade>(owner_);
  cascadeCopy->Assign(cascade);
  EXPECT_EQ(cascadeCopy->GetForm(), mdi);
}

TEST_F(VoxStdActions, TheFileActionsOwnTheWideDialogs) {
  const std::pair<TClass, TClass> cases[] = {
      {TVoxFileOpen::StaticClass(), TVoxOpenDialog::StaticClass()},
      {TVoxFileOpenWith::StaticClass(), TVoxOpenDialog::StaticClass()},
      {TVoxFileSaveAs::StaticClass(), TVoxSaveDialog::StaticClass()},
  };
  for (const auto& [actionClass, dialogClass] : cases) {
    SCOPED_TRACE(actionClass->ClassName());
    auto* action = CreateAs<TCommonDialogAction>(actionClass, owner_);
    TObject* dialog = GetObjectProp(action, "Dialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ClassType(), dialogClass);
  }
}

TEST_F(VoxStdActions, TheFileActionsDialogsKeepTheirWideTextsInTheStoredForm) {
  TFreshApplication app;
  if (!GetClass("TVoxFileSaveAs")) RegisterClass(TVoxFileSaveAs::StaticClass());
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetName("Holder");
  auto* save = New<TVoxFileSaveAs>(form.get());
  save->SetName("SaveAs");
  save->GetDialog()->SetFilter(kChinese + L"|*.txt");
  save->GetDialog()->SetTitle(kBeetle);
  std::string text = WriteForm(form.get());
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TVoxFileSaveAs*>(copy->FindComponent("SaveAs"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetDialog()->GetFilter(), kChinese + L"|*.txt");
  EXPECT_EQ(read->GetDialog()->GetTitle(), kBeetle);
}

// --- on real edits ------------------------------------------------------------------------------

// Focus and the clipboard are the desktop's: the suite runs alone.
class SerialVoxStdEditActions : public testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 360, 200);
    edit = New<TEdit>(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 200, 24);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }

  // The action with a wide caption, and a wide speed button showing it: a
  // speed button takes no focus, so clicking it leaves the edit focused.
  TWideSpeedButton* Button(TCustomAction* action) {
    VoxAction_SetCaption(action, kChinese);
    auto* b = New<TWideSpeedButton>(form.get());
    b->SetParent(form.get());
    b->SetBounds(220, 10, 60, 24);
    b->SetAction(action);
    return b;
  }

  void Click(TControl* control) {
    TPoint centre = control->ClientToScreen(TPoint{control->GetWidth() / 2, control->GetHeight() / 2});
    MoveMouseTo(centre);
    PumpApplication(2);
    LeftButton(true);
    PumpApplication(2);
    LeftButton(false);
    PumpApplication(3);
  }

  // The caret after the first `at` characters, moved there with the keys.
  void CaretAt(int at) {
    edit->SetFocus();
    TypeKey(VK_HOME);
    for (int i = 0; i < at; ++i) TypeKey(VK_RIGHT);
    PumpApplication(3);
    ASSERT_EQ(edit->GetSelStart(), at);
    ASSERT_EQ(edit->GetSelLength(), 0);
  }

  TFreshApplication app;
  Owned<TForm> form;
  TEdit* edit = nullptr;
};

TEST_F(SerialVoxStdEditActions, DeleteTakesTheCharacterAfterTheCaretOrTheSelection) {
  struct Case {
    const char* what;
    int caret, selLength;
    const char* after;
  } cases[] = {
      {"inside, nothing selected", 2, 0, "helo world"},
      {"at the start", 0, 0, "ello world"},
      {"at the end: nothing after", 11, 0, "hello world"},
      {"a selection", 1, 4, "h world"},
  };
  auto* action = New<TVoxEditDelete>(form.get());
  TWideSpeedButton* button = Button(action);
  EXPECT_EQ(VoxControl_GetText(button), kChinese) << "the wide caption came through the link";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    edit->SetText("hello world");
    CaretAt(c.caret);
    edit->SetSelLength(c.selLength);
    PumpApplication(2);
    EXPECT_TRUE(action->GetEnabled()) << "enabled without a selection too";
    EXPECT_TRUE(button->GetEnabled());
    Click(button);
    EXPECT_EQ(edit->GetText(), c.after);
    EXPECT_EQ(edit->GetSelStart(), c.caret);
    EXPECT_TRUE(edit->Focused());
  }
}

TEST_F(SerialVoxStdEditActions, TheOtherEditActionsWorkOnTheFocusedEdit) {
  struct Case {
    TClass action;
    int selStart, selLength;
    const char* clipboardBefore;
    const char* textAfter;
    const char* clipboardAfter;
  } cases[] = {
      {TVoxEditCut::StaticClass(), 0, 6, "", "world", "hello "},
      {TVoxEditCopy::StaticClass(), 6, 5, "", "hello world", "world"},
      {TVoxEditPaste::StaticClass(), 0, 5, "howdy", "howdy world", "howdy"},
      {TVoxEditSelectAll::StaticClass(), 3, 0, "", "hello world", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action->ClassName());
    auto* action = CreateAs<TCustomAction>(c.action, form.get());
    TWideSpeedButton* button = Button(action);
    Clipboard()->SetAsText(c.clipboardBefore);
    edit->SetText("hello world");
    edit->SetFocus();
    edit->SetSelStart(c.selStart);
    edit->SetSelLength(c.selLength);
    PumpApplication(3);
    ASSERT_TRUE(button->GetEnabled());
    Click(button);
    EXPECT_EQ(edit->GetText(), c.textAfter);
    EXPECT_EQ(Clipboard()->GetAsText(), c.clipboardAfter);
    button->Free();
    action->Free();
  }
  Clipboard()->Clear();
}

TEST_F(SerialVoxStdEditActions, UndoTakesBackWhatWasTyped) {
  auto* action = New<TVoxEditUndo>(form.get());
  TWideSpeedButton* button = Button(action);
  edit->SetText("abc");
  CaretAt(3);
  TypeKey('X');
  PumpApplication(3);
  ASSERT_EQ(edit->GetText(), "abcx");
  Click(button);
  EXPECT_EQ(edit->GetText(), "abc");
}

}  // namespace
