// A device context: where drawing lands on the screen and what clips it,
// plus the drawing state (selected objects, colours, background mode).
// Coordinates given to drawing calls are logical: origin + (x, y) on screen.
#pragma once

#include <windows.h>

#include "gdi/Region.h"
#include "kernel/HandleTable.h"

namespace gdi {

class DeviceContext {
 public:
  DeviceContext(HWND window, POINT origin, Region clip);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  HWND window() const { return window_; }
  POINT origin() const { return origin_; }
  // Screen coordinates.
  const Region& clip() const { return clip_; }
  void setClip(Region clip) { clip_ = std::move(clip); }

  // Selects an object of its kind; returns the one it replaces, null if the
  // handle is no brush, pen or font.
  HGDIOBJ select(HGDIOBJ object);
  HGDIOBJ selected(UINT objectType) const;
  HBRUSH brush() const { return brush_; }
  HPEN pen() const { return pen_; }
  HFONT font() const { return font_; }

  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF textColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;

  // Fills rect (logical) with a colour, clipped; marks the framebuffer dirty.
  void fill(const RECT& rect, COLORREF color);

 private:
  HWND window_;
  POINT origin_;
  Region clip_;
  HBRUSH brush_;
  HPEN pen_;
  HFONT font_;
};

kernel::HandleTable<DeviceContext>& dcTable();
DeviceContext* dcFromHandle(HDC hdc);
// A DC for a window (or the whole screen when window is null).
HDC createDC(HWND window, POINT origin, Region clip);
bool deleteDC(HDC hdc);

// 0x00BBGGRR to the framebuffer's 0x00RRGGBB.
uint32_t toPixel(COLORREF color);

}  // namespace gdi
