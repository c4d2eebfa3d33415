#include "user/TextMeasure.h"

#include "gdi/FontCache.h"
#include "gdi/TextLayout.h"
#include "gdi/TextRun.h"

namespace user {

namespace {

gdi::Font fontOf(HFONT font) { return gdi::FontCache::instance().fontForHandle(font); }

}  // namespace

int textWidth(std::u16string_view text, HFONT font) { return gdi::textWidth(fontOf(font), text); }

int textLineHeight(HFONT font) { return fontOf(font).height(); }

std::vector<std::u16string> wrapText(std::u16string_view text, int maxWidth, HFONT font) {
  std::vector<std::u16string> lines;
  if (text.empty()) {
    lines.emplace_back();
    return lines;
  }
  gdi::TextLayout layout = gdi::layoutText(fontOf(font), text, kWrapFormat, maxWidth);
  for (gdi::TextLine& line : layout.lines) lines.push_back(std::move(line.text));
  return lines;
}

}  // namespace user
