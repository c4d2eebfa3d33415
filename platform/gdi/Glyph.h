// One character of a face at one size: how far it moves the pen and its
// anti-aliased coverage (0 .. 255 per pixel).
#pragma once

#include <cstdint>
#include <vector>

namespace gdi {

struct Glyph {
  int advance = 0;  // pixels
  int left = 0;     // the bitmap's left edge, from the pen
  int top = 0;      // the bitmap's top row, above the baseline
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> coverage;  // rows x width, row-major

  uint8_t at(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

}  // namespace gdi
