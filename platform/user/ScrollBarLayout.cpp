#include "user/ScrollBarLayout.h"

#include <algorithm>
#include <cstdint>

namespace user {

namespace {

// A thumb is never shorter than this, however large the range.
constexpr int kMinThumb = 6;

int scaled(int64_t value, int64_t numerator, int64_t denominator) {
  if (denominator <= 0) return 0;
  return static_cast<int>((value * numerator + denominator / 2) / denominator);
}

}  // namespace

ScrollBarLayout::ScrollBarLayout(const RECT& rect, bool vertical, const ScrollBarInfo& info, int thumbOffset)
    : rect_(rect), vertical_(vertical) {
  length_ = std::max<int>(0, vertical ? rect.bottom - rect.top : rect.right - rect.left);
  arrow_ = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length_ / 2);
  trackLength_ = length_ - 2 * arrow_;
  if (!info.enabled() || trackLength_ <= 0) return;

  int64_t positions = int64_t(info.max) - info.min + 1;
  int length = info.page > 0 ? static_cast<int>(int64_t(info.page) * trackLength_ / positions)
                             : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  length = std::max(length, kMinThumb);
  if (length >= trackLength_) return;  // no room for the thumb to move
  thumbLength_ = length;

  int offset;
  if (thumbOffset >= 0) {
    offset = std::min(thumbOffset, travel());
  } else {
    int64_t span = int64_t(info.lastPos()) - info.min;
    offset = span > 0 ? scaled(int64_t(info.pos) - info.min, travel(), span) : 0;
  }
  thumbStart_ = arrow_ + std::clamp(offset, 0, travel());
}

RECT ScrollBarLayout::span(int from, int to) const {
  if (vertical_) return {rect_.left, rect_.top + from, rect_.right, rect_.top + to};
  return {rect_.left + from, rect_.top, rect_.left + to, rect_.bottom};
}

RECT ScrollBarLayout::backArrow() const { return span(0, arrow_); }
RECT ScrollBarLayout::forwardArrow() const { return span(length_ - arrow_, length_); }
RECT ScrollBarLayout::thumb() const { return span(thumbStart_, thumbStart_ + thumbLength_); }

RECT ScrollBarLayout::pageBack() const {
  return span(arrow_, hasThumb() ? thumbStart_ : length_ - arrow_);
}

RECT ScrollBarLayout::pageForward() const {
  return hasThumb() ? span(thumbStart_ + thumbLength_, length_ - arrow_) : span(length_ - arrow_, length_ - arrow_);
}

ScrollBarPart ScrollBarLayout::partAt(POINT p) const {
  if (p.x < rect_.left || p.x >= rect_.right || p.y < rect_.top || p.y >= rect_.bottom) return ScrollBarPart::None;
  int a = along(p);
  if (a < arrow_) return ScrollBarPart::LineBack;
  if (a >= length_ - arrow_) return ScrollBarPart::LineForward;
  if (!hasThumb()) return ScrollBarPart::None;
  if (a < thumbStart_) return ScrollBarPart::PageBack;
  if (a < thumbStart_ + thumbLength_) return ScrollBarPart::Thumb;
  return ScrollBarPart::PageForward;
}

int ScrollBarLayout::positionForOffset(int offset, const ScrollBarInfo& info) const {
  if (travel() <= 0) return info.min;
  int64_t span = int64_t(info.lastPos()) - info.min;
  return info.min + scaled(std::clamp(offset, 0, travel()), span, travel());
}

void paintScrollBar(HDC hdc, const ScrollBarLayout& layout, const ScrollBarInfo& info, ScrollBarPart pressed) {
  bool enabled = info.enabled();
  auto arrow = [&](RECT r, UINT kind, ScrollBarPart part, UINT disabledBit) {
    UINT state = kind;
    if (pressed == part) state |= DFCS_PUSHED;
    if (!enabled || (info.disabledArrows & disabledBit)) state |= DFCS_INACTIVE;
    DrawFrameControl(hdc, &r, DFC_SCROLL, state);
  };
  bool vertical = layout.vertical();
  arrow(layout.backArrow(), vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT, ScrollBarPart::LineBack, ESB_DISABLE_LTUP);
  arrow(layout.forwardArrow(), vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT, ScrollBarPart::LineForward,
        ESB_DISABLE_RTDN);

  HBRUSH track = GetSysColorBrush(COLOR_SCROLLBAR);
  HBRUSH held = GetSysColorBrush(COLOR_BTNSHADOW);
  RECT back = layout.pageBack();
  RECT forward = layout.pageForward();
  FillRect(hdc, &back, pressed == ScrollBarPart::PageBack ? held : track);
  FillRect(hdc, &forward, pressed == ScrollBarPart::PageForward ? held : track);
  if (layout.hasThumb()) {
    RECT thumb = layout.thumb();
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
}

}  // namespace user
