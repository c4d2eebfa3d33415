// A set of pixels described by non-overlapping rectangles: update regions,
// clip regions and exposed areas. Kept simple: every operation keeps the
// rectangles disjoint, so the area is exact and contains() is a scan.
#pragma once

#include <vector>

#include <windef.h>

namespace gdi {

bool rectEmpty(const RECT& r);
RECT rectIntersection(const RECT& a, const RECT& b);
RECT rectOffset(const RECT& r, int dx, int dy);

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rect);

  bool empty() const { return rects_.empty(); }
  const std::vector<RECT>& rects() const { return rects_; }
  // The smallest rectangle holding the region; empty for an empty region.
  RECT bounds() const;
  long area() const;
  bool contains(POINT point) const;

  void clear() { rects_.clear(); }
  void unite(const RECT& rect);
  void unite(const Region& other);
  void intersect(const RECT& rect);
  void intersect(const Region& other);
  void subtract(const RECT& rect);
  void subtract(const Region& other);
  void offset(int dx, int dy);

 private:
  std::vector<RECT> rects_;
};

}  // namespace gdi
