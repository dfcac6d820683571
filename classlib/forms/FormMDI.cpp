// The MDI side of forms: the MDI form's client window, its children, and
// the client's arrangements.
#include <algorithm>

#include "classlib/SysUtils.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/forms/Screen.h"

DEFINE_ENUM_TYPE(TTileMode, "tbHorizontal", "tbVertical")

namespace {
const char kNoMDIForm[] = "Cannot create form. No MDI forms are currently active";
// Ids of the children's entries in a window menu; far above any menu
// item's command id.
constexpr UINT kFirstMDIChildId = 0xFF00;
}  // namespace

// --- the client window -----------------------------------------------------------------

void TCustomForm::CreateMDIClient() {
  CLIENTCREATESTRUCT create{nullptr, kFirstMDIChildId};
  RECT r = GetClientRect();
  HWND client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_CLIPCHILDREN | WS_HSCROLL |
                                    WS_VSCROLL | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES,
                                0, 0, r.right, r.bottom, GetWindowHandle(), nullptr, GetModuleHandleA(nullptr),
                                &create);
  if (!client) RaiseLastOSError();
  clientHandle_ = client;
  clientInstance_ = MakeObjectInstance(TWndMethod(this, &TCustomForm::ClientWndProc));
  defClientProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(client, GWLP_WNDPROC));
  SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(clientInstance_));
  // Below the aligned controls, in the area they leave.
  Realign();
}

void TCustomForm::ClientWndProc(TMessage& m) {
  HWND client = clientHandle_;
  auto pass = [&] { m.Result = CallWindowProcA(defClientProc_, client, m.Msg, m.WParam, m.LParam); };
  try {
    switch (m.Msg) {
      case WM_NCHITTEST:
        // The empty client area is the form's: its mouse events and cursor.
        pass();
        if (m.Result == HTCLIENT) m.Result = HTTRANSPARENT;
        break;
      case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(client, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, GetBrush()->GetHandle());
        m.Result = 1;
        break;
      }
      case WM_PAINT: {
        // The form's own painting (OnPaint, windowless controls) shows in
        // the client, at the place it has in the form.
        PAINTSTRUCT ps;
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        bool own = dc == nullptr;
        if (own) dc = BeginPaint(client, &ps);
        RECT r;
        GetWindowRect(client, &r);
        MapWindowPoints(nullptr, GetWindowHandle(), reinterpret_cast<POINT*>(&r), 1);
        POINT old;
        SetWindowOrgEx(dc, r.left, r.top, &old);
        TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
        try {
          PaintHandler(paint);
        } catch (...) {
          SetWindowOrgEx(dc, old.x, old.y, nullptr);
          if (own) EndPaint(client, &ps);
          throw;
        }
        SetWindowOrgEx(dc, old.x, old.y, nullptr);
        if (own) EndPaint(client, &ps);
        m.Result = 0;
        break;
      }
      case WM_NCDESTROY:
        pass();
        if (clientHandle_ == client) clientHandle_ = nullptr;
        break;
      default: pass(); break;
    }
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TCustomForm::DefaultHandler(TMessage& m) {
  // Colour reflection and context menus as every control has them.
  bool own = (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC) ||
             (m.Msg >= CN_CTLCOLORMSGBOX && m.Msg <= CN_CTLCOLORSTATIC);
  if (!clientHandle_ || own) {
    inherited::DefaultHandler(m);
    return;
  }
  HWND h = GetWindowHandle();
  if (m.Msg == WM_SIZE) m.Result = DefWindowProcA(h, m.Msg, m.WParam, m.LParam);
  else m.Result = DefFrameProcA(h, clientHandle_, m.Msg, m.WParam, m.LParam);
}

void TCustomForm::AlignControls(TControl* control, RECT& rect) {
  inherited::AlignControls(control, rect);
  if (clientHandle_)
    SetWindowPos(clientHandle_, HWND_BOTTOM, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- creating and destroying the windows ------------------------------------------------

void TCustomForm::CreateWindowHandle(const TCreateParams& p) {
  if (formStyle_ == fsMDIChild && !IsDesigning()) {
    TCustomForm* main = Application ? Application->GetMainForm() : nullptr;
    if (!main || !main->GetClientHandle()) throw EInvalidOperation(kNoMDIForm);
    MDICREATESTRUCTA create{};
    create.szClass = p.WinClassName.c_str();
    create.szTitle = p.Caption.c_str();
    create.hOwner = p.WindowClass.hInstance;
    create.x = p.X;
    create.y = p.Y;
    create.cx = p.Width;
    create.cy = p.Height;
    create.style = p.Style;
    create.lParam = reinterpret_cast<LPARAM>(p.Param);
    HWND h = reinterpret_cast<HWND>(
        SendMessageA(main->GetClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    SetWindowHandle(h);
    if (h) formState_.Include(fsCreatedMDIChild);
    return;
  }
  // A layered window made with its style shows nothing until its attributes
  // are set: they come with the style afterwards (SetLayeredAttribs).
  TCreateParams params = p;
  params.ExStyle &= ~DWORD{WS_EX_LAYERED};
  inherited::CreateWindowHandle(params);
  formState_.Exclude(fsCreatedMDIChild);
}

void TCustomForm::DestroyWindowHandle() {
  if (formState_.Contains(fsCreatedMDIChild)) {
    formState_.Exclude(fsCreatedMDIChild);
    HWND h = GetWindowHandle();
    // The client that made the child destroys it; a client already gone
    // took its children with it.
    if (h && IsWindow(h)) {
      SetControlState(GetControlState() + TControlState{csDestroyingHandle});
      SendMessageA(::GetParent(h), WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
      SetControlState(GetControlState() - TControlState{csDestroyingHandle});
    }
    SetWindowHandle(nullptr);
  } else {
    inherited::DestroyWindowHandle();
  }
  clientHandle_ = nullptr;
  FreeObjectInstance(clientInstance_);
  clientInstance_ = nullptr;
}

// --- the children -------------------------------------------------------------------------

int TCustomForm::GetMDIChildCount() const {
  if (formStyle_ != fsMDIForm || !clientHandle_ || !Screen) return 0;
  int count = 0;
  for (int i = 0; i < Screen->GetFormCount(); ++i)
    if (Screen->GetForms(i)->GetFormStyle() == fsMDIChild) ++count;
  return count;
}

TForm* TCustomForm::GetMDIChildren(int index) const {
  if (formStyle_ != fsMDIForm || !clientHandle_ || !Screen) return nullptr;
  for (int i = 0; i < Screen->GetFormCount(); ++i) {
    TForm* f = Screen->GetForms(i);
    if (f->GetFormStyle() == fsMDIChild && index-- == 0) return f;
  }
  return nullptr;
}

TForm* TCustomForm::GetActiveMDIChild() const {
  if (formStyle_ != fsMDIForm || !clientHandle_) return nullptr;
  return dynamic_cast<TForm*>(FindControl(reinterpret_cast<HWND>(SendMessageA(clientHandle_, WM_MDIGETACTIVE, 0, 0))));
}

void TCustomForm::WMMDIActivate(TMessage& m) {
  DefaultHandler(m);
  if (formStyle_ == fsMDIChild) SetActive(reinterpret_cast<HWND>(m.LParam) == GetWindowHandle());
}

// --- the arrangements ---------------------------------------------------------------------

namespace {
void SendToClient(TForm* form, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (form->GetFormStyle() == fsMDIForm && form->GetClientHandle())
    SendMessageA(form->GetClientHandle(), msg, wParam, lParam);
}
}  // namespace

void TForm::ArrangeIcons() { SendToClient(this, WM_MDIICONARRANGE, 0, 0); }
void TForm::Cascade() { SendToClient(this, WM_MDICASCADE, 0, 0); }
void TForm::Tile() {
  SendToClient(this, WM_MDITILE, tileMode_ == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}
void TForm::Next() { SendToClient(this, WM_MDINEXT, 0, 0); }
void TForm::Previous() { SendToClient(this, WM_MDINEXT, 0, 1); }
