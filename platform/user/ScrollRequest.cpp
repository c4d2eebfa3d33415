#include "user/ScrollRequest.h"

namespace user {

std::optional<int> scrollRequestTarget(HWND hwnd, int bar, WORD code, int pos, const ScrollSteps& steps) {
  // The horizontal codes share the vertical ones' values (SB_LINELEFT is
  // SB_LINEUP, SB_RIGHT is SB_BOTTOM, ...).
  switch (code) {
    case SB_LINEUP:
      return pos - steps.line;
    case SB_LINEDOWN:
      return pos + steps.line;
    case SB_PAGEUP:
      return pos - steps.page;
    case SB_PAGEDOWN:
      return pos + steps.page;
    case SB_TOP:
      return 0;
    case SB_BOTTOM:
      return steps.last;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (!GetScrollInfo(hwnd, bar, &info)) return std::nullopt;
      return info.nTrackPos;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace user
