#include <gtest/gtest.h>

#include "classlib/Clipbrd.h"
#include "classlib/Graphics.h"
#include "tests/classlib/GraphicsTestUtil.h"

using namespace graphics_test;

namespace {

// One test: the clipboard is shared by every process on the display, so its
// steps must not run in parallel with each other.
TEST(Clipboard, TextBitmapsAndPicturesGoInAndComeBack) {
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

}  // namespace
