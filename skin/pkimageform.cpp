#include "skin/pkimageform.h"

#include <cstdlib>
#include <utility>

#include "classlib/Classes.h"
#include "classlib/Menus.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/graphics/Resources.h"
#include "skin/pkGdi.h"
#include "skin/pkRegion.h"

DEFINE_ENUM_TYPE(TpkImageFormOption, "ifUseWindowsDrag", "ifNoPaletteDither")

namespace {

// Class names compared up the chain, without regard to case: the hook looks
// for image forms by name, as a library that may not link the class would.
bool InheritsFromClassName(TClass cls, std::string_view name) {
  for (; cls; cls = cls->ClassParent())
    if (SameName(cls->ClassName(), name)) return true;
  return false;
}

bool HasClickHandler(TControl* c) { return c && (c->OnClick || c->OnMouseDown); }

// --- The thread's mouse hook -------------------------------------------------------

thread_local HHOOK gHook = nullptr;
thread_local int gHookCount = 0;
// Set while a press is being handled: a drag's own loop runs inside the hook
// callback and must not start a second drag.
thread_local bool gInHook = false;

// Whether a press at screen point `pt` on window `msgWindow` drags the form
// that `imageForm` sits on; decides as described with the class.
bool PressDrags(TpkCustomImageForm* imageForm, TCustomForm* form, TControl* msgControl, POINT pt) {
  TControl* bar = imageForm->GetCaptionBarControl();
  TWinControl* formControl = form;
  bool pressed = false;
  bool inBar = false;
  if (msgControl) {
    // A windowless control with a click handler under the cursor takes the press.
    TWinControl* lookup = (bar && bar->GetParent() && bar->GetParent() != formControl) ? bar->GetParent() : formControl;
    TControl* under = lookup->ControlAtPos(lookup->ScreenToClient(pt), true, false);
    pressed = HasClickHandler(under);
    if (bar && bar->GetParent()) {
      // The cursor in the coordinates of the bar's parent, against the bar's
      // bounds in those same coordinates.
      POINT p = bar->GetParent()->ScreenToClient(pt);
      RECT bounds = bar->GetBoundsRect();
      inBar = PtInRect(&bounds, p) && bar->GetParent() == msgControl;
    }
  }
  if (bar) return (!pressed && inBar) || bar == msgControl;
  return !pressed && msgControl == formControl;
}

// True when the press was taken for a drag (the hook then swallows it).
bool HandlePress(const MOUSEHOOKSTRUCT& mouse) {
  TWinControl* active = Screen ? Screen->GetActiveControl() : nullptr;
  TCustomForm* form = active ? GetParentForm(active) : nullptr;
  if (!form) return false;
  TControl* msgControl = FindControl(mouse.hwnd);
  std::vector<TControl*> children = form->Controls();
  for (TControl* c : children) {
    if (!InheritsFromClassName(c->ClassType(), "TpkCustomImageForm")) continue;
    auto* imageForm = dynamic_cast<TpkCustomImageForm*>(c);
    if (!imageForm || !PressDrags(imageForm, form, msgControl, mouse.pt)) continue;
    pk_detail::TScopeExit inHook([was = std::exchange(gInHook, true)] { gInHook = was; });
    form->BringToFront();
    POINT p = form->ScreenToClient(mouse.pt);
    imageForm->BeginMove(mbLeft, TShiftState{ssLeft}, p.x, p.y);
    // One drag per press: a second image form of the same form would start
    // its own loop after the button is already up.
    return true;
  }
  return false;
}

LRESULT CALLBACK ImageFormMouseHook(int code, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallNextHookEx(gHook, code, wParam, lParam);
  // HC_NOREMOVE is a peek: the same press comes again when it is removed.
  if (code != HC_ACTION || gInHook || (wParam != WM_LBUTTONDOWN && wParam != WM_NCLBUTTONDOWN)) return result;
  try {
    if (HandlePress(*reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam))) result = 1;
  } catch (...) {
    ControlsHandleException(nullptr);
  }
  return result;
}

void AddHookUser() {
  if (!gHook && gHookCount == 0)
    gHook = SetWindowsHookExA(WH_MOUSE, ImageFormMouseHook, MainInstance(), GetCurrentThreadId());
  ++gHookCount;
}

void RemoveHookUser() {
  --gHookCount;
  if (gHookCount < 1 && gHook) {
    UnhookWindowsHookEx(gHook);
    gHook = nullptr;
  }
}

}  // namespace

namespace pk_detail {
HHOOK ImageFormHook() { return gHook; }
int ImageFormHookCount() { return gHookCount; }
}  // namespace pk_detail

// --- TpkCustomImageForm ----------------------------------------------------------------

IMPLEMENT_CLASS(TpkCustomImageForm)

TpkCustomImageForm::TpkCustomImageForm(TComponent* owner) : TpkCustomImage(owner) {
  SetAlign(alClient);
  if (!IsDesigning()) {
    AddHookUser();
    hooked_ = true;
  }
}

void TpkCustomImageForm::Destroy() {
  if (hooked_) {
    hooked_ = false;
    RemoveHookUser();
  }
  DropRegion();
  inherited::Destroy();
}

TCustomForm* TpkCustomImageForm::ParentFormOf() const {
  return GetParent() ? GetParentForm(GetParent()) : nullptr;
}

void TpkCustomImageForm::SetCaptionBarControl(TControl* value) {
  if (captionBarControl_ == value) return;
  if (captionBarControl_) captionBarControl_->RemoveFreeNotification(this);
  captionBarControl_ = value;
  if (value) value->FreeNotification(this);
}

void TpkCustomImageForm::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == captionBarControl_) captionBarControl_ = nullptr;
}

void TpkCustomImageForm::SetPicture(TPicture* value) {
  GetPicture()->Assign(value);
  int w = GetPicture()->GetWidth();
  int h = GetPicture()->GetHeight();
  if (w > 0 && h > 0) {
    if (TCustomForm* form = ParentFormOf()) {
      form->SetClientWidth(w);
      form->SetClientHeight(h);
    }
  }
  Invalidate();
}

void TpkCustomImageForm::SetParent(TWinControl* parent) {
  TWinControl* target = parent;
  if (target && !dynamic_cast<TCustomForm*>(target)) target = GetParentForm(target);
  inherited::SetParent(target);
  auto* form = dynamic_cast<TCustomForm*>(target);
  if (!form) return;
  // The border first: changing it re-creates the form's window, which would
  // bring WS_CLIPCHILDREN back. Without it the form paints its picture under
  // its child windows, so see-through children show the skin.
  form->SetBorderStyle(bsNone);
  HWND w = form->GetHandle();
  SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
}

void TpkCustomImageForm::SetBounds(int left, int top, int width, int height) {
  inherited::SetBounds(left, top, width, height);
  if (!GetAutoSize()) return;
  // The size asked for, not the size the control has now: aligned to the
  // client (as the stored forms have it), the parent's alignment has already
  // put the control back into the old client area. The form's new client
  // area then aligns the control to the size asked for.
  if (TCustomForm* form = ParentFormOf()) {
    form->SetClientWidth(width);
    form->SetClientHeight(height);
  }
}

void TpkCustomImageForm::Paint() {
  if (options_.Contains(ifNoPaletteDither)) SetNoPaletteDither(true);
  inherited::Paint();
}

// --- drag ----------------------------------------------------------------------------------

void TpkCustomImageForm::DrawDragOutline(HDC dc, const TRect& rect) {
  TRect r = rect;
  for (int i = 0; i < 3; ++i) {
    DrawFocusRect(dc, &r);
    InflateRect(&r, -1, -1);
  }
}

bool TpkCustomImageForm::UseSystemDrag() {
  if (!options_.Contains(ifUseWindowsDrag)) return false;
  BOOL full = FALSE;
  return SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0) && full;
}

void TpkCustomImageForm::BeginMove(TMouseButton, TShiftState shift, int x, int y) {
  TCustomForm* form = ParentFormOf();
  if (!form) return;
  if (!shift.Contains(ssLeft)) {
    SendMessageA(form->GetHandle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    return;
  }
  if (UseSystemDrag()) {
    ReleaseCapture();
    PostMessageA(form->GetHandle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  if (form->GetFormStyle() == fsMDIChild) {
    POINT p = form->ClientToScreen(POINT{x, y});
    x = p.x - form->GetLeft();
    y = p.y - form->GetTop();
  }
  DragLoop(x, y);
}

void TpkCustomImageForm::DragLoop(int x, int y) {
  TCustomForm* form = ParentFormOf();
  if (!form) return;
  HWND window = form->GetHandle();
  TRect startRect = form->GetBoundsRect();
  TRect targetRect{0, 0, 0, 0};
  bool first = true;
  moved_ = false;
  SetCapture(window);
  try {
    while (GetCapture() == window) {
      MSG msg;
      BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) break;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (msg.message == WM_MOUSEMOVE) {
        // The cursor where this move happened, so that queued moves are
        // judged one by one.
        DragStep(x, y, startRect, targetRect, first, msg.pt);
      } else if (msg.message == WM_LBUTTONUP) {
        EndDrag(targetRect);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (GetCapture() == window) ReleaseCapture();
      } else {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  } catch (...) {
    if (GetCapture() == window) ReleaseCapture();
    throw;
  }
  if (GetCapture() == window) ReleaseCapture();
  // A lost capture ends the drag where it is: the outline goes, the form stays.
  if (moved_) {
    moved_ = false;
    if (!UseSystemDrag()) {
      pk_detail::TScreenDC screen;
      DrawDragOutline(screen.Get(), lastOutline_);
    }
  }
}

void TpkCustomImageForm::DragStep(int x, int y, const TRect&, TRect& targetRect, bool& first, POINT cursorPos) {
  TCustomForm* form = ParentFormOf();
  if (!form) return;
  POINT origin = form->ClientToScreen(POINT{x, y});
  if (std::abs(cursorPos.x - origin.x) <= dragTolerance_ && std::abs(cursorPos.y - origin.y) <= dragTolerance_)
    return;
  HWND window = form->GetHandle();
  if (UseSystemDrag()) {
    moved_ = true;
    Sleep(10);
    MSG msg;
    while (PeekMessageA(&msg, window, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
    }
    POINT c;
    Seams().GetCursorPos(c);
    SetWindowPos(window, nullptr, c.x - x, c.y - y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
    return;
  }
  pk_detail::TScreenDC screen;
  if (first)
    moved_ = true;
  else
    DrawDragOutline(screen.Get(), lastOutline_);
  targetRect = TRect{cursorPos.x - x, cursorPos.y - y, cursorPos.x - x + form->GetWidth(),
                     cursorPos.y - y + form->GetHeight()};
  if (form->GetFormStyle() == fsMDIChild) {
    POINT co = form->GetClientOrigin();
    OffsetRect(&targetRect, co.x - form->GetLeft(), co.y - form->GetTop());
  }
  DrawDragOutline(screen.Get(), targetRect);
  lastOutline_ = targetRect;
  first = false;
}

void TpkCustomImageForm::EndDrag(const TRect& targetRect) {
  if (!moved_) return;
  moved_ = false;
  if (UseSystemDrag()) return;
  TCustomForm* form = ParentFormOf();
  {
    pk_detail::TScreenDC screen;
    DrawDragOutline(screen.Get(), lastOutline_);
  }
  if (!form) return;
  HWND window = form->GetHandle();
  SetWindowPos(window, nullptr, targetRect.left, targetRect.top, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
  if (GetCapture() == window) ReleaseCapture();
}

void TpkCustomImageForm::FilterMouseMessage(TMessage& message) {
  if (IsDesigning()) return;
  TCustomForm* form = ParentFormOf();
  if (message.Msg == WM_DESTROY) {
    if (form && form->HandleAllocated()) SetWindowRgn(form->GetHandle(), nullptr, FALSE);
    DropRegion();
  } else if (message.Msg == WM_LBUTTONDOWN && form) {
    int x = static_cast<short>(LOWORD(message.LParam));
    int y = static_cast<short>(HIWORD(message.LParam));
    TControl* c = form->ControlAtPos(POINT{x, y}, true, false);
    TControl* bar = captionBarControl_;
    if ((bar && c && !HasClickHandler(c)) || (c && c == bar) || (!bar && c == this) || !c)
      BeginMove(mbLeft, KeysToShiftState(static_cast<WORD>(message.WParam)), x, y);
  }
}

// --- region ------------------------------------------------------------------------------------

TColor TpkCustomImageForm::RegionColor() {
  if (transparentColor_ != clNone) return transparentColor_;
  TGraphic* graphic = GetPicture()->GetGraphic();
  if (!graphic || graphic->GetWidth() <= 0 || graphic->GetHeight() <= 0) return transparentColor_;
  Owned<TBitmap> copy = MakeOwned<TBitmap>();
  copy->Assign(graphic);
  copy->SetPixelFormat(pf24bit);
  const auto* row = static_cast<const uint8_t*>(copy->GetScanLine(copy->GetHeight() - 1));
  return static_cast<TColor>(RGB(row[2], row[1], row[0]));
}

void TpkCustomImageForm::DropRegion() {
  if (ownsRegion_ && region_) DeleteObject(region_);
  region_ = nullptr;
  ownsRegion_ = false;
}

void TpkCustomImageForm::SetFormRegion(HRGN region, bool redraw) {
  region_ = region;
  ownsRegion_ = true;
  TCustomForm* form = ParentFormOf();
  if (IsDesigning() || !form) return;
  // No region (a damaged blob) takes away any shape the form had. The
  // window owns a region it is given from here on.
  if (SetWindowRgn(form->GetHandle(), region, redraw) && region) ownsRegion_ = false;
}

void TpkCustomImageForm::RebuildRegion() {
  TCustomForm* form = ParentFormOf();
  if (form) SetWindowRgn(form->GetHandle(), nullptr, FALSE);
  DropRegion();
  SetFormRegion(BuildRegionFromGraphic(GetPicture()->GetGraphic(), RegionColor()), true);
}

void TpkCustomImageForm::ScaleRegion(float scaleX, float scaleY) {
  TCustomForm* form = ParentFormOf();
  if (!form) return;
  HWND window = form->GetHandle();
  TpkRegion current(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(window, current.get()) == ERROR) return;
  TpkRegionBlob blob = CaptureRegionBlob(current.get());
  if (blob.IsEmpty()) return;
  XFORM xf{scaleX, 0, 0, scaleY, 0, 0};
  HRGN scaled = ExtCreateRegion(&xf, blob.GetByteCount(), reinterpret_cast<const RGNDATA*>(blob.Bytes.data()));
  if (!scaled) return;
  if (SetWindowRgn(window, scaled, TRUE)) {
    DropRegion();
    region_ = scaled;
  } else {
    DeleteObject(scaled);
  }
}

void TpkCustomImageForm::ReadRegionStream(TStream* stream) {
  bool stored = false;
  HRGN region = ReadRegionData(stream, stored);
  if (!stored) {
    RebuildRegion();
    return;
  }
  DropRegion();
  SetFormRegion(region, true);
}

void TpkCustomImageForm::WriteRegionStream(TStream* stream) {
  RebuildRegion();
  WriteRegionData(stream, region_);
}

void TpkCustomImageForm::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineBinaryProperty(
      "RegionData", [this](TStream* s) { ReadRegionStream(s); }, [this](TStream* s) { WriteRegionStream(s); }, true);
}

// --- TpkImageForm ---------------------------------------------------------------------------------

PUBLISHED(TpkImageForm) {
  using C = TpkCustomImageForm;
  p.Prop("Options", &C::GetOptions, &C::SetOptions).Default(TpkImageFormOptions{});
  PublishControlProps(p, {"Align"});
  p.Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize).Default(false);
  p.Prop("Picture", &C::GetPicture, &C::SetPicture);
  PublishControlProps(p, {"PopupMenu", "ShowHint", "Visible", "OnClick", "OnDblClick", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp"});
  p.Prop("CaptionBarControl", &C::GetCaptionBarControl, &C::SetCaptionBarControl);
  p.Prop("DragTolerance", &C::GetDragTolerance, &C::SetDragTolerance).NoDefault();
  p.Prop("TransparentColor", &C::GetTransparentColor, &C::SetTransparentColor)
      .Default(clNone)
      .Type(TColorTypeInfo());
}

void InitializePkImageForm() { RegisterClasses({TpkImageForm::StaticClass()}); }
void FinalizePkImageForm() { UnRegisterClass(TpkImageForm::StaticClass()); }
