// Unicode windows of class-library controls and the trap between the window,
// WindowProc and DefWndProc.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxActionTestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "unicode/VoxControls.h"
#include "unicode/VoxControlsPrivate.h"
#include "unicode/VoxActnList.h"

using namespace controls_test;

namespace {

// U+4E2D U+6587; code page 1252 holds neither: the ANSI form is "??".
const std::wstring kChinese = L"\u4E2D\u6587";
const wchar_t kZhong = L'\u4E2D';

// A party that replaces WindowProc and chains to what it found.
struct TSpy {
  TWinControl* Control;
  TWndMethod Saved;
  std::vector<WPARAM> Chars;
  explicit TSpy(TWinControl* c) : Control(c), Saved(c->GetWindowProc()) {
    c->SetWindowProc(TWndMethod(this, &TSpy::Proc));
  }
  void Proc(TMessage& m) {
    if (m.Msg == WM_CHAR) Chars.push_back(m.WParam);
    Saved(m);
  }
};

// The trap whose handler is the control's WindowProc, or null.
TWinControlTrap* HookedTrap(TControl* c) {
  const TMethod& proc = c->GetWindowProc().Method();
  if (!proc.SameCode(TWndMethod::Unbound(&TWinControlTrap::WinControl_WndProc).Method())) return nullptr;
  return static_cast<TWinControlTrap*>(proc.Data);
}

class VoxTrapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    traps = vox_controls::LiveTrapCount();
  }
  void TearDown() override {
    if (edit) edit->Free();
    EXPECT_EQ(vox_controls::LiveTrapCount(), traps) << "a trap outlived its control";
  }
  TWideTestEdit* MakeEdit() {
    edit = New<TWideTestEdit>(nullptr);
    edit->SetBounds(2, 3, 120, 24);
    return edit;
  }
  void Show(TWinControl* c) { c->SetParentWindow(host.Handle()); }

  THostWindow host;
  TWideTestEdit* edit = nullptr;
  int traps = 0;
};

TEST_F(VoxTrapTest, TheWindowIsAUnicodeWindowOfTheUnicodeClassAndTheControlsOwn) {
  MakeEdit();
  VoxControl_SetText(edit, kChinese);  // kept wide until there is a window
  Show(edit);
  ASSERT_TRUE(edit->HandleAllocated());
  HWND h = edit->GetHandle();

  EXPECT_TRUE(IsWindowUnicode(h));
  wchar_t className[80]{};
  GetClassNameW(h, className, 80);
  EXPECT_EQ(std::wstring(className), L"TWideTestEdit.UnicodeClass");
  EXPECT_EQ(FindControl(h), edit);
  EXPECT_EQ(CreationControl, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_ID), reinterpret_cast<LONG_PTR>(h));
  EXPECT_NE(HookedTrap(edit), nullptr);
  EXPECT_EQ(WideWindowText(h), kChinese) << "the window was made without a caption and given the wide one";
  EXPECT_EQ(VoxControl_GetText(edit), kChinese);
  EXPECT_EQ(edit->GetText(), "??") << "ANSI readers see the ANSI form";
  EXPECT_TRUE(edit->StoredText().empty());

  // A window of the class that no control is creating belongs to nobody.
  HWND stray = CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, ControlsInstance(),
                               nullptr);
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(FindControl(stray), nullptr);
  DestroyWindow(stray);
}

TEST_F(VoxTrapTest, TextThroughTheControlIsAnsiAndThroughTheWindowWide) {
  MakeEdit();
  Show(edit);
  HWND h = edit->GetHandle();
  VoxControl_SetText(edit, L"Gr\u00FC\u00DF" + kChinese);

  char ansi[32]{};
  EXPECT_EQ(edit->Perform(WM_GETTEXT, sizeof ansi, reinterpret_cast<LPARAM>(ansi)), 6);
  EXPECT_STREQ(ansi, "Gr\xFC\xDF??");
  EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH, 0, 0), 6);
  wchar_t wide[32]{};
  EXPECT_EQ(SendMessageW(h, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(wide)), 6);
  EXPECT_EQ(std::wstring(wide), L"Gr\u00FC\u00DF" + kChinese);

  // ANSI text sent through the control arrives widened in the window.
  edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\xC4pfel"));
  EXPECT_EQ(WideWindowText(h), L"\u00C4pfel");
  // Wide text sent to the window stays wide.
  SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kChinese.c_str()));
  EXPECT_EQ(VoxControl_GetText(edit), kChinese);
  EXPECT_EQ(edit->GetText(), "??");
}

TEST_F(VoxTrapTest, TextChangedIsSentOncePerChange) {
  MakeEdit();
  Show(edit);
  struct Step {
    std::function<void()> Set;
    int Sent;
  } steps[] = {
      {[&] { VoxControl_SetText(edit, kChinese); }, 1},
      {[&] { VoxControl_SetText(edit, kChinese); }, 0},  // the same text again
      {[&] { edit->SetText("??"); }, 0},                 // already its ANSI form
      {[&] { edit->SetText("abc"); }, 1},
      {[&] { edit->SetText("abc"); }, 0},
      {[&] { VoxControl_SetText(edit, L"??"); }, 1},
      {[&] { VoxControl_SetText(edit, L""); }, 1},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    edit->TextChanged = 0;
    steps[i].Set();
    EXPECT_EQ(edit->TextChanged, steps[i].Sent);
  }
}

TEST_F(VoxTrapTest, ANewWindowKeepsTheWideTextAndTheTrap) {
  MakeEdit();
  Show(edit);
  VoxControl_SetText(edit, kChinese);
  int live = vox_controls::LiveTrapCount();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    HWND before = edit->GetHandle();
    if (round == 2) ReCreateUnicodeWnd(edit, L"EDIT");
    else edit->RecreateWnd();  // a style change's path
    ASSERT_TRUE(edit->HandleAllocated());
    EXPECT_NE(edit->GetHandle(), before);
    EXPECT_TRUE(IsWindowUnicode(edit->GetHandle()));
    EXPECT_EQ(WideWindowText(edit->GetHandle()), kChinese);
    EXPECT_EQ(vox_controls::LiveTrapCount(), live) << "the parked trap serves the new window";
    EXPECT_NE(HookedTrap(edit), nullptr);
  }

  // An ANSI caption given while there is no window wins over the kept one.
  edit->DestroyHandle();
  EXPECT_EQ(VoxControl_GetText(edit), kChinese);
  edit->SetText("plain");
  edit->HandleNeeded();
  EXPECT_EQ(WideWindowText(edit->GetHandle()), L"plain");
  // And one given to the window.
  VoxControl_SetText(edit, kChinese);
  edit->SetText("abc");
  edit->RecreateWnd();
  EXPECT_EQ(VoxControl_GetText(edit), L"abc");
}

// A designer's window starts with the class library's own first procedure,
// which installs its procedure the ANSI way: the window is made Unicode
// again before the trap is attached. Its trap goes with the window, and the
// next ordinary window registers the class again with the layer's procedure.
TEST_F(VoxTrapTest, ADesignersWindowIsAUnicodeWindowToo) {
  MakeEdit();
  Show(edit);
  VoxControl_SetText(edit, kChinese);
  const int live = vox_controls::LiveTrapCount();
  ReCreateUnicodeWnd(edit, L"EDIT", true);
  HWND h = edit->GetHandle();
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(FindControl(h), edit);
  EXPECT_EQ(WideWindowText(h), kChinese);
  edit->Chars.clear();
  SendMessageW(h, EM_SETSEL, 2, 2);
  SendMessageW(h, WM_CHAR, kZhong, 1);
  EXPECT_EQ(edit->Chars, std::vector<WPARAM>{0x4E2D00FF});
  const std::wstring typed = kChinese + kZhong;
  EXPECT_EQ(WideWindowText(h), typed);

  // Its trap is not kept for another window.
  edit->DestroyHandle();
  EXPECT_EQ(vox_controls::LiveTrapCount(), live - 1);
  edit->HandleNeeded();
  h = edit->GetHandle();
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(vox_controls::LiveTrapCount(), live);
  EXPECT_EQ(WideWindowText(h), typed);
  wchar_t className[80]{};
  GetClassNameW(h, className, 80);
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(ControlsInstance(), className, &wc));
  EXPECT_NE(wc.lpfnWndProc, &InitWndProc) << "registered again with the layer's own first procedure";
}

TEST_F(VoxTrapTest, AControlFreedInsideItsOwnMessageTakesItsTrapAlong) {
  MakeEdit();
  Show(edit);
  // The window procedure of the trap is running when the control goes.
  SendMessageW(edit->GetHandle(), TWideTestEdit::kFreeYourself, 0, 0);
  edit = nullptr;
  // TearDown checks that no trap is left.
}

// What each kind of handler sees of a typed character: ANSI code gets 255
// with the character in the high word, the window's own procedure the
// character.
TEST_F(VoxTrapTest, WMCharReachesAnsiHandlersPackedAndTheWindowWhole) {
  MakeEdit();
  Show(edit);
  struct TKeys {
    std::vector<char> Keys;
    void KeyPress(TObject*, char& key) { Keys.push_back(key); }
  } keys;
  edit->SetOnKeyPress(TKeyPressEvent(&keys, &TKeys::KeyPress));
  TSpy spy(edit);  // a WindowProc replaced after the trap hooked

  struct Case {
    wchar_t Typed;
    WPARAM Packed;
    char Key;
  } cases[] = {
      {L'A', 0x41, 'A'},
      {L'\u00E9', 0xE9, '\xE9'},
      {kZhong, 0x4E2D00FF, '\xFF'},
  };
  std::wstring typed;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Typed));
    spy.Chars.clear();
    edit->Chars.clear();
    keys.Keys.clear();
    SendMessageW(edit->GetHandle(), WM_CHAR, c.Typed, 1);
    typed += c.Typed;
    EXPECT_EQ(spy.Chars, std::vector<WPARAM>{c.Typed}) << "the spy came after the trap: it sees the message first";
    EXPECT_EQ(edit->Chars, std::vector<WPARAM>{c.Packed}) << "WndProc";
    EXPECT_EQ(keys.Keys, std::vector<char>{c.Key}) << "OnKeyPress";
    EXPECT_EQ(WideWindowText(edit->GetHandle()), typed) << "the EDIT procedure";
  }
  edit->SetWindowProc(spy.Saved);
}

// A character an input method composed (WM_IME_CHAR) reaches the window
// whole and once on every path: before XP and for a shell it is sent back
// as WM_CHAR at once; on XP and later the default procedure posts the
// WM_CHAR, which comes through the queue (and the layer's hook). Either way
// ANSI handlers see it packed.
TEST_F(VoxTrapTest, AnInputMethodsCharacterReachesTheWindowWholeAndOnce) {
  MakeEdit();
  Show(edit);
  struct Case {
    const char* Name;
    bool Shell, XP;
    bool AtOnce;
  } cases[] = {
      {"before XP", false, false, true},
      {"XP and later", false, true, false},
      {"a shell", true, true, true},
  };
  const std::wstring typed(1, kZhong);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    VoxControl_SetText(edit, L"");
    edit->Chars.clear();
    const bool savedShell = _IsShellProgramming, savedXP = Win32PlatformIsXP;
    _IsShellProgramming = c.Shell;
    Win32PlatformIsXP = c.XP;
    SendMessageW(edit->GetHandle(), WM_IME_CHAR, kZhong, 1);
    _IsShellProgramming = savedShell;
    Win32PlatformIsXP = savedXP;
    EXPECT_EQ(WideWindowText(edit->GetHandle()), c.AtOnce ? typed : L"");
    PumpMessages();
    EXPECT_EQ(WideWindowText(edit->GetHandle()), typed);
    EXPECT_EQ(edit->Chars, std::vector<WPARAM>{0x4E2D00FF});
  }
}

TEST_F(VoxTrapTest, WindowProcIsHookedOnceWhoeverReplacedIt) {
  MakeEdit();
  // Replaced before the first window: the trap hooks over it.
  TSpy before(edit);
  Show(edit);
  TWinControlTrap* trap = HookedTrap(edit);
  ASSERT_NE(trap, nullptr);
  EXPECT_EQ(trap->GetControl(), edit);

  // Replaced after: over new windows the trap finds its handler at the end
  // of the chain and stays where it is, so WM_CHAR is packed once.
  edit->SetOnKeyPress(nullptr);
  TSpy after(edit);
  edit->RecreateWnd();
  ReCreateUnicodeWnd(edit, L"EDIT");
  EXPECT_EQ(HookedTrap(edit), nullptr);
  EXPECT_EQ(edit->GetWindowProc(), TWndMethod(&after, &TSpy::Proc));
  edit->Chars.clear();
  SendMessageW(edit->GetHandle(), WM_CHAR, kZhong, 1);
  EXPECT_EQ(after.Chars, std::vector<WPARAM>{kZhong});
  EXPECT_EQ(before.Chars, std::vector<WPARAM>{0x4E2D00FF});
  EXPECT_EQ(edit->Chars, std::vector<WPARAM>{0x4E2D00FF});
  EXPECT_EQ(WideWindowText(edit->GetHandle()), std::wstring(1, kZhong));

  edit->SetWindowProc(after.Saved);
  EXPECT_EQ(edit->GetWindowProc(), TWndMethod(trap, &TWinControlTrap::WinControl_WndProc));
  edit->RecreateWnd();
  EXPECT_EQ(HookedTrap(edit), trap) << "already hooked: left as it is";
  edit->DestroyHandle();
  EXPECT_EQ(edit->GetWindowProc(), TWndMethod(&before, &TSpy::Proc)) << "unhooked with the window";
  edit->SetWindowProc(before.Saved);
}

TEST_F(VoxTrapTest, TheWindowAsksForUnicodeNotifications) {
  MakeEdit();
  Show(edit);
  auto* plain = New<TEdit>(nullptr);  // the class library's ANSI window
  plain->SetParentWindow(host.Handle());
  HWND ansiWindow = plain->GetHandle();
  ASSERT_FALSE(IsWindowUnicode(ansiWindow));
  EXPECT_EQ(SendMessageW(edit->GetHandle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(edit->GetHandle()), NF_QUERY),
            NFR_UNICODE);
  EXPECT_EQ(SendMessageW(edit->GetHandle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(ansiWindow), NF_QUERY),
            NFR_ANSI);
  plain->Free();
}

TEST_F(VoxTrapTest, TheAnsiRouteMakesAnAnsiWindow) {
  TAnsiRoute ansi;
  MakeEdit();
  edit->SetText("\xC4pfel");
  Show(edit);
  EXPECT_FALSE(IsWindowUnicode(edit->GetHandle()));
  EXPECT_EQ(HookedTrap(edit), nullptr);
  EXPECT_EQ(VoxControl_GetText(edit), L"\u00C4pfel");
  VoxControl_SetText(edit, kChinese);
  EXPECT_EQ(edit->GetText(), "??");

  auto* plain = New<TEdit>(nullptr);
  plain->SetParentWindow(host.Handle());
  plain->HandleNeeded();
  EXPECT_EQ(MessageOf<Exception>([&] { SubClassUnicodeControl(plain, ""); }),
            "VOX Internal Error: SubClassUnicodeControl.Control is not Unicode.");
  plain->Free();
}

// A focused control keeps the focus over its new Unicode window.
TEST(SerialVoxTrapFocus, ANewWindowOfTheFocusedControlHasTheFocus) {
  forms_test::TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(100, 100, 300, 120);
  auto* edit = New<TWideTestEdit>(form.get());
  edit->SetBounds(10, 10, 150, 24);
  edit->SetParent(form.get());
  form->Show();
  SetForegroundWindow(form->GetHandle());
  forms_test::PumpApplication(2);
  edit->SetFocus();
  ASSERT_TRUE(edit->Focused());
  HWND before = edit->GetHandle();
  ReCreateUnicodeWnd(edit, L"EDIT");
  EXPECT_NE(edit->GetHandle(), before);
  EXPECT_EQ(GetFocus(), edit->GetHandle());
  EXPECT_TRUE(edit->Focused());
}

TEST(VoxWMChar, PackingTable) {
  struct Case {
    bool shell;
    WPARAM in, packed, restored;
    WORD oldHigh;
    wchar_t wide;
  } cases[] = {
      {false, 0x41, 0x41, 0x41, 0, L'A'},
      {false, 0xFF, 0xFF, 0xFF, 0, L'\u00FF'},
      {false, 0x4E2D, 0x4E2D00FF, 0x4E2D, 0x4E2D, kZhong},
      {false, 0x100, 0x010000FF, 0x100, 0x100, L'\u0100'},
      {true, 0x00B100A4, 0xB1A400FF, 0xB1A4, 0xB1A4, L'\uB1A4'},  // a shell's double-byte character
      {true, 0x41, 0x41, 0x41, 0, L'A'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    bool saved = _IsShellProgramming;
    _IsShellProgramming = c.shell;
    TMessage m{WM_CHAR, c.in, 0, 0};
    MakeWMCharMsgSafeForAnsi(m);
    _IsShellProgramming = saved;
    EXPECT_EQ(m.WParam, c.packed);
    EXPECT_EQ(GetWideCharFromWMCharMsg(m), c.wide);
    EXPECT_EQ(RestoreWMCharMsg(m), c.oldHigh);
    EXPECT_EQ(m.WParam, c.restored);
    TMessage s{WM_CHAR, 0x12340000, 0, 0};
    SetWideCharForWMCharMsg(s, c.wide);
    EXPECT_EQ(GetWideCharFromWMCharMsg(s), c.wide);
  }
}

TEST(VoxWMChar, AMessageThatIsNotACharacterOrIsPackedAlreadyIsAnInternalError) {
  TMessage key{WM_KEYDOWN, 0x41, 0, 0};
  EXPECT_EQ(MessageOf<EAssertionFailed>([&] { MakeWMCharMsgSafeForAnsi(key); }),
            "Assertion failed (VoxControls, line 421)");
  EXPECT_EQ(MessageOf<EAssertionFailed>([&] { RestoreWMCharMsg(key); }),
            "Assertion failed (VoxControls, line 442)");
  TMessage packed{WM_CHAR, 0x4E2D00FF, 0, 0};
  EXPECT_EQ(MessageOf<EAssertionFailed>([&] { MakeWMCharMsgSafeForAnsi(packed); }),
            "Assertion failed (VoxControls, line 424)");
  bool saved = _IsShellProgramming;
  _IsShellProgramming = true;
  TMessage wide{WM_CHAR, 0x00014E2D, 0, 0};
  std::string message = MessageOf<EAssertionFailed>([&] { MakeWMCharMsgSafeForAnsi(wide); });
  _IsShellProgramming = saved;
  EXPECT_EQ(message, "Assertion failed (VoxControls, line 425)");
}

TEST_F(VoxTrapTest, AHintShowAsksForTheWideHintWindowWithTheShortWideHint) {
  MakeEdit();
  Show(edit);
  VoxControl_SetHint(edit, kChinese + L"|long part");
  THintInfo info;
  info.HintControl = edit;
  info.HintWindowClass = THintWindow::StaticClass();
  info.HintStr = "??|long part";
  edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintWindowClass, TVoxHintWindow::StaticClass());
  EXPECT_EQ(info.HintData, &info) << "the mark";
  EXPECT_EQ(info.HintStr, "??");

  // The wide hint window shows the wide text of the marked info.
  auto* window = New<TVoxHintWindow>(nullptr);
  TRect r = window->CalcHintRect(300, info.HintStr, &info);
  EXPECT_GT(r.right, 6);
  window->ActivateHintData(Rect(10, 10, 10 + r.right, 10 + r.bottom), info.HintStr, &info);
  EXPECT_TRUE(IsWindowUnicode(window->GetHandle()));
  EXPECT_EQ(WideWindowText(window->GetHandle()), kChinese);
  // Unmarked data: the ANSI text as given.
  window->ActivateHintData(Rect(10, 10, 60, 30), "plain", nullptr);
  EXPECT_EQ(window->GetCaption(), L"plain");
  window->Free();

  // A hint window class of the program's own is left alone.
  THintInfo own;
  own.HintControl = edit;
  own.HintWindowClass = TWideTestEdit::StaticClass();
  edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&own));
  EXPECT_EQ(own.HintWindowClass, TWideTestEdit::StaticClass());
  EXPECT_EQ(own.HintData, nullptr);
}

TEST_F(VoxTrapTest, TheActionsShortCutInTheHintWindowIsTheKeyboardsWideName) {
  // The keyboard gives U+0424 for the A key: only the wide name has it.
  auto& map = Seams().MapVirtualKeyW;
  TSeamOverride<std::decay_t<decltype(map)>> keyboard(map, [real = map](UINT code, UINT mapType) {
    return code == 'A' && mapType == MAPVK_VK_TO_CHAR ? UINT{0x0424} : real(code, mapType);
  });
  ASSERT_NE(Application, nullptr);
  const bool savedShortCuts = Application->GetHintShortCuts();
  Application->SetHintShortCuts(true);
  Owned<TVoxAction> action(New<TVoxAction>(nullptr));
  action->SetHint(kChinese + L"|long part");
  action->SetShortCut(scCtrl | 'A');
  // A wide client of the action: its link hands it the wide hint.
  Owned<TWideEdit> wide(New<TWideEdit>(nullptr));
  wide->SetBounds(2, 3, 120, 24);
  wide->SetAction(action.get());
  Show(wide.get());

  THintInfo info;
  info.HintControl = wide.get();
  info.HintWindowClass = THintWindow::StaticClass();
  info.HintStr = "??|long part";
  wide->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, "?? (" + ShortCutToText(scCtrl | 'A') + ")") << "the class library's text";
  Owned<TVoxHintWindow> window(New<TVoxHintWindow>(nullptr));
  window->ActivateHintData(Rect(10, 10, 200, 30), info.HintStr, &info);
  EXPECT_EQ(WideWindowText(window->GetHandle()), kChinese + L" (Ctrl+\u0424)");

  // Without the application's shortcuts in hints the text is the hint alone.
  Application->SetHintShortCuts(false);
  THintInfo plain;
  plain.HintControl = wide.get();
  plain.HintWindowClass = THintWindow::StaticClass();
  wide->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&plain));
  window->ActivateHintData(Rect(10, 10, 200, 30), plain.HintStr, &plain);
  EXPECT_EQ(WideWindowText(window->GetHandle()), kChinese);
  Application->SetHintShortCuts(savedShortCuts);
  wide->SetAction(nullptr);
}

}  // namespace
