// The screen and the stylus behind the device: a headless framebuffer or a
// real window. The window manager pulls input from here and the device
// presents the framebuffer through it.
#pragma once

#include <cstdint>

#include "display/Framebuffer.h"

namespace display {

// One thing a person did. Keys that type (letters, digits, space, Enter,
// Escape, Backspace, Tab, US punctuation) come only as KeyDown/KeyUp: the
// program's TranslateMessage makes their WM_CHAR, as on the device. A
// backend sends Char only for text that has no key (an input method, a
// pasted character), never in addition to a key's KeyDown. shift and
// control give the modifier state at the time of any event.
struct InputEvent {
  enum class Type {
    StylusDown,
    StylusMove,
    StylusUp,
    KeyDown,  // key: a virtual-key code
    KeyUp,
    Char,     // ch: a UTF-16 unit typed into the focused window
    Quit,     // the host window was closed: the program is asked to quit
  };
  Type type = Type::StylusDown;
  int x = 0;  // screen coordinates, device pixels
  int y = 0;
  uint32_t key = 0;
  char16_t ch = 0;
  bool shift = false;
  bool control = false;
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual bool interactive() const = 0;
  virtual Framebuffer& framebuffer() = 0;
  // Takes the next pending input event without waiting.
  virtual bool pollEvent(InputEvent& event) = 0;
  // Blocks until input may be pending or timeoutMs passes (-1: no limit).
  virtual void waitEvents(int timeoutMs) = 0;
  // Shows what changed in the framebuffer.
  virtual void present() = 0;
};

}  // namespace display
