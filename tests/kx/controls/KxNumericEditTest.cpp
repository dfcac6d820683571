// The numeric and the expanding edit: the key filter with its beeps, the
// text read as a number (brackets, thousands, a second separator), the
// range kept on leaving, a blank value, the stored value, and the width
// given while in use, with the real keyboard and mouse where a user types
// and clicks.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "kx/controls/KxEdit.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"

using namespace kxc_test;

namespace {

class KxNumericEditTest : public ::testing::Test {
 protected:
  KxNumericEditTest() {
    edit = host.Add<TKxNumericEdit>(10, 10, 120, 21);
    edit->HandleNeeded();
  }
  void Type(const std::string& chars) {
    for (char c : chars) SendMessageA(edit->GetHandle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  kxp_test::TPinnedFormats formats;
  TControlHost host;
  TKxNumericEdit* edit = nullptr;
};

TEST_F(KxNumericEditTest, StartsAsARightAlignedZeroWithItsDisplayFormat) {
  EXPECT_EQ(edit->GetText(), "0");
  EXPECT_EQ(edit->GetAlignment(), taRightJustify);
  EXPECT_EQ(edit->GetDisplayFormat(), ",0;(,0)");
  EXPECT_TRUE(edit->GetIntegersOnly());
  Owned<TKxNumericEdit> fresh(New<TKxNumericEdit>(nullptr));
  EXPECT_EQ(fresh->GetWidth(), 65);
  EXPECT_EQ(fresh->GetHeight(), 21);
}

// Each character typed where the text and its selection stand: taken, or
// refused with one beep and the text kept.
TEST_F(KxNumericEditTest, TheKeyFilterTakesOneSignFirstAndOneSeparator) {
  struct TCase {
    const char* Name;
    const char* Text;
    int SelStart, SelLength;
    bool IntegersOnly;
    char Key;
    bool Taken;
    const char* After;
  };
  const TCase cases[] = {
      {"a letter", "12", 2, 0, true, 'a', false, "12"},
      {"a digit", "12", 2, 0, true, '3', true, "123"},
      {"a separator with IntegersOnly", "12", 2, 0, true, '.', false, "12"},
      {"a separator without", "12", 2, 0, false, '.', true, "12."},
      {"a second separator", "1.2", 3, 0, false, '.', false, "1.2"},
      {"a separator over the selected one", "1.2", 1, 1, false, '.', true, "1.2"},
      {"a separator over another selection", "1.2", 0, 1, false, '.', false, "1.2"},
      {"a digit before the sign", "-5", 0, 0, true, '3', false, "-5"},
      {"a digit after the sign", "-5", 1, 0, true, '3', true, "-35"},
      {"a sign first", "5", 0, 0, true, '-', true, "-5"},
      {"a sign after a digit", "5", 1, 0, true, '-', false, "5"},
      {"a second sign", "-5", 0, 0, true, '+', false, "-5"},
      {"a sign over the whole text", "-5", 0, 2, true, '+', true, "+"},
      {"a sign over the selected sign", "-5", 0, 1, true, '+', true, "+5"},
      {"Enter", "5", 1, 0, true, '\r', false, "5"},
      {"Backspace", "56", 2, 0, true, '\b', true, "5"},
      {"a thousands separator", "5", 1, 0, true, ',', false, "5"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    edit->SetIntegersOnly(c.IntegersOnly);
    edit->SetText(c.Text);
    edit->SetSelStart(c.SelStart);
    edit->SetSelLength(c.SelLength);
    EXPECT_EQ(edit->IsValidChar(c.Key), c.Taken);
    TBeepCounter beeps;
    Type(std::string(1, c.Key));
    EXPECT_EQ(beeps.Count, c.Taken ? 0 : 1);
    EXPECT_EQ(edit->GetText(), c.After);
  }
}

TEST_F(KxNumericEditTest, TheTextIsReadAsANumberWhateverTheFormatAddedToIt) {
  struct TCase {
    const char* Text;
    double Value;
    int Beeps;
  };
  const TCase cases[] = {
      {"(1,234)", -1234, 0},   {"1,234", 1234, 0},    {"-1,234.5", -1234.5, 0}, {"1.2.3", 0, 1},
      {"", 0, 0},              {"abc", 0, 0},         {"12-", -12, 0},          {"+7", 7, 0},
      {"$ 1,000,000", 1e6, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    edit->SetText(c.Text);
    TBeepCounter beeps;
    EXPECT_DOUBLE_EQ(edit->EvaluateText(), c.Value);
    EXPECT_EQ(beeps.Count, c.Beeps);
  }
  // A run of digits too long for a double is no number either.
  edit->SetText(std::string(400, '9'));
  TBeepCounter beeps;
  EXPECT_EQ(edit->EvaluateText(), 0);
  EXPECT_EQ(beeps.Count, 1);
}

TEST_F(KxNumericEditTest, TheSeparatorsAreTheFormatSettings) {
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  edit->SetText("(1.234,5)");
  EXPECT_DOUBLE_EQ(edit->EvaluateText(), -1234.5);
  edit->SetIntegersOnly(false);
  edit->SetText("1,5");
  edit->SetSelStart(3);
  TBeepCounter beeps;
  Type(",");
  EXPECT_EQ(beeps.Count, 1) << "the decimal separator is ',' now, and there is one";
  EXPECT_EQ(edit->GetText(), "1,5");
}

TEST_F(KxNumericEditTest, LeavingKeepsTheValueInItsRangeAndShowsItFormatted) {
  struct TCase {
    const char* Name;
    double Min, Max;
    bool CheckRange;
    const char* Typed;
    const char* Shown;
  };
  const TCase cases[] = {
      {"above Max", 0, 10, false, "15", "10"},
      {"below Min", 5, 10, false, "-3", "5"},
      {"within", 0, 10000, false, "1234", "1,234"},
      {"Min = Max: no limit", 0, 0, false, "15", "15"},
      {"Min = Max with CheckRange", 0, 0, true, "15", "0"},
      {"negative in brackets", -100, 100, false, "-7", "(7)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    edit->SetMin(c.Min);
    edit->SetMax(c.Max);
    edit->SetCheckRange(c.CheckRange);
    edit->Perform(CM_ENTER, 0, 0);
    edit->SetText(c.Typed);
    edit->Perform(CM_EXIT, 0, 0);
    EXPECT_EQ(edit->GetText(), c.Shown);
  }
  // Min above Max raises Max; Max below Min lowers Min.
  edit->SetMin(0);
  edit->SetMax(10);
  edit->SetMin(20);
  EXPECT_EQ(edit->GetMax(), 20);
  edit->SetMax(-5);
  EXPECT_EQ(edit->GetMin(), -5);
}

TEST_F(KxNumericEditTest, ABlankEditStaysBlankOnlyWithAllowBlank) {
  edit->SetMin(3);
  edit->SetMax(9);
  edit->SetBlankValue(42);
  edit->SetAllowBlank(true);
  edit->Perform(CM_ENTER, 0, 0);
  edit->SetText("");
  edit->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(edit->GetText(), "");
  EXPECT_EQ(edit->GetValue(), 42);

  edit->SetAllowBlank(false);
  EXPECT_EQ(edit->GetValue(), 3) << "an empty text reads Min";
  EXPECT_EQ(edit->GetText(), "3") << "and shows it";
}

TEST_F(KxNumericEditTest, ValueSetsTheTextAndIntValueRoundsWithinAnInteger) {
  TEventCounter changes;
  edit->OnChange = changes.Event();
  edit->SetValue(1234567);
  EXPECT_EQ(edit->GetText(), "1,234,567");
  EXPECT_EQ(changes.Count, 1);
  edit->SetValue(1234567);
  EXPECT_EQ(changes.Count, 1) << "the same value writes nothing";

  edit->SetIntegersOnly(false);
  edit->SetDisplayFormat("0.00");
  EXPECT_EQ(edit->GetText(), "1234567.00") << "a new format shows the value again";
  struct TCase {
    double Value;
    int IntValue;
  };
  // Halves go to the even neighbour; beyond an Integer the nearer end.
  for (TCase c : {TCase{2.5, 2}, TCase{3.5, 4}, TCase{-2.5, -2}, TCase{1e12, INT_MAX}, TCase{-1e12, INT_MIN}}) {
    SCOPED_TRACE(c.Value);
    edit->SetValue(c.Value);
    EXPECT_EQ(edit->GetIntValue(), c.IntValue);
  }
  edit->SetValue(2.5);
  edit->SetIntegersOnly(true);
  EXPECT_EQ(edit->GetText(), "2.00") << "IntegersOnly rounds the value";
}

class TNumericRoot : public TPanel {
  DECLARE_CLASS(TNumericRoot, TPanel)
  using TPanel::TPanel;
  TKxNumericEdit* Number = nullptr;
};
PUBLISHED(TNumericRoot) { p.Field("Number", &TNumericRoot::Number); }

TEST_F(KxNumericEditTest, TheStoredFormKeepsTheValueNotTheText) {
  if (!GetClass("TNumericRoot")) RegisterClass(TNumericRoot::StaticClass());
  Owned<TNumericRoot> root(New<TNumericRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Panel());
  auto* n = New<TKxNumericEdit>(root.get());
  n->SetName("Number");
  n->SetParent(root.get());
  n->SetMax(5000);
  n->SetValue(-1234);
  std::string text = WriteForm(root.get());
  for (const char* line : {"Value = -1234", "Max = 5000", "DisplayFormat = ',0;(,0)'"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  for (const char* name : {"Text", "Alignment", "Min =", "IntegersOnly", "AllowBlank"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << "\n" << text;

  Owned<TNumericRoot> copy(New<TNumericRoot>(nullptr));
  copy->SetParent(host.Panel());
  ReadForm(text, copy.get());
  ASSERT_NE(copy->Number, nullptr);
  EXPECT_EQ(copy->Number->GetText(), "(1,234)");
  EXPECT_EQ(copy->Number->GetValue(), -1234);
  EXPECT_EQ(copy->Number->GetAlignment(), taRightJustify);
}

// --- the user's path: the real keyboard and mouse ------------------------------------------

class SerialKxNumericEdit : public ::testing::Test {
 protected:
  SerialKxNumericEdit() {
    number = shown.Add<TKxNumericEdit>(10, 10, 100, 21);
    other = shown.Add<TKxEdit>(10, 60, 100, 21);
    number->SetMin(0);
    number->SetMax(100);
    shown.Show();
  }
  kxp_test::TPinnedFormats formats;
  TShownForm shown;
  TKxNumericEdit* number = nullptr;
  TKxEdit* other = nullptr;
};

TEST_F(SerialKxNumericEdit, TypedDigitsThenALetterBeepOnceAndLeavingClampsTheValue) {
  number->SetFocus();
  forms_test::PumpApplication(3);
  ASSERT_TRUE(number->Focused());
  TBeepCounter beeps;
  for (WORD vk : {WORD('1'), WORD('2'), WORD('A')}) TShownForm::Type(vk);
  EXPECT_EQ(number->GetText(), "12");
  EXPECT_EQ(beeps.Count, 1) << "the letter, once";
  for (WORD vk : {WORD('3'), WORD('4')}) TShownForm::Type(vk);
  TShownForm::Type(VK_TAB);
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(number->GetText(), "100") << "1234 above Max";
  EXPECT_EQ(number->GetValue(), 100);
  EXPECT_TRUE(number->GetValueChanged());
}

// Presses and releases the real right button where the cursor is.
void RightClick() {
  INPUT in[2]{};
  in[0].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  in[1] = in[0];
  in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, in, sizeof(INPUT));
  forms_test::PumpApplication(3);
}

TEST(SerialKxExpandEdit, TheFocusOrTheRightButtonWidensItUntilItIsLeft) {
  TShownForm shown;
  auto* expand = shown.Add<TKxExpandEdit>(10, 10, 60, 21);
  auto* other = shown.Add<TKxEdit>(10, 60, 60, 21);
  expand->SetExpandedWidth(200);
  expand->SetText("hello");
  shown.Show();

  struct TCase {
    TExpandOnType On;
    int WidthFocused;
  };
  // etFocus widens on entering; etMouseButton2Click and etNone do not.
  for (TCase c : {TCase{etFocus, 200}, TCase{etMouseButton2Click, 60}, TCase{etNone, 60}}) {
    SCOPED_TRACE(static_cast<int>(c.On));
    expand->SetExpandOn(c.On);
    other->SetFocus();
    forms_test::PumpApplication(3);
    TShownForm::Type(VK_TAB);  // into the expanding edit
    ASSERT_TRUE(expand->Focused());
    EXPECT_EQ(expand->GetWidth(), c.WidthFocused);
    if (c.On == etFocus) {
      EXPECT_EQ(expand->GetSelLength(), 5) << "the text selected";
    }
    TShownForm::Type(VK_TAB);
    EXPECT_EQ(expand->GetWidth(), 60) << "the width is given back on leaving";
  }

  // The right button toggles the width and takes the focus.
  expand->SetExpandOn(etMouseButton2Click);
  other->SetFocus();
  forms_test::PumpApplication(3);
  TShownForm::MoveTo(expand, POINT{10, 10});
  RightClick();
  EXPECT_EQ(expand->GetWidth(), 200);
  EXPECT_TRUE(expand->Focused());
  EXPECT_TRUE(expand->GetExpanded());
  RightClick();
  EXPECT_EQ(expand->GetWidth(), 60);
  RightClick();
  EXPECT_EQ(expand->GetWidth(), 200);
  other->SetFocus();
  forms_test::PumpApplication(3);
  EXPECT_EQ(expand->GetWidth(), 60);
  EXPECT_FALSE(expand->GetExpanded());
}

}  // namespace
