// Font enumeration: EnumFontFamiliesW over the installed families and the
// device's own faces.
#include <algorithm>
#include <string>

#include "gdi/DeviceContext.h"
#include "gdi/FontCache.h"
#include "gdi/FontMatcher.h"

namespace {

void copyName(WCHAR* out, size_t capacity, std::u16string_view name) {
  size_t n = std::min(name.size(), capacity - 1);
  std::copy_n(name.begin(), n, out);
  out[n] = 0;
}

// The enumeration record of one style, as CreateFontIndirectW would take it
// back, and the metrics of that font at the device's default size.
struct Entry {
  ENUMLOGFONTW font{};
  TEXTMETRICW metrics{};
};

Entry entryFor(const gdi::FontStyle& style, std::u16string_view fullName) {
  Entry e;
  LOGFONTW& lf = e.font.elfLogFont;
  copyName(lf.lfFaceName, LF_FACESIZE, style.family);
  lf.lfHeight = -gdi::kDefaultEmHeight;
  lf.lfWeight = style.weight;
  lf.lfItalic = style.italic ? 1 : 0;
  gdi::Font font = gdi::FontCache::instance().fontFor(lf);
  e.metrics = font.textMetrics();
  lf.lfHeight = e.metrics.tmHeight;
  lf.lfWidth = e.metrics.tmAveCharWidth;
  lf.lfCharSet = e.metrics.tmCharSet;
  lf.lfOutPrecision = 3;   // OUT_STROKE_PRECIS
  lf.lfClipPrecision = 2;  // CLIP_STROKE_PRECIS
  lf.lfQuality = DRAFT_QUALITY;
  bool variable = (e.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
  lf.lfPitchAndFamily = static_cast<BYTE>((e.metrics.tmPitchAndFamily & 0xF0) | (variable ? VARIABLE_PITCH : FIXED_PITCH));
  copyName(e.font.elfFullName, LF_FULLFACESIZE, fullName);
  copyName(e.font.elfStyle, LF_FACESIZE, style.style);
  return e;
}

// The style a family is shown by: the upright one nearest normal weight.
const gdi::FontStyle& representative(const std::vector<gdi::FontStyle>& styles) {
  return *std::min_element(styles.begin(), styles.end(), [](const gdi::FontStyle& a, const gdi::FontStyle& b) {
    if (a.italic != b.italic) return !a.italic;
    return std::abs(a.weight - FW_NORMAL) < std::abs(b.weight - FW_NORMAL);
  });
}

int report(const Entry& e, FONTENUMPROCW proc, LPARAM lParam) {
  return proc(&e.font.elfLogFont, &e.metrics, TRUETYPE_FONTTYPE, lParam);
}

}  // namespace

int WINAPI EnumFontFamiliesW(HDC hdc, LPCWSTR family, FONTENUMPROCW proc, LPARAM lParam) {
  if (!gdi::dcOrError(hdc)) return 0;
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const gdi::FontMatcher& matcher = gdi::FontMatcher::instance();
  int result = 1;
  if (!family || !family[0]) {
    // One call per family, named by the family as a whole.
    for (const std::u16string& name : matcher.families()) {
      std::vector<gdi::FontStyle> styles = matcher.styles(name);
      if (styles.empty()) continue;
      result = report(entryFor(representative(styles), name), proc, lParam);
      if (result == 0) break;
    }
    return result;
  }
  for (const gdi::FontStyle& style : matcher.styles(family)) {
    result = report(entryFor(style, style.fullName), proc, lParam);
    if (result == 0) break;
  }
  return result;
}
