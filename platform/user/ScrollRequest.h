// What a control does with a scroll-bar request (WM_VSCROLL, WM_HSCROLL).
#pragma once

#include <optional>

#include <windows.h>

namespace user {

struct ScrollSteps {
  int line = 1;
  int page = 1;
  int last = 0;  // the position SB_BOTTOM / SB_RIGHT goes to
};

// The position a request moves to from pos: a line or a page either way, an
// end, or the thumb's tracking position, read from the window's bar because
// the message's 16 bits cannot carry large ranges. Nothing for requests that
// move nothing (SB_ENDSCROLL). The caller keeps the result within its range.
std::optional<int> scrollRequestTarget(HWND hwnd, int bar, WORD code, int pos, const ScrollSteps& steps);

}  // namespace user
