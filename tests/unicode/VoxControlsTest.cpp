// The wide caption and hint of any control, kept in step with its ANSI text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "classlib/ActnList.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "unicode/VoxControls.h"

namespace {

// U+4E2D U+6587 ("Chinese"), which code page 1252 cannot hold: its ANSI
// form is "??".
const std::wstring kChinese = L"\u4E2D\u6587";
// "Grüße": held by code page 1252.
const std::wstring kGreeting = L"Gr\u00FC\u00DFe";

TEST(VoxSyncedStrings, TheWideValueCountsWhileItsAnsiFormIsTheAnsiValue) {
  struct Case {
    std::wstring wide;
    std::string ansi;
    std::wstring expected;
  } cases[] = {
      {kChinese, "??", kChinese},         // still the same text
      {kChinese, "abc", L"abc"},          // ANSI code changed it since
      {kGreeting, "Gr\xFC\xDF" "e", kGreeting},
      {L"", "x", L"x"},
      {L"x", "", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    std::wstring wide = c.wide;
    EXPECT_EQ(GetSyncedWideString(wide, c.ansi), c.expected);
    EXPECT_EQ(wide, c.expected) << "the wide side follows";
  }
}

TEST(VoxSyncedStrings, SettingWritesTheAnsiSideOnlyForAChange) {
  struct Case {
    std::wstring wide, value;
    std::string ansi;
    std::vector<std::string> written;
  } cases[] = {
      {kChinese, kChinese, "??", {}},            // the same value: nothing
      {L"", L"abc", "", {"abc"}},
      {L"??", kChinese, "??", {"", "??"}},      // same ANSI form: "" first, so a change shows
      {L"xy", kChinese, "xy", {"??"}},
      {kChinese, L"??", "??", {"??"}},          // survives the round trip: no empty step
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ansi);
    std::wstring wide = c.wide;
    std::vector<std::string> written;
    SetSyncedWideString(c.value, wide, c.ansi, [&](const std::string& s) { written.push_back(s); });
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(wide, c.value);
  }
}

class VoxControlTextTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (panel) panel->Free();
  }
  TPanel* panel = New<TPanel>(nullptr);
};

TEST_F(VoxControlTextTest, AWindowlessControlKeepsItsWideCaptionUntilAnsiCodeChangesIt) {
  auto* label = New<TLabel>(panel);
  label->SetParent(panel);
  VoxControl_SetText(label, kChinese);
  EXPECT_EQ(VoxControl_GetText(label), kChinese);
  EXPECT_EQ(label->GetCaption(), "??") << "ANSI readers see its ANSI form";

  label->SetCaption("plain");
  EXPECT_EQ(VoxControl_GetText(label), L"plain") << "the ANSI assignment wins";
  label->SetCaption("??");
  EXPECT_EQ(VoxControl_GetText(label), L"??") << "and the old wide text does not come back";
}

TEST_F(VoxControlTextTest, AWindowControlWithoutAWindowKeepsItsWideText) {
  auto* edit = New<TEdit>(panel);  // no parent window: no window is made
  VoxControl_SetText(edit, kChinese);
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_EQ(VoxControl_GetText(edit), kChinese);
  EXPECT_EQ(edit->GetText(), "??");

  edit->SetText("later");
  EXPECT_EQ(VoxControl_GetText(edit), L"later");
  // A holder made for the hint alone does not blank the caption.
  auto* other = New<TEdit>(panel);
  other->SetText("kept");
  VoxControl_SetHint(other, kChinese);
  EXPECT_EQ(VoxControl_GetText(other), L"kept");
}

TEST_F(VoxControlTextTest, HintsAreWideAndComeFromTheNearestParentThatHasOne) {
  auto* label = New<TLabel>(panel);
  label->SetParent(panel);
  VoxControl_SetHint(panel, kChinese + L"|" + kGreeting);
  EXPECT_EQ(panel->GetHint(), "??|Gr\xFC\xDF" "e");
  EXPECT_EQ(VoxControl_GetHint(label), L"");
  EXPECT_EQ(WideGetHint(label), kChinese + L"|" + kGreeting);
  EXPECT_EQ(WideGetShortHint(WideGetHint(label)), kChinese);
  EXPECT_EQ(WideGetLongHint(WideGetHint(label)), kGreeting);
  EXPECT_EQ(WideGetShortHint(L"no bar"), L"no bar");
  EXPECT_EQ(WideGetLongHint(L"no bar"), L"no bar");
  EXPECT_EQ(WideGetLongHint(L"a|b|c"), L"b|c");

  panel->SetHint("changed");
  EXPECT_EQ(VoxControl_GetHint(panel), L"changed");
  EXPECT_EQ(WideGetHint(nullptr), L"");
}

TEST_F(VoxControlTextTest, CaptionAndHintAreNotStoredWhileAnActionSuppliesThem) {
  auto* action = New<TAction>(panel);
  action->SetCaption("From the action");
  action->SetHint("Action hint");
  auto* button = New<TButton>(panel);
  EXPECT_TRUE(VoxControl_IsCaptionStored(button));
  EXPECT_TRUE(VoxControl_IsHintStored(button));
  button->SetAction(action);
  EXPECT_FALSE(VoxControl_IsCaptionStored(button));
  EXPECT_FALSE(VoxControl_IsHintStored(button));
  button->SetAction(nullptr);
  EXPECT_TRUE(VoxControl_IsCaptionStored(button));
}

TEST_F(VoxControlTextTest, TheAnsiRouteStoresTheAnsiForm) {
  TAnsiRoute ansi;
  auto* label = New<TLabel>(panel);
  VoxControl_SetText(label, kChinese);
  EXPECT_EQ(label->GetCaption(), "??");
  EXPECT_EQ(VoxControl_GetText(label), L"??");
  VoxControl_SetHint(label, kChinese);
  EXPECT_EQ(VoxControl_GetHint(label), L"??");
}

TEST_F(VoxControlTextTest, AHolderGoesWithItsControl) {
  auto* label = New<TLabel>(panel);
  VoxControl_SetText(label, kChinese);
  label->Free();
  // A new control at the same address must not find the old text.
  auto* next = New<TLabel>(panel);
  next->SetCaption("??");
  EXPECT_EQ(VoxControl_GetText(next), L"??");
}

}  // namespace
