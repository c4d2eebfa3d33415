#include "user/MessageQueue.h"

#include "device/Device.h"
#include "user/InputRouter.h"
#include "user/Painter.h"
#include "user/Timers.h"
#include "user/WindowManager.h"

namespace user {

bool MessageFilter::matchesCode(UINT message) const {
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

bool MessageFilter::matches(const MSG& msg) const {
  if (!matchesCode(msg.message)) return false;
  if (!hwnd) return true;
  if (hwnd == reinterpret_cast<HWND>(-1)) return msg.hwnd == nullptr;
  if (msg.hwnd == hwnd) return true;
  WindowManager& wm = WindowManager::instance();
  Window* filter = wm.fromHandle(hwnd);
  Window* target = wm.fromHandle(msg.hwnd);
  return filter && target && target->isDescendantOf(filter);
}

MSG makeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg{};
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = GetTickCount();
  msg.pt = InputRouter::instance().cursor();
  return msg;
}

MessageQueue& MessageQueue::instance() {
  static auto* queue = new MessageQueue;
  return *queue;
}

void MessageQueue::post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  posted_.push_back(makeMessage(hwnd, message, wParam, lParam));
}

void MessageQueue::postQuit(int exitCode) {
  quitPosted_ = true;
  quitCode_ = exitCode;
}

void MessageQueue::pushInput(const MSG& msg) { input_.push_back(msg); }

void MessageQueue::removeWindow(HWND hwnd) {
  std::erase_if(posted_, [&](const MSG& m) { return m.hwnd == hwnd; });
  std::erase_if(input_, [&](const MSG& m) { return m.hwnd == hwnd; });
}

bool MessageQueue::takeFrom(std::deque<MSG>& queue, MSG& msg, const MessageFilter& filter, bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!filter.matches(*it)) continue;
    msg = *it;
    if (remove) queue.erase(it);
    return true;
  }
  return false;
}

bool MessageQueue::pollInput(MSG& msg, const MessageFilter& filter, bool remove) {
  if (takeFrom(input_, msg, filter, remove)) return true;
  display::InputEvent event;
  while (device::Device::instance().backend().pollEvent(event)) {
    InputRouter::instance().route(event);
    if (takeFrom(input_, msg, filter, remove)) return true;
  }
  return false;
}

bool MessageQueue::peek(MSG& msg, const MessageFilter& filter, bool remove) {
  WindowManager::instance().collectGarbage();
  bool found = false;
  if (takeFrom(posted_, msg, filter, remove)) {
    found = true;
  } else if (quitPosted_) {
    msg = makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode_), 0);
    if (remove) quitPosted_ = false;
    found = true;
  } else if (pollInput(msg, filter, remove)) {
    found = true;
  } else if (filter.matchesCode(WM_PAINT) && filter.hwnd != reinterpret_cast<HWND>(-1)) {
    Window* filterWindow = WindowManager::instance().fromHandle(filter.hwnd);
    if (!filter.hwnd || filterWindow) {
      if (Window* window = painter::nextToPaint(filterWindow)) {
        msg = makeMessage(window->handle, WM_PAINT, 0, 0);
        found = true;
      }
    }
  }
  if (!found) found = Timers::instance().takeDue(msg, filter, remove);
  if (found) last_ = msg;
  return found;
}

void MessageQueue::idle() { device::Device::instance().idle(Timers::instance().msUntilNextDue()); }

void MessageQueue::get(MSG& msg, const MessageFilter& filter) {
  while (!peek(msg, filter, true)) idle();
}

void MessageQueue::wait() {
  MSG msg;
  if (!peek(msg, MessageFilter{}, false)) idle();
}

}  // namespace user
