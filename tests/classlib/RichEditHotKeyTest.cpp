// The rich edit over the system's control: its lines, selection and the
// selection-change notice the framed rich edit builds on; the hot key's
// combination in both directions and its rules.
#include <gtest/gtest.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;

namespace {

class RichEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 300, 200);
    edit = New<TRichEdit>(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(0, 0, 280, 150);
    edit->OnSelectionChange = TNotifyEvent(this, &RichEditTest::SelChanged);
    edit->OnChange = TNotifyEvent(this, &RichEditTest::Changed);
  }
  void SelChanged(TObject*) { ++selChanges; }
  void Changed(TObject*) { ++changes; }

  TFreshApplication app;
  Owned<TForm> form;
  TRichEdit* edit = nullptr;
  int selChanges = 0;
  int changes = 0;
};

TEST_F(RichEditTest, TheWindowIsTheSystemsRichEdit) {
  // The control's window class runs the system class's procedure.
  edit->HandleNeeded();
  WNDCLASSA wc{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "RICHEDIT", &wc));
  EXPECT_EQ(edit->GetDefWndProc(), wc.lpfnWndProc);
  EXPECT_NE(GetModuleHandleA("RICHED32.DLL"), nullptr);
  EXPECT_NE(SendMessageA(edit->GetHandle(), EM_GETEVENTMASK, 0, 0) & ENM_SELCHANGE, 0);
}

TEST_F(RichEditTest, LinesAreTheControlsText) {
  TStrings* lines = edit->GetLines();
  lines->Add("first");
  lines->Add("second");
  lines->Insert(1, "between");
  EXPECT_EQ(LinesOf(lines), (Lines{"first", "between", "second"}));
  lines->Delete(0);
  lines->Put(1, "last");
  EXPECT_EQ(LinesOf(lines), (Lines{"between", "last"}));
  EXPECT_GT(changes, 0);
  // The stored text survives a new window.
  edit->SetHideScrollBars(false);
  EXPECT_EQ(LinesOf(edit->GetLines()), (Lines{"between", "last"}));
  EXPECT_NE(SendMessageA(edit->GetHandle(), EM_GETEVENTMASK, 0, 0) & ENM_SELCHANGE, 0);
}

TEST_F(RichEditTest, SelectionChangesAreReported) {
  edit->GetLines()->SetText("one\ntwo\nthree\n");
  PumpApplication(2);
  selChanges = 0;
  // The first rich edit counts a line break as its two characters.
  edit->SetSelStart(5);
  edit->SetSelLength(3);
  EXPECT_GE(selChanges, 1);
  EXPECT_EQ(edit->GetSelText(), "two");
  // The framed rich edit's line and column come from these messages.
  LRESULT line = SendMessageA(edit->GetHandle(), EM_LINEFROMCHAR, static_cast<WPARAM>(edit->GetSelStart()), 0);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(edit->GetSelStart() - SendMessageA(edit->GetHandle(), EM_LINEINDEX, 1, 0), 0);
  // The user's keys move the selection too: Right as the loop delivers it.
  int before = selChanges;
  PostMessageA(edit->GetHandle(), WM_KEYDOWN, VK_RIGHT, 1);
  PumpApplication(3);
  EXPECT_GT(selChanges, before);
  EXPECT_EQ(edit->GetSelLength(), 0);
}

TEST(HotKeyTest, CombinationAndRules) {
  controls_test::THostWindow host;
  Owned<THotKey> hk(New<THotKey>(nullptr));
  // Alt+A before and after the window is made.
  EXPECT_EQ(hk->GetHotKey(), scAlt | 'A');
  hk->SetParentWindow(host.Handle());
  HWND w = hk->GetHandle();
  EXPECT_EQ(SendMessageA(w, HKM_GETHOTKEY, 0, 0), MAKEWORD('A', HOTKEYF_ALT));
  struct Case {
    TShortCut shortCut;
    WORD word;
  };
  for (Case c : {Case{static_cast<TShortCut>(scCtrl | scShift | VK_F5), MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_SHIFT)},
                 Case{static_cast<TShortCut>(VK_INSERT), MAKEWORD(VK_INSERT, 0)},
                 Case{static_cast<TShortCut>(scAlt | scCtrl | 'Z'), MAKEWORD('Z', HOTKEYF_ALT | HOTKEYF_CONTROL)}}) {
    SCOPED_TRACE(c.shortCut);
    hk->SetHotKey(c.shortCut);
    EXPECT_EQ(SendMessageA(w, HKM_GETHOTKEY, 0, 0), c.word);
    // And what the user set in the window comes back as a shortcut.
    SendMessageA(w, HKM_SETHOTKEY, c.word, 0);
    EXPECT_EQ(hk->GetHotKey(), c.shortCut);
  }
  // The combination survives a new window.
  SendMessageA(w, HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_CONTROL), 0);
  hk->RecreateWnd();
  EXPECT_EQ(hk->GetHotKey(), scCtrl | 'Q');
  EXPECT_EQ(SendMessageA(hk->GetHandle(), HKM_GETHOTKEY, 0, 0), MAKEWORD('Q', HOTKEYF_CONTROL));
}

TEST(HotKeyTest, ARefusedCombinationTakesTheModifiers) {
  controls_test::THostWindow host;
  Owned<THotKey> hk(New<THotKey>(nullptr));
  hk->SetParentWindow(host.Handle());
  hk->SetModifiers(THKModifiers{hkCtrl, hkShift});
  // A plain key is refused (hcNone): the control puts Ctrl+Shift with it
  // when the user presses it.
  HWND w = hk->GetHandle();
  SendMessageA(w, WM_SETFOCUS, 0, 0);
  SendMessageA(w, WM_KEYDOWN, 'K', 1);
  SendMessageA(w, WM_KEYUP, 'K', static_cast<LPARAM>(0xC0000001u));
  EXPECT_EQ(hk->GetHotKey(), scCtrl | scShift | 'K');
}

}  // namespace
