#include "gdi/DeviceContext.h"

#include "device/Device.h"
#include "gdi/Bitmap.h"
#include "gdi/GdiObject.h"
#include "kernel/Images.h"

namespace gdi {

namespace {

void addSelection(HGDIOBJ handle, int delta) {
  if (GdiObject* object = objectFromHandle(handle)) object->selections += delta;
}

// Every program that draws links this file, so LoadImageW learns here how
// to load bitmaps.
const bool kBitmapLoaderSet = (kernel::setBitmapLoader(&loadBitmapResource), true);

}  // namespace

DeviceContext::DeviceContext(HWND window, POINT origin, Region clip)
    : window_(window),
      origin_(origin),
      clip_(std::move(clip)),
      brush_(static_cast<HBRUSH>(stockObject(WHITE_BRUSH))),
      pen_(static_cast<HPEN>(stockObject(BLACK_PEN))),
      font_(static_cast<HFONT>(stockObject(SYSTEM_FONT))) {
  (void)kBitmapLoaderSet;
  addSelection(brush_, 1);
  addSelection(pen_, 1);
  addSelection(font_, 1);
}

DeviceContext::DeviceContext(MemoryTag) : DeviceContext(nullptr, {0, 0}, Region(RECT{0, 0, 1, 1})) {
  memory_ = true;
  bitmap_ = defaultBitmap();
  addSelection(bitmap_, 1);
}

std::unique_ptr<DeviceContext> DeviceContext::memory() {
  return std::unique_ptr<DeviceContext>(new DeviceContext(MemoryTag{}));
}

DeviceContext::~DeviceContext() {
  addSelection(brush_, -1);
  addSelection(pen_, -1);
  addSelection(font_, -1);
  addSelection(bitmap_, -1);
}

HGDIOBJ DeviceContext::select(HGDIOBJ handle) {
  GdiObject* object = objectFromHandle(handle);
  if (!object) return nullptr;
  HGDIOBJ previous = nullptr;
  switch (object->kind) {
    case ObjectKind::Brush:
      previous = brush_;
      brush_ = static_cast<HBRUSH>(handle);
      break;
    case ObjectKind::Pen:
      previous = pen_;
      pen_ = static_cast<HPEN>(handle);
      break;
    case ObjectKind::Font:
      previous = font_;
      font_ = static_cast<HFONT>(handle);
      break;
    case ObjectKind::Bitmap: {
      if (!memory_) return nullptr;
      if (handle == bitmap_) return handle;
      // A bitmap is drawn on by one memory DC at a time (the shared default
      // bitmap excepted).
      if (object->selections > 0 && !object->permanent) return nullptr;
      Bitmap* b = bitmapFromHandle(handle);
      if (!b) return nullptr;
      previous = bitmap_;
      bitmap_ = static_cast<HBITMAP>(handle);
      clip_ = Region(RECT{0, 0, b->width, b->height});
      break;
    }
  }
  addSelection(handle, 1);
  addSelection(previous, -1);
  return previous;
}

HGDIOBJ DeviceContext::selected(UINT objectType) const {
  switch (objectType) {
    case OBJ_BRUSH:
      return brush_;
    case OBJ_PEN:
      return pen_;
    case OBJ_FONT:
      return font_;
    case OBJ_BITMAP:
      return bitmap_;
    default:
      return nullptr;
  }
}

Surface DeviceContext::surface() const {
  if (!memory_) return Surface::screen();
  Bitmap* b = bitmapFromHandle(bitmap_);
  return b ? Surface::of(*b) : Surface();
}

RECT DeviceContext::surfaceBounds() const {
  if (memory_) {
    Bitmap* b = bitmapFromHandle(bitmap_);
    return b ? RECT{0, 0, b->width, b->height} : RECT{0, 0, 0, 0};
  }
  display::Framebuffer& fb = device::Device::instance().backend().framebuffer();
  return {0, 0, fb.width(), fb.height()};
}

std::vector<RECT> DeviceContext::visibleParts(const RECT& area) const {
  std::vector<RECT> parts;
  RECT onSurface = rectIntersection(area, surfaceBounds());
  if (rectEmpty(onSurface)) return parts;
  for (const RECT& c : clip_.rects()) {
    RECT part = rectIntersection(onSurface, c);
    if (!rectEmpty(part)) parts.push_back(part);
  }
  return parts;
}

bool DeviceContext::visible(int x, int y) const {
  RECT b = surfaceBounds();
  return x >= b.left && y >= b.top && x < b.right && y < b.bottom && clip_.contains({x, y});
}

void DeviceContext::fill(const RECT& rect, COLORREF color) {
  uint32_t pixel = toPixel(color);
  Surface s = surface();
  for (const RECT& part : visibleParts(toSurface(rect))) s.fill(part, pixel);
}

kernel::HandleTable<DeviceContext>& dcTable() {
  static auto* table = new kernel::HandleTable<DeviceContext>(2);
  return *table;
}

DeviceContext* dcFromHandle(HDC hdc) { return dcTable().get(hdc); }

DeviceContext* dcOrError(HDC hdc) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) SetLastError(ERROR_INVALID_HANDLE);
  return dc;
}

HDC createDC(HWND window, POINT origin, Region clip) {
  return dcTable().add<HDC>(std::make_unique<DeviceContext>(window, origin, std::move(clip)));
}

HDC createMemoryDC() { return dcTable().add<HDC>(DeviceContext::memory()); }

bool deleteDC(HDC hdc) { return dcTable().remove(hdc) != nullptr; }

}  // namespace gdi
