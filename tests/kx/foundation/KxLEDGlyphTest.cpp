#include <gtest/gtest.h>

#include <array>

#include "kx/foundation/KxBorder.h"

namespace {

using Columns = std::array<int, 5>;

Columns GlyphOf(char c) {
  const uint8_t* g = KxLEDGlyph(c);
  return {g[0], g[1], g[2], g[3], g[4]};
}

TEST(KxLEDGlyph, TableEntriesAndFallback) {
  struct TCase {
    char Ch;
    Columns Cols;
  };
  const TCase cases[] = {
      {' ', {0, 0, 0, 0, 0}},                 // first entry
      {'!', {0, 0, 250, 0, 0}},
      {'A', {126, 144, 144, 144, 126}},
      {'1', {0, 66, 254, 2, 0}},
      {'\\', {64, 32, 16, 8, 4}},
      {'z', {34, 38, 42, 50, 34}},
      {'~', {64, 128, 64, 32, 64}},           // last character
      {'\x7F', {0, 124, 124, 124, 0}},        // cell 127, the block
      {'\t', {0, 124, 124, 124, 0}},          // below 32: the block
      {'\0', {0, 124, 124, 124, 0}},
      {static_cast<char>(0xE9), {0, 124, 124, 124, 0}},  // above 127
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.Ch)));
    EXPECT_EQ(GlyphOf(c.Ch), c.Cols);
  }
  // Bit 0 is never lit: the font has seven rows.
  for (int code = 32; code < 128; ++code)
    for (int col = 0; col < 5; ++col) EXPECT_EQ(KxLEDGlyph(static_cast<char>(code))[col] & 1, 0) << code;
}

}  // namespace
