// LoadImageW serves icons itself; bitmaps are the graphics module's, which
// hands its loader over here.
#pragma once

#include <windef.h>

namespace kernel {

using BitmapLoader = HANDLE (*)(HINSTANCE instance, LPCWSTR name, int width, int height, UINT flags);
void setBitmapLoader(BitmapLoader loader);

}  // namespace kernel
