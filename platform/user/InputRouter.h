// Turns the display backend's events into window messages: the stylus goes
// to the deepest visible, enabled window under it (or the capture window),
// activating its top-level window first; keys go to the focus window.
#pragma once

#include <array>

#include <windows.h>

#include "display/Backend.h"

namespace user {

class Window;

class InputRouter {
 public:
  static InputRouter& instance();

  void route(const display::InputEvent& event);

  SHORT keyState(int vk) const;
  POINT cursor() const { return cursor_; }
  // Forgets a pending double click and key states (tests, rotation).
  void reset();

  static constexpr DWORD kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 4;

 private:
  InputRouter() = default;
  void stylus(const display::InputEvent& event);
  void key(const display::InputEvent& event);
  void character(const display::InputEvent& event);
  void setModifiers(const display::InputEvent& event);
  Window* stylusTarget(POINT screen);
  bool activateForClick(Window* target);
  WPARAM mouseKeys() const;

  std::array<uint8_t, 256> keys_{};
  POINT cursor_{};
  HWND lastDownWindow_ = nullptr;
  DWORD lastDownTime_ = 0;
  POINT lastDownPoint_{};
  bool lastDownWasDouble_ = false;
};

// The window under a screen point: deepest visible window, children before
// parents, top-level windows in z-order; hidden windows are passed over.
Window* hitTest(POINT screen);

}  // namespace user
