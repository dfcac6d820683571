// Push buttons, check boxes, radio buttons, speed buttons and the bit-button
// kinds.
#include "ControlTestSupport.h"

#include "classlib/Buttons.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

using namespace controls_test;

namespace {

struct TClickLog : TObject {
  std::vector<TObject*> clicks;
  void Click(TObject* sender) { clicks.push_back(sender); }
};

// A form (not shown) with three buttons: OK (Default), Cancel (Cancel) and
// Other.
class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    form = New<TForm>(nullptr, 0);
    form->SetBounds(0, 0, 300, 200);
    ok = AddButton("OK", 10, mrOk);
    ok->SetDefault(true);
    cancel = AddButton("Cancel", 90, mrCancel);
    cancel->SetCancel(true);
    other = AddButton("&Other", 170, mrNone);
    // The buttons' windows exist, as on a form that was shown.
    for (TButton* b : {ok, cancel, other}) b->HandleNeeded();
  }
  void TearDown() override { form->Free(); }

  TButton* AddButton(const char* caption, int left, TModalResult result) {
    auto* b = New<TButton>(form);
    b->SetParent(form);
    b->SetLeft(left);
    b->SetCaption(caption);
    b->SetModalResult(result);
    b->OnClick = TNotifyEvent(&log, &TClickLog::Click);
    return b;
  }
  // What the parent's WM_COMMAND hands the button when it is pressed.
  void Press(TButtonControl* b) {
    HWND h = b->GetHandle();
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h));
  }
  LONG_PTR ButtonType(TButton* b) { return GetWindowLongPtrA(b->GetHandle(), GWL_STYLE) & 0xF; }

  TClickLog log;
  TForm* form = nullptr;
  TButton* ok = nullptr;
  TButton* cancel = nullptr;
  TButton* other = nullptr;
};

TEST_F(ButtonTest, PressGivesTheFormTheButtonsModalResult) {
  for (TButton* b : {cancel, ok, other}) {
    SCOPED_TRACE(b->GetCaption());
    form->SetModalResult(mrYesToAll);
    log.clicks.clear();
    Press(b);
    ASSERT_EQ(log.clicks.size(), 1u);
    EXPECT_EQ(log.clicks[0], b);
    EXPECT_EQ(form->GetModalResult(), b->GetModalResult());
  }
}

TEST_F(ButtonTest, WithoutAFormThePressOnlyClicks) {
  THostWindow host;
  Owned<TPanel> panel(New<TPanel>(nullptr));
  panel->SetParentWindow(host.Handle());
  auto* b = New<TButton>(panel.get());
  b->SetParent(panel.get());
  b->SetModalResult(mrOk);
  b->OnClick = TNotifyEvent(&log, &TClickLog::Click);
  Press(b);
  EXPECT_EQ(log.clicks.size(), 1u);
}

TEST_F(ButtonTest, EnterClicksTheActiveDefaultAndEscapeTheCancelButton) {
  struct Case {
    WORD key;
    TButton* expected;
  };
  const Case cases[] = {{VK_RETURN, ok}, {VK_ESCAPE, cancel}, {VK_SPACE, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    log.clicks.clear();
    form->SetModalResult(mrNone);
    LRESULT r = form->Perform(CM_DIALOGKEY, c.key, 0);
    if (c.expected) {
      EXPECT_EQ(r, 1);
      ASSERT_EQ(log.clicks.size(), 1u);
      EXPECT_EQ(log.clicks[0], c.expected);
      EXPECT_EQ(form->GetModalResult(), c.expected->GetModalResult());
    } else {
      EXPECT_EQ(r, 0);
      EXPECT_TRUE(log.clicks.empty());
    }
  }
}

TEST_F(ButtonTest, FocusOnAnotherButtonTakesTheDefaultRole) {
  EXPECT_EQ(ButtonType(ok), BS_DEFPUSHBUTTON);
  EXPECT_TRUE(ok->GetActive());
  // Another button has the focus: it is the one Enter presses now.
  form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(other));
  EXPECT_FALSE(ok->GetActive());
  EXPECT_TRUE(other->GetActive());
  EXPECT_EQ(ButtonType(ok), BS_PUSHBUTTON);
  EXPECT_EQ(ButtonType(other), BS_DEFPUSHBUTTON);
  form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  ASSERT_EQ(log.clicks.size(), 1u);
  EXPECT_EQ(log.clicks[0], other);
  // A control that is no button gives the role back to the default.
  auto* list = New<TListBox>(form);
  list->SetParent(form);
  form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(list));
  EXPECT_TRUE(ok->GetActive());
  EXPECT_FALSE(other->GetActive());
  EXPECT_EQ(ButtonType(ok), BS_DEFPUSHBUTTON);
  EXPECT_EQ(ButtonType(other), BS_PUSHBUTTON);
}

TEST_F(ButtonTest, AcceleratorClicksThroughDialogChar) {
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'o', 0), 1);
  ASSERT_EQ(log.clicks.size(), 1u);
  EXPECT_EQ(log.clicks[0], other);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_EQ(log.clicks.size(), 1u);
}

TEST_F(ButtonTest, CheckBoxCyclesItsStatesOnEachPress) {
  auto* box = New<TCheckBox>(form);
  box->SetParent(form);
  box->OnClick = TNotifyEvent(&log, &TClickLog::Click);
  struct Case {
    bool allowGrayed;
    std::vector<TCheckBoxState> states;
  };
  const Case cases[] = {{false, {cbChecked, cbUnchecked, cbChecked}},
                        {true, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.allowGrayed);
    box->SetAllowGrayed(c.allowGrayed);
    box->SetState(cbUnchecked);
    log.clicks.clear();
    for (TCheckBoxState expected : c.states) {
      Press(box);
      EXPECT_EQ(box->GetState(), expected);
      EXPECT_EQ(SendMessageA(box->GetHandle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(expected));
    }
    EXPECT_EQ(log.clicks.size(), c.states.size());
  }
}

TEST_F(ButtonTest, CheckingARadioButtonUnchecksItsSiblings) {
  std::vector<TRadioButton*> radios;
  for (int i = 0; i < 3; ++i) {
    auto* r = New<TRadioButton>(form);
    r->SetParent(form);
    r->OnClick = TNotifyEvent(&log, &TClickLog::Click);
    radios.push_back(r);
  }
  radios[0]->SetChecked(true);
  log.clicks.clear();
  Press(radios[2]);
  EXPECT_FALSE(radios[0]->GetChecked());
  EXPECT_FALSE(radios[1]->GetChecked());
  EXPECT_TRUE(radios[2]->GetChecked());
  EXPECT_EQ(SendMessageA(radios[0]->GetHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(radios[2]->GetTabStop());
  EXPECT_FALSE(radios[0]->GetTabStop());
  ASSERT_EQ(log.clicks.size(), 1u);
  EXPECT_EQ(log.clicks[0], radios[2]);
}

TEST(BitBtnKindTest, CaptionsAndModalResultsOfTheKinds) {
  struct Case {
    TBitBtnKind kind;
    const char* caption;
    TModalResult result;
  };
  const Case cases[] = {{bkCustom, "", mrNone},     {bkOK, "OK", mrOk},           {bkCancel, "Cancel", mrCancel},
                        {bkHelp, "&Help", mrNone},  {bkYes, "&Yes", mrYes},       {bkNo, "&No", mrNo},
                        {bkClose, "&Close", mrNone}, {bkAbort, "Abort", mrAbort}, {bkRetry, "&Retry", mrRetry},
                        {bkIgnore, "&Ignore", mrIgnore}, {bkAll, "&All", mrAll}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(BitBtnCaption(c.kind), c.caption);
    EXPECT_EQ(BitBtnModalResult(c.kind), c.result);
  }
  EXPECT_EQ(mrYesToAll, 10);
}

class SpeedButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    panel = New<TPanel>(nullptr);
    panel->SetBounds(0, 0, 200, 50);
    panel->SetParentWindow(host.Handle());
    for (int i = 0; i < 3; ++i) {
      auto* b = New<TSpeedButton>(panel);
      b->SetParent(panel);
      b->SetLeft(10 + 30 * i);
      b->SetTop(10);
      b->SetGroupIndex(1);
      b->OnClick = TNotifyEvent(&log, &TClickLog::Click);
      buttons.push_back(b);
    }
  }
  void TearDown() override { panel->Free(); }
  // A left click in the middle of the button, through the panel's window.
  void ClickOn(TSpeedButton* b) {
    LPARAM at = MAKELPARAM(b->GetLeft() + 5, b->GetTop() + 5);
    SendMessageA(panel->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(panel->GetHandle(), WM_LBUTTONUP, 0, at);
  }
  std::vector<bool> Downs() {
    std::vector<bool> v;
    for (auto* b : buttons) v.push_back(b->GetDown());
    return v;
  }
  THostWindow host;
  TPanel* panel = nullptr;
  std::vector<TSpeedButton*> buttons;
  TClickLog log;
};

TEST_F(SpeedButtonTest, OneButtonOfAGroupIsDown) {
  buttons[0]->SetDown(true);
  EXPECT_EQ(Downs(), (std::vector<bool>{true, false, false}));
  buttons[2]->SetDown(true);
  EXPECT_EQ(Downs(), (std::vector<bool>{false, false, true}));
  // Without AllowAllUp the down button stays down.
  buttons[2]->SetDown(false);
  EXPECT_EQ(Downs(), (std::vector<bool>{false, false, true}));
  // AllowAllUp spreads to the group; then it may go up.
  buttons[1]->SetAllowAllUp(true);
  EXPECT_TRUE(buttons[2]->GetAllowAllUp());
  buttons[2]->SetDown(false);
  EXPECT_EQ(Downs(), (std::vector<bool>{false, false, false}));
  // Outside a group a button never stays down.
  buttons[0]->SetGroupIndex(0);
  buttons[0]->SetDown(true);
  EXPECT_FALSE(buttons[0]->GetDown());
}

TEST_F(SpeedButtonTest, ClickPutsAGroupButtonDownAndClicks) {
  ClickOn(buttons[1]);
  EXPECT_EQ(Downs(), (std::vector<bool>{false, true, false}));
  ClickOn(buttons[0]);
  EXPECT_EQ(Downs(), (std::vector<bool>{true, false, false}));
  ASSERT_EQ(log.clicks.size(), 2u);
  EXPECT_EQ(log.clicks[0], buttons[1]);
  EXPECT_EQ(log.clicks[1], buttons[0]);
  // A release outside the button neither toggles nor clicks.
  LPARAM inside = MAKELPARAM(buttons[2]->GetLeft() + 5, 15);
  LPARAM outside = MAKELPARAM(190, 45);
  SendMessageA(panel->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
  SendMessageA(panel->GetHandle(), WM_LBUTTONUP, 0, outside);
  EXPECT_EQ(Downs(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(log.clicks.size(), 2u);
}

// A down group button's face is the shared checker of clBtnFace and
// clBtnHighlight, highlight where x + y is even, as the menus' checked
// glyphs are.
TEST_F(SpeedButtonTest, ADownGroupButtonIsFilledWithTheSharedChecker) {
  TBitmap* checker = AllocPatternBitmap(clBtnFace, clBtnHighlight);
  EXPECT_EQ(AllocPatternBitmap(clBtnFace, clBtnHighlight), checker);
  EXPECT_NE(AllocPatternBitmap(clBtnHighlight, clBtnFace), checker);
  const auto face = static_cast<COLORREF>(ColorToRGB(clBtnFace));
  const auto highlight = static_cast<COLORREF>(ColorToRGB(clBtnHighlight));
  EXPECT_EQ(checker->GetCanvas()->GetPixels(0, 0), static_cast<TColor>(highlight));
  EXPECT_EQ(checker->GetCanvas()->GetPixels(1, 0), static_cast<TColor>(face));

  TSpeedButton* b = buttons[0];
  b->SetDown(true);
  TDib dib(b->GetWidth(), b->GetHeight(), RGB(1, 2, 3));
  b->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  ExpectPixels(dib, {{6, 6, highlight}, {7, 6, face}, {7, 7, highlight}, {8, 9, face}});
}

TEST_F(SpeedButtonTest, GlyphStripSetsNumGlyphs) {
  struct Case {
    int width, height, expected;
  };
  const Case cases[] = {{48, 16, 3}, {96, 16, 1}, {16, 16, 1}, {64, 16, 4}, {30, 16, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    buttons[0]->SetNumGlyphs(1);
    Owned<TBitmap> glyph(New<TBitmap>());
    glyph->SetSize(c.width, c.height);
    buttons[0]->SetGlyph(glyph.get());
    EXPECT_EQ(buttons[0]->GetNumGlyphs(), c.expected);
  }
}

}  // namespace
