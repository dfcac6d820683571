// The month calendar: the first row's rule and the first day of the week,
// keyboard and mouse navigation, the accelerated arrows and the month list
// through the timer seam, bold days and colours drawn with real fonts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "classlib/DateUtils.h"
#include "kx/controls/KxPopups.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"

using namespace kxc_test;
using namespace kxp_test;

namespace {

TDateTime D(WORD y, WORD m, WORD d) { return EncodeDate(y, m, d); }

// The rectangle of day cell index (0..41), as the calendar draws it
// (without the 2-pixel gap on the right).
TRect Cell(TKxCalendar* cal, int index) {
  cal->CalcAreas();
  TRect days = cal->GetAreaRect(caDays);
  int w = cal->GetCellWidth(), h = cal->GetCellHeight();
  int left = days.left + (index % 7) * w, top = days.top - 1 + (index / 7) * h;
  return TRect{left, top, left + w - 2, top + h};
}

POINT Middle(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

void Press(TControl* c, POINT p) { c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(p)); }
void Release(TControl* c, POINT p) { c->Perform(WM_LBUTTONUP, 0, At(p)); }
void MoveTo(TControl* c, POINT p, bool held = true) { c->Perform(WM_MOUSEMOVE, held ? MK_LBUTTON : 0, At(p)); }
void Click(TControl* c, POINT p) {
  Press(c, p);
  Release(c, p);
}

class KxCalendar : public ::testing::Test {
 protected:
  KxCalendar() : today_(2024, 6, 15) {
    cal_ = host_.Add<TKxCalendar>(10, 10, 0, 0);
    cal_->HandleNeeded();
    cal_->SetFirstDayOfWeek(fdowSunday);
  }
  TPinnedFormats formats_;
  TPinnedToday today_;
  TControlHost host_{clBtnFace, 500, 400};
  TKxCalendar* cal_ = nullptr;
};

TEST_F(KxCalendar, TheFirstRowAlwaysStartsInTheMonthBefore) {
  struct TCase {
    TKxFirstDayOfWeek First;
    TDateTime View;
    TDateTime FirstCell;
  };
  const TCase cases[] = {
      {fdowSunday, D(2024, 6, 10), D(2024, 5, 26)},
      // September 2024 begins on a Sunday: the whole first row is August.
      {fdowSunday, D(2024, 9, 30), D(2024, 8, 25)},
      {fdowMonday, D(2024, 7, 1), D(2024, 6, 24)},
      {fdowMonday, D(2024, 6, 1), D(2024, 5, 27)},
      {fdowSaturday, D(2025, 3, 31), D(2025, 2, 22)},
      {fdowWednesday, D(2025, 1, 1), D(2024, 12, 25)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Ymd(c.View));
    cal_->SetFirstDayOfWeek(c.First);
    cal_->SetDate(c.View);
    EXPECT_EQ(Ymd(cal_->GetFirstCellDate()), Ymd(c.FirstCell));
    EXPECT_EQ(Ymd(cal_->GetViewDate()), Ymd(c.View));
  }
}

TEST_F(KxCalendar, TheLocalesFirstDayTakesEffectOnceTheWindowExists) {
  auto* fresh = New<TKxCalendar>(host_.Panel());
  EXPECT_EQ(fresh->GetFirstDayOfWeek(), fdowLocale);
  EXPECT_EQ(fresh->GetResolvedFirstDay(), 0);
  fresh->SetParent(host_.Panel());
  // The test locale is en-US: weeks begin on Sunday.
  EXPECT_EQ(fresh->GetResolvedFirstDay(), 6);
  EXPECT_EQ(Ymd(fresh->GetFirstCellDate()), "2024-05-26");
}

TEST_F(KxCalendar, AClearedCalendarShowsTodaysMonthAndKeysStartFromToday) {
  EXPECT_TRUE(cal_->IsClear());
  EXPECT_EQ(Ymd(cal_->GetViewDate()), "2024-06-15");
  struct TCase {
    WORD Key;
    TDateTime From;  // 0: cleared
    const char* Expected;
  };
  const TCase cases[] = {
      {VK_RIGHT, 0, "2024-06-16"},         {VK_LEFT, 0, "2024-06-14"},
      {VK_UP, 0, "2024-06-08"},            {VK_DOWN, 0, "2024-06-22"},
      {VK_HOME, 0, "2024-06-01"},          {VK_END, 0, "2024-06-30"},
      {VK_PRIOR, 0, "2024-05-15"},         {VK_NEXT, 0, "2024-07-15"},
      {VK_NEXT, D(2024, 1, 31), "2024-02-29"}, {VK_END, D(2023, 2, 3), "2023-02-28"},
      {VK_RIGHT, D(2024, 12, 31), "2025-01-01"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Key) + " from " + Ymd(c.From));
    cal_->SetDate(c.From);
    cal_->Perform(WM_KEYDOWN, c.Key, 0);
    EXPECT_EQ(Ymd(cal_->GetDate()), c.Expected);
    // The view follows the selection.
    EXPECT_EQ(Ymd(cal_->GetViewDate()), c.Expected);
  }
}

TEST_F(KxCalendar, KeysWithShiftCtrlOrAltAndPagesWithoutTheMonthElementDoNothing) {
  cal_->SetDate(D(2024, 6, 10));
  for (TShiftState shift : {TShiftState{ssShift}, TShiftState{ssCtrl}, TShiftState{ssAlt}}) {
    WORD key = VK_RIGHT;
    cal_->KeyDown(key, shift);
  }
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-10");
  cal_->SetElements(KxDefaultCalendarElements - TKxCalendarElements{ceMonth});
  cal_->Perform(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-10");
  TEventCounter clicks;
  cal_->OnClick = clicks.Event();
  cal_->Perform(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_EQ(cal_->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(KxCalendar, ClickingAFillDaySelectsItAndMovesTheViewToItsMonth) {
  cal_->SetDate(D(2024, 6, 10));
  TEventCounter clicks, changes;
  cal_->OnClick = clicks.Event();
  cal_->OnChange = changes.Event();
  // Cell 0 is Sunday 26 May.
  Press(cal_, Middle(Cell(cal_, 0)));
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-05-26");
  EXPECT_EQ(Ymd(cal_->GetViewDate()), "2024-06-10") << "the view moves on the release";
  Release(cal_, Middle(Cell(cal_, 0)));
  EXPECT_EQ(Ymd(cal_->GetViewDate()), "2024-05-26");
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_EQ(changes.Count, 1);

  // Dragging over the days selects the day under the mouse.
  cal_->SetDate(D(2024, 6, 10));
  Press(cal_, Middle(Cell(cal_, 7)));
  MoveTo(cal_, Middle(Cell(cal_, 9)));
  Release(cal_, Middle(Cell(cal_, 9)));
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-04");

  // Without fill days the empty cells take no click.
  cal_->SetElements(KxDefaultCalendarElements - TKxCalendarElements{ceFillDays});
  cal_->SetDate(D(2024, 6, 10));
  clicks.Count = 0;
  Click(cal_, Middle(Cell(cal_, 0)));
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-10");
  EXPECT_EQ(cal_->HitTest(Middle(Cell(cal_, 0)).x, Middle(Cell(cal_, 0)).y), 0);
  EXPECT_EQ(Ymd(cal_->HitTest(Middle(Cell(cal_, 6)).x, Middle(Cell(cal_, 6)).y)), "2024-06-01");
}

TEST_F(KxCalendar, TheButtonsSetTodayAndClearAndReleasingOffThemDoesNothing) {
  cal_->SetDate(D(2020, 1, 2) + 0.25);
  TEventCounter clicks;
  cal_->OnClick = clicks.Event();
  Click(cal_, Middle(cal_->GetAreaRect(caTodayButton)));
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-15");
  EXPECT_DOUBLE_EQ(cal_->GetDate() - D(2024, 6, 15), 0.25) << "the time part is kept";
  Click(cal_, Middle(cal_->GetAreaRect(caClearButton)));
  EXPECT_TRUE(cal_->IsClear());
  EXPECT_EQ(clicks.Count, 2);
  // A press on Today released over Clear presses nothing.
  cal_->SetDate(D(2020, 1, 2));
  Press(cal_, Middle(cal_->GetAreaRect(caTodayButton)));
  MoveTo(cal_, Middle(cal_->GetAreaRect(caClearButton)));
  Release(cal_, Middle(cal_->GetAreaRect(caClearButton)));
  EXPECT_EQ(Ymd(cal_->GetDate()), "2020-01-02");
  EXPECT_EQ(clicks.Count, 2);
}

TEST_F(KxCalendar, AcceleratorsComeFromTheCaptionPropertiesOnly) {
  cal_->SetDate(D(2020, 1, 2));
  // Alt+T and Alt+C mean nothing while the captions are the built-in ones.
  EXPECT_EQ(cal_->Perform(CM_DIALOGCHAR, 'T', 0), 0);
  EXPECT_EQ(cal_->Perform(CM_DIALOGCHAR, 'C', 0), 0);
  EXPECT_EQ(Ymd(cal_->GetDate()), "2020-01-02");
  cal_->SetCaptionTodayBtn("&Heute");
  cal_->SetCaptionClearBtn("&Leeren");
  EXPECT_EQ(cal_->Perform(CM_DIALOGCHAR, 'h', 0), 1);
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-15");
  EXPECT_EQ(cal_->Perform(CM_DIALOGCHAR, 'L', 0), 1);
  EXPECT_TRUE(cal_->IsClear());
  cal_->SetEnabled(false);
  EXPECT_EQ(cal_->Perform(CM_DIALOGCHAR, 'h', 0), 0);
}

TEST_F(KxCalendar, HoldingAnArrowStepsAtOnceThenEvery250msThenFaster) {
  kx_test::TFakeTimers timers;
  cal_->SetDate(D(2024, 1, 10));
  POINT arrow = Middle(cal_->GetAreaRect(caArrows));
  Press(cal_, arrow);
  auto month = [&] {
    WORD y, m, d;
    DecodeDate(cal_->GetViewDate(), y, m, d);
    return (y - 2024) * 12 + m;
  };
  EXPECT_EQ(month(), 2) << "the first step is immediate";
  ASSERT_TRUE(timers.Running(50));
  auto fire = [&](int n) {
    for (int i = 0; i < n; ++i) timers.Fire(50);
  };
  fire(4);
  EXPECT_EQ(month(), 2);
  fire(1);
  EXPECT_EQ(month(), 3) << "250 ms";
  fire(14);  // ticks 6..19: steps at 10 and 15
  EXPECT_EQ(month(), 5);
  fire(1);  // tick 20: from here every other tick
  EXPECT_EQ(month(), 6);
  fire(4);
  EXPECT_EQ(month(), 8);
  // Off the arrow the stepping pauses; the timer goes on.
  MoveTo(cal_, Middle(Cell(cal_, 20)));
  fire(4);
  EXPECT_EQ(month(), 8);
  EXPECT_TRUE(timers.Running(50));
  MoveTo(cal_, arrow);
  fire(2);
  EXPECT_EQ(month(), 9);
  fire(200);  // ticks 31..230: the even ones up to 198, then every tick from 200
  EXPECT_EQ(month(), 9 + 84 + 31);
  Release(cal_, arrow);
  EXPECT_FALSE(timers.Running(50));
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-01-10") << "the arrows move the view only";

  // The other arrow steps back.
  Press(cal_, Middle(cal_->GetAreaRect(caMonth)));
  Release(cal_, Middle(cal_->GetAreaRect(caMonth)));
  EXPECT_EQ(month(), 9 + 84 + 31 - 1);
}

TEST_F(KxCalendar, TheMonthListScrollsFasterTheFurtherTheMouseIsAndPicksAMonth) {
  kx_test::TFakeTimers timers;
  POINT cursor{0, 0};
  TSeamOverride<decltype(Seams().GetCursorPos)> pos(Seams().GetCursorPos, [&](POINT& p) {
    p = cursor;
    return TRUE;
  });
  cal_->SetDate(D(2024, 6, 10));
  POINT title = Middle(cal_->GetAreaRect(caYear));
  cursor = cal_->ClientToScreen(title);
  Press(cal_, title);
  TKxMonthList* list = cal_->GetMonthList();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list->GetHandle()));
  EXPECT_EQ(Ymd(list->GetCenterMonth()), "2024-06-10");
  EXPECT_EQ(list->GetHeight(), 7 * list->GetItemHeight() + 2);

  // The delay after a step, by the distance beyond the edge.
  RECT lr{};
  GetWindowRect(list->GetHandle(), &lr);
  struct TCase {
    int Beyond;  // pixels above (-) or below (+) the list
    int Delay;
    int Move;  // months
  };
  const TCase cases[] = {{-5, 5, -1},  {-15, 4, -1}, {-25, 3, -1}, {-35, 2, -1},
                         {-45, 1, -1}, {-55, 0, -1}, {-95, 0, -1}, {12, 4, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Beyond);
    cursor = POINT{lr.left + 5, c.Beyond < 0 ? lr.top + c.Beyond : lr.top + list->GetHeight() + c.Beyond};
    TDateTime before = list->GetCenterMonth();
    EXPECT_EQ(list->ScrollStep(), c.Delay);
    EXPECT_EQ(Ymd(list->GetCenterMonth()), Ymd(IncMonth(before, c.Move)));
  }
  // Inside, nothing scrolls.
  cursor = POINT{lr.left + 5, lr.top + 5};
  TDateTime centre = list->GetCenterMonth();
  list->ScrollStep();
  EXPECT_EQ(list->GetCenterMonth(), centre);

  // Through the timer: 5 px above, one month every 5 ticks.
  list->SetCenterMonth(D(2024, 6, 10));
  cursor = POINT{lr.left + 5, lr.top - 5};
  timers.Fire(50);
  EXPECT_EQ(Ymd(list->GetCenterMonth()), "2024-05-10");
  for (int i = 0; i < 4; ++i) timers.Fire(50);
  EXPECT_EQ(Ymd(list->GetCenterMonth()), "2024-05-10");
  timers.Fire(50);
  EXPECT_EQ(Ymd(list->GetCenterMonth()), "2024-04-10");

  // The row under the mouse is highlighted; releasing there shows it.
  POINT row = cal_->ScreenToClient(POINT{lr.left + 10, lr.top + 1 + 5 * list->GetItemHeight() + 2});
  MoveTo(cal_, row);
  EXPECT_EQ(Ymd(list->GetHighlightMonth()), "2024-06-10");
  Release(cal_, row);
  EXPECT_EQ(cal_->GetMonthList(), nullptr);
  EXPECT_FALSE(timers.Running(50));
  EXPECT_EQ(Ymd(cal_->GetViewDate()), "2024-06-10");
  EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-10");

  // Released outside the list, nothing changes.
  cal_->SetDate(D(2024, 6, 10));
  Press(cal_, title);
  list = cal_->GetMonthList();
  ASSERT_NE(list, nullptr);
  list->SetCenterMonth(D(2023, 1, 10));
  MoveTo(cal_, POINT{cal_->GetWidth() + 50, cal_->GetHeight() + 50});
  EXPECT_EQ(list->GetHighlightMonth(), 0);
  Release(cal_, POINT{cal_->GetWidth() + 50, cal_->GetHeight() + 50});
  EXPECT_EQ(Ymd(cal_->GetViewDate()), "2024-06-10");
}

// The pixels of the font colour in a day cell.
int Ink(TKxCalendar* cal, const TDib& dib, int index) { return CountColour(dib, Shown(clWindowText), Cell(cal, index)); }

TEST_F(KxCalendar, BoldDaysBelongToTheirOwnMonthAcrossTheYearsEnd) {
  TThemesOff themesOff;
  cal_->SetFirstDayOfWeek(fdowSunday);
  cal_->SetDate(D(2025, 1, 20));
  cal_->GetCalendarColors()->SetColor(1, clWindowText);  // fill days in the same ink
  // January 2025 begins on a Wednesday: cell 2 is 31 December, cell 33 is 31 January.
  ASSERT_EQ(Ymd(cal_->GetFirstCellDate()), "2024-12-29");
  TDib plain(cal_->GetWidth(), cal_->GetHeight(), kx_test::kPaper);
  PaintControl(cal_, plain);

  std::vector<std::pair<int, int>> asked;
  struct THandler {
    std::vector<std::pair<int, int>>* Asked;
    void Bold(TObject*, uint16_t year, uint16_t month, uint32_t& mask) {
      Asked->push_back({year, month});
      if (year == 2024 && month == 12) mask = DaysToBitmask({31});
      if (year == 2025 && month == 2) mask = DaysToBitmask({1, 40});
    }
  } handler{&asked};
  cal_->OnGetBoldDays = TKxGetBoldDaysEvent(&handler, &THandler::Bold);
  TDib bold(cal_->GetWidth(), cal_->GetHeight(), kx_test::kPaper);
  PaintControl(cal_, bold);

  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2025, 1}, {2024, 12}, {2025, 2}}));
  EXPECT_GT(Ink(cal_, bold, 2), Ink(cal_, plain, 2)) << "31 December is bold";
  EXPECT_EQ(Ink(cal_, bold, 33), Ink(cal_, plain, 33)) << "31 January is not";
  EXPECT_GT(Ink(cal_, bold, 34), Ink(cal_, plain, 34)) << "1 February is bold";
  EXPECT_EQ(Ink(cal_, bold, 3), Ink(cal_, plain, 3)) << "1 January is not";
}

TEST_F(KxCalendar, TheSelectedDayAndTodayShowInTheirColours) {
  TThemesOff themesOff;
  const TColor back = static_cast<TColor>(RGB(10, 120, 200));
  const TColor frame = static_cast<TColor>(RGB(250, 20, 30));
  cal_->GetCalendarColors()->SetColor(4, back);
  cal_->GetCalendarColors()->SetColor(6, frame);
  EXPECT_EQ(cal_->GetCalendarColors()->GetColor(7), clNone);
  cal_->SetDate(D(2024, 6, 10));  // cell 15; today (the 15th) is cell 20
  TDib dib(cal_->GetWidth(), cal_->GetHeight(), kx_test::kPaper);
  PaintControl(cal_, dib);
  TRect selected = Cell(cal_, 15);
  selected.right += 2;
  EXPECT_EQ(ColourBox(dib, Shown(back), TRect{0, 0, cal_->GetWidth(), cal_->GetHeight()}), selected);
  TRect today = Cell(cal_, 20);
  today.right += 2;
  EXPECT_EQ(ColourBox(dib, Shown(frame), TRect{0, 0, cal_->GetWidth(), cal_->GetHeight()}), today);
  // The frame is drawn with a clear brush: the day number shows inside it.
  TRect inside = today;
  InflateRect(&inside, -1, -1);
  EXPECT_GT(CountColour(dib, Shown(clWindowText), inside), 0);
}

TEST_F(KxCalendar, ItSizesItselfToItsFontAndEveryTextFitsItsPlace) {
  TThemesOff themesOff;
  struct TCase {
    const char* Font;
    int Height;
    TKxCalendarElements Elements;
  };
  const TCase cases[] = {
      {"MS Sans Serif", -11, KxDefaultCalendarElements},
      {"Tahoma", -16, KxDefaultCalendarElements + TKxCalendarElements{ceWeekNumbers}},
      {"Tahoma", -11, TKxCalendarElements{ceDaysOfWeek}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Font) + " " + std::to_string(c.Height));
    cal_->SetElements(c.Elements);
    cal_->GetFont()->SetName(c.Font);
    cal_->GetFont()->SetHeight(c.Height);
    SIZE natural = cal_->NaturalSize();
    EXPECT_EQ(cal_->GetWidth(), natural.cx);
    EXPECT_EQ(cal_->GetHeight(), natural.cy);
    cal_->SetDate(D(2024, 6, 10));
    TDib dib(cal_->GetWidth(), cal_->GetHeight(), kx_test::kPaper);
    PaintControl(cal_, dib);
    // Day numbers stay in their cells: no ink between the rows' cells...
    for (int i = 0; i < 42; ++i) {
      TRect cell = Cell(cal_, i);
      TRect gap{cell.right, cell.top, cell.right + 2, cell.bottom};
      if (i % 7 != 6 && i != 15) {
        EXPECT_EQ(CountColour(dib, Shown(clWindowText), gap), 0)
            << "cell " << i << " " << cal_->GetCellWidth() << " " << KxTextWidth(cal_->GetFont(), "30") << [&] {
                 std::string out = "\n";
                 for (int y = cell.top; y < cell.bottom; ++y) {
                   for (int x = cell.left; x < cell.right + 4; ++x)
                     out += x == cell.right ? '|' : (dib.Pixel(x, y) == 0 ? '#' : dib.Pixel(x, y) == 0xFFFFFF ? '.' : '?');
                   out += "\n";
                 }
                 return out;
               }();
      }
    }
    // ...and the buttons' captions in their buttons.
    for (TKxCalendarArea a : {caTodayButton, caClearButton}) {
      TRect b = cal_->GetAreaRect(a);
      if (IsRectEmpty(&b)) continue;
      TRect box = ColourBox(dib, Shown(clWindowText), TRect{b.left - 3, b.top - 3, b.right + 3, b.bottom + 3});
      EXPECT_TRUE(Inside(box, b)) << a;
    }
  }
  // Smaller than its natural size it does not go, even without AutoSize.
  cal_->SetAutoSize(false);
  SIZE natural = cal_->NaturalSize();
  cal_->SetBounds(cal_->GetLeft(), cal_->GetTop(), 40, 40);
  EXPECT_EQ(cal_->GetWidth(), natural.cx);
  cal_->SetBounds(cal_->GetLeft(), cal_->GetTop(), natural.cx + 30, natural.cy + 10);
  EXPECT_EQ(cal_->GetWidth(), natural.cx + 30);
}

// --- the ends of the date range: 1 January 0001 and 31 December 9999 ---------------------------------

// The first and the last day a TDateTime encodes.
TDateTime FirstDay() { return D(1, 1, 1); }
TDateTime LastDay() { return D(9999, 12, 31); }

TEST_F(KxCalendar, TheFirstAndTheLastMonthPaintTheirDaysAndNothingBeyondThem) {
  TThemesOff themesOff;
  const TColor days = static_cast<TColor>(RGB(0, 0, 160));
  const TColor fill = static_cast<TColor>(RGB(0, 140, 0));
  const TColor weeks = static_cast<TColor>(RGB(170, 0, 170));
  const TColor back = static_cast<TColor>(RGB(10, 120, 200));
  cal_->GetCalendarColors()->SetColor(0, days);
  cal_->GetCalendarColors()->SetColor(1, fill);
  cal_->GetCalendarColors()->SetColor(2, weeks);
  cal_->GetCalendarColors()->SetColor(4, back);
  std::vector<std::pair<int, int>> asked;
  struct THandler {
    std::vector<std::pair<int, int>>* Asked;
    void Bold(TObject*, uint16_t year, uint16_t month, uint32_t&) { Asked->push_back({year, month}); }
  } handler{&asked};
  cal_->OnGetBoldDays = TKxGetBoldDaysEvent(&handler, &THandler::Bold);
  struct TCase {
    TKxFirstDayOfWeek First;
    TDateTime Date;
    int FirstCell, LastCell;  // the cells that hold a day of the range
    int Selected;
    std::vector<std::pair<int, int>> Asked;
  };
  const TCase cases[] = {
      // 1 December 9999 is a Wednesday: cell 3; 31 December is cell 33.
      {fdowSunday, LastDay(), 0, 33, 33, {{9999, 12}, {9999, 11}}},
      {fdowSunday, D(9999, 12, 1), 0, 33, 3, {{9999, 12}, {9999, 11}}},
      // 1 January 0001 is a Monday: after a Sunday cell of the year 0, or
      // after a whole row of it when weeks begin on Monday.
      {fdowSunday, FirstDay(), 1, 41, 1, {{1, 1}, {1, 2}}},
      {fdowMonday, FirstDay(), 7, 41, 7, {{1, 1}, {1, 2}}},
  };
  for (TKxCalendarElements elements : {KxDefaultCalendarElements + TKxCalendarElements{ceWeekNumbers},
                                       KxDefaultCalendarElements - TKxCalendarElements{ceFillDays}}) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(Ymd(c.Date) + (elements.Contains(ceFillDays) ? " with fill days" : " without fill days") +
                   " first day " + std::to_string(c.First));
      cal_->SetElements(elements);
      cal_->SetFirstDayOfWeek(c.First);
      cal_->SetDate(c.Date);
      EXPECT_EQ(Ymd(cal_->GetDate()), Ymd(c.Date));
      asked.clear();
      TDib dib(cal_->GetWidth(), cal_->GetHeight(), kx_test::kPaper);
      EXPECT_NO_THROW(PaintControl(cal_, dib));
      if (elements.Contains(ceFillDays)) {
        EXPECT_EQ(asked, c.Asked);
      }
      // The selected day shows; no cell outside the range shows anything.
      TRect selected = Cell(cal_, c.Selected);
      selected.right += 2;
      EXPECT_EQ(ColourBox(dib, Shown(back), TRect{0, 0, cal_->GetWidth(), cal_->GetHeight()}), selected);
      for (int i = 0; i < 42; ++i) {
        SCOPED_TRACE("cell " + std::to_string(i));
        TRect cell = Cell(cal_, i);
        cell.right += 2;
        int ink = CountColour(dib, Shown(days), cell) + CountColour(dib, Shown(fill), cell);
        if (i < c.FirstCell || i > c.LastCell) {
          EXPECT_EQ(ink, 0);
        } else if (i != c.Selected) {
          WORD y, m, d, vy, vm;
          DecodeDate(cal_->GetFirstCellDate() + i, y, m, d);
          DecodeDate(c.Date, vy, vm, d);
          if (elements.Contains(ceFillDays) || (y == vy && m == vm)) {
            EXPECT_GT(ink, 0);
          }
        }
      }
      // A row's week number is its second day's: none for a row of days
      // outside the range.
      if (elements.Contains(ceWeekNumbers)) {
        TRect wn = cal_->GetAreaRect(caWeekNumbers);
        int h = cal_->GetCellHeight();
        for (int row = 0; row < 6; ++row) {
          SCOPED_TRACE("week row " + std::to_string(row));
          TRect cell{wn.left, wn.top + 1 + row * h, wn.right - 5, wn.top + 1 + (row + 1) * h};
          int second = 7 * row + 1;
          if (second < c.FirstCell || second > c.LastCell) EXPECT_EQ(CountColour(dib, Shown(weeks), cell), 0);
          else EXPECT_GT(CountColour(dib, Shown(weeks), cell), 0);
        }
      }
      // Nor can such a cell be picked.
      cal_->SetElements(KxDefaultCalendarElements);
      for (int i : {0, 41}) {
        if (i >= c.FirstCell && i <= c.LastCell) continue;
        POINT p = Middle(Cell(cal_, i));
        EXPECT_EQ(cal_->HitTest(p.x, p.y), 0);
        EXPECT_NO_THROW(Click(cal_, p));
        EXPECT_EQ(Ymd(cal_->GetDate()), Ymd(c.Date));
        EXPECT_EQ(Ymd(cal_->GetViewDate()), Ymd(c.Date));
      }
    }
  }
}

TEST_F(KxCalendar, AKeyThatWouldStepPastEitherEndLeavesTheDateAsItIs) {
  TEventCounter changes;
  cal_->OnChange = changes.Event();
  struct TCase {
    WORD Key;
    TDateTime From;
    TDateTime Expected;  // the same day as From: the date stays
  };
  const TCase cases[] = {
      {VK_RIGHT, LastDay(), LastDay()},
      {VK_DOWN, LastDay(), LastDay()},
      {VK_DOWN, D(9999, 12, 25), D(9999, 12, 25)},
      {VK_NEXT, LastDay(), LastDay()},
      {VK_NEXT, D(9999, 12, 1), D(9999, 12, 1)},
      {VK_LEFT, FirstDay(), FirstDay()},
      {VK_UP, FirstDay(), FirstDay()},
      {VK_UP, D(1, 1, 7), D(1, 1, 7)},
      {VK_PRIOR, FirstDay(), FirstDay()},
      {VK_PRIOR, D(1, 1, 31), D(1, 1, 31)},
      // Steps that reach the ends themselves are taken, time kept.
      {VK_RIGHT, D(9999, 12, 30), LastDay()},
      {VK_DOWN, D(9999, 12, 24), LastDay()},
      {VK_NEXT, D(9999, 11, 30), D(9999, 12, 30)},
      {VK_END, D(9999, 12, 5), LastDay()},
      {VK_LEFT, D(1, 1, 2), FirstDay()},
      {VK_UP, D(1, 1, 8), FirstDay()},
      {VK_PRIOR, D(1, 2, 28), D(1, 1, 28)},
      {VK_HOME, D(1, 1, 20), FirstDay()},
      // Across 30 December 1899 (day 0), where a time of day counts
      // forward from midnight on both sides: a week is still seven days.
      {VK_UP, D(1900, 1, 2), D(1899, 12, 26)},
      {VK_DOWN, D(1899, 12, 26), D(1900, 1, 2)},
  };
  for (bool withTime : {false, true}) {
    for (const TCase& c : cases) {
      TDateTime from = withTime ? IncHour(c.From, 12) : c.From;
      SCOPED_TRACE(std::to_string(c.Key) + " from " + Ymd(from) + (withTime ? " noon" : ""));
      cal_->SetDate(from);
      int before = changes.Count;
      EXPECT_NO_THROW(cal_->Perform(WM_KEYDOWN, c.Key, 0));
      EXPECT_EQ(Ymd(cal_->GetDate()), Ymd(c.Expected));
      EXPECT_EQ(Ymd(cal_->GetViewDate()), Ymd(c.Expected));
      EXPECT_EQ(cal_->GetDate(), withTime ? IncHour(c.Expected, 12) : c.Expected) << "the time is kept";
      EXPECT_EQ(changes.Count, before + (c.Expected != c.From ? 1 : 0));
    }
  }
}

TEST_F(KxCalendar, ADateOutsideTheRangeIsRefusedWithNothingChanged) {
  cal_->SetDate(D(2024, 6, 10));
  TEventCounter changes;
  cal_->OnChange = changes.Event();
  for (TDateTime bad : {LastDay() + 1, FirstDay() - 1, 1e12}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(cal_->SetDate(bad), EConvertError);
    EXPECT_THROW(cal_->SetViewDate(bad), EConvertError);
    EXPECT_EQ(Ymd(cal_->GetDate()), "2024-06-10");
    EXPECT_EQ(Ymd(cal_->GetViewDate()), "2024-06-10");
    EXPECT_EQ(Ymd(cal_->GetFirstCellDate()), "2024-05-26");
  }
  EXPECT_EQ(changes.Count, 0);
}

TEST_F(KxCalendar, TheMonthArrowsStopAtTheFirstAndTheLastMonth) {
  kx_test::TFakeTimers timers;
  struct TCase {
    TDateTime Date;
    TKxCalendarArea Arrow;
    const char* Shown;  // the view after the first step and after ten more ticks
  };
  const TCase cases[] = {
      {D(9999, 12, 10), caArrows, "9999-12-10"},
      {D(9999, 11, 10), caArrows, "9999-12-10"},
      {D(1, 1, 10), caMonth, "0001-01-10"},
      {D(1, 2, 10), caMonth, "0001-01-10"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Ymd(c.Date));
    cal_->SetDate(c.Date);
    POINT arrow = Middle(cal_->GetAreaRect(c.Arrow));
    EXPECT_NO_THROW(Press(cal_, arrow));
    EXPECT_EQ(Ymd(cal_->GetViewDate()), c.Shown);
    for (int i = 0; i < 10; ++i) EXPECT_NO_THROW(timers.Fire(50));
    EXPECT_EQ(Ymd(cal_->GetViewDate()), c.Shown);
    TDib dib(cal_->GetWidth(), cal_->GetHeight(), kx_test::kPaper);
    EXPECT_NO_THROW(PaintControl(cal_, dib));
    Release(cal_, arrow);
    EXPECT_EQ(Ymd(cal_->GetDate()), Ymd(c.Date));
  }
}

TEST_F(KxCalendar, TheMonthListShowsAndOffersOnlyTheMonthsOfTheRange) {
  TThemesOff themesOff;
  kx_test::TFakeTimers timers;
  POINT cursor{0, 0};
  TSeamOverride<decltype(Seams().GetCursorPos)> pos(Seams().GetCursorPos, [&](POINT& p) {
    p = cursor;
    return TRUE;
  });
  struct TCase {
    TDateTime Date;
    int FirstRow, LastRow;  // the rows that hold a month of the range
    int Scroll;             // towards the end: the cursor above (-1) or below (1)
    const char* LastCentre;
  };
  // The list takes the calendar's colour: one that no text is drawn in.
  cal_->SetColor(static_cast<TColor>(RGB(230, 230, 180)));
  const TCase cases[] = {
      {D(9999, 11, 15), 0, 4, 1, "9999-12-15"},
      {D(9999, 12, 31), 0, 3, 1, "9999-12-31"},
      {D(1, 2, 15), 2, 6, -1, "0001-01-15"},
      {D(1, 1, 1), 3, 6, -1, "0001-01-01"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(Ymd(c.Date));
    cal_->SetDate(c.Date);
    POINT title = Middle(cal_->GetAreaRect(caYear));
    cursor = cal_->ClientToScreen(title);
    EXPECT_NO_THROW(Press(cal_, title));
    TKxMonthList* list = cal_->GetMonthList();
    ASSERT_NE(list, nullptr);
    TDib dib(list->GetWidth(), list->GetHeight(), kx_test::kPaper);
    EXPECT_NO_THROW(PaintControl(list, dib));
    RECT client = list->GetClientRect();
    int h = list->GetItemHeight();
    for (int row = 0; row < 7; ++row) {
      SCOPED_TRACE("row " + std::to_string(row));
      TRect r{client.left, client.top + row * h, client.right, client.top + (row + 1) * h};
      int ink = CountColour(dib, Shown(clWindowText), r) + CountColour(dib, Shown(clHighlightText), r);
      POINT middle = list->ClientToScreen(Middle(r));
      EXPECT_NO_THROW(MoveTo(cal_, cal_->ScreenToClient(middle)));
      if (row < c.FirstRow || row > c.LastRow) {
        EXPECT_EQ(ink, 0);
        EXPECT_EQ(list->GetHighlightMonth(), 0) << "cannot be picked";
      } else {
        EXPECT_GT(ink, 0);
        EXPECT_NE(list->GetHighlightMonth(), 0);
      }
    }
    // Released over a row beyond the range: the view stays.
    RECT lr{};
    GetWindowRect(list->GetHandle(), &lr);
    int beyond = c.Scroll > 0 ? 6 : 0;
    POINT off = cal_->ScreenToClient(POINT{lr.left + 10, lr.top + 1 + beyond * h + h / 2});
    MoveTo(cal_, off);
    EXPECT_EQ(list->GetHighlightMonth(), 0);

    // Scrolling towards the end stops at the last (first) month.
    cursor = POINT{lr.left + 5, c.Scroll > 0 ? lr.bottom + 60 : lr.top - 60};
    for (int i = 0; i < 5; ++i) EXPECT_NO_THROW(timers.Fire(50));
    EXPECT_EQ(Ymd(list->GetCenterMonth()), c.LastCentre);
    EXPECT_NO_THROW(PaintControl(list, dib));
    cursor = cal_->ClientToScreen(off);
    Release(cal_, off);
    EXPECT_EQ(cal_->GetMonthList(), nullptr);
    EXPECT_EQ(Ymd(cal_->GetViewDate()), Ymd(c.Date));
  }
}

TEST(KxCalendarStored, AStoredFormKeepsColoursElementsAndTheFirstDay) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* cal = New<TKxCalendar>(form.get());
  cal->SetParent(form.get());
  cal->SetName("Cal");
  cal->GetCalendarColors()->SetColor(0, clRed);
  cal->SetElements(TKxCalendarElements{ceMonth, ceWeekNumbers});
  cal->SetFirstDayOfWeek(fdowTuesday);
  cal->SetCaptionTodayBtn("Now");
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("CalendarColors.Days = clRed"), std::string::npos) << text;
  EXPECT_EQ(text.find("CalendarColors.FillDays"), std::string::npos) << text;
  EXPECT_NE(text.find("Elements = [ceMonth, ceWeekNumbers]"), std::string::npos) << text;
  EXPECT_NE(text.find("FirstDayOfWeek = fdowTuesday"), std::string::npos) << text;
  EXPECT_EQ(text.find("BorderOuter"), std::string::npos) << "fsLowered is the default";
  EXPECT_EQ(text.find("TabStop"), std::string::npos) << "on by default";
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TKxCalendar*>(copy->FindComponent("Cal"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetCalendarColors()->GetColor(0), clRed);
  EXPECT_EQ(read->GetElements(), (TKxCalendarElements{ceMonth, ceWeekNumbers}));
  EXPECT_EQ(read->GetFirstDayOfWeek(), fdowTuesday);
  EXPECT_EQ(read->GetCaptionTodayBtn(), "Now");
}

}  // namespace
