// Measuring and drawing one run of text in one font: the pen moves by each
// glyph's whole-pixel advance (or the caller's), so what is measured is
// exactly where the glyphs land.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <windows.h>

#include "gdi/FontCache.h"
#include "gdi/Region.h"

namespace gdi {

// Pixels to draw into: 32-bit 0x00RRGGBB, rows stride pixels apart.
struct PixelTarget {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;  // pixels from one row to the next
};

// Coordinates beyond this, either way, are far off any surface; text
// arithmetic keeps to it so that no sum overflows.
constexpr int kCoordLimit = 1 << 28;
inline int clampCoord(long long v) {
  return static_cast<int>(v < -kCoordLimit ? -kCoordLimit : (v > kCoordLimit ? kCoordLimit : v));
}

// The code point at text[i]; i moves past it. An unpaired surrogate is U+FFFD.
char32_t nextCodePoint(std::u16string_view text, size_t& i);

// The pen's advance after each UTF-16 unit (0 for the second half of a pair).
std::vector<int> textAdvances(const Font& font, std::u16string_view text);
int textWidth(const Font& font, std::u16string_view text);

// Draws text with the top of its cell at (x, y), in target coordinates,
// anti-aliased in color; underline and strike-out as the font asks. dx, when
// given, holds the advance after each UTF-16 unit. Only pixels inside clip
// (target coordinates) change. Returns the rectangle that may have changed.
RECT drawTextRun(const PixelTarget& target, const Region& clip, const Font& font, int x, int y,
                 std::u16string_view text, const int* dx, COLORREF color);

// Fills a rectangle (target coordinates) within clip.
void fillPixels(const PixelTarget& target, const Region& clip, const RECT& rect, COLORREF color);

}  // namespace gdi
