// Measuring and drawing text: GetTextMetricsW, GetTextExtentPoint32W,
// ExtTextOutW and DrawTextW.
#include <string>

#include "gdi/DeviceContext.h"
#include "gdi/FontCache.h"
#include "gdi/TextCanvas.h"
#include "gdi/TextLayout.h"
#include "gdi/TextRun.h"

namespace {

gdi::Font fontOf(const gdi::DeviceContext& dc) { return gdi::FontCache::instance().fontForHandle(dc.font()); }

// Draws one line: the cell's background when the mode is opaque, the glyphs,
// and the underline a '&' prefix asks for.
void drawLine(const gdi::TextCanvas& canvas, const gdi::Region& clip, const gdi::DeviceContext& dc,
              const gdi::Font& font, POINT at, std::u16string_view text, const int* advances, int width,
              int lineHeight, int underlined) {
  RECT cell{at.x, at.y, at.x + width, at.y + lineHeight};
  if (dc.bkMode == OPAQUE) {
    gdi::fillPixels(canvas.pixels(), clip, cell, dc.bkColor);
    canvas.changed(cell);
  }
  RECT touched = gdi::drawTextRun(canvas.pixels(), clip, font, at.x, at.y, text, advances, dc.textColor);
  if (underlined >= 0) {
    int x = at.x;
    for (int i = 0; i < underlined; ++i) x += advances[i];
    const gdi::FaceMetrics& m = font.metrics();
    int top = at.y + m.ascent + m.underlineOffset;
    gdi::fillPixels(canvas.pixels(), clip, {x, top, x + advances[underlined], top + m.underlineThickness},
                    dc.textColor);
    touched.bottom = std::max<LONG>(touched.bottom, top + m.underlineThickness);
  }
  canvas.changed(touched);
}

}  // namespace

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  if (!metrics) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *metrics = fontOf(*dc).textMetrics();
  return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  if (!size || count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::Font font = fontOf(*dc);
  size->cx = count > 0 ? gdi::textWidth(font, std::u16string_view(text, static_cast<size_t>(count))) : 0;
  size->cy = font.height();
  return TRUE;
}

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                        const int* dx) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  if (count > 0 && !text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::TextCanvas canvas(*dc);
  gdi::Region clip = canvas.clip();
  if (rect && (options & ETO_OPAQUE)) {
    RECT area = canvas.toTarget(*rect);
    gdi::fillPixels(canvas.pixels(), clip, area, dc->bkColor);
    canvas.changed(area);
  }
  if (rect && (options & ETO_CLIPPED)) clip.intersect(canvas.toTarget(*rect));
  if (count == 0) return TRUE;

  gdi::Font font = fontOf(*dc);
  std::u16string_view run(text, count);
  std::vector<int> advances = dx ? std::vector<int>(dx, dx + count) : gdi::textAdvances(font, run);
  long long sum = 0;
  for (int a : advances) sum += a;
  int width = gdi::clampCoord(sum);
  // The reference point: the current position or (x, y), on the cell's
  // left, right or centre and top, bottom or baseline.
  bool useCurrent = (dc->textAlign & TA_UPDATECP) != 0;
  long long refX = useCurrent ? dc->position.x : x;
  long long refY = useCurrent ? dc->position.y : y;
  long long left = refX;
  if ((dc->textAlign & TA_CENTER) == TA_CENTER)
    left = refX - width / 2;
  else if (dc->textAlign & TA_RIGHT)
    left = refX - width;
  long long top = refY;
  if ((dc->textAlign & TA_BASELINE) == TA_BASELINE)
    top = refY - font.metrics().ascent;
  else if (dc->textAlign & TA_BOTTOM)
    top = refY - font.height();
  if (useCurrent && (dc->textAlign & TA_CENTER) != TA_CENTER)
    dc->position.x = gdi::clampCoord((dc->textAlign & TA_RIGHT) ? refX - width : refX + width);
  drawLine(canvas, clip, *dc, font, canvas.toTarget(left, top), run, advances.data(), width, font.height(), -1);
  return TRUE;
}

int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return 0;
  if (!text || !rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (count < 0) count = static_cast<int>(std::char_traits<char16_t>::length(text));
  // With DT_TABSTOP the second byte of the format is the tab size.
  int tabChars = gdi::kDefaultTabChars;
  if (format & DT_TABSTOP) {
    tabChars = static_cast<int>((format >> 8) & 0xFF);
    format &= ~0xFF00u;
  }
  gdi::Font font = fontOf(*dc);
  RECT box{gdi::clampCoord(rect->left), gdi::clampCoord(rect->top), gdi::clampCoord(rect->right),
           gdi::clampCoord(rect->bottom)};
  gdi::TextLayout layout = gdi::layoutText(font, std::u16string_view(text, static_cast<size_t>(count)), format,
                                           box.right - box.left, tabChars);
  int height = layout.height();
  if (format & DT_CALCRECT) {
    rect->right = gdi::clampCoord(1LL * box.left + layout.width);
    rect->bottom = gdi::clampCoord(1LL * box.top + height);
    return height;
  }

  int top = box.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      top = box.top + (box.bottom - box.top - height) / 2;
    else if (format & DT_BOTTOM)
      top = box.bottom - height;
  }
  gdi::TextCanvas canvas(*dc);
  gdi::Region clip = canvas.clip();
  if (!(format & DT_NOCLIP)) clip.intersect(canvas.toTarget(box));
  long long y = top;
  for (const gdi::TextLine& line : layout.lines) {
    // As an edit control does, a line that would show only in part is left out.
    if ((format & DT_EDITCONTROL) && y + layout.lineHeight > box.bottom) break;
    long long x = box.left;
    if (format & DT_CENTER)
      x = box.left + (1LL * box.right - box.left - line.width) / 2;
    else if (format & DT_RIGHT)
      x = 1LL * box.right - line.width;
    drawLine(canvas, clip, *dc, font, canvas.toTarget(x, y), line.text, line.advances.data(), line.width,
             layout.lineHeight, line.underlined);
    y += layout.lineHeight;
  }
  return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top + height - box.top : height;
}
