#include "user/InputRouter.h"

#include <cstdlib>

#include "user/Activation.h"
#include "user/MessageQueue.h"
#include "user/ScrollBarTracker.h"
#include "user/WindowClass.h"
#include "user/WindowManager.h"

namespace user {

namespace {

WindowManager& wm() { return WindowManager::instance(); }

Window* deepestAt(Window* window, POINT screen) {
  // Children show only within their parent's client area (a scrolled
  // dialog's controls may reach under its caption or its scroll bars).
  RECT client = window->screenClient();
  if (screen.x < client.left || screen.x >= client.right || screen.y < client.top || screen.y >= client.bottom)
    return window;
  for (Window* child : window->children) {
    if (!child->visibleFlag()) continue;
    RECT r = child->screenRect();
    if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
      return deepestAt(child, screen);
  }
  return window;
}

bool enabledChain(Window* window) {
  for (Window* w = window; w && !w->isDesktop(); w = w->parent)
    if (!w->enabledFlag()) return false;
  return true;
}

LPARAM clientPoint(Window* window, POINT screen) {
  POINT origin = window->clientOrigin();
  return MAKELPARAM(static_cast<WORD>(screen.x - origin.x), static_cast<WORD>(screen.y - origin.y));
}

}  // namespace

Window* hitTest(POINT screen) {
  for (Window* top : wm().topLevelWindows()) {
    if (!top->visibleFlag()) continue;
    RECT r = top->screenRect();
    if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
      return deepestAt(top, screen);
  }
  return nullptr;
}

InputRouter& InputRouter::instance() {
  static auto* router = new InputRouter;
  return *router;
}

SHORT InputRouter::keyState(int vk) const {
  if (vk < 0 || vk > 255) return 0;
  uint8_t state = keys_[static_cast<size_t>(vk)];
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

void InputRouter::reset() {
  keys_.fill(0);
  lastDownWindow_ = nullptr;
  lastDownWasDouble_ = false;
}

WPARAM InputRouter::mouseKeys() const {
  WPARAM keys = 0;
  if (keys_[VK_LBUTTON] & 0x80) keys |= MK_LBUTTON;
  if (keys_[VK_SHIFT] & 0x80) keys |= MK_SHIFT;
  if (keys_[VK_CONTROL] & 0x80) keys |= MK_CONTROL;
  return keys;
}

void InputRouter::setModifiers(const display::InputEvent& event) {
  auto set = [&](int vk, bool down) {
    uint8_t& state = keys_[static_cast<size_t>(vk)];
    state = static_cast<uint8_t>(down ? (state | 0x80) : (state & ~0x80));
  };
  set(VK_SHIFT, event.shift);
  set(VK_CONTROL, event.control);
}

void InputRouter::route(const display::InputEvent& event) {
  using Type = display::InputEvent::Type;
  switch (event.type) {
    case Type::StylusDown:
    case Type::StylusMove:
    case Type::StylusUp:
      setModifiers(event);
      stylus(event);
      break;
    case Type::KeyDown:
    case Type::KeyUp:
      key(event);
      break;
    case Type::Char:
      character(event);
      break;
    case Type::Quit:
      MessageQueue::instance().postQuit(0);
      break;
  }
}

Window* InputRouter::stylusTarget(POINT screen) {
  if (Window* capture = wm().fromHandle(Activation::instance().capture())) return capture;
  Window* target = hitTest(screen);
  // A disabled window, such as the owner of a modal dialog, gets nothing.
  if (!target || !enabledChain(target)) return nullptr;
  return target;
}

bool InputRouter::activateForClick(Window* target) {
  Window* top = target->topLevel();
  if (top->handle == Activation::instance().active()) return true;
  LRESULT answer = wm().call(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                             MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  if (target->dead) return false;
  if (answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT && !top->dead)
    Activation::instance().activate(top, WA_CLICKACTIVE);
  return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT && !target->dead;
}

void InputRouter::stylus(const display::InputEvent& event) {
  using Type = display::InputEvent::Type;
  POINT screen{event.x, event.y};
  cursor_ = screen;
  uint8_t& button = keys_[VK_LBUTTON];
  if (event.type == Type::StylusDown) button |= 0x80;
  if (event.type == Type::StylusUp) button &= static_cast<uint8_t>(~0x80);

  // A scroll bar held by the stylus takes it until it is lifted.
  ScrollBarTracker& scrollBars = ScrollBarTracker::instance();
  if (scrollBars.tracking()) {
    if (event.type == Type::StylusUp)
      scrollBars.release(screen);
    else
      scrollBars.move(screen);
    return;
  }

  Window* target = stylusTarget(screen);
  if (!target) return;
  UINT message = WM_MOUSEMOVE;
  if (event.type == Type::StylusDown) {
    if (Activation::instance().capture() != target->handle && !activateForClick(target)) return;
    if (Activation::instance().capture() != target->handle && scrollBars.press(target, screen)) return;
    message = WM_LBUTTONDOWN;
    DWORD now = GetTickCount();
    bool twice = (target->cls->style & CS_DBLCLKS) && !lastDownWasDouble_ && lastDownWindow_ == target->handle &&
                 now - lastDownTime_ <= kDoubleClickMs && std::abs(screen.x - lastDownPoint_.x) <= kDoubleClickDistance &&
                 std::abs(screen.y - lastDownPoint_.y) <= kDoubleClickDistance;
    if (twice) message = WM_LBUTTONDBLCLK;
    lastDownWasDouble_ = twice;
    lastDownWindow_ = target->handle;
    lastDownTime_ = now;
    lastDownPoint_ = screen;
  } else if (event.type == Type::StylusUp) {
    message = WM_LBUTTONUP;
  }
  MSG msg = makeMessage(target->handle, message, mouseKeys(), clientPoint(target, screen));
  MessageQueue::instance().pushInput(msg);
}

void InputRouter::key(const display::InputEvent& event) {
  bool down = event.type == display::InputEvent::Type::KeyDown;
  setModifiers(event);
  uint32_t vk = event.key & 0xFF;
  uint8_t& state = keys_[vk];
  bool wasDown = (state & 0x80) != 0;
  if (down)
    state = static_cast<uint8_t>((state | 0x80) ^ (wasDown ? 0 : 0x01));
  else
    state &= static_cast<uint8_t>(~0x80);
  if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT) setModifiers({.shift = down, .control = event.control});
  if (vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL) setModifiers({.shift = event.shift, .control = down});

  Window* target = wm().fromHandle(Activation::instance().focus());
  if (!target) target = wm().fromHandle(Activation::instance().active());
  if (!target) return;
  LPARAM lParam = 1;
  if (down && wasDown) lParam |= 0x40000000;
  if (!down) lParam |= static_cast<LPARAM>(0xC0000000u);
  MessageQueue::instance().pushInput(makeMessage(target->handle, down ? WM_KEYDOWN : WM_KEYUP, vk, lParam));
}

void InputRouter::character(const display::InputEvent& event) {
  Window* target = wm().fromHandle(Activation::instance().focus());
  if (!target) target = wm().fromHandle(Activation::instance().active());
  if (!target) return;
  MessageQueue::instance().pushInput(makeMessage(target->handle, WM_CHAR, event.ch, 1));
}

}  // namespace user
