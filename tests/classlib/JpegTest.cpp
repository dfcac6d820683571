#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Jpeg.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/Metafile.h"
#include "tests/classlib/GraphicsTestUtil.h"
#include "tests/classlib/JpegFixture.h"

using namespace graphics_test;

namespace {

enum class TKind { Baseline, Progressive, Gray, Cmyk };

struct TRgb {
  int R, G, B;
};

// The fixture pattern: smooth ramps, which JPEG keeps within a few levels.
TRgb Expected(TKind kind, int x, int y) {
  if (kind == TKind::Gray) {
    int v = 30 + x + y * 2;
    return {v, v, v};
  }
  if (kind == TKind::Cmyk) return {200, 100, 50};
  return {40 + x * 2, 40 + y * 2, 200 - x};
}

// A JPEG of the pattern, made with libjpeg-turbo's compressor.
std::vector<uint8_t> EncodeJpeg(int w, int h, TKind kind) {
  jpeg_fixture::TJpegSpec spec;
  spec.Width = w;
  spec.Height = h;
  spec.Components = kind == TKind::Gray ? 1 : kind == TKind::Cmyk ? 4 : 3;
  spec.ColorSpace = kind == TKind::Gray ? JCS_GRAYSCALE : kind == TKind::Cmyk ? JCS_CMYK : JCS_RGB;
  spec.Progressive = kind == TKind::Progressive;
  return jpeg_fixture::EncodeJpeg(spec, [kind](int x, int y, int k) {
    TRgb p = Expected(kind, x, y);
    // Adobe's inverted CMYK (libjpeg writes the Adobe marker): no black ink,
    // so each colour is 255 minus its ink, stored as is.
    if (kind == TKind::Cmyk && k == 3) return uint8_t(255);
    return uint8_t(k == 0 ? p.R : k == 1 ? p.G : p.B);
  });
}

TRgb PixelOf(TBitmap* b, int x, int y) {
  auto* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  if (b->GetPixelFormat() == pf8bit) {
    std::vector<RGBQUAD> table = b->GetColorTable();
    RGBQUAD q = table.at(row[x]);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
  }
  return {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
}

void ExpectNear(TRgb got, TRgb want, int tolerance) {
  EXPECT_NEAR(got.R, want.R, tolerance);
  EXPECT_NEAR(got.G, want.G, tolerance);
  EXPECT_NEAR(got.B, want.B, tolerance);
}

struct TDecodeCase {
  const char* Name;
  TKind Kind;
  TPixelFormat Format;
  bool Progressive;
  bool Grayscale;
};

void PrintTo(const TDecodeCase& c, std::ostream* os) { *os << c.Name; }

class JpegDecodeTest : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(JpegDecodeTest, DecodesSizeAndPixels) {
  const TDecodeCase& c = GetParam();
  auto data = EncodeJpeg(64, 48, c.Kind);
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg->LoadFromStream(StreamOf(data).get());
  EXPECT_EQ(jpeg->GetWidth(), 64);
  EXPECT_EQ(jpeg->GetHeight(), 48);
  EXPECT_FALSE(jpeg->GetEmpty());
  EXPECT_EQ(jpeg->GetProgressiveEncoding(), c.Progressive);
  EXPECT_EQ(jpeg->GetGrayscale(), c.Grayscale);
  TBitmap* b = jpeg->GetBitmap();
  EXPECT_EQ(b->GetPixelFormat(), c.Format);
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}, {31, 20}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    ExpectNear(PixelOf(b, x, y), Expected(c.Kind, x, y), 8);
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, JpegDecodeTest,
                         ::testing::Values(TDecodeCase{"BaselineColour", TKind::Baseline, pf24bit, false, false},
                                           TDecodeCase{"ProgressiveColour", TKind::Progressive, pf24bit, true, false},
                                           TDecodeCase{"Greyscale", TKind::Gray, pf8bit, false, true},
                                           TDecodeCase{"AdobeCmyk", TKind::Cmyk, pf24bit, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(JpegTest, ScaleDecodesAtAFractionRoundingUp) {
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg->LoadFromStream(StreamOf(EncodeJpeg(66, 50, TKind::Baseline)).get());
  struct {
    TJPEGScale Scale;
    int W, H;
  } cases[] = {{jsHalf, 33, 25}, {jsQuarter, 17, 13}, {jsEighth, 9, 7}, {jsFullSize, 66, 50}};
  for (auto& c : cases) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TJPEGScale>(), c.Scale));
    jpeg->SetScale(c.Scale);
    EXPECT_EQ(jpeg->GetWidth(), c.W);  // from the header, before decoding
    EXPECT_EQ(jpeg->GetBitmap()->GetWidth(), c.W);
    EXPECT_EQ(jpeg->GetBitmap()->GetHeight(), c.H);
  }
}

TEST(JpegTest, GrayscaleDecodesAColourImageToGrey) {
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg->LoadFromStream(StreamOf(EncodeJpeg(16, 16, TKind::Baseline)).get());
  jpeg->SetGrayscale(true);
  TBitmap* b = jpeg->GetBitmap();
  EXPECT_EQ(b->GetPixelFormat(), pf8bit);
  TRgb p = PixelOf(b, 8, 8), c = Expected(TKind::Baseline, 8, 8);
  EXPECT_NEAR(p.R, (c.R * 299 + c.G * 587 + c.B * 114) / 1000, 8);
  EXPECT_EQ(p.R, p.G);
}

// Damaged files built from a good one; each must raise EInvalidGraphic and
// leave a loaded image as it was.
TEST(JpegTest, DamagedDataRaisesAndLeavesTheImageUnchanged) {
  const std::vector<uint8_t> good = EncodeJpeg(32, 24, TKind::Baseline);
  // SOF0: marker, length, precision, then height and width (big-endian).
  auto withSize = [&](int height, int width) {
    std::vector<uint8_t> v = good;
    for (size_t i = 0; i + 8 < v.size(); ++i)
      if (v[i] == 0xFF && v[i + 1] == 0xC0) {
        v[i + 5] = uint8_t(height >> 8), v[i + 6] = uint8_t(height);
        v[i + 7] = uint8_t(width >> 8), v[i + 8] = uint8_t(width);
        break;
      }
    return v;
  };
  std::vector<uint8_t> garbage(600);
  uint32_t seed = 12345;
  for (auto& b : garbage) b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
  struct {
    const char* Name;
    std::vector<uint8_t> Data;
    const char* Message;  // how the message starts
  } cases[] = {
      {"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 120), "JPEG error #"},
      {"truncated scan data", std::vector<uint8_t>(good.begin(), good.begin() + good.size() * 3 / 4),
       "JPEG error #"},
      {"garbage", garbage, "JPEG error #"},
      {"empty", {}, "JPEG error #"},
      {"zero width", withSize(24, 0), "JPEG error #"},
      {"huge dimensions", withSize(60000, 60000), "JPEG image is too large (60000 x 60000)"},
  };

  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg->LoadFromStream(StreamOf(EncodeJpeg(16, 8, TKind::Gray)).get());
  const std::vector<uint8_t> before = jpeg->GetData();
  TRgb pixel = PixelOf(jpeg->GetBitmap(), 5, 5);
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      jpeg->LoadFromStream(StreamOf(c.Data).get());
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.GetMessage().rfind(c.Message, 0), 0u) << e.GetMessage();
    }
    EXPECT_EQ(jpeg->GetData(), before);
    EXPECT_EQ(jpeg->GetWidth(), 16);
    EXPECT_EQ(jpeg->GetHeight(), 8);
    EXPECT_EQ(PixelOf(jpeg->GetBitmap(), 5, 5).R, pixel.R);
  }
}

// One rule for every coding: data the decoder reports corrupt or lost fail
// the load with its message and leave the image as it was; a file that
// lacks only its end marker loads whole. A header claiming more than the
// data can fill is refused: Huffman coding spends at least a bit a block,
// and what libjpeg would hold for a progressive picture counts towards the
// size limit. Arithmetic coding has no such floor (a flat picture's data may
// end rows before its last, the rest being zeros the encoder left out), so
// a sequential one is held to the size limit alone.
TEST(JpegTest, EveryCodingFailsOnLostOrCorruptDataAndLoadsWithoutItsEndMarker) {
  struct TCoding {
    const char* Name;
    bool Progressive, Arithmetic;
    int BogusWidth;  // with a height of 9000
  };
  const TCoding codings[] = {{"baseline", false, false, 9000},
                             {"progressive", true, false, 9000},
                             {"arithmetic", false, true, 10000},
                             {"arithmetic progressive", true, true, 9000}};
  for (const TCoding& coding : codings) {
    SCOPED_TRACE(coding.Name);
    jpeg_fixture::TJpegSpec spec;
    spec.Width = 64;
    spec.Height = 48;
    spec.Progressive = coding.Progressive;
    spec.Arithmetic = coding.Arithmetic;
    const std::vector<uint8_t> good = jpeg_fixture::EncodeJpeg(spec, [](int x, int y, int k) {
      TRgb p = Expected(TKind::Baseline, x, y);
      return uint8_t((k == 0 ? p.R : k == 1 ? p.G : p.B) + (x * y) % 9);
    });
    // The longest scan: damage and cuts land in entropy-coded data.
    std::vector<jpeg_fixture::TScanData> scans = jpeg_fixture::ScanDataOf(good);
    ASSERT_FALSE(scans.empty());
    jpeg_fixture::TScanData scan = scans[0];
    for (const auto& s : scans)
      if (s.End - s.Begin > scan.End - scan.Begin) scan = s;
    ASSERT_GT(scan.End - scan.Begin, 40u);
    std::vector<uint8_t> damaged = good;
    uint32_t seed = 99;
    // Eight bytes of noise, then 32 one-bits (0xFF is stuffed as 0xFF 0x00),
    // which no Huffman table has a code for.
    const size_t at = scan.Begin + (scan.End - scan.Begin) / 3;
    for (size_t i = at; i < at + 8; ++i) {
      uint8_t b = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
      damaged[i] = b == 0xFF ? 0x5A : b;
    }
    for (size_t i = at + 8; i < at + 12; i += 2) damaged[i] = 0xFF, damaged[i + 1] = 0x00;
    std::vector<uint8_t> cutInScan(good.begin(), good.begin() + static_cast<ptrdiff_t>((scan.Begin + scan.End) / 2));

    Owned<TJPEGImage> intact = MakeOwned<TJPEGImage>();
    intact->LoadFromStream(StreamOf(good).get());
    // Without its end marker, or with half of it: every pixel is there.
    for (size_t cut : {2u, 1u}) {
      SCOPED_TRACE(cut == 2 ? "no end marker" : "end marker cut");
      Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
      jpeg->LoadFromStream(StreamOf(std::vector<uint8_t>(good.begin(), good.end() - static_cast<ptrdiff_t>(cut))).get());
      ASSERT_EQ(jpeg->GetWidth(), 64);
      int differ = 0;
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
          TRgb a = PixelOf(jpeg->GetBitmap(), x, y), b = PixelOf(intact->GetBitmap(), x, y);
          differ += a.R != b.R || a.G != b.G || a.B != b.B;
        }
      EXPECT_EQ(differ, 0);
    }
    struct TBadCase {
      const char* Name;
      std::vector<uint8_t> Data;
      const char* Message;  // how the message starts
    } bad[] = {
        {"damaged scan", damaged, "JPEG error #"},
        {"cut inside a scan", cutInScan, "JPEG error #"},
        {"bogus dimensions", jpeg_fixture::WithFrameSize(good, 9000, coding.BogusWidth), "JPEG image is too large"},
    };
    const std::vector<uint8_t> before = EncodeJpeg(16, 8, TKind::Gray);
    for (const TBadCase& c : bad) {
      SCOPED_TRACE(c.Name);
      Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
      jpeg->LoadFromStream(StreamOf(before).get());
      try {
        jpeg->LoadFromStream(StreamOf(c.Data).get());
        ADD_FAILURE() << "loaded";
      } catch (const EJPEG& e) {
        EXPECT_EQ(e.GetMessage().rfind(c.Message, 0), 0u) << e.GetMessage();
      }
      EXPECT_EQ(jpeg->GetData(), before);
      EXPECT_EQ(jpeg->GetWidth(), 16);
    }
  }
}

TEST(JpegTest, StoredDataRoundTripAndAssignToBitmap) {
  auto data = EncodeJpeg(20, 10, TKind::Baseline);
  Owned<TJPEGImage> a = MakeOwned<TJPEGImage>();
  a->LoadFromStream(StreamOf(data).get());
  Owned<TMemoryStream> stored = MakeOwned<TMemoryStream>();
  a->WriteData(stored.get());
  EXPECT_EQ(stored->GetSize(), static_cast<int64_t>(4 + data.size()));
  stored->SetPosition(0);
  Owned<TJPEGImage> b = MakeOwned<TJPEGImage>();
  b->ReadData(stored.get());
  EXPECT_EQ(b->GetData(), data);

  Owned<TBitmap> bmp = MakeOwned<TBitmap>();
  bmp->Assign(b.get());
  EXPECT_EQ(bmp->GetWidth(), 20);
  ExpectNear(PixelOf(bmp.get(), 3, 4), Expected(TKind::Baseline, 3, 4), 8);

  // From a bitmap: no JPEG data to write.
  Owned<TJPEGImage> c = MakeOwned<TJPEGImage>();
  c->Assign(bmp.get());
  EXPECT_EQ(c->GetWidth(), 20);
  Owned<TMemoryStream> out = MakeOwned<TMemoryStream>();
  EXPECT_THROW(c->SaveToStream(out.get()), EInvalidGraphic);
}

TEST(JpegTest, DrawStretchesTheDecodedImage) {
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg->LoadFromStream(StreamOf(EncodeJpeg(8, 8, TKind::Gray)).get());
  Owned<TBitmap> target = MakeOwned<TBitmap>();
  target->SetPixelFormat(pf24bit);
  target->SetSize(16, 16);
  target->GetCanvas()->StretchDraw(Rect(0, 0, 16, 16), jpeg.get());
  ExpectNear(PixelOf(target.get(), 15, 15), Expected(TKind::Gray, 7, 7), 8);
}

// Files made from each graphic's own saved bytes, in a temporary folder.
class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "JpegTest" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (auto& f : files_) DeleteFileA(f.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::string Write(const std::string& name, TGraphic* graphic) {
    std::string path = dir_ + "\\" + name;
    Owned<TFileStream> f = MakeOwned<TFileStream>(path, fmCreate);
    graphic->SaveToStream(f.get());
    files_.push_back(path);
    return path;
  }

 private:
  std::string dir_;
  std::vector<std::string> files_;
};

TEST_F(PictureFiles, PictureChoosesTheGraphicClassByExtension) {
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg->LoadFromStream(StreamOf(EncodeJpeg(8, 8, TKind::Baseline)).get());
  Owned<TIcon> icon = MakeOwned<TIcon>();
  BYTE andBits[32 * 4] = {}, xorBits[32 * 4] = {};
  icon->SetHandle(CreateIcon(nullptr, 32, 32, 1, 1, andBits, xorBits));
  Owned<TMetafile> emf = MakeOwned<TMetafile>();
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  Rectangle(dc, 0, 0, 10, 10);
  emf->SetHandle(CloseEnhMetaFile(dc));
  Owned<TMetafile> wmf = MakeOwned<TMetafile>();
  wmf->Assign(emf.get());
  wmf->SetEnhanced(false);
  struct {
    std::string Name;
    TGraphic* Source;
    TClass Class;
  } cases[] = {{"a.jpg", jpeg.get(), TJPEGImage::StaticClass()},
               {"b.JPEG", jpeg.get(), TJPEGImage::StaticClass()},
               {"c.ico", icon.get(), TIcon::StaticClass()},
               {"d.emf", emf.get(), TMetafile::StaticClass()},
               {"e.wmf", wmf.get(), TMetafile::StaticClass()}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string path = Write(c.Name, c.Source);
    Owned<TPicture> picture = MakeOwned<TPicture>();
    picture->LoadFromFile(path);
    ASSERT_NE(picture->GetGraphic(), nullptr);
    EXPECT_EQ(picture->GetGraphic()->ClassType(), c.Class);
    EXPECT_EQ(picture->GetWidth(), c.Source->GetWidth());
  }
}

}  // namespace

// The arithmetic encoder leaves out the zero bytes that end a scan, and a
// flat area costs almost nothing but zero bytes: a picture whose lower rows
// are one colour ends its data, and meets its end marker, rows before its
// last block row. Such a file is whole and must load, so an early end of an
// arithmetic scan cannot count as lost data.
TEST(JpegTest, ArithmeticPicturesWhoseDataEndBeforeTheirFlatLastRowsLoadWhole) {
  for (bool progressive : {false, true}) {
    for (int flatFrom : {20, 75, 140}) {
      SCOPED_TRACE(std::to_string(flatFrom) + (progressive ? " progressive" : " sequential"));
      jpeg_fixture::TJpegSpec spec;
      spec.Width = 227;
      spec.Height = 149;
      spec.Progressive = progressive;
      spec.Arithmetic = true;
      auto pixel = [&](int x, int y, int k) {
        if (y >= flatFrom) return uint8_t(255);
        TRgb p = Expected(TKind::Baseline, x % 100, y % 100);
        return uint8_t((k == 0 ? p.R : k == 1 ? p.G : p.B) + (x * y) % 13);
      };
      const std::vector<uint8_t> data = jpeg_fixture::EncodeJpeg(spec, pixel);
      Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
      ASSERT_NO_THROW(jpeg->LoadFromStream(StreamOf(data).get()));
      ASSERT_EQ(jpeg->GetWidth(), 227);
      ASSERT_EQ(jpeg->GetHeight(), 149);
      // The flat rows decode white (a lossy coding: within a step or two).
      for (int y = flatFrom + 8; y < 149; y += 9)
        for (int x = 0; x < 227; x += 13) {
          TRgb p = PixelOf(jpeg->GetBitmap(), x, y);
          ASSERT_GE(std::min({p.R, p.G, p.B}), 250) << x << "," << y;
        }
    }
  }
}
