#include "framework/CeWndHandle.h"

CeWndHandle::~CeWndHandle() { DestroyLiveWindow(); }

// A handle whose window has gone is left alone: the window manager refuses a
// stale handle, so nothing else can be destroyed through it.
void CeWndHandle::DestroyLiveWindow() {
  if (hwnd != nullptr && IsWindow(hwnd) && DestroyWindow(hwnd)) hwnd = nullptr;
}
