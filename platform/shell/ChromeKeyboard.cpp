#include "shell/ChromeKeyboard.h"

namespace shell {

namespace {

PanelKey character(char16_t plain, char16_t shifted) { return {nullptr, plain, shifted, 0, 2, false}; }

std::vector<PanelKey> characters(const char16_t* plain, const char16_t* shifted) {
  std::vector<PanelKey> keys;
  for (; *plain; ++plain, ++shifted) keys.push_back(character(*plain, *shifted));
  return keys;
}

std::vector<PanelKey> row(std::initializer_list<std::vector<PanelKey>> parts) {
  std::vector<PanelKey> keys;
  for (const auto& part : parts) keys.insert(keys.end(), part.begin(), part.end());
  return keys;
}

PanelKey special(const char16_t* label, uint32_t vk, int units) { return {label, 0, 0, vk, units, false}; }

}  // namespace

const std::vector<std::vector<PanelKey>>& keyboardRows() {
  static const auto* rows = new std::vector<std::vector<PanelKey>>{
      row({characters(u"1234567890-=", u"!@#$%^&*()_+"), {special(u"\u2190", VK_BACK, 4)}}),
      row({{special(u"Tab", VK_TAB, 4)}, characters(u"qwertyuiop[]", u"QWERTYUIOP{}")}),
      row({characters(u"asdfghjkl;'", u"ASDFGHJKL:\""), {special(u"\u21B5", VK_RETURN, 6)}}),
      row({{PanelKey{u"Shift", 0, 0, 0, 6, true}}, characters(u"zxcvbnm,./\\", u"ZXCVBNM<>?|")}),
      row({{PanelKey{nullptr, u'`', u'~', 0, 3, false}, PanelKey{u"", u' ', u' ', 0, 19, false},
            special(u"\u25C4", VK_LEFT, 3), special(u"\u25BA", VK_RIGHT, 3)}}),
  };
  return *rows;
}

std::vector<PlacedKey> layoutKeyboard(const RECT& panel) {
  std::vector<PlacedKey> placed;
  const int width = panel.right - panel.left;
  const int height = panel.bottom - panel.top;
  const auto& rows = keyboardRows();
  for (size_t r = 0; r < rows.size(); ++r) {
    const int top = panel.top + height * static_cast<int>(r) / kKeyRows;
    const int bottom = panel.top + height * static_cast<int>(r + 1) / kKeyRows;
    int units = 0;
    for (const PanelKey& key : rows[r]) {
      const int left = panel.left + width * units / kRowUnits;
      units += key.units;
      const int right = panel.left + width * units / kRowUnits;
      placed.push_back({&key, {left, top, right, bottom}});
    }
  }
  return placed;
}

int keyAt(const std::vector<PlacedKey>& keys, POINT point) {
  for (size_t i = 0; i < keys.size(); ++i) {
    const RECT& r = keys[i].rect;
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace shell
