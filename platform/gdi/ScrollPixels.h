// Moving pixels for scrolling: ScrollDC and the window scrolling of the
// window manager.
#pragma once

#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace gdi {

// Moves the pixels of scroll that lie in visible by (dx, dy) on surface,
// writing only where clip and visible allow. Returns the uncovered area:
// what lies in clip and visible, within scroll or where scroll moved to,
// and received no moved pixel. All in surface coordinates.
Region scrollPixels(const Surface& surface, const Region& visible, const RECT& scroll, const RECT& clip, int dx,
                    int dy);

// The same on the screen, for a window's visible region.
Region scrollScreenPixels(const Region& visible, const RECT& scroll, const RECT& clip, int dx, int dy);

}  // namespace gdi
