// Keeps registered dialog controls anchored, stretched or scaled as the
// dialog's client area changes size (full screen, the input panel opening or
// closing). A pass that would shrink a control below its frame, or make two
// controls partly overlap, moves nothing: the last good arrangement stays.
#pragma once

#include <windows.h>

// One registered control, with what was measured at registration and what
// the most recent pass computed. Rectangles are in the parent's client
// coordinates.
struct LayoutItem {
  HWND hwnd;
  DWORD flags;  // CeLayout::Flags
  RECT initial;
  // The control's frame (border, caption, scroll bars): no pass makes the
  // control smaller.
  int minWidth;
  int minHeight;
  RECT placed;
  // The control's left minus the previous sibling's right, and the
  // sibling's top minus the control's top.
  int prevGapX;
  int prevOffsetY;
  HWND prevHwnd;
  RECT prevPlaced;
  // The next sibling's left minus the control's right, and its top minus
  // the control's top.
  int nextGapX;
  int nextOffsetY;
  HWND nextHwnd;
  RECT nextPlaced;
};

// A growable array of LayoutItems holding exactly as many as it has.
class LayoutItemArray {
 public:
  LayoutItemArray() = default;
  LayoutItemArray(const LayoutItemArray&) = delete;
  LayoutItemArray& operator=(const LayoutItemArray&) = delete;
  virtual ~LayoutItemArray();

  // False, with the array unchanged, when the heap could not supply room.
  bool Append(const LayoutItem& item);
  int Count() const { return count; }
  LayoutItem& operator[](int index) { return items[index]; }
  const LayoutItem& operator[](int index) const { return items[index]; }

 private:
  int count = 0;
  LayoutItem* items = nullptr;
};

class CeLayout {
 public:
  // How a control follows its parent; each value is one bit.
  enum Flags : DWORD {
    // The right edge keeps its distance from the parent's right edge.
    AnchorRight = 0x0002,
    // The bottom edge keeps its distance from the parent's bottom edge.
    AnchorBottom = 0x0008,
    // The size changes by as much as the parent's client size has changed.
    StretchWidth = 0x0010,
    StretchHeight = 0x0020,
    // The size in proportion to the parent's client size.
    ScaleWidth = 0x0040,
    ScaleHeight = 0x0080,
    // The left (top) edge in proportion to the parent's client width (height).
    ScaleLeft = 0x0100,
    ScaleTop = 0x0200,
    // The previous (next) sibling in window order moves along, keeping its
    // spacing and size; Quiet spares it the extra repaint.
    FollowPrev = 0x1000,
    FollowPrevQuiet = 0x2000,
    FollowNext = 0x4000,
  };

  CeLayout() = default;
  CeLayout(const CeLayout&) = delete;
  CeLayout& operator=(const CeLayout&) = delete;
  virtual ~CeLayout() = default;

  // Registers a control of the dialog with its flags, measured as it is
  // now; the first registration also fixes the parent and its client
  // rectangle, to which all stretching and scaling refers. The new item's
  // index; when it could not be registered, the last index already held
  // (-1 when none).
  int AddControl(HWND control, DWORD flags);
  // Places the registered controls for the parent's current client size.
  // sizeType is WM_SIZE's first parameter.
  void Relayout(WPARAM sizeType);

  int Count() const { return items.Count(); }
  const LayoutItem& Item(int index) const { return items[index]; }

 private:
  // Computes one item's rectangles into it; false when the control would
  // be smaller than its frame in both dimensions.
  bool Place(LayoutItem& item, const RECT& client);
  SIZE NewSize(const LayoutItem& item, const RECT& client) const;
  bool Acceptable() const;
  void MoveAll();
  void InvalidateAll();

  LayoutItemArray items;
  HWND parent = nullptr;
  RECT parentInitial = {};
};
