// TKxCustomEdit, TKxEdit and TKxMaskEdit: the framed single-line edits
// with their drop-down button.
#include "kx/controls/KxEdit.h"

#include "classlib/Scopes.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

IMPLEMENT_CLASS(TKxCustomEdit)

TKxCustomEdit::TKxCustomEdit(TComponent* owner) : TKxFramedNC<TCustomMaskEdit>(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csCaptureMouse});
}

bool TKxCustomEdit::IsWindows40() { return Win32MajorVersion == 4 && Win32MinorVersion == 0; }

// --- text and layout -------------------------------------------------------------------------

void TKxCustomEdit::SetAlignment(TLeftRight value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RecreateWnd();
}

TRect TKxCustomEdit::GetEditRect() { return GetClientRect(); }

std::string TKxCustomEdit::GetRightJustifiedText() { return GetText(); }

void TKxCustomEdit::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.Style &= ~static_cast<DWORD>(ES_LEFT | ES_CENTER | ES_RIGHT | ES_MULTILINE);
  params.Style |= alignment_ == taRightJustify ? ES_RIGHT : ES_LEFT;
}

// --- frame ---------------------------------------------------------------------------------------

void TKxCustomEdit::UpdateFrame(bool isMouse, bool value) {
  if (isMouse) mouseOver_ = value;
  else focused_ = value;
  if (HandleAllocated()) {
    if (dropButtonVisible_ && (flatButtons_ || GetFrameHotTrack() || ThemeServices().GetThemesEnabled()) &&
        !buttonDown_) {
      // The button shows the hot state too; without hot tracking only its
      // strip needs painting again.
      if (GetFrameHotTrack()) {
        RepaintFrame();
      } else {
        RepaintButton();
      }
    } else if (!dropButtonVisible_ && GetFrameHotTrack()) {
      RepaintFrame();
    }
  }
  UpdateColors();
}

// --- drop-down button -------------------------------------------------------------------------------

void TKxCustomEdit::SetDropButtonVisible(bool value) {
  if (dropButtonVisible_ == value) return;
  dropButtonVisible_ = value;
  RecreateWnd();
}

void TKxCustomEdit::SetFlatButtons(bool value) {
  if (flatButtons_ == value) return;
  flatButtons_ = value;
  RepaintButton();
}

void TKxCustomEdit::SetFlatButtonColor(TColor value) {
  if (flatButtonColor_ == value) return;
  flatButtonColor_ = value;
  RepaintButton();
}

void TKxCustomEdit::SetButtonState(bool down) {
  if (buttonDown_ == down) return;
  buttonDown_ = down;
  if (dropButtonVisible_) RepaintButton();
}

void TKxCustomEdit::RepaintButton() {
  // The button lives in the non-client area: only WM_NCPAINT draws it.
  if (dropButtonVisible_ && HandleAllocated()) SendMessageA(GetWindowHandle(), WM_NCPAINT, 1, 0);
}

TRect TKxCustomEdit::ButtonRect() {
  TRect r{0, 0, GetWidth(), GetHeight()};
  if (HandleAllocated()) {
    RECT w;
    GetWindowRect(GetWindowHandle(), &w);
    r = TRect{0, 0, w.right - w.left, w.bottom - w.top};
  }
  if (GetBorderStyle() == bsSingle) {
    int inset = ThemeServices().GetThemesEnabled() ? 1 : 2;
    InflateRect(&r, -inset, -inset);
  }
  int cx = GetSystemMetrics(SM_CXVSCROLL);
  if (UseRightToLeftAlignment()) r.right = r.left + cx;
  else r.left = r.right - cx;
  return r;
}

void TKxCustomEdit::DrawButton(const TRect& r) {
  TCanvas* canvas = FrameCanvas();
  bool enabled = GetEnabled();
  bool hot = focused_ || mouseOver_;
  if (ThemeServices().GetThemesEnabled()) {
    if (!flatButtons_ || hot) {
      TThemedComboBox part = !enabled     ? tcDropDownButtonDisabled
                             : buttonDown_ ? tcDropDownButtonPressed
                             : hot         ? tcDropDownButtonHot
                                           : tcDropDownButtonNormal;
      ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(part), r);
    } else {
      canvas->GetBrush()->SetColor(GetColor());
      canvas->FillRect(r);
      DrawDropDownArrow(canvas, r, uiWindowsXP, false, enabled);
    }
    return;
  }
  if (!flatButtons_) {
    UINT state = DFCS_SCROLLCOMBOBOX;
    if (buttonDown_) state |= DFCS_PUSHED | DFCS_FLAT;
    if (!enabled) state |= DFCS_INACTIVE;
    canvas->GetBrush()->SetColor(clBtnFace);
    RECT rr = r;
    DrawFrameControl(canvas->GetHandle(), &rr, DFC_SCROLL, state);
    return;
  }
  if (hot) {
    DrawHotFlatButton(canvas, r, flatButtonColor_, buttonDown_, enabled);
    return;
  }
  canvas->GetBrush()->SetColor(focused_ ? GetFocusColor() : GetNormalColor());
  canvas->FillRect(r);
  DrawDropDownArrow(canvas, r, uiWindows95, false, enabled);
}

void TKxCustomEdit::DoDropDown() {
  if (!dropButtonVisible_) return;
  TRestore dropped(droppedDown_, true);
  SetCapture(GetHandle());
  SetButtonState(true);
  DropDown();
  CloseUp();
  SetButtonState(false);
}

void TKxCustomEdit::MouseCancel() {
  if (!droppedDown_) SetButtonState(false);
  if (HandleAllocated() && GetCapture() == GetWindowHandle()) ReleaseCapture();
}

void TKxCustomEdit::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TKxCustomEdit::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

// --- keys ----------------------------------------------------------------------------------------

void TKxCustomEdit::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key == VK_DOWN && shift.Contains(ssAlt) && dropButtonVisible_) {
    DoDropDown();
    key = 0;
  }
}

void TKxCustomEdit::KeyPress(char& key) {
  if (tabOnEnter_ && key == '\r') {
    key = 0;
    PostMessageA(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  // The first 32-bit Windows beeps at an Enter in a right-aligned edit.
  if (IsWindows40() && alignment_ == taRightJustify && key == '\r') {
    key = 0;
    return;
  }
  inherited::KeyPress(key);
}

void TKxCustomEdit::ValidateError() {
  if (OnValidateError) {
    std::string message;
    OnValidateError(this, message);
    if (!message.empty()) {
      MessageBeep(0);
      throw EDBEditError(message);
    }
  }
  inherited::ValidateError();
}

// --- messages ------------------------------------------------------------------------------------

void TKxCustomEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_NCCALCSIZE) {
    WMNCCalcSize(m);
    return;
  }
  inherited::Dispatch(m);
}

bool TKxCustomEdit::PaintNonClient(HDC dc) {
  bool painted = inherited::PaintNonClient(dc);
  if (!dropButtonVisible_) return painted;
  {
    TSavedDC saved(dc);
    TRect clip = ButtonRect();
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    TCanvasPaintScope scope(FrameCanvas(), dc);
    DrawButton(ButtonRect());
  }
  return true;
}

void TKxCustomEdit::WMNCCalcSize(TMessage& m) {
  if (dropButtonVisible_) {
    // The button's strip leaves the client area before the system takes
    // its border from what is left.
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    int cx = GetSystemMetrics(SM_CXVSCROLL) - (ThemeServices().GetThemesEnabled() ? 1 : 0);
    if (UseRightToLeftAlignment()) r->left += cx;
    else r->right -= cx;
  }
  DefaultHandler(m);
}

void TKxCustomEdit::WMNCHitTest(TMessage& m) {
  inherited::WMNCHitTest(m);
  mouseOverButton_ = false;
  if (m.Result != HTNOWHERE || !dropButtonVisible_) return;
  // The system answers "nowhere" for its client edge too: only the
  // button's own rectangle counts as the button.
  RECT w;
  GetWindowRect(GetWindowHandle(), &w);
  TWMNCHitTest hit(m);
  POINT p{hit.XPos() - w.left, hit.YPos() - w.top};
  TRect button = ButtonRect();
  if (!PtInRect(&button, p)) return;
  mouseOverButton_ = true;
  m.Result = HTCLIENT;
}

void TKxCustomEdit::WMKillFocus(TMessage& m) {
  inherited::WMKillFocus(m);
  MouseCancel();
}

void TKxCustomEdit::WMLButtonDown(TMessage& m) {
  if (dropButtonVisible_ && mouseOverButton_) {
    // The button never places the caret: the edit does not see the press.
    if (!Focused() && CanFocus()) SetFocus();
    DoDropDown();
    m.Result = 0;
    return;
  }
  inherited::WMLButtonDown(m);
  if (!Focused()) MouseCancel();
}

void TKxCustomEdit::WMLButtonDblClk(TMessage& m) {
  if (dropButtonVisible_ && mouseOverButton_) {
    WMLButtonDown(m);
    return;
  }
  inherited::WMLButtonDblClk(m);
}

void TKxCustomEdit::WMRButtonDown(TMessage& m) {
  if (dropButtonVisible_ && mouseOverButton_) return;
  inherited::WMRButtonDown(m);
}

void TKxCustomEdit::WMLButtonUp(TMessage& m) {
  MouseCancel();
  inherited::WMLButtonUp(m);
}

void TKxCustomEdit::WMSetCursor(TMessage& m) {
  if (dropButtonVisible_ && mouseOverButton_) {
    // The arrow over the button, not the text cursor.
    m.LParam = static_cast<LPARAM>(MAKELONG(0, HIWORD(m.LParam)));
  }
  inherited::WMSetCursor(m);
}

void TKxCustomEdit::CMEnter(TMessage& m) {
  if (IsWindows40() && GetAutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  inherited::CMEnter(m);
}

void TKxCustomEdit::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  RepaintButton();
}

// --- published ---------------------------------------------------------------------------------

PUBLISHED(TKxEdit) { PublishKxEditProps(p, false); }

PUBLISHED(TKxMaskEdit) { PublishKxEditProps(p, true); }

void InitializeKxEdit() {
  RegisterClasses({TKxEdit::StaticClass(), TKxMaskEdit::StaticClass(), TKxMemo::StaticClass(),
                   TKxRichEdit::StaticClass(), TKxHotKeyEdit::StaticClass()});
  RegisterClasses({TKxNumericEdit::StaticClass(), TKxExpandEdit::StaticClass(), TKxColorEdit::StaticClass(),
                   TKxDateTimeEdit::StaticClass()});
}

void FinalizeKxEdit() {
  for (TClass c : {TKxDateTimeEdit::StaticClass(), TKxColorEdit::StaticClass(), TKxExpandEdit::StaticClass(),
                   TKxNumericEdit::StaticClass()})
    UnRegisterClass(c);
  for (TClass c : {TKxHotKeyEdit::StaticClass(), TKxRichEdit::StaticClass(), TKxMemo::StaticClass(),
                   TKxMaskEdit::StaticClass(), TKxEdit::StaticClass()})
    UnRegisterClass(c);
}
