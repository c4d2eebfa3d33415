#include "display/Framebuffer.h"

#include <algorithm>

namespace display {

Rect Rect::intersected(const Rect& o) const {
  Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  if (r.empty()) return {};
  return r;
}

Rect Rect::united(const Rect& o) const {
  if (empty()) return o;
  if (o.empty()) return *this;
  return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
}

uint32_t shownPixel(uint32_t pixel, int bitsPerPixel) {
  if (bitsPerPixel != kGreyDepth) return pixel;
  const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  const uint32_t luma = (r * 299 + g * 587 + b * 114) / 1000;
  // The greys lie 0x55 apart; the nearest is the rounded quotient.
  return ((luma + 0x55 / 2) / 0x55) * 0x555555;
}

Framebuffer::Framebuffer(int width, int height) : width_(0), height_(0) { resize(width, height); }

void Framebuffer::resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<size_t>(width_) * height_, 0x00FFFFFF);
  dirty_ = bounds();
}

void Framebuffer::fill(const Rect& rect, uint32_t color) {
  Rect r = rect.intersected(bounds());
  if (r.empty()) return;
  for (int y = r.top; y < r.bottom; ++y) std::fill(row(y) + r.left, row(y) + r.right, color);
  markDirty(r);
}

void Framebuffer::markDirty(const Rect& rect) {
  Rect r = rect.intersected(bounds());
  if (r.empty()) return;
  dirty_ = dirty_.united(r);
  ++writes_;
}

Rect Framebuffer::takeDirty() {
  Rect r = dirty_;
  dirty_ = {};
  return r;
}

}  // namespace display
