#include "gdi/GdiObject.h"

#include <array>

#include "gdi/SysColors.h"

namespace gdi {

kernel::HandleTable<GdiObject>& objectTable() {
  static auto* table = new kernel::HandleTable<GdiObject>(3);
  return *table;
}

GdiObject* objectFromHandle(HGDIOBJ handle) { return objectTable().get(handle); }

HGDIOBJ addObject(GdiObject object) {
  return objectTable().add<HGDIOBJ>(std::make_unique<GdiObject>(object));
}

const LOGFONTW& systemFontDescription() {
  static const LOGFONTW font = [] {
    LOGFONTW f{};
    f.lfHeight = -11;  // 8 points at 96 dots per inch
    f.lfWeight = FW_NORMAL;
    f.lfCharSet = DEFAULT_CHARSET;
    f.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const char16_t face[] = u"Tahoma";
    for (size_t i = 0; i < sizeof(face) / sizeof(face[0]); ++i) f.lfFaceName[i] = face[i];
    return f;
  }();
  return font;
}

namespace {

GdiObject permanentBrush(UINT style, COLORREF color) {
  GdiObject o;
  o.kind = ObjectKind::Brush;
  o.style = style;
  o.color = color;
  o.permanent = true;
  return o;
}

GdiObject permanentPen(UINT style, COLORREF color) {
  GdiObject o;
  o.kind = ObjectKind::Pen;
  o.style = style;
  o.width = 1;
  o.color = color;
  o.permanent = true;
  return o;
}

std::array<HGDIOBJ, SYSTEM_FONT + 1> createStockObjects() {
  std::array<HGDIOBJ, SYSTEM_FONT + 1> stock{};
  stock[WHITE_BRUSH] = addObject(permanentBrush(BS_SOLID, RGB(255, 255, 255)));
  stock[LTGRAY_BRUSH] = addObject(permanentBrush(BS_SOLID, RGB(192, 192, 192)));
  stock[GRAY_BRUSH] = addObject(permanentBrush(BS_SOLID, RGB(128, 128, 128)));
  stock[DKGRAY_BRUSH] = addObject(permanentBrush(BS_SOLID, RGB(64, 64, 64)));
  stock[BLACK_BRUSH] = addObject(permanentBrush(BS_SOLID, RGB(0, 0, 0)));
  stock[NULL_BRUSH] = addObject(permanentBrush(BS_NULL, 0));
  stock[WHITE_PEN] = addObject(permanentPen(PS_SOLID, RGB(255, 255, 255)));
  stock[BLACK_PEN] = addObject(permanentPen(PS_SOLID, RGB(0, 0, 0)));
  stock[NULL_PEN] = addObject(permanentPen(PS_NULL, 0));
  GdiObject font;
  font.kind = ObjectKind::Font;
  font.font = systemFontDescription();
  font.permanent = true;
  stock[SYSTEM_FONT] = addObject(font);
  return stock;
}

}  // namespace

HGDIOBJ stockObject(int index) {
  static const auto* stock = new std::array<HGDIOBJ, SYSTEM_FONT + 1>(createStockObjects());
  if (index < 0 || index > SYSTEM_FONT) return nullptr;
  return (*stock)[index];
}

GdiObject* brushFromArgument(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= kSysColorCount) brush = GetSysColorBrush(static_cast<int>(value - 1));
  GdiObject* object = objectFromHandle(brush);
  return object && object->kind == ObjectKind::Brush ? object : nullptr;
}

}  // namespace gdi
