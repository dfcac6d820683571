// The date/time edit: text typed with the real keyboard read as it is
// typed and written again in its format when the focus leaves, digit runs
// too long for a number, stepping keys, the calendar and the clock dropped
// with the real mouse, its change event and its stored form.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "kx/controls/KxEdit.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"

using namespace kxc_test;
using namespace kxp_test;

namespace {

// The value as the tests write it: "yyyy-mm-dd", "hh:nn" or "0".
std::string Shown(TKxDateTimeEdit* edit) {
  TDateTime v = edit->GetValue();
  if (v == 0 && edit->GetEditType() == etDate) return "0";
  return edit->GetEditType() == etDate ? Ymd(v) : FormatDateTime("hh:nn", v);
}

// A character typed on the real keyboard, with Shift where the layout
// needs it.
void TypeChar(char c) {
  SHORT scan = VkKeyScanA(c);
  bool shift = (scan >> 8) & 1;
  if (shift) TShownForm::Key(VK_SHIFT, true);
  TShownForm::Type(LOBYTE(scan));
  if (shift) TShownForm::Key(VK_SHIFT, false);
}
void TypeText(const std::string& text) {
  for (char c : text) TypeChar(c);
}

void RightButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  SendInput(1, &in, sizeof in);
}

// The control of class T showing in the edit's pop-up, while it shows.
template <class T>
T* Dropped(TKxDateTimeEdit* edit) {
  TKxPopupPanel* panel = edit->GetDropPanel();
  TKxPopup* popup = panel ? panel->GetPopup() : nullptr;
  if (!popup) return nullptr;
  for (TControl* control : popup->Controls())
    if (auto* c = dynamic_cast<T*>(control)) return c;
  return nullptr;
}

// The middle of the calendar's cell for day, in screen coordinates.
POINT DayOnScreen(TKxCalendar* calendar, TDateTime day) {
  TRect days = calendar->GetAreaRect(caDays);
  TRect cell{days.right, days.bottom, days.left, days.top};
  for (int y = days.top; y < days.bottom; ++y)
    for (int x = days.left; x < days.right; ++x)
      if (calendar->HitTest(x, y) == day) {
        cell.left = std::min<LONG>(cell.left, x);
        cell.top = std::min<LONG>(cell.top, y);
        cell.right = std::max<LONG>(cell.right, x);
        cell.bottom = std::max<LONG>(cell.bottom, y);
      }
  EXPECT_LT(cell.left, cell.right) << "the day is not shown";
  return calendar->ClientToScreen(POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

class SerialKxDateTimeEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    forms_test::MoveMouseTo(POINT{0, 0});
    edit = form.Add<TKxDateTimeEdit>(10, 10, 160, 24);
    next = form.Add<TEdit>(10, 200, 100, 22);
    form.Show();
    Application->OnException = TExceptionEvent(this, &SerialKxDateTimeEdit::Reported);
    Focus();
    windows = ThreadWindows();
  }
  void Reported(TObject*, Exception& e) { reports.push_back(e.GetMessage()); }
  void Focus() {
    edit->SetFocus();
    forms_test::PumpApplication(3);
  }
  // Focus leaves with Tab, as a user leaves.
  void Leave() {
    TShownForm::Type(VK_TAB);
    EXPECT_FALSE(edit->Focused());
  }
  // A press of the real mouse on the drop-down button, the pop-up's loop
  // driven by steps; the release after it.
  void DropWith(std::vector<std::function<void()>> steps) {
    size_t count = steps.size();
    TPopupScript script(nullptr, std::move(steps));
    TRect b = edit->ButtonRect();
    RECT w;
    GetWindowRect(edit->GetHandle(), &w);
    forms_test::MoveMouseTo(POINT{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2});
    forms_test::PumpApplication(3);
    TShownForm::Button(true);
    EXPECT_FALSE(script.Stuck()) << "the pop-up did not end by the steps";
    EXPECT_EQ(script.StepsRun(), count);
    TShownForm::Button(false);
    EXPECT_EQ(edit->GetDropPanel(), nullptr);
    EXPECT_EQ(ThreadWindows(), windows) << "a window was left behind";
  }

  TPinnedFormats formats;
  TPinnedToday today{2024, 6, 15, 10, 0};
  TShownForm form{320, 240};
  TKxDateTimeEdit* edit = nullptr;
  TEdit* next = nullptr;
  std::vector<std::string> reports;
  int windows = 0;
};

struct TTypedCase {
  TKxDTEditType Type;
  const char* Keys;
  const char* Typed;   // the text as it shows while typing
  const char* Value;   // as Shown writes it, before the focus leaves
  const char* Result;  // the text once the focus has left
};

TEST_F(SerialKxDateTimeEdit, TypedTextIsReadAsItIsTypedAndWrittenInItsFormatOnLeaving) {
  const TTypedCase cases[] = {
      {etDate, "12/25/2003", "12/25/2003", "2003-12-25", "12/25/2003"},
      {etDate, "25/12/2003", "25/12/2003", "2003-12-25", "12/25/2003"},
      {etDate, "jan 3", "jan 3", "2024-01-03", "1/3/2024"},
      {etDate, "311299", "311299", "1999-12-31", "12/31/1999"},
      {etDate, "7/4", "7/4", "2024-07-04", "7/4/2024"},
      // No valid date: the value is empty and so is the text afterwards.
      {etDate, "2/30/2003", "2/30/2003", "0", ""},
      // A year beyond 16 bits does not wrap into year 4464.
      {etDate, "1/1/70000", "1/1/70000", "0", ""},
      {etTime, "1230p", "1230p", "12:30", "12:30 PM"},
      {etTime, "7:5", "7:5", "07:05", "7:05 AM"},
      {etTime, "25:00", "25:00", "01:00", "1:00 AM"},
      // Midnight typed is a time, shown as one.
      {etTime, "12a", "12a", "00:00", "12:00 AM"},
      // Letters other than A, M and P are refused in a time.
      {etTime, "9x15p", "915p", "21:15", "9:15 PM"},
  };
  for (const TTypedCase& c : cases) {
    SCOPED_TRACE(c.Keys);
    edit->SetEditType(c.Type);
    edit->Clear();
    Focus();
    TypeText(c.Keys);
    EXPECT_EQ(edit->GetText(), c.Typed);
    EXPECT_EQ(Shown(edit), c.Value);
    Leave();
    EXPECT_EQ(edit->GetText(), c.Result);
    EXPECT_EQ(Shown(edit), c.Value) << "leaving changes no value";
  }
  EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(SerialKxDateTimeEdit, ADigitRunTooLongForANumberRaisesNothingAndKeepsTheValue) {
  // Nine nines are hour 999999999, 15 o'clock; the tenth and eleventh make
  // a run beyond 32 bits, which leaves the time as it was.
  edit->SetEditType(etTime);
  Focus();
  TypeText("999999999");
  EXPECT_EQ(Shown(edit), "15:00");
  TypeText("99");
  EXPECT_EQ(edit->GetText(), "99999999999");
  EXPECT_EQ(Shown(edit), "15:00");
  Leave();
  EXPECT_EQ(edit->GetText(), "3:00 PM");

  edit->SetEditType(etDate);
  edit->Clear();
  Focus();
  TypeText("1/1/99999999999");
  EXPECT_EQ(Shown(edit), "0");
  Leave();
  EXPECT_EQ(edit->GetText(), "");
  EXPECT_TRUE(reports.empty()) << "the conversion error escaped: " << reports.front();
}

struct TStepCase {
  TKxDTEditType Type;
  const char* Start;  // "yyyy-mm-dd" or "hh:nn"; "" for an empty edit
  const char* Key;
  const char* Result;
};

void PressStepKey(const std::string& key) {
  bool shift = key.rfind("Shift+", 0) == 0;
  std::string k = shift ? key.substr(6) : key;
  if (shift) TShownForm::Key(VK_SHIFT, true);
  if (k == "PgUp")
    TShownForm::Type(VK_PRIOR);
  else if (k == "PgDn")
    TShownForm::Type(VK_NEXT);
  else if (k == "Up")
    TShownForm::Type(VK_UP);
  else if (k == "Down")
    TShownForm::Type(VK_DOWN);
  else
    TypeChar(k[0]);
  if (shift) TShownForm::Key(VK_SHIFT, false);
}

TEST_F(SerialKxDateTimeEdit, KeysStepTheDateOrTheTime) {
  const TStepCase cases[] = {
      {etDate, "2024-01-31", "PgUp", "2/29/2024"},
      {etDate, "2024-01-31", "Shift+PgUp", "1/31/2025"},
      {etDate, "2024-01-31", "PgDn", "12/31/2023"},
      {etDate, "2024-01-31", "Shift+PgDn", "1/31/2023"},
      {etDate, "2024-01-31", "Up", "2/1/2024"},
      {etDate, "2024-01-31", "Down", "1/30/2024"},
      {etDate, "2024-01-31", "+", "2/1/2024"},
      {etDate, "2024-01-31", "=", "2/1/2024"},
      {etDate, "2024-01-31", "-", "1/30/2024"},
      {etDate, "2024-01-31", "_", "1/30/2024"},
      // An empty date steps from today.
      {etDate, "", "PgUp", "7/15/2024"},
      {etDate, "", "Down", "6/14/2024"},
      // The last day there is stays.
      {etDate, "9999-12-31", "Up", "12/31/9999"},
      {etTime, "09:15", "PgUp", "10:15 AM"},
      {etTime, "09:15", "PgDn", "8:15 AM"},
      {etTime, "09:15", "Up", "9:16 AM"},
      {etTime, "09:15", "Down", "9:14 AM"},
      {etTime, "09:15", "+", "10:15 AM"},
      {etTime, "09:15", "-", "8:15 AM"},
      // Round midnight the time of day wraps, and midnight shows.
      {etTime, "00:30", "PgDn", "11:30 PM"},
      {etTime, "23:59", "Up", "12:00 AM"},
      // An empty time steps from now (10:00).
      {etTime, "", "Up", "10:01 AM"},
  };
  for (const TStepCase& c : cases) {
    SCOPED_TRACE(std::string(c.Start) + " " + c.Key);
    edit->SetEditType(c.Type);
    edit->Clear();
    std::string start = c.Start;
    if (c.Type == etDate && !start.empty())
      edit->SetDate(
          EncodeDate(std::stoi(start.substr(0, 4)), std::stoi(start.substr(5, 2)), std::stoi(start.substr(8, 2))));
    if (c.Type == etTime && !start.empty())
      edit->SetTime(EncodeTime(std::stoi(start.substr(0, 2)), std::stoi(start.substr(3, 2)), 0, 0));
    Focus();
    PressStepKey(c.Key);
    EXPECT_EQ(edit->GetText(), c.Result);
  }
  EXPECT_TRUE(reports.empty()) << reports.front();

  // A read-only edit is not stepped.
  edit->SetEditType(etDate);
  edit->SetDate(EncodeDate(2024, 1, 31));
  edit->SetReadOnly(true);
  Focus();
  PressStepKey("Up");
  PressStepKey("+");
  EXPECT_EQ(edit->GetText(), "1/31/2024");
}

TEST_F(SerialKxDateTimeEdit, TheDateSeparatorIsTypedAndTheOtherKeyStillSteps) {
  FormatSettings.ShortDateFormat = "M-d-yyyy";
  FormatSettings.DateSeparator = '-';
  Focus();
  TypeText("7-4");
  EXPECT_EQ(edit->GetText(), "7-4");
  EXPECT_EQ(Shown(edit), "2024-07-04");
  TypeChar('_');
  EXPECT_EQ(edit->GetText(), "7-3-2024");
}

TEST_F(SerialKxDateTimeEdit, TheCalendarDropsFromTheButtonAndTheDayClickedIsTaken) {
  edit->SetDate(EncodeDate(2024, 6, 10));
  next->SetFocus();
  forms_test::PumpApplication(3);
  TEventCounter enters, exits;
  edit->SetOnEnter(enters.Event());
  edit->SetOnExit(exits.Event());

  // Escape: nothing taken.
  TKxCalendar* shown = nullptr;
  DropWith({[&] { shown = Dropped<TKxCalendar>(edit); }, [] { forms_test::LeftButton(false); },
            [] { forms_test::TypeKey(VK_ESCAPE); }});
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(edit->GetText(), "6/10/2024");
  EXPECT_TRUE(edit->Focused()) << "the button gave the edit the focus";

  // A click on the 20th takes it.
  TRect calendarRect{};
  DropWith({[&] {
              shown = Dropped<TKxCalendar>(edit);
              if (!shown) return;
              EXPECT_EQ(Ymd(shown->GetDate()), "2024-06-10") << "the calendar opens on the value";
              GetWindowRect(shown->GetHandle(), &calendarRect);
            },
            [] { forms_test::LeftButton(false); },
            [&] {
              if (shown) forms_test::MoveMouseTo(DayOnScreen(shown, EncodeDate(2024, 6, 20)));
            },
            [] { forms_test::LeftButton(true); }, [] { forms_test::LeftButton(false); }});
  EXPECT_EQ(edit->GetText(), "6/20/2024");
  EXPECT_EQ(Shown(edit), "2024-06-20");
  RECT editRect;
  GetWindowRect(edit->GetHandle(), &editRect);
  EXPECT_GE(calendarRect.top, editRect.bottom) << "under the edit";
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(enters.Count, 1) << "the drop-down is no entering";
  EXPECT_EQ(exits.Count, 0) << "the drop-down is no leaving";
  Leave();
  EXPECT_EQ(exits.Count, 1) << "the handlers are back";
  EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(SerialKxDateTimeEdit, TheClockDropsForATimeAndTheTimeSetIsTaken) {
  edit->SetEditType(etTime);
  edit->SetShowHowToUseHint(false);
  TKxTimePicker* picker = nullptr;
  auto clockPoint = [&](int dx, int dy) {
    picker->CalcRects();
    POINT c = picker->GetClockCenter();
    int r = picker->GetClockRadius();
    return picker->ClientToScreen(POINT{c.x + dx * r / 2, c.y + dy * r / 2});
  };
  DropWith(
      {[&] { picker = Dropped<TKxTimePicker>(edit); }, [] { forms_test::LeftButton(false); },
       // The left button sets the hour (3 o'clock), the right one the
       // minute (half past), Set takes the time.
       [&] {
         if (picker) forms_test::MoveMouseTo(clockPoint(1, 0));
       },
       [] { forms_test::LeftButton(true); }, [] { forms_test::LeftButton(false); },
       [&] {
         if (picker) forms_test::MoveMouseTo(clockPoint(0, 1));
       },
       [] { RightButton(true); }, [] { RightButton(false); },
       [&] {
         if (!picker) return;
         EXPECT_EQ(Hms(picker->GetTime()), "03:30:00.000");
         TRect set = picker->GetSetRect();
         forms_test::MoveMouseTo(picker->ClientToScreen(POINT{(set.left + set.right) / 2, (set.top + set.bottom) / 2}));
       },
       [] { forms_test::LeftButton(true); }, [] { forms_test::LeftButton(false); }});
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(edit->GetText(), "3:30 AM");
  EXPECT_EQ(Shown(edit), "03:30");

  // Midnight chosen shows as a time.
  edit->Clear();
  DropWith({[] { forms_test::LeftButton(false); }, [] { forms_test::TypeKey(VK_RETURN); }});
  EXPECT_EQ(edit->GetText(), "12:00 AM");
  EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST(KxDateTimeEdit, TheValueChangeIsReportedOncePerDayOrTimeOfDay) {
  TPinnedFormats formats;
  Owned<TKxDateTimeEdit> edit(New<TKxDateTimeEdit>(nullptr));
  std::vector<std::string> seen;
  struct TLog {
    std::vector<std::string>* Seen;
    void Changed(TObject*, TDateTime v) { Seen->push_back(FormatDateTime("yyyy-mm-dd hh:nn", v)); }
  } log{&seen};
  edit->OnDateTimeChange = TKxDateTimeChangeEvent(&log, &TLog::Changed);
  edit->SetDate(EncodeDate(2024, 6, 10) + 0.25);
  edit->SetDate(EncodeDate(2024, 6, 10) + 0.75);  // the same day
  edit->SetDate(EncodeDate(2024, 6, 11) + 0.75);
  EXPECT_EQ(edit->GetText(), "6/11/2024");
  edit->SetTime(EncodeDate(2024, 6, 11) + 0.5);
  edit->SetTime(EncodeDate(2024, 6, 12) + 0.5);  // the same time of day
  EXPECT_EQ(seen, (std::vector<std::string>{"2024-06-10 06:00", "2024-06-11 18:00", "2024-06-11 12:00"}));

  // Midnight set as a time shows; Clear empties the text.
  edit->SetTime(0);
  EXPECT_EQ(edit->GetText(), "12:00 AM");
  edit->Clear();
  EXPECT_EQ(edit->GetText(), "");
  EXPECT_EQ(edit->GetValue(), 0);
}

TEST(KxDateTimeEdit, AStoredEditKeepsItsTypeValueFormatAndColours) {
  TPinnedFormats formats;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* e = New<TKxDateTimeEdit>(form.get());
  e->SetParent(form.get());
  e->SetName("When");
  EXPECT_TRUE(e->GetDropButtonVisible());
  e->SetTime(EncodeTime(14, 45, 0, 0));
  e->SetFormat("hh:nn");
  e->GetClockFaceColors()->SetColor(1, clRed);
  e->SetCalendarElements(KxDefaultCalendarElements + TKxCalendarElements{ceWeekNumbers});
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("EditType = etTime"), std::string::npos) << text;
  EXPECT_EQ(text.find("Date ="), std::string::npos) << "a time edit stores no date\n" << text;
  EXPECT_EQ(text.find("Text ="), std::string::npos) << "the text is made from the value\n" << text;
  EXPECT_EQ(text.find("DropButtonVisible"), std::string::npos) << text;

  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TKxDateTimeEdit*>(copy->FindComponent("When"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetEditType(), etTime);
  EXPECT_EQ(Hms(read->GetTime()), "14:45:00.000");
  EXPECT_EQ(read->GetText(), "14:45");
  EXPECT_EQ(read->GetClockFaceColors()->GetColor(1), clRed);
  EXPECT_TRUE(read->GetCalendarElements().Contains(ceWeekNumbers));
}

}  // namespace
