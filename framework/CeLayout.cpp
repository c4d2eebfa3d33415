#include "framework/CeLayout.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

// Items are copied bytewise when the array grows.
static_assert(std::is_trivially_copyable_v<LayoutItem>, "layout items are plain data");

namespace {

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window, HWND parent) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  ScreenToClient(parent, reinterpret_cast<POINT*>(&rect.left));
  ScreenToClient(parent, reinterpret_cast<POINT*>(&rect.right));
  return rect;
}

int WidthOf(const RECT& rect) { return rect.right - rect.left; }
int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }

// value scaled by now / reference, the product formed before dividing and
// truncated toward zero. A parent that had no extent at registration gives
// no proportion to scale by: the value stays as it was registered.
int Scaled(int value, int now, int reference) {
  if (reference == 0) return value;
  return int(int64_t(value) * now / reference);
}

bool IsFollowingPrev(DWORD flags) { return (flags & (CeLayout::FollowPrev | CeLayout::FollowPrevQuiet)) != 0; }

bool HasLiveWindow(HWND window) { return window != nullptr && IsWindow(window); }

}  // namespace

LayoutItemArray::~LayoutItemArray() { std::free(items); }

bool LayoutItemArray::Append(const LayoutItem& item) {
  auto* grown = static_cast<LayoutItem*>(std::malloc(sizeof(LayoutItem) * size_t(count + 1)));
  if (grown == nullptr) return false;
  if (count > 0) std::memcpy(grown, items, sizeof(LayoutItem) * size_t(count));
  std::free(items);
  items = grown;
  items[count] = item;
  ++count;
  return true;
}

int CeLayout::AddControl(HWND control, DWORD flags) {
  if (!IsWindow(control)) return items.Count() - 1;
  if (parent == nullptr) {
    parent = GetParent(control);
    GetClientRect(parent, &parentInitial);
  }

  LayoutItem item = {};
  item.hwnd = control;
  item.flags = flags;
  item.initial = RectInParent(control, parent);
  RECT client = {};
  GetClientRect(control, &client);
  item.minWidth = WidthOf(item.initial) - WidthOf(client);
  item.minHeight = HeightOf(item.initial) - HeightOf(client);

  if (IsFollowingPrev(flags)) {
    HWND previous = GetWindow(control, GW_HWNDPREV);
    if (previous != nullptr) {
      const RECT sibling = RectInParent(previous, parent);
      item.prevGapX = item.initial.left - sibling.right;
      item.prevOffsetY = sibling.top - item.initial.top;
      item.prevHwnd = previous;
    }
  }
  if ((flags & FollowNext) != 0) {
    HWND next = GetWindow(control, GW_HWNDNEXT);
    if (next != nullptr) {
      const RECT sibling = RectInParent(next, parent);
      item.nextGapX = sibling.left - item.initial.right;
      item.nextOffsetY = sibling.top - item.initial.top;
      item.nextHwnd = next;
    }
  }

  // Should the array not grow, the control is simply not registered.
  items.Append(item);
  return items.Count() - 1;
}

SIZE CeLayout::NewSize(const LayoutItem& item, const RECT& client) const {
  SIZE size = {WidthOf(item.initial), HeightOf(item.initial)};
  if ((item.flags & StretchWidth) != 0)
    size.cx += WidthOf(client) - WidthOf(parentInitial);
  else if ((item.flags & ScaleWidth) != 0)
    size.cx = Scaled(size.cx, WidthOf(client), WidthOf(parentInitial));
  if ((item.flags & StretchHeight) != 0)
    size.cy += HeightOf(client) - HeightOf(parentInitial);
  else if ((item.flags & ScaleHeight) != 0)
    size.cy = Scaled(size.cy, HeightOf(client), HeightOf(parentInitial));
  return size;
}

bool CeLayout::Place(LayoutItem& item, const RECT& client) {
  const RECT current = RectInParent(item.hwnd, parent);
  const SIZE size = NewSize(item, client);
  RECT placed = {};

  if ((item.flags & AnchorRight) != 0) {
    placed.right = item.initial.right + (client.right - parentInitial.right);
    placed.left = placed.right - size.cx;
  } else if ((item.flags & ScaleLeft) != 0) {
    placed.right = Scaled(item.initial.left, WidthOf(client), WidthOf(parentInitial)) + size.cx;
    placed.left = placed.right - size.cx;
  } else {
    placed.left = current.left;
    placed.right = placed.left + size.cx;
  }

  if ((item.flags & (AnchorBottom | ScaleTop)) != 0) {
    if ((item.flags & AnchorBottom) != 0)
      placed.bottom = item.initial.bottom + (client.bottom - parentInitial.bottom);
    else
      placed.bottom = Scaled(item.initial.top, HeightOf(client), HeightOf(parentInitial)) + size.cy;
    placed.top = placed.bottom - size.cy;
    if (placed.top > placed.bottom) placed.top = placed.bottom;
  } else {
    placed.top = current.top;
    placed.bottom = placed.top + size.cy;
    if (placed.bottom < placed.top) placed.bottom = placed.top;
  }

  if (IsFollowingPrev(item.flags) && HasLiveWindow(item.prevHwnd)) {
    const RECT sibling = RectInParent(item.prevHwnd, parent);
    item.prevPlaced.right = placed.left - item.prevGapX;
    item.prevPlaced.left = item.prevPlaced.right - WidthOf(sibling);
    item.prevPlaced.top = placed.top + item.prevOffsetY;
    item.prevPlaced.bottom = item.prevPlaced.top + HeightOf(sibling);
  }
  if ((item.flags & FollowNext) != 0 && HasLiveWindow(item.nextHwnd)) {
    const RECT sibling = RectInParent(item.nextHwnd, parent);
    item.nextPlaced.left = placed.right + item.nextGapX;
    item.nextPlaced.right = item.nextPlaced.left + WidthOf(sibling);
    item.nextPlaced.top = placed.top + item.nextOffsetY;
    item.nextPlaced.bottom = item.nextPlaced.top + HeightOf(sibling);
  }

  if (HeightOf(placed) < item.minHeight && WidthOf(placed) < item.minWidth) return false;
  item.placed = placed;
  return true;
}

// No control smaller than its frame, and no two that overlap without one
// holding the other (controls inside a group box are fine).
bool CeLayout::Acceptable() const {
  for (int i = 0; i < items.Count(); ++i) {
    const LayoutItem& item = items[i];
    if (WidthOf(item.placed) < item.minWidth || HeightOf(item.placed) < item.minHeight) return false;
    for (int j = i + 1; j < items.Count(); ++j) {
      const RECT& other = items[j].placed;
      RECT common = {};
      if (IntersectRect(&common, &item.placed, &other) && !EqualRect(&common, &item.placed) &&
          !EqualRect(&common, &other))
        return false;
    }
  }
  return true;
}

void CeLayout::MoveAll() {
  for (int i = 0; i < items.Count(); ++i) {
    const LayoutItem& item = items[i];
    if (!HasLiveWindow(item.hwnd)) continue;
    const RECT& r = item.placed;
    MoveWindow(item.hwnd, r.left, r.top, WidthOf(r), HeightOf(r), TRUE);
    if (IsFollowingPrev(item.flags) && HasLiveWindow(item.prevHwnd)) {
      const RECT& p = item.prevPlaced;
      MoveWindow(item.prevHwnd, p.left, p.top, WidthOf(p), HeightOf(p), TRUE);
    }
    if ((item.flags & FollowNext) != 0 && HasLiveWindow(item.nextHwnd)) {
      const RECT& n = item.nextPlaced;
      MoveWindow(item.nextHwnd, n.left, n.top, WidthOf(n), HeightOf(n), TRUE);
    }
  }
}

void CeLayout::InvalidateAll() {
  for (int i = 0; i < items.Count(); ++i) {
    const LayoutItem& item = items[i];
    if (!HasLiveWindow(item.hwnd)) continue;
    InvalidateRect(item.hwnd, nullptr, TRUE);
    if ((item.flags & FollowPrev) != 0 && HasLiveWindow(item.prevHwnd)) InvalidateRect(item.prevHwnd, nullptr, TRUE);
    if ((item.flags & FollowNext) != 0 && HasLiveWindow(item.nextHwnd)) InvalidateRect(item.nextHwnd, nullptr, TRUE);
  }
}

void CeLayout::Relayout(WPARAM sizeType) {
  if (sizeType == SIZE_MINIMIZED || items.Count() == 0) return;
  RECT client = {};
  GetClientRect(parent, &client);
  for (int i = 0; i < items.Count(); ++i) {
    LayoutItem& item = items[i];
    // A control that has gone keeps its last place for the check below.
    if (!IsWindow(item.hwnd)) continue;
    if (!Place(item, client)) return;
  }
  if (!Acceptable()) return;
  // Every move of a pass comes before any repaint it asks for.
  MoveAll();
  InvalidateAll();
}
