// Brushes, pens and fonts. The graphics module adds bitmaps and the glyphs
// behind a font; here a font is its LOGFONTW.
#pragma once

#include <memory>

#include <windows.h>

#include "kernel/HandleTable.h"

namespace gdi {

struct Bitmap;

enum class ObjectKind { Brush, Pen, Font, Bitmap };

struct GdiObject {
  ObjectKind kind = ObjectKind::Brush;
  // Brush: style BS_SOLID or BS_NULL; pen: PS_* style and width.
  UINT style = 0;
  int width = 0;
  COLORREF color = 0;
  LOGFONTW font{};
  std::shared_ptr<Bitmap> bitmap;  // ObjectKind::Bitmap
  // Stock and system-colour objects are never deleted.
  bool permanent = false;
  // Device contexts holding the object selected; it is not deleted meanwhile.
  int selections = 0;
};

kernel::HandleTable<GdiObject>& objectTable();
GdiObject* objectFromHandle(HGDIOBJ handle);
HGDIOBJ addObject(GdiObject object);

// The stock object for a *_BRUSH, *_PEN or SYSTEM_FONT index; null otherwise.
HGDIOBJ stockObject(int index);
// The LOGFONTW of the system font (Tahoma 8 pt on the device).
const LOGFONTW& systemFontDescription();

// A brush argument may be a system colour index plus one, as window classes
// and FillRect accept it; resolves either form to a brush object.
GdiObject* brushFromArgument(HBRUSH brush);

}  // namespace gdi
