// The painting protocol: update regions, what is visible of a window, the
// exposure of uncovered areas and which window paints next.
#pragma once

#include <windows.h>

#include "gdi/Region.h"

namespace user {

class Window;

namespace painter {

// What of the window (client area or whole window) shows on the screen:
// clipped by its ancestors and the siblings above it and theirs, and by its
// children when clipChildren. Screen coordinates; empty when hidden.
gdi::Region visibleRegion(Window* window, bool clientOnly, bool clipChildren);

// Adds to the update region (client coordinates; null: the whole client
// area), and to the children under it. Hidden windows take nothing.
void invalidate(Window* window, const RECT* rect, bool erase);
void invalidateAll(Window* window);
void validate(Window* window, const RECT* rect);
// An area of the screen was uncovered: the windows now showing there repaint it.
void exposeScreen(const RECT& screenRect);
// The window was restacked: what shows of it now and did not before
// (before: visibleRegion(window, false, false) taken earlier) repaints.
void exposeGain(Window* window, const gdi::Region& before);

// The next window to get WM_PAINT: top-level windows in z-order, parents
// before children; only the filter window and its descendants when given.
Window* nextToPaint(Window* filter);

// BeginPaint's work on a live window.
HDC beginPaint(Window* window, PAINTSTRUCT& paint);
// Paints now what is invalid in the window and its children.
void updateNow(Window* window);

}  // namespace painter
}  // namespace user
