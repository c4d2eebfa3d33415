// Sending, posting, retrieving, translating and dispatching messages; timers.
#include "user/InputRouter.h"
#include "user/Keyboard.h"
#include "user/MessageQueue.h"
#include "user/Timers.h"
#include "user/WindowManager.h"

using user::MessageFilter;
using user::MessageQueue;
using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

}  // namespace

LRESULT WINAPI SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (Window* top : wm().topLevelWindows()) {
      HWND target = top->handle;
      if (Window* w = wm().fromHandle(target)) wm().call(w, msg, wParam, lParam);
    }
    return 1;
  }
  Window* window = wm().checked(hwnd);
  return window ? wm().call(window, msg, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (Window* top : wm().topLevelWindows()) MessageQueue::instance().post(top->handle, msg, wParam, lParam);
    return TRUE;
  }
  if (hwnd && !wm().checked(hwnd)) return FALSE;
  MessageQueue::instance().post(hwnd, msg, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) { MessageQueue::instance().postQuit(exitCode); }

BOOL WINAPI GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !wm().checked(hwnd)) return -1;
  MessageQueue::instance().get(*msg, MessageFilter{hwnd, filterMin, filterMax});
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !wm().checked(hwnd)) return FALSE;
  return MessageQueue::instance().peek(*msg, MessageFilter{hwnd, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0)
             ? TRUE
             : FALSE;
}

BOOL WINAPI WaitMessage() {
  MessageQueue::instance().wait();
  return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  char16_t ch;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  if (!user::characterForKey(static_cast<UINT>(msg->wParam), shift, control, ch)) return FALSE;
  MessageQueue::instance().post(msg->hwnd, WM_CHAR, ch, msg->lParam);
  return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure a live timer was set with is called; a posted
    // WM_TIMER cannot make the process jump anywhere else.
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (!user::Timers::instance().isTimerProc(proc)) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  Window* window = wm().checked(msg->hwnd);
  return window ? wm().call(window, msg->message, msg->wParam, msg->lParam) : 0;
}

DWORD WINAPI GetMessagePos() {
  const MSG& last = MessageQueue::instance().lastMessage();
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(last.pt.x), static_cast<WORD>(last.pt.y)));
}

LONG WINAPI GetMessageTime() { return static_cast<LONG>(MessageQueue::instance().lastMessage().time); }

// Every message is sent on the one thread.
BOOL WINAPI InSendMessage() { return FALSE; }

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !wm().checked(hwnd)) return 0;
  return user::Timers::instance().set(hwnd, id, elapse, proc);
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
  if (hwnd && !wm().checked(hwnd)) return FALSE;
  return user::Timers::instance().kill(hwnd, id) ? TRUE : FALSE;
}
