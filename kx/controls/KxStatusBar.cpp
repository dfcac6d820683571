// TKxStatusBar: the status bar of unit KxPanel.
#include <cmath>

#include "classlib/Controls.h"
#include "classlib/Scopes.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/controls/KxPanel.h"
#include "kx/foundation/KxStatus.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {

// The grip's squares, as offsets from the bottom-right corner.
constexpr POINT kGripSquares[] = {{5, 12}, {5, 8}, {5, 4}, {9, 8}, {9, 4}, {13, 4}};

// The status bar's pane-scaling arithmetic: the ratio in single precision,
// the product rounded to nearest with ties to even (as the platform's Round).
int ScaledShare(int delta, int width, int previousWidth) {
  float ratio = static_cast<float>(width) / static_cast<float>(previousWidth);
  return static_cast<int>(std::nearbyint(static_cast<double>(delta) * static_cast<double>(ratio)));
}

}  // namespace

PUBLISHED(TKxStatusBar) {
  using C = TKxCustomPanel;
  using S = TKxStatusBar;
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).NoDefault();
  p.Prop("AutoScalePanes", &S::GetAutoScalePanes, &S::SetAutoScalePanes).Default(false);
  p.Prop("AutoStyle", &S::GetAutoStyle, &S::SetAutoStyle).Default(true);
  p.Prop("ShowSizeGrip", &S::GetShowSizeGrip, &S::SetShowSizeGrip).Default(true);
  p.Prop("SimpleCaption", &S::GetSimpleCaption, &S::SetSimpleCaption);
  p.Prop("SimpleFrameStyle", &S::GetSimpleFrameStyle, &S::SetSimpleFrameStyle)
      .Default(fsFlat)
      .Type(TFrameStyleTypeInfo());
  p.Prop("SimpleStatus", &S::GetSimpleStatus, &S::SetSimpleStatus).Default(false);
  p.Prop("Align", &TControl::GetAlign, &TControl::SetAlign).Default(alBottom);
  PublishControlProps(p, {"Anchors"});
  p.Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderInner", &C::GetBorderInner, &C::SetBorderInner).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderOuter", &C::GetBorderOuter, &C::SetBorderOuter).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderSides", &C::GetBorderSides, &C::SetBorderSides).Default(sdAllSides);
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  // Always stored: AdjustStyle sets it whatever the form says otherwise.
  p.Prop("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).NoDefault();
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"Font"});
  p.Prop("FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
  p.Prop("Locked", &TCustomPanel::GetLocked, &TCustomPanel::SetLocked).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder",
                          "TabStop"});
  p.Prop("ThemeAware", &C::GetThemeAware, &C::SetThemeAware).Default(true);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
                          "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag"});
}

TKxStatusBar::TKxStatusBar(TComponent* owner) : TKxCustomPanel(owner) {
  SetAlign(alBottom);
  autoStyle_ = true;
  AdjustStyle();
}

void TKxStatusBar::AdjustStyle() {
  bool keep = autoStyle_;
  SetFrameFields(fsNone, fsNone, sdAllSides);
  SetHeight(19);
  SetBorderWidth(0);
  Realign();
  Invalidate();
  autoStyle_ = keep;
}

void TKxStatusBar::Loaded() {
  inherited::Loaded();
  if (autoStyle_) AdjustStyle();
}

void TKxStatusBar::SetBorderInner(TFrameStyleEx value) {
  if (value == GetBorderInner()) return;
  inherited::SetBorderInner(value);
  autoStyle_ = false;
}

void TKxStatusBar::SetBorderOuter(TFrameStyleEx value) {
  if (value == GetBorderOuter()) return;
  inherited::SetBorderOuter(value);
  autoStyle_ = false;
}

void TKxStatusBar::SetBorderSides(TSides value) {
  if (value == GetBorderSides()) return;
  inherited::SetBorderSides(value);
  autoStyle_ = false;
}

void TKxStatusBar::ValidateSizeGrip() {
  TCustomForm* form = GetParentForm(this);
  auto* f = dynamic_cast<TForm*>(form);
  sizeGripAllowed_ = f && (f->GetBorderStyle() == bsSizeable || f->GetBorderStyle() == bsSizeToolWin) &&
                     f->GetWindowState() != wsMaximized && !(f->HandleAllocated() && IsZoomed(f->GetHandle()));
}

TRect TKxStatusBar::SizeGripRect() { return TRect{GetWidth() - 13, 0, GetWidth(), GetHeight()}; }

void TKxStatusBar::SetShowSizeGrip(bool value) {
  if (showSizeGrip_ == value) return;
  showSizeGrip_ = value;
  ValidateSizeGrip();
  Invalidate();
}

void TKxStatusBar::SetSimpleCaption(const std::string& value) {
  if (simpleCaption_ == value) return;
  simpleCaption_ = value;
  Invalidate();
}

void TKxStatusBar::SetSimpleFrameStyle(TFrameStyle value) {
  if (simpleFrameStyle_ == value) return;
  simpleFrameStyle_ = value;
  Invalidate();
}

void TKxStatusBar::SetSimpleStatus(bool value) {
  simpleStatus_ = value;
  {
    DisableAlign();
    TFinally align([this] { EnableAlign(); });
    // Every pane follows: switching back shows panes that were hidden too.
    for (TControl* child : Controls()) child->SetVisible(!value);
  }
  Invalidate();
}

RECT TKxStatusBar::GetClientRect() {
  RECT r = inherited::GetClientRect();
  // Read as "the visual style is in use": Wine always has the library, and
  // the classic look needs the classic geometry.
  if (!ThemeServices().GetThemesEnabled()) {
    r.bottom += 1;
    r.top = simpleStatus_ ? 2 : 1;
    r.left -= 1;
    r.right += 1;
  } else if (simpleStatus_) {
    r.left += 1;
    r.top += 1;
    r.right -= 1;
  }
  return r;
}

void TKxStatusBar::CreateWnd() {
  ValidateSizeGrip();
  inherited::CreateWnd();
}

void TKxStatusBar::WndProc(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN && SizeGripActive()) {
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    TRect grip = SizeGripRect();
    if (PtInRect(&grip, p)) {
      ReleaseCapture();
      if (TCustomForm* form = GetParentForm(this))
        SendMessageA(form->GetHandle(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0);
      return;
    }
  }
  inherited::WndProc(m);
}

void TKxStatusBar::WMSetCursor(TMessage& m) {
  if (SizeGripActive()) {
    TPoint p = CursorPosition();
    TRect grip = SizeGripRect();
    if (PtInRect(&grip, p)) {
      ::SetCursor(CursorHandleOf(crSizeNWSE));
      m.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(m);
}

void TKxStatusBar::Resize() {
  inherited::Resize();
  if (firstResize_) {
    firstResize_ = false;
    previousWidth_ = GetWidth();
    return;
  }
  int delta = GetWidth() - previousWidth_;
  lastDelta_ = delta;
  // A bar that had no width has no shares to scale by.
  if (autoScalePanes_ && GetControlCount() > 0 && delta != 0 && previousWidth_ > 0) {
    DisableAlign();
    TFinally align([this] { EnableAlign(); });
    for (TControl* child : Controls())
      child->SetWidth(child->GetWidth() + ScaledShare(delta, child->GetWidth(), previousWidth_));
  }
  previousWidth_ = GetWidth();
}

void TKxStatusBar::Paint() {
  TCanvas* canvas = GetCanvas();
  if (DrawsThemed()) {
    HDC dc = canvas->GetHandle();
    ThemeServices().DrawElement(dc, ThemeServices().GetElementDetails(tsStatusRoot),
                                TRect{0, 0, GetWidth(), GetHeight()});
    if (simpleStatus_ && !simpleCaption_.empty()) {
      std::wstring wide(simpleCaption_.begin(), simpleCaption_.end());
      ThemeServices().DrawText(dc, ThemeServices().GetElementDetails(tsPane), wide, GetClientRect(),
                               DT_SINGLELINE | DT_VCENTER, 0);
    }
    return;
  }
  inherited::Paint();
  TRect r = GetClientRect();
  r.bottom -= 1;
  if (!simpleStatus_) return;
  DrawSimpleStatusBorder(r);
  InflateRect(&r, -1, -1);
  if (simpleCaption_.empty()) return;
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  int y = r.top + (r.bottom - r.top - canvas->TextHeight("Pp")) / 2;
  canvas->TextRect(r, r.left + 2, y, simpleCaption_);
}

void TKxStatusBar::DrawSimpleStatusBorder(const TRect& rect) {
  TCanvas* canvas = GetCanvas();
  if (DrawsThemed()) {
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(tsPane), rect);
    return;
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(rect);
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetStyle(psSolid);
  if (simpleFrameStyle_ != fsFlat) {
    DrawBorder(canvas, rect, simpleFrameStyle_);
    return;
  }
  KxDrawCutCornerFrame(canvas, rect, AdjustColor(GetFlatColor(), GetFlatColorAdjustment()));
}

void TKxStatusBar::WMPaint(TMessage& m) {
  inherited::WMPaint(m);
  ValidateSizeGrip();
  if (!SizeGripActive()) return;
  // A DC handed in with the message (printing into a bitmap) takes the grip
  // too; otherwise the window's own.
  if (m.WParam) {
    DrawSizeGrip(reinterpret_cast<HDC>(m.WParam));
  } else if (HandleAllocated()) {
    TClientDC dc(GetHandle());
    DrawSizeGrip(dc.Get());
  }
}

void TKxStatusBar::DrawSizeGrip(HDC dc) {
  TRect r = GetClientRect();
  r.bottom -= 1;
  if (DrawsThemed()) {
    ThemeServices().DrawElement(dc, ThemeServices().GetElementDetails(tsGripper),
                                TRect{r.right - 20, r.top, r.right, r.bottom});
    return;
  }
  Owned<TCanvas> canvas = MakeOwned<TCanvas>();
  TCanvasPaintScope drawing(canvas.get(), dc);
  for (int pass = 0; pass < 2; ++pass) {
    TColor c = pass == 0 ? clBtnHighlight : clBtnShadow;
    canvas->GetPen()->SetColor(c);
    canvas->GetBrush()->SetColor(c);
    for (POINT s : kGripSquares) {
      int x = r.right - s.x - pass, y = r.bottom - s.y - pass;
      canvas->Rectangle(x, y, x + 2, y + 2);
    }
  }
}

void InitializeKxPanel() {
  RegisterClasses({TKxPanel::StaticClass(), TKxGroupBox::StaticClass(), TKxSpacer::StaticClass(),
                   TKxStatusBar::StaticClass(), TKxToolbar::StaticClass()});
}

void FinalizeKxPanel() {}
