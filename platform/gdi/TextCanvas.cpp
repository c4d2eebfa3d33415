#include "gdi/TextCanvas.h"

namespace gdi {

TextCanvas::TextCanvas(const DeviceContext& dc) : surface_(dc.surface()), clip_(dc.clip()), origin_(dc.origin()) {
  clip_.intersect(surface_.bounds());
  if (!surface_.valid()) return;
  pixels_.pixels = surface_.row(0);
  pixels_.width = surface_.width();
  pixels_.height = surface_.height();
  pixels_.stride = surface_.height() > 1 ? surface_.row(1) - surface_.row(0) : surface_.width();
}

void TextCanvas::changed(const RECT& rect) const {
  RECT part = rectIntersection(rect, clip_.bounds());
  if (!rectEmpty(part)) surface_.markDirty(part);
}

}  // namespace gdi
