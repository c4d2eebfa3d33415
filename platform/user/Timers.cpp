#include "user/Timers.h"

#include <algorithm>

#include "user/MessageQueue.h"

namespace user {

namespace {

bool isDue(DWORD due, DWORD now) { return static_cast<int32_t>(due - now) <= 0; }

}  // namespace

Timers& Timers::instance() {
  static auto* timers = new Timers;
  return *timers;
}

UINT_PTR Timers::set(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  DWORD now = GetTickCount();
  elapse = std::min<UINT>(elapse, 0x7FFFFFFF);
  auto existing = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) {
    return t.hwnd == hwnd && t.id == id && (hwnd || id != 0);
  });
  if (existing != timers_.end()) {
    existing->elapse = elapse;
    existing->proc = proc;
    existing->due = now + elapse;
    return hwnd ? (id ? id : 1) : id;
  }
  if (!hwnd) id = nextThreadTimerId_++;
  timers_.push_back({hwnd, id, elapse, proc, now + elapse});
  return hwnd ? (id ? id : 1) : id;
}

bool Timers::kill(HWND hwnd, UINT_PTR id) {
  return std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

void Timers::removeWindow(HWND hwnd) {
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool Timers::takeDue(MSG& msg, const MessageFilter& filter, bool remove) {
  DWORD now = GetTickCount();
  Timer* next = nullptr;
  for (Timer& t : timers_) {
    if (!isDue(t.due, now)) continue;
    MSG candidate = makeMessage(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
    if (!filter.matches(candidate)) continue;
    if (!next || static_cast<int32_t>(t.due - next->due) < 0) next = &t;
  }
  if (!next) return false;
  msg = makeMessage(next->hwnd, WM_TIMER, next->id, reinterpret_cast<LPARAM>(next->proc));
  if (remove) next->due = now + next->elapse;
  return true;
}

int Timers::msUntilNextDue() const {
  if (timers_.empty()) return -1;
  DWORD now = GetTickCount();
  int32_t soonest = INT32_MAX;
  for (const Timer& t : timers_) soonest = std::min(soonest, static_cast<int32_t>(t.due - now));
  return std::max(soonest, 0);
}

bool Timers::isTimerProc(TIMERPROC proc) const {
  return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.proc == proc; });
}

}  // namespace user
