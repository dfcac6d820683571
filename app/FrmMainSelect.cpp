// The selection side of the main form: the language's built-in captions
// written into the button images.
#include "app/FrmMain.h"

#include "app/LanguageTables.h"
#include "app/perivane.h"
#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"
#include "skin/pkBitmap.h"
#include "skin/pkImgBtn.h"

namespace {

// Where the scratch bitmap holds pure black, the image becomes black; no
// other pixel of the image changes. The scratch is 24-bit so that the test
// is exact whatever the display's depth, and both sides go by rows.
void CopyBlackPixels(TBitmap* scratch, TpkBitmap* image) {
  GdiFlush();  // the text drawn on the scratch reaches its bits
  const int width = image->GetWidth();
  const int height = image->GetHeight();
  for (int y = 0; y < height; ++y) {
    auto from = scratch->ScanLineAs<RGBTRIPLE>(y);
    auto to = image->GetRow(y);
    for (int x = 0; x < width; ++x) {
      const RGBTRIPLE p = from[x];
      if (p.rgbtRed == 0 && p.rgbtGreen == 0 && p.rgbtBlue == 0) to[x] = RGBTRIPLE{0, 0, 0};
    }
  }
  image->Changed(image);
}

}  // namespace

void TFormMain::BurnLanguageCaptions() {
  // Always the 24-bit set's files, whatever the display's depth.
  const struct {
    TpkImageBtn* Button;
    const char* File;
    TCaptionTable Table;
  } targets[] = {
      {pkImageBtn2, "Resource\\SEL24_1024_768.BMP", ctLanguageNames},
      {pkImageBtn3, "Resource\\EXE24_1024_768A.bmp", ctManualCaptions},
      {pkImageBtn4, "Resource\\EXE24_1024_768B.bmp", ctDriverCaptions},
      {pkImageBtn5, "Resource\\EXE24_1024_768C.bmp", ctReaderCaptions},
  };
  Owned<TBitmap> scratch = MakeOwned<TBitmap>();
  scratch->SetPixelFormat(pf24bit);
  TCanvas* canvas = scratch->GetCanvas();
  canvas->GetPen()->SetColor(clBlack);
  bool first = true;
  for (const auto& target : targets) {
    // A fresh image each time, so that text written before disappears.
    LoadButtonImage(target.Button, DiscPath(target.File));
    TpkBitmap* image = target.Button->GetImage();
    const int width = image->GetWidth();
    const int height = image->GetHeight();
    scratch->SetSize(width, height);
    if (!first) canvas->FillRect(TRect(0, 0, width, height));
    first = false;
    // A language line past the built-in rows burns nothing.
    const wchar_t* text = BuiltInCaption(target.Table, LanguageIndex);
    if (!text || width == 0 || height == 0) continue;
    const std::wstring caption = text;
    // Measured as ANSI text, drawn as UTF-16 (the wide call keeps the
    // accented letters whatever the code page).
    const std::string ansi = WideToAnsi(caption);
    const int textWidth = canvas->TextWidth(ansi);
    const int textHeight = canvas->TextHeight(ansi);
    ::TextOutW(canvas->GetHandle(), (width - textWidth) / 2, (height - textHeight) / 2, caption.c_str(),
               static_cast<int>(caption.size()));
    CopyBlackPixels(scratch.get(), image);
  }
}
