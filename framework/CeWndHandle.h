// Root of the window objects: one window handle, and the window is destroyed
// with the object when it is still alive.
#pragma once

#include <windows.h>

class CeWndHandle {
 public:
  CeWndHandle() = default;
  CeWndHandle(const CeWndHandle&) = delete;
  CeWndHandle& operator=(const CeWndHandle&) = delete;
  virtual ~CeWndHandle();

  // Null when no window is bound.
  HWND hwnd = nullptr;

 protected:
  // Destroys the window if it is still alive and forgets it once it is gone.
  void DestroyLiveWindow();
};
