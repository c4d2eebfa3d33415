// The "scrollbar" control: a scroll bar of its own (SBS_HORZ or SBS_VERT)
// that fills its client area, drawn and laid out as a window's bars are.
// The stylus on its arrows, track and thumb, and the arrow keys while it has
// the focus, tell the parent as WM_HSCROLL or WM_VSCROLL with the control's
// handle; the parent moves the thumb (SBM_SETPOS, SetScrollInfo with
// SB_CTL) as it scrolls. A new control has the empty range 0 to 0.
#pragma once

#include <windows.h>

#include "user/ScrollBarLayout.h"
#include "user/Window.h"

namespace user {

class ScrollBarControl : public Control {
 public:
  explicit ScrollBarControl(HWND hwnd);

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  // First repeat of a held arrow or track after the press, then between repeats.
  static constexpr UINT kFirstRepeatMs = 400;
  static constexpr UINT kRepeatMs = 100;

 private:
  bool vertical() const;
  ScrollBarLayout layout() const;
  int setInfo(const SCROLLINFO& given, bool redraw);
  BOOL getInfo(SCROLLINFO* out) const;
  int setPos(int pos, bool redraw);
  int setRange(int min, int max, bool redraw);
  void send(WORD code, int position = 0);
  void stylusDown(LPARAM lParam);
  void stylusMove(LPARAM lParam);
  void stylusUp(LPARAM lParam);
  void stopTracking();
  // One line or page step while the stylus is on the part it pressed.
  void step();
  void repeat();
  void keyDown(WPARAM key);
  void redraw();
  void paint();

  HWND hwnd_;
  ScrollBarInfo info_;
  ScrollBarPart part_ = ScrollBarPart::None;  // held by the stylus
  POINT stylus_{};
  bool over_ = false;
  int grab_ = 0;         // where on the thumb the stylus holds it
  int dragOffset_ = -1;  // the dragged thumb's place in its travel
  bool keyScrolling_ = false;
  bool repeating_ = false;
};

void registerScrollBarClass();

}  // namespace user
