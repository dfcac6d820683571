#include "kx/controls/KxRadChk.h"

#include <algorithm>
#include <array>

#include "classlib/graphics/Resources.h"
#include "kx/foundation/KxGrafx.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {

constexpr int kGlyphSize = 13;

TColor Key(uint32_t rgb) { return static_cast<TColor>(rgb); }

// Replaces every pixel of one colour of a 24-bit bitmap by another.
void ReplaceColour(TBitmap* b, TColor from, TColor to) {
  COLORREF f = static_cast<COLORREF>(ColorToRGB(from)), t = static_cast<COLORREF>(ColorToRGB(to));
  const RGBTRIPLE target{GetBValue(t), GetGValue(t), GetRValue(t)};
  for (int y = 0; y < b->GetHeight(); ++y) {
    auto row = b->ScanLineAs<RGBTRIPLE>(y);
    for (int x = 0; x < b->GetWidth(); ++x) {
      const RGBTRIPLE& p = row[x];
      if (RGB(p.rgbtRed, p.rgbtGreen, p.rgbtBlue) == f) row[x] = target;
    }
  }
  b->Changed(b);
}

}  // namespace

void InitializeKxRadChk() {
  RegisterClasses({TKxRadioButton::StaticClass(), TKxCheckBox::StaticClass()});
}

// --- TKxCustomGlyphButton -------------------------------------------------------------------

IMPLEMENT_CLASS(TKxCustomGlyphButton)

TKxCustomGlyphButton::TKxCustomGlyphButton(TComponent* owner) : TKxCustomButton(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csSetCaption, csReplicatable});
  customGlyphs_ = New<TBitmap>();
  customGlyphs_->SetOnChange(TNotifyEvent(this, &TKxCustomGlyphButton::CustomGlyphsChanged));
  background_ = New<TBitmap>();
}

void TKxCustomGlyphButton::Destroy() {
  SetFrameController(nullptr);
  inherited::Destroy();
  FreeAndNil(background_);
  FreeAndNil(customGlyphs_);
}

bool TKxCustomGlyphButton::IsCheckedStored() const {
  TControlActionLink* link = GetActionLink();
  return !link || !link->IsCheckedLinked();
}

TColor TKxCustomGlyphButton::CheckColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  if (rgb == ColorToRGB(transparentColor_) || rgb == ColorToRGB(winMaskColor_) || rgb == 0x808080) return rgb + 1;
  return color;
}

void TKxCustomGlyphButton::UpdateGlyphSize() {
  if (useCustomGlyphs_) {
    glyphWidth_ = customGlyphs_->GetWidth() / std::max(1, numStates_);
    glyphHeight_ = customGlyphs_->GetHeight();
  } else {
    glyphWidth_ = kGlyphSize;
    glyphHeight_ = kGlyphSize;
  }
}

void TKxCustomGlyphButton::SetUseCustomGlyphs(bool value) {
  if (useCustomGlyphs_ == value) return;
  useCustomGlyphs_ = value;
  UpdateGlyphSize();
  Invalidate();
}

void TKxCustomGlyphButton::CustomGlyphsChanged(TObject*) {
  useCustomGlyphs_ = !customGlyphs_->GetEmpty();
  // Measured again even when the flag stays: a new strip may be another size.
  UpdateGlyphSize();
  refreshBackground_ = true;
  Invalidate();
}

void TKxCustomGlyphButton::SetCustomGlyphs(TBitmap* value) { customGlyphs_->Assign(value); }
void TKxCustomGlyphButton::SetAlignment(TLeftRight value) { Store(alignment_, value); }
void TKxCustomGlyphButton::SetFrameColor(TColor value) { Store(frameColor_, value); }
void TKxCustomGlyphButton::SetDisabledColor(TColor value) { Store(disabledColor_, value); }
void TKxCustomGlyphButton::SetTransparentColor(TColor value) { Store(transparentColor_, value); }
void TKxCustomGlyphButton::SetWinMaskColor(TColor value) { Store(winMaskColor_, value); }

void TKxCustomGlyphButton::SetTransparent(bool value) {
  refreshBackground_ = true;
  inherited::SetTransparent(value);
}

void TKxCustomGlyphButton::SetFrameController(TKxFrameController* value) {
  if (frameController_ == value) return;
  if (frameController_) frameController_->RemoveControl(this);
  KxReplaceReference(this, frameController_, value);
  if (frameController_) frameController_->AddControl(this);
}

void TKxCustomGlyphButton::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomGlyphButton::CustomFramingChanged() {
  if (!frameController_ || !frameController_->GetFrameVisible()) return;
  frameColor_ = frameController_->GetFrameColor();
  disabledColor_ = frameController_->GetDisabledColor();
  Invalidate();
}

void TKxCustomGlyphButton::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Older versions called HotTrack "Flat"; read, never written.
  filer->DefineProperty("Flat", [this](TReader* r) { SetHotTrack(r->ReadBoolean()); }, nullptr, false);
}

void TKxCustomGlyphButton::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(sender))
    if (!checkDefaults || !GetChecked()) SetChecked(action->GetChecked());
}

TClass TKxCustomGlyphButton::GetActionLinkClass() { return TKxCheckedActionLink::StaticClass(); }

TAlignment TKxCustomGlyphButton::GetControlsAlignment() const {
  if (!UseRightToLeftReading()) return taRightJustify;
  return alignment_ == taLeftJustify ? taRightJustify : taLeftJustify;
}

void TKxCustomGlyphButton::KeyPress(char& key) {
  if (tabOnEnter_ && key == '\r') {
    // Enter moves on as Tab does.
    key = 0;
    if (HandleAllocated()) PostMessageA(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  inherited::KeyPress(key);
}

void TKxCustomGlyphButton::WMEraseBkgnd(TMessage& m) {
  refreshBackground_ = true;
  inherited::WMEraseBkgnd(m);
}

void TKxCustomGlyphButton::WMSize(TMessage& m) {
  refreshBackground_ = true;
  inherited::WMSize(m);
}

void TKxCustomGlyphButton::CMEnabledChanged(TMessage& m) {
  refreshBackground_ = true;
  inherited::CMEnabledChanged(m);
}

void TKxCustomGlyphButton::CMParentColorChanged(TMessage& m) {
  refreshBackground_ = true;
  inherited::CMParentColorChanged(m);
}

void TKxCustomGlyphButton::HotColors(TColor& light, TColor& dark) {
  if (GetHotTrackColorType() == htctActual) {
    light = LighterColor(GetHotTrackColor(), 30);
    dark = DarkerColor(GetHotTrackColor(), 30);
    return;
  }
  uint8_t h = ColorHue(GetHotTrackColor());
  light = HSLtoColor(static_cast<uint8_t>(h < 120 ? h + 120 : h - 120), 220, 180);
  dark = DarkerColor(light, 30);
}

void TKxCustomGlyphButton::LoadMapped(TBitmap* bitmap, const char* name, std::span<const TColor> from,
                                      std::span<const TColor> to) {
  bitmap->SetHandle(CreateMappedRes(MainInstance(), name, from, to));
}

void TKxCustomGlyphButton::ExtractGlyph(int index, TBitmap* bitmap, TBitmap* source, int width, int height) {
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(width, height);
  TRect cell{0, 0, width, height};
  bitmap->GetCanvas()->CopyRect(cell, source->GetCanvas(), TRect{index * width, 0, (index + 1) * width, height});
}

TRect TKxCustomGlyphButton::GlyphRect() {
  int x = alignment_ == taRightJustify ? 0 : GetWidth() - glyphWidth_;
  int y = 0;
  switch (GetAlignmentVertical()) {
    case avTop: y = 2; break;
    case avCenter: y = (GetHeight() - glyphHeight_) / 2; break;
    case avBottom: y = GetHeight() - glyphHeight_ - 2; break;
  }
  return TRect{x, y, x + glyphWidth_, y + glyphHeight_};
}

TRect TKxCustomGlyphButton::CaptionRect() {
  TRect r = GetClientRect();
  InflateRect(&r, -1, -1);
  if (alignment_ == taRightJustify) r.left += glyphWidth_ + 4;
  else r.right -= glyphWidth_ + 4;
  return r;
}

void TKxCustomGlyphButton::DrawGlyph(TCanvas* canvas) {
  int w = glyphWidth_, h = glyphHeight_;
  if (w <= 0 || h <= 0) return;
  Owned<TBitmap> glyph = MakeOwned<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(w, h);
  SelectGlyph(glyph.get());
  glyph->SetPixelFormat(pf24bit);
  TRect at = GlyphRect();
  TRect cell{0, 0, w, h};
  // (a) The glyph on what it stands on, its key colour left out.
  Owned<TBitmap> out = MakeOwned<TBitmap>();
  out->SetPixelFormat(pf24bit);
  out->SetSize(w, h);
  if (GetTransparent()) {
    out->GetCanvas()->CopyRect(cell, canvas, at);
    TColor key = ThemeServices().GetThemesEnabled() ? clBtnFace : transparentColor_;
    DrawFullTransparentBitmap(out->GetCanvas(), glyph.get(), cell, cell, key);
  } else {
    KxFillSolid(out->GetCanvas(), cell, GetColor());
    out->GetCanvas()->BrushCopy(cell, glyph.get(), cell, transparentColor_);
  }
  // (b) The window colour stands where the mask colour is, and (c) the
  // frame's edge is half frame, half background.
  ReplaceColour(out.get(), winMaskColor_, clWindow);
  ReplaceColour(out.get(), Key(0x008000), BlendColors(frameColor_, canvas->GetPixels(0, 0), 128));
  canvas->Draw(at.left, at.top, out.get());
}

void TKxCustomGlyphButton::Paint() {
  TRect client = TControl::GetClientRect();
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  TCanvas* canvas = GetCanvas();
  if (refreshBackground_ || background_->GetWidth() != w || background_->GetHeight() != h) {
    background_->SetPixelFormat(pf24bit);
    background_->SetSize(w, h);
    if (GetTransparent()) background_->GetCanvas()->CopyRect(client, canvas, client);
    else KxFillSolid(background_->GetCanvas(), client, GetColor());
    refreshBackground_ = false;
  }
  Owned<TBitmap> offscreen = MakeOwned<TBitmap>();
  offscreen->Assign(background_);
  TCanvas* oc = offscreen->GetCanvas();
  oc->GetFont()->Assign(GetFont());
  oc->GetBrush()->SetColor(GetColor());
  DrawGlyph(oc);
  TRect text = CaptionRect();
  Draw3DText(oc, text, DT_WORDBREAK | DT_EXPANDTABS);
  std::string caption = GetCaption();
  if (Focused() && !caption.empty()) {
    TRect r = text;
    InflateRect(&r, 1, 1);
    oc->GetFont()->Assign(GetFont());
    TRect m{0, 0, 0, 0};
    std::string trimmed = caption;
    trimmed.erase(trimmed.find_last_not_of(" \t") + 1);
    DrawTextA(oc->GetHandle(), trimmed.c_str(), -1, &m, DT_CALCRECT | DT_SINGLELINE);
    int width = std::min<int>(r.right - r.left, m.right + 3);
    if (UseRightToLeftReading()) r.left = r.right - width;
    else r.right = r.left + width;
    DrawFocusBorder(oc, r);
  }
  canvas->Draw(0, 0, offscreen.get());
}

// --- TKxCheckedActionLink ---------------------------------------------------------------------

IMPLEMENT_CLASS(TKxCheckedActionLink)

void TKxCheckedActionLink::AssignClient(TObject* client) {
  inherited::AssignClient(client);
  glyphClient_ = dynamic_cast<TKxCustomGlyphButton*>(client);
}

bool TKxCheckedActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && CustomAction() && glyphClient_ &&
         glyphClient_->GetChecked() == CustomAction()->GetChecked();
}

void TKxCheckedActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) glyphClient_->SetChecked(v);
}

// --- published ---------------------------------------------------------------------------------

namespace {

// What radio button and check box publish alike.
template <class T>
void PublishGlyphButton(TPublisher<T>& p, bool tabStop) {
  using G = TKxCustomGlyphButton;
  using B = TKxCustomButton;
  PublishControlProps(p, {"Action"});
  p.Prop("Alignment", &G::GetAlignment, &G::SetAlignment).Default(taRightJustify);
  p.Prop("AlignmentVertical", &B::GetAlignmentVertical, &B::SetAlignmentVertical).Default(avTop);
  PublishControlProps(p, {"Anchors", "BiDiMode", "Caption"});
  p.Prop("Checked", &T::GetChecked, &T::SetChecked).Default(false).Stored(&G::IsCheckedStored);
  PublishControlProps(p, {"Color", "Constraints"});
  p.Prop("CustomGlyphs", &G::GetCustomGlyphs, &G::SetCustomGlyphs);
  p.Prop("DisabledColor", &G::GetDisabledColor, &G::SetDisabledColor).Default(clBtnFace).Type(TColorTypeInfo());
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FrameColor", &G::GetFrameColor, &G::SetFrameColor).Default(clBtnShadow).Type(TColorTypeInfo());
  PublishControlProps(p, {"Font"});
  p.Prop("FrameController", &G::GetFrameController, &G::SetFrameController);
  p.Prop("HighlightColor", &B::GetHighlightColor, &B::SetHighlightColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("HotTrack", &B::GetHotTrack, &B::SetHotTrack).Default(false);
  p.Prop("HotTrackColor", &B::GetHotTrackColor, &B::SetHotTrackColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("HotTrackColorType", &B::GetHotTrackColorType, &B::SetHotTrackColorType).Default(htctComplement);
  p.Prop("LightTextStyle", &B::GetLightTextStyle, &B::SetLightTextStyle).Default(false);
  PublishControlProps(p, {"ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("TextHighlightColor", &B::GetTextHighlightColor, &B::SetTextHighlightColor)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("TextShadowColor", &B::GetTextShadowColor, &B::SetTextShadowColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("TextShadowDepth", &B::GetTextShadowDepth, &B::SetTextShadowDepth).Default(2);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("TabOnEnter", &G::GetTabOnEnter, &G::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(tabStop);
  p.Prop("TextStyle", &B::GetTextStyle, &B::SetTextStyle).Default(tsNormal);
  p.Prop("Transparent", &B::GetTransparent, &B::SetTransparent).Default(false);
  p.Prop("TransparentColor", &G::GetTransparentColor, &G::SetTransparentColor).Default(clOlive).Type(TColorTypeInfo());
  p.Prop("UseCustomGlyphs", &G::GetUseCustomGlyphs, &G::SetUseCustomGlyphs).Default(false);
  PublishControlProps(p, {"Visible"});
  p.Prop("WinMaskColor", &G::GetWinMaskColor, &G::SetWinMaskColor).Default(clLime).Type(TColorTypeInfo());
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                          "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown"});
  p.Prop("OnMouseEnter", &B::GetOnMouseEnter, &B::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &B::GetOnMouseLeave, &B::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

}  // namespace

// --- TKxRadioButton --------------------------------------------------------------------------------

PUBLISHED(TKxRadioButton) {
  PublishGlyphButton(p, false);
  PublishControlProps(p, {"OnDblClick"});
}

TKxRadioButton::TKxRadioButton(TComponent* owner) : TKxCustomGlyphButton(owner) {
  SetNumStates(6);
  SetAlignmentVertical(avTop);
  SetTabStop(false);
}

void TKxRadioButton::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  SetTabStop(value);
  Repaint();
  if (!value) return;
  if (TWinControl* parent = GetParent())
    for (int i = 0; i < parent->GetControlCount(); ++i)
      if (auto* other = dynamic_cast<TKxRadioButton*>(parent->GetControl(i)); other && other != this)
        other->SetChecked(false);
  Click();
}

void TKxRadioButton::ChangeState() {
  if (!checked_) SetChecked(true);
}

void TKxRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  usingMouse_ = true;
  inherited::MouseDown(button, shift, x, y);
}

void TKxRadioButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  usingMouse_ = false;
}

void TKxRadioButton::WMSetFocus(TMessage& m) {
  inherited::WMSetFocus(m);
  // Tabbing into a radio button checks it; a click checks it on release.
  if (!usingMouse_) SetChecked(true);
}

void TKxRadioButton::WMLButtonDblClk(TMessage& m) {
  inherited::WMLButtonDblClk(m);
  DblClick();
}

void TKxRadioButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    SetFocus();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TKxRadioButton::CMDialogKey(TMessage& m) {
  TWMKey k(m);
  if (k.CharCode() == VK_DOWN && KeyDataToShiftState(k.KeyData()).Empty() && GetKeyState(VK_SHIFT) >= 0 &&
      GetKeyState(VK_CONTROL) >= 0 && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogKey(m);
}

void TKxRadioButton::SelectGlyph(TBitmap* bitmap) {
  int w = GetGlyphWidth(), h = GetGlyphHeight();
  TRect cell{0, 0, w, h};
  bool enabled = GetEnabled(), pressed = GetShowingPressed();
  if (GetUseCustomGlyphs()) {
    int index = !enabled ? 4 : pressed ? 2 : 0;
    ExtractGlyph(index + (checked_ ? 1 : 0), bitmap, GetCustomGlyphs(), w, h);
    return;
  }
  if (ThemeServices().GetThemesEnabled()) {
    KxFillSolid(bitmap->GetCanvas(), cell, GetColor());
    TThemedButton first = checked_ ? tbRadioButtonCheckedNormal : tbRadioButtonUncheckedNormal;
    int state = !enabled ? 3 : pressed ? 2 : GetMouseOver() ? 1 : 0;
    ThemeServices().DrawElement(bitmap->GetCanvas()->GetHandle(),
                                ThemeServices().GetElementDetails(static_cast<TThemedButton>(first + state)), cell);
    return;
  }
  if (GetHotTrack()) {
    static constexpr std::array<TColor, 12> from = {
        static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0x000000), static_cast<TColor>(0x008000),
        static_cast<TColor>(0x808080), static_cast<TColor>(0x800080), static_cast<TColor>(0x000080),
        static_cast<TColor>(0x00FF00), static_cast<TColor>(0x0000FF), static_cast<TColor>(0xFF00FF),
        static_cast<TColor>(0x00FFFF), static_cast<TColor>(0x800000), static_cast<TColor>(0xFF0000)};
    TColor fc = GetFrameColor(), hc = GetHighlightColor();
    std::array<TColor, 12> to{};
    bool full = FullColorSupport();
    if (full) {
      to = {clWindow, CheckColor(fc), LighterColor(fc, 10), BlendColors(fc, clWindow, 128),
            BlendColors(fc, clWindow, 128), BlendColors(fc, clWindow, 80), BlendColors(fc, clWindow, 80),
            clWindow, clWindow, clWindow, CheckColor(hc), BlendColors(hc, clWindow, 153)};
    } else {
      to = {clWindow, CheckColor(fc), CheckColor(fc), clWindow, clWindow, clWindow, clWindow, clWindow, clWindow,
            clWindow, CheckColor(hc), CheckColor(hc)};
    }
    // The inside in a face colour: disabled, or pressed (full colour only).
    auto face = [&](TColor d, bool shadowDot) {
      to[0] = d;
      to[3] = to[4] = BlendColors(fc, d, 128);
      to[5] = to[6] = BlendColors(fc, d, 80);
      to[7] = to[8] = to[9] = d;
      if (shadowDot) to[10] = clBtnShadow;
      to[11] = BlendColors(hc, d, 128);
    };
    if (!enabled) {
      face(GetDisabledColor(), true);
    } else if (full && pressed) {
      face(DarkerColor(clWindow, 20), false);
    } else if (full && GetMouseOver()) {
      TColor light, dark;
      HotColors(light, dark);
      to[3] = BlendColors(fc, dark, 128);
      to[4] = BlendColors(fc, light, 128);
      to[5] = BlendColors(fc, dark, 80);
      to[6] = BlendColors(fc, light, 80);
      to[7] = dark;
      to[8] = light;
      to[9] = BlendColors(light, clWindow, 128);
    }
    LoadMapped(bitmap, checked_ ? "KXCOMMON_RADIOBUTTON_CHECKED" : "KXCOMMON_RADIOBUTTON_UNCHECKED", from, to);
    return;
  }
  KxFillSolid(bitmap->GetCanvas(), cell, GetTransparentColor());
  UINT flags = DFCS_BUTTONRADIO | DFCS_TRANSPARENT | (checked_ ? DFCS_CHECKED : 0) | (pressed ? DFCS_PUSHED : 0) |
               (enabled ? 0 : DFCS_INACTIVE);
  RECT r = cell;
  DrawFrameControl(bitmap->GetCanvas()->GetHandle(), &r, DFC_BUTTON, flags);
}

// --- TKxCustomCheckBox ------------------------------------------------------------------------------

IMPLEMENT_CLASS(TKxCustomCheckBox)

TKxCustomCheckBox::TKxCustomCheckBox(TComponent* owner) : TKxCustomGlyphButton(owner) {
  SetNumStates(9);
  SetAlignmentVertical(avTop);
}

void TKxCustomCheckBox::SetState(TCheckBoxState value) {
  if (state_ == value) return;
  state_ = value;
  Repaint();
  Click();
}

void TKxCustomCheckBox::InitState(TCheckBoxState value) {
  state_ = value;
  Repaint();
}

void TKxCustomCheckBox::ChangeState() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TKxCustomCheckBox::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key == VK_ESCAPE) {
    keyToggle_ = false;
    SetShowingPressed(false);
    Repaint();
  } else if (key == VK_SPACE) {
    keyToggle_ = true;
    SetShowingPressed(true);
    Repaint();
  }
}

void TKxCustomCheckBox::KeyUp(WORD& key, TShiftState shift) {
  inherited::KeyUp(key, shift);
  if (key != VK_SPACE) return;
  SetShowingPressed(false);
  if (keyToggle_) {
    keyToggle_ = false;
    ChangeState();
  }
  Repaint();
}

void TKxCustomCheckBox::DoExit() {
  inherited::DoExit();
  SetShowingPressed(false);
  keyToggle_ = false;
}

void TKxCustomCheckBox::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) ChangeState();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TKxCustomCheckBox::SelectGlyph(TBitmap* bitmap) {
  int w = GetGlyphWidth(), h = GetGlyphHeight();
  TRect cell{0, 0, w, h};
  bool enabled = GetEnabled(), pressed = GetShowingPressed();
  int s = static_cast<int>(state_);
  if (GetUseCustomGlyphs()) {
    int row = !enabled ? 6 : pressed ? 3 : 0;
    ExtractGlyph(row + s, bitmap, GetCustomGlyphs(), w, h);
    return;
  }
  if (ThemeServices().GetThemesEnabled()) {
    static constexpr TThemedButton first[3] = {tbCheckBoxUncheckedNormal, tbCheckBoxCheckedNormal,
                                               tbCheckBoxMixedNormal};
    int look = !enabled ? 3 : pressed ? 2 : GetMouseOver() ? 1 : 0;
    TThemedElementDetails details = ThemeServices().GetElementDetails(static_cast<TThemedButton>(first[s] + look));
    KxFillSolid(bitmap->GetCanvas(), cell, GetColor());
    if (HandleAllocated())
      ThemeServices().DrawParentBackground(GetHandle(), bitmap->GetCanvas()->GetHandle(), &details, false, &cell);
    ThemeServices().DrawElement(bitmap->GetCanvas()->GetHandle(), details, cell);
    return;
  }
  if (GetHotTrack()) {
    static constexpr std::array<TColor, 4> from = {static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0x808080),
                                                   static_cast<TColor>(0x0000FF), static_cast<TColor>(0xFF00FF)};
    bool full = FullColorSupport();
    TColor inside = !enabled ? GetDisabledColor() : (full && pressed) ? DarkerColor(clWindow, 20) : clWindow;
    std::array<TColor, 4> to = {inside, GetFrameColor(), inside, inside};
    if (enabled && !pressed && GetMouseOver()) {
      TColor light = clWindow, dark = clWindow;
      if (full) HotColors(light, dark);
      to[2] = dark;
      to[3] = light;
    }
    static const char* const names[3] = {"KXCOMMON_CHECKBOX_UNCHECKED", "KXCOMMON_CHECKBOX_CHECKED",
                                         "KXCOMMON_CHECKBOX_GRAYED"};
    LoadMapped(bitmap, names[s], from, to);
    return;
  }
  KxFillSolid(bitmap->GetCanvas(), cell, GetTransparentColor());
  UINT flags = DFCS_BUTTONCHECK | (state_ == cbChecked ? DFCS_CHECKED : 0) |
               (state_ == cbGrayed ? DFCS_BUTTON3STATE | DFCS_CHECKED : 0) | (pressed ? DFCS_PUSHED : 0) |
               (enabled ? 0 : DFCS_INACTIVE);
  RECT r = cell;
  DrawFrameControl(bitmap->GetCanvas()->GetHandle(), &r, DFC_BUTTON, flags);
}

// --- TKxCheckBox -----------------------------------------------------------------------------------

PUBLISHED(TKxCheckBox) {
  p.Prop("AllowGrayed", &TKxCheckBox::GetAllowGrayed, &TKxCheckBox::SetAllowGrayed).Default(false);
  PublishGlyphButton(p, true);
  p.Prop("State", &TKxCheckBox::GetState, &TKxCheckBox::SetState).Default(cbUnchecked);
}
