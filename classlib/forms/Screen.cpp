#include "classlib/forms/Screen.h"

#include <algorithm>

#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/forms/HintWindow.h"

DEFINE_ENUM_TYPE(TMonitorDefaultTo, "mdNearest", "mdNull", "mdPrimary")

TUnitGlobal<TScreen> Screen("Screen");

// ---------------------------------------------------------------------------
// TMonitor

IMPLEMENT_CLASS(TMonitor)

namespace {
MONITORINFO MonitorInfo(HMONITOR h) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(h, &info);
  return info;
}
}  // namespace

TRect TMonitor::GetBoundsRect() const { return MonitorInfo(handle_).rcMonitor; }
TRect TMonitor::GetWorkareaRect() const { return MonitorInfo(handle_).rcWork; }
int TMonitor::GetWidth() const {
  TRect r = GetBoundsRect();
  return r.right - r.left;
}
int TMonitor::GetHeight() const {
  TRect r = GetBoundsRect();
  return r.bottom - r.top;
}
bool TMonitor::GetPrimary() const { return (MonitorInfo(handle_).dwFlags & MONITORINFOF_PRIMARY) != 0; }

// ---------------------------------------------------------------------------
// TScreen

IMPLEMENT_CLASS(TScreen)

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
  LoadCursors();
  HDC dc = GetDC(nullptr);
  pixelsPerInch_ = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  hintFont_ = New<TFont>();
  iconFont_ = New<TFont>();
  menuFont_ = New<TFont>();
  GetMetricSettings();
}

void TScreen::Destroy() {
  inherited::Destroy();
  FreeAndNil(fonts_);
  FreeAndNil(hintFont_);
  FreeAndNil(iconFont_);
  FreeAndNil(menuFont_);
  for (TMonitor* m : monitors_) m->Free();
  monitors_.clear();
  DestroyCursors();
}

void TScreen::GetMetricSettings() {
  LOGFONTA iconLog{};
  if (SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconLog, &iconLog, 0))
    iconFont_->SetHandle(CreateFontIndirectA(&iconLog));
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    hintFont_->SetHandle(CreateFontIndirectA(&ncm.lfStatusFont));
    menuFont_->SetHandle(CreateFontIndirectA(&ncm.lfMenuFont));
  } else {
    hintFont_->SetSize(8);
  }
  hintFont_->SetColor(clInfoText);
  menuFont_->SetColor(clMenuText);
}

// --- forms ---------------------------------------------------------------------

TForm* TScreen::GetActiveForm() const { return dynamic_cast<TForm*>(activeCustomForm_); }

int TScreen::GetFormCount() const {
  return static_cast<int>(std::count_if(customForms_.begin(), customForms_.end(),
                                        [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::GetForms(int index) const {
  // The TForm descendants among the custom forms, in the same (most recently
  // active first) order.
  int i = 0;
  for (TCustomForm* f : customForms_)
    if (auto* form = dynamic_cast<TForm*>(f)) {
      if (i == index) return form;
      ++i;
    }
  TList::Error(SListIndexError, index);
}

void TScreen::AddForm(TCustomForm* form) {
  customForms_.push_back(form);
  if (Application) Application->UpdateVisible();
}

void TScreen::RemoveForm(TCustomForm* form) {
  customForms_.erase(std::remove(customForms_.begin(), customForms_.end(), form), customForms_.end());
  saveFocusedList_.erase(std::remove(saveFocusedList_.begin(), saveFocusedList_.end(), form),
                         saveFocusedList_.end());
  if (Application) {
    Application->UpdateVisible();
    if (customForms_.empty()) Application->ReleaseHintWindow();
  }
}

void TScreen::UpdateLastActive() {
  if (lastActiveCustomForm_ != activeCustomForm_) {
    lastActiveCustomForm_ = activeCustomForm_;
    if (OnActiveFormChange) OnActiveFormChange(this);
  }
  if (lastActiveControl_ != activeControl_) {
    lastActiveControl_ = activeControl_;
    if (OnActiveControlChange) OnActiveControlChange(this);
  }
}

// --- cursors ---------------------------------------------------------------------

namespace {
// The stock cursors by their system ids. The platform drew six of its own
// (drag, no-drop, splitters, multi-drag, SQL wait); the nearest system
// cursor stands in for each.
struct TStockCursor {
  TCursor cursor;
  int id;
};
constexpr TStockCursor kStockCursors[] = {
    {crArrow, 32512},    {crCross, 32515},     {crIBeam, 32513},      {-5, 32646},
    {crSizeNESW, 32643}, {crSizeNS, 32645},    {crSizeNWSE, 32642},   {crSizeWE, 32644},
    {crUpArrow, 32516},  {crHourGlass, 32514}, {crDrag, 32512},       {crNoDrop, 32648},
    {crHSplit, 32644},   {crVSplit, 32645},    {crMultiDrag, 32512},  {crSQLWait, 32514},
    {crNo, 32648},       {crAppStart, 32650},  {crHelp, 32651},       {crHandPoint, 32649},
    {crSizeAll, 32646},
};
}  // namespace

void TScreen::LoadCursors() {
  defaultCursor_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  for (const TStockCursor& s : kStockCursors) {
    cursors_[s.cursor] = LoadCursorA(nullptr, MAKEINTRESOURCEA(s.id));
    sharedCursors_[s.cursor] = true;
  }
}

void TScreen::DestroyCursors() {
  for (auto& [index, handle] : cursors_)
    if (!sharedCursors_[index] && handle) DestroyCursor(handle);
  cursors_.clear();
  sharedCursors_.clear();
}

HCURSOR TScreen::GetCursors(int index) const {
  if (index == crNone) return nullptr;
  if (index == crDefault) return defaultCursor_;
  auto it = cursors_.find(index);
  return it == cursors_.end() ? defaultCursor_ : it->second;
}

void TScreen::SetCursors(int index, HCURSOR handle) {
  if (index == crDefault) {
    defaultCursor_ = handle ? handle : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    return;
  }
  if (index == crNone) return;
  auto it = cursors_.find(index);
  if (it != cursors_.end()) {
    if (it->second == handle) return;
    if (!sharedCursors_[index] && it->second) DestroyCursor(it->second);
    cursors_.erase(it);
  }
  sharedCursors_.erase(index);
  if (handle) cursors_[index] = handle;
}

void TScreen::SetCursor(TCursor v) {
  if (v != cursor_) {
    cursor_ = v;
    if (v == crDefault) {
      // Let the window under the mouse choose its cursor again.
      POINT p = Mouse().GetCursorPos();
      HWND h = WindowFromPoint(p);
      if (h && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) {
        LRESULT code = SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        SendMessageA(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(code, WM_MOUSEMOVE));
      }
    } else {
      ::SetCursor(GetCursors(v));
    }
  }
  ++cursorCount_;
}

// --- fonts -----------------------------------------------------------------------

namespace {
int CALLBACK EnumFontFamilyProc(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
  auto* list = reinterpret_cast<TStrings*>(data);
  list->Add(lf->lfFaceName);
  return 1;
}
}  // namespace

TStrings* TScreen::GetFonts() {
  if (!fonts_) {
    fonts_ = New<TStringList>();
    fonts_->SetDuplicates(dupIgnore);
    fonts_->SetSorted(true);
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &lf, EnumFontFamilyProc, reinterpret_cast<LPARAM>(static_cast<TStrings*>(fonts_)), 0);
    ReleaseDC(nullptr, dc);
  }
  return fonts_;
}

// --- metrics and monitors -------------------------------------------------------------

TRect TScreen::GetDesktopRect() const {
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Bounds(left, top, GetDesktopWidth(), GetDesktopHeight());
}

TRect TScreen::GetWorkAreaRect() const {
  RECT r{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) r = Rect(0, 0, GetWidth(), GetHeight());
  return r;
}

namespace {
BOOL CALLBACK EnumMonitorsProc(HMONITOR h, HDC, LPRECT, LPARAM data) {
  reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(h);
  return TRUE;
}
}  // namespace

void TScreen::GetMonitorList() {
  std::vector<HMONITOR> handles;
  EnumDisplayMonitors(nullptr, nullptr, EnumMonitorsProc, reinterpret_cast<LPARAM>(&handles));
  for (TMonitor* m : monitors_) m->Free();
  monitors_.clear();
  for (size_t i = 0; i < handles.size(); ++i) monitors_.push_back(New<TMonitor>(handles[i], static_cast<int>(i)));
}

int TScreen::GetMonitorCount() {
  if (monitors_.empty()) GetMonitorList();
  return static_cast<int>(monitors_.size());
}

TMonitor* TScreen::GetMonitors(int index) {
  if (monitors_.empty()) GetMonitorList();
  if (index < 0 || index >= static_cast<int>(monitors_.size()))
    TList::Error(SListIndexError, index);
  return monitors_[static_cast<size_t>(index)];
}

TMonitor* TScreen::FindMonitor(HMONITOR handle) {
  if (!handle) return nullptr;
  for (int pass = 0; pass < 2; ++pass) {
    for (TMonitor* m : monitors_)
      if (m->GetHandle() == handle) return m;
    // A monitor attached since the list was made.
    GetMonitorList();
  }
  return nullptr;
}

namespace {
DWORD MonitorFlag(TMonitorDefaultTo d) {
  switch (d) {
    case mdNull: return MONITOR_DEFAULTTONULL;
    case mdPrimary: return MONITOR_DEFAULTTOPRIMARY;
    default: return MONITOR_DEFAULTTONEAREST;
  }
}
}  // namespace

TMonitor* TScreen::MonitorFromPoint(POINT p, TMonitorDefaultTo defaultTo) {
  return FindMonitor(::MonitorFromPoint(p, MonitorFlag(defaultTo)));
}

TMonitor* TScreen::MonitorFromWindow(HWND window, TMonitorDefaultTo defaultTo) {
  return FindMonitor(::MonitorFromWindow(window, MonitorFlag(defaultTo)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& r, TMonitorDefaultTo defaultTo) {
  return FindMonitor(::MonitorFromRect(&r, MonitorFlag(defaultTo)));
}
