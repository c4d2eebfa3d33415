// Measuring text for layout (message boxes, buttons) in the font a control
// draws with: the system font unless one is given. Exact: the same glyph
// advances DrawTextW draws with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace user {

int textWidth(std::u16string_view text, HFONT font = nullptr);
int textLineHeight(HFONT font = nullptr);
// Breaks text into lines no wider than maxWidth as a static control with
// SS_EDITCONTROL shows it: at line breaks, else after the last word that
// fits, else inside a word too long for a line.
std::vector<std::u16string> wrapText(std::u16string_view text, int maxWidth, HFONT font = nullptr);
// The DrawTextW format that draws text as wrapText breaks it.
constexpr UINT kWrapFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX;

}  // namespace user
