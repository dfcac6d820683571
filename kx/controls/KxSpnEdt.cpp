// The spin controls: rapid-fire button, spin buttons, spin edit, spinner.
#include "kx/controls/KxSpnEdt.h"

#include <climits>
#include <cmath>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/foundation/KxLabel.h"
#include "kx/foundation/KxThemeSrv.h"

DEFINE_ENUM_TYPE(TSpinDirection, "sdUpDown", "sdLeftRight")

namespace {

// A repeat timer owned by control, made on first use: InitialDelay before
// the first tick, Delay after it.
TTimer* StartRepeat(TTimer*& timer, TComponent* owner, TNotifyEvent onTimer, uint16_t initialDelay) {
  if (!timer) {
    timer = New<TTimer>(owner);
    timer->SetEnabled(false);
    timer->SetOnTimer(onTimer);
  }
  timer->SetInterval(initialDelay);
  timer->SetEnabled(true);
  return timer;
}

void StopRepeat(TTimer* timer) {
  if (timer) timer->SetEnabled(false);
}

// Round(v) held within an Integer.
int RoundToInt(double v) {
  if (!(v < static_cast<double>(INT_MAX))) return INT_MAX;
  if (!(v > static_cast<double>(INT_MIN))) return INT_MIN;
  return static_cast<int>(Round(v));
}

}  // namespace

// ---------------------------------------------------------------------------
// TKxRapidFireButton

PUBLISHED(TKxRapidFireButton) {
  using C = TKxRapidFireButton;
  p.Prop("Delay", &C::GetDelay, &C::SetDelay).Default(100);
  p.Prop("InitialDelay", &C::GetInitialDelay, &C::SetInitialDelay).Default(400);
  p.Prop("ScrollStyle", &C::GetScrollStyle, &C::SetScrollStyle).Default(scsNone);
}

TKxRapidFireButton::TKxRapidFireButton(TComponent* owner) : TSpeedButton(owner) {}

void TKxRapidFireButton::SetShowFocusRect(bool value) {
  if (showFocusRect_ == value) return;
  showFocusRect_ = value;
  Invalidate();
}

void TKxRapidFireButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (repeating_) StartRepeat(repeatTimer_, this, TNotifyEvent(this, &TKxRapidFireButton::TimerExpired), initialDelay_);
}

void TKxRapidFireButton::TimerExpired(TObject*) {
  repeatTimer_->SetInterval(delay_);
  if (GetState() != bsDown || GetCaptureControl() != this) return;
  // A click that fails ends the repeating.
  TRollback stop([this] { StopRepeat(repeatTimer_); });
  Click();
  stop.Commit();
}

void TKxRapidFireButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  StopRepeat(repeatTimer_);
}

void TKxRapidFireButton::Paint() {
  inherited::Paint();
  if (!showFocusRect_) return;
  TRect r = GetClientRect();
  InflateRect(&r, -3, -3);
  if (GetState() == bsDown) OffsetRect(&r, 1, 1);
  GetCanvas()->DrawFocusRect(r);
}

void TKxRapidFireButton::SetScrollStyle(TKxScrollStyle value) {
  scrollStyle_ = value;
  Owned<TBitmap> none(New<TBitmap>());
  SetGlyph(none.get());
  if (value != scsNone) BuildArrowGlyph();
  Invalidate();
}

void TKxRapidFireButton::BuildArrowGlyph() {
  struct TArrow {
    UINT State;
    int Width, Height;
    POINT From;
  };
  // Where the arrow lies in the system's 17 x 17 scroll button.
  static const TArrow arrows[] = {
      {0, 0, 0, {0, 0}},
      {DFCS_SCROLLLEFT, 9, 9, {4, 4}},
      {DFCS_SCROLLUP, 9, 6, {4, 5}},
      {DFCS_SCROLLRIGHT, 9, 9, {6, 4}},
      {DFCS_SCROLLDOWN, 9, 6, {4, 6}},
  };
  const TArrow& a = arrows[scrollStyle_];
  Owned<TBitmap> scratch(New<TBitmap>());
  scratch->SetSize(17, 17);
  UINT state = a.State;
  if (GetDown()) state |= DFCS_PUSHED;
  if (!GetEnabled()) state |= DFCS_INACTIVE;
  RECT whole{0, 0, 17, 17};
  DrawFrameControl(scratch->GetCanvas()->GetHandle(), &whole, DFC_SCROLL, state);
  Owned<TBitmap> glyph(New<TBitmap>());
  glyph->SetSize(a.Width, a.Height);
  glyph->GetCanvas()->CopyRect(TRect{0, 0, a.Width, a.Height}, scratch->GetCanvas(),
                               TRect{a.From.x, a.From.y, a.From.x + a.Width, a.From.y + a.Height});
  SetGlyph(glyph.get());
}

// ---------------------------------------------------------------------------
// TKxSpinButtons

namespace {

// A spin button asks its pair to take the focus before it goes down.
class TKxSpinButton : public TKxControlButton {
  DECLARE_CLASS(TKxSpinButton, TKxControlButton)
  using TKxControlButton::TKxControlButton;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    auto* pair = dynamic_cast<TKxSpinButtons*>(GetParent());
    if (button == mbLeft && pair && !pair->TakeFocusForPress()) return;
    inherited::MouseDown(button, shift, x, y);
  }
};
IMPLEMENT_CLASS(TKxSpinButton)

}  // namespace

PUBLISHED(TKxSpinButtons) {
  using C = TKxSpinButtons;
  PublishControlProps(p, {"Align", "Anchors"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Ctl3D"});
  p.Prop("Direction", &C::GetDirection, &C::SetDirection).Default(sdUpDown);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("Flat", &C::GetFlat, &C::SetFlat).Default(false);
  p.Prop("FocusControl", &C::GetFocusControl, &C::SetFocusControl);
  p.Prop("GlyphDownLeft", &C::GetGlyphDownLeft, &C::SetGlyphDownLeft).Stored(&C::IsDownLeftCustom);
  p.Prop("GlyphUpRight", &C::GetGlyphUpRight, &C::SetGlyphUpRight).Stored(&C::IsUpRightCustom);
  p.Prop("NumGlyphsDownLeft", &C::GetNumGlyphsDownLeft, &C::SetNumGlyphsDownLeft)
      .NoDefault()
      .Stored(&C::IsDownLeftCustom);
  p.Prop("NumGlyphsUpRight", &C::GetNumGlyphsUpRight, &C::SetNumGlyphsUpRight)
      .NoDefault()
      .Stored(&C::IsUpRightCustom);
  p.Prop("Orientation", &C::GetOrientation, &C::SetOrientation).Default(orVertical);
  PublishControlProps(p, {"ParentCtl3D", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
                          "Visible"});
  p.Prop("OnDownLeftClick", &C::GetOnDownLeftClick, &C::SetOnDownLeftClick);
  PublishControlProps(p, {"OnEnter", "OnExit"});
  p.Prop("OnUpRightClick", &C::GetOnUpRightClick, &C::SetOnUpRightClick);
}

TKxSpinButtons::TKxSpinButtons(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csAcceptsControls, csSetCaption});
  for (TKxControlButton** b : {&upRight_, &downLeft_}) {
    *b = New<TKxSpinButton>(this);
    (*b)->SetRepeatClicks(true);
    (*b)->SetParent(this);
  }
  upRight_->OnClick = TNotifyEvent(this, &TKxSpinButtons::UpRightClicked);
  downLeft_->OnClick = TNotifyEvent(this, &TKxSpinButtons::DownLeftClicked);
  RestoreArrows();
  TWinControl::SetColor(clBtnFace);
  SetBounds(GetLeft(), GetTop(), 16, 25);
  focusedButton_ = upRight_;
}

void TKxSpinButtons::SetColor(TColor value) {
  inherited::SetColor(value);
  if (upRight_) upRight_->SetColor(value);
  if (downLeft_) downLeft_->SetColor(value);
}

void TKxSpinButtons::SetDirection(TSpinDirection value) {
  if (direction_ == value) return;
  direction_ = value;
  upRight_->SetGlyph(nullptr);
  downLeft_->SetGlyph(nullptr);
  upRightCustom_ = downLeftCustom_ = false;
  RestoreArrows();
}

void TKxSpinButtons::RestoreArrows() {
  if (!upRightCustom_) upRight_->SetStyle(direction_ == sdUpDown ? cbsUp : cbsRight);
  if (!downLeftCustom_) downLeft_->SetStyle(direction_ == sdUpDown ? cbsDown : cbsLeft);
}

void TKxSpinButtons::SetFlat(bool value) {
  flat_ = value;
  upRight_->SetFlat(value);
  downLeft_->SetFlat(value);
}

void TKxSpinButtons::SetFocusControl(TWinControl* value) {
  if (focusControl_ == value) return;
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TKxSpinButtons::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

TBitmap* TKxSpinButtons::GetGlyphUpRight() const { return upRight_->GetGlyph(); }
TBitmap* TKxSpinButtons::GetGlyphDownLeft() const { return downLeft_->GetGlyph(); }
int TKxSpinButtons::GetNumGlyphsUpRight() const { return upRight_->GetNumGlyphs(); }
int TKxSpinButtons::GetNumGlyphsDownLeft() const { return downLeft_->GetNumGlyphs(); }
void TKxSpinButtons::SetNumGlyphsUpRight(int value) { upRight_->SetNumGlyphs(value); }
void TKxSpinButtons::SetNumGlyphsDownLeft(int value) { downLeft_->SetNumGlyphs(value); }

void TKxSpinButtons::AssignGlyph(TKxControlButton* button, TBitmap* value, bool& custom) {
  button->SetGlyph(value);
  GlyphChanged(button, custom);
}

// A glyph with a picture replaces the arrow; an empty one brings it back.
void TKxSpinButtons::GlyphChanged(TKxControlButton* button, bool& custom) {
  custom = !button->GetGlyph()->GetEmpty();
  if (custom) button->SetStyle(cbsNone);
  else RestoreArrows();
}

void TKxSpinButtons::SetGlyphUpRight(TBitmap* value) { AssignGlyph(upRight_, value, upRightCustom_); }
void TKxSpinButtons::SetGlyphDownLeft(TBitmap* value) { AssignGlyph(downLeft_, value, downLeftCustom_); }

void TKxSpinButtons::SetOrientation(TOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  if (!IsLoading()) SetWidth(value == orVertical ? GetWidth() / 2 : GetWidth() * 2);
  AdjustDimensions();
}

bool TKxSpinButtons::GetAllEnabled() const { return GetEnabled() && upRight_->GetEnabled() && downLeft_->GetEnabled(); }

void TKxSpinButtons::SetAllEnabled(bool value) {
  SetEnabled(value);
  upRight_->SetEnabled(value);
  downLeft_->SetEnabled(value);
}

void TKxSpinButtons::AdjustDimensions() {
  if (IsLoading() || !upRight_ || !downLeft_) return;
  const int w = GetWidth(), h = GetHeight();
  if (orientation_ == orVertical) {
    upRight_->SetBounds(0, 0, w, h / 2);
    downLeft_->SetBounds(0, h / 2, w, h - h / 2 - 1);
  } else {
    downLeft_->SetBounds(0, 0, w / 2, h - 1);
    upRight_->SetBounds(w / 2, 0, w - w / 2, h - 1);
  }
}

void TKxSpinButtons::SetBounds(int left, int top, int width, int height) {
  inherited::SetBounds(left, top, width, height);
  AdjustDimensions();
}

void TKxSpinButtons::WMSize(TMessage& m) {
  inherited::WMSize(m);
  AdjustDimensions();
}

void TKxSpinButtons::Loaded() {
  inherited::Loaded();
  AdjustDimensions();
}

bool TKxSpinButtons::TakeFocusForPress() {
  auto wants = [](TWinControl* c) { return c->GetTabStop() && c->CanFocus() && !c->Focused(); };
  if (focusControl_) {
    if (!wants(focusControl_)) return true;
    focusControl_->SetFocus();
    return focusControl_->Focused();
  }
  if (!wants(this)) return true;
  SetFocus();
  return Focused();
}

void TKxSpinButtons::UpRightClicked(TObject*) {
  if (OnUpRightClick) OnUpRightClick(this);
}

void TKxSpinButtons::DownLeftClicked(TObject*) {
  if (OnDownLeftClick) OnDownLeftClick(this);
}

void TKxSpinButtons::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key == VK_UP) upRight_->Click();
  else if (key == VK_DOWN) downLeft_->Click();
}

void TKxSpinButtons::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  inherited::Dispatch(m);
}

// ---------------------------------------------------------------------------
// TKxSpinEdit

PUBLISHED(TKxSpinEdit) {
  using C = TKxSpinEdit;
  p.Prop("AllowBlank", &C::GetAllowBlank, &C::SetAllowBlank).Default(false);
  p.Prop("AllowKeyEdit", &C::GetAllowKeyEdit, &C::SetAllowKeyEdit).Default(false);
  p.Prop("Alignment", &C::GetAlignment, &C::SetAlignment).Default(taRightJustify);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSelect", &C::GetAutoSelect, &C::SetAutoSelect).Default(true);
  p.Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BlankValue", &C::GetBlankValue, &C::SetBlankValue);
  p.Prop("ButtonDownGlyph", &C::GetButtonDownGlyph, &C::SetButtonDownGlyph).Stored(&C::IsButtonDownCustom);
  p.Prop("ButtonDownNumGlyphs", &C::GetButtonDownNumGlyphs, &C::SetButtonDownNumGlyphs)
      .NoDefault()
      .Stored(&C::IsButtonDownCustom);
  p.Prop("ButtonUpGlyph", &C::GetButtonUpGlyph, &C::SetButtonUpGlyph).Stored(&C::IsButtonUpCustom);
  p.Prop("ButtonUpNumGlyphs", &C::GetButtonUpNumGlyphs, &C::SetButtonUpNumGlyphs)
      .NoDefault()
      .Stored(&C::IsButtonUpCustom);
  p.Prop("ButtonWidth", &C::GetButtonWidth, &C::SetButtonWidth).Default(17);
  p.Prop("CheckRange", &C::GetCheckRange, &C::SetCheckRange).Default(false);
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  p.Prop("Decimals", &C::GetDecimals, &C::SetDecimals).Default(0);
  p.Prop("Direction", &C::GetDirection, &C::SetDirection).Default(sdUpDown);
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  PublishKxFlatButtons(p);
  PublishKxFocusColor(p);
  PublishControlProps(p, {"Font"});
  PublishKxFrameProps(p);
  p.Prop("Increment", &C::GetIncrement, &C::SetIncrement).Stored(&C::IsIncrementStored);
  p.Prop("IntegersOnly", &C::GetIntegersOnly, &C::SetIntegersOnly).Default(true);
  p.Prop("Max", &C::GetMax, &C::SetMax).Stored(&C::IsMaxStored);
  p.Prop("MaxLength", &C::GetMaxLength, &C::SetMaxLength).Default(0);
  p.Prop("Min", &C::GetMin, &C::SetMin).Stored(&C::IsMinStored);
  p.Prop("Orientation", &C::GetOrientation, &C::SetOrientation).Default(orVertical);
  p.Prop("PageSize", &C::GetPageSize, &C::SetPageSize).Stored(&C::IsPageSizeStored);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ReadOnly", &C::GetReadOnly, &C::SetReadOnly).Default(false);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("TabOnEnter", &C::GetTabOnEnter, &C::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &C::GetTabStop, &C::SetTabStop).Default(true);
  p.Prop("Value", &C::GetValue, &C::SetValue);
  PublishControlProps(p, {"Visible"});
  p.Prop("OnButtonClick", &C::GetOnButtonClick, &C::SetOnButtonClick);
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
  p.Prop("OnChanging", &C::GetOnChanging, &C::SetOnChanging);
  PublishControlProps(p, {"OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                          "OnMouseDown"});
  PublishKxMouseEvents(p);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp"});
}

TKxSpinEdit::TKxSpinEdit(TComponent* owner) : TKxCustomEdit(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csSetCaption});
  SetAlignment(taRightJustify);
  SetWidth(47);
  SetText("0");
  buttons_ = New<TKxSpinButtons>(this);
  buttons_->SetBounds(0, 0, 17, 17);
  buttons_->SetVisible(true);
  buttons_->SetFocusControl(this);
  buttons_->OnUpRightClick = TNotifyEvent(this, &TKxSpinEdit::UpClicked);
  buttons_->OnDownLeftClick = TNotifyEvent(this, &TKxSpinEdit::DownClicked);
  buttons_->SetParent(this);
}

void TKxSpinEdit::GetChildren(const TGetChildProc&, TComponent*) {}

void TKxSpinEdit::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty("FlatButtonParentColor", &TKxOldPropReader::ReadOldBooleanProp, nullptr, false);
  // A float of 0 is never written as such, so a zero Max, Increment or
  // PageSize (whose defaults are not 0) is written here under its own name.
  auto zero = [filer](const char* name, double value, auto set) {
    filer->DefineProperty(
        name, [set](TReader* r) { set(r->ReadFloat()); }, [](TWriter* w) { w->WriteFloat(0); }, value == 0);
  };
  zero("Max", max_, [this](double v) { SetMax(v); });
  zero("Increment", increment_, [this](double v) { SetIncrement(v); });
  zero("PageSize", pageSize_, [this](double v) { SetPageSize(v); });
}

double TKxSpinEdit::GetValue() {
  try {
    std::string text = GetText();
    if (!text.empty()) return StrToFloat(text);
    if (allowBlank_) return blankValue_;
    SetText(FloatToStr(min_));
    return StrToFloat(GetText());
  } catch (const Exception&) {
    return min_;
  }
}

double TKxSpinEdit::CheckValue(double value) {
  if (max_ != min_ || checkRange_) {
    if (value < min_) return min_;
    if (value > max_) return max_;
  }
  return value;
}

void TKxSpinEdit::SetValue(double value) {
  SetText(FloatToStrF(CheckValue(value), ffFixed, 18, decimals_));
}

int TKxSpinEdit::GetIntValue() { return RoundToInt(GetValue()); }

void TKxSpinEdit::ReapplyValue() { SetValue(GetValue()); }

void TKxSpinEdit::SetMin(double value) {
  if (min_ == value) return;
  min_ = value;
  if (value > max_) max_ = value;
  ReapplyValue();
  Invalidate();
}

void TKxSpinEdit::SetMax(double value) {
  if (max_ == value) return;
  max_ = value;
  if (value < min_) min_ = value;
  ReapplyValue();
  Invalidate();
}

void TKxSpinEdit::SetCheckRange(bool value) {
  checkRange_ = value;
  ReapplyValue();
}

void TKxSpinEdit::SetDecimals(uint8_t value) {
  decimals_ = value;
  ReapplyValue();
}

void TKxSpinEdit::SetIntegersOnly(bool value) {
  integersOnly_ = value;
  if (!value) return;
  decimals_ = 0;
  SetValue(static_cast<double>(Round(GetValue())));
}

bool TKxSpinEdit::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TKxSpinEdit::Step(double amount, TSpinButtonType button) {
  if (GetReadOnly()) {
    MessageBeep(0);
    return;
  }
  if (!CanChange()) return;
  SetValue(GetValue() + amount);
  if (OnButtonClick) OnButtonClick(this, button);
}

void TKxSpinEdit::IncValue(double amount) { Step(amount, sbUp); }
void TKxSpinEdit::DecValue(double amount) { Step(-amount, sbDown); }
void TKxSpinEdit::UpClicked(TObject*) { IncValue(increment_); }
void TKxSpinEdit::DownClicked(TObject*) { DecValue(increment_); }

void TKxSpinEdit::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  switch (key) {
    case VK_DELETE:
      if (!allowKeyEdit_) {
        key = 0;
        MessageBeep(0);
      }
      break;
    case VK_PRIOR: IncValue(pageSize_); break;
    case VK_NEXT: DecValue(pageSize_); break;
    case VK_UP: IncValue(increment_); break;
    case VK_DOWN: DecValue(increment_); break;
    default: break;
  }
}

bool TKxSpinEdit::DoMouseWheelUp(TShiftState shift, POINT mousePos) {
  inherited::DoMouseWheelUp(shift, mousePos);
  IncValue(shift.Contains(ssCtrl) ? pageSize_ : increment_);
  return true;
}

bool TKxSpinEdit::DoMouseWheelDown(TShiftState shift, POINT mousePos) {
  inherited::DoMouseWheelDown(shift, mousePos);
  DecValue(shift.Contains(ssCtrl) ? pageSize_ : increment_);
  return true;
}

bool TKxSpinEdit::IsValidChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (!allowKeyEdit_ && (c == '\b' || u >= 32)) return false;
  const bool isSign = c == '+' || c == '-';
  const bool isSeparator = !integersOnly_ && c == FormatSettings.DecimalSeparator;
  if (u < 32) return c != '\r';
  if (c >= '0' && c <= '9') return true;
  if (isSeparator) return KxDecimalSeparatorFits(this);
  if (!isSign) return false;
  const std::string text = GetText();
  const bool signed_ = text.find('+') != std::string::npos || text.find('-') != std::string::npos;
  if (GetSelStart() == 0 && !signed_) return true;
  return GetSelLength() == static_cast<int>(text.size());
}

void TKxSpinEdit::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (key != 0 && !IsValidChar(key)) {
    key = 0;
    MessageBeep(0);
  }
}

void TKxSpinEdit::WMPaste(TMessage& m) {
  if (allowKeyEdit_ && !GetReadOnly()) inherited::WMPaste(m);
}

void TKxSpinEdit::WMCut(TMessage& m) {
  if (allowKeyEdit_ && !GetReadOnly()) inherited::WMCut(m);
}

void TKxSpinEdit::ResizeButtons() {
  if (IsLoading() || !buttons_) return;
  int minHeight = GetMinFontHeight(GetFont());
  if (GetHeight() < minHeight) {
    SetHeight(minHeight);
    return;
  }
  const int w = buttons_->GetWidth(), width = GetWidth(), height = GetHeight();
  if (UseRightToLeftAlignment()) buttons_->SetBounds(0, 0, w, height - 3);
  else if (GetFrameVisible() || GetCtl3D()) {
    if (ThemeServices().GetThemesEnabled()) buttons_->SetBounds(width - w - 3, -1, w, height - 1);
    else buttons_->SetBounds(width - w - 4, 0, w, height - 3);
  } else {
    buttons_->SetBounds(width - w - 1, 1, w, height - 3);
  }
  SetEditRect();
}

void TKxSpinEdit::SetEditRect() {
  if (IsLoading() || !HandleAllocated() || !buttons_) return;
  const int margin = buttons_->GetWidth() + 2;
  LPARAM margins = UseRightToLeftAlignment() ? MAKELONG(margin, 0) : MAKELONG(0, margin);
  SendMessageA(GetWindowHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, margins);
}

// With AutoSize the edit's height follows its font when its window is made
// (TCustomEdit::AdjustHeight), as every edit's does. The window control's
// own rule, which fits the client area around the children, does not apply:
// the buttons child is laid over the edit's right edge by ResizeButtons, not
// held by it. That rule measured the client area through a window, which a
// spin edit sized before it has a parent cannot have ("has no parent
// window"), and held a placed edit at its buttons' old right edge, so a new
// width was refused.
bool TKxSpinEdit::CanAutoSize(int&, int&) { return true; }

TRect TKxSpinEdit::GetEditRect() {
  TRect r = GetClientRect();
  if (buttons_) r.right -= buttons_->GetWidth() + 2;
  return r;
}

void TKxSpinEdit::SetButtonWidth(int value) {
  if (value < 0) value = 0;
  buttonWidth_ = value;
  buttons_->SetWidth(buttons_->GetOrientation() == orVertical ? value : value * 2);
  ResizeButtons();
  Invalidate();
}

void TKxSpinEdit::SetOrientation(TOrientation value) {
  buttons_->SetOrientation(value);
  ResizeButtons();
}

void TKxSpinEdit::SetFrameStyle(TFrameStyle value) {
  inherited::SetFrameStyle(value);
  ResizeButtons();
}

void TKxSpinEdit::SetFlatButtons(bool value) {
  inherited::SetFlatButtons(value);
  if (!buttons_) return;
  buttons_->SetFlat(value);
  ResizeButtons();
}

void TKxSpinEdit::UpdateFrame(bool isMouse, bool value) {
  inherited::UpdateFrame(isMouse, value);
  if (!GetFlatButtons() || !buttons_) return;
  const bool hot = focused_ || mouseOver_;
  if (ThemeServices().GetThemesEnabled()) {
    buttons_->SetFlat(!hot);
    buttons_->SetColor(GetColor());
  } else {
    buttons_->SetColor(hot ? GetFlatButtonColor() : GetColor());
  }
}

void TKxSpinEdit::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

void TKxSpinEdit::CreateWnd() {
  inherited::CreateWnd();
  SetEditRect();
}

void TKxSpinEdit::Loaded() {
  inherited::Loaded();
  ResizeButtons();
}

void TKxSpinEdit::WMSize(TMessage& m) {
  inherited::WMSize(m);
  ResizeButtons();
}

void TKxSpinEdit::CMEnter(TMessage& m) {
  inherited::CMEnter(m);
  SetEditRect();
  if (GetAutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
}

void TKxSpinEdit::CMExit(TMessage& m) {
  inherited::CMExit(m);
  SetEditRect();
  if (allowBlank_ && GetText().empty()) return;
  double value = min_;
  TryStrToFloat(GetText(), value);
  SetValue(value);
}

void TKxSpinEdit::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  SetEditRect();
  if (!buttons_) return;
  buttons_->SetAllEnabled(GetEnabled());
  if (GetFlatButtons()) buttons_->SetColor(GetColor());
}

void TKxSpinEdit::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  SetEditRect();
  if (buttons_) buttons_->SetAllEnabled(GetEnabled());
}

// ---------------------------------------------------------------------------
// TKxSpinner

PUBLISHED(TKxSpinner) {
  using C = TKxSpinner;
  PublishControlProps(p, {"Anchors"});
  p.Prop("ButtonColor", &C::GetButtonColor, &C::SetButtonColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("ButtonWidth", &C::GetButtonWidth, &C::SetButtonWidth).Default(18);
  p.Prop("CheckRange", &C::GetCheckRange, &C::SetCheckRange).Default(false);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("FrameColor", &C::GetFrameColor, &C::SetFrameColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("GlyphMinus", &C::GetGlyphMinus, nullptr).Stored(false);
  p.Prop("GlyphPlus", &C::GetGlyphPlus, nullptr).Stored(false);
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Default(18);
  p.Prop("ImageIndexMinus", &C::GetImageIndexMinus, &C::SetImageIndexMinus).Default(-1);
  p.Prop("ImageIndexPlus", &C::GetImageIndexPlus, &C::SetImageIndexPlus).Default(-1);
  p.Prop("Images", &C::GetImages, &C::SetImages);
  p.Prop("Increment", &C::GetIncrement, &C::SetIncrement).Default(1);
  p.Prop("Max", &C::GetMax, &C::SetMax).Default(100);
  p.Prop("Min", &C::GetMin, &C::SetMin).Default(0);
  p.Prop("PageSize", &C::GetPageSize, &C::SetPageSize).Default(10);
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  p.Prop("TabOnEnter", &C::GetTabOnEnter, &C::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(true);
  p.Prop("Value", &C::GetValue, &C::SetValue).Default(0);
  PublishControlProps(p, {"Visible"});
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(80);
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
  p.Prop("OnChanging", &C::GetOnChanging, &C::SetOnChanging);
  PublishControlProps(p, {"OnClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp"});
}

TKxSpinner::TKxSpinner(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
  SetParentColor(false);
  SetBounds(GetLeft(), GetTop(), 80, 18);
  glyphMinus_ = New<TBitmap>();
  glyphPlus_ = New<TBitmap>();
  imageLink_ = New<TChangeLink>();
  imageLink_->SetOnChange(TNotifyEvent(this, &TKxSpinner::ImagesChanged));
  // The first 32-bit Windows have no hand cursor of their own.
  if (RunningUnder(Win95) || RunningUnder(WinNT)) {
    buttonCursor_ = CreateKxHandCursor();
    ownsCursor_ = buttonCursor_ != nullptr;
  }
  if (!buttonCursor_) buttonCursor_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
}

void TKxSpinner::Destroy() {
  inherited::Destroy();
  FreeAndNil(imageLink_);
  FreeAndNil(glyphMinus_);
  FreeAndNil(glyphPlus_);
  if (ownsCursor_) DestroyCursor(buttonCursor_);
  buttonCursor_ = nullptr;
}

void TKxSpinner::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty("NumGlyphsMinus", &TKxOldPropReader::ReadOldIntegerProp, nullptr, false);
  filer->DefineProperty("NumGlyphsPlus", &TKxOldPropReader::ReadOldIntegerProp, nullptr, false);
  filer->DefineProperty("Flat", &TKxOldPropReader::ReadOldBooleanProp, nullptr, false);
}

void TKxSpinner::SetButtonColor(TColor value) {
  buttonColor_ = value;
  Invalidate();
}

void TKxSpinner::SetButtonWidth(int value) {
  buttonWidth_ = value;
  Invalidate();
}

void TKxSpinner::SetFrameColor(TColor value) {
  frameColor_ = value;
  Invalidate();
}

void TKxSpinner::SetImageIndexMinus(int value) {
  imageIndexMinus_ = value;
  Invalidate();
}

void TKxSpinner::SetImageIndexPlus(int value) {
  imageIndexPlus_ = value;
  Invalidate();
}

void TKxSpinner::SetImages(TCustomImageList* value) {
  if (images_) images_->UnRegisterChanges(imageLink_);
  images_ = value;
  if (images_) {
    images_->RegisterChanges(imageLink_);
    images_->FreeNotification(this);
    CheckMinSize();
  }
  Invalidate();
}

void TKxSpinner::ImagesChanged(TObject*) {
  CheckMinSize();
  Invalidate();
}

void TKxSpinner::CheckMinSize() {
  if (!images_) return;
  if (buttonWidth_ < images_->GetWidth()) buttonWidth_ = images_->GetWidth() + 4;
  if (GetHeight() < images_->GetHeight()) SetHeight(images_->GetHeight() + 4);
}

void TKxSpinner::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) SetImages(nullptr);
}

int TKxSpinner::CheckValue(int value) {
  if (min_ != max_ || checkRange_) {
    if (value < min_) return min_;
    if (value > max_) return max_;
  }
  return value;
}

bool TKxSpinner::CanChange(int value) {
  bool allow = true;
  if (OnChanging) OnChanging(this, value, allow);
  return allow;
}

void TKxSpinner::Change() {
  if (OnChange) OnChange(this);
}

void TKxSpinner::SetValue(int value) {
  value = CheckValue(value);
  if (value == value_ || !CanChange(value)) return;
  value_ = value;
  Invalidate();
  Change();
  UpdateObjectInspector(this);
}

void TKxSpinner::SetMin(int value) {
  min_ = value;
  if (max_ < value) max_ = value;
  SetValue(value_);
  Invalidate();
}

void TKxSpinner::SetMax(int value) {
  max_ = value;
  if (min_ > value) min_ = value;
  SetValue(value_);
  Invalidate();
}

void TKxSpinner::SetCheckRange(bool value) {
  checkRange_ = value;
  SetValue(value_);
}

void TKxSpinner::Paint() {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  c->GetPen()->SetColor(frameColor_);
  if (GetEnabled()) {
    c->GetBrush()->SetColor(GetColor());
  } else {
    c->GetBrush()->SetColor(clBtnFace);
    c->GetFont()->SetColor(clBtnShadow);
  }
  TRect value{buttonWidth_ - 1, 0, GetWidth() - buttonWidth_ + 1, GetHeight()};
  c->Rectangle(value);
  TRect inner = value;
  InflateRect(&inner, -1, -1);
  const std::string text = std::to_string(value_);
  SIZE extent{};
  GetTextExtentPoint32A(c->GetHandle(), text.c_str(), static_cast<int>(text.size()), &extent);
  UINT oldAlign = SetTextAlign(c->GetHandle(), TA_CENTER);
  c->TextRect(inner, GetWidth() / 2, inner.top + (inner.bottom - inner.top - extent.cy) / 2, text);
  SetTextAlign(c->GetHandle(), oldAlign);
  DrawButton(false, minusDown_, MinusRect());
  DrawButton(true, plusDown_, PlusRect());
  if (Focused()) c->DrawFocusRect(inner);
}

void TKxSpinner::DrawButton(bool isPlus, bool down, const TRect& r) {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(down ? clBtnShadow : buttonColor_);
  c->GetPen()->SetColor(frameColor_);
  c->Rectangle(r);
  const TColor ink = GetEnabled() ? clActiveCaption : clBtnShadow;
  c->GetPen()->SetColor(ink);
  c->GetBrush()->SetColor(ink);
  const int index = isPlus ? imageIndexPlus_ : imageIndexMinus_;
  if (images_ && index != -1) {
    c->GetBrush()->SetColor(down ? clBtnShadow : buttonColor_);
    c->GetPen()->SetColor(frameColor_);
    c->Rectangle(r);
    int x = r.left + (r.right - r.left - images_->GetWidth()) / 2;
    int y = r.top + (r.bottom - r.top - images_->GetHeight()) / 2;
    images_->Draw(c, x, y, index, GetEnabled());
  } else {
    const int h = GetHeight(), bw = buttonWidth_, w = GetWidth();
    if (!isPlus) {
      c->Rectangle(4, h / 2 - 1, bw - 4, h / 2 + 1);
    } else {
      c->Rectangle(w - bw + 4, h / 2 - 1, w - 4, h / 2 + 1);
      c->Rectangle(w - bw / 2 - 1, h / 2 - bw / 2 + 4, w - bw / 2 + 1, h / 2 + bw / 2 - 4);
    }
  }
  c->GetPen()->SetColor(clWindowText);
  c->GetBrush()->SetColor(clWindow);
}

int TKxSpinner::ButtonAt(POINT p) const {
  TRect minus = MinusRect(), plus = PlusRect();
  if (PtInRect(&plus, p)) return 1;
  if (PtInRect(&minus, p)) return -1;
  return 0;
}

int TKxSpinner::ButtonUnderCursor() { return ButtonAt(ScreenToClient(Mouse().GetCursorPos())); }

void TKxSpinner::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (!IsDesigning() && CanFocus()) SetFocus();
  if (button != mbLeft) return;
  int which = ButtonAt(POINT{x, y});
  if (!which) return;
  (which > 0 ? plusDown_ : minusDown_) = true;
  StartRepeat(repeatTimer_, this, TNotifyEvent(this, &TKxSpinner::TimerExpired), initialDelay_);
  Repaint();
}

void TKxSpinner::TimerExpired(TObject*) {
  repeatTimer_->SetInterval(delay_);
  // A step that fails ends the repeating.
  TRollback stop([this] { StopRepeat(repeatTimer_); });
  int which = ButtonUnderCursor();
  if (which > 0) IncValue(increment_);
  else if (which < 0) DecValue(increment_);
  stop.Commit();
}

void TKxSpinner::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  int which = ButtonUnderCursor();
  if (which > 0) IncValue(increment_);
  else if (which < 0) DecValue(increment_);
  StopRepeat(repeatTimer_);
  minusDown_ = plusDown_ = false;
  Repaint();
}

void TKxSpinner::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  switch (key) {
    case VK_PRIOR: IncValue(pageSize_); break;
    case VK_NEXT: DecValue(pageSize_); break;
    case VK_UP:
    case VK_RIGHT:
    case VK_ADD: IncValue(increment_); break;
    case VK_DOWN:
    case VK_LEFT:
    case VK_SUBTRACT: DecValue(increment_); break;
    default: break;
  }
}

void TKxSpinner::KeyPress(char& key) {
  if (tabOnEnter_ && key == '\r') {
    key = 0;
    PostMessageA(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  inherited::KeyPress(key);
}

bool TKxSpinner::DoMouseWheelUp(TShiftState shift, POINT mousePos) {
  inherited::DoMouseWheelUp(shift, mousePos);
  IncValue(shift.Contains(ssCtrl) ? pageSize_ : increment_);
  return true;
}

bool TKxSpinner::DoMouseWheelDown(TShiftState shift, POINT mousePos) {
  inherited::DoMouseWheelDown(shift, mousePos);
  DecValue(shift.Contains(ssCtrl) ? pageSize_ : increment_);
  return true;
}

void TKxSpinner::DoEnter() {
  inherited::DoEnter();
  Invalidate();
}

void TKxSpinner::DoExit() {
  inherited::DoExit();
  Invalidate();
}

void TKxSpinner::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  Invalidate();
}

void TKxSpinner::CMDesignHitTest(TMessage& m) {
  TWMMouse mouse(m);
  m.Result = ButtonAt(mouse.Pos()) != 0 ? 1 : 0;
}

void TKxSpinner::WMSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT && ButtonUnderCursor() != 0) {
    ::SetCursor(buttonCursor_);
    m.Result = 1;
    return;
  }
  inherited::WMSetCursor(m);
}

void TKxSpinner::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    inherited::Dispatch(m);
    m.Result |= DLGC_WANTARROWS;
    return;
  }
  inherited::Dispatch(m);
}

// ---------------------------------------------------------------------------

void InitializeKxSpnEdt() {
  RegisterClasses({TKxRapidFireButton::StaticClass(), TKxSpinButtons::StaticClass(), TKxSpinEdit::StaticClass(),
                   TKxSpinner::StaticClass()});
}

void FinalizeKxSpnEdt() {
  for (TClass c : {TKxSpinner::StaticClass(), TKxSpinEdit::StaticClass(), TKxSpinButtons::StaticClass(),
                   TKxRapidFireButton::StaticClass()})
    UnRegisterClass(c);
}
