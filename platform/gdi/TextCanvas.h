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
  // Logical to surface coordinates, held within reach of the surface.
  RECT toTarget(const RECT& logical) const {
    return {clampCoord(1LL * logical.left + origin_.x), clampCoord(1LL * logical.top + origin_.y),
            clampCoord(1LL * logical.right + origin_.x), clampCoord(1LL * logical.bottom + origin_.y)};
  }
  POINT toTarget(long long x, long long y) const { return {clampCoord(x + origin_.x), clampCoord(y + origin_.y)}; }
  // Tells the surface what changed (surface coordinates).
  void changed(const RECT& rect) const;

 private:
  Surface surface_;
  PixelTarget pixels_;
  Region clip_;
  POINT origin_;
};

}  // namespace gdi
