#include "unicode/VoxForms.h"

#include <commctrl.h>

#include "classlib/ActnList.h"
#include "classlib/Menus.h"
#include "classlib/StdActns.h"
#include "classlib/SysUtils.h"
#include "classlib/Units.h"
#include "unicode/VoxActnList.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxFormsPrivate.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxStdActns.h"
#include "unicode/VoxSystem.h"
#include "unicode/VoxSysUtils.h"

TUnitGlobal<TVoxApplication> VoxApplication("VoxApplication");

namespace vox_forms {

HHOOK gGetMessageHook = nullptr;
int gManualPeekCount = 0;

}  // namespace vox_forms

using namespace vox_forms;

// --- The hook -------------------------------------------------------------------------

namespace {

// Every message the main thread takes from its queue passes here before the
// loop sees it (wParam PM_REMOVE) or when it only peeks (PM_NOREMOVE).
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && wParam == PM_REMOVE && gManualPeekCount == 0 && VoxApplication) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    try {
      if (VoxApplication->ProcessMessage(*msg)) msg->message = WM_NULL;
    } catch (...) {
      // A hook must not unwind into the system's PeekMessage.
      ControlsHandleException(VoxApplication);
    }
  }
  return CallNextHookEx(gGetMessageHook, code, wParam, lParam);
}

void InstallWideCharHook() {
  Assert(Win32Platform == VER_PLATFORM_WIN32_NT, "Assertion failure", "VoxForms", 682);
  gGetMessageHook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
  if (!gGetMessageHook) RaiseLastOSError();
}

}  // namespace

bool IsWideCharAccel(uint16_t charCode, const std::wstring& caption) {
  // A caption without a hotkey is no key's: the comparison ignores some
  // characters (code 0 among them), which would match its empty hotkey.
  std::wstring hotkey = WideGetHotkey(caption);
  if (hotkey.empty()) return false;
  wchar_t c = charCode <= 255 ? KeyUnicode(static_cast<char>(charCode)) : static_cast<wchar_t>(charCode);
  return WideSameText(std::wstring(1, c), hotkey);
}

void EnableManualPeekMessageWithRemove() { ++gManualPeekCount; }

void DisableManualPeekMessageWithRemove() {
  if (gManualPeekCount > 0) --gManualPeekCount;
}

// --- TVoxApplication --------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxApplication)

TVoxApplication::TVoxApplication(TComponent* owner) : TComponent(owner) {
  if (Application) Application->HookMainWindow(TWindowHook(this, &TVoxApplication::WndProc));
}

void TVoxApplication::Destroy() {
  if (idleEventControl_) idleEventControl_->Free();
  if (Application) Application->UnhookMainWindow(TWindowHook(this, &TVoxApplication::WndProc));
  inherited::Destroy();
}

std::wstring TVoxApplication::GetHint() {
  return GetSyncedWideString(hint_, Application ? Application->GetHint() : std::string());
}

void TVoxApplication::SetHint(const std::wstring& value) {
  SetSyncedWideString(value, hint_, Application ? Application->GetHint() : std::string(),
                      [this](const std::string& s) { SetAnsiAppHint(s); });
}

void TVoxApplication::SetAnsiAppHint(const std::string& value) {
  if (Application) Application->SetHint(value);
}

void TVoxApplication::DoIdle() {
  SetHint(WideGetLongHint(WideGetHint(Application ? Application->GetMouseControl() : nullptr)));
}

bool TVoxApplication::IsDlgMsg(MSG& msg) {
  HWND dialog = Application ? Application->GetDialogHandle() : nullptr;
  if (!dialog) return false;
  // The hook holds a Unicode window's message in its wide form. The ANSI
  // call would read the character's two bytes as ANSI characters (U+4E2D
  // as "-" with "N" in the high word) and dispatch that.
  if (IsWindowUnicode(msg.hwnd)) return IsDialogMessageW(dialog, &msg) != 0;
  return IsDialogMessageA(dialog, &msg) != 0;
}

bool TVoxApplication::ProcessMessage(MSG& msg) {
  if (!mainFormInspected_ && Application && Application->GetMainForm()) {
    TCustomForm* mainForm = Application->GetMainForm();
    if (!dynamic_cast<TVoxForm*>(mainForm)) New<TVoxAppIdleEventControl>(mainForm);
    mainFormInspected_ = true;
  }
  if (msg.message != WM_CHAR || msg.wParam < 256 || !IsWindowUnicode(msg.hwnd)) return false;
  bool handled = false;
  if (Application) {
    if (Application->OnMessage) Application->OnMessage(msg, handled);
    Application->CancelHint();
  }
  if (!handled && !IsDlgMsg(msg)) DispatchMessageW(&msg);
  return true;
}

bool TVoxApplication::WndProc(TMessage& m) {
  if (m.Msg != CM_ACTIONEXECUTE) return false;
  auto* object = reinterpret_cast<TObject*>(m.LParam);
  if (!object || object->ClassType() != THintAction::StaticClass()) return false;
  auto* action = static_cast<THintAction*>(object);
  if (action->GetHint() != WideToAnsi(GetHint())) return false;
  m.Result = 1;
  // Its targets (a wide status bar) read the wide hint from it.
  Owned<TVoxHintAction> wide(New<TVoxHintAction>(this));
  wide->SetHint(GetHint());
  wide->Execute();
  return true;
}

// --- TVoxAppIdleEventControl ------------------------------------------------------------

IMPLEMENT_CLASS(TVoxAppIdleEventControl)

TVoxAppIdleEventControl::TVoxAppIdleEventControl(TComponent* owner) : TControl(owner) {
  SetParentFont(false);
  SetParent(Application->GetMainForm());
  SetVisible(true);
  auto* action = New<TVoxAction>(this);
  action->SetOnExecute(TNotifyEvent(this, &TVoxAppIdleEventControl::IdleAction));
  action->SetOnUpdate(TNotifyEvent(this, &TVoxAppIdleEventControl::IdleAction));
  SetAction(action);
  if (VoxApplication) VoxApplication->idleEventControl_ = this;
}

void TVoxAppIdleEventControl::Destroy() {
  if (VoxApplication && VoxApplication->idleEventControl_ == this) VoxApplication->idleEventControl_ = nullptr;
  inherited::Destroy();
}

void TVoxAppIdleEventControl::IdleAction(TObject*) {
  if (VoxApplication) VoxApplication->DoIdle();
}

// --- TVoxForm ------------------------------------------------------------------------------

TVoxForm::TVoxForm(TComponent* owner) : TForm(owner, TVoxForm::StaticClass()) {}

TVoxForm::TVoxForm(TComponent* owner, int dummy) : TForm(owner, dummy) {}

void TVoxForm::DefaultHandler(TMessage& m) {
  HWND client = GetClientHandle();
  if (client && Win32PlatformIsUnicode && HandleAllocated()) {
    HWND h = GetWindowHandle();
    if (m.Msg == WM_SIZE) m.Result = DefWindowProcW(h, m.Msg, m.WParam, m.LParam);
    else m.Result = DefFrameProcW(h, client, m.Msg, m.WParam, m.LParam);
    return;
  }
  inherited::DefaultHandler(m);
}

void TVoxForm::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  VoxPersistent_AfterInherited_DefineProperties(filer, this);
}

void TVoxForm::CreateWindowHandle(const TCreateParams& params) {
  if (!Win32PlatformIsUnicode) {
    inherited::CreateWindowHandle(params);
    return;
  }
  if (GetFormStyle() != fsMDIChild || IsDesigning()) {
    // The layered style is applied again below, once the window is wide.
    TCreateParams copy = params;
    copy.ExStyle &= ~DWORD{WS_EX_LAYERED};
    CreateUnicodeHandle(this, copy, std::wstring());
    SetFormState(GetFormState() - TFormState{fsCreatedMDIChild});
  } else {
    TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
    if (!mainForm || !mainForm->GetClientHandle())
      throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    std::wstring className;
    RegisterUnicodeClass(params, className);
    SetDefWndProc(&DefMDIChildProcW);
    HWND h = CreateMDIWindowW(className.c_str(), nullptr, params.Style, params.X, params.Y, params.Width,
                              params.Height, mainForm->GetClientHandle(), ControlsInstance(),
                              reinterpret_cast<LPARAM>(params.Param));
    if (!h) RaiseLastOSError();
    SetWindowHandle(h);
    SubClassUnicodeControl(this, params.Caption);
    SetFormState(GetFormState() + TFormState{fsCreatedMDIChild});
  }
  if (GetAlphaBlend()) {
    SetAlphaBlend(false);
    SetAlphaBlend(true);
  } else if (GetTransparentColor()) {
    SetTransparentColor(false);
    SetTransparentColor(true);
  }
}

void TVoxForm::DestroyWindowHandle() {
  UninitializeFlatSB(GetWindowHandle());
  inherited::DestroyWindowHandle();
}

void TVoxForm::UpdateActions() {
  inherited::UpdateActions();
  if (VoxApplication) VoxApplication->DoIdle();
}

void TVoxForm::ActionChange(TObject* sender, bool checkDefaults) {
  VoxControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  inherited::ActionChange(sender, checkDefaults);
}

TClass TVoxForm::GetActionLinkClass() {
  return VoxControl_GetActionLinkClass(this, inherited::GetActionLinkClass());
}

void TVoxForm::Dispatch(TMessage& m) {
  if (m.Msg == WM_WINDOWPOSCHANGING) {
    WMWindowPosChanging(m);
    return;
  }
  inherited::Dispatch(m);
}

void TVoxForm::WMMenuSelect(TMessage& m) {
  TMainMenu* menu = GetMenu();
  if (!menu) {
    inherited::WMMenuSelect(m);
    return;
  }
  TMenuItem* item = MenuSelectItem(menu, m);
  if (VoxApplication) VoxApplication->SetHint(item ? WideGetLongHint(WideGetMenuItemHint(item)) : std::wstring());
}

void TVoxForm::CMBiDiModeChanged(TMessage& m) {
  inherited::CMBiDiModeChanged(m);
  for (int i = 0; i < GetComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TMenu*>(GetComponent(i))) FixMenuBiDiProblem(menu);
}

void TVoxForm::WMWindowPosChanging(TMessage& m) {
  inherited::Dispatch(m);
  FixMenuBiDiProblem(GetMenu());
}

PUBLISHED(TVoxForm) {
  p.Prop("Caption", &TVoxForm::GetCaption, &TVoxForm::SetCaption).Stored(&TVoxForm::IsCaptionStored);
  p.Prop("Hint", &TVoxForm::GetHint, &TVoxForm::SetHint).Stored(&TVoxForm::IsHintStored);
}

// --- Unit start-up --------------------------------------------------------------------------

void InitializeVoxForms() {
  if (!VoxApplication) VoxApplication = New<TVoxApplication>(nullptr);
  RegisterClasses({TVoxScrollBox::StaticClass(), TVoxFrame::StaticClass()});
  if (Win32Platform == VER_PLATFORM_WIN32_NT && !gGetMessageHook) InstallWideCharHook();
}

void FinalizeVoxForms() {
  if (HHOOK hook = gGetMessageHook) {
    gGetMessageHook = nullptr;
    // Reported as the start-up list reports a failing unit, and the
    // application companion still goes: nothing leaves the program's exit.
    if (!UnhookWindowsHookEx(hook)) {
      std::string what = SysErrorMessage(GetLastError());
      ReportUnitFailure("VoxForms", "Finalization", what.c_str());
    }
  }
  TVoxApplication* app = VoxApplication;
  VoxApplication = nullptr;
  if (app) app->Free();
}
