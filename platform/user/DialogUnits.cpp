#include "user/DialogUnits.h"

#include <cstdint>
#include <cstdlib>

namespace user {

namespace {

constexpr const char16_t* kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAlphabetLength = 52;

}  // namespace

int mulDivRound(int a, int b, int c) {
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t half = std::llabs(c) / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

BaseUnits baseUnitsOf(HFONT font) {
  BaseUnits base;
  HDC hdc = GetDC(nullptr);
  if (!hdc) return base;
  HGDIOBJ previous = SelectObject(hdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  SIZE extent{};
  if (GetTextMetricsW(hdc, &metrics) && GetTextExtentPoint32W(hdc, kAlphabet, kAlphabetLength, &extent)) {
    base.cx = (extent.cx / 26 + 1) / 2;
    base.cy = metrics.tmHeight;
  }
  if (previous) SelectObject(hdc, previous);
  ReleaseDC(nullptr, hdc);
  // A font that measures nothing still leaves every unit a pixel wide.
  if (base.cx <= 0) base.cx = 4;
  if (base.cy <= 0) base.cy = 8;
  return base;
}

int dialogUnitsToPixelsX(int units, const BaseUnits& base) { return mulDivRound(units, base.cx, 4); }
int dialogUnitsToPixelsY(int units, const BaseUnits& base) { return mulDivRound(units, base.cy, 8); }

RECT dialogRectToPixels(const RECT& units, const BaseUnits& base) {
  return {dialogUnitsToPixelsX(units.left, base), dialogUnitsToPixelsY(units.top, base),
          dialogUnitsToPixelsX(units.right, base), dialogUnitsToPixelsY(units.bottom, base)};
}

}  // namespace user
