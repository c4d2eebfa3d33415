// Text as the header and the list view show it: one line in a cell, cut
// with an ellipsis when it does not fit, aligned as the column asks
// (LVCFMT_* and HDF_* share their justification values).
#pragma once

#include <windows.h>

#include <string_view>

namespace commctrl {

// Space between a cell's edges and its text.
inline constexpr int kTextMargin = 4;

// Measures with a control's font (none: the system font) on its own DC.
class TextMeasure {
 public:
  TextMeasure(HWND hwnd, HFONT font);
  ~TextMeasure();
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  int width(std::u16string_view text) const;
  int height() const;

 private:
  HWND hwnd_;
  HDC hdc_;
  HGDIOBJ previous_ = nullptr;
};

// Selects the control's font into a DC for drawing; gives back the one it replaced.
HGDIOBJ selectControlFont(HDC hdc, HFONT font);

// Draws text in cell (margins included), vertically centred.
void drawCellText(HDC hdc, const RECT& cell, std::u16string_view text, int format);

}  // namespace commctrl
