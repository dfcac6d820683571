// The colour byte swap of the skin library: RGB <-> BGR in place.
#pragma once

#include <cstdint>

// For each 32-bit value, bytes 0 and 2 are exchanged and byte 3 cleared.
void SwapColorBytes(uint32_t* colors, int count);
