#include "gdi/TextCanvas.h"

#include "device/Device.h"

namespace gdi {

TextCanvas::TextCanvas(const DeviceContext& dc) : clip_(dc.clip()), origin_(dc.origin()) {
  display::Framebuffer& fb = device::Device::instance().backend().framebuffer();
  pixels_.pixels = fb.row(0);
  pixels_.width = fb.width();
  pixels_.height = fb.height();
  pixels_.stride = fb.width();
}

void TextCanvas::changed(const RECT& rect) const {
  RECT part = rectIntersection(rect, clip_.bounds());
  if (rectEmpty(part)) return;
  device::Device::instance().backend().framebuffer().markDirty({part.left, part.top, part.right, part.bottom});
}

}  // namespace gdi
