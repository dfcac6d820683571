#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Seams.h"
#include "classlib/classes/Streams.h"
#include "tests/classlib/GraphicsTestUtil.h"

using namespace graphics_test;

namespace {

// ---------------------------------------------------------------------------
// BMP files built here, byte by byte, independently of the reader.

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
void Set32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

struct TBmpSpec {
  int width = 4, height = 3, bpp = 8;
  bool topDown = false;
  bool core = false;  // BITMAPCOREHEADER
  uint32_t compression = BI_RGB;
  std::vector<uint32_t> masks;      // BI_BITFIELDS
  std::vector<RGBQUAD> colors;      // the colour table
  std::vector<std::vector<uint8_t>> rows;  // top row first, unpadded
  std::vector<uint8_t> rle;         // replaces the rows when set
};

int RowBytes(int w, int bpp) { return (w * bpp + 7) / 8; }
int Stride(int w, int bpp) { return ((w * bpp + 31) / 32) * 4; }

std::vector<uint8_t> BuildBmp(const TBmpSpec& s) {
  std::vector<uint8_t> info;
  if (s.core) {
    Put32(info, 12);
    Put16(info, static_cast<uint32_t>(s.width));
    Put16(info, static_cast<uint32_t>(s.height));
    Put16(info, 1);
    Put16(info, static_cast<uint32_t>(s.bpp));
    for (auto& c : s.colors) info.insert(info.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed});
  } else {
    Put32(info, 40);
    Put32(info, static_cast<uint32_t>(s.width));
    Put32(info, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
    Put16(info, 1);
    Put16(info, static_cast<uint32_t>(s.bpp));
    Put32(info, s.compression);
    Put32(info, 0);
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, static_cast<uint32_t>(s.colors.size()));
    Put32(info, 0);
    for (uint32_t m : s.masks) Put32(info, m);
    for (auto& c : s.colors) info.insert(info.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
  }
  std::vector<uint8_t> bits;
  if (!s.rle.empty()) {
    bits = s.rle;
  } else {
    int stride = Stride(s.width, s.bpp);
    for (int i = 0; i < s.height; ++i) {
      const auto& row = s.rows[static_cast<size_t>(s.topDown ? i : s.height - 1 - i)];
      std::vector<uint8_t> padded(row);
      padded.resize(static_cast<size_t>(stride), 0);
      bits.insert(bits.end(), padded.begin(), padded.end());
    }
  }
  std::vector<uint8_t> file{'B', 'M'};
  uint32_t off = 14 + static_cast<uint32_t>(info.size());
  Put32(file, off + static_cast<uint32_t>(bits.size()));
  Put32(file, 0);
  Put32(file, off);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), bits.begin(), bits.end());
  return file;
}

std::vector<RGBQUAD> Ramp(int n) {
  std::vector<RGBQUAD> c;
  for (int i = 0; i < n; ++i)
    c.push_back(RGBQUAD{static_cast<BYTE>(i * 7), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3 + 1), 0});
  return c;
}

// Rows of a recognisable pattern: every byte differs with x and y, and only
// the bits that belong to a pixel are set.
std::vector<std::vector<uint8_t>> Pattern(int w, int h, int bpp) {
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> r(static_cast<size_t>(RowBytes(w, bpp)));
    for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(i * 37 + static_cast<size_t>(y) * 11 + 5);
    int usedBits = w * bpp % 8;
    if (usedBits) r.back() &= static_cast<uint8_t>(0xFF << (8 - usedBits));
    if (bpp == 16)  // 5-5-5 leaves the top bit unused
      for (size_t i = 1; i < r.size(); i += 2) r[i] &= 0x7F;
    rows.push_back(r);
  }
  return rows;
}

void ExpectRows(TBitmap* b, const std::vector<std::vector<uint8_t>>& rows) {
  ASSERT_EQ(b->GetHeight(), static_cast<int>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y) {
    SCOPED_TRACE(testing::Message() << "row " << y);
    auto* line = static_cast<const uint8_t*>(b->GetScanLine(static_cast<int>(y)));
    EXPECT_EQ(std::vector<uint8_t>(line, line + rows[y].size()), rows[y]);
  }
}

// ---------------------------------------------------------------------------

struct TDepthCase {
  const char* name;
  int bpp;
  uint32_t compression;
  std::vector<uint32_t> masks;
  int colors;
  TPixelFormat format;
};

const TDepthCase kDepths[] = {
    {"1bit", 1, BI_RGB, {}, 2, pf1bit},
    {"4bit", 4, BI_RGB, {}, 16, pf4bit},
    {"4bitShortTable", 4, BI_RGB, {}, 5, pf4bit},
    {"8bit", 8, BI_RGB, {}, 256, pf8bit},
    {"8bitShortTable", 8, BI_RGB, {}, 40, pf8bit},
    {"15bit", 16, BI_RGB, {}, 0, pf15bit},
    {"16bit565", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0, pf16bit},
    {"24bit", 24, BI_RGB, {}, 0, pf24bit},
    {"24bitWithOptionalTable", 24, BI_RGB, {}, 12, pf24bit},  // a table for palette displays, skipped
    {"32bit", 32, BI_RGB, {}, 0, pf32bit},
    {"32bitFields", 32, BI_BITFIELDS, {0xFF0000, 0x00FF00, 0x0000FF}, 0, pf32bit},
};

TEST(BitmapFile, EveryDepthReadsAndWritesBackItsPixels) {
  for (const auto& d : kDepths) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(testing::Message() << d.name << (topDown ? " top-down" : " bottom-up"));
      TBmpSpec s;
      s.width = 13;  // rows that end inside a byte and need padding
      s.height = 5;
      s.bpp = d.bpp;
      s.topDown = topDown;
      s.compression = d.compression;
      s.masks = d.masks;
      s.colors = Ramp(d.colors);
      s.rows = Pattern(s.width, s.height, s.bpp);
      const bool palette = d.bpp <= 8;
      if (palette && d.colors < (1 << d.bpp))
        for (auto& r : s.rows)  // indexes within the short table
          for (auto& byte : r) byte = d.bpp == 8 ? byte % d.colors : byte & 0x33;
      std::vector<uint8_t> file = BuildBmp(s);

      auto b = MakeOwned<TBitmap>();
      b->LoadFromBytes(file.data(), file.size());
      EXPECT_EQ(b->GetWidth(), 13);
      {
        Owned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
        stream->WriteBuffer(file.data(), static_cast<int>(file.size()));
        stream->SetPosition(0);
        auto viaStream = MakeOwned<TBitmap>();
        viaStream->LoadFromStream(stream.get());
        ExpectRows(viaStream.get(), s.rows);
      }
      EXPECT_EQ(b->GetPixelFormat(), d.format);
      ExpectRows(b.get(), s.rows);
      if (palette) {
        auto table = b->GetColorTable();
        ASSERT_EQ(table.size(), s.colors.size());
        EXPECT_EQ(std::memcmp(table.data(), s.colors.data(), table.size() * sizeof(RGBQUAD)), 0);
        // GDI reads the pixel through the same table.
        int index = d.bpp == 8 ? s.rows[2][3] : d.bpp == 4 ? s.rows[2][1] & 0xF : (s.rows[2][0] >> 4) & 1;
        int x = d.bpp == 1 ? 3 : 3;
        if (d.bpp == 1) index = (s.rows[2][0] >> (7 - x)) & 1;
        const RGBQUAD& c = s.colors[static_cast<size_t>(index)];
        EXPECT_EQ(b->GetCanvas()->GetPixels(x, 2), static_cast<TColor>(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)));
      } else {
        EXPECT_TRUE(b->GetColorTable().empty());
      }

      // Written in its own depth and read again: the same pixels.
      std::vector<uint8_t> saved = b->SaveToBytes();
      auto again = MakeOwned<TBitmap>();
      again->LoadFromBytes(saved.data(), saved.size());
      EXPECT_EQ(again->GetPixelFormat(), d.format);
      ExpectRows(again.get(), s.rows);
      EXPECT_EQ(again->SaveToBytes(), saved);
    }
  }
}

TEST(BitmapFile, CoreHeaderWithTripleColourTable) {
  TBmpSpec s;
  s.core = true;
  s.width = 3;
  s.height = 2;
  s.bpp = 8;
  s.colors = Ramp(256);
  s.rows = {{1, 2, 3}, {250, 251, 252}};
  auto file = BuildBmp(s);
  auto b = MakeOwned<TBitmap>();
  b->LoadFromBytes(file.data(), file.size());
  ExpectRows(b.get(), s.rows);
  EXPECT_EQ(b->GetCanvas()->GetPixels(1, 0), static_cast<TColor>(RGB(s.colors[2].rgbRed, s.colors[2].rgbGreen,
                                                                        s.colors[2].rgbBlue)));
}

TEST(BitmapFile, RunLengthEncodingIsDecoded) {
  struct {
    const char* name;
    int width, height, bpp;
    uint32_t compression;
    std::vector<uint8_t> rle;
    std::vector<std::vector<uint8_t>> rows;  // top first
  } cases[] = {
      {"RLE8", 6, 3, 8, BI_RLE8,
       {4, 1, 1, 2, 1, 3, 0, 0,            // bottom row: runs of four 1s, one 2, one 3
        0, 2, 2, 0, 2, 5, 0, 0,            // delta right 2, run of two 5s
        0, 3, 7, 8, 9, 0, 3, 4, 0, 1},     // absolute 7 8 9 (padded), run of three 4s, end
       {{7, 8, 9, 4, 4, 4}, {0, 0, 5, 5, 0, 0}, {1, 1, 1, 1, 2, 3}}},
      {"RLE4", 5, 2, 4, BI_RLE4,
       {5, 0x12, 0, 0,                     // bottom row: 1 2 1 2 1
        0, 5, 0x34, 0x56, 0x70, 0, 0, 1},  // absolute 3 4 5 6 7, end
       {{0x34, 0x56, 0x70}, {0x12, 0x12, 0x10}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    TBmpSpec s;
    s.width = c.width;
    s.height = c.height;
    s.bpp = c.bpp;
    s.compression = c.compression;
    s.colors = Ramp(1 << c.bpp);
    s.rle = c.rle;
    auto file = BuildBmp(s);
    auto b = MakeOwned<TBitmap>();
    b->LoadFromBytes(file.data(), file.size());
    EXPECT_EQ(b->GetPixelFormat(), c.bpp == 8 ? pf8bit : pf4bit);
    ExpectRows(b.get(), c.rows);
  }
}

// ---------------------------------------------------------------------------
// Damaged files: each raises EInvalidGraphic and leaves the bitmap as it was.

TBmpSpec GoodSpec() {
  TBmpSpec s;
  s.width = 4;
  s.height = 4;
  s.bpp = 8;
  s.colors = Ramp(16);
  s.rows = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}};
  return s;
}

std::vector<uint8_t> WithRle(std::vector<uint8_t> rle, bool topDown = false) {
  TBmpSpec s = GoodSpec();
  s.compression = BI_RLE8;
  s.rle = std::move(rle);
  s.topDown = topDown;
  return BuildBmp(s);
}

TEST(BitmapFile, DamagedFilesRaiseAndChangeNothing) {
  const std::vector<uint8_t> good = BuildBmp(GoodSpec());  // 14 + 40 + 64 + 16 bytes
  using TMutation = std::function<std::vector<uint8_t>()>;
  auto edit = [&](std::function<void(std::vector<uint8_t>&)> f) {
    return [&good, f] {
      std::vector<uint8_t> v = good;
      f(v);
      return v;
    };
  };
  struct {
    const char* name;
    TMutation file;
  } cases[] = {
      {"short file header", edit([](auto& v) { v.resize(10); })},
      {"short info header", edit([](auto& v) { v.resize(30); })},
      {"not BM", edit([](auto& v) { v[0] = 'X'; })},
      {"unknown header size", edit([](auto& v) { Set32(v, 14, 20); })},
      {"header larger than the file", edit([](auto& v) { Set32(v, 14, 4000); })},
      {"zero width", edit([](auto& v) { Set32(v, 18, 0); })},
      {"zero height", edit([](auto& v) { Set32(v, 22, 0); })},
      {"negative width", edit([](auto& v) { Set32(v, 18, 0xFFFFFFF0u); })},
      {"huge dimensions", edit([](auto& v) { Set32(v, 18, 0x7FFFFFFF), Set32(v, 22, 0x7FFFFFFF); })},
      {"huge RLE dimensions", [] { auto v = WithRle({0, 1}); Set32(v, 18, 30000), Set32(v, 22, 30000); return v; }},
      {"bad bit count", edit([](auto& v) { v[28] = 7; })},
      {"palette count above the depth, its table past the end", edit([](auto& v) {
         Set32(v, 46, 300);
         Set32(v, 10, 0);  // the pixels follow the table of 256 entries
       })},
      {"last row short of a pixel (it has no padding)", edit([](auto& v) { v.resize(v.size() - 1); })},
      {"colour table past the end", edit([](auto& v) { v.resize(80); })},
      {"pixel offset past the end", edit([](auto& v) { Set32(v, 10, 1000); })},
      {"pixel offset inside the header", edit([](auto& v) { Set32(v, 10, 20); })},
      {"truncated scan data", edit([](auto& v) { v.resize(v.size() - 5); })},
      {"unknown compression", edit([](auto& v) { Set32(v, 30, 9); })},
      {"bit fields on 8 bits", edit([](auto& v) { Set32(v, 30, BI_BITFIELDS); })},
      {"RLE8 on 4 bits", edit([](auto& v) { v[28] = 4; Set32(v, 30, BI_RLE8); })},
      {"RLE run past the line", [] { return WithRle({8, 1, 0, 1}); }},
      {"RLE absolute run past the line", [] { return WithRle({0, 6, 1, 2, 3, 4, 5, 6, 0, 1}); }},
      {"RLE delta outside", [] { return WithRle({0, 2, 9, 0, 0, 1}); }},
      {"RLE below the last line", [] { return WithRle({0, 2, 0, 4, 1, 1, 0, 1}); }},
      {"RLE truncated", [] { return WithRle({2, 1, 0, 0}); }},
      {"RLE absolute run truncated", [] { return WithRle({0, 4, 1, 2}); }},
      {"RLE top-down", [] { return WithRle({0, 1}, true); }},
  };
  for (auto& c : cases) {
    // From memory and from a stream (which reads the pixels on its own path).
    for (bool viaStream : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.name << (viaStream ? " (stream)" : ""));
      auto b = MakeBitmap(3, 2, pf24bit, clRed);
      std::vector<uint8_t> file = c.file();
      Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
      s->WriteBuffer(file.data(), static_cast<int>(file.size()));
      s->SetPosition(0);
      if (viaStream) EXPECT_THROW(b->LoadFromStream(s.get()), EInvalidGraphic);
      else EXPECT_THROW(b->LoadFromBytes(file.data(), file.size()), EInvalidGraphic);
      EXPECT_EQ(b->GetWidth(), 3);
      EXPECT_EQ(b->GetHeight(), 2);
      EXPECT_EQ(b->GetPixelFormat(), pf24bit);
      EXPECT_EQ(PixelAt(b.get(), 2, 1), clRed);
    }
  }
  // The good file itself loads.
  auto b = MakeOwned<TBitmap>();
  b->LoadFromBytes(good.data(), good.size());
  EXPECT_EQ(b->GetWidth(), 4);
}

// Files the system's own loader shows whole, although they break a rule of
// the format, load where no pixel is lost.
TEST(BitmapFile, FilesThatLoseNoPixelLoadAsTheSystemShowsThem) {
  struct TLenientCase {
    const char* name;
    TBmpSpec spec;
    std::function<void(std::vector<uint8_t>&)> edit;
    int colors;  // entries of the loaded colour table (0: a deep format)
  };
  auto spec = [](int w, int h, int bpp, bool topDown, int colors) {
    TBmpSpec s;
    s.width = w;
    s.height = h;
    s.bpp = bpp;
    s.topDown = topDown;
    s.colors = Ramp(colors);
    s.rows = Pattern(w, h, bpp);
    return s;
  };
  // The offset of the pixels in a file made by BuildBmp with no table.
  const uint32_t afterHeader = 14 + 40;
  TLenientCase cases[] = {
      {"8 bits, the last row's padding missing", spec(3, 4, 8, false, 256),
       [](auto& v) { v.resize(v.size() - 1); }, 256},
      {"24 bits, the last row's padding missing", spec(3, 4, 24, false, 0),
       [](auto& v) { v.resize(v.size() - 3); }, 0},
      {"24 bits top-down, the last row's padding missing", spec(3, 4, 24, true, 0),
       [](auto& v) { v.resize(v.size() - 3); }, 0},
      {"1 bit, the last row's padding missing", spec(9, 3, 1, false, 2),
       [](auto& v) { v.resize(v.size() - 2); }, 2},
      // The table as written has 20 entries; the depth indexes 16 of them.
      {"4 bits with 20 colours", spec(5, 3, 4, false, 20), nullptr, 16},
      {"8 bits with 300 colours, the pixels at their offset", spec(4, 2, 8, false, 256),
       [](auto& v) { Set32(v, 46, 300); }, 256},
      {"8 bits with a count of 2^32 - 1", spec(4, 2, 8, false, 256),
       [](auto& v) { Set32(v, 46, 0xFFFFFFFFu); }, 256},
      // No table follows the header, whatever the count says.
      {"24 bits counting 12 colours, the pixels right after the header", spec(3, 2, 24, false, 0),
       [afterHeader](auto& v) { Set32(v, 46, 12), Set32(v, 10, afterHeader); }, 0},
      {"32 bits counting 256 colours, the pixels right after the header", spec(2, 2, 32, false, 0),
       [afterHeader](auto& v) { Set32(v, 46, 256), Set32(v, 10, afterHeader); }, 0},
  };
  for (auto& c : cases) {
    std::vector<uint8_t> file = BuildBmp(c.spec);
    if (c.edit) c.edit(file);
    for (bool viaStream : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.name << (viaStream ? " (stream)" : ""));
      auto b = MakeOwned<TBitmap>();
      if (viaStream) {
        Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
        s->WriteBuffer(file.data(), static_cast<int>(file.size()));
        s->SetPosition(0);
        ASSERT_NO_THROW(b->LoadFromStream(s.get()));
      } else {
        ASSERT_NO_THROW(b->LoadFromBytes(file.data(), file.size()));
      }
      EXPECT_EQ(b->GetWidth(), c.spec.width);
      ExpectRows(b.get(), c.spec.rows);
      std::vector<RGBQUAD> table = b->GetColorTable();
      ASSERT_EQ(table.size(), static_cast<size_t>(c.colors));
      for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].rgbRed, c.spec.colors[i].rgbRed);
        EXPECT_EQ(table[i].rgbBlue, c.spec.colors[i].rgbBlue);
      }
    }
  }
}

TEST(BitmapFile, StreamsCarryTheFileAndTheStoredData) {
  auto b = MakeBitmap(5, 3, pf24bit, clTeal);
  b->GetCanvas()->SetPixels(4, 2, clYellow);
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  b->SaveToStream(s.get());
  EXPECT_EQ(s->GetSize(), static_cast<int64_t>(b->SaveToBytes().size()));
  s->SetPosition(0);
  auto c = MakeOwned<TBitmap>();
  c->LoadFromStream(s.get());
  EXPECT_EQ(PixelAt(c.get(), 4, 2), clYellow);
  EXPECT_EQ(PixelAt(c.get(), 0, 0), clTeal);

  // The stored-form data is the file behind its 32-bit length.
  Owned<TMemoryStream> d = MakeOwned<TMemoryStream>();
  b->WriteData(d.get());
  int32_t size = 0;
  std::memcpy(&size, d->GetMemory(), 4);
  EXPECT_EQ(size + 4, d->GetSize());
  d->SetPosition(0);
  auto e = MakeOwned<TBitmap>();
  e->ReadData(d.get());
  EXPECT_EQ(PixelAt(e.get(), 4, 2), clYellow);

  // A length that does not fit the data.
  int32_t tooLong = size + 100;
  std::memcpy(d->GetMemory(), &tooLong, 4);
  d->SetPosition(0);
  EXPECT_THROW(e->ReadData(d.get()), EInvalidGraphic);
  EXPECT_EQ(PixelAt(e.get(), 4, 2), clYellow);
}

TEST(BitmapFile, AnEmptyBitmapWritesNothingAndReadsBackEmpty) {
  auto b = MakeOwned<TBitmap>();
  EXPECT_TRUE(b->SaveToBytes().empty());
  auto c = MakeBitmap(2, 2);
  c->LoadFromBytes(nullptr, 0);
  EXPECT_TRUE(c->GetEmpty());
}

// ---------------------------------------------------------------------------

TEST(Bitmap, ScanLineRowsAreCheckedAndTopFirst) {
  auto b = MakeBitmap(4, 3, pf24bit);
  b->GetCanvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(PixelAt(b.get(), 0, 0), clRed);
  EXPECT_THROW(b->GetScanLine(-1), EInvalidGraphicOperation);
  EXPECT_THROW(b->GetScanLine(3), EInvalidGraphicOperation);
  auto row = b->ScanLineAs<RGBTRIPLE>(0);
  EXPECT_EQ(row[0].rgbtRed, 255);
#ifdef PERIVANE_CHECKED
  EXPECT_THROW(row[4], ERangeError);
#endif
}

// ScanLine flushes GDI's batch only when something may have drawn since the
// last flush, not on every row. Every way of drawing between two reads must
// count as drawing: after a pass over the rows (which leaves nothing
// pending), a draw and then a read flush once and see the drawn pixels, and a
// second draw after that read is flushed and seen too. Wine draws at once, so
// the flushes are counted through the seam.
TEST(Bitmap, ScanLineSeesWhatWasDrawnAfterAPass) {
  const TRect area = Rect(2, 1, 6, 3);
  struct TDrawCase {
    const char* name;
    std::function<void(TBitmap*, TColor)> draw;
  };
  const TDrawCase cases[] = {
      {"canvas FillRect",
       [&](TBitmap* b, TColor c) {
         b->GetCanvas()->GetBrush()->SetColor(c);
         b->GetCanvas()->FillRect(area);
       }},
      {"canvas Pixels", [](TBitmap* b, TColor c) { b->GetCanvas()->SetPixels(3, 2, c); }},
      {"GDI on the canvas's handle",
       [&](TBitmap* b, TColor c) {
         HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(c));
         RECT r = area;
         FillRect(b->GetCanvas()->GetHandle(), &r, brush);
         DeleteObject(brush);
       }},
      {"GDI on the bitmap's handle in a DC of its own",
       [&](TBitmap* b, TColor c) {
         HDC dc = CreateCompatibleDC(nullptr);
         HGDIOBJ old = SelectObject(dc, b->GetHandle());
         HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(c));
         RECT r = area;
         FillRect(dc, &r, brush);
         DeleteObject(brush);
         SelectObject(dc, old);
         DeleteDC(dc);
       }},
      {"canvas Draw of another bitmap",
       [](TBitmap* b, TColor c) {
         auto source = MakeBitmap(4, 2, pf24bit, c);
         b->GetCanvas()->Draw(2, 1, source.get());
       }},
      {"canvas CopyRect from another canvas",
       [&](TBitmap* b, TColor c) {
         auto source = MakeBitmap(8, 4, pf32bit, c);
         b->GetCanvas()->CopyRect(area, source->GetCanvas(), area);
       }},
      {"Assign of another bitmap",
       [](TBitmap* b, TColor c) {
         auto source = MakeBitmap(8, 4, b->GetPixelFormat(), c);
         b->Assign(source.get());
       }},
  };
  int flushes = 0;
  TSeamOverride<decltype(Seams().GdiFlush)> counted(Seams().GdiFlush, [&flushes] {
    ++flushes;
    return ::GdiFlush();
  });
  for (TPixelFormat pf : {pf24bit, pf32bit}) {
    for (const TDrawCase& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << ", pixel format " << static_cast<int>(pf));
      auto b = MakeBitmap(8, 4, pf);
      for (int y = 0; y < b->GetHeight(); ++y) ASSERT_EQ(PixelAt(b.get(), 3, y), clWhite);
      flushes = 0;
      for (int y = 0; y < b->GetHeight(); ++y) PixelAt(b.get(), 3, y);
      EXPECT_EQ(flushes, 0) << "a pass after nothing was drawn flushes nothing";
      for (TColor color : {clRed, clBlue}) {
        c.draw(b.get(), color);
        const int before = flushes;
        EXPECT_EQ(PixelAt(b.get(), 3, 2), color);
        EXPECT_EQ(flushes, before + 1);
        for (int y = 0; y < b->GetHeight(); ++y) PixelAt(b.get(), 3, y);
        EXPECT_EQ(flushes, before + 1) << "rows read after the flush flush nothing more";
      }
    }
  }
}

TEST(Bitmap, ResizingKeepsThePixelsAndWhitensTheNewArea) {
  for (TPixelFormat pf : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(static_cast<int>(pf));
    auto b = MakeBitmap(3, 2, pf, clBlack);
    EXPECT_EQ(b->GetCanvas()->GetPixels(2, 1), clBlack);
    b->SetSize(11, 4);
    EXPECT_EQ(b->GetPixelFormat(), pf);
    EXPECT_EQ(b->GetCanvas()->GetPixels(0, 0), clBlack);
    EXPECT_EQ(b->GetCanvas()->GetPixels(2, 1), clBlack);
    EXPECT_EQ(b->GetCanvas()->GetPixels(3, 1), clWhite);
    EXPECT_EQ(b->GetCanvas()->GetPixels(10, 3), clWhite);
    EXPECT_EQ(b->GetCanvas()->GetPixels(0, 2), clWhite);
  }
}

TEST(Bitmap, WidthAndHeightSetOneAtATimeMakeTheImage) {
  enum TOrder { WidthFirst, HeightFirst, FormatBetween, BothAtOnce };
  const char* names[] = {"width, height", "height, width", "width, format, height", "size"};
  for (TPixelFormat pf : {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    for (TOrder order : {WidthFirst, HeightFirst, FormatBetween, BothAtOnce}) {
      SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(pf) << ", " << names[order]);
      auto b = MakeOwned<TBitmap>();
      if (order != FormatBetween) b->SetPixelFormat(pf);
      switch (order) {
        case WidthFirst:
        case FormatBetween:
          b->SetWidth(5);
          // No pixels yet, but the width is kept for the height to come.
          EXPECT_TRUE(b->GetEmpty());
          EXPECT_EQ(b->GetWidth(), 5);
          EXPECT_EQ(b->GetHeight(), 0);
          if (order == FormatBetween) b->SetPixelFormat(pf);
          b->SetHeight(3);
          break;
        case HeightFirst:
          b->SetHeight(3);
          EXPECT_TRUE(b->GetEmpty());
          EXPECT_EQ(b->GetHeight(), 3);
          b->SetWidth(5);
          break;
        case BothAtOnce: b->SetSize(5, 3); break;
      }
      ASSERT_FALSE(b->GetEmpty());
      EXPECT_EQ(b->GetWidth(), 5);
      EXPECT_EQ(b->GetHeight(), 3);
      EXPECT_EQ(b->GetPixelFormat(), pf);
      EXPECT_NE(b->GetScanLine(2), nullptr);
      EXPECT_THROW(b->GetScanLine(3), EInvalidGraphicOperation);
      EXPECT_EQ(b->GetCanvas()->GetPixels(4, 2), clWhite);
    }
  }
}

TEST(Bitmap, AZeroSideEmptiesTheImageAndKeepsTheOther) {
  auto b = MakeBitmap(5, 3, pf24bit, clBlack);
  b->SetHeight(0);
  EXPECT_TRUE(b->GetEmpty());
  EXPECT_EQ(b->GetWidth(), 5);
  EXPECT_THROW(b->GetScanLine(0), EInvalidGraphicOperation);
  b->SetHeight(2);
  EXPECT_EQ(b->GetWidth(), 5);
  EXPECT_EQ(b->GetPixelFormat(), pf24bit);
  EXPECT_EQ(b->GetCanvas()->GetPixels(4, 1), clWhite) << "the old pixels went with the image";
  // Taking the image away leaves nothing of its size.
  b->Assign(nullptr);
  EXPECT_EQ(b->GetWidth(), 0);
  EXPECT_EQ(b->GetHeight(), 0);
}

TEST(Bitmap, PixelFormatConvertsThePixels) {
  struct {
    TPixelFormat to;
    TColor in, out;
  } cases[] = {
      {pf1bit, clBlack, clBlack}, {pf1bit, clWhite, clWhite}, {pf4bit, clRed, clRed},
      {pf4bit, clSilver, clSilver}, {pf8bit, clWhite, clWhite}, {pf15bit, 0x102030, 0x102030},
      {pf16bit, clBlue, clBlue}, {pf32bit, 0x123456, 0x123456},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.to << " " << std::hex << c.in);
    auto b = MakeBitmap(2, 2, pf24bit, c.in);
    b->SetPixelFormat(c.to);
    EXPECT_EQ(b->GetPixelFormat(), c.to);
    TColor got = b->GetCanvas()->GetPixels(1, 1);
    if (c.to == pf15bit) EXPECT_EQ(got & 0xF8F8F8, c.out & 0xF8F8F8);
    else EXPECT_EQ(got, c.out);
  }
  auto b = MakeBitmap(1, 1);
  EXPECT_THROW(b->SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(Bitmap, ANewBitmapIsInTheDisplaysFormat) {
  for (int depth : {32, 24, 16, 8}) {
    SCOPED_TRACE(depth);
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [depth] { return depth; });
    auto b = MakeOwned<TBitmap>();
    b->SetSize(3, 3);
    EXPECT_EQ(b->GetPixelFormat(), pfDevice);
    EXPECT_EQ(b->GetHandleType(), bmDDB);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(b->GetHandle(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, depth == 24 ? 24 : depth);
    EXPECT_EQ(b->GetCanvas()->GetPixels(1, 1), clWhite);
    // Naming it a DIB keeps the pixels in the same depth.
    b->SetHandleType(bmDIB);
    EXPECT_NE(b->GetPixelFormat(), pfDevice);
  }
}

TEST(Bitmap, MaskSetsTheBitsOfTheKeyColour) {
  for (TPixelFormat pf : {pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(static_cast<int>(pf));
    auto b = MakeBitmap(10, 2, pf, clWhite);
    for (int x : {0, 3, 8, 9}) b->GetCanvas()->SetPixels(x, 1, clRed);
    b->GetCanvas()->SetPixels(5, 0, clBlue);
    b->Mask(clRed);
    EXPECT_EQ(b->GetPixelFormat(), pf1bit);
    EXPECT_TRUE(b->GetMonochrome());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 10; ++x) {
        bool key = y == 1 && (x == 0 || x == 3 || x == 8 || x == 9);
        EXPECT_EQ(BitAt(b.get(), x, y), key ? 1 : 0) << x << "," << y;
        EXPECT_EQ(b->GetCanvas()->GetPixels(x, y), key ? clWhite : clBlack);
      }
  }
}

TEST(Bitmap, AMonochromeDeviceBitmapConvertsByTheDCColours) {
  // The mask idiom: a colour image copied into a monochrome bitmap with the
  // source's background colour set to the key gives white (set) there only;
  // the mask copied onto colour takes the destination's text and background
  // colours.
  auto image = MakeBitmap(4, 1, pf24bit);
  TColor px[] = {clRed, clYellow, clRed, clBlack};
  for (int x = 0; x < 4; ++x) image->GetCanvas()->SetPixels(x, 0, px[x]);
  auto mask = MakeOwned<TBitmap>();
  mask->SetMonochrome(true);
  mask->SetSize(4, 1);
  EXPECT_TRUE(mask->GetMonochrome());
  EXPECT_EQ(mask->GetPixelFormat(), pfDevice);
  EXPECT_EQ(mask->GetCanvas()->GetPixels(3, 0), clWhite);  // a new area is white
  HDC src = image->GetCanvas()->GetHandle();
  SetBkColor(src, RGB(255, 0, 0));
  BitBlt(mask->GetCanvas()->GetHandle(), 0, 0, 4, 1, src, 0, 0, SRCCOPY);

  auto out = MakeBitmap(4, 1, pf24bit);
  HDC dst = out->GetCanvas()->GetHandle();
  SetTextColor(dst, RGB(0, 0, 255));
  SetBkColor(dst, RGB(0, 255, 0));
  BitBlt(dst, 0, 0, 4, 1, mask->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
  TColor expected[] = {clLime, clBlue, clLime, clBlue};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(out.get(), x, 0), expected[x]) << x;

  // Copies, files and scan lines see the same bits.
  auto copy = MakeOwned<TBitmap>();
  copy->Assign(mask.get());
  EXPECT_EQ(copy->GetPixelFormat(), pfDevice);
  std::vector<uint8_t> file = mask->SaveToBytes();
  auto loaded = MakeOwned<TBitmap>();
  loaded->LoadFromBytes(file.data(), file.size());
  for (TBitmap* b : {mask.get(), copy.get(), loaded.get()}) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(BitAt(b, x, 0), x % 2 == 0 ? 1 : 0) << x;
    EXPECT_EQ(b->GetPixelFormat(), pf1bit);  // scan lines made it a DIB
  }
}

TEST(Bitmap, TransparentColourDefaultsToTheBottomLeftPixel) {
  auto b = MakeBitmap(3, 3, pf24bit);
  b->GetCanvas()->SetPixels(0, 2, clLime);
  EXPECT_EQ(b->GetTransparentMode(), tmAuto);
  EXPECT_EQ(b->GetTransparentColor(), clLime);
  b->SetTransparentColor(clBtnFace);
  EXPECT_EQ(b->GetTransparentMode(), tmFixed);
  EXPECT_EQ(b->GetTransparentColor(), ColorToRGB(clBtnFace));
  b->SetTransparentMode(tmAuto);
  EXPECT_EQ(b->GetTransparentColor(), clLime);
  // The mask follows the transparent colour.
  HBITMAP mask = b->GetMaskHandle();
  BITMAP bm{};
  GetObjectA(mask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidth, 3);
}

TEST(Bitmap, AssignCopiesAndDrawsOtherGraphics) {
  auto a = MakeBitmap(4, 2, pf8bit, clRed);
  a->SetTransparent(true);
  a->SetTransparentColor(clRed);
  auto b = MakeOwned<TBitmap>();
  b->Assign(a.get());
  EXPECT_EQ(b->GetPixelFormat(), pf8bit);
  EXPECT_TRUE(b->GetTransparent());
  EXPECT_EQ(b->GetTransparentColor(), clRed);
  EXPECT_EQ(b->GetCanvas()->GetPixels(3, 1), clRed);
  // A copy, not a share.
  a->GetCanvas()->SetPixels(3, 1, clBlue);
  EXPECT_EQ(b->GetCanvas()->GetPixels(3, 1), clRed);
  b->Assign(nullptr);
  EXPECT_TRUE(b->GetEmpty());
}

TEST(Bitmap, PaletteFormatsHaveTheirColourTableAsPalette) {
  TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 8; });
  TBmpSpec s = GoodSpec();
  s.colors = Ramp(256);
  auto file = BuildBmp(s);
  auto b = MakeOwned<TBitmap>();
  b->LoadFromBytes(file.data(), file.size());
  HPALETTE pal = b->GetPalette();
  ASSERT_NE(pal, nullptr);
  PALETTEENTRY e[256]{};
  ASSERT_EQ(GetPaletteEntries(pal, 0, 256, e), 256u);
  for (int i : {0, 17, 255}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(e[i].peRed, s.colors[i].rgbRed);
    EXPECT_EQ(e[i].peGreen, s.colors[i].rgbGreen);
    EXPECT_EQ(e[i].peBlue, s.colors[i].rgbBlue);
  }
  // A palette handed in becomes the colour table.
  struct {
    WORD version, count;
    PALETTEENTRY entries[256];
  } lp{0x300, 256, {}};
  for (int i = 0; i < 256; ++i) lp.entries[i] = PALETTEENTRY{BYTE(255 - i), BYTE(i), 0, 0};
  b->SetPalette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
  EXPECT_EQ(b->GetColorTable()[5].rgbRed, 250);
  EXPECT_EQ(b->GetCanvas()->GetPixels(1, 1), static_cast<TColor>(RGB(250, 5, 0)));  // index 5
}

TEST(Bitmap, DeepBitmapsGetAHalftonePaletteOnlyOnPaletteDisplays) {
  auto b = MakeBitmap(2, 2, pf24bit);
  {
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 32; });
    EXPECT_EQ(b->GetPalette(), nullptr);
  }
  TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 8; });
  HPALETTE pal = b->GetPalette();
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 256u);
  b->SetIgnorePalette(true);
  EXPECT_EQ(b->GetPalette(), nullptr);
}

// The records a Draw leaves in an enhanced metafile show what it did to the DC.
std::vector<DWORD> RecordsOfDraw(TBitmap* src) {
  HDC emf = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  {
    Owned<TCanvas> c = MakeOwned<TCanvas>();
    c->SetHandle(emf);
    c->Draw(0, 0, src);
    c->SetHandle(nullptr);
  }
  HENHMETAFILE h = CloseEnhMetaFile(emf);
  std::vector<DWORD> types;
  EnumEnhMetaFile(
      nullptr, h,
      [](HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM p) -> int {
        reinterpret_cast<std::vector<DWORD>*>(p)->push_back(r->iType);
        return 1;
      },
      &types, nullptr);
  DeleteEnhMetaFile(h);
  return types;
}

TEST(Bitmap, DrawingRealisesThePaletteOnlyOnPaletteDisplays) {
  auto src = MakeBitmap(2, 2, pf8bit, clRed);
  auto has = [](const std::vector<DWORD>& v, DWORD t) { return std::find(v.begin(), v.end(), t) != v.end(); };
  {
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 8; });
    auto records = RecordsOfDraw(src.get());
    // (Wine's metafiles do not record RealizePalette; the selection shows.)
    EXPECT_TRUE(has(records, EMR_SELECTPALETTE));
  }
  {
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 32; });
    auto records = RecordsOfDraw(src.get());
    EXPECT_FALSE(has(records, EMR_SELECTPALETTE));
  }
  // Drawn into a DIB on a palette display, the pixels are right and the
  // destination's palette is the one it had.
  TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 8; });
  auto dst = MakeBitmap(3, 3, pf24bit);
  HDC dc = dst->GetCanvas()->GetHandle();
  HGDIOBJ before = GetCurrentObject(dc, OBJ_PAL);
  dst->GetCanvas()->Draw(1, 1, src.get());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), before);
  EXPECT_EQ(PixelAt(dst.get(), 2, 2), clRed);
  EXPECT_EQ(PixelAt(dst.get(), 0, 0), clWhite);
}

}  // namespace

namespace {

TEST(Bitmap, ResourcesLoadByNameAndNumber) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  for (int byId : {0, 1}) {
    SCOPED_TRACE(byId);
    auto b = MakeBitmap(1, 1);
    if (byId) b->LoadFromResourceID(module, 4201);
    else b->LoadFromResourceName(module, "GRAPHICS_TEST_GLYPH");
    ASSERT_EQ(b->GetWidth(), 4);
    ASSERT_EQ(b->GetHeight(), 2);
    EXPECT_EQ(b->GetPixelFormat(), pf4bit);
    TColor top[] = {clBlue, clBlue, clRed, clRed}, bottom[] = {clRed, clBlue, clRed, clBlue};
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(b->GetCanvas()->GetPixels(x, 0), top[x]) << x;
      EXPECT_EQ(b->GetCanvas()->GetPixels(x, 1), bottom[x]) << x;
    }
  }
  auto b = MakeBitmap(2, 2, pf24bit, clRed);
  EXPECT_THROW(b->LoadFromResourceName(module, "NO_SUCH_GLYPH"), EResNotFound);
  EXPECT_EQ(PixelAt(b.get(), 1, 1), clRed);
}

}  // namespace
