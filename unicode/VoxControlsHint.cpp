// The wide hint window and the CM_HINTSHOW step that hands it the wide hint.
//
// The application asks the control under the mouse with CM_HINTSHOW and
// then shows the ANSI hint text. For a control with a trap, the hint info
// becomes its own data pointer: the mark by which the wide hint window
// knows that it may look up the control's wide hint, and by which it finds
// the control again.
#include "classlib/ActnList.h"
#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxControlsPrivate.h"
#include "unicode/VoxGraphics.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxSysUtils.h"

namespace {

// The hint info that data marks as the layer's, or null. Data that is not
// readable counts as unmarked.
THintInfo* MarkedHintInfo(void* data) {
  if (!data || IsBadReadPtr(data, sizeof(THintInfo))) return nullptr;
  auto* info = static_cast<THintInfo*>(data);
  if (info->HintData != data) return nullptr;
  if (!info->HintWindowClass || !info->HintWindowClass->InheritsFrom(TVoxHintWindow::StaticClass()))
    return nullptr;
  return info;
}

// The wide text for hint: the control's short wide hint while hint is still
// its ANSI form (or that with the action's shortcut, which the class
// library appends: then with the shortcut's wide name, the keyboard's
// character for a letter key); otherwise hint itself, widened.
std::wstring WideHintText(const THintInfo* info, const std::string& hint) {
  std::wstring text = AnsiToWide(hint);
  if (text.empty()) return text;
  std::wstring shortHint = WideGetShortHint(WideGetHint(info->HintControl));
  if (WideToAnsi(shortHint) == hint) return shortHint;
  auto& hooks = ControlsHooks();
  bool hintShortCuts = hooks.HintShortCuts && hooks.HintShortCuts();
  auto* action = info->HintControl ? dynamic_cast<TCustomAction*>(info->HintControl->GetAction()) : nullptr;
  if (hintShortCuts && action && action->GetShortCut() != 0 && hooks.ShortCutToText) {
    std::string shortCutText = hooks.ShortCutToText(action->GetShortCut());
    if (hint == WideToAnsi(shortHint) + " (" + shortCutText + ")")
      return shortHint + L" (" + WideShortCutToText(action->GetShortCut()) + L")";
  }
  return text;
}

}  // namespace

void ProcessCMHintShowMsg(TMessage& m) {
  if (!Win32PlatformIsUnicode) return;
  THintInfo* info = TCMHintShow(m).HintInfo();
  if (!info) return;
  TClass cls = info->HintWindowClass;
  if (cls != THintWindow::StaticClass() && !(cls && cls->InheritsFrom(TVoxHintWindow::StaticClass()))) return;
  if (cls == THintWindow::StaticClass()) info->HintWindowClass = TVoxHintWindow::StaticClass();
  info->HintData = info;
  info->HintStr = WideToAnsi(WideGetShortHint(WideGetHint(info->HintControl)));
}

// --- TVoxHintWindow ------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxHintWindow)

TVoxHintWindow::TVoxHintWindow(TComponent* owner) : THintWindow(owner) {}

void TVoxHintWindow::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  if (Win32PlatformIsXP) params.WindowClass.style |= CS_DROPSHADOW;
}

void TVoxHintWindow::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, std::wstring());
}

void TVoxHintWindow::CMTextChanged(TMessage&) {
  if (activating_) return;
  std::wstring caption = GetCaption();
  SetWidth(WideCanvasTextWidth(GetCanvas(), caption) + 6);
  SetHeight(WideCanvasTextHeight(GetCanvas(), caption) + 6);
}

void TVoxHintWindow::ActivateHint(TRect rect, const std::string& hint) {
  activating_ = true;
  // Cleared, not put back: ActivateHintData comes through here, and its
  // caption written again afterwards must size the window again.
  TFinally activated([this] { activating_ = false; });
  inherited::ActivateHint(rect, hint);
}

void TVoxHintWindow::ActivateHintData(TRect rect, const std::string& hint, void* data) {
  const THintInfo* info = Win32PlatformIsUnicode ? MarkedHintInfo(data) : nullptr;
  if (!info) {
    inherited::ActivateHintData(rect, hint, data);
    return;
  }
  {
    activating_ = true;
    TFinally activated([this] { activating_ = false; });
    TRestore quiet(paintingSuppressed_, true);
    const std::wstring text = WideHintText(info, hint);
    SetCaption(text);
    inherited::ActivateHintData(rect, hint, data);
    // The class library writes the ANSI hint over the caption. Where the
    // wide text's ANSI form differs from it (a shortcut named by a key's
    // wide character), that write won and the wide text was gone.
    if (GetCaption() != text) SetCaption(text);
  }
  Invalidate();
}

TRect TVoxHintWindow::CalcHintRect(int maxWidth, const std::string& hint, void* data) {
  const THintInfo* info = Win32PlatformIsUnicode ? MarkedHintInfo(data) : nullptr;
  if (!info) return inherited::CalcHintRect(maxWidth, hint, data);
  std::wstring text = WideHintText(info, hint);
  TRect r = Rect(0, 0, maxWidth, 0);
  DrawTextW(GetCanvas()->GetHandle(), text.c_str(), -1, &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
  r.right += 6;
  r.bottom += 2;
  return r;
}

void TVoxHintWindow::Paint() {
  if (paintingSuppressed_) return;
  if (!Win32PlatformIsUnicode) {
    inherited::Paint();
    return;
  }
  TRect r = GetClientRect();
  r.left += 2;
  r.top += 2;
  if (Screen) GetCanvas()->GetFont()->SetColor(Screen->GetHintFont()->GetColor());
  std::wstring caption = GetCaption();
  DrawTextW(GetCanvas()->GetHandle(), caption.c_str(), -1, &r,
            DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DrawTextBiDiModeFlagsReadingOnly());
}

// --- Wide list controls ----------------------------------------------------------------------

void WideListControl_AddItem(TCustomListControl* control, const std::wstring& item, TObject* object) {
  if (IWideCustomListControl* wide = nullptr; Supports(control, wide)) wide->AddItem(item, object);
  else control->AddItem(WideToAnsi(item), object);
}
