// Bordered, window-less display controls: TKxBorder (an area inside an
// outer frame, a border and an inner frame), TKxLEDDisplay (its caption in
// a simulated dot-matrix LED panel that can scroll) and TKxMeter (a value
// as a bar, a bevelled bar or LED segments, in a rectangle or a trapezoid).
#pragma once

#include <cstdint>

// The LED dot font: five column bytes, left to right, for a character; bit
// 7 of a byte is the top dot and bit 1 the seventh, bottom one. Characters
// below 32 or above 126 show cell 127, a filled block.
const uint8_t* KxLEDGlyph(char c);
