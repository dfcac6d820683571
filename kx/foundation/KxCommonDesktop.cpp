// Windows version, desktop, monitors and centring, and the dialog component,
// of unit KxCommon.
#include "classlib/Buttons.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxCommon.h"

// ---------------------------------------------------------------------------
// Windows version, desktop, monitors and centring

bool RunningUnder(TKxWindowsVersion version) {
  bool nt = Win32Platform == VER_PLATFORM_WIN32_NT, w9x = Win32Platform == VER_PLATFORM_WIN32_WINDOWS;
  int major = Win32MajorVersion, minor = Win32MinorVersion;
  switch (version) {
    case Win95: return w9x && major <= 4 && minor == 0;
    case WinNT: return nt && major <= 4;
    case Win98: return w9x && major <= 4 && minor == 10;
    case WinMe: return w9x && major <= 4 && minor == 90;
    case Win2000: return nt && major == 5 && minor == 0;
    case WinXP: return nt && major == 5 && minor == 1;
    case WinServer2003: return nt && major == 5 && minor == 2;
  }
  return false;
}

TRect GetDesktopClientRect() {
  TRect desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  HWND tray = FindWindowA("Shell_TrayWnd", "");
  if (!tray) return desktop;
  TRect bar{};
  GetWindowRect(tray, &bar);
  IntersectRect(&bar, &bar, &desktop);
  int bw = bar.right - bar.left, bh = bar.bottom - bar.top;
  if (bar.left == desktop.left && bar.top == desktop.top) {
    if (bar.right == desktop.right) desktop.top += bh;  // along the top
    else desktop.left += bw;                            // down the left
  } else if (bar.left == desktop.left) {
    desktop.bottom -= bh;  // along the bottom
  } else {
    desktop.right -= bw;  // down the right
  }
  return desktop;
}

TRect GetActiveWorkArea(TWinControl* control) {
  HMONITOR monitor = MonitorFromWindow(control ? control->GetHandle() : nullptr, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return info.rcWork;
}

int GetActiveWorkAreaWidth(TWinControl* control) {
  TRect r = GetActiveWorkArea(control);
  return r.right - r.left;
}

int GetActiveWorkAreaHeight(TWinControl* control) {
  TRect r = GetActiveWorkArea(control);
  return r.bottom - r.top;
}

TRect GetMonitorWorkArea(TMonitor* monitor) { return monitor->GetWorkareaRect(); }
TRect GetMonitorBoundsRect(TMonitor* monitor) { return monitor->GetBoundsRect(); }

namespace {

// Centres control over the screen rectangle r, kept on the limit rectangle's
// right and bottom edges and off negative coordinates.
void CenterOver(TControl* control, const TRect& r, const TRect& limit, int& left, int& top) {
  int w = control->GetWidth(), h = control->GetHeight();
  left = r.left + (r.right - r.left - w) / 2;
  if (left < 0) left = 0;
  if (left + w > limit.right) left = limit.right - w;
  top = r.top + (r.bottom - r.top - h) / 2;
  if (top < 0) top = 0;
  if (top + h > limit.bottom) top = limit.bottom - h;
}

}  // namespace

void CenterToWindow(TControl* control, TWinControl* window, int& left, int& top) {
  TRect r = window->GetBoundsRect();
  if (TWinControl* parent = window->GetParent()) {
    POINT origin = parent->ClientToScreen(POINT{0, 0});
    OffsetRect(&r, origin.x, origin.y);
  }
  CenterOver(control, r, GetActiveWorkArea(window), left, top);
}

void CenterToForm(TControl* control, TCustomForm* form, int& left, int& top) {
  CenterOver(control, form->GetBoundsRect(), GetActiveWorkArea(form), left, top);
}

void CenterToMDIChild(TControl* control, TCustomForm* form, int& left, int& top) {
  TRect r = form->GetBoundsRect();
  HWND client = nullptr;
  if (Application && Application->GetMainForm()) client = Application->GetMainForm()->GetClientHandle();
  MapWindowPoints(client, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  CenterOver(control, r, GetDesktopClientRect(), left, top);
}

// ---------------------------------------------------------------------------
// TKxDialogComponent

PUBLISHED(TKxDialogComponent) {
  p.Prop("CenterToParent", &TKxDialogComponent::GetCenterToParent, &TKxDialogComponent::SetCenterToParent)
      .Default(false);
  p.Prop("OriginLeft", &TKxDialogComponent::GetOriginLeft, &TKxDialogComponent::SetOriginLeft).Default(100);
  p.Prop("Position", &TKxDialogComponent::GetPosition, &TKxDialogComponent::SetPosition).Default(poScreenCenter);
  p.Prop("OriginTop", &TKxDialogComponent::GetOriginTop, &TKxDialogComponent::SetOriginTop).Default(100);
}

TKxDialogComponent::TKxDialogComponent(TComponent* owner) : TComponent(owner), font_(New<TFont>()) {
  if (auto* form = dynamic_cast<TForm*>(owner)) {
    font_->Assign(form->GetFont());
  } else {
    font_->SetName("MS Sans Serif");
    font_->SetSize(8);
    font_->SetStyle({});
  }
  captionOK_ = BitBtnCaption(bkOK);
  captionCancel_ = BitBtnCaption(bkCancel);
  captionHelp_ = BitBtnCaption(bkHelp);
}

void TKxDialogComponent::Destroy() {
  FreeAndNil(font_);
  inherited::Destroy();
}

void TKxDialogComponent::SetFont(TFont* value) { font_->Assign(value); }

void TKxDialogComponent::SetCenterToParent(bool value) {
  if (value == centerToParent_) return;
  centerToParent_ = value;
  position_ = value ? poOwnerFormCenter : poScreenCenter;
}

void TKxDialogComponent::CenterForm(TCustomForm* form) { form->SetPosition(position_); }
