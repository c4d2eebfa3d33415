// A device context: where drawing lands and what clips it, plus the drawing
// state (selected objects, colours, background mode, current position).
// A window's DC draws on the screen; a memory DC on the bitmap selected
// into it. Coordinates given to drawing calls are logical: origin + (x, y)
// on the surface. The clip is in surface coordinates.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "gdi/Region.h"
#include "gdi/Surface.h"
#include "kernel/HandleTable.h"

namespace gdi {

// Coordinates are limited to 27 bits, as GDI's are: larger ones are clamped,
// so that sums and differences of coordinates never overflow.
constexpr int kMaxCoordinate = 1 << 27;
inline int clampCoordinate(int64_t v) {
  return static_cast<int>(v < -kMaxCoordinate ? -kMaxCoordinate : v > kMaxCoordinate ? kMaxCoordinate : v);
}
// The rectangle at (x, y) of cx by cy pixels, clamped.
inline RECT extentRect(int x, int y, int cx, int cy) {
  return {clampCoordinate(x), clampCoordinate(y), clampCoordinate(int64_t(x) + cx), clampCoordinate(int64_t(y) + cy)};
}

inline RECT clampRect(const RECT& r) {
  return {clampCoordinate(r.left), clampCoordinate(r.top), clampCoordinate(r.right), clampCoordinate(r.bottom)};
}

class DeviceContext {
 public:
  // A DC on the screen.
  DeviceContext(HWND window, POINT origin, Region clip);
  // A memory DC, holding the default 1x1 monochrome bitmap.
  static std::unique_ptr<DeviceContext> memory();
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  HWND window() const { return window_; }
  bool isMemory() const { return memory_; }
  POINT origin() const { return origin_; }
  const Region& clip() const { return clip_; }
  void setClip(Region clip) { clip_ = std::move(clip); }

  // Selects an object of its kind; returns the one it replaces, null if the
  // handle is no brush, pen, font or (memory DCs only) bitmap, or a bitmap
  // already selected elsewhere.
  HGDIOBJ select(HGDIOBJ object);
  HGDIOBJ selected(UINT objectType) const;
  HBRUSH brush() const { return brush_; }
  HPEN pen() const { return pen_; }
  HFONT font() const { return font_; }
  HBITMAP bitmap() const { return bitmap_; }

  // What drawing lands on now; take it per call, never keep it.
  Surface surface() const;
  // The surface's size without taking it.
  RECT surfaceBounds() const;
  // Logical to surface coordinates.
  POINT toSurface(int x, int y) const {
    return {clampCoordinate(int64_t(x) + origin_.x), clampCoordinate(int64_t(y) + origin_.y)};
  }
  RECT toSurface(const RECT& r) const {
    POINT a = toSurface(r.left, r.top), b = toSurface(r.right, r.bottom);
    return {a.x, a.y, b.x, b.y};
  }
  // The parts of area (surface coordinates) that the clip lets through and
  // that lie on the surface.
  std::vector<RECT> visibleParts(const RECT& area) const;
  bool visible(int x, int y) const;  // surface coordinates

  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  UINT textAlign = 0;     // TA_* flags
  POINT position{0, 0};  // MoveToEx/LineTo, logical

  // Fills rect (logical) with a colour, clipped; marks it dirty.
  void fill(const RECT& rect, COLORREF color);
  // Sets the pixels of rect (surface coordinates) that the clip lets
  // through, with op(old) -> new; marks them dirty.
  template <typename Op>
  void apply(const RECT& area, Op&& op) {
    Surface s = surface();
    for (const RECT& part : visibleParts(area)) {
      for (int y = part.top; y < part.bottom; ++y) {
        uint32_t* p = s.row(y);
        for (int x = part.left; x < part.right; ++x) p[x] = op(p[x], x, y) & 0x00FFFFFF;
      }
      s.markDirty(part);
    }
  }

 private:
  struct MemoryTag {};
  DeviceContext(MemoryTag);

  HWND window_ = nullptr;
  bool memory_ = false;
  POINT origin_{0, 0};
  Region clip_;
  HBRUSH brush_;
  HPEN pen_;
  HFONT font_;
  HBITMAP bitmap_ = nullptr;
};

kernel::HandleTable<DeviceContext>& dcTable();
DeviceContext* dcFromHandle(HDC hdc);
// As dcFromHandle, and a stale handle sets ERROR_INVALID_HANDLE.
DeviceContext* dcOrError(HDC hdc);
// A DC for a window (or the whole screen when window is null).
HDC createDC(HWND window, POINT origin, Region clip);
HDC createMemoryDC();
bool deleteDC(HDC hdc);

}  // namespace gdi
