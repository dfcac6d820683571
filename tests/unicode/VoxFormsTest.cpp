// The application companion, the main thread's message hook, the wide form
// and the layer's start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "classlib/ActnList.h"
#include "classlib/Seams.h"
#include "classlib/StdActns.h"
#include "classlib/StdCtrls.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxFormsPrivate.h"
#include "unicode/VoxStdActns.h"
#include "unicode/VoxUnits.h"

using namespace controls_test;
using namespace forms_test;

namespace {

const std::wstring kChinese = L"\u4E2D\u6587";
const wchar_t kZhong = L'\u4E2D';

// A new application companion for the test's life, made after the
// application it hooks (a TFreshApplication made before it).
class TFreshVoxApplication {
 public:
  TFreshVoxApplication() : saved_(VoxApplication) { VoxApplication = New<TVoxApplication>(nullptr); }
  ~TFreshVoxApplication() {
    VoxApplication->Free();
    VoxApplication = saved_;
  }
  TFreshVoxApplication(const TFreshVoxApplication&) = delete;
  TFreshVoxApplication& operator=(const TFreshVoxApplication&) = delete;

 private:
  TVoxApplication* saved_;
};

class VoxHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(vox_forms::gGetMessageHook, nullptr) << "the start-up installs the hook";
    wide = New<TWideTestEdit>(nullptr);
    wide->SetParentWindow(host.Handle());
    ansi = New<TEdit>(nullptr);
    ansi->SetParentWindow(host.Handle());
    wide->HandleNeeded();
    ansi->HandleNeeded();
  }
  void TearDown() override {
    wide->Free();
    ansi->Free();
    while (vox_forms::gManualPeekCount > 0) DisableManualPeekMessageWithRemove();
  }
  // Posts a character as the keyboard would (the wide form) and takes it as
  // the class library's loop does, with PeekMessageA.
  MSG PostAndPeek(HWND window, WPARAM ch, UINT remove = PM_REMOVE) {
    PostMessageW(window, WM_CHAR, ch, 1);
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, window, 0, 0, remove));
    return msg;
  }
  void Drain(HWND window) {
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    }
  }

  THostWindow host;
  TWideTestEdit* wide = nullptr;
  TEdit* ansi = nullptr;
};

TEST_F(VoxHookTest, AWideCharacterForAUnicodeWindowIsDispatchedOnceAndTheLoopGetsNothing) {
  MSG msg = PostAndPeek(wide->GetHandle(), kZhong);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(wide->Chars, std::vector<WPARAM>{0x4E2D00FF}) << "dispatched once, packed for ANSI handlers";
  EXPECT_EQ(WideWindowText(wide->GetHandle()), std::wstring(1, kZhong));
  // The loop dispatches what it got: nothing more arrives.
  DispatchMessageA(&msg);
  EXPECT_EQ(wide->Chars.size(), 1u);
}

TEST_F(VoxHookTest, OtherCharactersWindowsAndPeeksPassUntouched) {
  struct Case {
    const char* Name;
    bool WideWindow;
    WPARAM Char;
    UINT Remove;
  } cases[] = {
      {"a character below 256", true, 'A', PM_REMOVE},
      {"the highest below 256", true, 0xFF, PM_REMOVE},
      {"an ANSI window", false, kZhong, PM_REMOVE},
      {"a peek that leaves the message", true, kZhong, PM_NOREMOVE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TWinControl* target = c.WideWindow ? static_cast<TWinControl*>(wide) : ansi;
    wide->Chars.clear();
    MSG msg = PostAndPeek(target->GetHandle(), c.Char, c.Remove);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_TRUE(wide->Chars.empty()) << "not dispatched by the hook";
    Drain(target->GetHandle());
  }
}

TEST_F(VoxHookTest, ManualPeeksTurnTheHookOffAndTheCountNeverGoesBelowZero) {
  DisableManualPeekMessageWithRemove();  // at 0 already: stays there
  EnableManualPeekMessageWithRemove();
  MSG msg = PostAndPeek(wide->GetHandle(), kZhong);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR)) << "left to the peeking code";
  EXPECT_TRUE(wide->Chars.empty());

  DisableManualPeekMessageWithRemove();
  DisableManualPeekMessageWithRemove();
  EnableManualPeekMessageWithRemove();
  msg = PostAndPeek(wide->GetHandle(), kZhong);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR)) << "one disable too many did not go below 0";

  DisableManualPeekMessageWithRemove();
  msg = PostAndPeek(wide->GetHandle(), kZhong);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(wide->Chars.size(), 1u);
}

TEST_F(VoxHookTest, TheApplicationsOnMessageSeesTheCharacterFirstAndMayKeepIt) {
  struct TObserver {
    std::vector<WPARAM> Seen;
    bool Keep = false;
    void OnMessage(MSG& msg, bool& handled) {
      if (msg.message == WM_CHAR) Seen.push_back(msg.wParam);
      handled = Keep;
    }
  } observer;
  TMessageEvent saved = Application->OnMessage;
  Application->OnMessage = TMessageEvent(&observer, &TObserver::OnMessage);
  MSG msg = PostAndPeek(wide->GetHandle(), kZhong);
  observer.Keep = true;
  MSG kept = PostAndPeek(wide->GetHandle(), kZhong);
  Application->OnMessage = saved;

  EXPECT_EQ(observer.Seen, (std::vector<WPARAM>{kZhong, kZhong})) << "whole, before any dispatch";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(kept.message, static_cast<UINT>(WM_NULL)) << "taken either way";
  EXPECT_EQ(wide->Chars.size(), 1u) << "a handled message is not dispatched";
}

// A wide character for a control of the application's modeless dialog goes
// through the dialog's keyboard handling in its wide form: it arrives whole,
// once, and raises nothing.
TEST_F(VoxHookTest, AWideCharacterForTheApplicationsDialogArrivesWhole) {
  struct TCatcher {
    std::vector<std::string> Messages;
    void Handle(TObject*, Exception& e) { Messages.push_back(e.GetMessage()); }
  } catcher;
  TExceptionEvent savedHandler = Application->OnException;
  Application->OnException = TExceptionEvent(&catcher, &TCatcher::Handle);
  HWND savedDialog = Application->GetDialogHandle();
  Application->SetDialogHandle(host.Handle());
  MSG msg = PostAndPeek(wide->GetHandle(), kZhong);
  Application->SetDialogHandle(savedDialog);
  Application->OnException = savedHandler;

  EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
  EXPECT_EQ(wide->Chars, std::vector<WPARAM>{0x4E2D00FF});
  EXPECT_EQ(WideWindowText(wide->GetHandle()), std::wstring(1, kZhong));
  EXPECT_EQ(catcher.Messages, std::vector<std::string>{});
}

TEST_F(VoxHookTest, TheApplicationsLoopDeliversTypedWideText) {
  for (wchar_t c : kChinese) PostMessageW(wide->GetHandle(), WM_CHAR, c, 1);
  Application->ProcessMessages();
  EXPECT_EQ(WideWindowText(wide->GetHandle()), kChinese);
}

// The application companion of a fresh application.
class VoxApplicationTest : public ::testing::Test {
 protected:
  TFreshApplication app;
  TFreshVoxApplication vox;
};

TEST_F(VoxApplicationTest, TheHintIsKeptInStepWithTheApplicationsHint) {
  VoxApplication->SetHint(kChinese);
  EXPECT_EQ(Application->GetHint(), "??");
  EXPECT_EQ(VoxApplication->GetHint(), kChinese);
  Application->SetHint("plain");
  EXPECT_EQ(VoxApplication->GetHint(), L"plain");
  VoxApplication->SetAnsiAppHint("ansi");
  EXPECT_EQ(Application->GetHint(), "ansi");
}

TEST_F(VoxApplicationTest, TheApplicationsHintActionRunsWithTheWideHint) {
  struct TTarget {
    std::vector<std::string> Classes;
    std::vector<std::wstring> Hints;
    void OnActionExecute(TBasicAction* action, bool& handled) {
      Classes.push_back(action->ClassName());
      if (auto* w = dynamic_cast<TVoxHintAction*>(action)) {
        Hints.push_back(w->GetHint());
        handled = true;
      }
    }
  } target;
  Application->OnActionExecute = TActionEvent(&target, &TTarget::OnActionExecute);

  VoxApplication->SetHint(kChinese);  // the class library runs a hint action with "??"
  EXPECT_EQ(target.Classes, (std::vector<std::string>{"THintAction", "TVoxHintAction"}));
  EXPECT_EQ(target.Hints, std::vector<std::wstring>{kChinese});
  EXPECT_EQ(VoxApplication->GetComponentCount(), 0) << "the wide action went";

  // A hint action that is not the application's hint is left alone.
  target.Classes.clear();
  Owned<THintAction> other(New<THintAction>(nullptr));
  other->SetHint("unrelated");
  other->Execute();
  EXPECT_EQ(target.Classes, std::vector<std::string>{"THintAction"});
  Application->OnActionExecute = nullptr;
}

TEST_F(VoxApplicationTest, AMainFormThatIsNotWideGetsOneIdleEventControl) {
  TForm* form = nullptr;
  Application->CreateForm(TForm::StaticClass(), form);
  MSG msg{};
  msg.message = WM_NULL;
  EXPECT_FALSE(VoxApplication->ProcessMessage(msg));
  TVoxAppIdleEventControl* idle = VoxApplication->GetIdleEventControl();
  ASSERT_NE(idle, nullptr);
  EXPECT_EQ(idle->GetParent(), form);
  EXPECT_TRUE(Supports<IVoxAction>(idle->GetAction()));
  VoxApplication->ProcessMessage(msg);
  int idles = 0;
  for (TControl* c : form->Controls()) idles += dynamic_cast<TVoxAppIdleEventControl*>(c) != nullptr;
  EXPECT_EQ(idles, 1) << "the main form is looked at once";

  // Its action's update is what the form's idle time runs: it sets the
  // wide hint from the control under the mouse (none here).
  VoxApplication->SetHint(kChinese);
  idle->GetAction()->Update();
  EXPECT_EQ(VoxApplication->GetHint(), L"");
  form->Free();
  EXPECT_EQ(VoxApplication->GetIdleEventControl(), nullptr) << "forgotten with the form";
}

TEST_F(VoxApplicationTest, AWideMainFormNeedsNoIdleEventControl) {
  TVoxForm* form = nullptr;
  Application->CreateForm(TVoxForm::StaticClass(), form);
  MSG msg{};
  VoxApplication->ProcessMessage(msg);
  EXPECT_EQ(VoxApplication->GetIdleEventControl(), nullptr);
}

// The path of a wide hint under the mouse: the application's idle time
// makes the control's wide long hint the application's hint, and after the
// hint pause the short part shows, measured and drawn wide, in the layer's
// hint window. Time, timers and the cursor are the test's.
class SerialVoxHintTest : public ::testing::Test {
 protected:
  SerialVoxHintTest()
      : tick_(Seams().TickCount, [this] { return now; }),
        setTimer_(Seams().SetTimer, [](HWND, UINT_PTR id, UINT) { return id; }),
        killTimer_(Seams().KillTimer, [](HWND, UINT_PTR) { return TRUE; }),
        cursor_(Seams().GetCursorPos, [this](POINT& p) {
          p = cursor;
          return TRUE;
        }) {}

  void SetUp() override {
    form.reset(New<TVoxForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(200, 150, 300, 100);
    edit = New<TVoxEdit>(form.get());
    edit->SetBounds(10, 10, 150, 24);
    edit->SetHint(kShort + L"|" + kChinese);
    edit->SetShowHint(true);
    edit->SetParent(form.get());
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(2);
  }
  // One idle moment of the application that runs the forms' action updates
  // (a message waits, so that it does not wait for one).
  void IdleWithActions() {
    PostMessageW(form->GetHandle(), WM_NULL, 0, 0);
    MSG msg{};
    Application->Idle(msg);
    PumpApplication(1);
  }
  // The hint window of this thread that shows now, or null.
  static HWND ShownHintWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM data) {
          auto* hint = dynamic_cast<THintWindow*>(FindControl(w));
          if (hint && IsWindowVisible(w)) *reinterpret_cast<HWND*>(data) = w;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static int TextWidth(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Screen->GetHintFont()->GetHandle());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
  }

  // Six Cyrillic letters, far wider than their ANSI form "??????".
  const std::wstring kShort = L"\u0416\u0416\u0416\u0416\u0416\u0416";
  DWORD now = 100000;
  POINT cursor{0, 0};
  TFreshApplication app;
  TFreshVoxApplication vox;
  Owned<TVoxForm> form;
  TVoxEdit* edit = nullptr;

 private:
  TSeamOverride<decltype(Seams().TickCount)> tick_;
  TSeamOverride<decltype(Seams().SetTimer)> setTimer_;
  TSeamOverride<decltype(Seams().KillTimer)> killTimer_;
  TSeamOverride<decltype(Seams().GetCursorPos)> cursor_;
};

TEST_F(SerialVoxHintTest, TheWideHintUnderTheMouseIsTheApplicationsAndShowsWide) {
  cursor = edit->ClientToScreen(POINT{20, 12});
  PumpApplication(1);
  ASSERT_EQ(Application->GetMouseControl(), edit);
  IdleWithActions();
  EXPECT_EQ(VoxApplication->GetHint(), kChinese) << "the long part, wide";
  EXPECT_EQ(Application->GetHint(), "??");

  now += static_cast<DWORD>(Application->GetHintPause());
  PumpApplication(1);
  HWND shown = ShownHintWindow();
  ASSERT_NE(shown, nullptr);
  auto* window = dynamic_cast<TVoxHintWindow*>(FindControl(shown));
  ASSERT_NE(window, nullptr) << "the layer's hint window serves the wide hint";
  EXPECT_TRUE(IsWindowUnicode(shown));
  EXPECT_EQ(WideWindowText(shown), kShort);
  EXPECT_TRUE(GetClassLongPtrW(shown, GCL_STYLE) & CS_DROPSHADOW) << "XP and later draw its shadow";

  // Measured and drawn as the wide text, which the ANSI form is not.
  const int textWidth = TextWidth(kShort);
  ASSERT_GT(std::abs(textWidth - TextWidth(L"??????")), 10) << "the font must tell the two apart";
  EXPECT_NEAR(window->GetWidth(), textWidth + 6, 1);
  const COLORREF background = static_cast<COLORREF>(ColorToRGB(Application->GetHintColor()));
  controls_test::TDib dib(window->GetClientWidth(), window->GetClientHeight(), background);
  window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  int left = -1, right = -1;
  for (int x = 0; x < window->GetClientWidth(); ++x)
    for (int y = 0; y < window->GetClientHeight(); ++y)
      if (dib.Pixel(x, y) != background) {
        if (left < 0) left = x;
        right = x;
        break;
      }
  EXPECT_NEAR(left, 2, 2);
  EXPECT_NEAR(right, 2 + textWidth, 3);

  // A caption set outside a showing sizes the window to the wide text.
  window->SetCaption(kShort + kShort);
  EXPECT_NEAR(window->GetWidth(), TextWidth(kShort + kShort) + 6, 1);
}

// A wide form with a stored form of its own ("TVOXTESTFORM"), and one
// without.
class TVoxTestForm : public TVoxForm {
  DECLARE_CLASS(TVoxTestForm, TVoxForm)
  using TVoxForm::TVoxForm;
  TVoxEdit* Edit1 = nullptr;
};
PUBLISHED(TVoxTestForm) { p.Field("Edit1", &TVoxTestForm::Edit1); }

class TVoxBareForm : public TVoxForm {
  DECLARE_CLASS(TVoxBareForm, TVoxForm)
  using TVoxForm::TVoxForm;
};
IMPLEMENT_CLASS(TVoxBareForm)

class VoxFormTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (form) form->Free();
  }
  TVoxForm* form = New<TVoxForm>(nullptr);
};

TEST_F(VoxFormTest, TheFormsWindowIsWideAndKeepsItsCaptionOverANewWindow) {
  form->SetCaption(kChinese);
  form->HandleNeeded();
  HWND first = form->GetHandle();
  EXPECT_TRUE(IsWindowUnicode(first));
  EXPECT_EQ(WideWindowText(first), kChinese);
  EXPECT_EQ(form->TForm::GetCaption(), "??");

  form->SetBorderStyle(bsDialog);  // a new window
  form->HandleNeeded();
  EXPECT_NE(form->GetHandle(), first);
  EXPECT_EQ(form->GetCaption(), kChinese);
  EXPECT_EQ(WideWindowText(form->GetHandle()), kChinese);
}

TEST_F(VoxFormTest, TheLayeredStyleComesBackOnTheWideWindow) {
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(128);
  form->HandleNeeded();
  EXPECT_TRUE(IsWindowUnicode(form->GetHandle()));
  EXPECT_NE(GetWindowLongPtrW(form->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->GetHandle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
}

TEST_F(VoxFormTest, AnMdiChildNeedsAnMdiMainForm) {
  // A child shows at once, so the style itself asks for the window.
  EXPECT_EQ(MessageOf<EInvalidOperation>([&] {
              form->SetFormStyle(fsMDIChild);
              form->HandleNeeded();
            }),
            "Cannot create form. No MDI forms are currently active");
}

// A wide MDI main form with a wide child: the child is made by the client
// window (CreateMDIWindowW) under the wide class, and the main form's
// messages go to DefFrameProcW, which writes the maximised child's caption
// into the frame's own.
TEST(VoxMdiForm, AWideChildLivesInTheClientWindowOfAWideMainForm) {
  TFreshApplication app;
  TForm* created = nullptr;
  Application->CreateForm(TVoxForm::StaticClass(), created);
  auto* main = static_cast<TVoxForm*>(created);
  main->SetFormStyle(fsMDIForm);
  main->SetBounds(20, 20, 640, 480);
  main->SetCaption(L"Main");
  main->Show();
  PumpApplication(2);
  ASSERT_NE(main->GetClientHandle(), nullptr);
  EXPECT_TRUE(IsWindowUnicode(main->GetHandle()));

  auto* child = New<TVoxForm>(Application, 0);
  child->SetCaption(kChinese);
  child->SetBounds(0, 0, 200, 150);
  child->SetFormStyle(fsMDIChild);  // shows at once
  PumpApplication(2);
  ASSERT_TRUE(child->HandleAllocated());
  HWND h = child->GetHandle();
  EXPECT_TRUE(IsWindowUnicode(h));
  EXPECT_EQ(GetParent(h), main->GetClientHandle());
  EXPECT_EQ(WideWindowText(h), kChinese);
  EXPECT_TRUE(child->GetFormState().Contains(fsCreatedMDIChild));
  ASSERT_EQ(main->GetMDIChildCount(), 1);
  EXPECT_EQ(main->GetMDIChildren(0), child);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(main->GetClientHandle(), WM_MDIGETACTIVE, 0, 0)), h);

  SendMessageW(main->GetClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(h), 0);
  PumpApplication(2);
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_EQ(WideWindowText(main->GetHandle()), L"Main - [" + kChinese + L"]");

  child->Free();
  PumpApplication(2);
  EXPECT_EQ(main->GetMDIChildCount(), 0);
  EXPECT_EQ(WideWindowText(main->GetHandle()), L"Main");
}

// A class below the wide form reads its stored forms from the class below
// TVoxForm down; the wide form itself has none to read.
TEST(VoxFormStoredForms, AWideFormIsTheRootOfItsStoredForms) {
  Owned<TVoxForm> plain(New<TVoxForm>(nullptr));
  EXPECT_EQ(plain->GetCaption(), L"");

  Owned<TVoxTestForm> form(New<TVoxTestForm>(nullptr));
  ASSERT_NE(form->Edit1, nullptr);
  EXPECT_EQ(form->GetWidth(), 240);
  EXPECT_EQ(form->GetCaption(), kChinese);
  EXPECT_EQ(form->GetHint(), L"\u0416\u0416");
  EXPECT_EQ(form->Edit1->GetText(), kChinese);
  form->HandleNeeded();
  EXPECT_EQ(WideWindowText(form->GetHandle()), kChinese);
  EXPECT_FALSE(form->GetFormState().Contains(fsCreating));

  EXPECT_EQ(MessageOf<EResNotFound>([] { New<TVoxBareForm>(nullptr); }), "Resource TVoxBareForm not found");
}

TEST_F(VoxFormTest, TheAnsiRouteMakesTheClassLibrarysWindow) {
  TAnsiRoute ansi;
  form->HandleNeeded();
  EXPECT_FALSE(IsWindowUnicode(form->GetHandle()));
}

TEST_F(VoxFormTest, TheWideCaptionAndHintAreStored) {
  form->SetName("Wide");
  form->SetCaption(kChinese);
  form->SetHint(L"\u00E9t\u00E9");
  std::string text = WriteForm(form);
  Owned<TVoxForm> copy(New<TVoxForm>(nullptr, 0));
  ReadForm(text, copy.get());
  EXPECT_EQ(copy->GetCaption(), kChinese);
  EXPECT_EQ(copy->GetHint(), L"\u00E9t\u00E9");
}

TEST(VoxStartUp, TheLayersUnitsRunInTheSystemsOrder) {
  std::vector<std::string> names;
  for (const TUnitEntry& u : VoxUnits()) names.push_back(u.Name);
  auto at = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  ASSERT_LT(at("VoxForms"), static_cast<std::ptrdiff_t>(names.size()));
  EXPECT_LT(at("VoxSysUtils"), at("VoxControls"));
  EXPECT_LT(at("VoxClasses"), at("VoxControls"));
  EXPECT_LT(at("VoxControls"), at("VoxForms"));
  EXPECT_NE(VoxApplication.Get(), nullptr);
  // Every entry, in the system's order of the layer's units.
  const std::vector<std::string> system = {"VoxSystem",   "VoxSysUtils", "VoxWindows",  "VoxTypInfo", "VoxClasses",
                                           "VoxGraphics", "VoxControls", "VoxDialogs",  "VoxStdActns", "VoxForms",
                                           "VoxMenus",    "VoxActnList", "VoxStdCtrls"};
  std::vector<std::string> listed;
  for (const std::string& name : system)
    if (at(name.c_str()) < static_cast<std::ptrdiff_t>(names.size())) listed.push_back(name);
  EXPECT_EQ(names, listed);
}

// Where the platform is not of the NT family the start-up makes the
// application companion but no hook: wide characters come the ANSI way.
TEST(VoxStartUp, TheOldPlatformFamilyGetsNoHook) {
  FinalizeVoxForms();
  const int saved = Win32Platform;
  Win32Platform = VER_PLATFORM_WIN32_WINDOWS;
  InitializeVoxForms();
  Win32Platform = saved;
  EXPECT_NE(VoxApplication.Get(), nullptr);
  EXPECT_EQ(vox_forms::gGetMessageHook, nullptr);
  FinalizeVoxForms();
  InitializeVoxForms();  // as the start-up left it, for the tests after
  EXPECT_NE(vox_forms::gGetMessageHook, nullptr);
}

TEST(VoxStartUp, AFailingUnhookAtTheEndIsReportedAndTheRestStillGoes) {
  ASSERT_NE(vox_forms::gGetMessageHook, nullptr);
  // Someone else took the hook away: the unhook of the finalisation fails.
  ASSERT_TRUE(UnhookWindowsHookEx(vox_forms::gGetMessageHook));
  EXPECT_NO_THROW(FinalizeVoxForms());
  EXPECT_EQ(VoxApplication.Get(), nullptr) << "the companion still went";
  EXPECT_EQ(vox_forms::gGetMessageHook, nullptr);
  InitializeVoxForms();  // as the start-up left it, for the tests after
  EXPECT_NE(VoxApplication.Get(), nullptr);
  EXPECT_NE(vox_forms::gGetMessageHook, nullptr);
}

}  // namespace
