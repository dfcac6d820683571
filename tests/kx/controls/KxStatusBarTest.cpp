// Status bar: the size grip (when a form allows it, its hit test, the drag
// it starts, its squares), simple status, pane scaling, the classic client
// rectangle, the automatic style and the stored form.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/StdCtrls.h"
#include "kx/controls/KxPanel.h"
#include "kx/foundation/KxStatus.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// A form (not shown) holding a status bar at the bottom.
struct TBarForm {
  explicit TBarForm(TFormBorderStyle style = bsSizeable) {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(style);
    form->SetBounds(50, 50, 300, 200);
    bar = New<TKxStatusBar>(form.get());
    bar->SetParent(form.get());
  }
  Owned<TForm> form;
  TKxStatusBar* bar;
};

// Catches what the form's window procedure is sent, and keeps it from the
// form (a real SC_SIZE would start the system's sizing loop).
struct TSysCommandTrap {
  explicit TSysCommandTrap(TForm* form) : form_(form), saved_(form->GetWindowProc()) {
    form->SetWindowProc(TWndMethod(this, &TSysCommandTrap::Proc));
  }
  ~TSysCommandTrap() { form_->SetWindowProc(saved_); }
  void Proc(TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) {
      commands.push_back(m.WParam);
      return;
    }
    saved_(m);
  }
  std::vector<WPARAM> commands;

 private:
  TForm* form_;
  TWndMethod saved_;
};

}  // namespace

TEST(KxStatusBar, AGripIsAllowedOnlyOnASizeableFormThatIsNotMaximised) {
  const struct {
    TFormBorderStyle style;
    bool maximised;
    bool allowed;
  } cases[] = {{bsSizeable, false, true}, {bsSizeToolWin, false, true}, {bsDialog, false, false},
               {bsSingle, false, false},  {bsSizeable, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << (c.maximised ? " maximised" : ""));
    TBarForm f(c.style);
    if (c.maximised) f.form->SetWindowState(wsMaximized);
    f.bar->HandleNeeded();
    f.bar->ValidateSizeGrip();
    EXPECT_EQ(f.bar->GetSizeGripAllowed(), c.allowed);
  }
  TControlHost host;
  auto* orphan = host.Add<TKxStatusBar>(0, 0, 100, 19);
  orphan->ValidateSizeGrip();
  EXPECT_FALSE(orphan->GetSizeGripAllowed()) << "no form";
}

TEST(KxStatusBar, AClickInTheGripSizesTheFormFromItsCornerAndNowhereElse) {
  for (TFormBorderStyle style : {bsSizeable, bsDialog}) {
    SCOPED_TRACE(style);
    TBarForm f(style);
    f.bar->HandleNeeded();
    TSysCommandTrap trap(f.form.get());
    int w = f.bar->GetWidth();
    EXPECT_EQ(f.bar->SizeGripRect(), (TRect{w - 13, 0, w, f.bar->GetHeight()}));
    f.bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 5, 10));
    f.bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(w - 5, 10));
    f.bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 20, 10));
    f.bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(w - 20, 10));
    if (style == bsSizeable) {
      ASSERT_EQ(trap.commands.size(), 1u);
      EXPECT_EQ(trap.commands[0], WPARAM{0xF008});
    } else {
      EXPECT_TRUE(trap.commands.empty());
    }
  }
}

TEST(KxStatusBar, TheCursorOverTheGripIsTheDiagonalSizer) {
  TBarForm f;
  f.bar->HandleNeeded();
  f.bar->ValidateSizeGrip();
  POINT at{};
  TSeamOverride<decltype(Seams().GetCursorPos)> cursor(Seams().GetCursorPos, [&](POINT& p) {
    p = at;
    return TRUE;
  });
  at = f.bar->ClientToScreen(POINT{f.bar->GetWidth() - 4, 8});
  SetCursor(nullptr);
  f.bar->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(f.bar->GetHandle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), CursorHandleOf(crSizeNWSE));
  at = f.bar->ClientToScreen(POINT{10, 8});
  SetCursor(nullptr);
  f.bar->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(f.bar->GetHandle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), CursorHandleOf(crSizeNWSE));
}

TEST(KxStatusBar, TheClassicGripIsSixLightAndSixDarkSquares) {
  TThemesOff off;
  TBarForm f;
  f.bar->SetColor(clYellow);
  f.bar->HandleNeeded();
  int w = f.bar->GetWidth(), h = f.bar->GetHeight();
  TDib dib(w, h, RGB(1, 2, 3));
  PaintControl(f.bar, dib);
  // The client rectangle reaches one pixel below the bar: R = w + 1, B = h.
  int R = w + 1, B = h;
  // Each 2 x 2 light square shows three pixels past its shadow twin.
  EXPECT_EQ(dib.Pixel(R - 4, B - 3), Shown(clBtnHighlight));
  EXPECT_EQ(dib.Pixel(R - 5, B - 4), Shown(clBtnShadow));
  EXPECT_EQ(dib.Pixel(R - 6, B - 5), Shown(clBtnShadow));
  EXPECT_EQ(dib.Pixel(R - 12, B - 3), Shown(clBtnHighlight));
  EXPECT_EQ(CountColour(dib, Shown(clBtnShadow), TRect{w - 16, 0, w, h}), 6 * 4);
  EXPECT_EQ(CountColour(dib, Shown(clBtnHighlight), TRect{w - 16, 0, w, h}), 6 * 3);
  f.bar->SetShowSizeGrip(false);
  TDib none(w, h, RGB(1, 2, 3));
  PaintControl(f.bar, none);
  EXPECT_EQ(CountColour(none, Shown(clBtnShadow), TRect{w - 16, 0, w, h}), 0);
}

TEST(KxStatusBar, WithoutTheVisualStyleTheClientAreaReachesPastTheBottom) {
  TBarForm f;
  f.bar->HandleNeeded();
  int w = f.bar->GetWidth(), h = f.bar->GetHeight();
  {
    TThemesOff off;
    EXPECT_EQ(TRect(f.bar->GetClientRect()), (TRect{-1, 1, w + 1, h + 1}));
    f.bar->SetSimpleStatus(true);
    EXPECT_EQ(TRect(f.bar->GetClientRect()), (TRect{-1, 2, w + 1, h + 1}));
  }
  EXPECT_EQ(TRect(f.bar->GetClientRect()), (TRect{1, 1, w - 1, h})) << "themed, simple";
  f.bar->SetSimpleStatus(false);
  EXPECT_EQ(TRect(f.bar->GetClientRect()), (TRect{0, 0, w, h}));
}

TEST(KxStatusBar, SimpleStatusHidesThePanesAndShowsThemAllAgain) {
  TBarForm f;
  auto* a = New<TPanel>(f.form.get());
  a->SetParent(f.bar);
  auto* b = New<TPanel>(f.form.get());
  b->SetParent(f.bar);
  b->SetVisible(false);
  f.bar->SetSimpleStatus(true);
  EXPECT_FALSE(a->GetVisible());
  f.bar->SetSimpleStatus(false);
  EXPECT_TRUE(a->GetVisible());
  EXPECT_TRUE(b->GetVisible()) << "a pane hidden before shows too";
}

TEST(KxStatusBar, ResizingScalesEachPaneByItsShareOfThePreviousWidth) {
  TControlHost host;
  auto* bar = New<TKxStatusBar>(host.Panel());
  bar->SetParent(host.Panel());
  bar->SetAlign(alNone);
  bar->SetBounds(0, 0, 300, 19);
  auto* a = New<TPanel>(bar);
  a->SetParent(bar);
  a->SetBounds(0, 0, 100, 19);
  auto* b = New<TPanel>(bar);
  b->SetParent(bar);
  b->SetBounds(100, 0, 50, 19);
  bar->SetAutoScalePanes(true);
  bar->SetBounds(0, 0, 391, 19);
  // delta 91: 100 + round(91 x 1/3) and 50 + round(91 x 1/6), in single precision.
  EXPECT_EQ(a->GetWidth(), 100 + static_cast<int>(std::nearbyint(91 * (100.0f / 300))));
  EXPECT_EQ(a->GetWidth(), 130);
  EXPECT_EQ(b->GetWidth(), 65);
  bar->SetAutoScalePanes(false);
  bar->SetBounds(0, 0, 200, 19);
  EXPECT_EQ(a->GetWidth(), 130);
}

TEST(KxStatusBar, TheFirstResizeAndAnEmptyPreviousWidthScaleNothing) {
  TControlHost host;
  auto* bar = New<TKxStatusBar>(host.Panel());
  bar->SetParent(host.Panel());
  bar->SetAlign(alNone);
  auto* pane = New<TPanel>(bar);
  pane->SetParent(bar);
  pane->SetBounds(0, 0, 40, 19);
  bar->SetBounds(0, 0, 0, 19);  // scaling off: the width is only recorded
  bar->SetAutoScalePanes(true);
  bar->SetBounds(0, 0, 200, 19);  // from nothing: no share to scale by
  EXPECT_EQ(pane->GetWidth(), 40);
  bar->SetBounds(0, 0, 400, 19);
  EXPECT_EQ(pane->GetWidth(), 80);
}

TEST(KxStatusBar, SettingABorderByHandEndsTheAutomaticStyle) {
  TControlHost host;
  auto* bar = New<TKxStatusBar>(host.Panel());
  bar->SetParent(host.Panel());
  EXPECT_EQ(bar->GetHeight(), 19) << "the style sets its height";
  EXPECT_TRUE(bar->GetAutoStyle());
  bar->SetBorderOuter(fsNone);
  EXPECT_TRUE(bar->GetAutoStyle()) << "no change";
  bar->SetBorderOuter(fsLowered);
  EXPECT_FALSE(bar->GetAutoStyle());
}

TEST(KxStatusBar, TheSimpleCaptionIsDrawnInItsFlatFrame) {
  TThemesOff off;
  TBarForm f(bsDialog);
  f.bar->SetColor(clWhite);
  f.bar->SetFlatColor(clRed);
  f.bar->SetFlatColorAdjustment(0);
  f.bar->GetFont()->SetColor(clBlack);
  f.bar->SetSimpleCaption("Ready");
  f.bar->SetSimpleStatus(true);
  f.bar->HandleNeeded();
  int w = f.bar->GetWidth(), h = f.bar->GetHeight();
  TDib dib(w, h, RGB(1, 2, 3));
  PaintControl(f.bar, dib);
  // Client (-1, 2, w + 1, h + 1), less one at the bottom: the frame's top
  // edge on row 2, its corners cut.
  EXPECT_EQ(dib.Pixel(10, 2), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(10, h - 1), RGB(255, 0, 0));
  TRect ink = ColourBox(dib, RGB(0, 0, 0), TRect{0, 0, w, h});
  EXPECT_GE(ink.left, 2);
  EXPECT_GT(ink.right, ink.left + 10);
}

TEST(KxStatusBar, TheStoredFormAlwaysHoldsTheBorderWidthAndReadsBackTheSame) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* bar = New<TKxStatusBar>(form.get());
  bar->SetParent(form.get());
  bar->SetName("Status1");
  bar->SetSimpleCaption("Hello");
  bar->SetShowSizeGrip(false);
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("BorderWidth = 0"), std::string::npos) << text;
  EXPECT_EQ(text.find("Align ="), std::string::npos);
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* b2 = dynamic_cast<TKxStatusBar*>(copy->FindComponent("Status1"));
  ASSERT_NE(b2, nullptr);
  EXPECT_EQ(b2->GetSimpleCaption(), "Hello");
  EXPECT_EQ(WriteForm(copy.get()), text);
}

TEST(KxStatusBar, APaneReachingTheRightEdgeLeavesTheGripStripToTheBar) {
  TBarForm f;
  f.form->HandleNeeded();
  f.bar->HandleNeeded();
  auto* pane = New<TKxStatusPane>(f.form.get());
  pane->SetParent(f.bar);
  int right = f.bar->GetClientRect().right;
  pane->SetBounds(right - 100, 0, 100, 19);
  EXPECT_TRUE(pane->UnderSizeGrip(pane->GetClientRect()));
  EXPECT_NE(pane->Perform(CM_HITTEST, 0, MAKELPARAM(10, 5)), 0);
  // The last 12 pixels answer as the bar does: outside its window, nowhere.
  LRESULT bar = f.bar->Perform(WM_NCHITTEST, 0, MAKELPARAM(95, 5));
  EXPECT_EQ(pane->Perform(CM_HITTEST, 0, MAKELPARAM(95, 5)), bar);
  EXPECT_EQ(bar, HTNOWHERE);
  EXPECT_EQ(f.bar->ControlAtPos(POINT{right - 5, 5}, false), nullptr) << "a click there reaches the grip";
  EXPECT_EQ(f.bar->ControlAtPos(POINT{right - 50, 5}, false), pane);
  pane->SetBounds(right - 150, 0, 100, 19);
  EXPECT_FALSE(pane->UnderSizeGrip(pane->GetClientRect()));
}

// The grip is drawn on a DC of the bar's window taken for it: a drawing that
// fails (the themed gripper raising here) gives the DC back all the same.
TEST(KxStatusBar, AGripThatFailsToDrawGivesItsDCBack) {
  TBarForm f;
  f.bar->HandleNeeded();
  f.bar->ValidateSizeGrip();
  ASSERT_TRUE(f.bar->SizeGripActive());
  ASSERT_TRUE(f.bar->DrawsThemed());
  TThemeDrawingFails failing(ThemeServices().GetElementDetails(tsGripper));
  EXPECT_EQ(GdiObjectsLeftBy([&] { EXPECT_THROW(f.bar->Perform(WM_PAINT, 0, 0), Exception); }), 0);
}
