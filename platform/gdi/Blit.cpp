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
  // The source is read in full before anything is written, so a transfer
  // within one surface (scrolling) sees the pixels as they were.
  std::vector<uint32_t> sourcePixels;
  std::vector<bool> present;
  if (needsSource) {
    POINT origin = src->toSurface(sx, sy);
    Surface s = src->surface();
    bool monoToColour = isMonochrome(*src) && !isMonochrome(dst);
    bool colourToMono = !isMonochrome(*src) && isMonochrome(dst);
    uint32_t srcPaper = toPixel(src->bkColor);
    uint32_t fore = toPixel(dst.textColor), back = toPixel(dst.bkColor);
    sourcePixels.resize(static_cast<size_t>(cx) * cy);
    present.resize(sourcePixels.size());
    for (int row = 0; row < cy; ++row) {
      int py = origin.y + row;
      for (int col = 0; col < cx; ++col) {
        int px = origin.x + col;
        if (!s.contains(px, py)) continue;
        uint32_t v = s.pixel(px, py) & kWhite;
        // Monochrome to colour: black takes the text colour, white the
        // background colour. Colour to monochrome: the source's background
        // colour becomes white, everything else black.
        if (monoToColour) v = v ? back : fore;
        if (colourToMono) v = v == srcPaper ? kWhite : 0;
        size_t i = static_cast<size_t>(row) * cx + col;
        sourcePixels[i] = v;
        present[i] = true;
      }
    }
  }

  dst.apply(area, [&](uint32_t d, int px, int py) {
    uint32_t s = 0;
    if (needsSource) {
      size_t i = static_cast<size_t>(py - area.top) * cx + (px - area.left);
      if (!present[i]) return d;
      s = sourcePixels[i];
    }
    return rasterOp(rop, pattern, s, d);
  });
  return true;
}

}  // namespace gdi
