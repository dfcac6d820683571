// KxButton: the buttons that drop menus and live on toolbars
// (TKxMenuButton, TKxToolbarButton, TKxMenuToolbarButton, TKxToolButton).
#include <algorithm>

#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/TypInfo.h"
#include "kx/controls/KxButton.h"
#include "kx/foundation/KxGrafx.h"

namespace {

// The width of the drop-down part of the buttons that have one.
constexpr int kDropDownWidth = 14;

// A filled triangle with the apex at (x, y), pointing down, half base b.
void DownTriangle(TCanvas* canvas, int x, int y, int b, TColor color) {
  canvas->GetPen()->SetColor(color);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(color);
  const TPoint points[3] = {{x, y}, {x - b, y - b}, {x + b, y - b}};
  canvas->Polygon(points, 3);
}

void VLine(TCanvas* canvas, int x, int top, int bottom, TColor color) {
  KxFillSolid(canvas, TRect{x, top, x + 1, bottom}, color);
}

bool IsOnlyLeft(TShiftState shift) { return shift == TShiftState{ssLeft}; }

// A published property of the parent toolbar, read by name.
int64_t ToolbarOrd(TWinControl* toolbar, const char* name, int64_t def) {
  PPropInfo info = toolbar ? GetPropInfo(toolbar, name) : nullptr;
  return info ? GetOrdProp(toolbar, info) : def;
}

}  // namespace

// --- dropping menus ------------------------------------------------------------------------

void KxPopupMenuUnder(TControl* button, TPopupMenu* menu) {
  if (!button || !menu) return;
  POINT anchor = button->ClientToScreen(POINT{0, button->GetHeight()});
  int menuWidth = 0;
  {
    Owned<TControlCanvas> canvas = MakeOwned<TControlCanvas>();
    canvas->SetControl(button);
    canvas->GetFont()->Assign(Screen->GetMenuFont());
    TMenuItem* items = menu->GetItems();
    for (int i = 0; i < items->GetCount(); ++i)
      menuWidth = std::max(menuWidth, canvas->TextWidth(items->GetItem(i)->GetCaption()));
    menuWidth += 56;
  }
  int limit = -1;
  for (int i = 0; i < Screen->GetMonitorCount(); ++i) {
    TMonitor* monitor = Screen->GetMonitors(i);
    TRect bounds = GetMonitorBoundsRect(monitor);
    if (PtInRect(&bounds, anchor)) {
      limit = GetMonitorWorkArea(monitor).right;
      break;
    }
  }
  if (limit < 0) limit = GetActiveWorkAreaWidth(button->GetParent());
  int x = anchor.x;
  if (x + menuWidth > limit) x += button->GetWidth() - menuWidth;
  menu->SetPopupComponent(button);
  menu->Popup(x, anchor.y);
}

bool TKxMenuDropGuard::Press(const std::function<void()>& drop) {
  // The time since the menu closed is a difference of ticks, which stays
  // right when the counter wraps to 0 in between (every 49.7 days).
  if (dropped_ && Seams().TickCount() - dropTime_ < 100) {
    // The press that closed the menu: it must not open it again.
    dropped_ = false;
    ReleaseCapture();
    skipClick_ = true;
    return false;
  }
  drop();
  skipClick_ = true;
  dropTime_ = Seams().TickCount();
  dropped_ = true;
  return true;
}

// --- TKxMenuButton ------------------------------------------------------------------------------

PUBLISHED(TKxMenuButton) {
  using C = TKxMenuButton;
  p.Prop("DropDownMenu", &C::GetDropDownMenu, &C::SetDropDownMenu);
  p.Prop("ShowArrow", &C::GetShowArrow, &C::SetShowArrow).Default(true);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(110);
  p.Prop("OnDropDown", &C::GetOnDropDown, &C::SetOnDropDown);
}

TKxMenuButton::TKxMenuButton(TComponent* owner) : TKxBitBtn(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csDoubleClicks});
  SetDragMode(dmManual);
  SetWidth(110);
}

void TKxMenuButton::SetDropDownMenu(TPopupMenu* value) { KxReplaceReference(this, dropDownMenu_, value); }

void TKxMenuButton::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TKxMenuButton::SetShowArrow(bool value) { Store(showArrow_, value); }

void TKxMenuButton::DropDown() {
  if (OnDropDown) OnDropDown(dropDownMenu_);
}

void TKxMenuButton::DoDropDown() {
  if (!dropDownMenu_) return;
  DropDown();
  KxPopupMenuUnder(this, dropDownMenu_);
}

void TKxMenuButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft || !IsOnlyLeft(shift) || !dropDownMenu_) return;
  guard_.Press([this] { DoDropDown(); });
  MouseUp(button, shift, x, y);
}

void TKxMenuButton::Click() {
  if (guard_.TakeSkip()) return;
  if (!dropDownMenu_ || dialogKeyClick_) {
    TKxButton::Click();
    return;
  }
  // Space and the accelerator open the menu as a press would.
  MouseDown(mbLeft, TShiftState{ssLeft}, 0, 0);
}

void TKxMenuButton::CMDialogKey(TMessage& m) {
  TRestore byKey(dialogKeyClick_, true);
  inherited::CMDialogKey(m);
}

void TKxMenuButton::WMKeyDown(TMessage& m) {
  if (TWMKey(m).CharCode() != VK_F4) {
    inherited::WMKeyDown(m);
    return;
  }
  DoDropDown();
  guard_.SkipNextClick();
}

TRect TKxMenuButton::GetCaptionRect() {
  TRect r = inherited::GetCaptionRect();
  if (showArrow_) r.right -= kDropDownWidth;
  return r;
}

TRect TKxMenuButton::GetGlyphRect() {
  TRect r = inherited::GetGlyphRect();
  if (!showArrow_) return r;
  int dx = 0;
  if (GetLayout() == blGlyphRight) dx = kDropDownWidth;
  else if (GetLayout() == blGlyphTop || GetLayout() == blGlyphBottom) dx = kDropDownWidth / 2;
  OffsetRect(&r, -dx, 0);
  return r;
}

void TKxMenuButton::Paint() {
  TKxButton::Paint();
  if (!showArrow_) return;
  TRect client = GetClientRect();
  int shift = GetShowingPressed() ? 0 : 1;
  int x = client.right - 11 - shift;
  int y = (client.top + client.bottom) / 2 - shift;
  DownTriangle(GetCanvas(), x, y + 3, 3, GetEnabled() ? clWindowText : clBtnShadow);
}

// --- TKxToolbarButton ----------------------------------------------------------------------------

PUBLISHED(TKxToolbarButton) {
  using C = TKxToolbarButton;
  p.Prop("Caption", &C::GetCaption, &C::SetCaption).Stored(&TControl::IsCaptionStored);
  p.Prop("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(true);
  p.Prop("HotGlyph", &C::GetHotGlyph, &C::SetHotGlyph);
  p.Prop("HotNumGlyphs", &C::GetHotNumGlyphs, &C::SetHotNumGlyphs).Default(1);
  p.Prop("IgnoreActionCaption", &C::GetIgnoreActionCaption, &C::SetIgnoreActionCaption).Default(false);
  p.Prop("ShowCaption", &C::GetShowCaption, &C::SetShowCaption).Default(true);
  p.Prop("UseHotGlyph", &C::GetUseHotGlyph, &C::SetUseHotGlyph).Default(false);
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
}

TKxToolbarButton::TKxToolbarButton(TComponent* owner) : TSpeedButton(owner) {
  hotGlyph_ = New<TBitmap>();
  hotGlyph_->SetOnChange(TNotifyEvent(this, &TKxToolbarButton::HotGlyphChanged));
  normalGlyph_ = New<TBitmap>();
  SetFlat(true);
}

void TKxToolbarButton::Destroy() {
  inherited::Destroy();
  FreeAndNil(normalGlyph_);
  FreeAndNil(hotGlyph_);
}

void TKxToolbarButton::HotGlyphChanged(TObject*) { hotNumGlyphs_ = KxGlyphCells(hotGlyph_); }

void TKxToolbarButton::SetHotNumGlyphs(int value) {
  if (hotNumGlyphs_ == value) return;
  hotNumGlyphs_ = value;
  Invalidate();
}

void TKxToolbarButton::SetHotGlyph(TBitmap* value) {
  hotGlyph_->Assign(value);
  useHotGlyph_ = true;
}

std::string TKxToolbarButton::GetCaption() { return TControl::GetCaption(); }

void TKxToolbarButton::SetCaption(const std::string& value) {
  if (showCaption_) TControl::SetCaption(value);
  else savedCaption_ = value;
}

void TKxToolbarButton::SetShowCaption(bool value) {
  if (showCaption_ == value) return;
  showCaption_ = value;
  if (!value) {
    savedCaption_ = TControl::GetCaption();
    TControl::SetCaption("");
  } else {
    TControl::SetCaption(savedCaption_);
    savedCaption_.clear();
  }
}

void TKxToolbarButton::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty(
      "SaveCaption", [this](TReader* r) { savedCaption_ = r->ReadString(); },
      [this](TWriter* w) { w->WriteString(savedCaption_); }, !showCaption_);
}

void TKxToolbarButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (useHotGlyph_) glyphSwapped_ = true;
  inherited::MouseDown(button, shift, x, y);
}

void TKxToolbarButton::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  mouseOver_ = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if (!useHotGlyph_ || !GetEnabled()) return;
  if (glyphSwapped_) {
    glyphSwapped_ = false;
  } else {
    glyphSwapped_ = true;
    normalGlyph_->Assign(GetGlyph());
    savedNumGlyphs_ = GetNumGlyphs();
    SetGlyph(hotGlyph_);
    SetNumGlyphs(hotNumGlyphs_);
  }
  Repaint();
}

void TKxToolbarButton::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  mouseOver_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (savedNumGlyphs_ != 0) {
    SetGlyph(normalGlyph_);
    SetNumGlyphs(savedNumGlyphs_);
    savedNumGlyphs_ = 0;
  }
  glyphSwapped_ = false;
  Repaint();
}

void TKxToolbarButton::CMDialogChar(TMessage& m) {
  TWinControl* parent = GetParent();
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && GetEnabled() && GetVisible() && parent &&
      parent->GetShowing()) {
    if (GetGroupIndex() > 0) {
      SetDown(!GetDown());
      if (GetDown()) Repaint();
    }
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TKxToolbarButton::ActionChange(TObject* sender, bool checkDefaults) {
  std::string caption = GetCaption();
  inherited::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  TCustomImageList* images = action->GetImages();
  int index = action->GetImageIndex();
  if (images && index >= 0 && index < images->GetCount()) {
    Owned<TBitmap> glyph = MakeOwned<TBitmap>();
    glyph->SetPixelFormat(pf24bit);
    glyph->SetSize(images->GetWidth(), images->GetHeight());
    KxFillSolid(glyph->GetCanvas(), TRect{0, 0, images->GetWidth(), images->GetHeight()}, clFuchsia);
    images->Draw(glyph->GetCanvas(), 0, 0, index);
    SetGlyph(glyph.get());
  }
  if (ignoreActionCaption_) TControl::SetCaption(caption);
  if (!checkDefaults || !GetDown()) SetDown(action->GetChecked());
}

TClass TKxToolbarButton::GetActionLinkClass() { return TKxToolbarButtonActionLink::StaticClass(); }

IMPLEMENT_CLASS(TKxToolbarButtonActionLink)

bool TKxToolbarButtonActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && CustomAction() && buttonClient_ &&
         CustomAction()->GetChecked() == buttonClient_->GetDown();
}

bool TKxToolbarButtonActionLink::IsCaptionLinked() {
  auto* button = dynamic_cast<TKxToolbarButton*>(buttonClient_);
  if (button && button->GetIgnoreActionCaption()) return false;
  return inherited::IsCaptionLinked();
}

void TKxToolbarButtonActionLink::SetChecked(bool v) {
  if (IsCheckedLinked() && buttonClient_) buttonClient_->SetDown(v);
}

// --- TKxMenuToolbarButton ----------------------------------------------------------------------------

PUBLISHED(TKxMenuToolbarButton) {
  using C = TKxMenuToolbarButton;
  p.Prop("DropDownMenu", &C::GetDropDownMenu, &C::SetDropDownMenu);
  p.Prop("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(2);
  p.Prop("ShowArrow", &C::GetShowArrow, &C::SetShowArrow).Default(true);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(40);
  p.Prop("OnDropDown", &C::GetOnDropDown, &C::SetOnDropDown);
}

TKxMenuToolbarButton::TKxMenuToolbarButton(TComponent* owner) : TKxToolbarButton(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csDoubleClicks});
  SetDragMode(dmManual);
  SetMargin(2);
  SetWidth(40);
}

void TKxMenuToolbarButton::SetDropDownMenu(TPopupMenu* value) { KxReplaceReference(this, dropDownMenu_, value); }

void TKxMenuToolbarButton::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TKxMenuToolbarButton::SetShowArrow(bool value) {
  if (showArrow_ == value) return;
  showArrow_ = value;
  Invalidate();
}

void TKxMenuToolbarButton::DropDown() {
  if (OnDropDown) OnDropDown(dropDownMenu_);
}

void TKxMenuToolbarButton::DoDropDown() {
  if (!dropDownMenu_) return;
  DropDown();
  KxPopupMenuUnder(this, dropDownMenu_);
  // A group button the menu was for goes down with it.
  if (GetGroupIndex() > 0 && !GetDown()) Click();
}

void TKxMenuToolbarButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft || !IsOnlyLeft(shift) || !dropDownMenu_) return;
  if (showArrow_ && x < GetWidth() - 15) return;
  guard_.Press([this] { DoDropDown(); });
  MouseUp(button, shift, x, y);
}

void TKxMenuToolbarButton::Click() {
  if (guard_.TakeSkip()) return;
  inherited::Click();
}

void TKxMenuToolbarButton::Paint() {
  inherited::Paint();
  if (!showArrow_) return;
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  bool pressed = GetState() == bsDown || GetState() == bsExclusive;
  if ((GetMouseOver() && GetEnabled()) || !GetFlat()) {
    int x = GetWidth() - 15 + (pressed ? 1 : 0);
    if (!pressed) VLine(canvas, x, client.top, client.bottom, clBtnHighlight);
    VLine(canvas, x - 1, client.top, client.bottom, clBtnShadow);
  }
  int apexX = client.right - 7 - (pressed ? 0 : 1);
  int apexY = (client.top + client.bottom) / 2 + 2 + (pressed ? 1 : 0);
  DownTriangle(canvas, apexX, apexY, 3, GetEnabled() ? clWindowText : clBtnShadow);
}

// --- TKxToolButton ----------------------------------------------------------------------------------------

DEFINE_ENUM_TYPE(TKxToolStyle, "tsButton", "tsDropDown")

PUBLISHED(TKxToolButton) {
  using C = TKxToolButton;
  PublishControlProps(p, {"Action"});
  p.Prop("AllowAllUp", &C::GetAllowAllUp, &C::SetAllowAllUp).Default(false);
  PublishControlProps(p, {"Anchors", "Caption"});
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clBtnFace)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  p.Prop("DisabledIndex", &C::GetDisabledIndex, &C::SetDisabledIndex).Default(-1);
  p.Prop("Down", &C::GetDown, &C::SetDown).Default(false).Stored(&C::IsDownStored);
  p.Prop("DownIndex", &C::GetDownIndex, &C::SetDownIndex).Default(-1);
  p.Prop("DropDownMenu", &C::GetDropDownMenu, &C::SetDropDownMenu);
  PublishControlProps(p, {"Enabled"});
  p.Prop("Flat", &C::GetFlat, &C::SetFlat).Default(true);
  PublishControlProps(p, {"Font"});
  p.Prop("GroupIndex", &C::GetGroupIndex, &C::SetGroupIndex).Default(0);
  p.Prop("Height", &C::GetHeight, &C::SetHeight).NoDefault().Stored(&C::IsHeightStored);
  p.Prop("HotIndex", &C::GetHotIndex, &C::SetHotIndex).Default(-1);
  p.Prop("ImageIndex", &C::GetImageIndex, &C::SetImageIndex).Default(-1).Stored(&C::IsImageIndexStored);
  p.Prop("Images", &C::GetImages, &C::SetImages);
  p.Prop("Layout", &C::GetLayout, &C::SetLayout).Default(blGlyphLeft).Stored(&C::IsLayoutStored);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowCaption", &C::GetShowCaption, &C::SetShowCaption).Default(false).Stored(&C::IsShowCaptionStored);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("ToolStyle", &C::GetToolStyle, &C::SetToolStyle).Default(tsButton);
  p.Prop("Transparent", &C::GetTransparent, &C::SetTransparent).Default(true);
  p.Prop("UseToolbarButtonLayout", &C::GetUseToolbarButtonLayout, &C::SetUseToolbarButtonLayout).Default(true);
  p.Prop("UseToolbarButtonSize", &C::GetUseToolbarButtonSize, &C::SetUseToolbarButtonSize).Default(true);
  p.Prop("UseToolbarShowCaption", &C::GetUseToolbarShowCaption, &C::SetUseToolbarShowCaption).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("Width", &C::GetWidth, &C::SetWidth).NoDefault().Stored(&C::IsWidthStored);
  PublishControlProps(p, {"OnClick"});
  p.Prop("OnDropDown", &C::GetOnDropDown, &C::SetOnDropDown);
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
}

TKxToolButton::TKxToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse});
  SetBounds(GetLeft(), GetTop(), 25, 25);
  SetColor(clBtnFace);
  imageChangeLink_ = New<TChangeLink>();
  imageChangeLink_->SetOnChange(TNotifyEvent(this, &TKxToolButton::ImageListChange));
}

void TKxToolButton::Destroy() {
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  images_ = nullptr;
  inherited::Destroy();
  FreeAndNil(imageChangeLink_);
}

bool TKxToolButton::Themed() const { return ThemeServices().GetThemesEnabled(); }

TWinControl* TKxToolButton::GetToolbar() const {
  TWinControl* parent = GetParent();
  if (!parent) return nullptr;
  for (TClass c = parent->ClassType(); c; c = c->ClassParent())
    if (c->ClassNameIs("TKxToolbar")) return parent;
  return nullptr;
}

TCustomImageList* TKxToolButton::ImageList() const {
  if (images_) return images_;
  TWinControl* toolbar = GetToolbar();
  PPropInfo info = toolbar ? GetPropInfo(toolbar, "Images") : nullptr;
  return info ? dynamic_cast<TCustomImageList*>(GetObjectProp(toolbar, info)) : nullptr;
}

bool TKxToolButton::IsWidthStored() const {
  TWinControl* toolbar = GetToolbar();
  return !(useToolbarButtonSize_ && toolbar && GetWidth() == ToolbarOrd(toolbar, "ButtonWidth", -1));
}

bool TKxToolButton::IsHeightStored() const {
  TWinControl* toolbar = GetToolbar();
  return !(useToolbarButtonSize_ && toolbar && GetHeight() == ToolbarOrd(toolbar, "ButtonHeight", -1));
}

bool TKxToolButton::IsDownStored() const {
  TControlActionLink* link = GetActionLink();
  return !link || !link->IsCheckedLinked();
}

bool TKxToolButton::IsImageIndexStored() const {
  TControlActionLink* link = GetActionLink();
  return !link || !link->IsImageIndexLinked();
}

void TKxToolButton::SetStateInvalidate(int state) {
  if (state_ == state) return;
  state_ = state;
  Invalidate();
}

// --- properties ---

void TKxToolButton::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  SendToolbarMessage(0);
}

void TKxToolButton::SetDown(bool value) { TrySetDown(value); }

bool TKxToolButton::TrySetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return true;
  if (down_ && !allowAllUp_) return false;
  down_ = value;
  if (value) {
    state_ = bsExclusive;
    Invalidate();
    SendToolbarMessage(0);
  } else {
    state_ = bsUp;
    Repaint();
  }
  return true;
}

void TKxToolButton::SetDropDownMenu(TPopupMenu* value) { KxReplaceReference(this, dropDownMenu_, value); }

void TKxToolButton::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  Invalidate();
}

void TKxToolButton::SetGroupIndex(int value) {
  if (toolStyle_ == tsDropDown) value = 0;
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  SendToolbarMessage(0);
}

void TKxToolButton::SetHotIndex(int value) {
  if (hotIndex_ == value) return;
  hotIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetDownIndex(int value) {
  if (downIndex_ == value) return;
  downIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetDisabledIndex(int value) {
  if (disabledIndex_ == value) return;
  disabledIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetImages(TCustomImageList* value) {
  if (!KxReplaceImages(this, images_, value, imageChangeLink_)) return;
  GrowToImages();
  Invalidate();
}

void TKxToolButton::ImageListChange(TObject*) {
  GrowToImages();
  Invalidate();
}

void TKxToolButton::GrowToImages() {
  TCustomImageList* list = ImageList();
  if (!list || IsLoading()) return;
  int w = std::max(GetWidth(), list->GetWidth());
  int h = std::max(GetHeight(), list->GetHeight());
  if (w != GetWidth() || h != GetHeight()) SetBounds(GetLeft(), GetTop(), w, h);
}

void TKxToolButton::SetLayout(TButtonLayout value) {
  useToolbarButtonLayout_ = false;
  if (layout_ != value) {
    layout_ = value;
    Invalidate();
  }
  PickupToolbarStyles();
}

void TKxToolButton::SetShowCaption(bool value) {
  useToolbarShowCaption_ = false;
  if (showCaption_ == value) return;
  showCaption_ = value;
  Invalidate();
}

void TKxToolButton::SetWidth(int value) {
  if (!IsLoading()) useToolbarButtonSize_ = false;
  SetBounds(GetLeft(), GetTop(), value, GetHeight());
}

void TKxToolButton::SetHeight(int value) {
  if (!IsLoading()) useToolbarButtonSize_ = false;
  SetBounds(GetLeft(), GetTop(), GetWidth(), value);
}

void TKxToolButton::SetUseToolbarButtonLayout(bool value) {
  if (useToolbarButtonLayout_ == value) return;
  useToolbarButtonLayout_ = value;
  if (value) SendToolbarMessage(CM_TOOLBARBUTTONLAYOUTCHANGED);
}

void TKxToolButton::SetUseToolbarButtonSize(bool value) {
  if (useToolbarButtonSize_ == value) return;
  useToolbarButtonSize_ = value;
  if (value) SendToolbarMessage(CM_TOOLBARBUTTONSIZECHANGED);
}

void TKxToolButton::SetUseToolbarShowCaption(bool value) {
  if (useToolbarShowCaption_ == value) return;
  useToolbarShowCaption_ = value;
  if (value) SendToolbarMessage(CM_TOOLBARSHOWCAPTIONCHANGED);
}

void TKxToolButton::SetToolStyle(TKxToolStyle value) {
  if (toolStyle_ == value) return;
  toolStyle_ = value;
  groupIndex_ = 0;
  if (!IsLoading()) {
    // The drop-down part comes or goes; the toolbar's size stays followed.
    bool follow = useToolbarButtonSize_;
    int w = GetWidth() + (value == tsDropDown ? kDropDownWidth : -kDropDownWidth);
    SetBounds(GetLeft(), GetTop(), w, GetHeight());
    useToolbarButtonSize_ = follow;
  }
  Invalidate();
}

void TKxToolButton::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Invalidate();
}

// Message 0 is the group broadcast (CM_BUTTONPRESSED to the parent's
// controls); the toolbar messages go to the button itself, with a parent
// and outside reading.
void TKxToolButton::SendToolbarMessage(UINT msg) {
  TWinControl* parent = GetParent();
  if (!parent) return;
  if (msg == 0) {
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_),
               reinterpret_cast<LPARAM>(static_cast<TObject*>(this)), 0};
    parent->Broadcast(m);
    return;
  }
  if (GetComponentState().Contains(csReading)) return;
  Perform(msg, 0, 0);
}

void TKxToolButton::PickupToolbarStyles() {
  if (!GetParent()) return;
  Perform(CM_TOOLBARSHOWCAPTIONCHANGED, 0, 0);
  Perform(CM_TOOLBARBUTTONLAYOUTCHANGED, 0, 0);
  Perform(CM_TOOLBARBUTTONSIZECHANGED, 0, 0);
}

void TKxToolButton::CMToolbarShowCaptionChanged(TMessage&) {
  TWinControl* toolbar = GetToolbar();
  if (!useToolbarShowCaption_ || !toolbar) return;
  bool show = ToolbarOrd(toolbar, "ShowButtonCaptions", showCaption_) != 0;
  if (show == showCaption_) return;
  showCaption_ = show;
  Invalidate();
}

void TKxToolButton::CMToolbarButtonLayoutChanged(TMessage&) {
  TWinControl* toolbar = GetToolbar();
  if (!useToolbarButtonLayout_ || !toolbar) return;
  auto layout = static_cast<TButtonLayout>(ToolbarOrd(toolbar, "ButtonLayout", layout_));
  if (layout == layout_) return;
  layout_ = layout;
  Invalidate();
}

void TKxToolButton::CMToolbarButtonSizeChanged(TMessage&) {
  TWinControl* toolbar = GetToolbar();
  if (!useToolbarButtonSize_ || !toolbar) return;
  int w = static_cast<int>(ToolbarOrd(toolbar, "ButtonWidth", GetWidth()));
  int h = static_cast<int>(ToolbarOrd(toolbar, "ButtonHeight", GetHeight()));
  if (showCaption_) {
    TCanvas* canvas = GetCanvas();
    canvas->GetFont()->Assign(GetFont());
    int text = canvas->TextWidth(GetCaption());
    if (layout_ == blGlyphLeft || layout_ == blGlyphRight) w = std::max<int>(w, GetImageSize().cx + text + 12);
    else w = std::max(w, text + 8);
  }
  if (toolStyle_ == tsDropDown) w += kDropDownWidth;
  SetBounds(GetLeft(), GetTop(), w, h);
}

void TKxToolButton::Loaded() {
  inherited::Loaded();
  PickupToolbarStyles();
}

void TKxToolButton::SetParent(TWinControl* parent) {
  inherited::SetParent(parent);
  PickupToolbarStyles();
}

void TKxToolButton::CMTextChanged(TMessage&) {
  PickupToolbarStyles();
  Invalidate();
}

void TKxToolButton::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) {
    images_ = nullptr;
    Invalidate();
  }
  if (component == dropDownMenu_) dropDownMenu_ = nullptr;
}

// --- actions ---

void TKxToolButton::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || !down_) SetDown(action->GetChecked());
  if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->GetImageIndex());
}

void TKxToolButton::AssignTo(TPersistent* dest) {
  inherited::AssignTo(dest);
  if (auto* action = dynamic_cast<TCustomAction*>(dest)) {
    action->SetChecked(down_);
    action->SetImageIndex(imageIndex_);
  }
}

TClass TKxToolButton::GetActionLinkClass() { return TKxToolButtonActionLink::StaticClass(); }

IMPLEMENT_CLASS(TKxToolButtonActionLink)

void TKxToolButtonActionLink::AssignClient(TObject* client) {
  inherited::AssignClient(client);
  toolClient_ = dynamic_cast<TKxToolButton*>(client);
}

bool TKxToolButtonActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && CustomAction() && toolClient_ &&
         CustomAction()->GetChecked() == toolClient_->GetDown();
}

bool TKxToolButtonActionLink::IsImageIndexLinked() {
  return inherited::IsImageIndexLinked() && CustomAction() && toolClient_ &&
         CustomAction()->GetImageIndex() == toolClient_->GetImageIndex();
}

void TKxToolButtonActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) toolClient_->SetDown(v);
}

void TKxToolButtonActionLink::SetImageIndex(int v) {
  if (IsImageIndexLinked()) toolClient_->SetImageIndex(v);
}

// --- mouse ---

void TKxToolButton::DropDown() {
  if (OnDropDown) OnDropDown(dropDownMenu_);
}

void TKxToolButton::DoDropDown() {
  if (!dropDownMenu_) return;
  DropDown();
  KxPopupMenuUnder(this, dropDownMenu_);
}

void TKxToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (toolStyle_ == tsDropDown && dropDownMenu_ && IsOnlyLeft(shift) &&
      (x >= GetWidth() - kDropDownWidth || !OnClick)) {
    if (dropDownMenu_->GetItems()->GetCount() == 0) return;
    bool dropped = guard_.Press([this] {
      state_ = kToolStateDropDownOpen;
      Repaint();
      DoDropDown();
    });
    treatAsNormal_ = !dropped;
    MouseUp(button, shift, x, y);
    return;
  }
  if (toolStyle_ == tsDropDown && !treatAsNormal_) {
    // The press that closed the menu on the button part.
    treatAsNormal_ = true;
    return;
  }
  if (button != mbLeft || !GetEnabled()) return;
  if (!down_ || state_ == bsExclusive) SetStateInvalidate(bsDown);
  dragging_ = true;
}

void TKxToolButton::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (dragging_) {
    bool inside = x >= 0 && x < GetClientWidth() && y >= 0 && y < GetClientHeight();
    SetStateInvalidate(down_ ? bsExclusive : (inside ? bsDown : bsUp));
  } else if (!mouseOver_) {
    UpdateTracking();
  }
}

void TKxToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (dragging_) {
    dragging_ = false;
    bool inside = x >= 0 && x < GetClientWidth() && y >= 0 && y < GetClientHeight();
    bool clicks = inside;
    if (groupIndex_ == 0) {
      state_ = bsUp;
      mouseOver_ = false;
      if (inside) Repaint();
    } else if (inside) {
      clicks = TrySetDown(!down_);
      if (down_) state_ = bsExclusive;
    } else {
      if (down_) state_ = bsExclusive;
      Repaint();
    }
    if (clicks) Click();
    UpdateTracking();
  }
  if (toolStyle_ == tsDropDown) {
    POINT cursor{};
    Seams().GetCursorPos(cursor);
    POINT p = ScreenToClient(cursor);
    if (p.x < 0 || p.y < 0 || p.x >= GetClientWidth() || p.y >= GetClientHeight()) treatAsNormal_ = true;
    state_ = down_ ? bsExclusive : bsUp;
    Repaint();
    UpdateTracking();
  }
}

void TKxToolButton::Click() {
  if (toolStyle_ == tsDropDown && !treatAsNormal_) return;
  inherited::Click();
}

void TKxToolButton::UpdateTracking() {
  if ((flat_ || Themed()) && GetEnabled()) KxUpdateTracking(this);
}

void TKxToolButton::MouseEnter() {
  mouseOver_ = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if (flat_ || Themed()) Repaint();
}

void TKxToolButton::MouseLeave() {
  mouseOver_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (flat_ || Themed()) Repaint();
}

void TKxToolButton::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  if (!mouseOver_) MouseEnter();
}

void TKxToolButton::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  if (mouseOver_) MouseLeave();
}

void TKxToolButton::CMDialogChar(TMessage& m) {
  TWinControl* parent = GetParent();
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && GetEnabled() && GetVisible() && parent &&
      parent->GetShowing()) {
    Click();
    m.Result = 1;
  }
}

void TKxToolButton::CMButtonPressed(TMessage& m) {
  if (static_cast<int>(m.WParam) != groupIndex_) return;
  auto* sender = dynamic_cast<TKxToolButton*>(reinterpret_cast<TObject*>(m.LParam));
  if (!sender || sender == this) return;
  if (sender->down_ && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
  allowAllUp_ = sender->allowAllUp_;
}

void TKxToolButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_BUTTONPRESSED: CMButtonPressed(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_TOOLBARSHOWCAPTIONCHANGED: CMToolbarShowCaptionChanged(m); return;
    case CM_TOOLBARBUTTONLAYOUTCHANGED: CMToolbarButtonLayoutChanged(m); return;
    case CM_TOOLBARBUTTONSIZECHANGED: CMToolbarButtonSizeChanged(m); return;
    default: inherited::Dispatch(m); return;
  }
}

// --- drawing ---

TSize TKxToolButton::GetImageSize() {
  TCustomImageList* list = ImageList();
  if (!list) return TSize{0, 0};
  return TSize{list->GetWidth(), list->GetHeight()};
}

namespace {

// The content rectangle both the caption and the image start from.
TRect ToolContentRect(TKxToolButton* b) {
  TRect r = b->GetClientRect();
  if (b->GetToolStyle() == tsDropDown) r.right -= kDropDownWidth;
  InflateRect(&r, -2, -2);
  return r;
}

int ToolTextHeight(TKxToolButton* b, const TRect& r) {
  if (!b->GetShowCaption()) return 0;
  TCanvas* canvas = b->GetCanvas();
  canvas->GetFont()->Assign(b->GetFont());
  TRect m = r;
  std::string caption = b->GetCaption();
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &m, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
  return m.bottom - m.top;
}

// Down, down in its group, or with its menu open (the whole button drops).
bool ToolPressedLook(const TKxToolButton* b) {
  int s = b->GetState();
  return s == bsDown || s == bsExclusive || (s == kToolStateDropDownOpen && !b->OnClick);
}

}  // namespace

TRect TKxToolButton::GetCaptionRect() {
  TRect r = ToolContentRect(this);
  if (imageIndex_ != -1) {
    TSize image = GetImageSize();
    int th = ToolTextHeight(this, r);
    int total = th + image.cy + 4;
    switch (layout_) {
      case blGlyphLeft: r.left += image.cx + 4; break;
      case blGlyphRight: r.right -= image.cx + 4; break;
      case blGlyphTop:
        r.top += (GetHeight() - total) / 2 + image.cy;
        r.bottom = r.top + th;
        break;
      case blGlyphBottom:
        r.top += (GetHeight() - total) / 2;
        r.bottom = r.top + th;
        break;
    }
  }
  if (ToolPressedLook(this)) OffsetRect(&r, 1, Themed() ? 0 : 1);
  return r;
}

TRect TKxToolButton::GetImageRect() {
  TRect r = ToolContentRect(this);
  TSize image = GetImageSize();
  int th = ToolTextHeight(this, r);
  int total = th + image.cy + 4;
  int x = r.left + (r.right - r.left - image.cx) / 2;
  int y = r.top + (r.bottom - r.top - image.cy) / 2;
  switch (layout_) {
    case blGlyphLeft: x = r.left + 2; break;
    case blGlyphRight: x = r.right - image.cx - 2; break;
    case blGlyphTop: y = (GetHeight() - total) / 2; break;
    case blGlyphBottom: y = r.top + th + (GetHeight() - total) / 2; break;
  }
  TRect result{x, y, x + image.cx, y + image.cy};
  if (ToolPressedLook(this)) OffsetRect(&result, 1, Themed() ? 0 : 1);
  return result;
}

TRect TKxToolButton::DrawBtnBorder(TCanvas* canvas, TRect rect) {
  bool pressed = state_ == bsDown || state_ == bsExclusive;
  if (Themed()) {
    HDC dc = canvas->GetHandle();
    TThemedElementDetails details;
    if (flat_) {
      bool open = state_ == kToolStateDropDownOpen;
      TThemedToolBar e;
      if (state_ == bsDown || open) e = ttbButtonPressed;
      else if (state_ == bsExclusive) e = mouseOver_ ? ttbButtonCheckedHot : ttbButtonChecked;
      else if (mouseOver_ || IsDesigning()) e = ttbButtonHot;
      else e = ttbButtonNormal;
      if (IsSplit()) {
        rect.right -= kDropDownWidth;
        // The split button's states run parallel to the plain button's.
        e = static_cast<TThemedToolBar>(e - ttbButtonNormal + ttbSplitButtonNormal);
      }
      details = ThemeServices().GetElementDetails(e);
    } else {
      TThemedButton e = !GetEnabled() ? tbPushButtonDisabled
                        : pressed     ? tbPushButtonPressed
                        : mouseOver_  ? tbPushButtonHot
                                      : tbPushButtonNormal;
      details = ThemeServices().GetElementDetails(e);
    }
    ThemeServices().DrawElement(dc, details, rect);
    InflateRect(&rect, -1, -1);
    return rect;
  }
  if (!flat_) return DrawBorder(canvas, rect, pressed ? fsLowered : fsButtonUp);
  if (pressed || (mouseOver_ && state_ != bsDisabled) || IsDesigning())
    return DrawBorder(canvas, rect, pressed ? fsStatus : fsPopup);
  InflateRect(&rect, -1, -1);
  return rect;
}

void TKxToolButton::DrawArrow(TCanvas* canvas, const TRect& client) {
  bool open = state_ == kToolStateDropDownOpen;
  bool down = state_ == bsDown || state_ == bsExclusive;
  bool split = IsSplit();
  if (Themed() && split) {
    TThemedToolBar e = !GetEnabled()        ? ttbSplitButtonDropDownDisabled
                       : (down || open)     ? ttbSplitButtonDropDownPressed
                       : mouseOver_         ? ttbSplitButtonDropDownHot
                                            : ttbSplitButtonDropDownNormal;
    TRect part{client.right - kDropDownWidth, client.top, client.right, client.bottom};
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(e), part);
    return;
  }
  if (!Themed()) {
    if (open) {
      if (split) {
        VLine(canvas, client.right - 15, client.top, client.bottom, clBtnShadow);
        DrawBorder(canvas, TRect{client.right - kDropDownWidth, client.top, client.right, client.bottom}, fsStatus);
      } else {
        DrawBorder(canvas, client, fsStatus);
      }
    } else if (((flat_ && mouseOver_) || !flat_) && GetEnabled() && split) {
      int x = GetWidth() - kDropDownWidth + (down ? 1 : 0);
      if (!down) VLine(canvas, x, client.top, client.bottom, clBtnHighlight);
      VLine(canvas, x - 1, client.top, client.bottom, clBtnShadow);
    }
  }
  int shift = (down || open) ? 1 : 0;
  DownTriangle(canvas, client.right - 8 + shift, (client.top + client.bottom) / 2 + 2 + shift, 2,
               GetEnabled() ? clWindowText : clBtnShadow);
}

void TKxToolButton::DrawImage(TCanvas* canvas) {
  TCustomImageList* list = ImageList();
  if (!list || imageIndex_ == -1) return;
  TRect r = GetImageRect();
  if (ToolPressedLook(this) && downIndex_ != -1) {
    list->Draw(canvas, r.left, r.top, downIndex_, true);
    return;
  }
  bool hot = hotIndex_ != -1 && mouseOver_ && GetEnabled();
  int index = hot ? hotIndex_ : imageIndex_;
  if (disabledIndex_ == -1) list->Draw(canvas, r.left, r.top, index, GetEnabled());
  else list->Draw(canvas, r.left, r.top, GetEnabled() ? index : disabledIndex_, true);
}

void TKxToolButton::DrawCaption(TCanvas* canvas) {
  if (!showCaption_) return;
  TRect r = GetCaptionRect();
  std::string caption = GetCaption();
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->GetFont()->Assign(GetFont());
  if (state_ == bsDown) canvas->GetFont()->SetColor(clHighlightText);
  UINT flags = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  TRect m = r;
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &m, flags | DT_CALCRECT);
  int h = m.bottom - m.top;
  r.top = (r.top + r.bottom - h) / 2;
  r.bottom = r.top + h;
  if (!GetEnabled()) canvas->GetFont()->SetColor(clBtnShadow);
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, flags);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TKxToolButton::Paint() {
  if (!GetEnabled()) {
    state_ = bsDisabled;
    dragging_ = false;
  } else if (state_ == bsDisabled) {
    state_ = (down_ && groupIndex_ != 0) ? bsExclusive : bsUp;
  }
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  bool themed = Themed();
  // In the visual style the element is the face: the colour goes under it.
  if (themed && !transparent_) KxFillSolid(canvas, client, GetColor());
  TRect inside = DrawBtnBorder(canvas, client);
  if (!themed) {
    if (!transparent_) KxFillSolid(canvas, inside, GetColor());
    if (state_ == bsExclusive && (!flat_ || !mouseOver_)) {
      Owned<TBitmap> pattern = transparent_ ? KxCheckerPattern(clBtnFace, clBtnHighlight)
                                            : KxCheckerPattern(GetColor(), LighterColor(GetColor(), 20));
      canvas->GetBrush()->SetBitmap(pattern.get());
      canvas->FillRect(inside);
      canvas->GetBrush()->SetBitmap(nullptr);
    }
  }
  if (toolStyle_ == tsDropDown) DrawArrow(canvas, client);
  DrawImage(canvas);
  DrawCaption(canvas);
}
