// The framed edit under the real mouse and keyboard on a shown form: the
// hot frame follows the pointer and the focus, a click on the drop-down
// button opens it without placing the caret, Alt+Down opens it too, and
// Enter moves on with TabOnEnter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "kx/controls/KxEdit.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

class SerialKxEditInput : public ::testing::Test {
 protected:
  void SetUp() override {
    forms_test::MoveMouseTo(POINT{0, 0});
    edit = form.Add<TKxEdit>(10, 10, 160, 24);
    edit->SetText("abcdef");
    next = form.Add<TEdit>(10, 80, 100, 22);
    form.Show();
    form.Form()->SetActiveControl(next);
    forms_test::PumpApplication(3);
  }
  void DropLog() {
    edit->SetOnDropDown(TNotifyEvent(this, &SerialKxEditInput::Dropped));
    edit->SetOnCloseUp(TNotifyEvent(this, &SerialKxEditInput::Closed));
  }
  void Dropped(TObject*) { log.push_back("drop"); }
  void Closed(TObject*) { log.push_back("close"); }
  // The outer ring's colour at the middle of the left side, as printed.
  COLORREF OuterRing() {
    TDib dib(160, 24, RGB(1, 2, 3));
    edit->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dib.DC()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    return dib.Pixel(0, edit->GetHeight() / 2);
  }
  // A point of the button in client coordinates (it lies right of the
  // client area).
  POINT ButtonPoint() {
    TRect b = edit->ButtonRect();
    RECT w;
    GetWindowRect(edit->GetHandle(), &w);
    POINT origin{0, 0};
    ClientToScreen(edit->GetHandle(), &origin);
    return POINT{w.left + (b.left + b.right) / 2 - origin.x, w.top + (b.top + b.bottom) / 2 - origin.y};
  }

  TShownForm form;
  TKxEdit* edit = nullptr;
  TEdit* next = nullptr;
  std::vector<std::string> log;
};

TEST_F(SerialKxEditInput, TheHotFrameFollowsThePointerAndTheFocus) {
  TThemesOff themesOff;
  edit->SetFrameHotTrack(true);
  edit->SetFrameColor(clRed);
  edit->SetFrameHotColor(clBlue);
  forms_test::PumpApplication(3);
  EXPECT_EQ(OuterRing(), kx_test::Shown(clRed));
  form.MoveTo(edit, POINT{20, 8});
  EXPECT_TRUE(edit->GetMouseOver());
  EXPECT_EQ(OuterRing(), kx_test::Shown(clBlue));
  form.MoveTo(next, POINT{5, 5});
  EXPECT_FALSE(edit->GetMouseOver());
  EXPECT_EQ(OuterRing(), kx_test::Shown(clRed));
  edit->SetFocus();
  forms_test::PumpApplication(3);
  EXPECT_EQ(OuterRing(), kx_test::Shown(clBlue)) << "the focus makes it hot too";
  form.Type(VK_TAB);
  EXPECT_EQ(OuterRing(), kx_test::Shown(clRed));
}

TEST_F(SerialKxEditInput, AClickOnTheButtonOpensItTakesTheFocusAndLeavesTheCaret) {
  edit->SetDropButtonVisible(true);
  DropLog();
  edit->SetFocus();
  forms_test::PumpApplication(3);
  edit->SetSelStart(2);
  edit->SetSelLength(0);
  next->SetFocus();
  forms_test::PumpApplication(3);

  form.MoveTo(edit, ButtonPoint());
  form.Button(true);
  EXPECT_EQ(log, (std::vector<std::string>{"drop", "close"}));
  EXPECT_TRUE(edit->Focused());
  form.Button(false);
  EXPECT_FALSE(edit->GetButtonDown());
  EXPECT_NE(GetCapture(), edit->GetHandle()) << "the release lets the mouse go";
  EXPECT_EQ(edit->GetSelStart(), 2) << "the click placed no caret";
  EXPECT_EQ(edit->GetSelLength(), 0);

  // A click in the text places the caret and opens nothing.
  log.clear();
  form.MoveTo(edit, POINT{1, 8});
  form.Button(true);
  form.Button(false);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(edit->GetSelStart(), 0);
}

TEST_F(SerialKxEditInput, AltDownOpensTheButtonsDropDown) {
  DropLog();
  edit->SetFocus();
  forms_test::PumpApplication(3);
  form.Key(VK_MENU, true);
  form.Type(VK_DOWN);
  form.Key(VK_MENU, false);
  EXPECT_TRUE(log.empty()) << "no button, nothing to open";
  edit->SetDropButtonVisible(true);
  forms_test::PumpApplication(3);
  form.Key(VK_MENU, true);
  form.Type(VK_DOWN);
  form.Key(VK_MENU, false);
  EXPECT_EQ(log, (std::vector<std::string>{"drop", "close"}));
}

TEST_F(SerialKxEditInput, EnterMovesOnWithTabOnEnter) {
  edit->SetFocus();
  forms_test::PumpApplication(3);
  form.Type(VK_RETURN);
  EXPECT_TRUE(edit->Focused()) << "without TabOnEnter Enter stays";
  edit->SetTabOnEnter(true);
  form.Type(VK_RETURN);
  forms_test::PumpApplication(3);
  EXPECT_TRUE(next->Focused());
}

}  // namespace

namespace {

// The framed memo under the real mouse and keyboard.
class SerialKxMemoInput : public ::testing::Test {
 protected:
  void SetUp() override {
    forms_test::MoveMouseTo(POINT{0, 0});
    memo = form.Add<TKxMemo>(10, 10, 200, 60);
    std::string text;
    for (int i = 1; i <= 30; ++i) text += "line " + std::to_string(i) + "\r\n";
    memo->GetLines()->SetText(text);
    next = form.Add<TEdit>(10, 100, 100, 22);
    form.Show();
    form.Form()->SetActiveControl(memo);
    forms_test::PumpApplication(3);
    memo->SetOnClipboardChange(TClipboardChangeEvent(this, &SerialKxMemoInput::Clip));
  }
  void Clip(TObject*, bool canCopy, bool canPaste) { clipboard.push_back({canCopy, canPaste}); }
  int FirstVisible() { return static_cast<int>(SendMessageA(memo->GetHandle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
  static void Wheel(int notches) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(-notches * WHEEL_DELTA);
    SendInput(1, &in, sizeof in);
    forms_test::PumpApplication(3);
  }

  TShownForm form;
  TKxMemo* memo = nullptr;
  TEdit* next = nullptr;
  std::vector<std::pair<bool, bool>> clipboard;
};

TEST_F(SerialKxMemoInput, ADragSelectsTextAndTheReleaseReportsThatItCanBeCopied) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  form.MoveTo(memo, POINT{3, 5});
  form.Button(true);
  form.MoveTo(memo, POINT{30, 5});
  clipboard.clear();
  form.Button(false);
  ASSERT_GT(memo->GetSelLength(), 0);
  ASSERT_FALSE(clipboard.empty());
  EXPECT_EQ(clipboard.back(), std::make_pair(true, false));
  memo->CopyToClipboard();
  // Away from the last press: no double click.
  form.MoveTo(memo, POINT{60, 30});
  form.Button(true);
  clipboard.clear();
  form.Button(false);
  ASSERT_FALSE(clipboard.empty());
  EXPECT_EQ(clipboard.back(), std::make_pair(false, true)) << "a click: nothing selected, text to paste";
}

TEST_F(SerialKxMemoInput, AWheelNotchScrollsOneLineAndWithCtrlTheSystemsLines) {
  form.MoveTo(memo, POINT{20, 20});
  Wheel(1);
  EXPECT_EQ(FirstVisible(), 1);
  Wheel(-1);
  EXPECT_EQ(FirstVisible(), 0);
  form.Key(VK_CONTROL, true);
  Wheel(1);
  form.Key(VK_CONTROL, false);
  EXPECT_EQ(FirstVisible(), Mouse().GetWheelScrollLines());
}

TEST_F(SerialKxMemoInput, EnterBreaksTheLineOrMovesOnWithTabOnEnter) {
  memo->GetLines()->SetText("ab");
  memo->SetSelStart(1);
  form.Type(VK_RETURN);
  EXPECT_EQ(memo->GetLines()->GetCount(), 2);
  EXPECT_EQ(memo->GetLine(), 2);
  memo->SetTabOnEnter(true);
  form.Type(VK_RETURN);
  forms_test::PumpApplication(3);
  EXPECT_TRUE(next->Focused());
  EXPECT_EQ(memo->GetLines()->GetCount(), 2);
}

}  // namespace

namespace {

TEST(SerialKxMaskEditInput, TypedDigitsFillTheMaskAroundItsLiterals) {
  forms_test::MoveMouseTo(POINT{0, 0});
  TShownForm form;
  auto* edit = form.Add<TKxMaskEdit>(10, 10, 160, 24);
  edit->SetEditMask("00-00;0;_");
  edit->SetFrameVisible(true);
  form.Show();
  form.Form()->SetActiveControl(edit);
  forms_test::PumpApplication(3);
  edit->SetSelStart(0);
  for (WORD vk : {'1', '2', '3', 'X', '4'}) form.Type(vk);
  EXPECT_EQ(edit->GetRightJustifiedText(), "12-34") << "the letter was refused, the literal skipped";
  EXPECT_EQ(edit->GetText(), "1234");
}

}  // namespace
