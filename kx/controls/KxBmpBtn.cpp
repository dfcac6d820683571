#include "kx/controls/KxBmpBtn.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/stdctrls/FormLink.h"
#include "kx/foundation/KxGrafx.h"

DEFINE_ENUM_TYPE(TButtonBorder, "bbNone", "bbSingle", "bbButton")
DEFINE_ENUM_TYPE(TBtnSize, "bszNeither", "bszButtonToBitmap", "bszStretchToButton", "bszTileToButton")

namespace {

// The live bitmap buttons and the checker they share.
int gLiveButtons = 0;
TBitmap* gPattern = nullptr;

TKxBmpButton* BmpButtonOf(LPARAM lParam) {
  return dynamic_cast<TKxBmpButton*>(reinterpret_cast<TObject*>(lParam));
}

bool HasImage(TBitmap* b) { return b && !b->GetEmpty(); }

// The disabled look of a face without its own: the dark pixels of up in
// clBtnShadow with a white copy one pixel down and right, on the
// transparent colour.
void Emboss(TBitmap* up, TColor key, TBitmap* out) {
  int w = up->GetWidth(), h = up->GetHeight();
  Owned<TBitmap> src = MakeOwned<TBitmap>();
  src->Assign(up);
  src->SetPixelFormat(pf24bit);
  out->Assign(nullptr);
  out->SetPixelFormat(pf24bit);
  out->SetSize(w, h);
  COLORREF k = static_cast<COLORREF>(ColorToRGB(key));
  std::vector<uint8_t> shape(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    auto row = src->ScanLineAs<RGBTRIPLE>(y);
    for (int x = 0; x < w; ++x) {
      const RGBTRIPLE& p = row[x];
      bool transparent = RGB(p.rgbtRed, p.rgbtGreen, p.rgbtBlue) == k;
      shape[static_cast<size_t>(y) * w + x] = !transparent && p.rgbtRed + p.rgbtGreen + p.rgbtBlue < 3 * 128;
    }
  }
  auto triple = [](TColor c) {
    COLORREF rgb = static_cast<COLORREF>(ColorToRGB(c));
    return RGBTRIPLE{GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
  };
  const RGBTRIPLE back = triple(key), white = triple(clWhite), shadow = triple(clBtnShadow);
  for (int y = 0; y < h; ++y) {
    auto row = out->ScanLineAs<RGBTRIPLE>(y);
    for (int x = 0; x < w; ++x) {
      bool self = shape[static_cast<size_t>(y) * w + x];
      bool above = x > 0 && y > 0 && shape[static_cast<size_t>(y - 1) * w + (x - 1)];
      row[x] = self ? shadow : above ? white : back;
    }
  }
  out->Changed(out);
}

}  // namespace

void InitializeKxBmpBtn() {
  RegisterClasses({TKxBmpButton::StaticClass()});
}

void FinalizeKxBmpBtn() { FreeAndNil(gPattern); }

// --- TKxButtonBitmaps ------------------------------------------------------------------------

PUBLISHED(TKxButtonBitmaps) {
  using C = TKxButtonBitmaps;
  p.Prop("Up", &C::GetUp, &C::SetUp);
  p.Prop("UpAndFocused", &C::GetUpAndFocused, &C::SetUpAndFocused);
  p.Prop("Disabled", &C::GetDisabled, &C::SetDisabled);
  p.Prop("Down", &C::GetDown, &C::SetDown);
  p.Prop("StayDown", &C::GetStayDown, &C::SetStayDown);
  p.Prop("Hot", &C::GetHot, &C::SetHot);
  p.Prop("TransparentColor", &C::GetTransparentColor, &C::SetTransparentColor).NoDefault().Type(TColorTypeInfo());
}

TKxButtonBitmaps::TKxButtonBitmaps() {
  for (TBitmap** b : {&up_, &upAndFocused_, &disabled_, &down_, &stayDown_, &hot_}) {
    *b = New<TBitmap>();
    (*b)->SetOnChange(TNotifyEvent(this, &TKxButtonBitmaps::Changed));
  }
}

void TKxButtonBitmaps::Destroy() {
  for (TBitmap** b : {&up_, &upAndFocused_, &disabled_, &down_, &stayDown_, &hot_}) FreeAndNil(*b);
  inherited::Destroy();
}

void TKxButtonBitmaps::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TKxButtonBitmaps::SetUp(TBitmap* value) { up_->Assign(value); }
void TKxButtonBitmaps::SetUpAndFocused(TBitmap* value) { upAndFocused_->Assign(value); }
void TKxButtonBitmaps::SetDisabled(TBitmap* value) { disabled_->Assign(value); }
void TKxButtonBitmaps::SetDown(TBitmap* value) { down_->Assign(value); }
void TKxButtonBitmaps::SetStayDown(TBitmap* value) { stayDown_->Assign(value); }
void TKxButtonBitmaps::SetHot(TBitmap* value) { hot_->Assign(value); }

void TKxButtonBitmaps::SetTransparentColor(TColor value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  Changed(this);
}

void TKxButtonBitmaps::AssignTo(TPersistent* dest) {
  auto* d = dynamic_cast<TKxButtonBitmaps*>(dest);
  if (!d) {
    inherited::AssignTo(dest);
    return;
  }
  d->SetUp(up_);
  d->SetUpAndFocused(upAndFocused_);
  d->SetDisabled(disabled_);
  d->SetDown(down_);
  d->SetStayDown(stayDown_);
  d->SetHot(hot_);
  d->SetTransparentColor(transparentColor_);
}

// --- layout --------------------------------------------------------------------------------------

void KxBmpButtonLayout(const TRect& face, TSize glyph, TSize text, TButtonLayout layout, int margin, int spacing,
                       TPoint& glyphPos, TRect& textRect) {
  int faceW = face.right - face.left, faceH = face.bottom - face.top;
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  TPoint g{0, 0}, t{0, 0};
  // Across the layout's axis both are centred.
  if (horizontal) {
    g.y = (faceH - glyph.cy + 1) / 2;
    t.y = (faceH - text.cy + 1) / 2;
  } else {
    g.x = (faceW - glyph.cx + 1) / 2;
    t.x = (faceW - text.cx + 1) / 2;
  }
  // Without a caption or a glyph there is nothing to space.
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  int extent = horizontal ? faceW : faceH;
  int g1 = horizontal ? glyph.cx : glyph.cy;
  int t1 = horizontal ? text.cx : text.cy;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (extent - (g1 + t1)) / 3;
      spacing = margin;
    } else {
      margin = (extent - (g1 + spacing + t1) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (extent - (margin + g1) - t1) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      g.x = margin;
      t.x = g.x + glyph.cx + spacing;
      break;
    case blGlyphRight:
      g.x = faceW - margin - glyph.cx;
      t.x = g.x - spacing - text.cx;
      break;
    case blGlyphTop:
      g.y = margin;
      t.y = g.y + glyph.cy + spacing;
      break;
    case blGlyphBottom:
      g.y = faceH - margin - glyph.cy;
      t.y = g.y - spacing - text.cy;
      break;
  }
  glyphPos = TPoint{face.left + g.x, face.top + g.y};
  textRect = TRect{face.left + t.x, face.top + t.y, face.left + t.x + text.cx, face.top + t.y + text.cy};
}

// --- TKxBmpButton -----------------------------------------------------------------------------------

PUBLISHED(TKxBmpButton) {
  using C = TKxBmpButton;
  PublishControlProps(p, {"Action"});
  p.Prop("AllowAllUp", &C::GetAllowAllUp, &C::SetAllowAllUp).Default(false);
  p.Prop("Bitmaps", &C::GetBitmaps, &C::SetBitmaps);
  p.Prop("ButtonBorder", &C::GetButtonBorder, &C::SetButtonBorder).Default(bbNone);
  p.Prop("ButtonSize", &C::GetButtonSize, &C::SetButtonSize).Default(bszButtonToBitmap);
  p.Prop("ButtonStyle", &C::GetButtonStyle, &C::SetButtonStyle).Default(bsAutoDetect);
  PublishControlProps(p, {"Caption"});
  p.Prop("CaptionDownOffset", &C::GetCaptionDownOffset, &C::SetCaptionDownOffset).Default(1);
  p.Prop("Color", &TControl::GetColor, &C::SetColor).NoDefault().Type(TColorTypeInfo());
  p.Prop("Down", &C::GetDown, &C::SetDown).Default(false);
  PublishControlProps(p, {"Enabled", "Font"});
  p.Prop("GroupIndex", &C::GetGroupIndex, &C::SetGroupIndex).Default(0);
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Default(30);
  p.Prop("Layout", &C::GetLayout, &C::SetLayout).Default(blGlyphLeft);
  p.Prop("Margin", &C::GetMargin, &C::SetMargin).Default(-1);
  p.Prop("ModalResult", &C::GetModalResult, &C::SetModalResult).Default(0);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowDownPattern", &C::GetShowDownPattern, &C::SetShowDownPattern).Default(true);
  p.Prop("ShowFocus", &C::GetShowFocus, &C::SetShowFocus).Default(true);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Spacing", &C::GetSpacing, &C::SetSpacing).Default(4);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(80);
  PublishControlProps(p, {"OnClick", "OnDblClick", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                          "OnMouseDown"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp"});
}

TKxBmpButton::TKxBmpButton(TComponent* owner) : TCustomControl(owner) {
  // The bitmaps first: resizing asks for them.
  bitmaps_ = New<TKxButtonBitmaps>();
  bitmaps_->OnChange = TNotifyEvent(this, &TKxBmpButton::BitmapsChanged);
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
  SetBounds(GetLeft(), GetTop(), 80, 30);
  SetColor(clBtnFace);
  SetParentFont(true);
  SetTabStop(true);
  ++gLiveButtons;
}

void TKxBmpButton::Destroy() {
  inherited::Destroy();
  FreeAndNil(bitmaps_);
  if (--gLiveButtons == 0) FreeAndNil(gPattern);
}

int TKxBmpButton::LiveCount() { return gLiveButtons; }
TBitmap* TKxBmpButton::SharedPattern() { return gPattern; }

bool TKxBmpButton::NewStyle() const {
  return buttonStyle_ == bsNew || (buttonStyle_ == bsAutoDetect && NewStyleControls);
}

int TKxBmpButton::BorderWidth() const {
  switch (buttonBorder_) {
    case bbNone: return 0;
    case bbSingle: return 1;
    case bbButton: return NewStyle() ? 2 : 3;
  }
  return 0;
}

void TKxBmpButton::SizeToBitmap() {
  if (!IsLoading() && buttonSize_ == bszButtonToBitmap && HasImage(bitmaps_->GetUp())) {
    int b = BorderWidth();
    SetBounds(GetLeft(), GetTop(), bitmaps_->GetUp()->GetWidth() + 2 * b, bitmaps_->GetUp()->GetHeight() + 2 * b);
  }
  Invalidate();
}

void TKxBmpButton::BitmapsChanged(TObject*) { SizeToBitmap(); }

void TKxBmpButton::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  Broadcast();
}

void TKxBmpButton::SetButtonBorder(TButtonBorder value) {
  if (buttonBorder_ == value) return;
  buttonBorder_ = value;
  SizeToBitmap();
}

void TKxBmpButton::SetButtonSize(TBtnSize value) {
  if (buttonSize_ == value) return;
  buttonSize_ = value;
  SizeToBitmap();
}

void TKxBmpButton::SetButtonStyle(TButtonStyle value) {
  if (buttonStyle_ == value) return;
  buttonStyle_ = value;
  SizeToBitmap();
}

void TKxBmpButton::SetColor(TColor value) {
  inherited::SetColor(value);
  Invalidate();
}

void TKxBmpButton::SetState(TButtonState state) {
  if (state_ == state) return;
  state_ = state;
  Invalidate();
}

void TKxBmpButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = value;
  if (value) {
    SetState(bsExclusive);
    Broadcast();
  } else {
    SetState(bsUp);
  }
}

void TKxBmpButton::SetCaptionDownOffset(int value) {
  if (captionDownOffset_ == value) return;
  captionDownOffset_ = value;
  Invalidate();
}

void TKxBmpButton::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  Broadcast();
}

void TKxBmpButton::SetLayout(TButtonLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TKxBmpButton::SetMargin(int value) {
  if (value < -1 || margin_ == value) return;
  margin_ = value;
  Invalidate();
}

void TKxBmpButton::SetShowDownPattern(bool value) {
  if (showDownPattern_ == value) return;
  showDownPattern_ = value;
  Invalidate();
}

void TKxBmpButton::SetShowFocus(bool value) {
  if (showFocus_ == value) return;
  showFocus_ = value;
  Invalidate();
}

void TKxBmpButton::SetSpacing(int value) {
  if (spacing_ == value) return;
  spacing_ = value;
  Invalidate();
}

void TKxBmpButton::Broadcast() {
  TWinControl* parent = GetParent();
  if (!parent) return;
  TMessage m{CM_BUTTONEXTPRESSED, static_cast<WPARAM>(groupIndex_),
             reinterpret_cast<LPARAM>(static_cast<TObject*>(this)), 0};
  parent->Broadcast(m);
}

void TKxBmpButton::CMButtonExtPressed(TMessage& m) {
  if (static_cast<int>(m.WParam) != groupIndex_) return;
  TKxBmpButton* sender = BmpButtonOf(m.LParam);
  if (!sender || sender == this) return;
  if (sender->down_ && down_) {
    down_ = false;
    SetState(bsUp);
  }
  allowAllUp_ = sender->allowAllUp_;
}

void TKxBmpButton::Loaded() {
  inherited::Loaded();
  SizeToBitmap();
}

// --- painting ----------------------------------------------------------------------------------------

TBitmap* TKxBmpButton::FaceImage(TBitmap* scratch) {
  TKxButtonBitmaps* b = bitmaps_;
  bool disabled = state_ == bsDisabled;
  if (!HasImage(b->GetUp()) && !(disabled && HasImage(b->GetDisabled()))) return nullptr;
  switch (state_) {
    case bsUp:
      if (mouseOver_ && HasImage(b->GetHot())) return b->GetHot();
      if (focused_ && showFocus_ && HasImage(b->GetUpAndFocused())) return b->GetUpAndFocused();
      return b->GetUp();
    case bsDisabled:
      if (HasImage(b->GetDisabled())) return b->GetDisabled();
      Emboss(b->GetUp(), b->GetTransparentColor(), scratch);
      return scratch;
    case bsDown: return HasImage(b->GetDown()) ? b->GetDown() : b->GetUp();
    case bsExclusive:
      if (HasImage(b->GetStayDown())) return b->GetStayDown();
      return HasImage(b->GetDown()) ? b->GetDown() : b->GetUp();
  }
  return b->GetUp();
}

void TKxBmpButton::Paint() {
  if (!GetEnabled() && !IsDesigning()) {
    state_ = bsDisabled;
    pressed_ = false;
  } else if (GetEnabled() && state_ == bsDisabled) {
    state_ = bsUp;
  }
  TRect client = GetClientRect();
  Owned<TBitmap> offscreen = MakeOwned<TBitmap>();
  offscreen->SetPixelFormat(pf24bit);
  offscreen->SetSize(client.right, client.bottom);
  TCanvas* canvas = offscreen->GetCanvas();
  bool newStyle = NewStyle();
  bool down = state_ == bsDown || state_ == bsExclusive;
  TRect face = client;
  switch (buttonBorder_) {
    case bbNone:
      DrawParentImage(this, canvas);
      if (IsDesigning()) {
        canvas->GetPen()->SetStyle(psDot);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->Rectangle(client);
        canvas->GetPen()->SetStyle(psSolid);
      }
      break;
    case bbSingle:
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(GetColor());
      canvas->FillRect(client);
      canvas->GetBrush()->SetColor(clBlack);
      canvas->FrameRect(client);
      InflateRect(&face, -1, -1);
      break;
    case bbButton:
      DrawButtonFace(canvas, client, newStyle ? 1 : 2, buttonStyle_, false, down, focused_ && showFocus_);
      InflateRect(&face, -1, -1);
      break;
  }
  if (state_ == bsExclusive) {
    if (showDownPattern_) {
      if (!gPattern) gPattern = KxCheckerPattern(clBtnFace, clWhite).release();
      canvas->GetBrush()->SetBitmap(gPattern);
    } else {
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(GetColor());
    }
    if (buttonBorder_ != bbNone) {
      // Inside the border's edges.
      TRect r = face;
      r.right -= newStyle ? 2 : 1;
      r.bottom -= newStyle ? 2 : 1;
      int bevel = newStyle ? 1 : 2;
      InflateRect(&r, -bevel, -bevel);
      canvas->FillRect(r);
    }
    canvas->GetBrush()->SetBitmap(nullptr);
  }

  Owned<TBitmap> scratch = MakeOwned<TBitmap>();
  TBitmap* image = FaceImage(scratch.get());
  std::string caption = GetCaption();
  canvas->GetFont()->Assign(GetFont());
  TRect measured{0, 0, face.right - face.left, 0};
  if (!caption.empty())
    DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  TSize textSize{measured.right - measured.left, caption.empty() ? 0 : measured.bottom - measured.top};
  TSize glyphSize{0, 0};
  if (buttonSize_ == bszNeither && image) glyphSize = TSize{image->GetWidth(), image->GetHeight()};
  TPoint glyphPos;
  TRect textRect;
  KxBmpButtonLayout(face, glyphSize, textSize, layout_, margin_, spacing_, glyphPos, textRect);
  if (image) {
    TColor key = bitmaps_->GetTransparentColor();
    int w = image->GetWidth(), h = image->GetHeight();
    switch (buttonSize_) {
      case bszNeither:
        DrawTransparentBitmap(canvas, image, TRect{glyphPos.x, glyphPos.y, glyphPos.x + w, glyphPos.y + h},
                              TRect{0, 0, w, h}, key);
        break;
      case bszButtonToBitmap:
        // The button is the bitmap's size: the face is the bitmap's place.
        DrawFullTransparentBitmap(canvas, image, TRect{face.left, face.top, face.left + w, face.top + h},
                                  TRect{0, 0, w, h}, key);
        break;
      case bszStretchToButton: StretchTransparentBitmap(canvas, image, face, key); break;
      case bszTileToButton: TileTransparentBitmap(canvas, image, face, key); break;
    }
  }
  if (!caption.empty()) {
    canvas->GetBrush()->SetStyle(bsClear);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    if (state_ == bsDisabled) {
      TRect r = textRect;
      OffsetRect(&r, 1, 1);
      canvas->GetFont()->SetColor(clWhite);
      DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, flags);
      canvas->GetFont()->SetColor(clGray);
      DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &textRect, flags);
    } else {
      if (down) OffsetRect(&textRect, captionDownOffset_, captionDownOffset_);
      DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &textRect, flags);
    }
    if (focused_ && showFocus_) {
      TRect r = textRect;
      InflateRect(&r, 2, 2);
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->DrawFocusRect(r);
    }
  }
  GetCanvas()->Draw(0, 0, offscreen.get());
}

// --- mouse and keyboard ------------------------------------------------------------------------------

void TKxBmpButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (GetEnabled() && !focused_ && HandleAllocated()) ::SetFocus(GetHandle());
  if (button != mbLeft || !GetEnabled() || !focused_) return;
  if (!down_) SetState(bsDown);
  pressed_ = true;
}

void TKxBmpButton::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (!pressed_) return;
  RECT client = GetClientRect();
  bool inside = PtInRect(&client, POINT{x, y}) != 0;
  SetState(down_ ? bsExclusive : inside ? bsDown : bsUp);
}

void TKxBmpButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (!pressed_) return;
  pressed_ = false;
  RECT client = GetClientRect();
  bool inside = PtInRect(&client, POINT{x, y}) != 0;
  if (groupIndex_ != 0) Broadcast();
  else SetState(bsUp);
  ClickButton(inside);
}

void TKxBmpButton::ClickButton(bool clicked) {
  if (groupIndex_ == 0) {
    Repaint();
  } else if (clicked) {
    SetDown(!down_);
  } else {
    SetState(down_ ? bsExclusive : bsUp);
    Repaint();
  }
  if (clicked) Click();
}

void TKxBmpButton::Click() {
  SetParentFormModalResult(this, modalResult_);
  inherited::Click();
}

void TKxBmpButton::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key == VK_RETURN) {
    Click();
  } else if (key == VK_SPACE && GetEnabled()) {
    if (!down_) SetState(bsDown);
    pressed_ = true;
  }
}

void TKxBmpButton::KeyUp(WORD& key, TShiftState shift) {
  inherited::KeyUp(key, shift);
  if (key != VK_SPACE || !pressed_) return;
  pressed_ = false;
  SetState(down_ ? bsExclusive : bsUp);
  ClickButton(true);
}

// --- messages ------------------------------------------------------------------------------------------

void TKxBmpButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(m); return;
    case CM_BUTTONEXTPRESSED: CMButtonExtPressed(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TKxBmpButton::WMSize(TMessage& m) {
  inherited::WMSize(m);
  SizeToBitmap();
}

void TKxBmpButton::WMSetFocus(TMessage& m) {
  inherited::WMSetFocus(m);
  focused_ = true;
  Invalidate();
}

void TKxBmpButton::WMKillFocus(TMessage& m) {
  inherited::WMKillFocus(m);
  focused_ = false;
  Invalidate();
}

void TKxBmpButton::WMLButtonDblClk(TMessage& m) {
  inherited::WMLButtonDblClk(m);
  // A double click means something only to a button that stays down.
  if (down_) DblClick();
}

void TKxBmpButton::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  Invalidate();
}

void TKxBmpButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && GetEnabled()) {
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TKxBmpButton::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  Invalidate();
}

void TKxBmpButton::CMTextChanged(TMessage&) { Invalidate(); }
void TKxBmpButton::CMSysColorChange(TMessage&) { Invalidate(); }

void TKxBmpButton::MouseEnter() {
  mouseOver_ = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if (bitmaps_->GetHot()->HandleAllocated()) Invalidate();
}

void TKxBmpButton::MouseLeave() {
  mouseOver_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (bitmaps_->GetHot()->HandleAllocated()) Invalidate();
}

void TKxBmpButton::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  MouseEnter();
}

void TKxBmpButton::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  MouseLeave();
}
