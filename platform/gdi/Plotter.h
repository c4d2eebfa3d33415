// Sets single pixels of a DC's surface through its clip, and reports the
// area it touched when done. Lines, dotted frames and SetPixel draw with it.
#pragma once

#include <algorithm>

#include "gdi/DeviceContext.h"

namespace gdi {

class Plotter {
 public:
  explicit Plotter(DeviceContext& dc) : dc_(dc), surface_(dc.surface()), bounds_(dc.surfaceBounds()) {}
  ~Plotter() { surface_.markDirty(dirty_); }
  Plotter(const Plotter&) = delete;
  Plotter& operator=(const Plotter&) = delete;

  // Surface coordinates. False where the clip or the surface ends.
  bool visible(int x, int y) const {
    return x >= bounds_.left && y >= bounds_.top && x < bounds_.right && y < bounds_.bottom &&
           dc_.clip().contains({x, y});
  }
  void set(int x, int y, uint32_t pixel) {
    if (!visible(x, y)) return;
    surface_.row(y)[x] = pixel;
    touch(x, y);
  }
  void invert(int x, int y) {
    if (!visible(x, y)) return;
    surface_.row(y)[x] ^= 0x00FFFFFF;
    touch(x, y);
  }
  const Surface& surface() const { return surface_; }

 private:
  void touch(int x, int y) {
    if (dirty_.right <= dirty_.left) {
      dirty_ = {x, y, x + 1, y + 1};
      return;
    }
    dirty_.left = std::min<LONG>(dirty_.left, x);
    dirty_.top = std::min<LONG>(dirty_.top, y);
    dirty_.right = std::max<LONG>(dirty_.right, x + 1);
    dirty_.bottom = std::max<LONG>(dirty_.bottom, y + 1);
  }

  DeviceContext& dc_;
  Surface surface_;
  RECT bounds_;
  RECT dirty_{0, 0, 0, 0};
};

}  // namespace gdi
