#include "gdi/Blit.h"

#include <vector>

#include "gdi/Bitmap.h"
#include "gdi/GdiObject.h"

namespace gdi {

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

bool isMonochrome(const DeviceContext& dc) {
  if (!dc.isMemory()) return false;
  Bitmap* b = bitmapFromHandle(dc.bitmap());
  return b && b->monochrome();
}

}  // namespace

uint32_t rasterOp(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t index = (rop >> 16) & 0xFF;
  uint32_t result = 0;
  // Bit (p << 2 | s << 1 | d) of the index gives the result for those inputs.
  for (uint32_t i = 0; i < 8; ++i) {
    if (!(index & (1u << i))) continue;
    uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    result |= term;
  }
  return result & kWhite;
}

bool ropUsesSource(DWORD rop) { return (((rop >> 2) ^ rop) & 0x330000) != 0; }
bool ropUsesPattern(DWORD rop) { return (((rop >> 4) ^ rop) & 0x0F0000) != 0; }

namespace {

// Marks a source pixel that lies off its surface: such destination pixels
// stay as they are.
constexpr uint32_t kAbsent = 0x01000000;

// Reads the source rectangle, converted for the destination, before
// anything is written: a transfer within one surface (scrolling) must see
// the pixels as they were.
std::vector<uint32_t> readSource(DeviceContext& src, DeviceContext& dst, int sx, int sy, int cx, int cy) {
  std::vector<uint32_t> pixels(static_cast<size_t>(cx) * cy, kAbsent);
  POINT origin = src.toSurface(sx, sy);
  Surface s = src.surface();
  bool monoToColour = isMonochrome(src) && !isMonochrome(dst);
  bool colourToMono = !isMonochrome(src) && isMonochrome(dst);
  uint32_t srcPaper = toPixel(src.bkColor);
  uint32_t fore = toPixel(dst.textColor), back = toPixel(dst.bkColor);
  RECT on = rectIntersection(RECT{origin.x, origin.y, origin.x + cx, origin.y + cy}, s.bounds());
  for (int py = on.top; py < on.bottom; ++py) {
    const uint32_t* row = s.row(py);
    uint32_t* out = pixels.data() + static_cast<size_t>(py - origin.y) * cx - origin.x;
    for (int px = on.left; px < on.right; ++px) {
      uint32_t v = row[px] & kWhite;
      // Monochrome to colour: black takes the text colour, white the
      // background colour. Colour to monochrome: the source's background
      // colour becomes white, everything else black.
      if (monoToColour) v = v ? back : fore;
      if (colourToMono) v = v == srcPaper ? kWhite : 0;
      out[px] = v;
    }
  }
  return pixels;
}

}  // namespace

bool blit(DeviceContext& dst, int x, int y, int cx, int cy, DeviceContext* src, int sx, int sy, DWORD rop) {
  bool needsSource = ropUsesSource(rop);
  if (needsSource && !src) return false;
  if (cx <= 0 || cy <= 0) return true;

  uint32_t pattern = 0;
  if (ropUsesPattern(rop)) {
    GdiObject* brush = objectFromHandle(dst.brush());
    // A null brush leaves the destination as it is.
    if (!brush || brush->style == BS_NULL) return true;
    pattern = toPixel(brush->color);
  }

  RECT area = dst.toSurface(RECT{x, y, x + cx, y + cy});
  std::vector<uint32_t> source;
  if (needsSource) source = readSource(*src, dst, sx, sy, cx, cy);

  auto run = [&](auto op) {
    dst.apply(area, [&](uint32_t d, int px, int py) {
      uint32_t s = 0;
      if (needsSource) {
        s = source[static_cast<size_t>(py - area.top) * cx + (px - area.left)];
        if (s & kAbsent) return d;
      }
      return op(pattern, s, d);
    });
  };
  // The common operations directly; any other through its truth table.
  switch (rop) {
    case SRCCOPY:
      run([](uint32_t, uint32_t s, uint32_t) { return s; });
      break;
    case SRCPAINT:
      run([](uint32_t, uint32_t s, uint32_t d) { return s | d; });
      break;
    case SRCAND:
      run([](uint32_t, uint32_t s, uint32_t d) { return s & d; });
      break;
    case SRCINVERT:
      run([](uint32_t, uint32_t s, uint32_t d) { return s ^ d; });
      break;
    case PATCOPY:
      run([](uint32_t p, uint32_t, uint32_t) { return p; });
      break;
    case BLACKNESS:
      run([](uint32_t, uint32_t, uint32_t) { return 0u; });
      break;
    case WHITENESS:
      run([](uint32_t, uint32_t, uint32_t) { return kWhite; });
      break;
    default:
      run([rop](uint32_t p, uint32_t s, uint32_t d) { return rasterOp(rop, p, s, d); });
      break;
  }
  return true;
}

}  // namespace gdi
