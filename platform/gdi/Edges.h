// Three-dimensional edges and the frame controls built from them: push
// buttons, check boxes, radio buttons and scroll arrows in the device's
// grey 3-D colours.
#pragma once

#include "gdi/DeviceContext.h"

namespace gdi {

// DrawEdge: the BDR_* borders on the BF_* sides of rect (logical). With
// BF_ADJUST rect becomes what is left inside the drawn sides.
void drawEdge(DeviceContext& dc, RECT& rect, UINT edge, UINT flags);

// DrawFrameControl for DFC_BUTTON and DFC_SCROLL; false for other types.
// With DFCS_ADJUSTRECT a push button's rect becomes its face.
bool drawFrameControl(DeviceContext& dc, RECT& rect, UINT type, UINT state);

}  // namespace gdi
