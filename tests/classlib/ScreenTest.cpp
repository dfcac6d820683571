// TScreen: cursors, fonts, metrics and monitors.
#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"

namespace {

TEST(ScreenTest, StockCursorsAreTheSystemOnesAndOthersCanBeInstalled) {
  struct TCase {
    TCursor cursor;
    int id;
  };
  const TCase cases[] = {{crArrow, 32512}, {crIBeam, 32513}, {crHourGlass, 32514}, {crCross, 32515},
                         {crHandPoint, 32649}, {crSizeAll, 32646}, {crNo, 32648}, {crDefault, 32512}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.cursor);
    EXPECT_EQ(Screen->GetCursors(c.cursor), LoadCursorA(nullptr, MAKEINTRESOURCEA(c.id)));
  }
  EXPECT_EQ(Screen->GetCursors(crNone), nullptr);
  // An unknown value gives the default cursor until one is installed.
  const int own = 26000;
  EXPECT_EQ(Screen->GetCursors(own), Screen->GetCursors(crDefault));
  HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
  Screen->SetCursors(own, hand);
  EXPECT_EQ(Screen->GetCursors(own), hand);
  Screen->SetCursors(own, nullptr);
  EXPECT_EQ(Screen->GetCursors(own), Screen->GetCursors(crDefault));
}

TEST(ScreenTest, FontsAreSortedOnceEach) {
  TStrings* fonts = Screen->GetFonts();
  ASSERT_GT(fonts->GetCount(), 0);
  EXPECT_GE(fonts->IndexOf("MS Sans Serif"), 0);
  for (int i = 1; i < fonts->GetCount(); ++i)
    EXPECT_LT(AnsiCompareText(fonts->Get(i - 1), fonts->Get(i)), 0) << fonts->Get(i);
}

TEST(ScreenTest, MetricsAndMonitors) {
  EXPECT_EQ(Screen->GetWidth(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(Screen->GetHeight(), GetSystemMetrics(SM_CYSCREEN));
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(Screen->GetPixelsPerInch(), GetDeviceCaps(dc, LOGPIXELSY));
  ReleaseDC(nullptr, dc);
  ASSERT_GE(Screen->GetMonitorCount(), 1);
  TMonitor* primary = Screen->MonitorFromPoint(POINT{0, 0});
  ASSERT_NE(primary, nullptr);
  EXPECT_TRUE(primary->GetPrimary());
  EXPECT_EQ(primary->GetWidth(), Screen->GetWidth());
  TRect work = Screen->GetWorkAreaRect();
  EXPECT_LE(work.right - work.left, Screen->GetWidth());
  EXPECT_EQ(Screen->MonitorFromPoint(POINT{-5000, -5000}, mdNull), nullptr);
  EXPECT_EQ(Screen->MonitorFromPoint(POINT{-5000, -5000}, mdNearest), primary);
  EXPECT_NE(Screen->GetHintFont()->GetHandle(), nullptr);
}

}  // namespace
