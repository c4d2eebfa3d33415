// Dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its height. The average
// width is that of the 52 Latin letters, as the device measures it, so a
// template lays out as on the device for the same font.
#pragma once

#include <windows.h>

namespace user {

struct BaseUnits {
  int cx = 0;  // average character width, pixels
  int cy = 0;  // character height, pixels
};

// The base units of a font (null: the system font).
BaseUnits baseUnitsOf(HFONT font);

// a * b / c rounded to the nearest integer, halves away from zero; c must
// not be 0.
int mulDivRound(int a, int b, int c);

int dialogUnitsToPixelsX(int units, const BaseUnits& base);
int dialogUnitsToPixelsY(int units, const BaseUnits& base);
RECT dialogRectToPixels(const RECT& units, const BaseUnits& base);

}  // namespace user
