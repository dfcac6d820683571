// The canvas's orientation follows the DC's mapping of x.
#include <gtest/gtest.h>

#include "classlib/Graphics.h"

namespace {

TEST(CanvasOrientation, FollowsTheDirectionOfTheMapping) {
  auto bmp = MakeOwned<TBitmap>();
  bmp->SetSize(50, 10);
  TCanvas* c = bmp->GetCanvas();
  HDC dc = c->GetHandle();
  EXPECT_EQ(coLeftToRight, c->GetCanvasOrientation());

  // Mirrored by the mapping: the origin at the right, x running leftwards.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 1, 1, nullptr);
  SetViewportExtEx(dc, -1, 1, nullptr);
  SetViewportOrgEx(dc, 49, 0, nullptr);
  EXPECT_EQ(coRightToLeft, c->GetCanvasOrientation());
  // Two negative extents cancel out.
  SetWindowExtEx(dc, -1, 1, nullptr);
  EXPECT_EQ(coLeftToRight, c->GetCanvasOrientation());

  // A DC mirrored by its layout runs its text from the reference point itself.
  SetMapMode(dc, MM_TEXT);
  SetLayout(dc, LAYOUT_RTL);
  EXPECT_EQ(coLeftToRight, c->GetCanvasOrientation());
  SetLayout(dc, 0);
}

}  // namespace
