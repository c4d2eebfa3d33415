#include "gdi/TextRun.h"

#include <algorithm>

namespace gdi {

namespace {

uint32_t pixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

uint32_t blend(uint32_t under, uint32_t over, unsigned alpha) {
  auto channel = [&](int shift) {
    unsigned a = (under >> shift) & 0xFF;
    unsigned b = (over >> shift) & 0xFF;
    return ((b * alpha + a * (255 - alpha) + 127) / 255) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

RECT targetBounds(const PixelTarget& t) { return {0, 0, t.width, t.height}; }

void blitGlyph(const PixelTarget& target, const Region& clip, const Glyph& g, int left, int top, uint32_t color) {
  if (g.width == 0 || g.rows == 0) return;
  RECT box{left, top, left + g.width, top + g.rows};
  box = rectIntersection(box, targetBounds(target));
  for (const RECT& c : clip.rects()) {
    RECT part = rectIntersection(box, c);
    if (rectEmpty(part)) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      uint32_t* row = target.pixels + static_cast<ptrdiff_t>(y) * target.stride;
      for (int x = part.left; x < part.right; ++x) {
        unsigned a = g.at(x - left, y - top);
        if (a == 255)
          row[x] = color;
        else if (a != 0)
          row[x] = blend(row[x], color, a);
      }
    }
  }
}

}  // namespace

char32_t nextCodePoint(std::u16string_view text, size_t& i) {
  char16_t c = text[i++];
  if (c >= 0xD800 && c <= 0xDBFF) {
    if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
      char32_t low = text[i++];
      return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
    }
    return 0xFFFD;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
  return c;
}

std::vector<int> textAdvances(const Font& font, std::u16string_view text) {
  std::vector<int> out(text.size(), 0);
  size_t i = 0;
  while (i < text.size()) {
    size_t at = i;
    char32_t c = nextCodePoint(text, i);
    out[at] = font.face->glyph(c).advance;
  }
  return out;
}

int textWidth(const Font& font, std::u16string_view text) {
  long long width = 0;
  size_t i = 0;
  while (i < text.size()) width += font.face->glyph(nextCodePoint(text, i)).advance;
  return clampCoord(width);
}

void fillPixels(const PixelTarget& target, const Region& clip, const RECT& rect, COLORREF color) {
  RECT box = rectIntersection(rect, targetBounds(target));
  if (rectEmpty(box)) return;
  uint32_t pixel = pixelOf(color);
  for (const RECT& c : clip.rects()) {
    RECT part = rectIntersection(box, c);
    for (int y = part.top; y < part.bottom; ++y) {
      uint32_t* row = target.pixels + static_cast<ptrdiff_t>(y) * target.stride;
      std::fill(row + part.left, row + part.right, pixel);
    }
  }
}

RECT drawTextRun(const PixelTarget& target, const Region& clip, const Font& font, int x, int y,
                 std::u16string_view text, const int* dx, COLORREF color) {
  const FaceMetrics& m = font.metrics();
  uint32_t pixel = pixelOf(color);
  int baseline = y + m.ascent;
  long long pen = x;
  RECT touched{x, y, x, y + m.height()};
  size_t i = 0;
  while (i < text.size()) {
    size_t at = i;
    char32_t c = nextCodePoint(text, i);
    const Glyph& g = font.face->glyph(c);
    if (pen > -kCoordLimit && pen < kCoordLimit) {
      int left = static_cast<int>(pen) + g.left;
      int top = baseline - g.top;
      blitGlyph(target, clip, g, left, top, pixel);
      if (g.width > 0 && g.rows > 0) {
        touched.left = std::min<LONG>(touched.left, left);
        touched.top = std::min<LONG>(touched.top, top);
        touched.right = std::max<LONG>(touched.right, left + g.width);
        touched.bottom = std::max<LONG>(touched.bottom, top + g.rows);
      }
    }
    long long advance = g.advance;
    if (dx) {
      advance = 0;
      for (size_t k = at; k < i; ++k) advance += dx[k];
    }
    pen += advance;
  }
  int end = clampCoord(pen);
  touched.left = std::min<LONG>(touched.left, end);
  touched.right = std::max<LONG>(touched.right, end);
  int runLeft = std::min(x, end);
  int runRight = std::max(x, end);
  if (font.underline) {
    int top = baseline + m.underlineOffset;
    fillPixels(target, clip, {runLeft, top, runRight, top + m.underlineThickness}, color);
    touched.bottom = std::max<LONG>(touched.bottom, top + m.underlineThickness);
  }
  if (font.strikeOut) {
    int top = baseline - m.strikeoutOffset;
    fillPixels(target, clip, {runLeft, top, runRight, top + m.strikeoutThickness}, color);
  }
  return touched;
}

}  // namespace gdi
