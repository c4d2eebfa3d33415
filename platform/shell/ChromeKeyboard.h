// The input panel's keyboard: its keys row by row, and where each lies in
// the panel. A key types a character or presses a key the device has.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

namespace shell {

struct PanelKey {
  const char16_t* label = nullptr;  // null: the character it types
  char16_t plain = 0;               // the character typed...
  char16_t shifted = 0;             // ...and with shift
  uint32_t vk = 0;                  // or the key pressed
  int units = 2;                    // width in half keys; every row has kRowUnits
  bool shift = false;               // the shift key: the next character is shifted
};

constexpr int kRowUnits = 28;
constexpr int kKeyRows = 5;

const std::vector<std::vector<PanelKey>>& keyboardRows();

struct PlacedKey {
  const PanelKey* key = nullptr;
  RECT rect{};
};

// Every key in the panel's rectangle, rows top to bottom, keys left to right.
std::vector<PlacedKey> layoutKeyboard(const RECT& panel);
// The index in the layout of the key under point; -1 for none.
int keyAt(const std::vector<PlacedKey>& keys, POINT point);

}  // namespace shell
