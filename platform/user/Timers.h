// Window and thread timers. WM_TIMER is made when a timer is due and nothing
// else is waiting; a timer is rescheduled when its message is taken.
#pragma once

#include <vector>

#include <windows.h>

namespace user {

struct MessageFilter;

class Timers {
 public:
  static Timers& instance();

  UINT_PTR set(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
  bool kill(HWND hwnd, UINT_PTR id);
  void removeWindow(HWND hwnd);
  bool takeDue(MSG& msg, const MessageFilter& filter, bool remove);
  // Milliseconds until the next timer is due; -1 when there is none.
  int msUntilNextDue() const;
  bool isTimerProc(TIMERPROC proc) const;

 private:
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;
    TIMERPROC proc;
    DWORD due;
  };
  Timers() = default;
  std::vector<Timer> timers_;
  UINT_PTR nextThreadTimerId_ = 0x7000;
};

}  // namespace user
