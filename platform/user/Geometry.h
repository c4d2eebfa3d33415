// Moving, sizing, stacking, showing and hiding windows, with the messages
// that announce it and the repainting it causes.
#pragma once

#include <windows.h>

namespace user {

class Window;

namespace geometry {

bool setWindowPos(Window* window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// Returns whether the window was visible before.
bool showWindow(Window* window, int command);

}  // namespace geometry
}  // namespace user
