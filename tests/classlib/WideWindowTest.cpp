// A control whose window is a Unicode window, made as the Unicode layer makes
// its controls' windows: CreateWindowHandle overridden with CreateWindowExW,
// a wide class "<class>.UnicodeClass" whose first procedure is the control's
// own, and a default procedure that takes the class library's ANSI text
// messages to the wide window. Everything else runs through the class
// library's usual paths, which must not assume an ANSI window.
#include <algorithm>
#include <string>
#include <vector>

#include "ControlTestSupport.h"

#include "classlib/SysUtils.h"

using namespace controls_test;

namespace {

std::wstring Widen(const std::string& s) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// The window's own text, read without a message (GetWindowTextW would ask
// the control, and the class library answers in ANSI).
std::wstring WindowTextW(HWND window) {
  wchar_t text[256]{};
  return std::wstring(text, static_cast<size_t>(InternalGetWindowText(window, text, 256)));
}

std::vector<int> Bounds(TControl* c) { return {c->GetLeft(), c->GetTop(), c->GetWidth(), c->GetHeight()}; }

// The messages that reached the default procedure.
std::vector<UINT> gDefaulted;

// The control's DefWndProc. The class library calls it with CallWindowProcA,
// so text messages come with ANSI text; they reach the wide window wide. The
// window's own messages (CREATESTRUCTW and the like) pass unchanged.
LRESULT CALLBACK AnsiToWideDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  gDefaulted.push_back(msg);
  switch (msg) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      std::wstring wide = Widen(text ? text : "");
      return DefWindowProcW(window, msg, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Narrow(WindowTextW(window)).size());
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return 0;
      std::string text = Narrow(WindowTextW(window));
      size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
      char* buffer = reinterpret_cast<char*>(lParam);
      text.copy(buffer, n);
      buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

// The first procedure of the wide class: the window goes to the control the
// class library is creating, as its own initial procedure would give it, but
// with the wide calls, so the window stays Unicode.
LRESULT CALLBACK WideInitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = CreationControl;
  if (!control) return DefWindowProcW(window, msg, wParam, lParam);
  CreationControl = nullptr;
  control->SetWindowHandle(window);
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->GetObjectInstance()));
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0 && GetWindowLongPtrW(window, GWLP_ID) == 0)
    SetWindowLongPtrW(window, GWLP_ID, reinterpret_cast<LONG_PTR>(window));
  // The atoms found by name, as a library outside the Controls unit finds them.
  TControlAtomNames names = ControlAtomNames();
  SetPropA(window, MAKEINTATOM(GlobalFindAtomA(names.ControlAtom.c_str())), control);
  SetPropA(window, MAKEINTATOM(GlobalFindAtomA(names.WindowAtom.c_str())), control);
  return CallWindowProcW(control->GetObjectInstance(), window, msg, wParam, lParam);
}

class TWideControl : public TWinControl {
  DECLARE_CLASS(TWideControl, TWinControl)
 public:
  using TWinControl::TWinControl;

  std::vector<UINT> Heard;  // what came through WindowProc
  HWND Destroyed = nullptr;
  TWinControl* FoundAtNCDestroy = reinterpret_cast<TWinControl*>(1);

  void CreateWindowHandle(const TCreateParams& p) override {
    std::wstring name = Widen(p.WinClassName) + L".UnicodeClass";
    WNDCLASSW existing{};
    if (!GetClassInfoW(p.WindowClass.hInstance, name.c_str(), &existing)) {
      WNDCLASSW wc{};
      wc.style = p.WindowClass.style;
      wc.lpfnWndProc = &WideInitWndProc;
      wc.hInstance = p.WindowClass.hInstance;
      wc.hCursor = p.WindowClass.hCursor;
      wc.hbrBackground = p.WindowClass.hbrBackground;
      wc.lpszClassName = name.c_str();
      if (!RegisterClassW(&wc)) RaiseLastOSError();
    }
    // Before the window: its first messages end there too.
    SetDefWndProc(&AnsiToWideDefault);
    std::wstring caption = Widen(p.Caption);
    HWND h = CreateWindowExW(p.ExStyle, name.c_str(), caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                             p.WndParent, nullptr, p.WindowClass.hInstance, p.Param);
    if (!h) RaiseLastOSError();
    SetWindowHandle(h);
  }

  void WndProc(TMessage& m) override {
    Heard.push_back(m.Msg);
    HWND h = GetWindowHandle();
    inherited::WndProc(m);
    if (m.Msg == WM_NCDESTROY) {
      Destroyed = h;
      FoundAtNCDestroy = FindControl(h);  // the window still exists here
    }
  }
  bool HeardMessage(UINT msg) const { return std::find(Heard.begin(), Heard.end(), msg) != Heard.end(); }
};
IMPLEMENT_CLASS(TWideControl)

class WideWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    gDefaulted.clear();
    control = New<TWideControl>(nullptr);
    control->SetBounds(5, 6, 70, 20);
  }
  void TearDown() override {
    if (control) control->Free();
  }
  bool Defaulted(UINT msg) const { return std::find(gDefaulted.begin(), gDefaulted.end(), msg) != gDefaulted.end(); }

  THostWindow host;
  TWideControl* control = nullptr;
};

// "Grüße" and "Äpfel" in code page 1252, the tests' ANSI code page.
const char kGreeting[] = "Gr\xFC\xDF" "e";
const char kApples[] = "\xC4pfel";

TEST_F(WideWindowTest, TheWideWindowIsTheControlsOwn) {
  control->SetText(kGreeting);  // kept by the control until there is a window
  control->SetParentWindow(host.Handle());
  ASSERT_TRUE(control->HandleAllocated());
  HWND h = control->GetHandle();

  EXPECT_TRUE(IsWindowUnicode(h));
  wchar_t className[80]{};
  GetClassNameW(h, className, 80);
  EXPECT_EQ(std::wstring(className), L"TWideControl.UnicodeClass");
  EXPECT_EQ(FindControl(h), control);
  EXPECT_EQ(CreationControl, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_ID), reinterpret_cast<LONG_PTR>(h)) << "a child's id is its handle";
  EXPECT_EQ(control->GetDefWndProc(), &AnsiToWideDefault) << "the class library keeps the override's";
  EXPECT_TRUE(control->HeardMessage(WM_NCCREATE)) << "the window's first messages reach WindowProc";
  EXPECT_TRUE(Defaulted(WM_NCCREATE)) << "and go on to DefWndProc";

  EXPECT_EQ(WindowTextW(h), L"Gr\u00FC\u00DFe") << "the text kept before the window";
  EXPECT_EQ(control->GetText(), kGreeting);
  EXPECT_TRUE(control->StoredText().empty()) << "the window holds the text now";
  EXPECT_EQ(Bounds(control), (std::vector<int>{5, 6, 70, 20}));
}

TEST_F(WideWindowTest, MessagesRunThroughWindowProcAndEndInDefWndProc) {
  control->SetParentWindow(host.Handle());
  HWND h = control->GetHandle();
  control->Heard.clear();
  gDefaulted.clear();

  // From the window (the system's wide call) and through Perform alike.
  constexpr UINT kOwn = WM_APP + 17;
  EXPECT_EQ(SendMessageW(h, kOwn, 1, 2), 0);
  EXPECT_EQ(control->Heard, std::vector<UINT>{kOwn});
  EXPECT_EQ(gDefaulted, std::vector<UINT>{kOwn});
  control->Perform(kOwn + 1, 0, 0);
  EXPECT_TRUE(control->HeardMessage(kOwn + 1));
  EXPECT_TRUE(Defaulted(kOwn + 1));

  // A replaced WindowProc sees them first, as on any control.
  struct TSpy {
    TWndMethod Saved;
    std::vector<UINT> Seen;
    void Proc(TMessage& m) {
      Seen.push_back(m.Msg);
      Saved(m);
    }
  } spy;
  spy.Saved = control->GetWindowProc();
  control->SetWindowProc(TWndMethod(&spy, &TSpy::Proc));
  SendMessageW(h, kOwn, 0, 0);
  control->SetWindowProc(spy.Saved);
  EXPECT_EQ(spy.Seen, std::vector<UINT>{kOwn});

  // A move of the window from outside reaches the control's bounds.
  MoveWindow(h, 11, 12, 40, 30, TRUE);
  EXPECT_EQ(Bounds(control), (std::vector<int>{11, 12, 40, 30}));
}

TEST_F(WideWindowTest, TextGoesThroughTheClassLibrarysTextMessages) {
  control->SetParentWindow(host.Handle());
  HWND h = control->GetHandle();
  control->SetText(kApples);
  EXPECT_EQ(WindowTextW(h), L"\u00C4pfel");
  EXPECT_EQ(control->GetTextLen(), 5);
  EXPECT_EQ(control->GetText(), kApples);
  EXPECT_TRUE(control->HeardMessage(CM_TEXTCHANGED));
  control->SetText("");
  EXPECT_EQ(WindowTextW(h), L"");
  EXPECT_EQ(control->GetText(), "");
}

TEST_F(WideWindowTest, TheWindowGoesAndComesBackWithItsText) {
  control->SetParentWindow(host.Handle());
  control->SetText(kApples);
  HWND first = control->GetHandle();

  control->DestroyHandle();
  EXPECT_FALSE(control->HandleAllocated());
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(control->Destroyed, first);
  EXPECT_EQ(control->FoundAtNCDestroy, nullptr) << "the properties go at WM_NCDESTROY";
  EXPECT_EQ(control->GetText(), kApples) << "kept for the next window";

  control->HandleNeeded();
  HWND second = control->GetHandle();
  EXPECT_TRUE(IsWindowUnicode(second));
  EXPECT_EQ(FindControl(second), control);
  EXPECT_EQ(WindowTextW(second), L"\u00C4pfel");

  control->Free();
  control = nullptr;
  EXPECT_FALSE(IsWindow(second));
  // A later window of the class that no control creates is nobody's.
  HWND stray = CreateWindowExW(0, L"TWideControl.UnicodeClass", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               ControlsInstance(), nullptr);
  ASSERT_NE(stray, nullptr);
  EXPECT_EQ(FindControl(stray), nullptr);
  DestroyWindow(stray);
}

}  // namespace
