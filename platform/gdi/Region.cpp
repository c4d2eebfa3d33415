#include "gdi/Region.h"

#include <algorithm>

namespace gdi {

bool rectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT rectIntersection(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (rectEmpty(r)) return {0, 0, 0, 0};
  return r;
}

RECT rectOffset(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

namespace {

// Appends the parts of r that lie outside cut (at most four bands).
void appendDifference(const RECT& r, const RECT& cut, std::vector<RECT>& out) {
  RECT overlap = rectIntersection(r, cut);
  if (rectEmpty(overlap)) {
    out.push_back(r);
    return;
  }
  if (r.top < overlap.top) out.push_back({r.left, r.top, r.right, overlap.top});
  if (overlap.bottom < r.bottom) out.push_back({r.left, overlap.bottom, r.right, r.bottom});
  if (r.left < overlap.left) out.push_back({r.left, overlap.top, overlap.left, overlap.bottom});
  if (overlap.right < r.right) out.push_back({overlap.right, overlap.top, r.right, overlap.bottom});
}

}  // namespace

Region::Region(const RECT& rect) {
  if (!rectEmpty(rect)) rects_.push_back(rect);
}

RECT Region::bounds() const {
  if (rects_.empty()) return {0, 0, 0, 0};
  RECT b = rects_.front();
  for (const RECT& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

long Region::area() const {
  long total = 0;
  for (const RECT& r : rects_) total += static_cast<long>(r.right - r.left) * (r.bottom - r.top);
  return total;
}

bool Region::contains(POINT p) const {
  return std::any_of(rects_.begin(), rects_.end(),
                     [&](const RECT& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; });
}

void Region::unite(const RECT& rect) {
  if (rectEmpty(rect)) return;
  // Only the parts of rect not yet covered are added, so the set stays disjoint.
  std::vector<RECT> pieces{rect};
  for (const RECT& existing : rects_) {
    std::vector<RECT> next;
    for (const RECT& piece : pieces) appendDifference(piece, existing, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::unite(const Region& other) {
  for (const RECT& r : other.rects_) unite(r);
}

void Region::intersect(const RECT& rect) {
  std::vector<RECT> kept;
  for (const RECT& r : rects_) {
    RECT i = rectIntersection(r, rect);
    if (!rectEmpty(i)) kept.push_back(i);
  }
  rects_.swap(kept);
}

void Region::intersect(const Region& other) {
  std::vector<RECT> kept;
  for (const RECT& a : rects_)
    for (const RECT& b : other.rects_) {
      RECT i = rectIntersection(a, b);
      if (!rectEmpty(i)) kept.push_back(i);
    }
  rects_.swap(kept);
}

void Region::subtract(const RECT& rect) {
  if (rectEmpty(rect)) return;
  std::vector<RECT> kept;
  for (const RECT& r : rects_) appendDifference(r, rect, kept);
  rects_.swap(kept);
}

void Region::subtract(const Region& other) {
  for (const RECT& r : other.rects_) subtract(r);
}

void Region::offset(int dx, int dy) {
  for (RECT& r : rects_) r = rectOffset(r, dx, dy);
}

}  // namespace gdi
