// Edits, memos, combo boxes and scroll bars over their system windows.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "tests/common/ComboPicks.h"
#include "tests/common/TestSupport.h"

using namespace controls_test;

namespace {

struct TEventLog : TObject {
  std::vector<std::string> events;
  void Change(TObject*) { events.push_back("change"); }
  void Click(TObject*) { events.push_back("click"); }
  void Select(TObject*) { events.push_back("select"); }
  void KeyPress(TObject*, char& key) { events.push_back(std::string("key ") + key); }
  void Scroll(TObject*, TScrollCode code, int& pos) {
    events.push_back("scroll " + std::to_string(code) + " " + std::to_string(pos));
  }
};

class StdCtrlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    parent = New<TPanel>(nullptr);
    parent->SetBounds(0, 0, 300, 300);
    parent->SetParentWindow(host.Handle());
  }
  void TearDown() override { parent->Free(); }
  template <class T>
  T* Add() {
    auto* c = New<T>(parent);
    c->SetParent(parent);
    return c;
  }
  void Notify(TWinControl* c, WORD code) {
    HWND h = c->GetHandle();
    SendMessageA(parent->GetHandle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
  }
  THostWindow host;
  TPanel* parent = nullptr;
  TEventLog log;
};

TEST_F(StdCtrlsTest, EditTextSelectionAndChange) {
  auto* edit = Add<TEdit>();
  edit->OnChange = TNotifyEvent(&log, &TEventLog::Change);
  edit->SetText("Hello world");
  EXPECT_EQ(log.events, (std::vector<std::string>{"change"}));
  edit->SetSelStart(6);
  edit->SetSelLength(5);
  EXPECT_EQ(edit->GetSelText(), "world");
  edit->SetSelText("there");
  EXPECT_EQ(edit->GetText(), "Hello there");
  edit->SetMaxLength(4);
  EXPECT_EQ(SendMessageA(edit->GetHandle(), EM_GETLIMITTEXT, 0, 0), 4);
  // A new window keeps the text, the limit and the modified flag.
  edit->SetModified(true);
  edit->SetCharCase(ecUpperCase);
  EXPECT_EQ(edit->GetText(), "HELLO THERE");
  EXPECT_TRUE(edit->GetModified());
  EXPECT_EQ(SendMessageA(edit->GetHandle(), EM_GETLIMITTEXT, 0, 0), 4);
}

TEST_F(StdCtrlsTest, MemoLinesLiveInTheWindow) {
  auto* memo = Add<TMemo>();
  TStrings* lines = memo->GetLines();
  lines->Add("one");
  lines->Add("two");
  lines->Insert(1, "between");
  EXPECT_EQ(memo->GetText(), "one\r\nbetween\r\ntwo\r\n");
  ASSERT_EQ(lines->GetCount(), 3);
  EXPECT_EQ(lines->Get(1), "between");
  lines->Put(0, "first");
  lines->Delete(2);
  EXPECT_EQ(memo->GetText(), "first\r\nbetween\r\n");
  lines->SetText("a\nb\rc");
  EXPECT_EQ(memo->GetText(), "a\r\nb\r\nc");
  EXPECT_EQ(lines->GetCount(), 3);
  EXPECT_THROW(lines->Get(3), EStringListError);
  EXPECT_THROW(lines->Insert(5, "x"), EStringListError);
}

TEST_F(StdCtrlsTest, ItemTextsAndMemoLinesOfAnyLengthReadBackWhole) {
  // Wine passes a list item's text between an ANSI caller and the system's
  // wide list procedure through a buffer of 512 characters: past it the
  // text came back empty or the process faulted.
  auto* list = Add<TListBox>();
  auto* dropDown = Add<TComboBox>();
  auto* dropDownList = Add<TComboBox>();
  dropDownList->SetStyle(csDropDownList);
  auto* memo = Add<TMemo>();
  memo->SetWordWrap(false);
  const struct {
    const char* Name;
    TStrings* Items;
  } cases[] = {{"list box", list->GetItems()},
               {"drop-down combo box", dropDown->GetItems()},
               {"drop-down list", dropDownList->GetItems()},
               {"memo", memo->GetLines()}};
  for (int n : kLongTextLengths) {
    SCOPED_TRACE(n);
    const std::string text = LongText(static_cast<size_t>(n));
    for (const auto& c : cases) {
      SCOPED_TRACE(c.Name);
      c.Items->Clear();
      c.Items->Add("before");
      c.Items->Add(text);
      c.Items->Add("after");
      ASSERT_EQ(c.Items->GetCount(), 3);
      const std::string got = c.Items->Get(1);
      EXPECT_EQ(got.size(), text.size());
      EXPECT_TRUE(got == text) << "the text differs";
      EXPECT_EQ(c.Items->Get(2), "after");
    }
  }
}

// Picking an item makes the system's combo procedure read it from its list
// (to fill the edit, to draw the face, to answer the text); Wine converted
// that read through 512 characters whenever the list's subclass was ANSI,
// and a longer item came back empty or faulted the process.
TEST_F(StdCtrlsTest, ComboBoxItemsOfAnyLengthArePickedWhole) {
  combo_test::ExpectLongItemsPickedWhole(
      [&](TComboBoxStyle style) {
        auto* combo = Add<TComboBox>();
        combo->SetBounds(0, 0, 200, 24);
        combo->SetStyle(style);
        return combo;
      },
      {csDropDown, csDropDownList});
}

TEST_F(StdCtrlsTest, ComboBoxKeepsItemsIndexAndTextInANewWindow) {
  for (TComboBoxStyle style : {csDropDown, csDropDownList, csSimple}) {
    SCOPED_TRACE(style);
    auto* combo = Add<TComboBox>();
    combo->SetStyle(style);
    combo->GetItems()->AddObject("red", reinterpret_cast<TObject*>(0x10));
    combo->GetItems()->AddObject("green", reinterpret_cast<TObject*>(0x20));
    combo->SetItemIndex(1);
    HWND before = combo->GetHandle();
    combo->SetSorted(true);
    EXPECT_NE(combo->GetHandle(), before);
    ASSERT_EQ(combo->GetItems()->GetCount(), 2);
    EXPECT_EQ(combo->GetItems()->Get(0), "green");
    EXPECT_EQ(combo->GetItems()->GetObject(0), reinterpret_cast<TObject*>(0x20));
    EXPECT_EQ(combo->GetItems()->GetObject(1), reinterpret_cast<TObject*>(0x10));
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(combo->GetEditHandle() != nullptr, style != csDropDownList);
    EXPECT_NE(combo->GetListHandle(), nullptr);
    combo->Free();
  }
}

TEST_F(StdCtrlsTest, ComboBoxSelectionChangeSetsTextClicksAndSelects) {
  auto* combo = Add<TComboBox>();
  combo->GetItems()->Add("alpha");
  combo->GetItems()->Add("beta");
  combo->OnClick = TNotifyEvent(&log, &TEventLog::Click);
  combo->OnSelect = TNotifyEvent(&log, &TEventLog::Select);
  combo->OnChange = TNotifyEvent(&log, &TEventLog::Change);
  SendMessageA(combo->GetHandle(), CB_SETCURSEL, 1, 0);
  Notify(combo, CBN_SELCHANGE);
  EXPECT_EQ(combo->GetText(), "beta");
  EXPECT_EQ(log.events, (std::vector<std::string>{"click", "select"}));
}

TEST_F(StdCtrlsTest, KeysTypedIntoTheComboEditReachTheControl) {
  auto* combo = Add<TComboBox>();
  combo->SetAutoComplete(false);
  combo->OnKeyPress = TKeyPressEvent(&log, &TEventLog::KeyPress);
  HWND edit = combo->GetEditHandle();
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_CHAR, 'q', 1);
  EXPECT_EQ(log.events, (std::vector<std::string>{"key q"}));
  EXPECT_EQ(combo->GetText(), "q");
}

TEST_F(StdCtrlsTest, AKeyTypedIntoAComboBoxIsReportedOnceInEveryStyle) {
  // Without an edit the combo box gets the character itself and its system
  // procedure hands it on to the list: still one key for the program.
  for (TComboBoxStyle style : {csDropDown, csSimple, csDropDownList}) {
    SCOPED_TRACE(static_cast<int>(style));
    auto* combo = Add<TComboBox>();
    combo->SetStyle(style);
    combo->SetAutoComplete(false);
    combo->GetItems()->Add("xylophone");
    log.events.clear();
    combo->OnKeyPress = TKeyPressEvent(&log, &TEventLog::KeyPress);
    HWND target = combo->GetEditHandle() ? combo->GetEditHandle() : combo->GetHandle();
    ASSERT_EQ(target == combo->GetHandle(), style == csDropDownList);
    SendMessageA(target, WM_CHAR, 'x', 1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"key x"}));
    if (style == csDropDownList) {
      EXPECT_EQ(combo->GetItemIndex(), 0) << "the list still searched";
    }
    combo->Free();
  }
}

TEST_F(StdCtrlsTest, ACharacterAtTheComboListReachesTheKeyEventsInTheAnsiCodePage) {
  // The list is a Unicode window: its characters come wide, whoever sent
  // them, and the key events take the ANSI code page's.
  auto* combo = Add<TComboBox>();
  combo->SetAutoComplete(false);
  combo->OnKeyPress = TKeyPressEvent(&log, &TEventLog::KeyPress);
  HWND list = combo->GetListHandle();
  ASSERT_TRUE(IsWindowUnicode(list));
  const struct {
    bool wide;
    WPARAM code;
    const char* seen;
  } cases[] = {{false, 'g', "key g"}, {true, L'g', "key g"}, {false, 0xE9, "key \xE9"}, {true, 0xE9, "key \xE9"},
               {true, 0x20AC, "key \x80"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    log.events.clear();
    if (c.wide) SendMessageW(list, WM_CHAR, c.code, 1);
    else SendMessageA(list, WM_CHAR, c.code, 1);
    EXPECT_EQ(log.events, std::vector<std::string>{c.seen});
  }
}

// A combo box whose handlers fail, reached through its edit and list windows.
class TThrowingCombo : public TComboBox {
  DECLARE_CLASS(TThrowingCombo, TComboBox)
  explicit TThrowingCombo(TComponent* owner) : TComboBox(owner) {}
  static constexpr WPARAM kFailingCommand = 0xF0F0;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SYSCOMMAND && m.WParam == kFailingCommand) throw EInvalidOperation("command failed");
    inherited::WndProc(m);
  }
  void KeyPress(char&) override { throw EInvalidOperation("key failed"); }
};
IMPLEMENT_CLASS(TThrowingCombo)

TEST_F(StdCtrlsTest, ExceptionsInTheComboEditAndListProceduresGoToTheApplication) {
  auto* combo = Add<TThrowingCombo>();
  combo->SetAutoComplete(false);
  ASSERT_NE(combo->GetEditHandle(), nullptr);
  ASSERT_NE(combo->GetListHandle(), nullptr);
  std::vector<std::string> reports;
  auto saved = ControlsHooks().HandleException;
  ControlsHooks().HandleException = [&](TObject* sender) {
    EXPECT_EQ(sender, combo);
    try {
      throw;
    } catch (const Exception& e) {
      reports.push_back(e.GetMessage());
    }
  };
  struct Case {
    HWND window;
    UINT msg;
    WPARAM wParam;
    const char* expected;
  };
  const Case cases[] = {
      {combo->GetEditHandle(), WM_SYSCOMMAND, TThrowingCombo::kFailingCommand, "command failed"},
      {combo->GetEditHandle(), WM_CHAR, 'a', "key failed"},
      {combo->GetListHandle(), WM_CHAR, 'a', "key failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.msg);
    reports.clear();
    EXPECT_NO_THROW(SendMessageA(c.window, c.msg, c.wParam, 1));
    EXPECT_EQ(reports, std::vector<std::string>{c.expected});
  }
  ControlsHooks().HandleException = saved;
}

TEST_F(StdCtrlsTest, ComboAutoCompleteSelectsTheFirstMatchAndCompletesTheText) {
  auto* combo = Add<TComboBox>();
  for (const char* s : {"Germany", "Greece", "France"}) combo->GetItems()->Add(s);
  HWND edit = combo->GetEditHandle();
  SendMessageA(edit, WM_CHAR, 'g', 1);
  SendMessageA(edit, WM_CHAR, 'r', 1);
  EXPECT_EQ(combo->GetItemIndex(), 1);
  EXPECT_EQ(combo->GetText(), "greece");  // the typed letters stay as typed
  EXPECT_EQ(combo->GetSelText(), "eece");  // the completed part is selected
}

TEST_F(StdCtrlsTest, ScrollBarMovesByItsChangesWithinItsRange) {
  auto* bar = Add<TScrollBar>();
  bar->SetParams(50, 0, 100);
  bar->SetSmallChange(5);
  bar->SetLargeChange(30);
  bar->OnScroll = TScrollEvent(&log, &TEventLog::Scroll);
  struct Case {
    WORD code;
    int expected;
  };
  const Case cases[] = {{SB_LINEDOWN, 55}, {SB_PAGEDOWN, 85}, {SB_PAGEDOWN, 100}, {SB_LINEUP, 95},
                        {SB_TOP, 0},       {SB_PAGEUP, 0},    {SB_BOTTOM, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    HWND h = bar->GetHandle();
    SendMessageA(parent->GetHandle(), WM_HSCROLL, c.code, reinterpret_cast<LPARAM>(h));
    EXPECT_EQ(bar->GetPosition(), c.expected);
    EXPECT_EQ(GetScrollPos(h, SB_CTL), c.expected);
  }
  EXPECT_EQ(log.events.front(), "scroll 1 55");
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
  EXPECT_EQ(bar->GetMin(), 0);
  EXPECT_EQ(bar->GetMax(), 100);
}

}  // namespace
