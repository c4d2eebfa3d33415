// Rectangle arithmetic.
#include <algorithm>

#include <windows.h>

#include "gdi/Region.h"

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL WINAPI CopyRect(LPRECT dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL WINAPI InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = {rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
  return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = gdi::rectOffset(*rect, dx, dy);
  return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* rect) { return !rect || gdi::rectEmpty(*rect) ? TRUE : FALSE; }

BOOL WINAPI IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst) return FALSE;
  if (!a || !b) {
    *dst = {0, 0, 0, 0};
    return FALSE;
  }
  *dst = gdi::rectIntersection(*a, *b);
  return gdi::rectEmpty(*dst) ? FALSE : TRUE;
}

BOOL WINAPI UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  bool aEmpty = gdi::rectEmpty(*a);
  bool bEmpty = gdi::rectEmpty(*b);
  if (aEmpty && bEmpty) {
    *dst = {0, 0, 0, 0};
    return FALSE;
  }
  if (aEmpty) {
    *dst = *b;
  } else if (bEmpty) {
    *dst = *a;
  } else {
    *dst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
            std::max(a->bottom, b->bottom)};
  }
  return TRUE;
}

// What is left of a after taking b away, when that is still a rectangle:
// b must cover a completely along one axis.
BOOL WINAPI SubtractRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT result = *a;
  RECT overlap = gdi::rectIntersection(*a, *b);
  if (!gdi::rectEmpty(overlap)) {
    if (overlap.top == a->top && overlap.bottom == a->bottom) {
      if (overlap.left == a->left) result.left = overlap.right;
      else if (overlap.right == a->right) result.right = overlap.left;
    } else if (overlap.left == a->left && overlap.right == a->right) {
      if (overlap.top == a->top) result.top = overlap.bottom;
      else if (overlap.bottom == a->bottom) result.bottom = overlap.top;
    }
  }
  if (gdi::rectEmpty(result)) {
    *dst = {0, 0, 0, 0};
    return FALSE;
  }
  *dst = result;
  return TRUE;
}

BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom ? TRUE
                                                                                                           : FALSE;
}

BOOL WINAPI PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom
             ? TRUE
             : FALSE;
}
