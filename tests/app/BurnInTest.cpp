// The language's built-in captions written into the button images, with the
// real default font: where the black pixels land, what else changes, and the
// language lines past the built-in rows.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/FrmMain.h"
#include "app/LanguageTables.h"
#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"
#include "skin/pkBitmap.h"
#include "skin/pkImgBtn.h"
#include "tests/app/AppTestSupport.h"

using namespace app_test;

namespace {

std::vector<int> Pixels(TpkBitmap* image) {
  std::vector<int> out;
  for (int y = 0; y < image->GetHeight(); ++y)
    for (int x = 0; x < image->GetWidth(); ++x) out.push_back(image->GetPixel(x, y));
  return out;
}

// The file's own pixels, loaded as the burn-in loads it.
std::vector<int> FilePixels(const std::string& path) {
  Owned<TpkBitmap> image = MakeOwned<TpkBitmap>();
  image->LoadFromFile(path);
  return Pixels(image.get());
}

TEST(BurnIn, TheBuiltInTablesHaveSixRowsAndNoneBeyond) {
  EXPECT_STREQ(BuiltInCaption(ctLanguageNames, 0), L"Deutsch");
  EXPECT_STREQ(BuiltInCaption(ctManualCaptions, 2), L"Instrucci\u00f3nes de Uso");
  EXPECT_STREQ(BuiltInCaption(ctReaderCaptions, 5), L"Acrobat Reader");
  EXPECT_STREQ(BuiltInCaption(ctDriverCaptions, 3), L"Pilote");
  EXPECT_EQ(BuiltInCaption(ctLanguageNames, 6), nullptr);
  EXPECT_EQ(BuiltInCaption(ctLanguageNames, -1), nullptr);
}

TEST(BurnIn, CaptionsAreBlackPixelsCentredInEachImageAndNothingElseChanges) {
  TMenuFixture menu(SampleDisc());
  TFormMain* f = menu.Form();
  f->LanguageIndex = 2;  // Spanish: the longest caption, accented letters
  f->BurnLanguageCaptions();
  const struct {
    TpkImageBtn* Button;
    const char* File;
    TCaptionTable Table;
  } targets[] = {
      {f->pkImageBtn2, "Resource\\SEL24_1024_768.BMP", ctLanguageNames},
      {f->pkImageBtn3, "Resource\\EXE24_1024_768A.BMP", ctManualCaptions},
      {f->pkImageBtn4, "Resource\\EXE24_1024_768B.BMP", ctDriverCaptions},
      {f->pkImageBtn5, "Resource\\EXE24_1024_768C.BMP", ctReaderCaptions},
  };
  // The text's box as the default font measures it.
  Owned<TBitmap> measure = MakeOwned<TBitmap>();
  for (const auto& t : targets) {
    SCOPED_TRACE(t.File);
    TpkBitmap* image = t.Button->GetImage();
    const std::vector<int> before = FilePixels(SampleDisc() + "\\" + t.File);
    const std::vector<int> after = Pixels(image);
    ASSERT_EQ(after.size(), before.size());
    const std::string ansi = WideToAnsi(BuiltInCaption(t.Table, 2));
    const int w = measure->GetCanvas()->TextWidth(ansi);
    const int h = measure->GetCanvas()->TextHeight(ansi);
    const int left = (image->GetWidth() - w) / 2;
    const int top = (image->GetHeight() - h) / 2;
    int changed = 0;
    int minX = image->GetWidth(), maxX = -1;
    for (int y = 0; y < image->GetHeight(); ++y)
      for (int x = 0; x < image->GetWidth(); ++x) {
        const size_t i = static_cast<size_t>(y) * image->GetWidth() + x;
        if (after[i] == before[i]) continue;
        ++changed;
        EXPECT_EQ(after[i], 0) << x << "," << y;  // only ever black
        EXPECT_TRUE(x >= left && x < left + w && y >= top && y < top + h) << x << "," << y;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
    EXPECT_GT(changed, 20);
    // The ink spans most of the measured width, so the text is centred.
    EXPECT_LE(minX - left, 3);
    EXPECT_LE(left + w - 1 - maxX, 3);
  }
}

TEST(BurnIn, ApplyingTwiceGivesTheSameImagesAndARowPastTheTablesBurnsNothing) {
  TMenuFixture menu(SampleDisc());
  TFormMain* f = menu.Form();
  f->LanguageIndex = 1;
  f->BurnLanguageCaptions();
  const std::vector<int> once = Pixels(f->pkImageBtn3->GetImage());
  f->BurnLanguageCaptions();
  EXPECT_EQ(Pixels(f->pkImageBtn3->GetImage()), once);
  EXPECT_NE(once, FilePixels(SampleDisc() + "\\Resource\\EXE24_1024_768A.BMP"));
  // A seventh language: fresh images, no text.
  f->LanguageIndex = 6;
  f->BurnLanguageCaptions();
  EXPECT_EQ(Pixels(f->pkImageBtn3->GetImage()), FilePixels(SampleDisc() + "\\Resource\\EXE24_1024_768A.BMP"));
  EXPECT_EQ(Pixels(f->pkImageBtn2->GetImage()), FilePixels(SampleDisc() + "\\Resource\\SEL24_1024_768.BMP"));
}

}  // namespace
