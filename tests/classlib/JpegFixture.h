// JPEG data for tests and benchmarks, made with libjpeg-turbo's compressor:
// the class library only decodes, so its fixtures are encoded here.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace jpeg_fixture {

struct TJpegSpec {
  int Width = 0;
  int Height = 0;
  // 1 (JCS_GRAYSCALE), 3 (JCS_RGB) or 4 (JCS_CMYK, written with Adobe's
  // marker, inverted as Adobe's applications write it).
  int Components = 3;
  J_COLOR_SPACE ColorSpace = JCS_RGB;
  bool Progressive = false;
  // Arithmetic entropy coding instead of Huffman.
  bool Arithmetic = false;
  int Quality = 95;
};

[[noreturn]] inline void EncoderError(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  throw std::runtime_error(text);
}

// The JPEG of the picture whose sample (x, y, component) gives each value.
inline std::vector<uint8_t> EncodeJpeg(const TJpegSpec& spec, const std::function<uint8_t(int, int, int)>& sample) {
  jpeg_compress_struct c{};
  jpeg_error_mgr e{};
  c.err = jpeg_std_error(&e);
  e.error_exit = EncoderError;
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(spec.Width);
  c.image_height = static_cast<JDIMENSION>(spec.Height);
  c.input_components = spec.Components;
  c.in_color_space = spec.ColorSpace;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, spec.Quality, TRUE);
  if (spec.Progressive) jpeg_simple_progression(&c);
  c.arith_code = spec.Arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(spec.Width) * static_cast<size_t>(spec.Components));
  while (c.next_scanline < c.image_height) {
    int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < spec.Width; ++x)
      for (int k = 0; k < spec.Components; ++k)
        row[static_cast<size_t>(x) * static_cast<size_t>(spec.Components) + static_cast<size_t>(k)] =
            sample(x, y, k);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> data(out, out + size);
  std::free(out);
  jpeg_destroy_compress(&c);
  return data;
}

// Where the entropy-coded data of each scan lie: [Begin, End) from the byte
// after the SOS segment to the marker that ends the data (0xFF followed by
// neither 0x00 nor a restart marker).
struct TScanData {
  size_t Begin, End;
};
inline std::vector<TScanData> ScanDataOf(const std::vector<uint8_t>& jpeg) {
  std::vector<TScanData> scans;
  for (size_t i = 2; i + 3 < jpeg.size();) {
    if (jpeg[i] != 0xFF) return scans;
    uint8_t marker = jpeg[i + 1];
    size_t length = static_cast<size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3];
    size_t next = i + 2 + length;
    if (marker != 0xDA) {
      i = next;
      continue;
    }
    size_t end = next;
    while (end + 1 < jpeg.size() &&
           !(jpeg[end] == 0xFF && jpeg[end + 1] != 0x00 && (jpeg[end + 1] < 0xD0 || jpeg[end + 1] > 0xD7)))
      ++end;
    scans.push_back({next, end});
    i = end;
  }
  return scans;
}

// The frame's height and width set in its SOFn header.
inline std::vector<uint8_t> WithFrameSize(std::vector<uint8_t> jpeg, int height, int width) {
  for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
    uint8_t m = jpeg[i + 1];
    if (jpeg[i] == 0xFF && m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      jpeg[i + 5] = static_cast<uint8_t>(height >> 8), jpeg[i + 6] = static_cast<uint8_t>(height);
      jpeg[i + 7] = static_cast<uint8_t>(width >> 8), jpeg[i + 8] = static_cast<uint8_t>(width);
      break;
    }
  }
  return jpeg;
}

}  // namespace jpeg_fixture
