// The image list entry points: thin, over commctrl::ImageList.
#include <algorithm>
#include <memory>
#include <vector>

#include "commctrl/ImageList.h"
#include "gdi/Bitmap.h"
#include "gdi/DeviceContext.h"
#include "gdi/Surface.h"
#include "kernel/Icons.h"

namespace {

commctrl::ImageList* checkedList(HIMAGELIST himl) {
  commctrl::ImageList* list = commctrl::imageListFromHandle(himl);
  if (!list) SetLastError(ERROR_INVALID_HANDLE);
  return list;
}

// Cuts a bitmap into images of the list's width, left to right, and appends
// them. transparent(x, y, pixel) tells which pixels the mask clears.
template <typename Transparent>
int addStrip(commctrl::ImageList& list, HBITMAP image, Transparent&& transparent) {
  gdi::Bitmap* bitmap = gdi::bitmapFromHandle(image);
  if (!bitmap) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  gdi::Surface surface = gdi::Surface::of(*bitmap);
  int images = surface.width() / list.width();
  if (images <= 0 || surface.height() <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  int rows = std::min(surface.height(), list.height());
  int first = -1;
  std::vector<uint32_t> argb(static_cast<size_t>(list.width()) * static_cast<size_t>(list.height()), 0);
  for (int i = 0; i < images; ++i) {
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < list.width(); ++x) {
        int sx = i * list.width() + x;
        uint32_t p = surface.pixel(sx, y) & 0x00FFFFFF;
        argb[static_cast<size_t>(y) * static_cast<size_t>(list.width()) + static_cast<size_t>(x)] =
            transparent(sx, y, p) ? 0 : (0xFF000000 | p);
      }
    }
    int index = list.put(-1, argb.data(), list.width(), list.height());
    if (first < 0) first = index;
  }
  return first;
}

}  // namespace

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (cx <= 0 || cy <= 0 || cx > commctrl::ImageList::kMaxImageSide || cy > commctrl::ImageList::kMaxImageSide ||
      initial < 0 || grow < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HIMAGELIST handle = commctrl::imageLists().add<HIMAGELIST>(
      std::make_unique<commctrl::ImageList>(cx, cy, flags, std::min(initial, 4096), grow));
  if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
  if (!checkedList(himl)) return FALSE;
  commctrl::imageLists().remove(himl);
  return TRUE;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
  commctrl::ImageList* list = checkedList(himl);
  return list ? list->count() : 0;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  commctrl::ImageList* list = checkedList(himl);
  if (!list || !cx || !cy) return FALSE;
  *cx = list->width();
  *cy = list->height();
  return TRUE;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON icon) {
  commctrl::ImageList* list = checkedList(himl);
  if (!list) return -1;
  const kernel::Icon* source = kernel::iconFromHandle(icon);
  if (!source || source->pixels.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  int index = list->put(i, source->pixels.data(), source->width, source->height);
  if (index < 0) SetLastError(ERROR_INVALID_PARAMETER);
  return index;
}

int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
  commctrl::ImageList* list = checkedList(himl);
  if (!list) return -1;
  gdi::Bitmap* maskBitmap = mask ? gdi::bitmapFromHandle(mask) : nullptr;
  if (!maskBitmap || !list->masked()) return addStrip(*list, image, [](int, int, uint32_t) { return false; });
  // The mask is white where the image is transparent.
  gdi::Surface maskSurface = gdi::Surface::of(*maskBitmap);
  return addStrip(*list, image, [&](int x, int y, uint32_t) {
    return maskSurface.contains(x, y) && (maskSurface.pixel(x, y) & 0x00FFFFFF) != 0;
  });
}

int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF mask) {
  commctrl::ImageList* list = checkedList(himl);
  if (!list) return -1;
  uint32_t key = gdi::toPixel(mask);
  bool keyed = list->masked() && (mask & 0xFF000000) == 0;
  return addStrip(*list, image, [&](int, int, uint32_t pixel) { return keyed && pixel == key; });
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
  commctrl::ImageList* list = checkedList(himl);
  if (!list) return FALSE;
  if (!list->remove(i)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF color) {
  commctrl::ImageList* list = checkedList(himl);
  return list ? list->setBkColor(color) : CLR_NONE;
}

COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl) {
  commctrl::ImageList* list = checkedList(himl);
  return list ? list->bkColor() : CLR_NONE;
}

BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT style) {
  commctrl::ImageList* list = checkedList(himl);
  if (!list) return FALSE;
  gdi::DeviceContext* dc = gdi::dcFromHandle(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!list->draw(*dc, i, x, y, style)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
