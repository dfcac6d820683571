#include "classlib/forms/HintWindow.h"

#include "classlib/SysUtils.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Screen.h"

THintWindowClass HintWindowClass = THintWindow::StaticClass();

std::string GetHint(TControl* control) {
  for (; control; control = control->GetParent())
    if (!control->GetHint().empty()) return control->GetHint();
  return std::string();
}

std::string GetShortHint(const std::string& hint) {
  size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
  size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(THintWindow)

namespace {
// The application window that owns the hint: the owning application's.
HWND OwnerWindow(TComponent* owner) {
  auto* app = dynamic_cast<TApplication*>(owner);
  if (!app) app = Application;
  return app ? app->GetHandle() : nullptr;
}
}  // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  // Hidden as a control: ActivateHint shows the window itself, without
  // activation, where it belongs. Owned by the application window, so that
  // it never has a taskbar button and goes with the application.
  TControl::SetVisible(false);
  SetParentWindow(OwnerWindow(owner));
  SetColor(0x80FFFF);
  if (Screen) GetCanvas()->SetFont(Screen->GetHintFont());
  GetCanvas()->GetBrush()->SetStyle(bsClear);
}

void THintWindow::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER;
  params.WindowClass.style |= CS_SAVEBITS;
  params.ExStyle = WS_EX_TOOLWINDOW;
  // The shadow came with Windows XP.
  if (Win32MajorVersion > 5 || (Win32MajorVersion == 5 && Win32MinorVersion >= 1))
    params.WindowClass.style |= CS_DROPSHADOW;
  if (UseRightToLeftReading()) params.ExStyle |= WS_EX_RTLREADING;
}

void THintWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case WM_NCPAINT: WMNCPaint(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void THintWindow::WMNCHitTest(TMessage& m) { m.Result = HTTRANSPARENT; }

void THintWindow::WMNCPaint(TMessage&) {
  HWND h = GetHandle();
  HDC dc = GetWindowDC(h);
  RECT r{0, 0, GetWidth(), GetHeight()};
  DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
  ReleaseDC(h, dc);
}

void THintWindow::CMTextChanged(TMessage& m) {
  DefaultHandler(m);
  // ActivateHint sizes the window itself.
  if (activating_) return;
  std::string caption = GetCaption();
  SetWidth(GetCanvas()->TextWidth(caption) + 6);
  SetHeight(GetCanvas()->TextHeight(caption) + 4);
}

void THintWindow::Paint() {
  TRect r = GetClientRect();
  r.left += 2;
  r.top += 2;
  if (Screen) GetCanvas()->GetFont()->SetColor(Screen->GetHintFont()->GetColor());
  std::string caption = GetCaption();
  DrawTextA(GetCanvas()->GetHandle(), caption.c_str(), -1, &r,
            DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DrawTextBiDiModeFlagsReadingOnly());
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*) {
  TRect r = Rect(0, 0, maxWidth, 0);
  DrawTextA(GetCanvas()->GetHandle(), hint.c_str(), -1, &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
  r.right += 6;
  r.bottom += 2;
  return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint) {
  activating_ = true;
  try {
    SetCaption(hint);
    rect.bottom += 4;
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    TRect desk = Screen ? Screen->GetDesktopRect() : Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (rect.top + h > desk.bottom) rect.top = desk.bottom - h;
    if (rect.left + w > desk.right) rect.left = desk.right - w;
    if (rect.left < desk.left) rect.left = desk.left;
    if (rect.top < desk.top) rect.top = desk.top;
    SetBounds(rect.left, rect.top, w, h);
    SetWindowPos(GetHandle(), HWND_TOPMOST, rect.left, rect.top, w, h, SWP_NOACTIVATE);
    ShowWindow(GetHandle(), SW_SHOWNOACTIVATE);
    Invalidate();
  } catch (...) {
    activating_ = false;
    throw;
  }
  activating_ = false;
}

void THintWindow::ActivateHintData(TRect rect, const std::string& hint, void*) { ActivateHint(rect, hint); }

void THintWindow::ReleaseHandle() { DestroyHandle(); }

bool THintWindow::IsHintMsg(const MSG& msg) {
  UINT m = msg.message;
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == CM_ACTIVATE || m == CM_DEACTIVATE || m == CM_APPKEYDOWN ||
         m == CM_APPSYSCOMMAND || m == WM_COMMAND || (m > WM_MOUSEMOVE && m <= WM_MOUSELAST) ||
         m == WM_NCMOUSEMOVE;
}
