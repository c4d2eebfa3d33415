#include "user/ScrollBarInfo.h"

#include <algorithm>
#include <memory>

namespace user {

void ScrollBarInfo::apply(const SCROLLINFO& info) {
  if (info.fMask & SIF_RANGE) {
    min = info.nMin;
    // An inverted range is an empty one.
    max = std::max(info.nMin, info.nMax);
  }
  if (info.fMask & SIF_PAGE) page = info.nPage;
  // The page never exceeds the number of positions.
  int64_t positions = int64_t(max) - min + 1;
  if (int64_t(page) > positions) page = static_cast<UINT>(positions);
  if (info.fMask & SIF_POS) pos = info.nPos;
  pos = clamp(pos);
}

int ScrollBarInfo::lastPos() const {
  int64_t last = int64_t(max) - (page > 0 ? int64_t(page) - 1 : 0);
  return static_cast<int>(std::max<int64_t>(last, min));
}

int ScrollBarInfo::clamp(int position) const { return std::clamp(position, min, lastPos()); }

bool ScrollBarInfo::needed() const { return max > min && (page == 0 || int64_t(page) <= int64_t(max) - min); }

bool ScrollBarInfo::enabled() const { return needed() && !inactive && disabledArrows != ESB_DISABLE_BOTH; }

WindowScrollBars* windowScrollBars(Window* window, bool create) {
  if (!window) return nullptr;
  if (!window->scrollBars && (create || (window->style & (WS_HSCROLL | WS_VSCROLL))))
    window->scrollBars = std::make_unique<WindowScrollBars>();
  return static_cast<WindowScrollBars*>(window->scrollBars.get());
}

}  // namespace user
