#include "classlib/buttons/SpeedButton.h"

#include <algorithm>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/ImgList.h"
#include "classlib/Seams.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

namespace {
RGBTRIPLE Triple(TColor c) {
  COLORREF rgb = static_cast<COLORREF>(ColorToRGB(c));
  return RGBTRIPLE{GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
}

bool SameTriple(const RGBTRIPLE& a, const RGBTRIPLE& b) {
  return a.rgbtRed == b.rgbtRed && a.rgbtGreen == b.rgbtGreen && a.rgbtBlue == b.rgbtBlue;
}
}  // namespace

PUBLISHED(TSpeedButton) {
  PublishControlProps(p, {"Action"});
  p.Prop("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  PublishControlProps(p, {"Anchors", "BiDiMode", "Constraints"});
  p.Prop("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  p.Prop("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown).Default(false);
  PublishControlProps(p, {"Caption", "Enabled"});
  p.Prop("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
  PublishControlProps(p, {"Font"});
  p.Prop("Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  p.Prop("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  p.Prop("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(-1);
  p.Prop("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "ParentBiDiMode", "PopupMenu", "ShowHint"});
  p.Prop("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
  p.Prop("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent).Default(true);
  PublishControlProps(p, {"Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
  SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
  glyph_ = New<TBitmap>();
  glyph_->SetOnChange(TNotifyEvent(this, &TSpeedButton::GlyphChanged));
  SetColor(clBtnFace);
  SetParentFont(true);
}

void TSpeedButton::Destroy() {
  inherited::Destroy();
  FreeAndNil(glyph_);
}

// --- properties ----------------------------------------------------------------

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = v;
  if (v) {
    if (state_ == bsUp) Invalidate();
    state_ = bsExclusive;
  } else {
    state_ = bsUp;
    Repaint();
  }
  if (v) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool v) {
  if (allowAllUp_ == v) return;
  allowAllUp_ = v;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool v) {
  if (flat_ == v) return;
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* v) {
  glyph_->Assign(v);
  // A strip of square cells tells its own count.
  if (v && v->GetHeight() > 0 && v->GetWidth() % v->GetHeight() == 0) {
    int cells = v->GetWidth() / v->GetHeight();
    SetNumGlyphs(cells > 4 ? 1 : cells);
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs v) {
  v = std::clamp(v, 1, 4);
  if (numGlyphs_ == v) return;
  numGlyphs_ = v;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TSpeedButton::SetMargin(int v) {
  if (v < -1) v = -1;
  if (margin_ == v) return;
  margin_ = v;
  Invalidate();
}

void TSpeedButton::SetSpacing(int v) {
  if (v < -1) v = -1;
  if (spacing_ == v) return;
  spacing_ = v;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  TControlStyle style = GetControlStyle();
  if (v) style.Exclude(csOpaque);
  else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

void TSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TSpeedButton::UpdateExclusive() {
  if (groupIndex_ == 0 || !GetParent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
  GetParent()->Broadcast(m);
}

void TSpeedButton::UpdateTracking() {
  if (!flat_ || !GetEnabled() || !GetParent()) return;
  POINT p = Mouse().GetCursorPos();
  bool over = FindDragTarget(p, true) == this;
  if (over != mouseInControl_) Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

// --- drawing ---------------------------------------------------------------------

void TSpeedButton::CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset,
                                    const std::string& caption, TPoint& glyphPos, TRect& textBounds,
                                    UINT biDiFlags) {
  TButtonLayout layout = layout_;
  // Right-to-left reading mirrors a glyph on the left or the right.
  if (biDiFlags & DT_RIGHT) {
    if (layout == blGlyphLeft) layout = blGlyphRight;
    else if (layout == blGlyphRight) layout = blGlyphLeft;
  }
  TPoint clientSize{client.right - client.left, client.bottom - client.top};
  TPoint glyphSize{0, 0};
  if (!glyph_->GetEmpty()) glyphSize = TPoint{glyph_->GetWidth() / numGlyphs_, glyph_->GetHeight()};
  TPoint textSize{0, 0};
  textBounds = Rect(0, 0, 0, 0);
  if (!caption.empty()) {
    textBounds = Rect(0, 0, clientSize.x, 0);
    DrawTextA(canvas->GetHandle(), caption.c_str(), static_cast<int>(caption.size()), &textBounds,
              DT_CALCRECT | biDiFlags);
    textSize = TPoint{textBounds.right - textBounds.left, textBounds.bottom - textBounds.top};
  }
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  TPoint textPos{0, 0};
  glyphPos = TPoint{0, 0};
  // Across the layout both are centred.
  if (horizontal) {
    glyphPos.y = (clientSize.y - glyphSize.y + 1) / 2;
    textPos.y = (clientSize.y - textSize.y + 1) / 2;
  } else {
    glyphPos.x = (clientSize.x - glyphSize.x + 1) / 2;
    textPos.x = (clientSize.x - textSize.x + 1) / 2;
  }
  int spacing = spacing_;
  int margin = margin_;
  if (textSize.x == 0 || glyphSize.x == 0) spacing = 0;
  int along = horizontal ? clientSize.x : clientSize.y;
  int glyphAlong = horizontal ? glyphSize.x : glyphSize.y;
  int textAlong = horizontal ? textSize.x : textSize.y;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (along - (glyphAlong + textAlong)) / 3;
      spacing = margin;
    } else {
      margin = (along - (glyphAlong + spacing + textAlong) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (along - (margin + glyphAlong) - textAlong) / 2;
  }
  switch (layout) {
    case blGlyphLeft:
      glyphPos.x = margin;
      textPos.x = glyphPos.x + glyphSize.x + spacing;
      break;
    case blGlyphRight:
      glyphPos.x = clientSize.x - margin - glyphSize.x;
      textPos.x = glyphPos.x - spacing - textSize.x;
      break;
    case blGlyphTop:
      glyphPos.y = margin;
      textPos.y = glyphPos.y + glyphSize.y + spacing;
      break;
    case blGlyphBottom:
      glyphPos.y = clientSize.y - margin - glyphSize.y;
      textPos.y = glyphPos.y - spacing - textSize.y;
      break;
  }
  glyphPos.x += client.left + offset.x;
  glyphPos.y += client.top + offset.y;
  OffsetRect(&textBounds, textPos.x + client.left + offset.x, textPos.y + client.top + offset.y);
}

void TSpeedButton::DrawButtonGlyph(TCanvas* canvas, TPoint pos, TButtonState state) {
  if (glyph_->GetEmpty()) return;
  int w = glyph_->GetWidth() / numGlyphs_;
  int h = glyph_->GetHeight();
  // A pressed button shows its down cell only when it has three or more.
  if (state == bsDown && numGlyphs_ < 3) state = bsUp;
  int cell = static_cast<int>(state);
  bool emboss = state == bsDisabled && numGlyphs_ < 2;
  if (cell >= numGlyphs_) cell = 0;
  auto image = MakeOwned<TBitmap>();
  image->SetPixelFormat(pf24bit);
  image->SetSize(w, h);
  TRect cellRect = Rect(cell * w, 0, (cell + 1) * w, h);
  image->GetCanvas()->CopyRect(Rect(0, 0, w, h), glyph_->GetCanvas(), cellRect);
  // The glyph's transparent colour: its own bottom-left pixel unless fixed.
  TColor transparent = glyph_->GetTransparentMode() == tmFixed ? glyph_->GetTransparentColor()
                                                                 : image->GetCanvas()->GetPixels(0, h - 1);
  if (!emboss) {
    image->SetTransparentColor(transparent);
    image->SetTransparent(true);
    canvas->Draw(pos.x, pos.y, image.get());
    return;
  }
  // No disabled cell: the glyph's dark pixels embossed, highlight one pixel
  // down and right, shadow over it; light and transparent pixels stay out.
  const RGBTRIPLE key = Triple(transparent), white = Triple(clWhite);
  std::vector<bool> dark(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    auto row = image->ScanLineAs<RGBTRIPLE>(y);
    for (int x = 0; x < w; ++x) {
      const RGBTRIPLE& p = row[x];
      bool light = SameTriple(p, key) || p.rgbtRed + p.rgbtGreen + p.rgbtBlue > 3 * 0xC0;
      dark[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = !light;
    }
  }
  for (int pass = 0; pass < 2; ++pass) {
    const RGBTRIPLE ink = Triple(pass == 0 ? clBtnHighlight : clBtnShadow);
    auto tinted = MakeOwned<TBitmap>();
    tinted->SetPixelFormat(pf24bit);
    tinted->SetSize(w, h);
    for (int y = 0; y < h; ++y) {
      auto row = tinted->ScanLineAs<RGBTRIPLE>(y);
      for (int x = 0; x < w; ++x)
        row[x] = dark[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] ? ink : white;
    }
    tinted->SetTransparentColor(clWhite);
    tinted->SetTransparent(true);
    int d = pass == 0 ? 1 : 0;
    canvas->Draw(pos.x + d, pos.y + d, tinted.get());
  }
}

void TSpeedButton::DrawButtonText(TCanvas* canvas, const std::string& caption, TRect textBounds,
                                  TButtonState state, UINT biDiFlags) {
  canvas->GetBrush()->SetStyle(bsClear);
  DrawControlText(canvas, caption, textBounds, DT_CENTER | DT_VCENTER | biDiFlags, state != bsDisabled);
}

void TSpeedButton::Paint() {
  if (!GetEnabled()) {
    state_ = bsDisabled;
    dragging_ = false;
  } else if (state_ == bsDisabled) {
    state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
  }
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  TRect paintRect = Rect(0, 0, GetWidth(), GetHeight());
  bool pressed = state_ == bsDown || state_ == bsExclusive;
  if (!flat_) {
    UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0);
    DrawFrameControl(canvas->GetHandle(), &paintRect, DFC_BUTTON, flags);
  } else {
    if (pressed || (mouseInControl_ && state_ != bsDisabled) || IsDesigning()) {
      DrawEdge(canvas->GetHandle(), &paintRect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
               (transparent_ ? 0 : BF_MIDDLE) | BF_RECT);
    } else if (!transparent_) {
      canvas->GetBrush()->SetColor(GetColor());
      canvas->FillRect(paintRect);
    }
    InflateRect(&paintRect, -1, -1);
  }
  TPoint offset{0, 0};
  if (pressed) {
    if (state_ == bsExclusive && (!flat_ || !mouseInControl_)) {
      canvas->GetBrush()->SetBitmap(AllocPatternBitmap(clBtnFace, clBtnHighlight));
      canvas->FillRect(paintRect);
      canvas->GetBrush()->SetBitmap(nullptr);
    }
    offset = TPoint{1, 1};
  }
  UINT biDiFlags = DrawTextBiDiModeFlags(0);
  std::string caption = GetCaption();
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(canvas, paintRect, offset, caption, glyphPos, textBounds, biDiFlags);
  DrawButtonGlyph(canvas, glyphPos, state_);
  if (!caption.empty()) DrawButtonText(canvas, caption, textBounds, state_, biDiFlags);
}

// --- mouse and messages ------------------------------------------------------------

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button == mbLeft && GetEnabled()) {
    if (!down_) {
      state_ = bsDown;
      Invalidate();
    }
    dragging_ = true;
  }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (dragging_) {
    bool inside = x >= 0 && x < GetClientWidth() && y >= 0 && y <= GetClientHeight();
    TButtonState next = down_ ? bsExclusive : (inside ? bsDown : bsUp);
    if (next != state_) {
      state_ = next;
      Invalidate();
    }
  } else if (!mouseInControl_) {
    UpdateTracking();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  bool doClick = x >= 0 && x < GetClientWidth() && y >= 0 && y <= GetClientHeight();
  if (groupIndex_ == 0) {
    // Up again, also when the mouse was captured elsewhere.
    state_ = bsUp;
    mouseInControl_ = false;
    if (doClick) Invalidate();
  } else if (doClick) {
    SetDown(!down_);
    if (down_) Repaint();
  } else {
    if (down_) state_ = bsExclusive;
    Repaint();
  }
  if (doClick) Click();
  UpdateTracking();
}

void TSpeedButton::Click() { inherited::Click(); }

void TSpeedButton::Loaded() {
  inherited::Loaded();
  state_ = GetEnabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
}

void TSpeedButton::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (checkDefaults || groupIndex_ == 0) SetGroupIndex(action->GetGroupIndex());
  // An action's image becomes the glyph of a button that has none.
  TCustomImageList* images = action->GetImages();
  int index = action->GetImageIndex();
  if (glyph_->GetEmpty() && images && index >= 0 && index < images->GetCount()) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(images->GetWidth(), images->GetHeight());
    bitmap->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    bitmap->GetCanvas()->FillRect(Rect(0, 0, images->GetWidth(), images->GetHeight()));
    images->Draw(bitmap->GetCanvas(), 0, 0, index);
    bitmap->SetTransparentColor(clFuchsia);
    SetGlyph(bitmap.get());
  }
}

TClass TSpeedButton::GetActionLinkClass() { return TSpeedButtonActionLink::StaticClass(); }

void TSpeedButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TSpeedButton::WMLButtonDblClk(TMessage& m) {
  inherited::WMLButtonDblClk(m);
  if (down_) DblClick();
}

void TSpeedButton::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  UpdateTracking();
  Repaint();
}

void TSpeedButton::CMFontChanged(TMessage&) { Invalidate(); }
void TSpeedButton::CMTextChanged(TMessage&) { Invalidate(); }

void TSpeedButton::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  if (flat_ && !mouseInControl_ && GetEnabled() && !::GetCapture()) {
    mouseInControl_ = true;
    Repaint();
  }
}

void TSpeedButton::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  if (flat_ && mouseInControl_ && GetEnabled() && !dragging_) {
    mouseInControl_ = false;
    Invalidate();
  }
}

void TSpeedButton::CMButtonPressed(TMessage& m) {
  if (static_cast<int>(m.WParam) != groupIndex_) return;
  auto* sender = reinterpret_cast<TSpeedButton*>(m.LParam);
  if (!sender || sender == this) return;
  if (sender->GetDown() && down_) {
    down_ = false;
    state_ = bsUp;
    if (auto* action = dynamic_cast<TCustomAction*>(GetAction())) action->SetChecked(false);
    Invalidate();
  }
  allowAllUp_ = sender->GetAllowAllUp();
}

void TSpeedButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && GetEnabled() && GetVisible() && GetParent() &&
      GetParent()->GetShowing()) {
    Click();
    m.Result = 1;
  }
}

// ---------------------------------------------------------------------------
// TSpeedButtonActionLink

IMPLEMENT_CLASS(TSpeedButtonActionLink)

void TSpeedButtonActionLink::AssignClient(TObject* client) {
  inherited::AssignClient(client);
  buttonClient_ = dynamic_cast<TSpeedButton*>(client);
  if (!buttonClient_) throw EInvalidCast("Invalid class typecast");
}

bool TSpeedButtonActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && CustomAction() && buttonClient_->GetGroupIndex() != 0 &&
         buttonClient_->GetAllowAllUp() && buttonClient_->GetDown() == CustomAction()->GetChecked();
}

bool TSpeedButtonActionLink::IsGroupIndexLinked() {
  return CustomAction() && buttonClient_->GetGroupIndex() == CustomAction()->GetGroupIndex();
}

void TSpeedButtonActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) buttonClient_->SetDown(v);
}

void TSpeedButtonActionLink::SetGroupIndex(int v) {
  if (IsGroupIndexLinked()) buttonClient_->SetGroupIndex(v);
}
