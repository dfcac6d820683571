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

}  // namespace jpeg_fixture
