// DrawTextW's layout: the text broken into lines for a rectangle, with
// mnemonic prefixes taken out, tabs expanded and long lines cut with an
// ellipsis, each line with the advance of every character, so that drawing
// a line puts every glyph where the measurement said.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "gdi/FontCache.h"
#include "gdi/TextRun.h"

namespace gdi {

struct TextLine {
  std::u16string text;
  std::vector<int> advances;  // one per UTF-16 unit of text
  int width = 0;
  int underlined = -1;  // the unit a '&' prefix marks, -1 for none
};

struct TextLayout {
  std::vector<TextLine> lines;
  int lineHeight = 0;
  int width = 0;  // of the widest line
  int height() const { return clampCoord(static_cast<long long>(lines.size()) * lineHeight); }
};

// Lays text out for DrawTextW's format flags in a rectangle maxWidth wide;
// expanded tabs stop every tabChars average character widths.
constexpr int kDefaultTabChars = 8;
TextLayout layoutText(const Font& font, std::u16string_view text, UINT format, int maxWidth,
                      int tabChars = kDefaultTabChars);

}  // namespace gdi
