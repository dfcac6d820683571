// The framed memo, rich edit and hot-key edit: the caret's line and column
// (set, read and reported), the clipboard's state, the frame read back
// through WM_PRINT for all three, the rich edit's own disabled look and the
// stored form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <richedit.h>

#include "classlib/ExtCtrls.h"
#include "kx/controls/KxEdit.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// The OnLineColChange and OnClipboardChange reports, in order.
struct TLineColLog {
  std::vector<std::pair<int, int>> Places;
  std::vector<std::pair<bool, bool>> Clipboard;
  template <class T>
  void Attach(T* edit) {
    edit->SetOnLineColChange(TLineColChangeEvent(this, &TLineColLog::LineCol));
    edit->SetOnClipboardChange(TClipboardChangeEvent(this, &TLineColLog::Clip));
  }
  void LineCol(TObject*, int line, int column) { Places.push_back({line, column}); }
  void Clip(TObject*, bool canCopy, bool canPaste) { Clipboard.push_back({canCopy, canPaste}); }
  void Clear() {
    Places.clear();
    Clipboard.clear();
  }
};

template <class T>
class KxLineColTest : public ::testing::Test {
 protected:
  // Six lines, two of them shown at a time.
  T* MakeEdit() {
    T* edit = host.Add<T>(10, 10, 200, 40);
    edit->HandleNeeded();
    edit->GetLines()->SetText("first line\r\n0123456789\r\nthird\r\nfourth\r\nfifth\r\nsixth");
    log.Attach(edit);
    return edit;
  }
  static int FirstVisible(T* edit) {
    return static_cast<int>(SendMessageA(edit->GetHandle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  TControlHost host;
  TLineColLog log;
};

using LineColClasses = ::testing::Types<TKxMemo, TKxRichEdit>;
TYPED_TEST_SUITE(KxLineColTest, LineColClasses);

TYPED_TEST(KxLineColTest, SetLineMovesTheCaretAndScrollsTheLineToTheTop) {
  auto* edit = this->MakeEdit();
  this->log.Clear();
  edit->SetLine(9);
  EXPECT_EQ(edit->GetLine(), 1) << "no such line";
  EXPECT_EQ(this->FirstVisible(edit), 0);
  EXPECT_TRUE(this->log.Places.empty());
  edit->SetLine(0);
  EXPECT_TRUE(this->log.Places.empty());
  edit->SetLine(3);
  EXPECT_EQ(edit->GetLine(), 3);
  EXPECT_EQ(edit->GetColumn(), 1);
  EXPECT_EQ(this->FirstVisible(edit), 2);
  EXPECT_EQ(this->log.Places, (std::vector<std::pair<int, int>>{{3, 1}}));
  EXPECT_FALSE(this->log.Clipboard.empty()) << "the clipboard's state follows each report";
  edit->SetLine(2);
  EXPECT_EQ(this->FirstVisible(edit), 1);
}

TYPED_TEST(KxLineColTest, SetColumnStaysWithinTheLineAndIgnoresColumnsBeforeTheFirst) {
  auto* edit = this->MakeEdit();
  edit->SetLine(2);  // "0123456789"
  this->log.Clear();
  struct TCase {
    int Column;
    int Expected;  // the column afterwards
    bool Reported;
  };
  for (TCase c : {TCase{100, 1, false}, TCase{12, 1, false}, TCase{11, 11, true}, TCase{4, 4, true},
                  TCase{0, 4, false}, TCase{-3, 4, false}}) {
    SCOPED_TRACE(c.Column);
    this->log.Clear();
    edit->SetColumn(c.Column);
    EXPECT_EQ(edit->GetLine(), 2);
    EXPECT_EQ(edit->GetColumn(), c.Expected);
    EXPECT_EQ(this->log.Places.size(), c.Reported ? 1u : 0u);
  }
  this->log.Clear();
  edit->JumpTo(5, 3);
  EXPECT_EQ(edit->GetLine(), 5);
  EXPECT_EQ(edit->GetColumn(), 3);
  EXPECT_EQ(this->log.Places.back(), std::make_pair(5, 3));
  this->log.Clear();
  edit->JumpTo(40, 2);
  EXPECT_EQ(edit->GetLine(), 5) << "no such line: the column is not set either";
  EXPECT_TRUE(this->log.Places.empty());
}

// --- frame -------------------------------------------------------------------------------------------

class KxFramedEditsTest : public ::testing::Test {
 protected:
  TControlHost host;
};

// Prints c (its non-client area included) and reads the outer ring at the
// middle of the left side.
COLORREF OuterRing(TWinControl* c) {
  TDib dib(c->GetWidth(), c->GetHeight(), RGB(1, 2, 3));
  c->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dib.DC()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  return dib.Pixel(0, c->GetHeight() / 2);
}

template <class T>
void CheckFrame(TControlHost& host, const char* name) {
  SCOPED_TRACE(name);
  T* c = host.Add<T>(10, 10, 160, 50);
  c->HandleNeeded();
  c->SetFrameColor(clRed);
  c->SetFrameHotColor(clBlue);
  EXPECT_NE(OuterRing(c), kx_test::Shown(clRed)) << "no frame yet";
  c->SetFrameHotTrack(true);
  EXPECT_EQ(OuterRing(c), kx_test::Shown(clRed));
  c->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(OuterRing(c), kx_test::Shown(clBlue));
  c->Perform(CM_MOUSELEAVE, 0, 0);
  c->Perform(CM_ENTER, 0, 0);
  EXPECT_EQ(OuterRing(c), kx_test::Shown(clBlue));
  c->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(OuterRing(c), kx_test::Shown(clRed));
  c->SetFocusColor(clAqua);
  c->Perform(CM_ENTER, 0, 0);
  EXPECT_EQ(c->GetColor(), clAqua);
  c->Perform(CM_EXIT, 0, 0);
  c->SetEnabled(false);
  EXPECT_EQ(c->GetColor(), clBtnFace);
  c->SetEnabled(true);
  EXPECT_EQ(c->GetColor(), clWindow);
}

TEST_F(KxFramedEditsTest, EachDrawsItsFrameHotWhenHotAndColoursItsState) {
  TThemesOff themesOff;
  CheckFrame<TKxMemo>(host, "memo");
  CheckFrame<TKxRichEdit>(host, "rich edit");
  CheckFrame<TKxHotKeyEdit>(host, "hot-key edit");
}

TEST_F(KxFramedEditsTest, TheHotKeyEditIsOneLineHighAndKeepsItsKey) {
  auto* hotKey = host.Add<TKxHotKeyEdit>(10, 10, 120, 30);
  Owned<TKxHotKeyEdit> fresh(New<TKxHotKeyEdit>(nullptr));
  EXPECT_EQ(fresh->GetHeight(), 21);
  hotKey->SetHotKey(scCtrl | 'K');
  hotKey->SetFrameVisible(true);  // a new window
  EXPECT_EQ(hotKey->GetHotKey(), static_cast<TShortCut>(scCtrl | 'K'));
}

TEST_F(KxFramedEditsTest, ADisabledRichEditKeepsItsColoursAndTakesNoInput) {
  auto* rich = host.Add<TKxRichEdit>(10, 10, 160, 60);
  rich->HandleNeeded();
  rich->SetDisabledColor(clSilver);
  rich->SetEnabled(false);
  HWND h = rich->GetHandle();
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_EQ(rich->GetColor(), clSilver);
  rich->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(h));
  EXPECT_EQ(rich->GetColor(), clWindow);

  auto* memo = host.Add<TKxMemo>(10, 80, 160, 60);
  memo->HandleNeeded();
  memo->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(memo->GetHandle()));
  EXPECT_EQ(memo->GetColor(), clBtnFace);
}

TEST_F(KxFramedEditsTest, TheRichEditReportsTheClipboardAsTheSelectionChanges) {
  auto* rich = host.Add<TKxRichEdit>(10, 10, 160, 60);
  rich->HandleNeeded();
  rich->GetLines()->SetText("some text");
  TLineColLog log;
  log.Attach(rich);
  CHARRANGE range{0, 4};
  SendMessageA(rich->GetHandle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  ASSERT_FALSE(log.Clipboard.empty());
  EXPECT_TRUE(log.Clipboard.back().first);
}

// --- stored form -------------------------------------------------------------------------------------

class TMemoRoot : public TPanel {
  DECLARE_CLASS(TMemoRoot, TPanel)
  using TPanel::TPanel;
  TKxMemo* Memo1 = nullptr;
  TKxRichEdit* Rich1 = nullptr;
  TKxHotKeyEdit* Key1 = nullptr;
};
PUBLISHED(TMemoRoot) {
  p.Field("Memo1", &TMemoRoot::Memo1);
  p.Field("Rich1", &TMemoRoot::Rich1);
  p.Field("Key1", &TMemoRoot::Key1);
}

TEST_F(KxFramedEditsTest, TheStoredFormsKeepTheirSettingsAndReadRetiredNames) {
  if (!GetClass("TMemoRoot")) RegisterClass(TMemoRoot::StaticClass());
  std::string text =
      "object Root: TMemoRoot\n"
      "  object Memo1: TKxMemo\n"
      "    FrameFlat = True\n"
      "    TabOnEnter = True\n"
      "    Lines.Strings = (\n      'one'\n      'two')\n"
      "  end\n"
      "  object Rich1: TKxRichEdit\n"
      "    FrameFocusStyle = fsRaised\n"
      "    FrameColor = clRed\n"
      "  end\n"
      "  object Key1: TKxHotKeyEdit\n"
      "    FrameFlatStyle = fsButtonUp\n"
      "    DisabledColor = clGray\n"
      "  end\n"
      "end\n";
  Owned<TMemoRoot> root(New<TMemoRoot>(nullptr));
  root->SetParent(host.Panel());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(root.get());
  ASSERT_NE(root->Memo1, nullptr);
  ASSERT_NE(root->Rich1, nullptr);
  ASSERT_NE(root->Key1, nullptr);
  EXPECT_TRUE(root->Memo1->GetFrameHotTrack());
  EXPECT_EQ(root->Memo1->GetFrameStyle(), fsStatus);
  EXPECT_TRUE(root->Memo1->GetTabOnEnter());
  EXPECT_EQ(LinesOf(root->Memo1->GetLines()), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(root->Rich1->GetFrameHotStyle(), fsRaised);
  EXPECT_EQ(root->Rich1->GetFrameColor(), clRed);
  EXPECT_EQ(root->Key1->GetDisabledColor(), clGray);

  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root.get());
  std::string written = out->GetDataString();
  for (const char* gone : {"FrameFlat", "FrameFocusStyle", "FrameFlatStyle", "FramingPreference"})
    EXPECT_EQ(written.find(gone), std::string::npos) << gone << "\n" << written;
  for (const char* line : {"FrameHotTrack = True", "TabOnEnter = True", "FrameHotStyle = fsRaised",
                           "FrameColor = clRed", "DisabledColor = clGray"})
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
}

}  // namespace
