// The clock-face time picker: hours and minutes from points on the face,
// the AM and PM items, keys that wrap round midnight, the Set button, the
// hint's check timer and the size it takes for its font.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "classlib/DateUtils.h"
#include "kx/controls/KxPopups.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"

using namespace kxc_test;
using namespace kxp_test;

namespace {

TDateTime T(WORD h, WORD m) { return EncodeTime(h, m, 0, 0); }

std::string Hm(TDateTime t) { return FormatDateTime("hh:nn", t); }

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

POINT Middle(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class KxTimePicker : public ::testing::Test {
 protected:
  KxTimePicker() {
    picker_ = host_.Add<TKxTimePicker>(10, 10, 0, 0);
    picker_->HandleNeeded();
    picker_->CalcRects();
  }
  // A point on the face at a clock position (minutes 0..59 of a turn) and
  // a share of the radius.
  POINT OnFace(double minutes, double share = 0.6) {
    POINT c = picker_->GetClockCenter();
    double a = minutes * std::numbers::pi / 30 - std::numbers::pi / 2;
    double d = picker_->GetClockRadius() * share;
    return POINT{c.x + static_cast<int>(std::lround(std::cos(a) * d)),
                 c.y + static_cast<int>(std::lround(std::sin(a) * d))};
  }
  void LeftClick(POINT p) {
    picker_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(p));
    picker_->Perform(WM_LBUTTONUP, 0, At(p));
  }
  TPinnedFormats formats_;
  TPinnedToday today_{2024, 6, 15};
  TControlHost host_{clBtnFace, 500, 400};
  TKxTimePicker* picker_ = nullptr;
};

TEST_F(KxTimePicker, ANewPickerShowsMidnightWithAmChecked) {
  EXPECT_EQ(picker_->GetTime(), 0);
  EXPECT_FALSE(picker_->GetPM());
  EXPECT_TRUE(picker_->IsClear());
  EXPECT_EQ(picker_->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(KxTimePicker, HoursAndMinutesComeFromThePointOnTheFace) {
  POINT c = picker_->GetClockCenter();
  // Straight above and below the centre.
  EXPECT_EQ(picker_->GetHourFromXY(c.x, c.y - 20), 12);
  EXPECT_EQ(picker_->GetMinuteFromXY(c.x, c.y - 20, false), 0);
  EXPECT_EQ(picker_->GetHourFromXY(c.x, c.y + 20), 6);
  EXPECT_EQ(picker_->GetMinuteFromXY(c.x, c.y + 20, false), 30);
  struct TCase {
    double At;  // minutes of a turn
    int Hour;
    int Minute;
    int Restricted;
  };
  const TCase cases[] = {
      {15, 3, 15, 15},  {45, 9, 45, 45}, {10, 2, 10, 10}, {22.2, 4, 22, 20},
      {57.4, 11, 57, 55}, {58.2, 12, 58, 0},  // snapped to 0, never 60
      {1.2, 12, 1, 0},  {33, 7, 33, 35},
  };
  for (const TCase& t : cases) {
    SCOPED_TRACE(t.At);
    POINT p = OnFace(t.At);
    EXPECT_EQ(picker_->GetHourFromXY(p.x, p.y), t.Hour);
    EXPECT_EQ(picker_->GetMinuteFromXY(p.x, p.y, false), t.Minute);
    EXPECT_EQ(picker_->GetMinuteFromXY(p.x, p.y, true), t.Restricted);
  }
  // Angles run clockwise from 3 o'clock, screen y downwards.
  EXPECT_NEAR(TKxTimePicker::NormalizedArcTan(1, 1), std::numbers::pi / 4, 1e-9);
  EXPECT_NEAR(TKxTimePicker::NormalizedArcTan(-1, -1), 5 * std::numbers::pi / 4, 1e-9);
  EXPECT_NEAR(TKxTimePicker::NormalizedArcTan(1, -1), 7 * std::numbers::pi / 4, 1e-9);
}

TEST_F(KxTimePicker, TheLeftButtonSetsTheHourAndTheRightOneTheMinute) {
  TEventCounter set, changes;
  picker_->OnSetTime = set.Event();
  picker_->OnChange = changes.Event();
  picker_->SetTime(T(9, 15));
  changes.Count = 0;
  LeftClick(OnFace(20));  // 4 o'clock
  EXPECT_EQ(Hm(picker_->GetTime()), "04:15");
  EXPECT_EQ(set.Count, 1);
  // A left drag: the hour follows the mouse.
  picker_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(OnFace(20)));
  picker_->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(OnFace(35)));
  EXPECT_EQ(Hm(picker_->GetTime()), "07:15");
  picker_->Perform(WM_LBUTTONUP, 0, At(OnFace(35)));
  // The right button, with Ctrl snapping to five minutes.
  POINT p = OnFace(22.2);
  picker_->Perform(WM_RBUTTONDOWN, MK_RBUTTON, At(p));
  picker_->Perform(WM_RBUTTONUP, 0, At(p));
  EXPECT_EQ(Hm(picker_->GetTime()), "07:22");
  picker_->Perform(WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, At(OnFace(58.2)));
  picker_->Perform(WM_RBUTTONUP, MK_CONTROL, At(OnFace(58.2)));
  EXPECT_EQ(Hm(picker_->GetTime()), "07:00");
  picker_->SetRestrictMinutes(true);
  picker_->Perform(WM_RBUTTONDOWN, MK_RBUTTON, At(OnFace(33)));
  picker_->Perform(WM_RBUTTONUP, 0, At(OnFace(33)));
  EXPECT_EQ(Hm(picker_->GetTime()), "07:35");
  EXPECT_EQ(set.Count, 5);
  // Outside the face nothing is set.
  LeftClick(POINT{2, picker_->GetClockRect().top + 2});
  EXPECT_EQ(Hm(picker_->GetTime()), "07:35");
}

TEST_F(KxTimePicker, AmAndPmSwitchTheHalfOfTheDay) {
  picker_->SetTime(T(9, 15));
  LeftClick(Middle(picker_->GetPMRect()));
  EXPECT_EQ(Hm(picker_->GetTime()), "21:15");
  EXPECT_TRUE(picker_->GetPM());
  picker_->SetTime(T(12, 30));
  EXPECT_TRUE(picker_->GetPM());
  LeftClick(Middle(picker_->GetAMRect()));
  EXPECT_EQ(Hm(picker_->GetTime()), "00:30");
  // A press on AM released over PM switches nothing.
  picker_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(Middle(picker_->GetAMRect())));
  picker_->Perform(WM_LBUTTONUP, 0, At(Middle(picker_->GetPMRect())));
  EXPECT_EQ(Hm(picker_->GetTime()), "00:30");
  // Hours set in the afternoon stay there; 12 in the morning is midnight.
  picker_->SetTime(T(15, 0));
  picker_->SetHour(2);
  EXPECT_EQ(Hm(picker_->GetTime()), "14:00");
  picker_->ChangeToAM();
  picker_->SetHour(12);
  EXPECT_EQ(Hm(picker_->GetTime()), "00:00");
}

TEST_F(KxTimePicker, KeysStepAndWrapRoundMidnight) {
  struct TCase {
    TDateTime From;
    WORD Key;
    const char* Expected;
  };
  const TCase cases[] = {
      {T(0, 30), VK_NEXT, "23:30"}, {T(23, 30), VK_PRIOR, "00:30"}, {T(23, 59), VK_UP, "00:00"},
      {T(0, 0), VK_DOWN, "23:59"},  {T(11, 59), VK_UP, "12:00"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Hm(c.From) + " " + std::to_string(c.Key));
    picker_->SetTime(c.From);
    picker_->Perform(WM_KEYDOWN, c.Key, 0);
    EXPECT_EQ(Hm(picker_->GetTime()), c.Expected);
    EXPECT_LT(picker_->GetTime(), 1.0) << "the day part is dropped";
    EXPECT_EQ(picker_->GetPM(), picker_->GetTime() >= 0.5);
  }
}

TEST_F(KxTimePicker, TheSetButtonWorksOnlyWhileItShows) {
  TEventCounter setClicks;
  picker_->OnSetBtnClick = setClicks.Event();
  picker_->Perform(WM_KEYDOWN, VK_RETURN, 0);
  LeftClick(Middle(picker_->GetSetRect()));
  picker_->SetCaptionSet("&Go");
  EXPECT_EQ(picker_->Perform(CM_DIALOGCHAR, 'g', 0), 0);
  EXPECT_EQ(setClicks.Count, 0);
  picker_->SetShowSetButton(true);
  picker_->CalcRects();
  picker_->Perform(WM_KEYDOWN, VK_RETURN, 0);
  LeftClick(Middle(picker_->GetSetRect()));
  EXPECT_EQ(picker_->Perform(CM_DIALOGCHAR, 'g', 0), 1);
  EXPECT_EQ(setClicks.Count, 3);
  // Accelerators come from the caption properties only.
  picker_->SetTime(T(9, 0));
  EXPECT_EQ(picker_->Perform(CM_DIALOGCHAR, 'p', 0), 0);
  picker_->SetCaptionPM("&Nachm.");
  EXPECT_EQ(picker_->Perform(CM_DIALOGCHAR, 'n', 0), 1);
  EXPECT_EQ(Hm(picker_->GetTime()), "21:00");
}

TEST_F(KxTimePicker, ItSizesItselfToItsFontAndTheCaptions) {
  TThemesOff themesOff;
  for (int height : {-11, -16}) {
    SCOPED_TRACE(height);
    picker_->GetFont()->SetName("Tahoma");
    picker_->GetFont()->SetHeight(height);
    int cw = KxTextWidth(picker_->GetFont(), "0"), th = KxTextHeight(picker_->GetFont(), "0");
    // With no Set caption the second term is 24 character widths.
    EXPECT_EQ(picker_->GetWidth(), std::max(13 * cw + 78, 24 * cw));
    EXPECT_EQ(picker_->GetHeight(), 14 * th + 8);
    picker_->SetCaptionSet("Uebernehmen");
    EXPECT_EQ(picker_->GetWidth(), std::max(13 * cw + 78, 12 * cw + 2 * cw * 13));
    picker_->SetCaptionSet("");
    // The face fits between the display box and the AM and PM items.
    picker_->CalcRects();
    TRect clock = picker_->GetClockRect();
    EXPECT_GE(clock.top, picker_->GetDisplayRect().bottom);
    EXPECT_LE(clock.bottom, picker_->GetAMRect().top);
    EXPECT_GT(picker_->GetClockRadius(), 20);
  }
}

TEST_F(KxTimePicker, TheFaceIsDrawnWithItsHandsAndTheCheckedItem) {
  TThemesOff themesOff;
  const TColor hands = static_cast<TColor>(RGB(200, 10, 10));
  picker_->GetClockFaceColors()->SetColor(1, hands);
  EXPECT_EQ(picker_->GetClockFaceColors()->GetColor(5), clNone);
  picker_->SetTime(T(3, 0));
  TDib dib(picker_->GetWidth(), picker_->GetHeight(), kx_test::kPaper);
  PaintControl(picker_, dib);
  POINT c = picker_->GetClockCenter();
  int r = picker_->GetClockRadius();
  // The hour hand points right (3 o'clock), the minute hand up.
  EXPECT_GT(CountColour(dib, Shown(hands), TRect{c.x + r / 5, c.y - 3, c.x + r / 2, c.y + 4}), 0);
  EXPECT_GT(CountColour(dib, Shown(hands), TRect{c.x - 3, c.y - r * 3 / 4, c.x + 4, c.y - r / 3}), 0);
  EXPECT_EQ(CountColour(dib, Shown(hands), TRect{c.x - r / 2, c.y - 3, c.x - r / 5, c.y + 4}), 0);
  EXPECT_EQ(CountColour(dib, Shown(hands), TRect{c.x - 3, c.y + r / 3, c.x + 4, c.y + r * 3 / 4}), 0);
}

TEST_F(KxTimePicker, TheTimeShowsOnTheDisplayBarsFaceWithNoBoxBehindIt) {
  TThemesOff themesOff;
  const TColor ink = static_cast<TColor>(RGB(200, 0, 0));
  picker_->GetFont()->SetColor(ink);
  picker_->SetTime(T(10, 45));
  // The picker's own colour must not show on the bar, whatever it is.
  for (TColor back : {clWindow, static_cast<TColor>(RGB(250, 240, 100))}) {
    SCOPED_TRACE(static_cast<int>(back));
    picker_->SetColor(back);
    TDib dib(picker_->GetWidth(), picker_->GetHeight(), kx_test::kPaper);
    PaintControl(picker_, dib);
    TRect bar = picker_->GetDisplayRect();
    InflateRect(&bar, -2, -2);
    EXPECT_GT(CountColour(dib, Shown(ink), bar), 0) << "the time is drawn";
    EXPECT_EQ(CountColour(dib, Shown(back), bar), 0) << "no box in the picker's colour";
    int area = (bar.right - bar.left) * (bar.bottom - bar.top);
    EXPECT_EQ(CountColour(dib, Shown(clBtnFace), bar) + CountColour(dib, Shown(ink), bar), area)
        << "only the face and the time's ink";
  }
}

TEST(SerialKxTimePicker, MovingOffTheFaceHidesTheHintAtTheNextCheck) {
  TPinnedFormats formats;
  kx_test::TFakeTimers timers;
  TShownForm shown(360, 300);
  auto* picker = shown.Add<TKxTimePicker>(10, 10, 0, 0);
  shown.Show();
  picker->CalcRects();
  POINT c = picker->GetClockCenter();
  TShownForm::MoveTo(picker, c);
  picker->DoHint(c.x, c.y);
  ASSERT_NE(picker->GetHintWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(picker->GetHintWindow()->GetHandle()));
  EXPECT_TRUE(picker->GetHintTimer()->GetEnabled());
  TShownForm::MoveTo(picker, POINT{2, 2});
  timers.Fire(1000);
  forms_test::PumpApplication(2);
  EXPECT_FALSE(picker->GetHintWindow()->HandleAllocated() &&
               IsWindowVisible(picker->GetHintWindow()->GetHandle()));
  EXPECT_FALSE(picker->GetHintTimer()->GetEnabled());
}

TEST(KxTimePickerStored, AStoredFormKeepsCaptionsColoursAndTime) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* picker = New<TKxTimePicker>(form.get());
  picker->SetParent(form.get());
  picker->SetName("Clock");
  picker->GetClockFaceColors()->SetColor(0, clYellow);
  picker->SetCaptionAM("vorm.");
  picker->SetShowSetButton(true);
  picker->SetTime(EncodeTime(14, 25, 0, 0));
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("ClockFaceColors.Face = clYellow"), std::string::npos) << text;
  EXPECT_EQ(text.find("ClockFaceColors.Hands"), std::string::npos) << text;
  EXPECT_EQ(text.find("BorderOuter"), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TKxTimePicker*>(copy->FindComponent("Clock"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetClockFaceColors()->GetColor(0), clYellow);
  EXPECT_EQ(read->GetCaptionAM(), "vorm.");
  EXPECT_TRUE(read->GetShowSetButton());
  EXPECT_EQ(FormatDateTime("hh:nn", read->GetTime()), "14:25");
}

}  // namespace
