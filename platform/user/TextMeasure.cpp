#include "user/TextMeasure.h"

namespace user {

namespace {

// Tahoma 8 pt at 96 dots per inch.
constexpr int kAverageCharWidth = 5;
constexpr int kLineHeight = 13;

void wrapLine(std::u16string_view line, int maxWidth, std::vector<std::u16string>& out) {
  while (!line.empty()) {
    if (textWidth(line) <= maxWidth) {
      out.emplace_back(line);
      return;
    }
    // The longest prefix that fits, ending before a space where there is one.
    size_t fit = 0;
    while (fit < line.size() && textWidth(line.substr(0, fit + 1)) <= maxWidth) ++fit;
    if (fit == 0) fit = 1;
    size_t cut = line.substr(0, fit + 1).find_last_of(u' ');
    size_t take = (cut != std::u16string_view::npos && cut > 0) ? cut : fit;
    out.emplace_back(line.substr(0, take));
    line.remove_prefix(take);
    while (!line.empty() && line.front() == u' ') line.remove_prefix(1);
  }
}

}  // namespace

int textWidth(std::u16string_view text) { return static_cast<int>(text.size()) * kAverageCharWidth; }

int textLineHeight() { return kLineHeight; }

std::vector<std::u16string> wrapText(std::u16string_view text, int maxWidth) {
  std::vector<std::u16string> lines;
  if (maxWidth < kAverageCharWidth) maxWidth = kAverageCharWidth;
  while (true) {
    size_t end = text.find(u'\n');
    std::u16string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (line.empty())
      lines.emplace_back();
    else
      wrapLine(line, maxWidth, lines);
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace user
