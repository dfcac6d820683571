#include <array>
#include <cmath>
#include <numbers>

#include "classlib/DateUtils.h"
#include "classlib/Seams.h"
#include "kx/controls/KxPopups.h"
#include "kx/controls/KxPopupsShared.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {

constexpr TColor kClockFaceDefaults[5] = {clBtnFace, clWindowText, clWindowText, clBtnShadow, clWindowText};
constexpr double kPi = std::numbers::pi;
constexpr uint32_t kHintCheckInterval = 1000;

// Round half to even, as the platform's Round.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

TDateTime TimeOf(TDateTime d) { return d - std::trunc(d); }

// A system colour used as a plain target of the radio glyph's mapping: mid
// grey itself is a colour of the glyph, so it moves one step off.
TColor PlainTarget(TColor c) {
  TColor rgb = ColorToRGB(c);
  return rgb == 0x808080 ? static_cast<TColor>(0x808081) : c;
}

}  // namespace

// ---------------------------------------------------------------------------
// TKxClockFaceColors

PUBLISHED(TKxClockFaceColors) {
  static const char* const names[5] = {"Face", "Hands", "Numbers", "HourTicks", "MinuteTicks"};
  PublishKxColorSet(p, names, kClockFaceDefaults);
}

TKxClockFaceColors::TKxClockFaceColors(TKxTimePicker* owner) : TKxPickerColors(owner, kClockFaceDefaults) {}

// ---------------------------------------------------------------------------
// TKxTimePicker

PUBLISHED(TKxTimePicker) {
  using C = TKxTimePicker;
  p.Prop("CaptionAM", &C::GetCaptionAM, &C::SetCaptionAM);
  p.Prop("CaptionPM", &C::GetCaptionPM, &C::SetCaptionPM);
  p.Prop("CaptionSet", &C::GetCaptionSet, &C::SetCaptionSet);
  p.Prop("ClockFaceColors", &C::GetClockFaceColors, &C::SetClockFaceColors);
  p.Prop("HowToUseMsg", &C::GetHowToUseMsg, &C::SetHowToUseMsg);
  p.Prop("RestrictMinutes", &C::GetRestrictMinutes, &C::SetRestrictMinutes).Default(false);
  p.Prop("ShowHowToUseHint", &C::GetShowHowToUseHint, &C::SetShowHowToUseHint).Default(true);
  p.Prop("ShowSetButton", &C::GetShowSetButton, &C::SetShowSetButton).Default(false);
  p.Prop("Time", &C::GetTime, &C::SetTime);
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
  p.Prop("OnSetBtnClick", &C::GetOnSetBtnClick, &C::SetOnSetBtnClick);
  p.Prop("OnSetTime", &C::GetOnSetTime, &C::SetOnSetTime);
  PublishKxPickerPanelProps(p);
}

TKxTimePicker::TKxTimePicker(TComponent* owner) : TKxPickerBase(owner) {
  colors_ = New<TKxClockFaceColors>(this);
  Clear();
  SetPickerDefaults();
  AdjustForFont();
  SetBounds(GetLeft(), GetTop(), 160, 190);
  hintTimer_ = New<TTimer>(this);
  hintTimer_->SetEnabled(false);
  hintTimer_->SetInterval(kHintCheckInterval);
  hintTimer_->SetOnTimer(TNotifyEvent(this, &TKxTimePicker::HintTimerExpired));
}

void TKxTimePicker::Destroy() {
  if (hintTimer_) hintTimer_->SetEnabled(false);
  // The hint window and the timer are owned components: they go with the
  // picker.
  inherited::Destroy();
  hintWindow_ = nullptr;
  hintTimer_ = nullptr;
  FreeAndNil(colors_);
}

std::string TKxTimePicker::AMCaption() const { return captionAM_.empty() ? LoadStr(SKxAMCaption) : captionAM_; }
std::string TKxTimePicker::PMCaption() const { return captionPM_.empty() ? LoadStr(SKxPMCaption) : captionPM_; }
std::string TKxTimePicker::SetCaption() const {
  return captionSet_.empty() ? LoadStr(SKxSetCaption) : captionSet_;
}
std::string TKxTimePicker::HowToUse() const {
  return howToUseMsg_.empty() ? LoadStr(SKxHowToUseMsg) : howToUseMsg_;
}

int TKxTimePicker::Hour() const {
  WORD h, m, s, ms;
  DecodeTime(time_, h, m, s, ms);
  return h;
}

int TKxTimePicker::Minute() const {
  WORD h, m, s, ms;
  DecodeTime(time_, h, m, s, ms);
  return m;
}

// --- values ----------------------------------------------------------------------------------------

void TKxTimePicker::SetTime(TDateTime value) {
  if (TimeOf(value) == time_ && !IsForcing()) return;
  WORD h, m, s, ms;
  DecodeTime(value, h, m, s, ms);
  time_ = EncodeTime(h, m, 0, 0);
  pm_ = h > 11;
  Changed();
  Invalidate();
}

void TKxTimePicker::SetHour(int hour) {
  if (pm_ && hour < 12) hour += 12;
  else if (!pm_ && hour == 12) hour = 0;
  SetTime(EncodeTime(static_cast<WORD>(hour), static_cast<WORD>(Minute()), 0, 0));
}

void TKxTimePicker::SetMinutes(int minute) {
  SetTime(EncodeTime(static_cast<WORD>(Hour()), static_cast<WORD>(minute), 0, 0));
}

void TKxTimePicker::ChangeToAM() {
  if (!pm_) return;
  pm_ = false;
  SetHour(Hour() - 12);
}

void TKxTimePicker::ChangeToPM() {
  if (pm_) return;
  pm_ = true;
  SetHour(Hour() + 12);
}

void TKxTimePicker::AdjustHour(int hours) { SetTime(IncHour(Date() + time_, hours)); }
void TKxTimePicker::AdjustMinute(int minutes) { SetTime(IncMinute(Date() + time_, minutes)); }

void TKxTimePicker::Clear() {
  Forcing([this] { SetTime(0); });
}

bool TKxTimePicker::IsClear() const { return std::trunc(time_) == 0; }

void TKxTimePicker::Changed() {
  if (OnChange) OnChange(this);
}

void TKxTimePicker::SetBtnClick() {
  if (OnSetBtnClick) OnSetBtnClick(this);
}

void TKxTimePicker::SetCaptionAM(const std::string& value) {
  if (captionAM_ == value) return;
  captionAM_ = value;
  AdjustForFont();
}

void TKxTimePicker::SetCaptionPM(const std::string& value) {
  if (captionPM_ == value) return;
  captionPM_ = value;
  AdjustForFont();
}

void TKxTimePicker::SetCaptionSet(const std::string& value) {
  if (captionSet_ == value) return;
  captionSet_ = value;
  AdjustForFont();
}

void TKxTimePicker::SetClockFaceColors(TKxClockFaceColors* value) { colors_->Assign(value); }

void TKxTimePicker::SetShowSetButton(bool value) {
  showSetButton_ = value;
  Invalidate();
}

// --- size and layout -----------------------------------------------------------------------------------

SIZE TKxTimePicker::NaturalSize() {
  int setTerm = captionSet_.empty() ? 24 * charW_
                                    : 12 * charW_ + 2 * charW_ * (static_cast<int>(captionSet_.size()) + 2);
  return SIZE{std::max(13 * charW_ + 78, setTerm), 14 * textH_ + 8};
}

void TKxTimePicker::CalcRects() {
  int fh = GetMinFontHeight(GetFont());
  RECT client{0, 0, GetWidth(), GetHeight()};
  if (HandleAllocated()) client = GetClientRect();
  AdjustClientRect(client);
  displayRect_ = TRect{client.left, client.top, client.right, fh + 4};
  int w = GetWidth(), h = GetHeight();
  int amW = KxTextWidth(GetFont(), AMCaption()) + 14;
  int pmW = KxTextWidth(GetFont(), PMCaption()) + 14;
  amRect_ = TRect{5, h - fh - 9, 5 + amW, h - fh - 9 + fh + 4};
  pmRect_ = TRect{amRect_.right + 5, amRect_.top, amRect_.right + 5 + pmW, amRect_.bottom};
  setRect_ = TRect{(w - pmRect_.right - 5) / 3 + pmRect_.right, amRect_.top, w - 5, amRect_.bottom};
  int space = amRect_.top - displayRect_.bottom - 10;
  center_ = POINT{(w - 10) / 2 + 5, displayRect_.bottom + space / 2 + 3};
  radius_ = std::max(0, std::min((w - 10) / 2, space / 2));
  clockRect_ = TRect{center_.x - radius_, center_.y - radius_, center_.x + radius_, center_.y + radius_};
}

// --- angles ------------------------------------------------------------------------------------------

double TKxTimePicker::NormalizedArcTan(double dx, double dy) {
  double a = std::atan(dy / dx);
  if (dx > 0 && dy < 0) a += 2 * kPi;
  else if (dx < 0) a += kPi;
  return a;
}

int TKxTimePicker::GetHourFromXY(int x, int y) const {
  int dx = x - center_.x, dy = y - center_.y;
  if (dx == 0) return dy < 1 ? 12 : 6;
  double f = NormalizedArcTan(dx, dy) + kPi / 3;
  if (f > 2 * kPi) f -= 2 * kPi;
  for (int h = 1; h <= 12; ++h)
    if (f < h * kPi / 6 - kPi / 12) return h;
  return 12;
}

int TKxTimePicker::GetMinuteFromXY(int x, int y, bool restrict) const {
  int dx = x - center_.x, dy = y - center_.y;
  int minute = 0;
  if (dx == 0) {
    minute = dy < 1 ? 0 : 30;
  } else {
    double g = NormalizedArcTan(dx, dy) + kPi / 2;
    if (g > 2 * kPi) g -= 2 * kPi;
    for (int h = 1; h <= 60; ++h)
      if (g < h * kPi / 30 - kPi / 60) {
        minute = h - 1;
        break;
      }
  }
  if (restrictMinutes_ || restrict) {
    int k = RoundEven(minute / 60.0 * 12);
    minute = k == 12 ? 0 : 5 * k;
  }
  return minute;
}

// --- painting ----------------------------------------------------------------------------------------

void TKxTimePicker::DrawRadio(TCanvas* canvas, const TRect& item, bool checked, const std::string& caption) {
  constexpr int kGlyph = 13;
  Owned<TBitmap> glyph = MakeOwned<TBitmap>();
  if (ThemeServices().GetThemesEnabled()) {
    glyph->SetPixelFormat(pf24bit);
    glyph->SetSize(kGlyph, kGlyph);
    glyph->GetCanvas()->GetBrush()->SetColor(GetColor());
    glyph->GetCanvas()->FillRect(TRect{0, 0, kGlyph, kGlyph});
    ThemeServices().DrawElement(
        glyph->GetCanvas()->GetHandle(),
        ThemeServices().GetElementDetails(checked ? tbRadioButtonCheckedNormal : tbRadioButtonUncheckedNormal),
        TRect{0, 0, kGlyph, kGlyph});
  } else {
    static constexpr std::array<TColor, 13> from = {
        static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0x000000), static_cast<TColor>(0x008000),
        static_cast<TColor>(0x808080), static_cast<TColor>(0x800080), static_cast<TColor>(0x000080),
        static_cast<TColor>(0x00FF00), static_cast<TColor>(0x0000FF), static_cast<TColor>(0xFF00FF),
        static_cast<TColor>(0x00FFFF), static_cast<TColor>(0x800000), static_cast<TColor>(0xFF0000),
        static_cast<TColor>(0xFFFF00)};
    TColor shadow = PlainTarget(clBtnShadow);
    TColor highlight = PlainTarget(clHighlight);
    TColor mid = BlendColors(clBtnShadow, clWindow, 128);
    TColor light = BlendColors(clBtnShadow, clWindow, 80);
    const std::array<TColor, 13> to = {clWindow,  shadow,   LighterColor(clBtnShadow, 10),
                                       mid,       mid,      light,
                                       light,     clWindow, clWindow,
                                       clWindow,  highlight, BlendColors(clHighlight, clWindow, 153),
                                       BlendColors(clBtnShadow, GetColor(), 100)};
    glyph->SetHandle(CreateMappedRes(MainInstance(),
                                     checked ? "KXCOMMON_RADIOBUTTON_CHECKED" : "KXCOMMON_RADIOBUTTON_UNCHECKED",
                                     from, to));
    // Outside the circle the glyph keeps its olive key colour.
    glyph->SetTransparentColor(clOlive);
    glyph->SetTransparent(true);
  }
  int top = (item.top + item.bottom - kGlyph) / 2;
  canvas->Draw(item.left, top, glyph.get());
  TRect text{item.left + 14, item.top, item.right, item.bottom};
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->GetFont()->SetColor(GetFont()->GetColor());
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TKxTimePicker::Paint() {
  TCanvas* canvas = GetCanvas();
  bool themed = ThemeServices().GetThemesEnabled();
  PaintBackground(canvas);
  CalcRects();
  canvas->SetFont(GetFont());

  DrawBar(canvas, displayRect_);
  DrawBarText(canvas, FormatDateTime("h:mm ampm", time_), displayRect_);

  DrawClock(clockRect_, center_, radius_);

  int y = amRect_.top - 5;
  if (themed) {
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(ttbSeparatorVertNormal),
                                TRect{5, y - 1, GetWidth() - 5, y + 2});
  } else {
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetWidth(1);
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(5, y);
    canvas->LineTo(GetWidth() - 5, y);
  }

  canvas->SetFont(GetFont());
  DrawRadio(canvas, amRect_, !pm_, AMCaption());
  DrawRadio(canvas, pmRect_, pm_, PMCaption());
  if (showSetButton_) DrawPickerButton(canvas, setRect_, SetCaption(), leftDown_ && setPressed_);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TKxTimePicker::DrawClock(const TRect& rect, POINT center, int radius) {
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  TColor face = colors_->GetColor(0);
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetColor(Focused() ? DarkerColor(face, 40) : face);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(face);
  canvas->Ellipse(rect);

  canvas->SetFont(GetFont());
  canvas->GetFont()->SetStyle(canvas->GetFont()->GetStyle() + TFontStyles{fsBold});
  canvas->GetFont()->SetHeight(-RoundEven(radius * 0.2));
  canvas->GetFont()->SetColor(colors_->GetColor(2));
  UINT oldAlign = SetTextAlign(dc, TA_CENTER);
  int h2 = canvas->TextHeight("0") / 2;
  canvas->GetBrush()->SetStyle(bsClear);
  int cx = center.x, cy = center.y;
  int d = RoundEven(radius * 0.75);
  for (int n = 1; n <= 12; ++n) {
    double a = n * kPi / 6 - kPi / 2;
    std::string number = std::to_string(n);
    canvas->TextOut(cx + RoundEven(std::cos(a) * d), cy + RoundEven(std::sin(a) * d) - h2, number);
  }
  SetTextAlign(dc, oldAlign);

  TColor hourTicks = colors_->GetColor(3);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(hourTicks);
  canvas->GetPen()->SetColor(hourTicks);
  d = RoundEven(radius * 0.92);
  int t = RoundEven(radius * 0.02);
  for (int i = 1; i <= 60; ++i) {
    double a = i * kPi / 30 - kPi / 2;
    int x = cx + RoundEven(std::cos(a) * d), y = cy + RoundEven(std::sin(a) * d);
    if (i % 5 == 0) canvas->Rectangle(x - t, y - t, x + t + 1, y + t + 1);
    else canvas->SetPixels(x, y, colors_->GetColor(4));
  }

  TColor hands = colors_->GetColor(1);
  canvas->GetBrush()->SetColor(hands);
  canvas->GetPen()->SetColor(hands);
  int w = RoundEven(radius * 0.04);
  auto hand = [&](double turn, double tipShare, double baseShare) {
    double a = turn - kPi / 2;
    int tip = RoundEven(radius * tipShare), base = RoundEven(radius * baseShare);
    POINT bc{cx + RoundEven(std::cos(a) * base), cy + RoundEven(std::sin(a) * base)};
    int ox = RoundEven(std::cos(turn) * w), oy = RoundEven(std::sin(turn) * w);
    TPoint points[3] = {TPoint{cx + RoundEven(std::cos(a) * tip), cy + RoundEven(std::sin(a) * tip)},
                        TPoint{bc.x + ox, bc.y + oy}, TPoint{bc.x - ox, bc.y - oy}};
    canvas->Polygon(points, 3);
  };
  hand(Minute() * kPi / 30, 0.8, 0.25);
  hand((Hour() % 12) * kPi / 6, 0.5, 0.15);
}

// --- mouse -------------------------------------------------------------------------------------------

void TKxTimePicker::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  CalcRects();
  POINT p{x, y};
  bool onClock = PtInRect(&clockRect_, p) != 0;
  if (button == mbRight) {
    rightDown_ = true;
    if (onClock) {
      dragging_ = true;
      SetMinutes(GetMinuteFromXY(x, y, shift.Contains(ssCtrl)));
    }
  } else if (button == mbLeft) {
    leftDown_ = true;
    if (PtInRect(&amRect_, p)) amPressed_ = true;
    else if (PtInRect(&pmRect_, p)) pmPressed_ = true;
    else if (showSetButton_ && PtInRect(&setRect_, p)) setPressed_ = true;
    else if (onClock) {
      dragging_ = true;
      SetHour(GetHourFromXY(x, y));
    }
  }
  Invalidate();
}

void TKxTimePicker::MouseMove(TShiftState shift, int x, int y) {
  if (showHowToUseHint_) DoHint(x, y);
  inherited::MouseMove(shift, x, y);
  if (!dragging_) return;
  CalcRects();
  if (!PtInRect(&clockRect_, POINT{x, y})) return;
  if (leftDown_ && shift.Contains(ssLeft)) SetHour(GetHourFromXY(x, y));
  else if (rightDown_ && shift.Contains(ssRight) && !shift.Contains(ssLeft))
    SetMinutes(GetMinuteFromXY(x, y, shift.Contains(ssCtrl)));
}

void TKxTimePicker::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  CalcRects();
  POINT p{x, y};
  bool onClock = PtInRect(&clockRect_, p) != 0;
  if (button == mbLeft && leftDown_) {
    if (amPressed_ && PtInRect(&amRect_, p)) ChangeToAM();
    else if (pmPressed_ && PtInRect(&pmRect_, p)) ChangeToPM();
    else if (setPressed_ && PtInRect(&setRect_, p)) SetBtnClick();
    else if (dragging_ && onClock) {
      SetHour(GetHourFromXY(x, y));
      if (OnSetTime) OnSetTime(this);
    }
  } else if (button == mbRight && rightDown_) {
    if (dragging_ && onClock) {
      SetMinutes(GetMinuteFromXY(x, y, shift.Contains(ssCtrl)));
      if (OnSetTime) OnSetTime(this);
    }
    rightDown_ = false;
  }
  leftDown_ = amPressed_ = pmPressed_ = setPressed_ = dragging_ = false;
  Invalidate();
}

// --- keyboard and messages -----------------------------------------------------------------------------

void TKxTimePicker::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  switch (key) {
    case VK_PRIOR: AdjustHour(1); break;
    case VK_NEXT: AdjustHour(-1); break;
    case VK_UP: AdjustMinute(1); break;
    case VK_DOWN: AdjustMinute(-1); break;
    case VK_RETURN:
      if (showSetButton_) SetBtnClick();
      break;
    default: break;
  }
}

void TKxTimePicker::CMDialogChar(TMessage& m) {
  if (GetEnabled()) {
    WORD key = LOWORD(m.WParam);
    if (!captionAM_.empty() && IsAccel(key, captionAM_)) {
      ChangeToAM();
      m.Result = 1;
      return;
    }
    if (!captionPM_.empty() && IsAccel(key, captionPM_)) {
      ChangeToPM();
      m.Result = 1;
      return;
    }
    if (showSetButton_ && !captionSet_.empty() && IsAccel(key, captionSet_)) {
      SetBtnClick();
      m.Result = 1;
      return;
    }
  }
  inherited::CMDialogChar(m);
}

// --- hint --------------------------------------------------------------------------------------------

void TKxTimePicker::MouseEnter() {
  inherited::MouseEnter();
  if (!showHowToUseHint_) return;
  TPoint p = CursorPosition();
  DoHint(p.x, p.y);
}

void TKxTimePicker::MouseLeave() {
  inherited::MouseLeave();
  if (hintWindow_) hintWindow_->ReleaseHandle();
}

void TKxTimePicker::DoHint(int x, int y) {
  CalcRects();
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  bool show = !IsDesigning() && PtInRect(&clockRect_, POINT{x, y}) && foregroundProcess == GetCurrentProcessId();
  if (!show) {
    HideHint();
    return;
  }
  if (!hintWindow_) {
    hintWindow_ = New<THintWindow>(this);
    hintWindow_->SetColor(Application->GetHintColor());
  }
  std::string text = HowToUse();
  TRect r = hintWindow_->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), text, nullptr);
  POINT at = ClientToScreen(POINT{0, GetHeight()});
  OffsetRect(&r, at.x, at.y);
  bool visible = hintWindow_->HandleAllocated() && IsWindowVisible(hintWindow_->GetHandle());
  RECT now{};
  if (visible) GetWindowRect(hintWindow_->GetHandle(), &now);
  if (!visible || now.left != r.left || now.top != r.top) {
    hintWindow_->ActivateHint(r, text);
    hintTimer_->SetEnabled(true);
  }
}

void TKxTimePicker::HideHint() {
  if (hintTimer_) hintTimer_->SetEnabled(false);
  if (hintWindow_ && hintWindow_->HandleAllocated()) {
    hintWindow_->ReleaseHandle();
    Repaint();
  }
}

void TKxTimePicker::HintTimerExpired(TObject*) {
  CalcRects();
  TPoint p = CursorPosition();
  if (!PtInRect(&clockRect_, p)) HideHint();
}
