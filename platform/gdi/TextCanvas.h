// Where a device context's text lands: the pixels, the clip and the origin
// of its logical coordinates, taken for one drawing call.
#pragma once

#include "gdi/DeviceContext.h"
#include "gdi/TextRun.h"

namespace gdi {

class TextCanvas {
 public:
  explicit TextCanvas(const DeviceContext& dc);

  const PixelTarget& pixels() const { return pixels_; }
  // Target coordinates.
  const Region& clip() const { return clip_; }
  RECT toTarget(const RECT& logical) const { return rectOffset(logical, origin_.x, origin_.y); }
  POINT toTarget(int x, int y) const { return {x + origin_.x, y + origin_.y}; }
  // Tells the display what changed (target coordinates).
  void changed(const RECT& rect) const;

 private:
  PixelTarget pixels_;
  Region clip_;
  POINT origin_;
};

}  // namespace gdi
