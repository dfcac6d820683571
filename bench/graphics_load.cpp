// Loading pictures and walking pixels: our code against a baseline measured
// in the same run.
//   BMP load:   TBitmap::LoadFromFile      vs LoadImageA(LR_LOADFROMFILE | LR_CREATEDIBSECTION)
//   JPEG load:  TJPEGImage::LoadFromStream vs the same libjpeg decode into a plain buffer
//   ScanLine:   every byte read and written through ScanLine rows vs one memcpy of the pixels
// The 1024 x 768 test files are made here, in a folder of the temp directory
// that is removed at the end. Each line prints our time, the baseline's and
// the ratio (best of several runs); goals: BMP within 1.5x, ScanLine within 2x.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Jpeg.h"
#include "classlib/Units.h"
#include "tests/classlib/JpegFixture.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;

double Now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return double(c.QuadPart) / double(f.QuadPart);
}

// The best of `runs` timings of f, in milliseconds.
double Best(int runs, const std::function<void()>& f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    double t0 = Now();
    f();
    best = std::min(best, (Now() - t0) * 1000.0);
  }
  return best;
}

void Report(const char* what, double ours, double baseline, double goal) {
  std::printf("%-10s ours %8.3f ms   baseline %8.3f ms   ratio %5.2f", what, ours, baseline, ours / baseline);
  if (goal > 0) std::printf("   (goal <= %.1f: %s)", goal, ours / baseline <= goal ? "met" : "NOT met");
  std::printf("\n");
}

// The picture: smooth ramps with some detail, as a photograph has.
uint8_t Sample(int x, int y, int c) { return uint8_t((x * (c + 1) + y * (3 - c) + ((x ^ y) & 15)) & 255); }

std::vector<uint8_t> EncodeJpeg() {
  jpeg_fixture::TJpegSpec spec;
  spec.Width = kWidth;
  spec.Height = kHeight;
  spec.Quality = 85;
  return jpeg_fixture::EncodeJpeg(spec, Sample);
}

// The baseline decode: what TJPEGImage asks of libjpeg, into one buffer.
void DecodeToBuffer(const std::vector<uint8_t>& data, std::vector<uint8_t>& pixels) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr e{};
  d.err = jpeg_std_error(&e);
  e.error_exit = jpeg_fixture::EncoderError;
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_EXT_BGR;
  d.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&d);
  size_t stride = (size_t(d.output_width) * 3 + 3) & ~size_t(3);
  pixels.resize(stride * d.output_height);
  while (d.output_scanline < d.output_height) {
    JSAMPROW r = pixels.data() + stride * d.output_scanline;
    jpeg_read_scanlines(&d, &r, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
}

// Inverts a row eight bytes at a time: every byte read and written.
void InvertRow(uint8_t* p, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t v;
    std::memcpy(&v, p + i, 8);
    v = ~v;
    std::memcpy(p + i, &v, 8);
  }
  for (; i < n; ++i) p[i] = uint8_t(~p[i]);
}

}  // namespace

int main() {
  InitializeUnits(ClasslibUnits());
  char tempPath[MAX_PATH];
  GetTempPathA(MAX_PATH, tempPath);
  std::string dir = std::string(tempPath) + "graphics_load_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string bmpFile = dir + "\\picture.bmp";
  int rc = 0;
  try {
    // The 24-bit BMP, written by our own bitmap.
    {
      Owned<TBitmap> b = MakeOwned<TBitmap>();
      b->SetPixelFormat(pf24bit);
      b->SetSize(kWidth, kHeight);
      for (int y = 0; y < kHeight; ++y) {
        auto* row = static_cast<uint8_t*>(b->GetScanLine(y));
        for (int x = 0; x < kWidth; ++x)
          for (int k = 0; k < 3; ++k) row[x * 3 + k] = Sample(x, y, 2 - k);
      }
      b->SaveToFile(bmpFile);
    }
    const int runs = 30;
    Owned<TBitmap> bitmap = MakeOwned<TBitmap>();
    double ours = Best(runs, [&] { bitmap->LoadFromFile(bmpFile); });
    double base = Best(runs, [&] {
      HANDLE h = LoadImageA(nullptr, bmpFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
      if (!h) throw std::runtime_error("LoadImageA failed");
      DeleteObject(h);
    });
    Report("BMP load", ours, base, 1.5);

    std::vector<uint8_t> jpegData = EncodeJpeg();
    Owned<TMemoryStream> jpegStream = MakeOwned<TMemoryStream>();
    jpegStream->WriteBuffer(jpegData.data(), static_cast<int>(jpegData.size()));
    Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
    ours = Best(runs, [&] {
      jpegStream->SetPosition(0);
      jpeg->LoadFromStream(jpegStream.get());
    });
    // A new buffer each time, as each load makes a new bitmap.
    base = Best(runs, [&] {
      std::vector<uint8_t> pixels;
      DecodeToBuffer(jpegData, pixels);
    });
    Report("JPEG load", ours, base, 0);

    const size_t rowBytes = size_t(kWidth) * 3;
    std::vector<uint8_t> from(rowBytes * kHeight), to(rowBytes * kHeight);
    ours = Best(runs * 4, [&] {
      for (int y = 0; y < kHeight; ++y) InvertRow(static_cast<uint8_t*>(bitmap->GetScanLine(y)), rowBytes);
    });
    base = Best(runs * 4, [&] {
      std::memcpy(to.data(), from.data(), from.size());
      from[size_t(to[rowBytes]) % from.size()] ^= 1;  // keeps the copy observable
    });
    Report("ScanLine", ours, base, 2.0);
  } catch (const std::exception& e) {
    std::printf("failed: %s\n", e.what());
    rc = 1;
  }
  DeleteFileA(bmpFile.c_str());
  RemoveDirectoryA(dir.c_str());
  FinalizeUnits();
  return rc;
}
