// Block transfers between surfaces with raster operations: every ternary
// operation of source, destination and the brush's pattern.
#pragma once

#include "gdi/DeviceContext.h"

namespace gdi {

// The result of raster operation rop (its index in bits 16..23) for one
// pixel of pattern, source and destination.
uint32_t rasterOp(DWORD rop, uint32_t pattern, uint32_t source, uint32_t destination);
bool ropUsesSource(DWORD rop);
bool ropUsesPattern(DWORD rop);

// Transfers the rectangle (x, y, cx, cy) of dst (logical) from src at
// (sx, sy) (logical; ignored when the operation has no source). Only
// destination pixels inside dst's clip change; those whose source lies
// outside src's surface are left alone. False for a missing source.
bool blit(DeviceContext& dst, int x, int y, int cx, int cy, DeviceContext* src, int sx, int sy, DWORD rop);

}  // namespace gdi
