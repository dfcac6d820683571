// The edit actions on real edits and memos of a shown form: a speed button
// linked to each action follows it at idle time as the focus and the
// edit's state change, and running the action works on the focused edit.
// Focus and the clipboard are the desktop's: these suites run alone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Buttons.h"
#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/StdActns.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;

namespace {

enum class TKind { Cut, Copy, Paste, SelectAll, Undo, Delete };

const char* KindName(TKind k) {
  static const char* const names[] = {"Cut", "Copy", "Paste", "SelectAll", "Undo", "Delete"};
  return names[static_cast<int>(k)];
}

class SerialStdEditActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 360, 260);
    edit = Add<TEdit>(10, 10);
    memo = Add<TMemo>(10, 40);
    memo->SetHeight(80);
    button = Add<TButton>(10, 130);
    list = New<TActionList>(form.get());
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }

  template <class C>
  C* Add(int left, int top) {
    C* c = New<C>(form.get());
    c->SetParent(form.get());
    c->SetBounds(left, top, 200, 24);
    return c;
  }

  TEditAction* Make(TKind kind) {
    TEditAction* a = nullptr;
    switch (kind) {
      case TKind::Cut: a = New<TEditCut>(form.get()); break;
      case TKind::Copy: a = New<TEditCopy>(form.get()); break;
      case TKind::Paste: a = New<TEditPaste>(form.get()); break;
      case TKind::SelectAll: a = New<TEditSelectAll>(form.get()); break;
      case TKind::Undo: a = New<TEditUndo>(form.get()); break;
      case TKind::Delete: a = New<TEditDelete>(form.get()); break;
    }
    a->SetActionList(list);
    // A speed button takes no focus: clicking it leaves the edit focused,
    // as a tool button does.
    auto* b = New<TSpeedButton>(form.get());
    b->SetParent(form.get());
    b->SetBounds(220 + 20 * static_cast<int>(kind), 130, 20, 20);
    b->SetAction(a);
    buttons.push_back(b);
    return a;
  }

  // Lets the application reach its idle time, when the linked buttons ask
  // their actions: the tests' pump keeps the loop from waiting, and with it
  // from the idle update, so the form's update follows it here.
  void Idle() {
    PumpApplication(2);
    form->UpdateActions();
  }
  void FocusAndIdle(TWinControl* control) {
    control->SetFocus();
    Idle();
    ASSERT_TRUE(control->Focused());
  }

  TFreshApplication app;
  Owned<TForm> form;
  TEdit* edit = nullptr;
  TMemo* memo = nullptr;
  TButton* button = nullptr;
  TActionList* list = nullptr;
  std::vector<TSpeedButton*> buttons;
};

// The state of the focused edit before the idle update.
struct TUpdateCase {
  TKind Kind;
  const char* Text;
  int SelStart, SelLength;
  bool ReadOnly;
  const char* Clipboard;  // null: empty clipboard
  bool TypedBefore;       // a key typed first, so there is something to undo
  bool Enabled;
};

TEST_F(SerialStdEditActionsTest, EachActionIsEnabledByTheFocusedEditsState) {
  const TUpdateCase cases[] = {
      {TKind::Cut, "hello", 0, 2, false, nullptr, false, true},
      {TKind::Cut, "hello", 2, 0, false, nullptr, false, false},
      {TKind::Cut, "hello", 0, 2, true, nullptr, false, false},
      {TKind::Copy, "hello", 1, 3, false, nullptr, false, true},
      {TKind::Copy, "hello", 1, 3, true, nullptr, false, true},
      {TKind::Copy, "hello", 3, 0, false, nullptr, false, false},
      {TKind::Paste, "", 0, 0, false, "pasted", false, true},
      {TKind::Paste, "hello", 0, 0, false, nullptr, false, false},
      {TKind::Paste, "hello", 0, 0, true, "pasted", false, false},
      {TKind::SelectAll, "hello", 0, 0, false, nullptr, false, true},
      {TKind::SelectAll, "", 0, 0, false, nullptr, false, false},
      {TKind::Undo, "hello", 5, 0, false, nullptr, true, true},
      {TKind::Undo, "hello", 5, 0, false, nullptr, false, false},
      {TKind::Undo, "hello", 5, 0, true, nullptr, true, false},
      {TKind::Delete, "hello", 1, 1, false, nullptr, false, true},
      {TKind::Delete, "hello", 1, 0, false, nullptr, false, false},
      {TKind::Delete, "hello", 1, 1, true, nullptr, false, false},
  };
  for (const TUpdateCase& c : cases) {
    SCOPED_TRACE(std::string(KindName(c.Kind)) + " on '" + c.Text + "' sel " + std::to_string(c.SelStart) + "+" +
                 std::to_string(c.SelLength) + (c.ReadOnly ? " read-only" : "") +
                 (c.Clipboard ? " clipboard" : "") + (c.TypedBefore ? " typed" : ""));
    TEditAction* action = Make(c.Kind);
    TSpeedButton* linked = buttons.back();
    if (c.Clipboard) Clipboard()->SetAsText(c.Clipboard);
    else Clipboard()->Clear();
    edit->SetReadOnly(false);
    edit->SetText(c.Text);
    FocusAndIdle(edit);
    if (c.TypedBefore) {
      SendMessageA(edit->GetHandle(), WM_CHAR, 'Z', 0);
      ASSERT_TRUE(edit->GetCanUndo());
    }
    edit->SetReadOnly(c.ReadOnly);
    edit->SetSelStart(c.SelStart);
    edit->SetSelLength(c.SelLength);
    Idle();
    EXPECT_EQ(action->GetEnabled(), c.Enabled);
    EXPECT_EQ(linked->GetEnabled(), c.Enabled);

    // Away from the edits nothing handles an edit action, and the
    // application disables it.
    FocusAndIdle(button);
    EXPECT_FALSE(action->GetEnabled());
    action->Free();
  }
  Clipboard()->Clear();
}

// The action's effect on the text, the selection and the clipboard.
struct TExecuteCase {
  TKind Kind;
  bool InMemo;
  const char* Text;
  int SelStart, SelLength;
  const char* ClipboardBefore;
  const char* TextAfter;
  int SelStartAfter, SelLengthAfter;
  const char* ClipboardAfter;
};

TEST_F(SerialStdEditActionsTest, ClickingTheLinkedButtonWorksOnTheFocusedEdit) {
  const TExecuteCase cases[] = {
      {TKind::Cut, false, "hello world", 0, 6, "", "world", 0, 0, "hello "},
      {TKind::Copy, false, "hello world", 6, 5, "", "hello world", 6, 5, "world"},
      {TKind::Paste, false, "hello world", 0, 5, "howdy", "howdy world", 5, 0, "howdy"},
      {TKind::SelectAll, false, "hello world", 3, 0, "", "hello world", 0, 11, ""},
      {TKind::Delete, false, "hello world", 5, 1, "", "helloworld", 5, 0, ""},
      // Across a line break of a memo.
      {TKind::Delete, true, "ab\r\ncd", 1, 4, "", "ad", 1, 0, ""},
      {TKind::Cut, true, "ab\r\ncd", 1, 4, "", "ad", 1, 0, "b\r\nc"},
  };
  for (const TExecuteCase& c : cases) {
    SCOPED_TRACE(std::string(KindName(c.Kind)) + (c.InMemo ? " in the memo" : " in the edit"));
    TEditAction* action = Make(c.Kind);
    TCustomEdit* target = c.InMemo ? static_cast<TCustomEdit*>(memo) : edit;
    Clipboard()->SetAsText(c.ClipboardBefore);
    target->SetText(c.Text);
    FocusAndIdle(target);
    target->SetSelStart(c.SelStart);
    target->SetSelLength(c.SelLength);
    Idle();
    ASSERT_TRUE(buttons.back()->GetEnabled());
    buttons.back()->Click();
    EXPECT_EQ(target->GetText(), c.TextAfter);
    EXPECT_EQ(target->GetSelStart(), c.SelStartAfter);
    EXPECT_EQ(target->GetSelLength(), c.SelLengthAfter);
    EXPECT_EQ(Clipboard()->GetAsText(), c.ClipboardAfter);
    EXPECT_TRUE(target->Focused());
    action->Free();
  }
  Clipboard()->Clear();
}

TEST_F(SerialStdEditActionsTest, UndoTakesBackWhatWasTyped) {
  TEditAction* action = Make(TKind::Undo);
  edit->SetText("abc");
  FocusAndIdle(edit);
  edit->SetSelStart(3);
  TypeKey('D');
  Idle();
  ASSERT_EQ(edit->GetText(), "abcd");
  ASSERT_TRUE(action->GetEnabled());
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(edit->GetText(), "abc");
}

// The shortcut of an action in the form's list is the form's: typed in an
// edit, it runs the action on that edit.
TEST_F(SerialStdEditActionsTest, TheActionsShortCutTypedInAMemoRunsItThere) {
  TEditAction* action = Make(TKind::Delete);
  action->SetShortCut(ShortCut('D', TShiftState{ssCtrl}));
  memo->SetText("one two");
  FocusAndIdle(memo);
  memo->SetSelStart(3);
  memo->SetSelLength(4);
  TypeChord(VK_CONTROL, 'D');
  PumpApplication(4);
  EXPECT_EQ(memo->GetText(), "one");
}

// An action given one Control serves that edit only.
TEST_F(SerialStdEditActionsTest, AnActionWithAControlServesOnlyThatEdit) {
  TEditAction* action = Make(TKind::SelectAll);
  action->SetControl(memo);
  edit->SetText("edit");
  memo->SetText("memo");
  FocusAndIdle(edit);
  EXPECT_FALSE(action->GetEnabled());
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(edit->GetSelLength(), 0);
  FocusAndIdle(memo);
  memo->SetSelStart(0);
  EXPECT_TRUE(action->GetEnabled());
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(memo->GetSelLength(), 4);

  // The memo freed, the action serves any edit again.
  memo->Free();
  memo = nullptr;
  EXPECT_EQ(action->GetControl(), nullptr);
  FocusAndIdle(edit);
  EXPECT_TRUE(action->GetEnabled());
}

}  // namespace

// Stored forms name the edit actions.
TEST(StdEditActionsStoredTest, AStoredFormReadsTheEditActions) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  ReadForm(
      "object Form1: TForm\n"
      "  object ActionList1: TActionList\n"
      "    object EditCut1: TEditCut\n"
      "      Caption = 'Cu&t'\n"
      "      ShortCut = 16472\n"
      "    end\n"
      "    object EditCopy1: TEditCopy\n    end\n"
      "    object EditPaste1: TEditPaste\n    end\n"
      "    object EditSelectAll1: TEditSelectAll\n    end\n"
      "    object EditUndo1: TEditUndo\n    end\n"
      "    object EditDelete1: TEditDelete\n    end\n"
      "  end\n"
      "end\n",
      form.get());
  auto* list = dynamic_cast<TActionList*>(form->FindComponent("ActionList1"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetActionCount(), 6);
  const char* const classes[] = {"TEditCut", "TEditCopy", "TEditPaste", "TEditSelectAll", "TEditUndo", "TEditDelete"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list->GetAction(i)->ClassName(), classes[i]);
  auto* cut = dynamic_cast<TEditCut*>(list->GetAction(0));
  EXPECT_EQ(cut->GetCaption(), "Cu&t");
  EXPECT_EQ(cut->GetShortCut(), ShortCut('X', TShiftState{ssCtrl}));
}
