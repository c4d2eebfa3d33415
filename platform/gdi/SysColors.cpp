// The Pocket PC palette: white windows and dialogs, grey 3-D parts, a dark
// blue selection.
#include "gdi/SysColors.h"

#include <array>

#include "gdi/GdiObject.h"

namespace gdi {
namespace {

constexpr std::array<COLORREF, kSysColorCount> kPalette = {
    RGB(224, 224, 224),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(224, 224, 224),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(255, 255, 255),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
};

std::array<HBRUSH, kSysColorCount> createBrushes() {
  std::array<HBRUSH, kSysColorCount> brushes{};
  for (unsigned i = 0; i < kSysColorCount; ++i) {
    GdiObject brush;
    brush.kind = ObjectKind::Brush;
    brush.style = BS_SOLID;
    brush.color = kPalette[i];
    brush.permanent = true;
    brushes[i] = static_cast<HBRUSH>(addObject(brush));
  }
  return brushes;
}

}  // namespace
}  // namespace gdi

DWORD WINAPI GetSysColor(int index) {
  if (index < 0 || static_cast<unsigned>(index) >= gdi::kSysColorCount) return 0;
  return gdi::kPalette[index];
}

HBRUSH WINAPI GetSysColorBrush(int index) {
  static const auto* brushes = new std::array<HBRUSH, gdi::kSysColorCount>(gdi::createBrushes());
  if (index < 0 || static_cast<unsigned>(index) >= gdi::kSysColorCount) return nullptr;
  return (*brushes)[index];
}
