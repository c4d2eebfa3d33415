// Focus, activation (the active top-level window is also the foreground
// window of this one-thread process) and stylus capture.
#pragma once

#include <windows.h>

namespace user {

class Window;

class Activation {
 public:
  static Activation& instance();

  HWND focus() const { return focus_; }
  HWND active() const { return active_; }
  HWND capture() const { return capture_; }

  // WM_KILLFOCUS to the old window, WM_SETFOCUS to the new; the new window's
  // top-level window is activated first. A disabled or hidden window cannot
  // take the focus. Returns false when refused.
  bool setFocus(Window* window, HWND& previous);
  // Activates a top-level window (null: none): WM_ACTIVATE to the old one
  // (WA_INACTIVE) and the new one (how), raised to the top of the z-order.
  void activate(Window* topLevel, int how);
  HWND setCapture(Window* window);
  bool releaseCapture();

  // The window is being hidden or destroyed: focus, capture and activation
  // leave it and its descendants.
  void windowGoing(Window* window);
  // Where activation goes when a top-level window goes: its owner if it can
  // take it, else the topmost visible, enabled top-level window.
  Window* successor(Window* leaving);
  void forget(HWND hwnd);

 private:
  Activation() = default;
  HWND focus_ = nullptr;
  HWND active_ = nullptr;
  HWND capture_ = nullptr;
};

}  // namespace user
