#include "commctrl/HeaderText.h"

#include <commctrl.h>

namespace commctrl {

HGDIOBJ selectControlFont(HDC hdc, HFONT font) {
  return SelectObject(hdc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
}

TextMeasure::TextMeasure(HWND hwnd, HFONT font) : hwnd_(hwnd), hdc_(GetDC(hwnd)) {
  if (hdc_) previous_ = selectControlFont(hdc_, font);
}

TextMeasure::~TextMeasure() {
  if (!hdc_) return;
  if (previous_) SelectObject(hdc_, previous_);
  ReleaseDC(hwnd_, hdc_);
}

int TextMeasure::width(std::u16string_view text) const {
  if (!hdc_ || text.empty()) return 0;
  SIZE size{};
  if (!GetTextExtentPoint32W(hdc_, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

int TextMeasure::height() const {
  TEXTMETRICW metrics{};
  if (!hdc_ || !GetTextMetricsW(hdc_, &metrics) || metrics.tmHeight <= 0) return 13;
  return metrics.tmHeight;
}

void drawCellText(HDC hdc, const RECT& cell, std::u16string_view text, int format) {
  RECT r = cell;
  r.left += kTextMargin;
  r.right -= kTextMargin;
  if (r.right <= r.left || text.empty()) return;
  UINT align = DT_LEFT;
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      align = DT_RIGHT;
      break;
    case LVCFMT_CENTER:
      align = DT_CENTER;
      break;
    default:
      break;
  }
  DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &r,
            align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace commctrl
