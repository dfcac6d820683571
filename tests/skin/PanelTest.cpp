#include <gtest/gtest.h>

#include <string>

#include "classlib/Forms.h"
#include "skin/pkframe.h"
#include "skin/pkpanel.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin_test;

namespace {

bool HasExStyle(TWinControl* c, LONG_PTR bits) { return (GetWindowLongPtrA(c->GetHandle(), GWL_EXSTYLE) & bits) != 0; }
bool HasStyle(HWND w, LONG_PTR bits) { return (GetWindowLongPtrA(w, GWL_STYLE) & bits) != 0; }

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(New<TForm>(nullptr, 0));
    form_->SetBounds(0, 0, 300, 200);
    panel_ = New<TpkPanel>(form_.get());
    panel_->SetParent(form_.get());
    panel_->SetBounds(20, 10, 100, 40);
  }
  // The panel painted into a DIB filled with red (what lies under it).
  void PaintInto(TDib& dib) { panel_->PaintWindow(dib.DC()); }
  Owned<TForm> form_;
  TpkPanel* panel_ = nullptr;
};

TEST_F(PanelTest, ConstructionValues) {
  EXPECT_FALSE(panel_->GetTransparent());
  EXPECT_TRUE(panel_->GetControlStyle().Contains(csOpaque));
  ASSERT_NE(panel_->GetFrame(), nullptr);
  EXPECT_FALSE(panel_->GetFrame()->GetEnabled());
  EXPECT_EQ(panel_->GetBevelOuter(), bvRaised);
  EXPECT_EQ(panel_->GetAlignment(), taCenter);
}

TEST_F(PanelTest, TransparencyStylesAndNoClippingOfChildren) {
  panel_->HandleNeeded();
  EXPECT_FALSE(HasExStyle(panel_, WS_EX_TRANSPARENT));
  // Made windows clip no children: the parent's picture lies under the panel.
  EXPECT_FALSE(HasStyle(form_->GetHandle(), WS_CLIPCHILDREN));
  EXPECT_FALSE(HasStyle(panel_->GetHandle(), WS_CLIPCHILDREN));
  HWND before = panel_->GetHandle();
  panel_->SetTransparent(true);
  EXPECT_FALSE(panel_->GetControlStyle().Contains(csOpaque));
  panel_->HandleNeeded();
  EXPECT_NE(panel_->GetHandle(), before) << "a new window";
  EXPECT_TRUE(HasExStyle(panel_, WS_EX_TRANSPARENT));
  panel_->SetTransparent(false);
  panel_->HandleNeeded();
  EXPECT_FALSE(HasExStyle(panel_, WS_EX_TRANSPARENT));
  EXPECT_TRUE(panel_->GetControlStyle().Contains(csOpaque));
}

TEST_F(PanelTest, DesignModeIsAlwaysOpaque) {
  panel_->SetDesigning(true);
  panel_->SetTransparent(true);
  EXPECT_FALSE(panel_->IsTransparent());
  EXPECT_TRUE(panel_->GetControlStyle().Contains(csOpaque));
  TDib dib(100, 40, clRed);
  panel_->SetBevelOuter(bvNone);
  PaintInto(dib);
  EXPECT_EQ(dib.Pixel(50, 5), static_cast<COLORREF>(ColorToRGB(panel_->GetColor())));
}

TEST_F(PanelTest, ATransparentPanelErasesAndFillsNothing) {
  panel_->SetTransparent(true);
  panel_->SetBevelOuter(bvNone);
  panel_->SetCaption("");
  panel_->HandleNeeded();
  TDib dib(100, 40, clRed);
  EXPECT_EQ(panel_->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0), 1);
  PaintInto(dib);
  for (POINT p : {POINT{0, 0}, POINT{50, 20}, POINT{99, 39}})
    EXPECT_EQ(dib.Pixel(p.x, p.y), static_cast<COLORREF>(clRed)) << p.x << "," << p.y;
  // Only the caption is drawn.
  panel_->SetCaption("WWWW");
  panel_->GetFont()->SetColor(clBlue);
  PaintInto(dib);
  int blue = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) blue += dib.Pixel(x, y) == static_cast<COLORREF>(clBlue);
  EXPECT_GT(blue, 0);
  EXPECT_EQ(dib.Pixel(1, 1), static_cast<COLORREF>(clRed));
}

TEST_F(PanelTest, BevelsAndTheFill) {
  struct TBevelCase {
    TPanelBevel Outer;
    TColor TopLeft, BottomRight;
  };
  const TBevelCase cases[] = {{bvRaised, clBtnHighlight, clBtnShadow}, {bvLowered, clBtnShadow, clBtnHighlight}};
  for (const TBevelCase& c : cases) {
    SCOPED_TRACE(c.Outer);
    panel_->SetBevelOuter(c.Outer);
    panel_->SetColor(clYellow);
    TDib dib(100, 40, clRed);
    PaintInto(dib);
    EXPECT_EQ(dib.Pixel(0, 10), static_cast<COLORREF>(ColorToRGB(c.TopLeft)));
    EXPECT_EQ(dib.Pixel(99, 10), static_cast<COLORREF>(ColorToRGB(c.BottomRight)));
    EXPECT_EQ(dib.Pixel(5, 5), static_cast<COLORREF>(clYellow)) << "opaque: the rest is filled";
  }
}

TEST_F(PanelTest, TheEditFrameReplacesTheBevels) {
  panel_->GetFrame()->SetEnabled(true);
  panel_->GetFrame()->SetNonFocusColor(clLime);
  panel_->SetColor(clYellow);
  TDib dib(100, 40, clRed);
  PaintInto(dib);
  EXPECT_EQ(dib.Pixel(50, 10), static_cast<COLORREF>(clLime)) << "not focused: NonFocusColor";
  panel_->Perform(CM_ENTER, 0, 0);
  EXPECT_TRUE(panel_->GetHasFocus());
  PaintInto(dib);
  EXPECT_EQ(dib.Pixel(50, 10), static_cast<COLORREF>(clYellow));
  EXPECT_TRUE(panel_->FocusColorsDiffer());
  panel_->Perform(CM_EXIT, 0, 0);
  EXPECT_FALSE(panel_->GetHasFocus());
}

TEST_F(PanelTest, AFocusChangeRepaintsTheFrameOnlyUnlessTheColoursDiffer) {
  panel_->GetFrame()->SetEnabled(true);  // focus and non-focus borders differ
  form_->Show();
  struct TCase {
    const char* Name;
    TColor NonFocusColor;
    UINT Message;
    bool Interior;
  };
  const TCase cases[] = {
      {"enter, same colours", clNone, CM_ENTER, false},
      {"exit, same colours", clNone, CM_EXIT, false},
      {"enter, another colour", clLime, CM_ENTER, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    panel_->GetFrame()->SetNonFocusColor(c.NonFocusColor);
    PumpMessages();
    ValidateRect(panel_->GetHandle(), nullptr);
    panel_->Perform(c.Message, 0, 0);
    TpkRegion update(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetUpdateRgn(panel_->GetHandle(), update.get(), FALSE), ERROR);
    EXPECT_TRUE(PtInRegion(update.get(), 0, 0)) << "the frame";
    EXPECT_TRUE(PtInRegion(update.get(), 99, 39));
    EXPECT_EQ(PtInRegion(update.get(), 50, 20) != 0, c.Interior) << "the interior";
  }
}

TEST_F(PanelTest, InvalidatingATransparentPanelInvalidatesItsParentFirst) {
  panel_->SetTransparent(true);
  form_->Show();
  PumpMessages();
  ValidateRect(form_->GetHandle(), nullptr);
  ValidateRect(panel_->GetHandle(), nullptr);
  panel_->Invalidate();
  RECT u{};
  ASSERT_TRUE(GetUpdateRect(form_->GetHandle(), &u, FALSE));
  EXPECT_LE(u.left, 20);
  EXPECT_LE(u.top, 10);
  EXPECT_GE(u.right, 120);
  EXPECT_GE(u.bottom, 50);
  // Moved, it is repainted from the parent at its new place.
  ValidateRect(form_->GetHandle(), nullptr);
  panel_->SetBounds(150, 100, 100, 40);
  ASSERT_TRUE(GetUpdateRect(form_->GetHandle(), &u, FALSE));
  EXPECT_LE(u.left, 150);
  EXPECT_GE(u.right, 250);
}

// With a part already waiting to be painted, a transparent panel passes
// just that part to its parent, moved by its Left and Top, and keeps its own
// update to it.
TEST_F(PanelTest, APendingPartIsInvalidatedInTheParentAtThePanelsOffset) {
  panel_->SetTransparent(true);
  form_->Show();
  PumpMessages();
  ValidateRect(form_->GetHandle(), nullptr);
  ValidateRect(panel_->GetHandle(), nullptr);
  RECT pending{5, 6, 15, 16};
  InvalidateRect(panel_->GetHandle(), &pending, FALSE);
  panel_->Invalidate();
  TpkRegion inParent(CreateRectRgn(0, 0, 0, 0)), own(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetUpdateRgn(form_->GetHandle(), inParent.get(), FALSE), SIMPLEREGION);
  TpkRegion expected(CreateRectRgn(25, 16, 35, 26));
  EXPECT_TRUE(SameRegion(inParent.get(), expected.get())) << RegionBox(inParent.get()).left << ","
                                                          << RegionBox(inParent.get()).top;
  ASSERT_EQ(GetUpdateRgn(panel_->GetHandle(), own.get(), FALSE), SIMPLEREGION);
  TpkRegion ownExpected(CreateRectRgn(5, 6, 15, 16));
  EXPECT_TRUE(SameRegion(own.get(), ownExpected.get()));
}

TEST_F(PanelTest, RecreatingPaintingAndFreeingLeaveNoHandlesBehind) {
  // A hidden form: a shown one gets its window surface whenever the
  // display gets round to it, which would count as growth.
  ExpectNoHandleGrowth([this] {
    auto* p = New<TpkPanel>(form_.get());
    p->SetParent(form_.get());
    p->SetCaption("Panel");
    p->HandleNeeded();
    p->SetTransparent(true);
    p->HandleNeeded();
    p->GetFrame()->SetEnabled(true);
    p->Invalidate();
    PumpMessages();
    p->Free();
  });
}

TEST_F(PanelTest, StoredFormRoundTrip) {
  panel_->SetName("pkPanel1");
  panel_->SetTransparent(true);
  panel_->SetAutoSize(true);
  panel_->SetBevelOuter(bvNone);
  std::string text = WriteForm(form_.get());
  EXPECT_NE(text.find("Transparent = True"), std::string::npos) << text;
  EXPECT_NE(text.find("BevelOuter = bvNone"), std::string::npos) << text;
  EXPECT_EQ(text.find("BevelInner"), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* p = dynamic_cast<TpkPanel*>(copy->FindComponent("pkPanel1"));
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->GetTransparent());
  EXPECT_TRUE(p->GetAutoSize());
  EXPECT_EQ(p->GetBevelOuter(), bvNone);
  p->HandleNeeded();
  EXPECT_TRUE(HasExStyle(p, WS_EX_TRANSPARENT));
}

}  // namespace
