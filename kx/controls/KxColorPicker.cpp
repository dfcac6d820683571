#include "kx/controls/KxColorPicker.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "classlib/Scopes.h"
#include "classlib/graphics/Resources.h"
#include "kx/controls/KxButton.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {

// The colour of each entry; the names come from the string table.
constexpr std::array<uint32_t, KxColorNameCount> kColorValues = {
    0x00000000, 0x00003399, 0x00003333, 0x00003300, 0x00663300, 0x00800000, 0x00993333, 0x00333333,
    0x00000080, 0x000066FF, 0x00008080, 0x00008000, 0x00808000, 0x00FF0000, 0x00996666, 0x00808080,
    0x000000FF, 0x000099FF, 0x0000CC99, 0x00669933, 0x00999933, 0x00FF6633, 0x00800080, 0x00999999,
    0x00FF00FF, 0x0000CCFF, 0x0000FFFF, 0x0000FF00, 0x00FFFF00, 0x00FFCC00, 0x00663399, 0x00C0C0C0,
    0x00CC99FF, 0x0099CCFF, 0x0099FFFF, 0x00CCFFCC, 0x00FFFFCC, 0x00FFCC99, 0x00FF99CC, 0x00FFFFFF,
    // The system colours clScrollBar .. clMenuBar, without 0x80000019.
    0x80000000, 0x80000001, 0x80000002, 0x80000003, 0x80000004, 0x80000005, 0x80000006, 0x80000007,
    0x80000008, 0x80000009, 0x8000000A, 0x8000000B, 0x8000000C, 0x8000000D, 0x8000000E, 0x8000000F,
    0x80000010, 0x80000011, 0x80000012, 0x80000013, 0x80000014, 0x80000015, 0x80000016, 0x80000017,
    0x80000018, 0x8000001A, 0x8000001B, 0x8000001C, 0x8000001D, 0x8000001E,
};

std::array<TKxColorName, KxColorNameCount> gColorNames = [] {
  std::array<TKxColorName, KxColorNameCount> names{};
  for (int i = 0; i < KxColorNameCount; ++i) names[static_cast<size_t>(i)].Value = static_cast<TColor>(kColorValues[i]);
  return names;
}();

// The system grid's last row holds 6 colours.
constexpr int kBand = 8;
// The theme property of an element's border colour (TMT_BORDERCOLOR).
constexpr int kThemeBorderColor = 3801;

bool Empty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The row with the one-pixel gap that follows it.
TRect WithGap(TRect r) {
  if (!Empty(r)) r.bottom += 1;
  return r;
}

}  // namespace

const TKxColorName& KxColorNames(int index) {
  return gColorNames[static_cast<size_t>(std::clamp(index, 0, KxColorNameCount - 1))];
}

void InitializeKxColorPicker() {
  for (int i = 0; i < KxColorNameCount; ++i) gColorNames[static_cast<size_t>(i)].Name = LoadStr(SKxColorNameBase + i);
  RegisterClasses({TKxColorPicker::StaticClass()});
}

void FinalizeKxColorPicker() {
  for (TKxColorName& n : gColorNames) n.Name = std::string();
}

// --- geometry ---------------------------------------------------------------------------------------

TRect TKxColorPickerGeometry::Cell(int index) const {
  if (index < 0 || index >= 72) return TRect{};
  int i = index < 40 ? index : index - 40;
  int top = index < 40 ? GridTop : SystemTop;
  int x = Client.left + (i % 8) * CellWidth, y = top + (i / 8) * CellHeight;
  return TRect{x, y, x + CellWidth, y + CellHeight};
}

TRect TKxColorPickerGeometry::Part(int index) const {
  switch (index) {
    case cpiNoColor: return NoneRow;
    case cpiDefaultColor:
      return Empty(DefaultRow) ? TRect{} : TRect{DefaultRow.right - Margin, DefaultRow.top, DefaultRow.right, DefaultRow.bottom};
    case cpiCustomColor:
      return Empty(CustomRow) ? TRect{} : TRect{CustomRow.right - Margin, CustomRow.top, CustomRow.right, CustomRow.bottom};
    case cpiMoreColors:
      return Empty(CustomRow) ? TRect{} : TRect{CustomRow.left, CustomRow.top, CustomRow.right - Margin, CustomRow.bottom};
    default: return Cell(index);
  }
}

int TKxColorPickerGeometry::HitTest(POINT p) const {
  if (!PtInRect(&Client, p)) return cpiNoColor;
  TRect none = WithGap(NoneRow), def = WithGap(DefaultRow);
  if (PtInRect(&none, p)) return cpiNoColor;
  if (PtInRect(&def, p)) return cpiDefaultColor;
  for (int i = 0; i < 40; ++i) {
    TRect c = Cell(i);
    if (PtInRect(&c, p)) return i;
  }
  if (SystemColors) {
    TRect band{Client.left, BandTop, Client.right, SystemTop};
    if (PtInRect(&band, p)) return cpiSeparator;
    for (int i = 0; i < 32; ++i) {  // 30 colours and two empty places
      TRect c = Cell(40 + i);
      if (PtInRect(&c, p)) return 40 + i < KxColorNameCount ? 40 + i : cpiSeparator;
    }
  }
  if (!Empty(CustomRow) && PtInRect(&CustomRow, p)) return p.x < CustomRow.right - Margin ? cpiMoreColors : cpiCustomColor;
  return cpiNoColor;
}

// --- TKxColorPicker ---------------------------------------------------------------------------------

PUBLISHED(TKxColorPicker) {
  using C = TKxColorPicker;
  p.Prop("AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize).Default(true);
  p.Prop("BorderColor", &TKxBorder::GetBorderColor, &TKxBorder::SetBorderColor).Default(clWindow).Type(TColorTypeInfo());
  p.Prop("BorderWidth", &TKxBorder::GetBorderWidth, &TKxBorder::SetBorderWidth).Default(2);
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clWindow)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  p.Prop("ColorDlgOptions", &C::GetColorDlgOptions, &C::SetColorDlgOptions).Default(TColorDialogOptions{cdFullOpen});
  p.Prop("CustomColor", &C::GetCustomColor, &C::SetCustomColor).Default(clWhite).Type(TColorTypeInfo());
  p.Prop("CustomColorCaption", &C::GetCustomColorCaption, &C::SetCustomColorCaption);
  p.Prop("CustomColors", &C::GetCustomColors, &C::SetCustomColors);
  p.Prop("DefaultColor", &C::GetDefaultColor, &C::SetDefaultColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("DefaultColorCaption", &C::GetDefaultColorCaption, &C::SetDefaultColorCaption);
  p.Prop("FlatColorAdjustment", &TKxBorder::GetFlatColorAdjustment, &TKxBorder::SetFlatColorAdjustment).Default(0);
  PublishControlProps(p, {"Font"});
  p.Prop("NoColorCaption", &C::GetNoColorCaption, &C::SetNoColorCaption);
  p.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProps(p, {"ParentFont"});
  p.Prop("SelectedColor", &C::GetSelectedColor, &C::SetSelectedColor)
      .Default(clNone)
      .Stored(&C::IsSelectedColorStored)
      .Type(TColorTypeInfo());
  p.Prop("ShowColorHints", &C::GetShowColorHints, &C::SetShowColorHints).Default(true);
  p.Prop("ShowCustomColor", &C::GetShowCustomColor, &C::SetShowCustomColor).Default(false);
  p.Prop("ShowDefaultColor", &C::GetShowDefaultColor, &C::SetShowDefaultColor).Default(false);
  p.Prop("ShowNoColor", &C::GetShowNoColor, &C::SetShowNoColor).Default(false);
  p.Prop("ShowSystemColors", &C::GetShowSystemColors, &C::SetShowSystemColors).Default(false);
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
}

TKxColorPicker::TKxColorPicker(TComponent* owner) : TKxBorder(owner) {
  SetColor(clWindow);
  SetParentColor(false);
  SetBorderColor(clWindow);
  SetBorderWidth(2);
  SetFlatColorAdjustment(0);
  ApplyTheme();
  SetAutoSize(true);
}

void TKxColorPicker::Destroy() {
  if (customColors_) customColors_->RemoveFreeNotification(this);
  customColors_ = nullptr;
  inherited::Destroy();
  FreeAndNil(hintWindow_);
}

void TKxColorPicker::ApplyTheme() {
  if (ThemeServices().GetThemesEnabled()) {
    // The border takes the colour of the visual style's edit boxes.
    TColor border = clBtnShadow;
    KxUxTheme::HTHEME theme = ThemeServices().GetTheme(teEdit);
    COLORREF c = 0;
    if (theme && KxUxTheme::GetThemeColor &&
        SUCCEEDED(KxUxTheme::GetThemeColor(theme, 0, 0, kThemeBorderColor, &c)))
      border = static_cast<TColor>(c);
    SetBorderOuter(fsFlat);
    SetFlatColor(border);
    SetFlatColorAdjustment(0);
  } else {
    SetBorderOuter(fsLowered);
  }
}

void TKxColorPicker::Loaded() {
  inherited::Loaded();
  ApplyTheme();
  AdjustSize();
}

void TKxColorPicker::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == customColors_) customColors_ = nullptr;
}

int TKxColorPicker::Margin() const { return std::abs(GetFont()->GetHeight()) + 12; }

TKxColorPickerGeometry TKxColorPicker::Geometry() {
  TKxColorPickerGeometry g;
  g.Client = GetClientRect();
  g.Margin = Margin();
  g.SystemColors = showSystemColors_;
  int m = g.Margin;
  int y = g.Client.top;
  if (showNoColor_) {
    g.NoneRow = TRect{g.Client.left, y, g.Client.right, y + m};
    y += m + 1;
  }
  if (showDefaultColor_) {
    g.DefaultRow = TRect{g.Client.left, y, g.Client.right, y + m};
    y += m + 1;
  }
  int bottom = g.Client.bottom;
  if (showCustomColor_) {
    g.CustomRow = TRect{g.Client.left, bottom - m, g.Client.right, bottom};
    bottom -= m;
  }
  int remaining = std::max(0, bottom - y);
  g.CellWidth = (g.Client.right - g.Client.left) / 8;
  g.CellHeight = showSystemColors_ ? std::max(0, remaining - kBand) / 9 : remaining / 5;
  g.GridTop = y;
  g.BandTop = y + 5 * g.CellHeight;
  // The system grid sits on the bottom; the band takes what is left.
  g.SystemTop = showSystemColors_ ? bottom - 4 * g.CellHeight : g.BandTop;
  return g;
}

bool TKxColorPicker::CanAutoSize(int& newWidth, int& newHeight) {
  // The border's inset on each side, as the client rectangle loses it.
  TRect probe{0, 0, 1000, 1000};
  AdjustClientRect(probe);
  int inset = probe.left;
  int m = Margin();
  newWidth = 144 + 2 * inset;
  newHeight = 90 + 2 * inset + (showSystemColors_ ? 80 : 0) + (showNoColor_ ? m + 1 : 0) +
              (showDefaultColor_ ? m + 1 : 0) + (showCustomColor_ ? m : 0);
  return true;
}

// --- properties ----------------------------------------------------------------------------------------

void TKxColorPicker::SetCustomColorCaption(const std::string& value) {
  if (customColorCaption_ == value) return;
  customColorCaption_ = value;
  Invalidate();
}

void TKxColorPicker::SetNoColorCaption(const std::string& value) {
  if (noColorCaption_ == value) return;
  noColorCaption_ = value;
  Invalidate();
}

void TKxColorPicker::SetDefaultColorCaption(const std::string& value) {
  if (defaultColorCaption_ == value) return;
  defaultColorCaption_ = value;
  Invalidate();
}

void TKxColorPicker::SetCustomColor(TColor value) {
  customColor_ = value;
  if (showCustomColor_) Invalidate();
}

void TKxColorPicker::SetDefaultColor(TColor value) {
  defaultColor_ = value;
  if (showDefaultColor_) Invalidate();
}

void TKxColorPicker::SetCustomColors(TKxCustomColors* value) { KxReplaceReference(this, customColors_, value); }

void TKxColorPicker::ShowChanged() {
  AdjustSize();
  Invalidate();
}

void TKxColorPicker::SetShowCustomColor(bool value) {
  showCustomColor_ = value;
  ShowChanged();
}

void TKxColorPicker::SetShowNoColor(bool value) {
  showNoColor_ = value;
  ShowChanged();
}

void TKxColorPicker::SetShowDefaultColor(bool value) {
  showDefaultColor_ = value;
  ShowChanged();
}

void TKxColorPicker::SetShowSystemColors(bool value) {
  showSystemColors_ = value;
  ShowChanged();
}

void TKxColorPicker::SetSelColorIndex(int value) {
  // The custom swatch is taken again each time: its colour may be new.
  if (value == selColorIndex_ && value != cpiCustomColor) return;
  selColorIndex_ = value;
  Repaint();
  ColorChanged();
  if (value == cpiCustomColor) Click();
}

void TKxColorPicker::SetHighlightColorIndex(int value) {
  if (highlightColorIndex_ == value) return;
  highlightColorIndex_ = value;
  Repaint();
}

void TKxColorPicker::ColorChanged() {
  if (OnChange) OnChange(this);
}

TColor TKxColorPicker::GetSelectedColor() {
  switch (selColorIndex_) {
    case cpiNoColor:
    case cpiSeparator: return clNone;
    case cpiDefaultColor: return defaultColor_;
    case cpiCustomColor:
    case cpiMoreColors: return customColor_;
    default:
      return selColorIndex_ >= 0 && selColorIndex_ < KxColorNameCount ? KxColorNames(selColorIndex_).Value : clNone;
  }
}

void TKxColorPicker::SetSelectedColor(TColor value) {
  if (value == clNone) {
    SetSelColorIndex(cpiNoColor);
    return;
  }
  TColor rgb = ColorToRGB(value);
  if (showDefaultColor_ && rgb == ColorToRGB(defaultColor_)) {
    SetSelColorIndex(cpiDefaultColor);
    return;
  }
  if (showSystemColors_)
    for (int i = 40; i < KxColorNameCount; ++i)
      if (KxColorNames(i).Value == value) {
        SetSelColorIndex(i);
        return;
      }
  for (int i = 0; i < 40; ++i)
    if (ColorToRGB(KxColorNames(i).Value) == rgb) {
      SetSelColorIndex(i);
      return;
    }
  customColor_ = rgb;
  SetSelColorIndex(cpiCustomColor);
}

void TKxColorPicker::PickCustomColor() {
  Owned<TColorDialog> dialog(New<TColorDialog>(this));
  dialog->SetColor(customColor_);
  if (customColors_) dialog->SetCustomColors(customColors_->GetColors());
  dialog->SetOptions(colorDlgOptions_);
  if (!dialog->Execute()) return;
  if (customColors_) customColors_->SetColors(dialog->GetCustomColors());
  SetCustomColor(dialog->GetColor());
  SetSelColorIndex(cpiCustomColor);
}

// --- painting ------------------------------------------------------------------------------------------

void TKxColorPicker::DrawSwatch(TCanvas* canvas, const TRect& cell, TColor color) {
  KxFillSolid(canvas, KxInset(cell, 4), color);
  TRect frame = KxInset(cell, 3);
  DrawEdge(canvas->GetHandle(), &frame, BDR_RAISEDOUTER, BF_RECT | BF_FLAT);
}

void TKxColorPicker::DrawMark(TCanvas* canvas, const TRect& r, bool selected) {
  bool themed = ThemeServices().GetThemesEnabled();
  if (selected) {
    KxFillSolid(canvas, r, clWindow);
    if (themed)
      ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(ttbButtonChecked), r);
    else
      DrawBevel(canvas, r, clHighlight, clHighlight, 1, sdAllSides);
  } else if (themed) {
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(ttbButtonHot), r);
  } else {
    TRect e = r;
    DrawEdge(canvas->GetHandle(), &e, BDR_RAISEDINNER, BF_RECT | BF_FLAT);
  }
}

void TKxColorPicker::DrawTextBox(TCanvas* canvas, const TRect& box, const std::string& caption) {
  TRect r = box;
  DrawEdge(canvas->GetHandle(), &r, BDR_RAISEDOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TKxColorPicker::Paint() {
  inherited::Paint();
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  TKxColorPickerGeometry g = Geometry();
  TSavedDC saved(dc);
  // Each part is drawn and then kept from the final fill of the gaps.
  auto done = [dc](const TRect& r) { ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom); };
  // A marked part is drawn whole; otherwise only its swatch or text box,
  // 3 pixels in, and the rest is a gap.
  auto mark = [&](int index, const TRect& r) {
    if (index == selColorIndex_) DrawMark(canvas, r, true);
    else if (index == highlightColorIndex_) DrawMark(canvas, r, false);
    else return TRect{};
    return r;
  };
  for (int i = 0; i < KxColorNameCount; ++i) {
    if (i >= 40 && !showSystemColors_) continue;
    TRect cell = g.Cell(i);
    TRect marked = mark(i, cell);
    DrawSwatch(canvas, cell, KxColorNames(i).Value);
    done(KxInset(cell, 3));
    done(marked);
  }
  if (showNoColor_) {
    TRect marked = mark(cpiNoColor, g.NoneRow);
    DrawTextBox(canvas, KxInset(g.NoneRow, 3), noColorCaption_.empty() ? LoadStr(SKxNoColor) : noColorCaption_);
    done(KxInset(g.NoneRow, 3));
    done(marked);
  }
  if (showDefaultColor_) {
    TRect swatch = g.Part(cpiDefaultColor);
    TRect text{g.DefaultRow.left, g.DefaultRow.top, g.DefaultRow.right - g.Margin, g.DefaultRow.bottom};
    // Selected, the swatch is framed; highlighted, the whole row.
    TRect marked = selColorIndex_ == cpiDefaultColor ? mark(cpiDefaultColor, swatch)
                   : highlightColorIndex_ == cpiDefaultColor ? mark(cpiDefaultColor, g.DefaultRow)
                                                             : TRect{};
    DrawTextBox(canvas, KxInset(text, 3),
                defaultColorCaption_.empty() ? LoadStr(SKxDefaultColor) : defaultColorCaption_);
    DrawSwatch(canvas, swatch, defaultColor_);
    done(KxInset(text, 3));
    done(KxInset(swatch, 3));
    done(marked);
  }
  if (showCustomColor_) {
    TRect swatch = g.Part(cpiCustomColor), button = g.Part(cpiMoreColors);
    TRect markedSwatch = mark(cpiCustomColor, swatch), markedButton = mark(cpiMoreColors, button);
    DrawTextBox(canvas, KxInset(button, 3), customColorCaption_.empty() ? LoadStr(SKxMoreColors) : customColorCaption_);
    DrawSwatch(canvas, swatch, customColor_);
    done(KxInset(button, 3));
    done(KxInset(swatch, 3));
    done(markedSwatch);
    done(markedButton);
  }
  if (showSystemColors_) {
    int y = g.BandTop + 4;
    KxFillSolid(canvas, TRect{g.Client.left + 3, y, g.Client.right - 3, y + 1}, clBtnShadow);
    done(TRect{g.Client.left + 3, y, g.Client.right - 3, y + 1});
  }
  KxFillSolid(canvas, g.Client, GetColor());
}

// --- mouse and hints -------------------------------------------------------------------------------------

void TKxColorPicker::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  int index = HitTest(x, y);
  if (index == cpiSeparator) return;
  if (index == cpiMoreColors) {
    highlightColorIndex_ = cpiNothing;
    Repaint();
    PickCustomColor();
    return;
  }
  SetSelColorIndex(index);
}

void TKxColorPicker::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (showColorHints_) DoHint(x, y);
  int index = HitTest(x, y);
  if (shift.Contains(ssLeft)) {
    if (index != cpiMoreColors) SetSelColorIndex(index);
  } else {
    SetHighlightColorIndex(index);
  }
}

void TKxColorPicker::MouseEnter() {
  inherited::MouseEnter();
  if (!showColorHints_) return;
  POINT cursor = Mouse().GetCursorPos();
  POINT p = ScreenToClient(cursor);
  DoHint(p.x, p.y);
}

void TKxColorPicker::MouseLeave() {
  inherited::MouseLeave();
  highlightColorIndex_ = cpiNothing;
  Repaint();
  if (hintWindow_ && hintWindow_->HandleAllocated()) ShowWindow(hintWindow_->GetHandle(), SW_HIDE);
}

void TKxColorPicker::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  Repaint();
}

void TKxColorPicker::DoHint(int x, int y) {
  int index = HitTest(x, y);
  TRect client = GetClientRect();
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  bool show = !IsDesigning() && index >= 0 && PtInRect(&client, POINT{x, y}) &&
              foregroundProcess == GetCurrentProcessId();
  if (!show) {
    if (hintWindow_ && hintWindow_->HandleAllocated() && IsWindowVisible(hintWindow_->GetHandle())) {
      ShowWindow(hintWindow_->GetHandle(), SW_HIDE);
      Repaint();
    }
    return;
  }
  if (!hintWindow_) {
    hintWindow_ = New<THintWindow>(nullptr);
    hintWindow_->SetColor(Application->GetHintColor());
    hintWindow_->GetFont()->Assign(GetFont());
  }
  const std::string& name = KxColorNames(index).Name;
  TRect r = hintWindow_->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), name, nullptr);
  TRect cell = GetCellRect(index);
  POINT at = ClientToScreen(POINT{cell.left, cell.bottom});
  OffsetRect(&r, at.x + 4, at.y + 12);
  bool visible = hintWindow_->HandleAllocated() && IsWindowVisible(hintWindow_->GetHandle());
  RECT now{};
  if (visible) GetWindowRect(hintWindow_->GetHandle(), &now);
  if (!visible || now.left != r.left || now.top != r.top || hintWindow_->GetCaption() != name)
    hintWindow_->ActivateHint(r, name);
}
