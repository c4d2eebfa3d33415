// The stylus on a window's scroll bar. A tap on an arrow scrolls a line, on
// the track a page, each repeated while the stylus is held; dragging the
// thumb tracks its position. The window hears of it as WM_VSCROLL or
// WM_HSCROLL: SB_LINE*/SB_PAGE* when pressed and again on each repeat,
// SB_THUMBTRACK with the thumb's position while dragging, SB_THUMBPOSITION
// when the thumb is let go, and SB_ENDSCROLL at the end.
#pragma once

#include <optional>

#include <windows.h>

#include "user/ScrollBarLayout.h"

namespace user {

class Window;

class ScrollBarTracker {
 public:
  static ScrollBarTracker& instance();

  // The stylus went down at a screen point over target: takes it when the
  // point lies on a scroll bar of the target or of one of its ancestors.
  bool press(Window* target, POINT screen);
  bool tracking() const { return hwnd_ != nullptr; }
  bool holds(HWND hwnd, int bar) const { return hwnd_ && hwnd == hwnd_ && bar == bar_; }
  // Stylus moves and the lift while tracking.
  void move(POINT screen);
  void release(POINT screen);
  // The hold repeats a line or page step; the repeat timer calls it.
  void repeat();
  // Ends tracking at once, telling the window SB_ENDSCROLL (capture lost,
  // window gone, a modal run ending).
  void cancel();

  // How the bar shows while held: the part under the stylus, the thumb's
  // place while dragged (-1: from the position).
  ScrollBarPart pressedPart(HWND hwnd, int bar) const;
  int thumbOffset(HWND hwnd, int bar) const;

  // First repeat after the press, then between repeats.
  static constexpr UINT kFirstRepeatMs = 400;
  static constexpr UINT kRepeatMs = 100;

 private:
  ScrollBarTracker() = default;
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
  // The bar as it is now; nothing when it is gone.
  std::optional<ScrollBarLayout> layoutNow(ScrollBarInfo*& info);
  void step();
  void send(WORD code, int position);
  void startTimer(UINT ms);
  void stopTimer();
  void finish();
  void redraw();

  HWND hwnd_ = nullptr;
  int bar_ = SB_VERT;
  ScrollBarPart part_ = ScrollBarPart::None;
  POINT stylus_{};
  bool over_ = false;    // the stylus is over the part it pressed
  int grab_ = 0;         // where on the thumb the stylus holds it
  int dragOffset_ = -1;  // the thumb's place in its travel while dragged
  UINT_PTR timer_ = 0;
};

}  // namespace user
