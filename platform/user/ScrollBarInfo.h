// The numbers of a scroll bar: its range, page, position and, while the
// thumb is dragged, the tracking position; and the two bars a window with
// WS_VSCROLL or WS_HSCROLL keeps in its non-client area.
#pragma once

#include <windows.h>

#include "user/Window.h"

namespace user {

struct ScrollBarInfo {
  int min = 0;
  int max = 100;  // a window's bars start with the range 0 to 100
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;   // the thumb is being dragged
  bool inactive = false;   // shown only because of SIF_DISABLENOSCROLL
  UINT disabledArrows = 0; // ESB_DISABLE_LTUP, ESB_DISABLE_RTDN

  // Applies the parts of info its mask names; the page and the position
  // are kept within the range.
  void apply(const SCROLLINFO& info);
  // The last position at which a whole page still shows.
  int lastPos() const;
  int clamp(int position) const;
  // The page does not show the whole range: the bar has something to do.
  bool needed() const;
  // The bar takes the stylus: needed, not inactive, not fully disabled.
  bool enabled() const;
};

// A window's own bars, owned by the window.
class WindowScrollBars : public Control {
 public:
  ScrollBarInfo horizontal;
  ScrollBarInfo vertical;
  ScrollBarInfo& bar(int which) { return which == SB_HORZ ? horizontal : vertical; }
};

// The bars of a window; made on first use when create is set, or when the
// window has the style of a bar. Null otherwise.
WindowScrollBars* windowScrollBars(Window* window, bool create);

inline DWORD styleOfBar(int which) { return which == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

}  // namespace user
