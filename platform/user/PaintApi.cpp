// The painting protocol: invalidation, BeginPaint/EndPaint, window DCs.
#include "device/Device.h"
#include "gdi/DeviceContext.h"
#include "user/Painter.h"
#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;
namespace painter = user::painter;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

Window* windowOrDesktop(HWND hwnd) { return hwnd ? wm().checked(hwnd) : wm().desktop(); }

}  // namespace

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  Window* window = windowOrDesktop(hwnd);
  if (!window) return FALSE;
  painter::invalidate(window, rect, erase != FALSE);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
  Window* window = windowOrDesktop(hwnd);
  if (!window) return FALSE;
  painter::validate(window, rect);
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* window = wm().checked(hwnd);
  if (!window) return FALSE;
  gdi::Region area = window->update;
  area.intersect(window->clientArea());
  if (rect) *rect = area.bounds();
  if (area.empty()) return FALSE;
  if (erase && window->erasePending) {
    window->erasePending = false;
    HDC hdc = GetDC(hwnd);
    if (gdi::DeviceContext* dc = gdi::dcFromHandle(hdc)) {
      gdi::Region clip = area;
      POINT origin = window->clientOrigin();
      clip.offset(origin.x, origin.y);
      clip.intersect(dc->clip());
      dc->setClip(clip);
    }
    wm().call(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseDC(hwnd, hdc);
  }
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  Window* window = wm().checked(hwnd);
  if (!window || !paint) return nullptr;
  user::WindowPin pin(window);
  return painter::beginPaint(window, *paint);
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  (void)hwnd;
  if (!paint) return FALSE;
  gdi::deleteDC(paint->hdc);
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  if (!window) return FALSE;
  painter::updateNow(window);
  return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
  if (!hwnd) {
    device::Device& device = device::Device::instance();
    RECT screen{0, 0, device.screenWidth(), device.screenHeight()};
    return gdi::createDC(nullptr, {0, 0}, gdi::Region(screen));
  }
  Window* window = wm().checked(hwnd);
  if (!window) return nullptr;
  gdi::Region clip = painter::visibleRegion(window, true, (window->style & WS_CLIPCHILDREN) != 0);
  return gdi::createDC(hwnd, window->clientOrigin(), std::move(clip));
}

HDC WINAPI GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  Window* window = wm().checked(hwnd);
  if (!window) return nullptr;
  RECT r = window->screenRect();
  gdi::Region clip = painter::visibleRegion(window, false, (window->style & WS_CLIPCHILDREN) != 0);
  return gdi::createDC(hwnd, {r.left, r.top}, std::move(clip));
}

int WINAPI ReleaseDC(HWND hwnd, HDC hdc) {
  gdi::DeviceContext* dc = gdi::dcFromHandle(hdc);
  if (!dc || dc->window() != hwnd) return 0;
  return gdi::deleteDC(hdc) ? 1 : 0;
}
