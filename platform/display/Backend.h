// The screen and the stylus behind the device: a headless framebuffer or a
// real window. The window manager pulls input from here and the device
// presents the framebuffer through it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "display/Framebuffer.h"

namespace display {

// One thing a person did. Keys that type on the device's US layout (letters,
// digits, space, Enter, Escape, Backspace, Tab, US punctuation) come as
// KeyDown/KeyUp: the program's TranslateMessage makes their WM_CHAR, as on
// the device. Char comes only for text that no key of that layout types (an
// input method, the input panel, a host keyboard's own characters), never in
// addition to a key's KeyDown. shift and control give the modifier state at
// the time of any event.
struct InputEvent {
  enum class Type {
    StylusDown,
    StylusMove,
    StylusUp,
    KeyDown,  // key: a virtual-key code
    KeyUp,
    Char,     // ch: a UTF-16 unit typed into the focused window
    Quit,     // the host window was closed and nobody handles it: the program is asked to quit
  };
  Type type = Type::StylusDown;
  int x = 0;  // screen coordinates, device pixels
  int y = 0;
  uint32_t key = 0;
  char16_t ch = 0;
  bool shift = false;
  bool control = false;
};

// What the host's own window asks of the device: its keys and its close box.
enum class HostRequest {
  Rotate,      // F2
  ToggleSip,   // F3
  Screenshot,  // F12
  Close,       // the window's close box
};

class Backend {
 public:
  // Sees every event before the window manager does; true when it took the
  // event (the device's chrome takes the stylus on its bars).
  using InputFilter = std::function<bool(const InputEvent&)>;
  using HostHandler = std::function<void(HostRequest)>;

  virtual ~Backend() = default;

  virtual bool interactive() const = 0;
  virtual Framebuffer& framebuffer() = 0;
  // Blocks until input may be pending, descriptor (when >= 0) is readable or
  // timeoutMs passes (-1: no limit). A display without a person returns at
  // once.
  virtual void waitEvents(int timeoutMs, int descriptor = -1) = 0;
  // Shows what changed in the framebuffer.
  virtual void present() = 0;

  // Takes the next input event without waiting: queued ones first, then the
  // display's own. Events the filter takes are not handed out.
  bool pollEvent(InputEvent& event);
  // Queues input as if it came from the stylus or the keyboard.
  void push(const InputEvent& event) { queued_.push_back(event); }
  size_t pendingEvents() const { return queued_.size(); }

  void setInputFilter(InputFilter filter) { filter_ = std::move(filter); }
  void setHostHandler(HostHandler handler) { hostHandler_ = std::move(handler); }

  // The host window's title (UTF-8); a display without a window only keeps it.
  void setTitle(const std::string& title);
  const std::string& title() const { return title_; }

 protected:
  // Shows a title that changed.
  virtual void showTitle(const std::string&) {}
  // The display's own next event, if any.
  virtual bool takeEvent(InputEvent&) { return false; }
  // Passes a request of the host window on; a close nobody handles quits.
  void requestHost(HostRequest request);

 private:
  std::deque<InputEvent> queued_;
  InputFilter filter_;
  HostHandler hostHandler_;
  std::string title_;
};

}  // namespace display
