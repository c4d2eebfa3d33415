#include "kernel/SystemIcons.h"

#include <algorithm>
#include <cmath>

namespace kernel {
namespace {

constexpr WORD kApplication = 32512;
constexpr WORD kHand = 32513;
constexpr WORD kQuestion = 32514;
constexpr WORD kExclamation = 32515;
constexpr WORD kAsterisk = 32516;

constexpr uint32_t kRed = 0xD42020;
constexpr uint32_t kBlue = 0x2060C8;
constexpr uint32_t kYellow = 0xF0C020;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0x808080;

// Shapes in a unit square (0..1 both ways, y down); each icon paints its
// shapes in order, the last one that covers a point wins.
bool inDisc(double x, double y, double cx, double cy, double r) {
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

bool inRect(double x, double y, double left, double top, double right, double bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

// Within half of width of the segment from (ax, ay) to (bx, by).
bool onSegment(double x, double y, double ax, double ay, double bx, double by, double width) {
  double dx = bx - ax, dy = by - ay;
  double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  double px = ax + t * dx - x, py = ay + t * dy - y;
  return px * px + py * py <= width * width / 4;
}

bool inTriangle(double x, double y) {
  // Apex at the top centre, base along the bottom.
  return y >= 0.06 && y <= 0.94 && std::abs(x - 0.5) <= (y - 0.06) / 0.88 * 0.47;
}

// The colour at a point, or nothing where the icon is transparent.
std::optional<uint32_t> colourAt(WORD id, double x, double y) {
  std::optional<uint32_t> c;
  switch (id) {
    case kApplication:
      if (inRect(x, y, 0.06, 0.12, 0.94, 0.88)) c = kGrey;
      if (inRect(x, y, 0.10, 0.16, 0.90, 0.30)) c = kBlue;
      if (inRect(x, y, 0.10, 0.34, 0.90, 0.84)) c = kWhite;
      break;
    case kHand:
      if (inDisc(x, y, 0.5, 0.5, 0.46)) c = kRed;
      if (onSegment(x, y, 0.32, 0.32, 0.68, 0.68, 0.12) || onSegment(x, y, 0.68, 0.32, 0.32, 0.68, 0.12)) c = kWhite;
      break;
    case kQuestion: {
      if (inDisc(x, y, 0.5, 0.5, 0.46)) c = kBlue;
      double r = std::hypot(x - 0.5, y - 0.38);
      bool ring = r >= 0.09 && r <= 0.19;
      // The hook: the ring's upper half and its right-hand quarter below.
      bool hook = ring && (y <= 0.38 || (x >= 0.5 && y <= 0.5));
      if (hook || onSegment(x, y, 0.5, 0.52, 0.5, 0.64, 0.10) || inDisc(x, y, 0.5, 0.76, 0.065)) c = kWhite;
      break;
    }
    case kExclamation:
      if (inTriangle(x, y)) c = kYellow;
      if (onSegment(x, y, 0.5, 0.34, 0.5, 0.66, 0.11) || inDisc(x, y, 0.5, 0.80, 0.06)) c = kBlack;
      break;
    case kAsterisk:
      if (inDisc(x, y, 0.5, 0.5, 0.46)) c = kBlue;
      if (inDisc(x, y, 0.5, 0.27, 0.07) || inRect(x, y, 0.44, 0.40, 0.56, 0.76)) c = kWhite;
      break;
  }
  return c;
}

}  // namespace

std::optional<Icon> drawSystemIcon(WORD id, int size) {
  if (id < kApplication || id > kAsterisk || size < 1 || size > 256) return std::nullopt;
  constexpr int kSamples = 4;  // per side, for smooth edges
  Icon icon;
  icon.width = icon.height = size;
  icon.pixels.resize(size_t(size) * size_t(size));
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      uint32_t covered = 0, r = 0, g = 0, b = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          double x = (px + (sx + 0.5) / kSamples) / size;
          double y = (py + (sy + 0.5) / kSamples) / size;
          if (auto c = colourAt(id, x, y)) {
            ++covered;
            r += (*c >> 16) & 0xFF;
            g += (*c >> 8) & 0xFF;
            b += *c & 0xFF;
          }
        }
      }
      uint32_t argb = 0;
      if (covered) {
        uint32_t alpha = covered * 255 / (kSamples * kSamples);
        argb = alpha << 24 | (r / covered) << 16 | (g / covered) << 8 | b / covered;
      }
      icon.pixels[size_t(py) * size_t(size) + size_t(px)] = argb;
    }
  }
  return icon;
}

}  // namespace kernel
