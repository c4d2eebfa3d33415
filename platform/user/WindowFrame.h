// The non-client parts of a window, which the window manager draws itself
// as on the device (no message is sent for them): the border, the caption
// with the window's title, the edges, and the scroll bars of WS_VSCROLL and
// WS_HSCROLL with the corner between them.
#pragma once

#include <windows.h>

namespace user {

class Window;

// Whether the window has non-client parts to draw.
bool hasFrame(const Window* window);

// A window bar's rectangle in screen coordinates; empty when the window
// does not show that bar.
RECT scrollBarScreenRect(Window* window, int which);

// Draws the frame now, clipped to what shows of it; clears frameDirty.
void drawFrame(Window* window);
// Draws one scroll bar now; pressed and thumbOffset as ScrollBarLayout takes
// them, for a bar held by the stylus.
void drawScrollBar(Window* window, int which);

}  // namespace user
