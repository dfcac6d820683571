#include <gtest/gtest.h>

#include "classlib/Clipbrd.h"
#include "classlib/Graphics.h"
#include "classlib/Jpeg.h"
#include "tests/classlib/GraphicsTestUtil.h"
#include "tests/classlib/JpegFixture.h"

using namespace graphics_test;

namespace {

// One test, alone in the run ("Serial"): the clipboard is shared by every
// process on the display.
TEST(SerialClipboard, TextBitmapsAndPicturesGoInAndComeBack) {
  TClipboard* c = Clipboard();
  c->SetAsText("hello clipboard");
  EXPECT_TRUE(c->HasFormat(CF_TEXT));
  EXPECT_EQ(c->GetAsText(), "hello clipboard");

  auto b = MakeBitmap(3, 2, pf8bit, clBlue);
  b->GetCanvas()->SetPixels(2, 1, clRed);
  c->Assign(b.get());
  EXPECT_TRUE(c->HasFormat(CF_BITMAP));
  EXPECT_TRUE(c->HasFormat(CF_PALETTE));  // a palette format brings its palette
  EXPECT_FALSE(c->HasFormat(CF_TEXT));    // the assignment replaced the text

  auto back = MakeOwned<TBitmap>();
  back->Assign(c);
  EXPECT_EQ(back->GetWidth(), 3);
  EXPECT_EQ(back->GetCanvas()->GetPixels(0, 0), clBlue);
  EXPECT_EQ(back->GetCanvas()->GetPixels(2, 1), clRed);

  Owned<TPicture> p = MakeOwned<TPicture>();
  p->Assign(c);
  ASSERT_NE(dynamic_cast<TBitmap*>(p->GetGraphic()), nullptr);
  EXPECT_EQ(p->GetBitmap()->GetCanvas()->GetPixels(2, 1), clRed);

  // Several formats written in one open session stay together.
  c->Open();
  c->Assign(p.get());
  c->SetAsText("both");
  c->Close();
  EXPECT_TRUE(c->HasFormat(CF_BITMAP));
  EXPECT_EQ(c->GetAsText(), "both");

  c->Clear();
  EXPECT_FALSE(c->HasFormat(CF_BITMAP));
  EXPECT_THROW(p->Assign(c), Exception);
  EXPECT_NE(p->GetGraphic(), nullptr);  // the picture kept its bitmap
  EXPECT_THROW(back->LoadFromClipboardFormat(CF_TEXT, nullptr, nullptr), EInvalidGraphic);
}

// Each graphic's clipboard format, handed from one graphic to another without
// the clipboard itself: the handle it gives is the caller's until the
// clipboard takes it.
TEST(ClipboardFormats, GraphicsGoOutAndComeBackInTheirOwnFormat) {
  auto bitmap = MakeBitmap(5, 3, pf24bit, clTeal);
  bitmap->GetCanvas()->SetPixels(4, 2, clYellow);
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg_fixture::TJpegSpec spec;
  spec.Width = 6;
  spec.Height = 4;
  jpeg->LoadFromStream(
      StreamOf(jpeg_fixture::EncodeJpeg(spec, [](int x, int, int k) { return uint8_t(k == 1 ? 40 * x : 90); })).get());
  Owned<TMetafile> metafile = MakeRedMetafile(20, 10);
  auto drawn = [](TGraphic* g) { return DrawnOnNavy(g, 30); };
  struct {
    const char* Name;
    TGraphic* Source;
    WORD Format;
  } cases[] = {{"TBitmap", bitmap.get(), CF_BITMAP},
               {"TJPEGImage", jpeg.get(), CF_BITMAP},
               {"TMetafile", metafile.get(), CF_ENHMETAFILE}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WORD format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    c.Source->SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, c.Format);
    ASSERT_NE(data, nullptr);
    Owned<TGraphic> back(CreateAs<TGraphic>(c.Source->ClassType()));
    back->LoadFromClipboardFormat(format, data, palette);
    EXPECT_EQ(back->GetWidth(), c.Source->GetWidth());
    EXPECT_EQ(drawn(back.get()), drawn(c.Source));
    // A format the class does not take raises and changes nothing.
    EXPECT_THROW(back->LoadFromClipboardFormat(CF_TEXT, data, nullptr), EInvalidGraphic);
    EXPECT_EQ(drawn(back.get()), drawn(c.Source));
    if (format == CF_ENHMETAFILE) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
    else DeleteObject(data);
    if (palette) DeleteObject(palette);
  }
  // Icons have no clipboard format.
  Owned<TIcon> icon = MakeOwned<TIcon>();
  WORD format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  EXPECT_THROW(icon->SaveToClipboardFormat(format, data, palette), EInvalidGraphic);
  EXPECT_EQ(data, nullptr);
}

}  // namespace
