#include "unicode/VoxControls.h"

#include <algorithm>
#include <cstdint>

#include "classlib/ActnList.h"
#include "classlib/Contnrs.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxControlsPrivate.h"
#include "unicode/VoxSysUtils.h"

namespace vox_controls {

TComponentList* gCaptionHolders = nullptr;

}  // namespace vox_controls

using namespace vox_controls;

// --- Assertions -------------------------------------------------------------------

void VoxAssertionFailed(const std::string& message, const char* unit, int line) {
  AssertErrorHandler(message, unit, line);
}

// --- Synchronised strings ------------------------------------------------------------

std::wstring GetSyncedWideString(std::wstring& wideStr, const std::string& ansiStr) {
  if (WideToAnsi(wideStr) != ansiStr) wideStr = AnsiToWide(ansiStr);
  return wideStr;
}

void SetSyncedWideString(const std::wstring& value, std::wstring& wideStr, const std::string& ansiStr,
                         const TSetAnsiStrEvent& setAnsiStr) {
  if (value == GetSyncedWideString(wideStr, ansiStr)) return;
  std::string ansiValue = WideToAnsi(value);
  // "Ж" and "?" share an ANSI form: without the empty step an ANSI side that
  // compares before it stores would see no change and stay silent.
  if (AnsiToWide(ansiValue) != value && ansiStr == ansiValue) setAnsiStr(std::string());
  wideStr = value;
  setAnsiStr(ansiValue);
}

// --- Caption holders -------------------------------------------------------------------

IMPLEMENT_CLASS(TWideCaptionHolder)

TWideCaptionHolder::TWideCaptionHolder(TControl* control) : TComponent(nullptr), control_(control) {
  control->FreeNotification(this);
}

void TWideCaptionHolder::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == control_) {
    control_ = nullptr;
    Free();  // the owning list lets go of it
  }
}

namespace {

int CompareHolderTarget(void* item, void* target) {
  auto* control = static_cast<TWideCaptionHolder*>(static_cast<TObject*>(item))->GetControl();
  auto a = reinterpret_cast<uintptr_t>(control), b = reinterpret_cast<uintptr_t>(target);
  return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

namespace vox_controls {

TWideCaptionHolder* FindWideCaptionHolder(TControl* control, bool create) {
  if (!gCaptionHolders) return nullptr;
  int index = 0;
  if (FindSortedListByTarget(gCaptionHolders, CompareHolderTarget, control, index)) {
    auto* holder = static_cast<TWideCaptionHolder*>(gCaptionHolders->GetItem(index));
    VoxAssert(holder->GetControl() == control, "VOX Internal Error: FindWideCaptionHolderIndex failed.",
              "VoxControls", 247);
    return holder;
  }
  if (!create) return nullptr;
  auto* holder = New<TWideCaptionHolder>(control);
  gCaptionHolders->Insert(index, holder);
  return holder;
}

// The window's own wide text, read with the wide calls (they reach the
// window through the trap, which passes them on unchanged).
std::wstring WindowTextW(HWND window) {
  int len = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), len + 1);
  text.resize(static_cast<size_t>(std::clamp(got, 0, len)));
  return text;
}

}  // namespace vox_controls

// --- Wide text of any control ---------------------------------------------------------------

bool VoxControl_IsCaptionStored(TControl* control) {
  TControlActionLink* link = control->GetActionLink();
  return !link || !link->IsCaptionLinked();
}

bool VoxControl_IsHintStored(TControl* control) {
  TControlActionLink* link = control->GetActionLink();
  return !link || !link->IsHintLinked();
}

std::wstring VoxControl_GetStoredText(TControl* control, const std::wstring& defaultText) {
  TWideCaptionHolder* holder = FindWideCaptionHolder(control, false);
  if (!holder) return defaultText;
  // A caption assigned in ANSI since then wins over the kept wide one.
  if (WideToAnsi(holder->Caption) != WideToAnsi(defaultText)) return defaultText;
  return holder->Caption;
}

namespace vox_controls {

// The caption kept while there is no window; the control's ANSI text
// follows, so ANSI readers see its ANSI form.
void StoreWideText(TControl* control, const std::wstring& value) {
  TWideCaptionHolder* holder = FindWideCaptionHolder(control, true);
  holder->Caption = value;
  control->SetText(WideToAnsi(value));
}

}  // namespace vox_controls

std::wstring VoxControl_GetText(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!Win32PlatformIsUnicode || (w && w->HandleAllocated() && !IsWindowUnicode(w->GetWindowHandle())))
    return AnsiToWide(control->GetText());
  if (!w) {
    TWideCaptionHolder* holder = FindWideCaptionHolder(control, false);
    if (!holder) return AnsiToWide(control->GetText());
    return GetSyncedWideString(holder->Caption, control->GetText());
  }
  if (w->HandleAllocated()) return WindowTextW(w->GetWindowHandle());
  return VoxControl_GetStoredText(control, AnsiToWide(control->GetText()));
}

void VoxControl_SetText(TControl* control, const std::wstring& value) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!Win32PlatformIsUnicode || (w && w->HandleAllocated() && !IsWindowUnicode(w->GetWindowHandle()))) {
    control->SetText(WideToAnsi(value));
  } else if (!w) {
    TWideCaptionHolder* holder = FindWideCaptionHolder(control, true);
    SetSyncedWideString(value, holder->Caption, control->GetText(),
                        [control](const std::string& s) { control->SetText(s); });
  } else if (w->HandleAllocated()) {
    HWND window = w->GetWindowHandle();
    if (WindowTextW(window) == value) return;
    SetWindowTextW(window, value.c_str());
    control->Perform(CM_TEXTCHANGED, 0, 0);
  } else {
    StoreWideText(control, value);
  }
}

std::wstring VoxControl_GetHint(TControl* control) {
  if (Win32PlatformIsUnicode)
    if (TWideCaptionHolder* holder = FindWideCaptionHolder(control, false))
      return GetSyncedWideString(holder->Hint, control->GetHint());
  return AnsiToWide(control->GetHint());
}

void VoxControl_SetHint(TControl* control, const std::wstring& value) {
  if (!Win32PlatformIsUnicode) {
    control->SetHint(WideToAnsi(value));
    return;
  }
  TWideCaptionHolder* holder = FindWideCaptionHolder(control, true);
  SetSyncedWideString(value, holder->Hint, control->GetHint(),
                      [control](const std::string& s) { control->SetHint(s); });
}

// --- Hints -----------------------------------------------------------------------------------

std::wstring WideGetHint(TControl* control) {
  for (TControl* c = control; c; c = c->GetParent()) {
    std::wstring hint = VoxControl_GetHint(c);
    if (!hint.empty()) return hint;
  }
  return std::wstring();
}

std::wstring WideGetShortHint(const std::wstring& hint) {
  size_t bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(0, bar);
}

std::wstring WideGetLongHint(const std::wstring& hint) {
  size_t bar = hint.find(L'|');
  return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}

// --- Unit start-up ------------------------------------------------------------------------------

void InitializeVoxControls() {
  gFinalized = false;
  if (!gCaptionHolders) gCaptionHolders = New<TComponentList>(true);
  if (!gPendingTraps) gPendingTraps = New<TComponentList>(false);
  // Added by the class library's start-up under these names; found, not
  // added, so that they go when the class library deletes them.
  TControlAtomNames names = ControlAtomNames();
  gWindowAtom = WinCheckH(GlobalFindAtomA(names.WindowAtom.c_str()));
  gControlAtom = WinCheckH(GlobalFindAtomA(names.ControlAtom.c_str()));
}

void FinalizeVoxControls() {
  FreeAndNil(gCaptionHolders);
  FreeAndNil(gPendingTraps);
  gFinalized = true;
  gControlAtom = gWindowAtom = 0;
}
