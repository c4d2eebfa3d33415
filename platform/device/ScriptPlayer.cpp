#include "device/ScriptPlayer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "device/Device.h"
#include "device/Dump.h"
#include "device/Files.h"
#include "kernel/Utf.h"
#include "display/Png.h"

namespace device {

namespace {

using display::InputEvent;

constexpr int kDragStepPixels = 4;

InputEvent event(InputEvent::Type type) {
  InputEvent e;
  e.type = type;
  return e;
}

InputEvent stylus(InputEvent::Type type, int x, int y) {
  InputEvent e = event(type);
  e.x = x;
  e.y = y;
  return e;
}

// Button texts mark their mnemonic with '&' ("&&" is a literal one); a person
// reads the text without it.
std::u16string withoutMnemonic(std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') out.push_back(u'&'), ++i;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

bool isButton(HWND hwnd) {
  char16_t name[16] = {};
  int n = GetClassNameW(hwnd, name, 16);
  std::u16string cls(name, n > 0 ? static_cast<size_t>(n) : 0);
  for (char16_t& c : cls)
    if (c >= u'A' && c <= u'Z') c = c - u'A' + u'a';
  return cls == u"button";
}

// Depth first in z-order: the first match is the one a person sees on top.
HWND findButton(HWND parent, const std::u16string& wanted) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (isButton(child) && withoutMnemonic(windowText(child)) == wanted) return child;
    if (HWND inner = findButton(child, wanted)) return inner;
  }
  return nullptr;
}

std::string quoted(const std::u16string& text) { return quoteText(text); }

bool onScreen(int x, int y, std::string& reason) {
  const Device& device = Device::instance();
  if (x >= 0 && y >= 0 && x < device.screenWidth() && y < device.screenHeight()) return true;
  char text[96];
  std::snprintf(text, sizeof text, "(%d,%d) is off the %dx%d screen", x, y, device.screenWidth(),
                device.screenHeight());
  reason = text;
  return false;
}

// A step's Shift and Ctrl, held as a person holds them: pressed before the
// step's first event, released after its last, and down in every event
// between, which is where the window manager reads them for GetKeyState and
// the mouse messages' MK_SHIFT and MK_CONTROL.
class HeldModifiers {
 public:
  explicit HeldModifiers(const Step& step) {
    if (step.control) hold(VK_CONTROL, control_, true);
    if (step.shift) hold(VK_SHIFT, shift_, true);
  }
  ~HeldModifiers() {
    if (shift_) hold(VK_SHIFT, shift_, false);
    if (control_) hold(VK_CONTROL, control_, false);
  }
  HeldModifiers(const HeldModifiers&) = delete;
  HeldModifiers& operator=(const HeldModifiers&) = delete;

  void push(InputEvent e) const {
    e.shift = shift_;
    e.control = control_;
    Device::instance().pushInput(e);
  }

 private:
  void hold(uint32_t vk, bool& down, bool value) {
    down = value;
    InputEvent e = event(value ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp);
    e.key = vk;
    push(e);
  }

  bool shift_ = false;
  bool control_ = false;
};

}  // namespace

bool ScriptPlayer::loadText(std::string_view text, const std::string& name, std::string& error) {
  ScriptError parseError;
  auto steps = parseScript(text, parseError);
  if (!steps) {
    error = name + ":" + std::to_string(parseError.line) + ": " + parseError.reason;
    return false;
  }
  load(std::move(*steps), name);
  return true;
}

void ScriptPlayer::load(std::vector<Step> steps, const std::string& name) {
  given_ = true;
  for (Step& step : steps) steps_.push_back({std::move(step), name});
}

void ScriptPlayer::add(std::function<void()> call) {
  Step step;
  step.kind = Step::Kind::Call;
  step.call = std::move(call);
  steps_.push_back({std::move(step), "code"});
  given_ = true;
}

void ScriptPlayer::clear() {
  steps_.clear();
  given_ = false;
  waitEnds_ = {};
}

bool ScriptPlayer::waiting() const { return std::chrono::steady_clock::now() < waitEnds_; }

int ScriptPlayer::remainingWaitMs() const {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(waitEnds_ - std::chrono::steady_clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool ScriptPlayer::runNext(std::string& error) {
  if (steps_.empty()) return true;
  Queued next = std::move(steps_.front());
  steps_.pop_front();
  std::string reason;
  if (run(next.step, reason)) {
    // menu "POPUP" "ITEM" is two taps, as a person makes them: the chooser
    // has tapped the popup's button; the item is tapped as the very next
    // step, once the popup shows (the chooser is asked again without a popup).
    if (next.step.kind == Step::Kind::Menu && !next.step.text.empty()) {
      next.step.text.clear();
      steps_.push_front(std::move(next));
    }
    return true;
  }
  error = next.source + ":" + std::to_string(next.step.line) + ": " + reason;
  return false;
}

bool ScriptPlayer::run(const Step& step, std::string& reason) {
  Device& device = Device::instance();
  switch (step.kind) {
    case Step::Kind::Tap: return tap(step, reason);
    case Step::Kind::Drag: return drag(step, reason);
    case Step::Kind::Key: key(step); return true;
    case Step::Kind::Type: type(step.text); return true;
    case Step::Kind::Press: return press(step.text, reason);
    case Step::Kind::Menu:
      if (!menuChooser_) {
        reason = "menu " + quoted(step.text) + " " + quoted(step.item) + ": the device has no menu bar";
        return false;
      }
      return menuChooser_(step.text, step.item, reason);
    case Step::Kind::Sip: device.setSipVisible(step.on); return true;
    case Step::Kind::Rotate: device.rotate(); return true;
    case Step::Kind::Wait:
      waitEnds_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(step.ms);
      return true;
    case Step::Kind::Screenshot: return screenshot(step.file, reason);
    case Step::Kind::Dump: return dump(step.file, reason);
    case Step::Kind::Close: return close(reason);
    case Step::Kind::Call:
      if (step.call) step.call();
      return true;
  }
  return true;
}

bool ScriptPlayer::tap(const Step& step, std::string& reason) {
  if (!onScreen(step.x1, step.y1, reason)) return false;
  HeldModifiers held(step);
  held.push(stylus(InputEvent::Type::StylusDown, step.x1, step.y1));
  held.push(stylus(InputEvent::Type::StylusUp, step.x1, step.y1));
  return true;
}

bool ScriptPlayer::drag(const Step& step, std::string& reason) {
  if (!onScreen(step.x1, step.y1, reason) || !onScreen(step.x2, step.y2, reason)) return false;
  const int dx = step.x2 - step.x1;
  const int dy = step.y2 - step.y1;
  const int moves = std::max(std::abs(dx), std::abs(dy)) / kDragStepPixels;
  HeldModifiers held(step);
  held.push(stylus(InputEvent::Type::StylusDown, step.x1, step.y1));
  for (int i = 1; i <= moves; ++i)
    held.push(stylus(InputEvent::Type::StylusMove, step.x1 + dx * i / moves, step.y1 + dy * i / moves));
  if (moves == 0 && (dx || dy)) held.push(stylus(InputEvent::Type::StylusMove, step.x2, step.y2));
  held.push(stylus(InputEvent::Type::StylusUp, step.x2, step.y2));
  return true;
}

void ScriptPlayer::key(const Step& step) {
  HeldModifiers held(step);
  if (!step.key) {
    InputEvent c = event(InputEvent::Type::Char);
    c.ch = step.ch;
    held.push(c);
    return;
  }
  InputEvent down = event(InputEvent::Type::KeyDown);
  down.key = step.key;
  InputEvent up = down;
  up.type = InputEvent::Type::KeyUp;
  held.push(down);
  held.push(up);
}

// Typed as on the keyboard: what has a key is typed with it (the program
// sees the key and its character), the rest arrives as characters alone.
void ScriptPlayer::type(const std::u16string& text) {
  for (char16_t unit : text) {
    Step step;
    if (unit == u'\n') {
      step.key = VK_RETURN;
    } else if (unit == u'\t') {
      step.key = VK_TAB;
    } else if (unit == u' ') {
      step.key = VK_SPACE;
    } else if (!parseKeyName(std::u16string_view(&unit, 1), step)) {
      step.ch = unit;  // surrogate halves and control characters go as they are
    }
    key(step);
  }
}

bool ScriptPlayer::press(const std::u16string& text, std::string& reason) {
  HWND foreground = GetForegroundWindow();
  if (!foreground) {
    reason = "press " + quoted(text) + ": there is no foreground window";
    return false;
  }
  HWND button = findButton(foreground, withoutMnemonic(text));
  if (!button) {
    reason = "press " + quoted(text) + ": no such button in " + quoted(windowText(foreground));
    return false;
  }
  RECT r;
  GetWindowRect(button, &r);
  Step centre;
  centre.x1 = (r.left + r.right) / 2;
  centre.y1 = (r.top + r.bottom) / 2;
  return tap(centre, reason);
}

bool ScriptPlayer::close(std::string& reason) {
  HWND foreground = GetForegroundWindow();
  if (!foreground || !PostMessageW(foreground, WM_CLOSE, 0, 0)) {
    reason = "close: there is no foreground window";
    return false;
  }
  return true;
}

bool ScriptPlayer::screenshot(const std::string& file, std::string& reason) {
  std::string png;
  if (!display::encodePng(Device::instance().backend().framebuffer(), png, reason)) return false;
  return writeFileAtomically(file, png, reason);
}

bool ScriptPlayer::dump(const std::string& file, std::string& reason) {
  return writeFileAtomically(file, dumpWindows(), reason);
}

}  // namespace device
