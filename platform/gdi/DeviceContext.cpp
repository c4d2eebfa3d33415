#include "gdi/DeviceContext.h"

#include "device/Device.h"
#include "gdi/GdiObject.h"

namespace gdi {

namespace {

void addSelection(HGDIOBJ handle, int delta) {
  if (GdiObject* object = objectFromHandle(handle)) object->selections += delta;
}

}  // namespace

DeviceContext::DeviceContext(HWND window, POINT origin, Region clip)
    : window_(window),
      origin_(origin),
      clip_(std::move(clip)),
      brush_(static_cast<HBRUSH>(stockObject(WHITE_BRUSH))),
      pen_(static_cast<HPEN>(stockObject(BLACK_PEN))),
      font_(static_cast<HFONT>(stockObject(SYSTEM_FONT))) {
  addSelection(brush_, 1);
  addSelection(pen_, 1);
  addSelection(font_, 1);
}

DeviceContext::~DeviceContext() {
  addSelection(brush_, -1);
  addSelection(pen_, -1);
  addSelection(font_, -1);
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
    case ObjectKind::Bitmap:
      return nullptr;
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
    default:
      return nullptr;
  }
}

uint32_t toPixel(COLORREF color) {
  return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

void DeviceContext::fill(const RECT& rect, COLORREF color) {
  RECT screen = rectOffset(rect, origin_.x, origin_.y);
  if (rectEmpty(screen)) return;
  display::Framebuffer& fb = device::Device::instance().backend().framebuffer();
  uint32_t pixel = toPixel(color);
  for (const RECT& c : clip_.rects()) {
    RECT part = rectIntersection(screen, c);
    if (!rectEmpty(part)) fb.fill({part.left, part.top, part.right, part.bottom}, pixel);
  }
}

kernel::HandleTable<DeviceContext>& dcTable() {
  static auto* table = new kernel::HandleTable<DeviceContext>(2);
  return *table;
}

DeviceContext* dcFromHandle(HDC hdc) { return dcTable().get(hdc); }

HDC createDC(HWND window, POINT origin, Region clip) {
  return dcTable().add<HDC>(std::make_unique<DeviceContext>(window, origin, std::move(clip)));
}

bool deleteDC(HDC hdc) { return dcTable().remove(hdc) != nullptr; }

}  // namespace gdi
