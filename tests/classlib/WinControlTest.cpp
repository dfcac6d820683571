// The window side of TWinControl: creation, dispatch, reflection, re-creation,
// freeing inside a handler and exceptions in window procedures.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ControlTestSupport.h"

#include "classlib/Seams.h"
#include "classlib/SysUtils.h"

using namespace controls_test;

namespace controls_test {
IMPLEMENT_CLASS(TProbeControl)
}  // namespace controls_test

namespace {

// Records, on the first message its window sends, what InitWndProc had
// already done by then.
struct TFirstMessage {
  UINT Msg = 0;
  HWND Handle = nullptr;
  TWinControl* FoundControl = nullptr;
  void* WindowProp = nullptr;
  TWinControl* CreationControlThen = reinterpret_cast<TWinControl*>(1);
  // The window's property names, in the order the system lists them.
  std::vector<std::string> Props;
};

BOOL CALLBACK CollectProp(HWND, LPSTR name, HANDLE, ULONG_PTR data) {
  // Integer atoms come as numbers below 0x10000, named ones as text.
  if (reinterpret_cast<uintptr_t>(name) >= 0x10000)
    reinterpret_cast<std::vector<std::string>*>(data)->push_back(name);
  return TRUE;
}

// The class library's two properties of the window, as the system lists them
// (the system may keep others of its own on the window).
std::vector<std::string> WindowProps(HWND window) {
  std::vector<std::string> all, ours;
  EnumPropsExA(window, CollectProp, reinterpret_cast<LPARAM>(&all));
  TControlAtomNames names = ControlAtomNames();
  for (const std::string& p : all)
    if (p == names.ControlAtom || p == names.WindowAtom) ours.push_back(p);
  return ours;
}

// Wine lists a window's properties in the order they were set; Windows lists
// the newest first.
bool PropsListedOldestFirst() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

class TFirstMessageControl : public TWinControl {
  DECLARE_CLASS(TFirstMessageControl, TWinControl)
  explicit TFirstMessageControl(TComponent* owner) : TWinControl(owner) {}
  bool TopLevel = false;
  TFirstMessage First;
  int Count = 0;

  void CreateParams(TCreateParams& p) override {
    inherited::CreateParams(p);
    if (TopLevel) {
      p.Style = WS_OVERLAPPEDWINDOW;
      p.WndParent = nullptr;
    }
  }
  void WndProc(TMessage& m) override {
    if (Count++ == 0) {
      First.Msg = m.Msg;
      First.Handle = GetWindowHandle();
      First.FoundControl = FindControl(GetWindowHandle());
      First.WindowProp = GetPropA(GetWindowHandle(), MAKEINTATOM(WindowAtom()));
      First.CreationControlThen = CreationControl;
      First.Props = WindowProps(GetWindowHandle());
    }
    inherited::WndProc(m);
  }
};
IMPLEMENT_CLASS(TFirstMessageControl)

class WinControlTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureControlsUnit(); }
  THostWindow host;
};

TEST_F(WinControlTest, FirstMessageFindsTheWindowAlreadyBoundToItsControl) {
  struct Case {
    bool topLevel;
    UINT firstMsg;  // top-level windows hear WM_GETMINMAXINFO before WM_NCCREATE
  };
  for (Case c : {Case{false, WM_NCCREATE}, Case{true, WM_GETMINMAXINFO}}) {
    SCOPED_TRACE(c.topLevel ? "top-level" : "child");
    auto* control = New<TFirstMessageControl>(nullptr);
    control->TopLevel = c.topLevel;
    if (!c.topLevel) control->SetParentWindow(host.Handle());
    HWND h = control->GetHandle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(control->First.Msg, c.firstMsg);
    EXPECT_EQ(control->First.Handle, h);
    EXPECT_EQ(control->First.FoundControl, control);
    EXPECT_EQ(control->First.WindowProp, control);
    EXPECT_EQ(control->First.CreationControlThen, nullptr);
    // The control atom was set first, then the window atom.
    TControlAtomNames names = ControlAtomNames();
    std::vector<std::string> order{names.ControlAtom, names.WindowAtom};
    if (!PropsListedOldestFirst()) std::swap(order[0], order[1]);
    EXPECT_EQ(control->First.Props, order);
    EXPECT_EQ(WindowProps(h), order);  // CreateHandle's second setting keeps the order
    EXPECT_EQ(FindControl(h), control);
    // Windows calls the control's own thunk from now on.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)), control->GetObjectInstance());
    if (!c.topLevel) {
      EXPECT_EQ(GetWindowLongPtrA(h, GWLP_ID), reinterpret_cast<LONG_PTR>(h));
      EXPECT_EQ(GetParent(h), host.Handle());
    }
    control->Free();
    EXPECT_FALSE(IsWindow(h));
  }
}

TEST_F(WinControlTest, AtomsCarryTheProcessAndModuleNames) {
  TControlAtomNames names = ControlAtomNames();
  char pid[16];
  snprintf(pid, sizeof pid, "%.8lX", static_cast<unsigned long>(GetCurrentProcessId()));
  EXPECT_EQ(names.WindowAtom, std::string("ClassLib") + pid);
  EXPECT_EQ(names.ControlAtom.rfind("ControlOfs", 0), 0u);
  EXPECT_EQ(GlobalFindAtomA(names.WindowAtom.c_str()), WindowAtom());
  EXPECT_EQ(GlobalFindAtomA(names.ControlAtom.c_str()), ControlAtom());
  EXPECT_EQ(FindControl(host.Handle()), nullptr);
  EXPECT_EQ(FindControl(nullptr), nullptr);
}

TEST_F(WinControlTest, PerformAndWindowMessagesGoThroughAReplacedWindowProc) {
  auto* control = New<TProbeControl>(nullptr);
  control->SetParentWindow(host.Handle());
  struct TSpy {
    TWndMethod Old;
    std::vector<UINT> Seen;
    void Proc(TMessage& m) {
      Seen.push_back(m.Msg);
      if (m.Msg == WM_USER + 1) {
        m.Result = 42;
        return;
      }
      Old(m);
    }
  } spy;
  spy.Old = control->GetWindowProc();
  EXPECT_EQ(spy.Old, TWndMethod(static_cast<TControl*>(control), &TControl::WndProc));
  control->SetWindowProc(TWndMethod(&spy, &TSpy::Proc));

  EXPECT_EQ(control->Perform(WM_USER + 1), 42);
  EXPECT_EQ(SendMessageA(control->GetHandle(), WM_USER + 1, 0, 0), 42);
  control->Perform(WM_USER + 2);
  EXPECT_EQ(std::count(spy.Seen.begin(), spy.Seen.end(), WM_USER + 1), 2);
  EXPECT_TRUE(control->SawMessage(WM_USER + 2));   // the old procedure went on
  EXPECT_FALSE(control->SawMessage(WM_USER + 1));  // the spy kept this one
  control->SetWindowProc(spy.Old);
  control->Free();
}

namespace {
std::vector<UINT>* gDefProcLog = nullptr;
LRESULT CALLBACK LoggingDefProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (gDefProcLog) gDefProcLog->push_back(msg);
  if (msg == WM_USER + 7) return 77;
  return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

TEST_F(WinControlTest, DefaultHandlerCallsAReplacedDefWndProc) {
  auto* control = New<TProbeControl>(nullptr);
  control->SetParentWindow(host.Handle());
  HWND h = control->GetHandle();
  std::vector<UINT> log;
  gDefProcLog = &log;
  WNDPROC old = control->GetDefWndProc();
  EXPECT_EQ(old, &DefWindowProcA);
  control->SetDefWndProc(&LoggingDefProc);
  EXPECT_EQ(SendMessageA(h, WM_USER + 7, 0, 0), 77);
  EXPECT_EQ(control->Perform(WM_USER + 7), 77);
  EXPECT_EQ(std::count(log.begin(), log.end(), WM_USER + 7), 2);
  control->SetDefWndProc(old);
  gDefProcLog = nullptr;
  control->Free();
}

TEST_F(WinControlTest, TextGoesThroughTheWindowAndIsKeptWithoutOne) {
  auto* control = New<TProbeControl>(nullptr);
  int changed = 0;
  control->OnMessage = [&](TProbeControl*, TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) ++changed;
    return false;
  };
  control->SetText("before");  // no window yet: stored text
  EXPECT_EQ(control->GetText(), "before");
  EXPECT_EQ(control->StoredText(), "before");
  control->SetParentWindow(host.Handle());
  HWND h = control->GetHandle();
  char buf[32] = {};
  GetWindowTextA(h, buf, sizeof buf);
  EXPECT_STREQ(buf, "before");
  EXPECT_TRUE(control->StoredText().empty());
  control->SetText("after");
  GetWindowTextA(h, buf, sizeof buf);
  EXPECT_STREQ(buf, "after");
  control->SetText("after");  // same text: no second change
  EXPECT_EQ(changed, 2);
  control->Free();
}

TEST_F(WinControlTest, RecreateWndKeepsTextBoundsVisibilityAndChildren) {
  auto* parent = New<TProbeControl>(nullptr);
  parent->SetControlStyle(parent->GetControlStyle() + TControlStyle{csAcceptsControls});
  parent->SetBounds(10, 20, 200, 150);
  parent->SetParentWindow(host.Handle());
  auto* child = New<TProbeControl>(parent);
  child->SetParent(parent);
  child->SetBounds(5, 6, 50, 40);
  child->SetText("child text");
  auto* hidden = New<TProbeControl>(parent);
  hidden->SetVisible(false);
  hidden->SetParent(parent);
  parent->SetText("parent text");
  HWND oldParent = parent->GetHandle();
  HWND oldChild = child->GetHandle();
  ASSERT_TRUE(HasVisibleStyle(oldChild));

  parent->RecreateWnd();

  HWND newParent = parent->GetWindowHandle();
  ASSERT_NE(newParent, nullptr);
  EXPECT_NE(newParent, oldParent);
  EXPECT_FALSE(IsWindow(oldParent));
  EXPECT_FALSE(IsWindow(oldChild));
  EXPECT_EQ(parent->GetText(), "parent text");
  RECT r;
  GetWindowRect(newParent, &r);
  MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 150);
  HWND newChild = child->GetWindowHandle();
  ASSERT_NE(newChild, nullptr);
  EXPECT_EQ(GetParent(newChild), newParent);
  EXPECT_TRUE(HasVisibleStyle(newChild));
  EXPECT_EQ(child->GetText(), "child text");
  EXPECT_EQ(child->GetLeft(), 5);
  EXPECT_EQ(child->GetWidth(), 50);
  EXPECT_EQ(FindControl(newChild), child);
  // A hidden child gets no window until it shows.
  EXPECT_EQ(hidden->GetWindowHandle(), nullptr);
  parent->Free();
}

TEST_F(WinControlTest, ANewWindowTakesTheTextTheWindowProcGives) {
  auto* control = New<TProbeControl>(nullptr);
  control->SetParentWindow(host.Handle());
  control->SetText("window text");
  HWND old = control->GetHandle();
  // A replaced procedure answers the text (as the Unicode layer answers
  // with its own): the text kept for the next window is the answer.
  const std::string answer = "answered";
  control->OnMessage = [&](TProbeControl*, TMessage& m) {
    if (m.Msg == WM_GETTEXTLENGTH) {
      m.Result = static_cast<LRESULT>(answer.size());
      return true;
    }
    if (m.Msg != WM_GETTEXT || m.WParam == 0) return false;
    size_t n = std::min(answer.size(), static_cast<size_t>(m.WParam) - 1);
    std::memcpy(reinterpret_cast<char*>(m.LParam), answer.data(), n);
    reinterpret_cast<char*>(m.LParam)[n] = '\0';
    m.Result = static_cast<LRESULT>(n);
    return true;
  };
  control->RecreateWnd();
  HWND h = control->GetWindowHandle();
  ASSERT_NE(h, old);
  wchar_t own[32] = {};
  InternalGetWindowText(h, own, 32);  // the window's own text, no message
  EXPECT_STREQ(own, L"answered");
  control->Free();
}

TEST_F(WinControlTest, AControlCannotBeTheParentOfItselfOrOfItsParents) {
  auto* outer = MakeContainer(host.Handle(), 100, 100);
  auto* inner = New<TProbeControl>(outer);
  inner->SetControlStyle(inner->GetControlStyle() + TControlStyle{csAcceptsControls});
  inner->SetParent(outer);
  auto* innermost = New<TProbeControl>(outer);
  innermost->SetControlStyle(innermost->GetControlStyle() + TControlStyle{csAcceptsControls});
  innermost->SetParent(inner);
  const struct {
    const char* name;
    TWinControl* parent;
  } cases[] = {{"itself", outer}, {"its child", inner}, {"its grandchild", innermost}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(outer->SetParent(c.parent), EInvalidOperation);
  }
  EXPECT_THROW(inner->SetParent(innermost), EInvalidOperation);
  EXPECT_EQ(outer->GetParent(), nullptr);
  EXPECT_EQ(inner->GetParent(), outer);
  EXPECT_EQ(innermost->GetParent(), inner);
  outer->Free();
}

TEST_F(WinControlTest, AControlMayFreeItselfInsideItsOwnHandler) {
  bool destroyed = false;
  struct TWatcher : TComponent {
    explicit TWatcher(bool* flag) : TComponent(nullptr), flag_(flag) {}
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove) *flag_ = true;
    }
    bool* flag_;
  };
  auto* watcher = New<TWatcher>(&destroyed);
  auto* control = New<TProbeControl>(nullptr);
  control->SetParentWindow(host.Handle());
  control->FreeNotification(watcher);
  HWND h = control->GetHandle();
  control->OnMessage = [](TProbeControl* self, TMessage& m) {
    if (m.Msg != WM_USER + 9) return false;
    self->Free();
    m.Result = 9;
    return true;
  };
  EXPECT_EQ(SendMessageA(h, WM_USER + 9, 0, 0), 9);
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(h));
  // The freed thunk is reused by the next control and works there.
  auto* next = New<TProbeControl>(nullptr);
  next->SetParentWindow(host.Handle());
  EXPECT_EQ(FindControl(next->GetHandle()), next);
  next->Free();
  watcher->Free();
}

TEST_F(WinControlTest, AThrowingHandlerIsReportedOnceAndTheCallerGoesOn) {
  auto* control = New<TProbeControl>(nullptr);
  control->SetParentWindow(host.Handle());
  control->OnMessage = [](TProbeControl*, TMessage& m) {
    if (m.Msg != WM_USER + 3) return false;
    throw EInvalidOperation("boom");
  };
  HWND h = control->GetHandle();
  {
    int reports = 0;
    std::string message;
    TObject* sender = nullptr;
    auto saved = ControlsHooks().HandleException;
    ControlsHooks().HandleException = [&](TObject* s) {
      ++reports;
      sender = s;
      try {
        throw;
      } catch (const Exception& e) {
        message = e.GetMessage();
      }
    };
    EXPECT_NO_THROW(SendMessageA(h, WM_USER + 3, 0, 0));
    ControlsHooks().HandleException = saved;
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(message, "boom");
    EXPECT_EQ(sender, control);
  }
  {
    // Without an application: a message box through the seam.
    auto saved = ControlsHooks().HandleException;
    ControlsHooks().HandleException = nullptr;
    int boxes = 0;
    std::string text;
    TSeamOverride<decltype(Seams().MessageBox)> box(
        Seams().MessageBox, [&](HWND, const std::string& t, const std::string&, UINT) {
          ++boxes;
          text = t;
          return IDOK;
        });
    MSG msg;
    PostMessageA(h, WM_USER + 3, 0, 0);
    while (PeekMessageA(&msg, h, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ControlsHooks().HandleException = saved;
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, "boom");
  }
  EXPECT_TRUE(IsWindow(h));
  control->Free();
}

}  // namespace

namespace {

// A window that cannot be made raises the OS error as every OS failure
// does: "System Error.  Code: N." and the system's text, with the code.
TEST_F(WinControlTest, AWindowThatCannotBeMadeRaisesTheOSError) {
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  auto* control = New<TProbeControl>(nullptr);
  DWORD code = 0;
  std::string message;
  try {
    control->SetParentWindow(gone);  // a visible control makes its window at once
  } catch (const EOSError& e) {
    code = e.GetErrorCode();
    message = e.GetMessage();
  }
  EXPECT_EQ(code, DWORD{ERROR_INVALID_WINDOW_HANDLE});
  EXPECT_EQ(message, "System Error.  Code: 1400.\r\n" + SysErrorMessage(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(control->HandleAllocated());
  control->Free();
}

}  // namespace
