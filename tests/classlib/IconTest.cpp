#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/graphics/Icon.h"
#include "tests/classlib/GraphicsTestUtil.h"

using namespace graphics_test;

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) { std::memcpy(&v[at], &x, 2); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { std::memcpy(&v[at], &x, 4); }

// A 16 x 16 .ico of one 24-bit image: the left half red and opaque, the right
// half transparent (mask bits set).
std::vector<uint8_t> MakeIco() {
  const int w = 16, h = 16;
  const size_t colourBytes = size_t(w) * 3 * h;  // 48-byte rows, already 4-aligned
  const size_t maskBytes = 4 * size_t(h);        // 16 bits padded to 32
  const size_t image = 40 + colourBytes + maskBytes;
  std::vector<uint8_t> v(6 + 16 + image, 0);
  Put16(v, 2, 1);   // icon
  Put16(v, 4, 1);   // one image
  v[6] = w, v[7] = h;
  Put16(v, 6 + 4, 1);   // planes
  Put16(v, 6 + 6, 24);  // bits
  Put32(v, 6 + 8, uint32_t(image));
  Put32(v, 6 + 12, 22);
  size_t hdr = 22;
  Put32(v, hdr, 40);
  Put32(v, hdr + 4, w);
  Put32(v, hdr + 8, h * 2);
  Put16(v, hdr + 12, 1);
  Put16(v, hdr + 14, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w / 2; ++x) v[hdr + 40 + size_t(y) * 48 + size_t(x) * 3 + 2] = 0xFF;
  for (int y = 0; y < h; ++y) v[hdr + 40 + colourBytes + size_t(y) * 4] = 0x00, v[hdr + 40 + colourBytes + size_t(y) * 4 + 1] = 0xFF;
  return v;
}

// Draws the icon over blue and reads the pixel at (x, y) back as a COLORREF.
COLORREF DrawnPixel(TIcon* icon, int x, int y) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(16, 16);
  b->GetCanvas()->GetBrush()->SetColor(clBlue);
  b->GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  b->GetCanvas()->Draw(0, 0, icon);
  auto* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

TEST(IconTest, LoadsDrawsWithItsMaskAndSavesTheSameBytes) {
  auto ico = MakeIco();
  Owned<TIcon> icon = MakeOwned<TIcon>();
  icon->LoadFromStream(StreamOf(ico).get());
  EXPECT_EQ(icon->GetWidth(), 16);
  EXPECT_EQ(icon->GetHeight(), 16);
  EXPECT_TRUE(icon->GetTransparent());
  EXPECT_NE(icon->GetHandle(), nullptr);
  EXPECT_EQ(DrawnPixel(icon.get(), 2, 5), RGB(255, 0, 0));
  EXPECT_EQ(DrawnPixel(icon.get(), 12, 5), RGB(0, 0, 255));

  Owned<TMemoryStream> out = MakeOwned<TMemoryStream>();
  icon->SaveToStream(out.get());
  EXPECT_EQ(BytesOf(out.get()), ico);
  EXPECT_THROW(icon->SetWidth(32), EInvalidGraphicOperation);
}

TEST(IconTest, AnIconMadeFromAHandleSavesAndLoadsBack) {
  Owned<TIcon> a = MakeOwned<TIcon>();
  a->LoadFromStream(StreamOf(MakeIco()).get());
  Owned<TIcon> b = MakeOwned<TIcon>();
  b->SetHandle(CopyIcon(a->GetHandle()));
  EXPECT_EQ(b->GetWidth(), 16);
  Owned<TMemoryStream> out = MakeOwned<TMemoryStream>();
  b->SaveToStream(out.get());
  out->SetPosition(0);
  Owned<TIcon> c = MakeOwned<TIcon>();
  c->LoadFromStream(out.get());
  EXPECT_EQ(DrawnPixel(c.get(), 2, 5), RGB(255, 0, 0));
  EXPECT_EQ(DrawnPixel(c.get(), 12, 5), RGB(0, 0, 255));

  // ReleaseHandle hands the handle over; the data make a new one.
  HICON h = c->ReleaseHandle();
  EXPECT_NE(h, nullptr);
  DestroyIcon(h);
  EXPECT_FALSE(c->GetEmpty());
  EXPECT_NE(c->GetHandle(), nullptr);
}

TEST(IconTest, DamagedDataRaisesAndLeavesTheIconUnchanged) {
  const auto good = MakeIco();
  auto with = [&](size_t at, uint32_t value, int bytes) {
    auto v = good;
    if (bytes == 2) Put16(v, at, uint16_t(value));
    else Put32(v, at, value);
    return v;
  };
  struct {
    const char* Name;
    std::vector<uint8_t> Data;
  } cases[] = {
      {"empty", {}},
      {"short directory", std::vector<uint8_t>(good.begin(), good.begin() + 10)},
      {"cursor type", with(2, 2, 2)},
      {"no images", with(4, 0, 2)},
      {"offset past the end", with(6 + 12, 5000, 4)},
      {"truncated image", std::vector<uint8_t>(good.begin(), good.end() - 20)},
      {"bad header size", with(22, 7, 4)},
      {"huge width", with(22 + 4, 0x7FFFFFF, 4)},
  };
  Owned<TIcon> icon = MakeOwned<TIcon>();
  icon->LoadFromStream(StreamOf(good).get());
  HICON before = icon->GetHandle();
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      icon->LoadFromStream(StreamOf(c.Data).get());
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.GetMessage(), "Icon image is not valid");
    }
    EXPECT_EQ(icon->GetHandle(), before);
    EXPECT_EQ(icon->GetWidth(), 16);
  }
}

}  // namespace
