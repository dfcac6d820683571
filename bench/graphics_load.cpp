// Loading pictures and walking pixels: our code against a baseline doing
// the same work, measured in the same run (bench/Bench.h).
//   BMP load:   TBitmap::LoadFromFile vs LoadImageA(LR_LOADFROMFILE | LR_CREATEDIBSECTION);
//               goal: within 1.5x
//   JPEG load:  TJPEGImage::LoadFromStream vs the same libjpeg decode into a
//               plain buffer; goal: within 1.5x (the bitmap and its checks)
//   ScanLine:   every byte of a 24-bit bitmap inverted through its ScanLine
//               rows vs the same inversion over a plain buffer of the same
//               rows; goal: within 2x
// The 1024 x 768 test files are made here, in a folder of the temp directory
// that is removed at the end.
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "bench/Bench.h"
#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Jpeg.h"
#include "classlib/Units.h"
#include "tests/classlib/JpegFixture.h"

namespace {

const char* const kName = "graphics";
const int kWidth = 1024;
const int kHeight = 768;

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
  bool ok = true;
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
    const int runs = 15;
    Owned<TBitmap> bitmap = MakeOwned<TBitmap>();
    auto [ours, base] = bench::Medians([&] { bitmap->LoadFromFile(bmpFile); },
                                       [&] {
                                         HANDLE h = LoadImageA(nullptr, bmpFile.c_str(), IMAGE_BITMAP, 0, 0,
                                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION);
                                         if (!h) throw std::runtime_error("LoadImageA failed");
                                         DeleteObject(h);
                                       },
                                       runs);
    bench::Report(kName, "BMP load 1024x768 24-bit", ours, base, 1.5);

    std::vector<uint8_t> jpegData = EncodeJpeg();
    Owned<TMemoryStream> jpegStream = MakeOwned<TMemoryStream>();
    jpegStream->WriteBuffer(jpegData.data(), static_cast<int>(jpegData.size()));
    Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
    std::tie(ours, base) = bench::Medians(
        [&] {
          jpegStream->SetPosition(0);
          jpeg->LoadFromStream(jpegStream.get());
        },
        // A new buffer each time, as each load makes a new bitmap.
        [&] {
          std::vector<uint8_t> pixels;
          DecodeToBuffer(jpegData, pixels);
        },
        runs);
    bench::Report(kName, "JPEG load 1024x768", ours, base, 1.5);

    // The same inversion on both sides: through ScanLine, row by row, and
    // over a buffer of the same rows by pointer. The canvas draws once before
    // each pass, as a program does between passes.
    const size_t rowBytes = size_t(kWidth) * 3;
    const size_t stride = (rowBytes + 3) & ~size_t(3);
    std::vector<uint8_t> plain(stride * kHeight);
    TCanvas* canvas = bitmap->GetCanvas();
    std::tie(ours, base) = bench::Medians(
        [&] {
          canvas->SetPixels(0, 0, clRed);
          for (int y = 0; y < kHeight; ++y) InvertRow(static_cast<uint8_t*>(bitmap->GetScanLine(y)), rowBytes);
        },
        [&] {
          canvas->SetPixels(0, 0, clRed);
          for (int y = 0; y < kHeight; ++y) InvertRow(plain.data() + stride * size_t(y), rowBytes);
        },
        runs * 2);
    bench::Report(kName, "ScanLine pass 1024x768 24-bit", ours, base, 2.0);
  } catch (const std::exception& e) {
    bench::Fail(kName, e.what());
    ok = false;
  }
  DeleteFileA(bmpFile.c_str());
  RemoveDirectoryA(dir.c_str());
  FinalizeUnits();
  return ok ? 0 : 1;
}
