#include "user/ScrollBarTracker.h"

#include <algorithm>

#include "user/WindowFrame.h"
#include "user/WindowManager.h"

namespace user {

namespace {

WindowManager& wm() { return WindowManager::instance(); }

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool arrowDisabled(const ScrollBarInfo& info, ScrollBarPart part) {
  if (part == ScrollBarPart::LineBack) return (info.disabledArrows & ESB_DISABLE_LTUP) != 0;
  if (part == ScrollBarPart::LineForward) return (info.disabledArrows & ESB_DISABLE_RTDN) != 0;
  return false;
}

}  // namespace

ScrollBarTracker& ScrollBarTracker::instance() {
  static auto* tracker = new ScrollBarTracker;
  return *tracker;
}

bool ScrollBarTracker::press(Window* target, POINT screen) {
  if (tracking()) cancel();
  for (Window* w = target; w && !w->isDesktop(); w = w->parent) {
    for (int which : {SB_VERT, SB_HORZ}) {
      RECT bar = scrollBarScreenRect(w, which);
      if (!contains(bar, screen)) continue;
      WindowScrollBars* bars = windowScrollBars(w, false);
      if (!bars) return true;
      ScrollBarInfo& info = bars->bar(which);
      ScrollBarLayout layout(bar, which == SB_VERT, info);
      ScrollBarPart part = info.enabled() ? layout.partAt(screen) : ScrollBarPart::None;
      // A tap on a bar that cannot scroll is the bar's all the same.
      if (part == ScrollBarPart::None || arrowDisabled(info, part)) return true;
      hwnd_ = w->handle;
      bar_ = which;
      part_ = part;
      stylus_ = screen;
      over_ = true;
      if (part == ScrollBarPart::Thumb) {
        grab_ = layout.along(screen) - layout.thumbStart();
        dragOffset_ = layout.thumbStart() - layout.trackStart();
        info.tracking = true;
        info.trackPos = info.pos;
        redraw();
        return true;
      }
      redraw();
      step();
      if (tracking()) startTimer(kFirstRepeatMs);
      return true;
    }
    // Only the window's own bars lie outside its client area; a child
    // reaching there is clipped away, so its parent's bar is looked at.
  }
  return false;
}

std::optional<ScrollBarLayout> ScrollBarTracker::layoutNow(ScrollBarInfo*& info) {
  Window* window = wm().fromHandle(hwnd_);
  WindowScrollBars* bars = windowScrollBars(window, false);
  RECT bar = window ? scrollBarScreenRect(window, bar_) : RECT{0, 0, 0, 0};
  if (!bars || bar.right <= bar.left) return std::nullopt;
  info = &bars->bar(bar_);
  return ScrollBarLayout(bar, bar_ == SB_VERT, *info, part_ == ScrollBarPart::Thumb ? dragOffset_ : -1);
}

void ScrollBarTracker::send(WORD code, int position) {
  UINT msg = bar_ == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  SendMessageW(hwnd_, msg, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
  if (!IsWindow(hwnd_)) finish();
}

// One line or page step, while the stylus is over the part it pressed; a
// page step stops once the thumb has come to the stylus.
void ScrollBarTracker::step() {
  ScrollBarInfo* info = nullptr;
  auto layout = layoutNow(info);
  if (!layout) {
    cancel();
    return;
  }
  over_ = layout->partAt(stylus_) == part_;
  if (!over_) return;
  bool vertical = bar_ == SB_VERT;
  switch (part_) {
    case ScrollBarPart::LineBack:
      send(vertical ? SB_LINEUP : SB_LINELEFT, 0);
      break;
    case ScrollBarPart::LineForward:
      send(vertical ? SB_LINEDOWN : SB_LINERIGHT, 0);
      break;
    case ScrollBarPart::PageBack:
      send(vertical ? SB_PAGEUP : SB_PAGELEFT, 0);
      break;
    case ScrollBarPart::PageForward:
      send(vertical ? SB_PAGEDOWN : SB_PAGERIGHT, 0);
      break;
    default:
      break;
  }
}

void ScrollBarTracker::repeat() {
  if (!tracking() || part_ == ScrollBarPart::Thumb) return;
  step();
  if (tracking()) {
    redraw();
    startTimer(kRepeatMs);
  }
}

void ScrollBarTracker::move(POINT screen) {
  if (!tracking()) return;
  stylus_ = screen;
  ScrollBarInfo* info = nullptr;
  auto layout = layoutNow(info);
  if (!layout) {
    cancel();
    return;
  }
  if (part_ != ScrollBarPart::Thumb) {
    bool over = layout->partAt(screen) == part_;
    if (over != over_) {
      over_ = over;
      redraw();
    }
    return;
  }
  int offset = std::clamp(layout->along(screen) - grab_ - layout->trackStart(), 0, std::max(layout->travel(), 0));
  if (offset == dragOffset_) return;
  dragOffset_ = offset;
  int position = layout->positionForOffset(offset, *info);
  redraw();
  if (position == info->trackPos) return;
  info->trackPos = position;
  send(SB_THUMBTRACK, position);
}

void ScrollBarTracker::release(POINT screen) {
  if (!tracking()) return;
  move(screen);
  if (!tracking()) return;
  if (part_ == ScrollBarPart::Thumb) {
    ScrollBarInfo* info = nullptr;
    int position = layoutNow(info) && info ? info->trackPos : 0;
    send(SB_THUMBPOSITION, position);
    if (!tracking()) return;
  }
  HWND hwnd = hwnd_;
  int bar = bar_;
  finish();
  SendMessageW(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

void ScrollBarTracker::cancel() {
  if (!tracking()) return;
  HWND hwnd = hwnd_;
  int bar = bar_;
  finish();
  if (IsWindow(hwnd)) SendMessageW(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

void ScrollBarTracker::finish() {
  stopTimer();
  HWND hwnd = hwnd_;
  if (Window* window = wm().fromHandle(hwnd)) {
    if (WindowScrollBars* bars = windowScrollBars(window, false)) bars->bar(bar_).tracking = false;
  }
  hwnd_ = nullptr;
  part_ = ScrollBarPart::None;
  dragOffset_ = -1;
  if (Window* window = wm().fromHandle(hwnd)) drawScrollBar(window, bar_);
}

void ScrollBarTracker::redraw() {
  if (Window* window = wm().fromHandle(hwnd_)) drawScrollBar(window, bar_);
}

ScrollBarPart ScrollBarTracker::pressedPart(HWND hwnd, int bar) const {
  if (hwnd != hwnd_ || bar != bar_ || !over_ || part_ == ScrollBarPart::Thumb) return ScrollBarPart::None;
  return part_;
}

int ScrollBarTracker::thumbOffset(HWND hwnd, int bar) const {
  return hwnd == hwnd_ && bar == bar_ && part_ == ScrollBarPart::Thumb ? dragOffset_ : -1;
}

void CALLBACK ScrollBarTracker::onTimer(HWND, UINT, UINT_PTR, DWORD) { instance().repeat(); }

void ScrollBarTracker::startTimer(UINT ms) {
  stopTimer();
  timer_ = SetTimer(nullptr, 0, ms, onTimer);
}

void ScrollBarTracker::stopTimer() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
}

}  // namespace user
