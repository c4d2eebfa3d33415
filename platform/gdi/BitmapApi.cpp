// Memory DCs and bitmaps: creating, loading and describing them.
#include "gdi/Bitmap.h"
#include "gdi/DeviceContext.h"
#include "gdi/GdiObject.h"

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  // Null means the screen; any other argument must be a live DC.
  if (hdc && !gdi::dcOrError(hdc)) return nullptr;
  HDC memory = gdi::createMemoryDC();
  if (!memory) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return memory;
}

BOOL WINAPI DeleteDC(HDC hdc) {
  gdi::DeviceContext* dc = gdi::dcFromHandle(hdc);
  // A window's DC goes back with ReleaseDC or EndPaint.
  if (!dc || !dc->isMemory()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return gdi::deleteDC(hdc) ? TRUE : FALSE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return nullptr;
  // Compatible with a memory DC means the depth of the bitmap it holds:
  // monochrome while it still has its default bitmap.
  int depth = GetDeviceCaps(hdc, BITSPIXEL);
  if (dc->isMemory())
    if (gdi::Bitmap* held = gdi::bitmapFromHandle(dc->bitmap())) depth = held->bitsPerPixel;
  HBITMAP bitmap = gdi::createBitmap(cx, cy, depth);
  if (!bitmap) SetLastError(ERROR_INVALID_PARAMETER);
  return bitmap;
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                DWORD offset) {
  (void)hdc;
  (void)offset;
  if (bits) *bits = nullptr;
  // Only colour tables of RGB values and memory of the platform's own.
  if (!info || usage != DIB_RGB_COLORS || section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HBITMAP bitmap = gdi::createDibSection(*info, bits);
  if (!bitmap) SetLastError(ERROR_INVALID_PARAMETER);
  return bitmap;
}

HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HBITMAP>(gdi::loadBitmapResource(instance, name, 0, 0, 0));
}
