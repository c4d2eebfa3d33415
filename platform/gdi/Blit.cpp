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

// The source pixels for a destination area: row y of the area starts at
// first + y * stride. Either the source surface itself or a converted copy.
struct SourcePixels {
  const uint32_t* first = nullptr;
  ptrdiff_t stride = 0;
  std::vector<uint32_t> copy;
};

// Prepares the source for the destination rectangle area (surface
// coordinates), whose top-left pixel comes from (sx, sy) of src's surface.
// Monochrome to colour: black takes the text colour, white the background
// colour. Colour to monochrome: the source's background colour becomes
// white, everything else black. A transfer within one surface reads a copy
// taken before anything is written.
void prepareSource(DeviceContext& src, DeviceContext& dst, const Surface& from, const Surface& to, const RECT& area,
                   int sx, int sy, SourcePixels& out) {
  bool monoToColour = isMonochrome(src) && !isMonochrome(dst);
  bool colourToMono = !isMonochrome(src) && isMonochrome(dst);
  bool sameSurface = from.valid() && to.valid() && from.row(0) == to.row(0);
  int cx = area.right - area.left, cy = area.bottom - area.top;
  if (!monoToColour && !colourToMono && !sameSurface) {
    out.first = from.row(sy) + sx;
    out.stride = from.height() > 1 ? from.row(1) - from.row(0) : from.width();
    return;
  }
  uint32_t srcPaper = toPixel(src.bkColor);
  uint32_t fore = toPixel(dst.textColor), back = toPixel(dst.bkColor);
  out.copy.resize(static_cast<size_t>(cx) * cy);
  for (int y = 0; y < cy; ++y) {
    const uint32_t* row = from.row(sy + y) + sx;
    uint32_t* copy = out.copy.data() + static_cast<size_t>(y) * cx;
    for (int x = 0; x < cx; ++x) {
      uint32_t v = row[x] & kWhite;
      if (monoToColour) v = v ? back : fore;
      if (colourToMono) v = v == srcPaper ? kWhite : 0;
      copy[x] = v;
    }
  }
  out.first = out.copy.data();
  out.stride = cx;
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

  RECT area = dst.toSurface(extentRect(x, y, cx, cy));
  Surface surface = dst.surface();
  SourcePixels source;
  if (needsSource) {
    // Only destination pixels whose source lies on the source surface
    // change.
    Surface from = src->surface();
    POINT origin = src->toSurface(sx, sy);
    RECT onSource = rectIntersection(extentRect(origin.x, origin.y, cx, cy), from.bounds());
    if (rectEmpty(onSource)) return true;
    // Source and destination rectangles are the same size, so their
    // on-surface parts correspond by one offset.
    int shiftX = area.left - origin.x, shiftY = area.top - origin.y;
    area = rectIntersection(area, rectOffset(onSource, shiftX, shiftY));
    if (rectEmpty(area)) return true;
    prepareSource(*src, dst, from, surface, area, area.left - shiftX, area.top - shiftY, source);
  }
  std::vector<RECT> parts = dst.visibleParts(area);

  auto run = [&](auto op) {
    for (const RECT& part : parts) {
      for (int py = part.top; py < part.bottom; ++py) {
        uint32_t* d = surface.row(py);
        if (!needsSource) {
          for (int px = part.left; px < part.right; ++px) d[px] = op(pattern, 0, d[px]) & kWhite;
          continue;
        }
        const uint32_t* s = source.first + (py - area.top) * source.stride - area.left;
        for (int px = part.left; px < part.right; ++px) d[px] = op(pattern, s[px] & kWhite, d[px]) & kWhite;
      }
      surface.markDirty(part);
    }
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
