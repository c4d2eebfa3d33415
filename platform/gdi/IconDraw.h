// Drawing icons: alpha blended over the destination, scaled to the size
// asked for.
#pragma once

#include "gdi/DeviceContext.h"
#include "kernel/Icons.h"

namespace gdi {

// DrawIconEx's work for an icon already looked up: at (x, y) (logical),
// width by height pixels, with DI_IMAGE / DI_MASK / DI_NORMAL.
void drawIcon(DeviceContext& dc, int x, int y, const kernel::Icon& icon, int width, int height, UINT flags);

// The icon's ARGB pixels scaled to width by height: averaged over the
// covered source pixels when shrinking, nearest pixel when growing.
std::vector<uint32_t> scaleArgb(const std::vector<uint32_t>& pixels, int fromWidth, int fromHeight, int width,
                                int height);

}  // namespace gdi
