// An image places its picture by Stretch, Center and Proportional, and its
// Canvas draws into a bitmap picture.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"

using namespace controls_test;

namespace {

TEST(ImageTest, DestRectFollowsStretchCenterAndProportional) {
  struct Case {
    const char* name;
    int pictureW, pictureH;
    bool stretch, center, proportional;
    TRect expected;  // in a 100 x 50 image
  };
  const Case cases[] = {
      {"as it is", 40, 20, false, false, false, {0, 0, 40, 20}},
      {"centred", 40, 20, false, true, false, {30, 15, 70, 35}},
      {"stretched", 40, 20, true, false, false, {0, 0, 100, 50}},
      {"stretched in proportion", 40, 40, true, false, true, {0, 0, 50, 50}},
      {"stretched in proportion, centred", 40, 40, true, true, true, {25, 0, 75, 50}},
      {"wide, in proportion", 400, 100, false, false, true, {0, 0, 100, 25}},
      {"small, proportional only shrinks", 20, 10, false, false, true, {0, 0, 20, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TImage> image(New<TImage>(nullptr));
    image->SetBounds(0, 0, 100, 50);
    Owned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetSize(c.pictureW, c.pictureH);
    image->GetPicture()->SetGraphic(bitmap.get());
    image->SetStretch(c.stretch);
    image->SetCenter(c.center);
    image->SetProportional(c.proportional);
    TRect r = image->DestRect();
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST(ImageTest, CanvasDrawsIntoABitmapOfTheImagesSize) {
  Owned<TImage> image(New<TImage>(nullptr));
  image->SetBounds(0, 0, 30, 20);
  image->GetCanvas()->GetBrush()->SetColor(clRed);
  image->GetCanvas()->FillRect(Rect(0, 0, 30, 20));
  auto* bitmap = dynamic_cast<TBitmap*>(image->GetPicture()->GetGraphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->GetWidth(), 30);
  EXPECT_EQ(bitmap->GetHeight(), 20);
  EXPECT_EQ(bitmap->GetCanvas()->GetPixels(29, 19), clRed);
  // A whole opaque picture makes the image opaque.
  EXPECT_TRUE(image->GetControlStyle().Contains(csOpaque));
  image->SetTransparent(true);
  EXPECT_FALSE(image->GetControlStyle().Contains(csOpaque));
}

TEST(ImageTest, AutoSizeTakesThePicturesSize) {
  Owned<TImage> image(New<TImage>(nullptr));
  image->SetAutoSize(true);
  Owned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetSize(64, 48);
  image->GetPicture()->SetGraphic(bitmap.get());
  EXPECT_EQ(image->GetWidth(), 64);
  EXPECT_EQ(image->GetHeight(), 48);
}

}  // namespace
