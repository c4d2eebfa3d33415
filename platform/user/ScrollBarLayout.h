// Where the parts of a scroll bar lie, and drawing one with the device's
// look: an arrow button at each end, the track between them and the thumb
// on the track, its length the page's share of the range. Window bars and
// scroll bar controls share it.
#pragma once

#include <windows.h>

#include "user/ScrollBarInfo.h"

namespace user {

enum class ScrollBarPart { None, LineBack, PageBack, Thumb, PageForward, LineForward };

class ScrollBarLayout {
 public:
  // The bar fills rect (any coordinates); thumbOffset, when not negative,
  // places the thumb that many pixels into the track instead of at the
  // position (a thumb being dragged).
  ScrollBarLayout(const RECT& rect, bool vertical, const ScrollBarInfo& info, int thumbOffset = -1);

  bool vertical() const { return vertical_; }
  const RECT& bounds() const { return rect_; }
  RECT backArrow() const;
  RECT forwardArrow() const;
  bool hasThumb() const { return thumbLength_ > 0; }
  RECT thumb() const;
  // The track before and after the thumb (the whole track without one).
  RECT pageBack() const;
  RECT pageForward() const;

  ScrollBarPart partAt(POINT point) const;
  // Along the bar's axis, from its start.
  int along(POINT point) const { return vertical_ ? point.y - rect_.top : point.x - rect_.left; }
  int thumbStart() const { return thumbStart_; }
  int trackStart() const { return arrow_; }
  // Pixels the thumb can travel.
  int travel() const { return trackLength_ - thumbLength_; }
  // The position a thumb at offset pixels into its travel stands for.
  int positionForOffset(int offset, const ScrollBarInfo& info) const;

 private:
  RECT span(int from, int to) const;

  RECT rect_;
  bool vertical_;
  int length_ = 0;
  int arrow_ = 0;
  int trackLength_ = 0;
  int thumbLength_ = 0;
  int thumbStart_ = 0;  // from the bar's start
};

// Draws the bar; pressed shows a part held down, enabled false greys it.
void paintScrollBar(HDC hdc, const ScrollBarLayout& layout, const ScrollBarInfo& info, ScrollBarPart pressed);

}  // namespace user
