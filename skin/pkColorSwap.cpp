#include "skin/pkColorSwap.h"

void SwapColorBytes(uint32_t* colors, int count) {
  if (!colors) return;
  for (int i = 0; i < count; ++i) {
    uint32_t c = colors[i];
    colors[i] = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
  }
}
