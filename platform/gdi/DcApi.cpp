// Drawing state of a device context, device capabilities, and filling.
#include <utility>

#include "device/Device.h"
#include "gdi/DeviceContext.h"
#include "gdi/GdiObject.h"

namespace {

template <typename R, typename F>
R withDC(HDC hdc, R failure, F&& f) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  return dc ? f(*dc) : failure;
}

constexpr COLORREF kInvalidColor = 0xFFFFFFFF;

}  // namespace

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return withDC(hdc, kInvalidColor, [&](gdi::DeviceContext& dc) { return std::exchange(dc.bkColor, color); });
}

COLORREF WINAPI GetBkColor(HDC hdc) {
  return withDC(hdc, kInvalidColor, [](gdi::DeviceContext& dc) { return dc.bkColor; });
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return withDC(hdc, kInvalidColor, [&](gdi::DeviceContext& dc) { return std::exchange(dc.textColor, color); });
}

COLORREF WINAPI GetTextColor(HDC hdc) {
  return withDC(hdc, kInvalidColor, [](gdi::DeviceContext& dc) { return dc.textColor; });
}

int WINAPI SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return withDC(hdc, 0, [&](gdi::DeviceContext& dc) { return std::exchange(dc.bkMode, mode); });
}

int WINAPI GetBkMode(HDC hdc) {
  return withDC(hdc, 0, [](gdi::DeviceContext& dc) { return dc.bkMode; });
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
  (void)hdc;  // every DC draws on the one screen
  device::Device& device = device::Device::instance();
  switch (index) {
    case HORZRES:
      return device.screenWidth();
    case VERTRES:
      return device.screenHeight();
    case BITSPIXEL:
      return device.bitsPerPixel();
    case PLANES:
      return 1;
    case NUMCOLORS:
      // A palette's size; deeper screens have none.
      return device.bitsPerPixel() <= 8 ? 1 << device.bitsPerPixel() : -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return device::Device::kDpi;
    default:
      return 0;
  }
}

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  gdi::DeviceContext* dc = gdi::dcFromHandle(hdc);
  gdi::GdiObject* b = gdi::brushFromArgument(brush);
  if (!dc || !rect || !b) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (b->style != BS_NULL) dc->fill(*rect, b->color);
  return 1;
}
