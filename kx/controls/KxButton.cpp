// KxButton: helpers, TKxCustomButton, TKxButton, TKxBitBtn and the kind
// glyphs. The menu and toolbar buttons are in KxButtonMenu.cpp, the control
// and shape buttons in KxButtonShape.cpp.
#include "kx/controls/KxButton.h"

#include <algorithm>
#include <utility>

#include "classlib/graphics/Resources.h"
#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/StdCtrls.h"
#include "classlib/stdctrls/FormLink.h"
#include "kx/foundation/KxGrafx.h"

namespace {

// What a kind sets besides the class library's caption and modal result.
struct TKindInfo {
  const char* Glyph;
  bool Default;
  bool Cancel;
};

constexpr std::array<TKindInfo, 11> kKinds = {{
    {nullptr, false, false},            // bkCustom
    {"KXCOMMON_OK", true, false},       // bkOK
    {"KXCOMMON_CANCEL", false, true},   // bkCancel
    {"KXCOMMON_HELP", false, false},    // bkHelp
    {"KXCOMMON_YES", true, false},      // bkYes
    {"KXCOMMON_NO", false, true},       // bkNo
    {"KXCOMMON_CLOSE", false, false},   // bkClose
    {"KXCOMMON_ABORT", false, false},   // bkAbort
    {"KXCOMMON_RETRY", false, false},   // bkRetry
    {"KXCOMMON_IGNORE", false, false},  // bkIgnore
    {"KXCOMMON_ALL", false, false},     // bkAll
}};

const TKindInfo& KindInfo(TBitBtnKind kind) {
  auto i = static_cast<size_t>(kind);
  return kKinds[i < kKinds.size() ? i : 0];
}

// The kind glyphs: empty slots from the unit's start, filled on first use.
std::array<TBitmap*, 11> gKindGlyphs{};

TKxButton* KxButtonOf(LPARAM lParam) {
  return dynamic_cast<TKxButton*>(reinterpret_cast<TObject*>(lParam));
}

void Pixel(TCanvas* canvas, int x, int y, TColor color) { KxFillSolid(canvas, TRect{x, y, x + 1, y + 1}, color); }

// A one-pixel frame whose corners are cut by cut pixels along each edge;
// with a cut of 2 the pixel diagonally inside each corner is drawn (top-left,
// top-right and bottom-left in ul, bottom-right in lr), which rounds the frame.
void CutCornerFrame(TCanvas* canvas, const TRect& r, TColor ul, TColor lr, int cut) {
  int l = r.left, t = r.top, rt = r.right - 1, b = r.bottom - 1;
  KxFillSolid(canvas, TRect{l + cut, t, rt - cut + 1, t + 1}, ul);
  KxFillSolid(canvas, TRect{l, t + cut, l + 1, b - cut + 1}, ul);
  KxFillSolid(canvas, TRect{rt, t + cut, rt + 1, b - cut + 1}, lr);
  KxFillSolid(canvas, TRect{l + cut, b, rt - cut + 1, b + 1}, lr);
  if (cut >= 2) {
    Pixel(canvas, l + 1, t + 1, ul);
    Pixel(canvas, rt - 1, t + 1, ul);
    Pixel(canvas, l + 1, b - 1, ul);
    Pixel(canvas, rt - 1, b - 1, lr);
  }
}

// The hue turned by a third of the circle, as the complementary hot look
// shows a colour away from the one given.
TColor ComplementLight(TColor color, uint8_t lightness) {
  uint8_t h = ColorHue(color);
  uint8_t turned = static_cast<uint8_t>(h < 120 ? h + 120 : h - 120);
  return HSLtoColor(turned, 220, lightness);
}

}  // namespace

// --- helpers -----------------------------------------------------------------------------

void KxFillSolid(TCanvas* canvas, const TRect& r, TColor color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(color);
  canvas->FillRect(r);
}

void KxUpdateTracking(TControl* control) {
  POINT cursor{};
  Seams().GetCursorPos(cursor);
  control->Perform(FindDragTarget(cursor, true) == control ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

bool KxReplaceImages(TComponent* owner, TCustomImageList*& field, TCustomImageList* value, TChangeLink* link) {
  if (field == value) return false;
  if (field) field->UnRegisterChanges(link);
  KxReplaceReference(owner, field, value);
  if (field) field->RegisterChanges(link);
  return true;
}

int KxGlyphCells(TBitmap* glyph) {
  if (!glyph) return 1;
  int w = glyph->GetWidth(), h = glyph->GetHeight();
  if (h > 0 && w % h == 0) {
    int n = w / h;
    if (n > 0 && n < 5) return n;
  }
  return 1;
}

Owned<TBitmap> KxCheckerPattern(TColor back, TColor fore) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(8, 8);
  TCanvas* c = b->GetCanvas();
  KxFillSolid(c, TRect{0, 0, 8, 8}, back);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((x % 2) == (y % 2)) Pixel(c, x, y, fore);
  return b;
}

TBitmap* GetBitBtnGlyph(TBitBtnKind kind) {
  auto i = static_cast<size_t>(kind);
  if (i == 0 || i >= gKindGlyphs.size()) return nullptr;
  if (!gKindGlyphs[i]) {
    Owned<TBitmap> glyph = MakeOwned<TBitmap>();
    glyph->LoadFromResourceName(MainInstance(), KindInfo(kind).Glyph);
    gKindGlyphs[i] = glyph.release();
  }
  return gKindGlyphs[i];
}

void InitializeKxButton() {
  gKindGlyphs.fill(nullptr);
  RegisterClasses({TKxButton::StaticClass(), TKxBitBtn::StaticClass(), TKxMenuButton::StaticClass(),
                   TKxToolbarButton::StaticClass(), TKxMenuToolbarButton::StaticClass(),
                   TKxToolButton::StaticClass(), TKxControlButton::StaticClass(),
                   TKxShapeButton::StaticClass()});
}

void FinalizeKxButton() {
  for (TBitmap*& glyph : gKindGlyphs) FreeAndNil(glyph);
}

// --- TKxCustomButton -------------------------------------------------------------------------

IMPLEMENT_CLASS(TKxCustomButton)

TKxCustomButton::TKxCustomButton(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csReplicatable, csReflector});
  SetBounds(GetLeft(), GetTop(), 115, 17);
  SetTabStop(true);
}

bool TKxCustomButton::DrawsThemed() const { return themeAware_ && ThemeServices().GetThemesEnabled(); }

void TKxCustomButton::SetHotTrackColor(TColor value) { Store(hotTrackColor_, value); }
void TKxCustomButton::SetHotTrackColorType(TKxHotTrackColorType value) { Store(hotTrackColorType_, value); }
void TKxCustomButton::SetAlignmentVertical(TAlignmentVertical value) { Store(alignmentVertical_, value); }
void TKxCustomButton::SetHotTrack(bool value) { Store(hotTrack_, value); }
void TKxCustomButton::SetHighlightColor(TColor value) { Store(highlightColor_, value); }
void TKxCustomButton::SetLightTextStyle(bool value) { Store(lightTextStyle_, value); }
void TKxCustomButton::SetTextStyle(TTextStyle value) { Store(textStyle_, value); }
void TKxCustomButton::SetTextHighlightColor(TColor value) { Store(textHighlightColor_, value); }
void TKxCustomButton::SetTextShadowColor(TColor value) { Store(textShadowColor_, value); }
void TKxCustomButton::SetTextShadowDepth(int value) { Store(textShadowDepth_, value); }
void TKxCustomButton::SetThemeAware(bool value) { Store(themeAware_, value); }
void TKxCustomButton::SetTransparent(bool value) { Store(transparent_, value); }

TRect TKxCustomButton::GetHotTrackRect() { return GetClientRect(); }

void TKxCustomButton::Draw3DText(TCanvas* canvas, TRect rect, UINT flags) {
  std::string caption = GetCaption();
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->GetFont()->Assign(GetFont());
  TRect measured = rect;
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &measured,
            DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
  int h = measured.bottom - measured.top;
  switch (alignmentVertical_) {
    case avCenter:
      rect.top = (rect.top + rect.bottom - h) / 2;
      rect.bottom = rect.top + h;
      break;
    case avBottom: rect.top = rect.bottom - h - 1; break;
    case avTop: break;
  }
  if (UseRightToLeftReading()) flags |= DT_RIGHT | DT_RTLREADING;
  HDC dc = canvas->GetHandle();
  auto pass = [&](int dx, int dy, TColor color) {
    TRect r = rect;
    OffsetRect(&r, dx, dy);
    canvas->GetFont()->SetColor(color);
    DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, flags);
  };
  (void)dc;
  if (GetEnabled()) {
    TColor fontColor = GetFont()->GetColor();
    int dx = 0;
    switch (textStyle_) {
      case tsRaised:
      case tsRecessed: {
        bool raised = textStyle_ == tsRaised;
        if (!raised || !lightTextStyle_) pass(1, 1, raised ? textShadowColor_ : textHighlightColor_);
        if (raised || !lightTextStyle_) pass(-1, -1, raised ? textHighlightColor_ : textShadowColor_);
        break;
      }
      case tsShadow:
        // Right-aligned text cannot move right: the shadow goes down only
        // and the caption moves left instead, so the offset looks the same.
        if (flags & DT_RIGHT) {
          pass(0, textShadowDepth_, textShadowColor_);
          dx = -textShadowDepth_;
        } else {
          pass(textShadowDepth_, textShadowDepth_, textShadowColor_);
        }
        break;
      case tsNormal: break;
    }
    pass(dx, 0, fontColor);
  } else {
    pass(1, 1, clBtnHighlight);
    pass(0, 0, clBtnShadow);
  }
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TKxCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  ::SetFocus(GetHandle());
  if (!Focused()) return;
  showingPressed_ = true;
  UpdateDisplay();
  dragging_ = true;
}

void TKxCustomButton::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (!dragging_) return;
  RECT client = GetClientRect();
  bool inside = PtInRect(&client, POINT{x, y}) != 0;
  if (inside == showingPressed_) return;
  showingPressed_ = inside;
  UpdateDisplay();
}

void TKxCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  showingPressed_ = false;
  RECT client = GetClientRect();
  if (PtInRect(&client, POINT{x, y})) ChangeState();
  UpdateDisplay();
}

void TKxCustomButton::MouseEnter() {
  mouseOver_ = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if ((hotTrack_ || DrawsThemed()) && HandleAllocated()) {
    TRect r = GetHotTrackRect();
    InvalidateRect(GetHandle(), &r, FALSE);
  }
}

void TKxCustomButton::MouseLeave() {
  mouseOver_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if ((hotTrack_ || DrawsThemed()) && HandleAllocated()) {
    TRect r = GetHotTrackRect();
    InvalidateRect(GetHandle(), &r, FALSE);
  }
}

void TKxCustomButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) CMTextChanged(m);
  else inherited::Dispatch(m);
}

void TKxCustomButton::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  MouseEnter();
}

void TKxCustomButton::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  MouseLeave();
}

void TKxCustomButton::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  if (!IsDesigning() && HandleAllocated()) EnableWindow(GetHandle(), GetEnabled());
  Invalidate();
}

void TKxCustomButton::CMTextChanged(TMessage&) { Repaint(); }

void TKxCustomButton::WMSetFocus(TMessage& m) {
  inherited::WMSetFocus(m);
  RepaintDisplay();
}

void TKxCustomButton::WMKillFocus(TMessage& m) {
  inherited::WMKillFocus(m);
  RepaintDisplay();
}

void TKxCustomButton::WMEraseBkgnd(TMessage& m) {
  if (!transparent_) {
    inherited::WMEraseBkgnd(m);
    return;
  }
  DrawParentImage(this, TWMEraseBkgnd(m).DC());
  m.Result = 1;
}

// --- TKxButton ---------------------------------------------------------------------------

PUBLISHED(TKxButton) {
  using C = TKxButton;
  using B = TKxCustomButton;
  PublishControlProps(p, {"Action", "Align"});
  p.Prop("Alignment", &C::GetAlignment, &C::SetAlignment).Default(taCenter);
  p.Prop("AlignmentVertical", &B::GetAlignmentVertical, &B::SetAlignmentVertical).Default(avCenter);
  p.Prop("AllowAllUp", &C::GetAllowAllUp, &C::SetAllowAllUp).Default(false);
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("Cancel", &C::GetCancel, &C::SetCancel).Default(false);
  PublishControlProps(p, {"Caption"});
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clBtnFace)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  PublishControlProps(p, {"Constraints"});
  p.Prop("Default", &C::GetDefault, &C::SetDefault).Default(false);
  p.Prop("Down", &C::GetDown, &C::SetDown).Default(false);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("GroupIndex", &C::GetGroupIndex, &C::SetGroupIndex).Default(0);
  p.Prop("HighlightColor", &B::GetHighlightColor, &B::SetHighlightColor)
      .Default(clHighlight)
      .Type(TColorTypeInfo());
  p.Prop("HotTrack", &B::GetHotTrack, &B::SetHotTrack).Default(false);
  p.Prop("HotTrackColor", &B::GetHotTrackColor, &B::SetHotTrackColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("HotTrackColorType", &B::GetHotTrackColorType, &B::SetHotTrackColorType).Default(htctComplement);
  p.Prop("LightTextStyle", &B::GetLightTextStyle, &B::SetLightTextStyle).Default(false);
  p.Prop("ModalResult", &C::GetModalResult, &C::SetModalResult).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  p.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowDownPattern", &C::GetShowDownPattern, &C::SetShowDownPattern).Default(true);
  p.Prop("ShowFocusRect", &C::GetShowFocusRect, &C::SetShowFocusRect).Default(true);
  PublishControlProps(p, {"ShowHint", "TabOrder"});
  p.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(true);
  p.Prop("TextHighlightColor", &B::GetTextHighlightColor, &B::SetTextHighlightColor)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("TextShadowColor", &B::GetTextShadowColor, &B::SetTextShadowColor)
      .Default(clBtnShadow)
      .Type(TColorTypeInfo());
  p.Prop("TextShadowDepth", &B::GetTextShadowDepth, &B::SetTextShadowDepth).Default(2);
  p.Prop("TextStyle", &B::GetTextStyle, &B::SetTextStyle).Default(tsNormal);
  p.Prop("ThemeAware", &B::GetThemeAware, &B::SetThemeAware).Default(true);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown"});
  p.Prop("OnMouseEnter", &B::GetOnMouseEnter, &B::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &B::GetOnMouseLeave, &B::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

TKxButton::TKxButton(TComponent* owner) : TKxCustomButton(owner) {
  SetBounds(GetLeft(), GetTop(), 75, 25);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TKxButton::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Older versions called HotTrack "FrameFlat"; read, never written.
  filer->DefineProperty("FrameFlat", [this](TReader* r) { SetHotTrack(r->ReadBoolean()); }, nullptr, false);
}

void TKxButton::SetAlignment(TAlignment value) { Store(alignment_, value); }
void TKxButton::SetShowDownPattern(bool value) { Store(showDownPattern_, value); }
void TKxButton::SetShowFocusRect(bool value) { Store(showFocusRect_, value); }

void TKxButton::SetHotTrack(bool value) {
  inherited::SetHotTrack(value);
  // The hot-tracking frame has rounded corners the parent shows through.
  SetTransparent(value);
}

void TKxButton::UpdateDisplay() { Invalidate(); }

void TKxButton::SetDefault(bool value) {
  default_ = value;
  if (!HandleAllocated()) return;
  if (TWinControl* form = GetParentFormControl(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(ParentFormActiveControl(this)));
}

void TKxButton::CreateWnd() {
  inherited::CreateWnd();
  activeDefault_ = default_;
}

void TKxButton::CMFocusChanged(TMessage& m) {
  TWinControl* sender = TCMFocusChanged(m).Sender();
  bool active = (dynamic_cast<TKxButton*>(sender) || dynamic_cast<TButton*>(sender)) ? sender == this : default_;
  if (active != activeDefault_) {
    activeDefault_ = active;
    Invalidate();
  }
  inherited::CMFocusChanged(m);
}

void TKxButton::BroadcastPressed() {
  TWinControl* parent = GetParent();
  if (!parent) return;
  TMessage m{CM_KXBUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(static_cast<TObject*>(this)),
             0};
  parent->Broadcast(m);
}

void TKxButton::SetDownState(bool value) {
  if (down_ == value) return;
  down_ = value;
  state_ = value ? bsExclusive : bsUp;
  Invalidate();
}

void TKxButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;
  SetDownState(value);
  if (value) BroadcastPressed();
}

void TKxButton::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  BroadcastPressed();
}

void TKxButton::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  BroadcastPressed();
}

void TKxButton::CMKxButtonPressed(TMessage& m) {
  if (static_cast<int>(m.WParam) != groupIndex_) return;
  TKxButton* sender = KxButtonOf(m.LParam);
  if (!sender || sender == this) return;
  if (sender->down_ && down_) SetDownState(false);
  allowAllUp_ = sender->allowAllUp_;
}

void TKxButton::ChangeState() {
  if (groupIndex_ != 0) SetDown(!down_);
  else UpdateDisplay();
  {
    TRestore clicking(clicking_, true);
    Click();
  }
  Invalidate();
}

void TKxButton::Click() {
  SetParentFormModalResult(this, modalResult_);
  inherited::Click();
}

void TKxButton::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key != VK_SPACE || shift.Contains(ssAlt)) return;
  spacePressed_ = true;
  SetShowingPressed(true);
  Invalidate();
}

void TKxButton::KeyUp(WORD& key, TShiftState shift) {
  inherited::KeyUp(key, shift);
  if (key != VK_SPACE) return;
  SetShowingPressed(false);
  Invalidate();
  if (!spacePressed_) return;
  spacePressed_ = false;
  ChangeState();
}

void TKxButton::Dispatch(TMessage& m) {
  if (m.Msg == CM_KXBUTTONPRESSED) CMKxButtonPressed(m);
  else inherited::Dispatch(m);
}

void TKxButton::CMDialogKey(TMessage& m) {
  TWMKey k(m);
  WORD key = k.CharCode();
  if (((key == VK_RETURN && activeDefault_) || (key == VK_ESCAPE && cancel_)) &&
      KeyDataToShiftState(k.KeyData()).Empty() && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogKey(m);
}

void TKxButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

TRect TKxButton::GetCaptionRect() {
  TRect r = KxInset(GetClientRect(), 5);
  if (!GetHotTrack() && !DrawsThemed() && (PressedInGroup() || GetShowingPressed())) OffsetRect(&r, 1, 1);
  return r;
}

void TKxButton::DrawButtonFace(TCanvas* canvas) {
  Draw3DText(canvas, GetCaptionRect(), KxTextAlignments[alignment_] | DT_WORDBREAK | DT_EXPANDTABS);
}

Owned<TBitmap> TKxButton::CreateBrushPattern() {
  TColor color = GetColor();
  return KxCheckerPattern(color, ColorToRGB(color) == ColorToRGB(clSilver) ? clGray : clSilver);
}

void TKxButton::PaintThemed(TCanvas* canvas, const TRect& client) {
  TThemedButton element;
  if (!GetEnabled()) element = tbPushButtonDisabled;
  else if (state_ == bsDown || state_ == bsExclusive || GetShowingPressed()) element = tbPushButtonPressed;
  else if (GetMouseOver()) element = tbPushButtonHot;
  else if (groupIndex_ == 0 && (activeDefault_ || Focused()) && !GetShowingPressed()) element = tbPushButtonDefaulted;
  else element = tbPushButtonNormal;
  TThemedElementDetails details = ThemeServices().GetElementDetails(element);
  HDC dc = canvas->GetHandle();
  if (HandleAllocated()) ThemeServices().DrawParentBackground(GetHandle(), dc, &details, false);
  ThemeServices().DrawElement(dc, details, client);
}

TRect TKxButton::PaintHotTrackFrame(TCanvas* canvas, const TRect& client) {
  TColor color = GetColor();
  bool isFace = color == clBtnFace;
  if (!GetEnabled()) {
    TRect ring = KxInset(client, 1);
    TColor frame = isFace ? LighterColor(clBtnShadow, 30) : DarkerColor(color, 80);
    CutCornerFrame(canvas, ring, frame, frame, 1);
    TRect inside = KxInset(ring, 1);
    KxFillSolid(canvas, inside, color);
    return inside;
  }
  CutCornerFrame(canvas, client, DarkerColor(clBtnFace, 20), LighterColor(clBtnFace, 20), 2);
  TRect ring = KxInset(client, 1);
  TColor dark = isFace ? cl3DDkShadow : DarkerColor(color, 150);
  CutCornerFrame(canvas, ring, dark, dark, 1);
  TRect inside = KxInset(ring, 1);
  bool pressed = GetShowingPressed() || PressedInGroup();
  auto bevels = [&](TColor light, TColor shade) {
    TColor outerDark = DarkerColor(shade, 30);
    TRect r = DrawBevel(canvas, inside, light, outerDark, 1, sdAllSides);
    r = DrawBevel(canvas, r, DarkerColor(light, 10), LighterColor(outerDark, 10), 1, sdAllSides);
    KxFillSolid(canvas, r, color);
  };
  if (pressed) {
    KxFillSolid(canvas, inside, DarkerColor(color, 10));
  } else if (GetMouseOver()) {
    if (GetHotTrackColorType() == htctComplement) {
      TColor c = ComplementLight(GetHotTrackColor(), 180);
      bevels(c, c);
    } else {
      bevels(LighterColor(GetHotTrackColor(), 30), GetHotTrackColor());
    }
  } else if (groupIndex_ == 0 && (activeDefault_ || Focused())) {
    TColor c = HSLtoColor(ColorHue(GetHighlightColor()), 220, 220);
    bevels(c, c);
  } else {
    // A shaded face: light rows at the top, dark ones at the bottom that
    // turn up the right side.
    int l = inside.left, t = inside.top, r = inside.right, b = inside.bottom;
    const uint8_t top[3] = {20, 15, 10};
    for (int i = 0; i < 3; ++i) KxFillSolid(canvas, TRect{l, t + i, r, t + i + 1}, LighterColor(color, top[i]));
    KxFillSolid(canvas, TRect{l, t + 3, r - 2, b - 3}, color);
    KxFillSolid(canvas, TRect{r - 2, t + 2, r - 1, b - 2}, DarkerColor(color, 10));
    KxFillSolid(canvas, TRect{r - 1, t + 2, r, b - 1}, DarkerColor(color, 20));
    KxFillSolid(canvas, TRect{l, b - 3, r, b - 2}, DarkerColor(color, 10));
    KxFillSolid(canvas, TRect{l, b - 2, r - 1, b - 1}, DarkerColor(color, 20));
    KxFillSolid(canvas, TRect{l, b - 1, r, b}, DarkerColor(color, 30));
  }
  return inside;
}

TRect TKxButton::PaintStandardFrame(TCanvas* canvas, const TRect& client) {
  TRect r = client;
  bool pressed = GetShowingPressed() || PressedInGroup();
  if ((groupIndex_ == 0 && (activeDefault_ || Focused()) && !GetShowingPressed()) || clicking_) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clWindowFrame);
    canvas->FrameRect(r);
    r = KxInset(r, 1);
  }
  TColor color = GetColor();
  if (color == clBtnFace) {
    if (groupIndex_ != 0) r = DrawBorder(canvas, r, pressed ? fsLowered : fsButtonUp);
    else r = DrawButtonBorder(canvas, r, GetShowingPressed());
  } else if (groupIndex_ == 0) {
    r = DrawColorButtonBorder(canvas, r, color, GetShowingPressed());
  } else if (pressed) {
    r = DrawColorBorder(canvas, r, color, fsLowered);
  } else {
    r = DrawColorButtonBorder(canvas, r, color, false);
  }
  return r;
}

void TKxButton::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  bool themed = DrawsThemed();
  TRect focusRect = KxInset(client, (GetHotTrack() || themed) ? 3 : 4);
  if (PressedInGroup() || GetShowingPressed()) OffsetRect(&focusRect, 1, 1);
  if (themed) {
    PaintThemed(canvas, client);
  } else {
    TRect inside = GetHotTrack() ? PaintHotTrackFrame(canvas, client) : PaintStandardFrame(canvas, client);
    if (state_ == bsExclusive && showDownPattern_) {
      Owned<TBitmap> pattern = CreateBrushPattern();
      canvas->GetBrush()->SetBitmap(pattern.get());
      canvas->FillRect(inside);
      canvas->GetBrush()->SetBitmap(nullptr);
    }
  }
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  DrawButtonFace(canvas);
  if (Focused() && showFocusRect_) DrawFocusBorder(canvas, focusRect);
}

// --- TKxBitBtn --------------------------------------------------------------------------------

PUBLISHED(TKxBitBtn) {
  using C = TKxBitBtn;
  using K = TKxButton;
  p.Prop("Cancel", &K::GetCancel, &K::SetCancel).Default(false).Stored(&C::IsCustomKind);
  p.Prop("Caption", &TControl::GetCaption, &TControl::SetCaption).Stored(&C::IsCaptionStoredForKind);
  p.Prop("Default", &K::GetDefault, &K::SetDefault).Default(false).Stored(&C::IsCustomKind);
  p.Prop("DisabledIndex", &C::GetDisabledIndex, &C::SetDisabledIndex).Default(-1);
  p.Prop("Glyph", &C::GetGlyph, &C::SetGlyph).Stored(&C::IsCustomKind);
  p.Prop("ImageIndex", &C::GetImageIndex, &C::SetImageIndex).Default(-1);
  p.Prop("Images", &C::GetImages, &C::SetImages);
  p.Prop("Kind", &C::GetKind, &C::SetKind).Default(bkCustom);
  p.Prop("Layout", &C::GetLayout, &C::SetLayout).Default(blGlyphLeft);
  p.Prop("Margin", &C::GetMargin, &C::SetMargin).Default(2);
  p.Prop("ModalResult", &K::GetModalResult, &K::SetModalResult).Default(0).Stored(&C::IsCustomKind);
  p.Prop("NumGlyphs", &C::GetNumGlyphs, &C::SetNumGlyphs).Default(1).Stored(&C::IsCustomKind);
  p.Prop("Spacing", &C::GetSpacing, &C::SetSpacing).Default(4);
}

TKxBitBtn::TKxBitBtn(TComponent* owner) : TKxButton(owner) {
  glyph_ = New<TBitmap>();
  glyph_->SetOnChange(TNotifyEvent(this, &TKxBitBtn::GlyphChanged));
  imageChangeLink_ = New<TChangeLink>();
  imageChangeLink_->SetOnChange(TNotifyEvent(this, &TKxBitBtn::ImageListChange));
}

void TKxBitBtn::Destroy() {
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  images_ = nullptr;
  inherited::Destroy();
  FreeAndNil(imageChangeLink_);
  FreeAndNil(glyph_);
}

bool TKxBitBtn::IsCaptionStoredForKind() const {
  auto* self = const_cast<TKxBitBtn*>(this);
  return self->GetCaption() != BitBtnCaption(self->GetKind());
}

void TKxBitBtn::ChangeScale(int m, int d) {
  inherited::ChangeScale(m, d);
  if (m == d || d == 0) return;
  // -1 is no distance but the centring flag: MulDiv would turn it into -2
  // (rounding away from zero), a margin SetMargin refuses.
  if (margin_ != -1) margin_ = MulDiv(margin_, m, d);
  spacing_ = MulDiv(spacing_, m, d);
  Invalidate();
}

void TKxBitBtn::GlyphChanged(TObject*) {
  if (!settingKindGlyph_) glyphSetByUser_ = true;
  numGlyphs_ = KxGlyphCells(glyph_);
  Invalidate();
}

void TKxBitBtn::ImageListChange(TObject*) { Invalidate(); }

void TKxBitBtn::SetGlyph(TBitmap* value) {
  glyph_->Assign(value);
  glyphSetByUser_ = true;
}

TBitBtnKind TKxBitBtn::GetKind() {
  if (kind_ != bkCustom) {
    const TKindInfo& k = KindInfo(kind_);
    if (k.Default != GetDefault() || k.Cancel != GetCancel() || BitBtnModalResult(kind_) != GetModalResult() ||
        glyphSetByUser_)
      kind_ = bkCustom;
  }
  return kind_;
}

void TKxBitBtn::SetKind(TBitBtnKind value) {
  if (value == kind_) return;
  if (value == bkCustom) {
    kind_ = value;
    Invalidate();
    return;
  }
  const TKindInfo& k = KindInfo(value);
  SetDefault(k.Default);
  SetCancel(k.Cancel);
  if (!IsLoading() || GetCaption().empty()) SetCaption(BitBtnCaption(value));
  SetModalResult(BitBtnModalResult(value));
  {
    TRestore setting(settingKindGlyph_, true);
    glyph_->Assign(GetBitBtnGlyph(value));
  }
  numGlyphs_ = 2;
  glyphSetByUser_ = false;
  kind_ = value;
  Invalidate();
}

void TKxBitBtn::SetLayout(TButtonLayout value) { Store(layout_, value); }

void TKxBitBtn::SetMargin(int value) {
  if (value < -1) return;
  Store(margin_, value);
}

void TKxBitBtn::SetNumGlyphs(int value) { Store(numGlyphs_, value); }
void TKxBitBtn::SetSpacing(int value) { Store(spacing_, value); }
void TKxBitBtn::SetImageIndex(int value) { Store(imageIndex_, value); }
void TKxBitBtn::SetDisabledIndex(int value) { Store(disabledIndex_, value); }

void TKxBitBtn::SetImages(TCustomImageList* value) {
  if (KxReplaceImages(this, images_, value, imageChangeLink_)) Invalidate();
}

void TKxBitBtn::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    Invalidate();
  }
}

void TKxBitBtn::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(sender))
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->GetImageIndex());
}

TSize TKxBitBtn::GetImageSize() {
  if (images_ && imageIndex_ != -1) return TSize{images_->GetWidth(), images_->GetHeight()};
  int cells = numGlyphs_ > 0 ? numGlyphs_ : 1;
  return TSize{glyph_->GetWidth() / cells, glyph_->GetHeight()};
}

bool TKxBitBtn::HasImage() { return (images_ && imageIndex_ != -1) || !glyph_->GetEmpty(); }

int TKxBitBtn::MeasureCaptionHeight(const TRect& rect) {
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  TRect r = rect;
  std::string caption = GetCaption();
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r,
            DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
  return r.bottom - r.top;
}

TRect TKxBitBtn::GetCaptionRect() {
  TRect r = inherited::GetCaptionRect();
  if (!HasImage()) return r;
  TSize image = GetImageSize();
  if (margin_ >= 0 || layout_ == blGlyphLeft || layout_ == blGlyphRight) {
    int across = (layout_ == blGlyphLeft || layout_ == blGlyphRight) ? image.cx : image.cy;
    int cut = margin_ + across + spacing_;
    switch (layout_) {
      case blGlyphLeft: r.left += cut; break;
      case blGlyphRight: r.right -= cut; break;
      case blGlyphTop: r.top += cut; break;
      case blGlyphBottom: r.bottom -= cut; break;
    }
    return r;
  }
  int h = MeasureCaptionHeight(r);
  r.top += (GetHeight() - h - image.cy - spacing_) / 2;
  if (layout_ == blGlyphTop) r.top += image.cy;
  r.bottom = r.top + h;
  return r;
}

TRect TKxBitBtn::GetGlyphRect() {
  TRect base = TKxButton::GetCaptionRect();
  bool themed = DrawsThemed();
  if (GetShowingPressed()) OffsetRect(&base, -1, themed ? 0 : -1);
  TSize image = GetImageSize();
  int x = base.left, y = base.top;
  bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
  if (margin_ >= 0) {
    switch (layout_) {
      case blGlyphLeft: x = base.left + margin_; break;
      case blGlyphRight: x = base.right - margin_ - image.cx; break;
      case blGlyphTop: y = base.top + margin_; break;
      case blGlyphBottom: y = base.bottom - margin_ - image.cy; break;
    }
  } else {
    int h = horizontal ? 0 : MeasureCaptionHeight(base);
    int half = (GetHeight() - h - image.cy - spacing_) / 2;
    switch (layout_) {
      case blGlyphLeft: break;
      case blGlyphRight: x = base.right - image.cx; break;
      case blGlyphTop: y = half; break;
      case blGlyphBottom: y = base.top + h + half; break;
    }
  }
  if (horizontal) y = base.top + (base.bottom - base.top - image.cy + 1) / 2;
  else x = base.left + (base.right - base.left - image.cx + 1) / 2;
  if (GetShowingPressed()) {
    x += themed ? 2 : 1;
    y += themed ? 0 : 1;
  }
  return TRect{x, y, x + image.cx, y + image.cy};
}

void TKxBitBtn::DrawGlyph(TCanvas* canvas) {
  if (glyph_->GetEmpty()) return;
  TSize image = GetImageSize();
  if (image.cx <= 0 || image.cy <= 0) return;
  int cell = (numGlyphs_ >= 2 && !GetEnabled()) ? 1 : 0;
  TRect dest = GetGlyphRect();
  TRect source{cell * image.cx, 0, (cell + 1) * image.cx, image.cy};
  TColor key = glyph_->GetCanvas()->GetPixels(0, glyph_->GetHeight() - 1);
  DrawFullTransparentBitmap(canvas, glyph_, dest, source, key);
}

void TKxBitBtn::DrawImage(TCanvas* canvas) {
  if (!images_ || imageIndex_ == -1) return;
  TRect r = GetGlyphRect();
  if (disabledIndex_ == -1) images_->Draw(canvas, r.left, r.top, imageIndex_, GetEnabled());
  else images_->Draw(canvas, r.left, r.top, GetEnabled() ? imageIndex_ : disabledIndex_, true);
}

void TKxBitBtn::DrawButtonFace(TCanvas* canvas) {
  inherited::DrawButtonFace(canvas);
  if (GetKind() == bkCustom && imageIndex_ != -1 && images_) DrawImage(canvas);
  else if (!glyph_->GetEmpty()) DrawGlyph(canvas);
}
