// Where a device context's text lands: its surface's pixels, the clip and
// the origin of its logical coordinates, taken for one drawing call.
#pragma once

#include "gdi/DeviceContext.h"
#include "gdi/Surface.h"
#include "gdi/TextRun.h"

namespace gdi {

class TextCanvas {
 public:
  explicit TextCanvas(const DeviceContext& dc);

  const PixelTarget& pixels() const { return pixels_; }
  // Surface coordinates, within the surface.
  const Region& clip() const { return clip_; }
  RECT toTarget(const RECT& logical) const { return rectOffset(logical, origin_.x, origin_.y); }
  POINT toTarget(int x, int y) const { return {x + origin_.x, y + origin_.y}; }
  // Tells the surface what changed (surface coordinates).
  void changed(const RECT& rect) const;

 private:
  Surface surface_;
  PixelTarget pixels_;
  Region clip_;
  POINT origin_;
};

}  // namespace gdi
