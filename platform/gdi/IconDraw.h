// Drawing icons: alpha blended over the destination, scaled to the size
// asked for.
#pragma once

#include "gdi/DeviceContext.h"
#include "kernel/Icons.h"

namespace gdi {

// DrawIconEx's work for an icon already looked up: at (x, y) (logical),
// width by height pixels, with DI_IMAGE / DI_MASK / DI_NORMAL. Only the
// visible pixels are computed, so a huge size costs no memory.
void drawIcon(DeviceContext& dc, int x, int y, const kernel::Icon& icon, int width, int height, UINT flags);

// Pixel (x, y) of the icon scaled to width by height, ARGB: averaged over
// the covered source pixels when shrinking, the nearest pixel when growing.
uint32_t sampleIcon(const kernel::Icon& icon, int width, int height, int x, int y);

}  // namespace gdi
