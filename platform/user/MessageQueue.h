// The thread's queue: posted messages, the quit request, input messages
// made from the display backend's events, and the order in which GetMessageW
// hands them out with painting and timers.
#pragma once

#include <deque>

#include <windows.h>

namespace user {

class Window;

struct MessageFilter {
  HWND hwnd = nullptr;  // null: any; (HWND)-1: thread messages only
  UINT min = 0;
  UINT max = 0;
  bool matches(const MSG& msg) const;
  bool matchesCode(UINT message) const;
};

class MessageQueue {
 public:
  static MessageQueue& instance();

  void post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void postQuit(int exitCode);
  // Input made from a backend event; handed out after posted messages.
  void pushInput(const MSG& msg);
  void removeWindow(HWND hwnd);

  // One look in delivery order: posted, quit, input, paint, timer. Returns
  // false when nothing matches.
  bool peek(MSG& msg, const MessageFilter& filter, bool remove);
  // Waits (the device's idle) until peek finds something.
  void get(MSG& msg, const MessageFilter& filter);
  // Waits once for anything to arrive.
  void wait();

  const MSG& lastMessage() const { return last_; }

 private:
  MessageQueue() = default;
  bool takeFrom(std::deque<MSG>& queue, MSG& msg, const MessageFilter& filter, bool remove);
  bool pollInput(MSG& msg, const MessageFilter& filter, bool remove);
  void idle();

  std::deque<MSG> posted_;
  std::deque<MSG> input_;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  MSG last_{};
};

MSG makeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace user
