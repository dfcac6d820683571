#include "kx/controls/KxPanel.h"
#include "kx/controls/KxPanelPublish.h"

#include <algorithm>

#include "classlib/Controls.h"
#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/StdCtrls.h"
#include "classlib/stdctrls/FormLink.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/foundation/KxGrafx.h"
#include "kx/foundation/KxStatus.h"
#include "kx/foundation/KxThemeSrv.h"

DEFINE_ENUM_TYPE(TKxGridStyle, "gsDots", "gsDottedLines", "gsSolidLines")
DEFINE_ENUM_TYPE(TKxGroupBoxStyle, "gsStandard", "gsCustom", "gsTopLine", "gsFlat")
DEFINE_ENUM_TYPE(TKxToolbarTextOptions, "ttoNoTextLabels", "ttoShowTextLabels", "ttoSelectiveTextOnRight",
                 "ttoCustom")

int KxFrameBand(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
  }
}

namespace {

SIZE MeasureText(TFont* font, const std::string& text) { return KxTextExtent(font, text); }

UINT AlignmentFlag(TAlignment a) { return a == taLeftJustify ? DT_LEFT : a == taRightJustify ? DT_RIGHT : DT_CENTER; }

}  // namespace

int KxTextHeight(TFont* font, const std::string& text) { return MeasureText(font, text).cy; }
int KxTextWidth(TFont* font, const std::string& text) { return MeasureText(font, text).cx; }

// ---------------------------------------------------------------------------
// TKxCustomPanel

IMPLEMENT_CLASS(TKxCustomPanel)

TKxCustomPanel::TKxCustomPanel(TComponent* owner) : TCustomPanel(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csSetCaption});
  // The class library's bevels are never drawn: the frame styles take over.
  SetBevelOuter(bvNone);
  savedStates_ = New<TStringList>();
}

void TKxCustomPanel::Destroy() {
  SetFrameController(nullptr);
  inherited::Destroy();
  FreeAndNil(savedStates_);
}

bool TKxCustomPanel::DrawsThemed() const { return themeAware_ && ThemeServices().GetThemesEnabled(); }

TPoint TKxCustomPanel::CursorPosition() {
  POINT p{0, 0};
  Seams().GetCursorPos(p);
  return ScreenToClient(p);
}

TRect TKxCustomPanel::FixClientRect(const TRect& rect, bool withBorderWidth) {
  TRect r = rect;
  if (withBorderWidth) InflateRect(&r, -GetBorderWidth(), -GetBorderWidth());
  for (TFrameStyleEx style : {borderOuter_, borderInner_}) {
    int band = KxFrameBand(style, GetBevelWidth());
    if (borderSides_.Contains(sdLeft)) r.left += band;
    if (borderSides_.Contains(sdTop)) r.top += band;
    if (borderSides_.Contains(sdRight)) r.right -= band;
    if (borderSides_.Contains(sdBottom)) r.bottom -= band;
  }
  return r;
}

TRect TKxCustomPanel::GetControlRect() { return TRect{0, 0, GetWidth(), GetHeight()}; }

void TKxCustomPanel::SetGridSize(uint16_t x, uint16_t y) {
  SetGridXSize(x);
  SetGridYSize(y);
}

void TKxCustomPanel::SetAlignmentVertical(TAlignmentVertical value) { Store(alignmentVertical_, value); }
void TKxCustomPanel::SetBorderColor(TColor value) { Store(borderColor_, value); }
void TKxCustomPanel::SetBorderHighlight(TColor value) { Store(borderHighlight_, value); }
void TKxCustomPanel::SetBorderShadow(TColor value) { Store(borderShadow_, value); }
void TKxCustomPanel::SetFlatColor(TColor value) { Store(flatColor_, value); }
void TKxCustomPanel::SetFlatColorAdjustment(int value) { Store(flatColorAdjustment_, value); }
void TKxCustomPanel::SetGridColor(TColor value) { Store(gridColor_, value); }
void TKxCustomPanel::SetGridStyle(TKxGridStyle value) { Store(gridStyle_, value); }
void TKxCustomPanel::SetGridXSize(uint16_t value) { Store(gridXSize_, value); }
void TKxCustomPanel::SetGridYSize(uint16_t value) { Store(gridYSize_, value); }
void TKxCustomPanel::SetShowGrid(bool value) { Store(showGrid_, value); }
void TKxCustomPanel::SetThemeAware(bool value) { Store(themeAware_, value); }

// The client area depends on the frame: the children are aligned again.
void TKxCustomPanel::SetBorderInner(TFrameStyleEx value) {
  if (borderInner_ == value) return;
  borderInner_ = value;
  Realign();
  Invalidate();
}

void TKxCustomPanel::SetBorderOuter(TFrameStyleEx value) {
  if (borderOuter_ == value) return;
  borderOuter_ = value;
  Realign();
  Invalidate();
}

void TKxCustomPanel::SetBorderSides(TSides value) {
  if (borderSides_ == value) return;
  borderSides_ = value;
  Realign();
  Invalidate();
}

void TKxCustomPanel::SetFrameController(TKxFrameController* value) {
  KxSetFrameController(this, frameController_, value);
}

void TKxCustomPanel::CustomFramingChanged() {
  if (!frameController_ || !frameController_->GetFrameVisible()) return;
  borderOuter_ = frameController_->GetFrameStyle();
  borderSides_ = frameController_->GetFrameSides();
  flatColor_ = frameController_->GetFrameColor();
  flatColorAdjustment_ = 0;
  SetColor(frameController_->GetColor());
  SetParentColor(frameController_->GetParentColor());
  borderHighlight_ = LighterColor(GetColor(), 100);
  borderShadow_ = DarkerColor(GetColor(), 50);
  Invalidate();
}

void TKxCustomPanel::SetTransparent(bool value) {
  transparent_ = value;
  if (value) SetControlStyle(GetControlStyle() - TControlStyle{csOpaque});
  else SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  Invalidate();
  for (TControl* child : Controls()) child->Invalidate();
}

void TKxCustomPanel::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKxCustomPanel::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

IDockManager* TKxCustomPanel::CreateDockManager() {
  IDockManager* manager = GetDockManager();
  if (!manager && GetDockSite() && GetUseDockManager()) manager = New<TKxPanelDockManager>(this);
  // The captions are painted over the docked controls' zones: without a
  // buffer they flicker with every repaint of the site.
  if (manager) SetDoubleBuffered(true);
  return manager;
}

void TKxCustomPanel::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  MouseEnter();
}

void TKxCustomPanel::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  MouseLeave();
}

void TKxCustomPanel::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty("FrameSides", &TKxOldPropReader::ReadOldSetProp, nullptr, false);
}

void TKxCustomPanel::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == frameController_) frameController_ = nullptr;
  // A freed child leaves the saved states, which would otherwise point at
  // it when the panel is enabled again.
  if (savedStates_) {
    int i = savedStates_->IndexOfObject(component);
    if (i >= 0) savedStates_->Delete(i);
  }
}

void TKxCustomPanel::SetBounds(int left, int top, int width, int height) {
  // A panel on the bottom (or right) edge grows upwards (leftwards): the
  // edge it is aligned to stays where it is.
  if (GetAlign() == alBottom && height != GetHeight()) top = GetTop() + GetHeight() - height;
  if (GetAlign() == alRight && width != GetWidth()) left = GetLeft() + GetWidth() - width;
  inherited::SetBounds(left, top, width, height);
}

void TKxCustomPanel::AdjustClientRect(RECT& rect) {
  inherited::AdjustClientRect(rect);
  // The class library's alignment asks for the client rectangle afresh
  // (AdjustClientRect) after AlignControls was given it, so the frame bands
  // that AlignControls takes off are taken off here while it aligns.
  if (aligning_) rect = FixClientRect(rect, false);
  if (GetDockSite()) rect = FixClientRect(rect, false);
}

void TKxCustomPanel::AlignControls(TControl* control, RECT& rect) {
  TRestore aligning(aligning_, true);
  inherited::AlignControls(control, rect);
}

void TKxCustomPanel::Paint() {
  TCanvas* canvas = GetCanvas();
  TColor parentColor = GetParent() ? GetParent()->GetColor() : GetColor();
  TRect r = DrawInnerOuterBorders(canvas, GetControlRect(), borderOuter_, borderInner_, GetBorderWidth(),
                                  borderSides_, GetBevelWidth(), borderColor_, borderHighlight_, borderShadow_,
                                  flatColor_, flatColorAdjustment_, GetColor(), parentColor, transparent_, false);
  if (!transparent_) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
  }
  if (showGrid_) DrawGrid(r);
  canvas->GetBrush()->SetStyle(bsClear);
  DrawCaption(r);
  canvas->GetBrush()->SetStyle(bsSolid);
  if (OnPaint) OnPaint(this);
}

void TKxCustomPanel::DrawGrid(const TRect& r) {
  TCanvas* canvas = GetCanvas();
  int nx = gridXSize_ ? (r.right - r.left) / gridXSize_ : 0;
  int ny = gridYSize_ ? (r.bottom - r.top) / gridYSize_ : 0;
  canvas->GetPen()->SetColor(gridColor_);
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  if (gridStyle_ == gsDots) {
    for (int i = 1; i <= nx; ++i)
      for (int j = 1; j <= ny; ++j) canvas->SetPixels(r.left + gridXSize_ * i - 1, r.top + gridYSize_ * j - 1, gridColor_);
    return;
  }
  bool dotted = gridStyle_ == gsDottedLines;
  for (int i = 1; i <= nx; ++i) {
    int x = r.left + gridXSize_ * i - 1;
    if (!dotted) {
      canvas->MoveTo(x, r.top);
      canvas->LineTo(x, r.bottom);
    } else {
      for (int y = r.top + 1; y < r.bottom; y += 2) canvas->SetPixels(x, y, gridColor_);
    }
  }
  for (int j = 1; j <= ny; ++j) {
    int y = r.top + gridYSize_ * j - 1;
    if (!dotted) {
      canvas->MoveTo(r.left, y);
      canvas->LineTo(r.right, y);
    } else {
      for (int x = r.left + 1; x < r.right; x += 2) canvas->SetPixels(x, y, gridColor_);
    }
  }
}

void TKxCustomPanel::DrawCaption(const TRect& rect) {
  std::string caption = GetCaption();
  if (caption.empty()) return;
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  HDC dc = canvas->GetHandle();
  UINT align = AlignmentFlag(GetAlignment());
  UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_VCENTER | align;
  RECT r = rect;
  r.left += 1;
  RECT calc = r;
  DrawTextA(dc, caption.c_str(), -1, &calc, DrawTextBiDiModeFlags(flags | DT_CALCRECT));
  int h = calc.bottom - calc.top;
  if (alignmentVertical_ == avCenter) {
    r.top = (rect.bottom + rect.top - h) / 2;
    r.bottom = r.top + h;
  } else if (alignmentVertical_ == avBottom) {
    r.top = rect.bottom - h - 1;
  }
  if (!GetEnabled()) {
    OffsetRect(&r, 1, 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, DrawTextBiDiModeFlags(flags));
    OffsetRect(&r, -1, -1);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, DrawTextBiDiModeFlags(flags));
}

void TKxCustomPanel::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  Repaint();
  if (!GetEnabled()) {
    savedStates_->Clear();
    for (TControl* child : Controls()) {
      savedStates_->AddObject(child->GetEnabled() ? "1" : "0", child);
      child->FreeNotification(this);
    }
    for (TControl* child : Controls()) child->SetEnabled(false);
  } else {
    for (TControl* child : Controls()) {
      int i = savedStates_->IndexOfObject(child);
      child->SetEnabled(i < 0 || savedStates_->Get(i) == "1");
    }
  }
}

void TKxCustomPanel::WMWindowPosChanged(TMessage& m) {
  auto* pos = TWMWindowPosChanged(m).WindowPos();
  if (HandleAllocated() && pos && !(pos->flags & SWP_NOSIZE)) {
    if (GetFullRepaint() || !GetCaption().empty()) {
      Invalidate();
    } else {
      // Only the frame strips a size change uncovers need painting again.
      TRect interior = FixClientRect(TRect{0, 0, GetWidth(), GetHeight()}, true);
      if (pos->cx != GetWidth()) {
        RECT strip{interior.right - 1, 0, std::max(GetWidth(), pos->cx), std::max(GetHeight(), pos->cy)};
        InvalidateRect(GetWindowHandle(), &strip, TRUE);
      }
      if (pos->cy != GetHeight()) {
        RECT strip{0, interior.bottom - 1, std::max(GetWidth(), pos->cx), std::max(GetHeight(), pos->cy)};
        InvalidateRect(GetWindowHandle(), &strip, TRUE);
      }
    }
  }
  inherited::WMWindowPosChanged(m);
}

void TKxCustomPanel::WMEraseBkgnd(TMessage& m) {
  if (transparent_) {
    DrawParentImage(this, reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
    return;
  }
  inherited::WMEraseBkgnd(m);
}

PUBLISHED(TKxPanel) {
  using C = TKxCustomPanel;
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taCenter);
  p.Prop("AlignmentVertical", &C::GetAlignmentVertical, &C::SetAlignmentVertical).Default(avCenter);
  PublishControlProps(p, {"Anchors", "AutoSize"});
  p.Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderInner", &C::GetBorderInner, &C::SetBorderInner).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderOuter", &C::GetBorderOuter, &C::SetBorderOuter).Default(fsRaised).Type(TFrameStyleTypeInfo());
  p.Prop("BorderSides", &C::GetBorderSides, &C::SetBorderSides).Default(sdAllSides);
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderHighlight", &C::GetBorderHighlight, &C::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("BorderShadow", &C::GetBorderShadow, &C::SetBorderShadow).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  PublishControlProps(p, {"Caption"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DockSite", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"Font"});
  p.Prop("FrameController", &C::GetFrameController, &C::SetFrameController);
  p.Prop("FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
  p.Prop("GridColor", &C::GetGridColor, &C::SetGridColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("GridStyle", &C::GetGridStyle, &C::SetGridStyle).Default(gsDots);
  p.Prop("GridXSize", &C::GetGridXSize, &C::SetGridXSize).Default(8);
  p.Prop("GridYSize", &C::GetGridYSize, &C::SetGridYSize).Default(8);
  p.Prop("Locked", &TCustomPanel::GetLocked, &TCustomPanel::SetLocked).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowDockClientCaptions", &C::GetShowDockClientCaptions, &C::SetShowDockClientCaptions).Default(true);
  p.Prop("ShowGrid", &C::GetShowGrid, &C::SetShowGrid).Default(false);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop"});
  p.Prop("Transparent", &C::GetTransparent, &C::SetTransparent).Default(false);
  PublishControlProp(p, "UseDockManager").Default(true);
  PublishControlProps(p, {"Visible", "OnCanResize", "OnClick", "OnConstrainedResize",
                          "OnContextPopup", "OnDblClick", "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver",
                          "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp"});
  p.Prop("OnPaint", &C::GetOnPaint, &C::SetOnPaint);
  PublishControlProps(p, {"OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
}

// ---------------------------------------------------------------------------
// TKxCustomGroupBox

IMPLEMENT_CLASS(TKxCustomGroupBox)

TKxCustomGroupBox::TKxCustomGroupBox(TComponent* owner) : TKxCustomPanel(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csSetCaption, csDoubleClicks});
  SetFrameFields(fsNone, fsNone, GetBorderSides());
  SetAlignment(taLeftJustify);
  SetAlignmentVertical(avTop);
  SetHeight(105);
  groupStyle_ = gsFlat;
}

void TKxCustomGroupBox::SetGroupBoxStyle(TKxGroupBoxStyle value) {
  groupStyle_ = value;
  // Only the standard and flat looks have a themed twin.
  if (value != gsStandard && value != gsFlat) SetThemeAware(false);
  Invalidate();
}

void TKxCustomGroupBox::AdjustClientRect(RECT& rect) {
  inherited::AdjustClientRect(rect);
  int h = KxTextHeight(GetFont(), "Yy");
  if (groupStyle_ == gsCustom) {
    rect.top += h;
    InflateRect(&rect, -2, -2);
    return;
  }
  int a = h / 2 - 1;
  if (a < GetBorderWidth()) rect.top += a;
  else rect.top += h - GetBorderWidth();
  int inset = groupStyle_ == gsStandard ? 2 : 1;
  InflateRect(&rect, -inset, -inset);
}

TRect TKxCustomGroupBox::CaptionRect() {
  std::string caption = GetCaption();
  if (caption.empty() || groupStyle_ == gsCustom) return TRect{0, 0, 0, 0};
  SIZE size = MeasureText(GetFont(), caption);
  int offset = groupStyle_ == gsTopLine ? 0 : 8;
  TRect r{offset, 0, offset + size.cx, size.cy};
  if (UseRightToLeftAlignment()) OffsetRect(&r, GetWidth() - size.cx - 2 * offset, 0);
  return r;
}

void TKxCustomGroupBox::Paint() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  int half = canvas->TextHeight("Pp") / 2;
  TRect caption = CaptionRect();
  std::string text = GetCaption();
  HDC dc = canvas->GetHandle();
  TRect frame{0, half, GetWidth(), GetHeight()};
  TColor flat = AdjustColor(GetFlatColor(), GetFlatColorAdjustment());

  if (DrawsThemed()) {
    if (!GetTransparent()) DrawParentImage(this, dc);
    ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
    auto details = ThemeServices().GetElementDetails(GetEnabled() ? tbGroupBoxNormal : tbGroupBoxDisabled);
    ThemeServices().DrawElement(dc, details, frame);
    SelectClipRgn(dc, nullptr);
    if (!IsRectEmpty(&caption)) {
      std::wstring wide(text.begin(), text.end());
      ThemeServices().DrawText(dc, details, wide, caption, DT_SINGLELINE, 0);
    }
    return;
  }
  if (groupStyle_ == gsCustom) {
    inherited::Paint();
    return;
  }
  if (!GetTransparent()) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(TRect{0, 0, GetWidth(), GetHeight()});
  } else {
    ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
  }
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetStyle(psSolid);
  TFrameStyleEx outer = GetBorderOuter();
  switch (groupStyle_) {
    case gsStandard:
      if (outer == fsNone) DrawBorderSides(canvas, frame, fsGroove, sdAllSides);
      else if (outer == fsFlat || outer == fsFlatBold)
        DrawBevel(canvas, frame, flat, flat, outer == fsFlat ? 1 : 2, sdAllSides);
      else DrawBorderSides(canvas, frame, outer, sdAllSides);
      break;
    case gsTopLine:
      if (outer == fsNone) {
        DrawBorderSides(canvas, frame, fsGroove, TSides{sdTop});
      } else if (outer == fsFlat || outer == fsFlatBold) {
        canvas->GetPen()->SetColor(flat);
        canvas->MoveTo(frame.left + 2, frame.top);
        canvas->LineTo(frame.right - 2, frame.top);
        if (outer == fsFlatBold) {
          canvas->MoveTo(frame.left + 2, frame.top + 1);
          canvas->LineTo(frame.right - 2, frame.top + 1);
        }
      } else {
        DrawBorderSides(canvas, frame, outer, TSides{sdTop});
      }
      break;
    default:  // gsFlat: one rounded line
      DrawRoundedFlatBorder(canvas, frame, flat, sdAllSides);
      break;
  }
  if (IsRectEmpty(&caption)) {
    SelectClipRgn(dc, nullptr);
    return;
  }
  if (!GetTransparent()) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(caption);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  if (!GetEnabled()) {
    RECT shifted = caption;
    OffsetRect(&shifted, 1, 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    DrawTextA(canvas->GetHandle(), text.c_str(), -1, &shifted, DrawTextBiDiModeFlags(DT_SINGLELINE));
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  SelectClipRgn(canvas->GetHandle(), nullptr);
  RECT r = caption;
  DrawTextA(canvas->GetHandle(), text.c_str(), -1, &r, DrawTextBiDiModeFlags(DT_SINGLELINE));
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TKxCustomGroupBox::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    SelectFirst(this);
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TKxCustomGroupBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  Invalidate();
}

PUBLISHED(TKxGroupBox) { PublishKxGroupBoxProps(p); }

// ---------------------------------------------------------------------------
// TKxSpacer

PUBLISHED(TKxSpacer) {
  PublishControlProps(p, {"Align", "Anchors", "Constraints"});
  p.Prop("Grooved", &TKxSpacer::GetGrooved, &TKxSpacer::SetGrooved).Default(false);
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Default(25);
  p.Prop("Orientation", &TKxSpacer::GetOrientation, &TKxSpacer::SetOrientation).Default(orHorizontal);
  PublishControlProps(p, {"Visible"});
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(8);
}

TKxSpacer::TKxSpacer(TComponent* owner) : TGraphicControl(owner) { SetBounds(GetLeft(), GetTop(), 8, 25); }

void TKxSpacer::SetGrooved(bool value) {
  if (grooved_ == value) return;
  grooved_ = value;
  Invalidate();
}

void TKxSpacer::SetOrientation(TOrientation value) {
  // The same orientation again must not turn the spacer on its side.
  if (orientation_ == value) return;
  orientation_ = value;
  if (!IsLoading()) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  Invalidate();
}

void TKxSpacer::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  if (!grooved_) {
    if (IsDesigning()) {
      canvas->GetPen()->SetStyle(psDot);
      canvas->GetPen()->SetColor(clBlack);
      canvas->GetBrush()->SetStyle(bsClear);
      canvas->Rectangle(r);
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetPen()->SetStyle(psSolid);
    }
    return;
  }
  if (ThemeServices().GetThemesEnabled()) {
    auto details =
        ThemeServices().GetElementDetails(GetHeight() < GetWidth() ? ttbSeparatorVertNormal : ttbSeparatorNormal);
    ThemeServices().DrawElement(canvas->GetHandle(), details, r);
    return;
  }
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  if (GetWidth() > GetHeight()) {
    int y = (r.bottom - r.top) / 2 + r.top - 1;
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(r.left + 1, y);
    canvas->LineTo(r.right, y);
    canvas->GetPen()->SetColor(clBtnHighlight);
    canvas->MoveTo(r.left + 1, y + 1);
    canvas->LineTo(r.right, y + 1);
  } else {
    int x = (r.right - r.left) / 2 + r.left - 1;
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(x, r.top + 1);
    canvas->LineTo(x, r.bottom);
    canvas->GetPen()->SetColor(clBtnHighlight);
    canvas->MoveTo(x + 1, r.top + 1);
    canvas->LineTo(x + 1, r.bottom);
  }
}
