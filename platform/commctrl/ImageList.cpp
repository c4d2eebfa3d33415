#include "commctrl/ImageList.h"

#include <algorithm>

#include "gdi/DeviceContext.h"
#include "gdi/Surface.h"
#include "kernel/IconResources.h"

namespace commctrl {

namespace {

bool isColor(COLORREF color) { return (color & 0xFF000000) == 0; }

// Flattens a pixel onto an opaque background (lists without a mask keep no
// transparency).
uint32_t flatten(uint32_t argb, uint32_t background) {
  return 0xFF000000 | gdi::mixPixels(background, argb & 0x00FFFFFF, argb >> 24);
}

}  // namespace

ImageList::ImageList(int width, int height, UINT flags, int initial, int grow)
    : width_(width), height_(height), flags_(flags), grow_(std::max(grow, 1)), capacity_(0) {
  growFor(std::max(initial, 0));
}

void ImageList::growFor(int images) {
  if (images <= capacity_) return;
  // Room grows in steps of the growth the list was created with.
  int steps = (images - capacity_ + grow_ - 1) / grow_;
  capacity_ += steps * grow_;
  pixels_.reserve(static_cast<size_t>(capacity_) * imagePixels());
}

int ImageList::put(int index, const uint32_t* argb, int sourceWidth, int sourceHeight) {
  if (index < -1 || index >= count_ || !argb || sourceWidth <= 0 || sourceHeight <= 0) return -1;
  const size_t sourcePixels = static_cast<size_t>(sourceWidth) * static_cast<size_t>(sourceHeight);
  std::vector<uint32_t> scaled =
      kernel::scaleArgb({argb, argb + sourcePixels}, sourceWidth, sourceHeight, width_, height_);
  if (!masked()) {
    uint32_t background = isColor(bkColor_) ? gdi::toPixel(bkColor_) : 0;
    for (uint32_t& p : scaled) p = flatten(p, background);
  }
  if (index == -1) {
    growFor(count_ + 1);
    pixels_.insert(pixels_.end(), scaled.begin(), scaled.end());
    return count_++;
  }
  std::copy(scaled.begin(), scaled.end(), pixels_.begin() + static_cast<ptrdiff_t>(index * imagePixels()));
  return index;
}

bool ImageList::remove(int index) {
  if (index == -1) {
    pixels_.clear();
    count_ = 0;
    return true;
  }
  if (index < 0 || index >= count_) return false;
  auto first = pixels_.begin() + static_cast<ptrdiff_t>(index * imagePixels());
  pixels_.erase(first, first + static_cast<ptrdiff_t>(imagePixels()));
  --count_;
  return true;
}

COLORREF ImageList::setBkColor(COLORREF color) {
  COLORREF previous = bkColor_;
  bkColor_ = color;
  return previous;
}

const uint32_t* ImageList::image(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  return pixels_.data() + static_cast<size_t>(index) * imagePixels();
}

bool ImageList::draw(gdi::DeviceContext& dc, int index, int x, int y, UINT style) const {
  const uint32_t* source = image(index);
  if (!source) return false;
  POINT at = dc.toSurface(x, y);
  RECT area{at.x, at.y, at.x + width_, at.y + height_};
  // With a mask the image shows what lies below where it is transparent,
  // unless the list has a background colour and the caller did not ask
  // for transparency.
  bool seeThrough = masked() && ((style & ILD_TRANSPARENT) || !isColor(bkColor_));
  uint32_t background = isColor(bkColor_) ? gdi::toPixel(bkColor_) : 0;
  unsigned blend = (style & ILD_BLEND50) ? 128 : (style & ILD_BLEND25) ? 64 : 0;
  uint32_t highlight = gdi::toPixel(GetSysColor(COLOR_HIGHLIGHT));
  bool maskOnly = (style & ILD_MASK) != 0;
  int width = width_;
  dc.apply(area, [&](uint32_t under, int sx, int sy) -> uint32_t {
    uint32_t p = source[static_cast<size_t>(sy - at.y) * static_cast<size_t>(width) + static_cast<size_t>(sx - at.x)];
    unsigned alpha = p >> 24;
    if (maskOnly) return alpha ? 0x000000 : 0xFFFFFF;
    uint32_t color = p & 0x00FFFFFF;
    if (blend) color = gdi::mixPixels(color, highlight, blend);
    if (!masked()) return color;
    return gdi::mixPixels(seeThrough ? under : background, color, alpha);
  });
  return true;
}

kernel::HandleTable<ImageList>& imageLists() {
  static auto* table = new kernel::HandleTable<ImageList>(9);
  return *table;
}

ImageList* imageListFromHandle(HIMAGELIST handle) { return imageLists().get(handle); }

}  // namespace commctrl
