// Measuring text for layout (message boxes). The one place that knows the
// system font's metrics: nominal values until the graphics module measures
// glyphs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace user {

int textWidth(std::u16string_view text);
int textLineHeight();
// Breaks text into lines no wider than maxWidth: at line breaks, else at
// spaces, else inside a word too long for a line.
std::vector<std::u16string> wrapText(std::u16string_view text, int maxWidth);

}  // namespace user
