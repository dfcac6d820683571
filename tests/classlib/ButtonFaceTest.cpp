// DrawButtonFace on a bitmap of the screen's depth: where each ring of the
// new and the old look lands, and the content rectangle it hands back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Buttons.h"
#include "classlib/Graphics.h"

namespace {

struct TProbe {
  int x, y;
  int sysColor;
};

TEST(ButtonFaceTest, RingsAndContentRectangle) {
  struct Case {
    const char* name;
    TButtonStyle style;
    bool rounded, down, focused;
    std::vector<TProbe> probes;
    TRect content;
  };
  const Case cases[] = {
      {"new up", bsNew, false, false, false,
       {{0, 5, COLOR_BTNHIGHLIGHT}, {5, 0, COLOR_BTNHIGHLIGHT}, {19, 5, COLOR_3DDKSHADOW},
        {10, 15, COLOR_3DDKSHADOW}, {18, 5, COLOR_BTNSHADOW}, {10, 14, COLOR_BTNSHADOW}, {8, 8, COLOR_BTNFACE}},
       {1, 1, 18, 14}},
      {"new down", bsNew, false, true, false,
       {{0, 5, COLOR_3DDKSHADOW}, {1, 5, COLOR_BTNSHADOW}, {5, 1, COLOR_BTNSHADOW}, {19, 5, COLOR_BTNHIGHLIGHT},
        {10, 15, COLOR_BTNHIGHLIGHT}, {10, 10, COLOR_BTNFACE}},
       {2, 2, 19, 15}},
      {"old up", bsWin31, false, false, false,
       {{0, 0, COLOR_WINDOWFRAME}, {19, 5, COLOR_WINDOWFRAME}, {1, 5, COLOR_BTNHIGHLIGHT},
        {18, 5, COLOR_BTNSHADOW}, {10, 14, COLOR_BTNSHADOW}, {8, 8, COLOR_BTNFACE}},
       {1, 1, 18, 14}},
      {"old rounded focused", bsWin31, true, false, true,
       {{0, 0, COLOR_BTNFACE}, {19, 15, COLOR_BTNFACE}, {0, 5, COLOR_WINDOWFRAME}, {1, 5, COLOR_WINDOWFRAME},
        {2, 5, COLOR_BTNHIGHLIGHT}, {17, 5, COLOR_BTNSHADOW}},
       {1, 1, 18, 14}},
      {"old down", bsWin31, false, true, false,
       {{0, 5, COLOR_WINDOWFRAME}, {1, 5, COLOR_BTNSHADOW}, {10, 1, COLOR_BTNSHADOW}, {17, 5, COLOR_BTNFACE},
        {10, 13, COLOR_BTNFACE}},
       {2, 2, 19, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TBitmap> bmp(New<TBitmap>());
    bmp->SetPixelFormat(pfDevice);
    bmp->SetSize(20, 16);
    TRect r = DrawButtonFace(bmp->GetCanvas(), TRect{0, 0, 20, 16}, 1, c.style, c.rounded, c.down, c.focused);
    for (const TProbe& p : c.probes) {
      SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
      EXPECT_EQ(ColorToRGB(bmp->GetCanvas()->GetPixels(p.x, p.y)), static_cast<TColor>(GetSysColor(p.sysColor)));
    }
    EXPECT_TRUE(EqualRect(&r, &c.content));
  }
}

TEST(ButtonFaceTest, TheAutomaticStyleFollowsNewStyleControls) {
  Owned<TBitmap> bmp(New<TBitmap>());
  bmp->SetPixelFormat(pfDevice);
  bmp->SetSize(20, 16);
  ASSERT_TRUE(NewStyleControls);
  DrawButtonFace(bmp->GetCanvas(), TRect{0, 0, 20, 16}, 1, bsAutoDetect, false, false, false);
  EXPECT_EQ(ColorToRGB(bmp->GetCanvas()->GetPixels(19, 5)), static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW)));
  NewStyleControls = false;
  DrawButtonFace(bmp->GetCanvas(), TRect{0, 0, 20, 16}, 2, bsAutoDetect, false, false, false);
  NewStyleControls = true;
  // The old look with a bevel two rings wide.
  EXPECT_EQ(ColorToRGB(bmp->GetCanvas()->GetPixels(19, 5)), static_cast<TColor>(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(ColorToRGB(bmp->GetCanvas()->GetPixels(2, 5)), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(ColorToRGB(bmp->GetCanvas()->GetPixels(17, 5)), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(ColorToRGB(bmp->GetCanvas()->GetPixels(16, 5)), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

}  // namespace
