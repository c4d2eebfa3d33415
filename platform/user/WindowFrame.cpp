#include "user/WindowFrame.h"

#include "gdi/DeviceContext.h"
#include "user/Painter.h"
#include "user/ScrollBarInfo.h"
#include "user/ScrollBarLayout.h"
#include "user/ScrollBarTracker.h"
#include "user/WindowManager.h"

namespace user {

namespace {

bool hasBar(const Window* window, int which) { return (window->style & styleOfBar(which)) != 0; }

// The client rectangle in the window's own coordinates.
RECT clientInWindow(const Window* window) {
  return gdi::rectOffset(window->client, -window->rect.left, -window->rect.top);
}

RECT barInWindow(const Window* window, int which) {
  RECT c = clientInWindow(window);
  if (which == SB_VERT) return {c.right, c.top, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom};
  return {c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

// A DC drawing in window coordinates on what shows of the window outside
// its client area.
HDC frameDC(Window* window) {
  gdi::Region clip = painter::visibleRegion(window, false, false);
  clip.subtract(window->screenClient());
  RECT screen = window->screenRect();
  return gdi::createDC(window->handle, {screen.left, screen.top}, std::move(clip));
}

HFONT captionFont() {
  static HFONT font = CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
  return font;
}

void drawBar(HDC hdc, Window* window, int which) {
  WindowScrollBars* bars = windowScrollBars(window, false);
  if (!bars || !hasBar(window, which)) return;
  ScrollBarTracker& tracker = ScrollBarTracker::instance();
  ScrollBarLayout layout(barInWindow(window, which), which == SB_VERT, bars->bar(which),
                         tracker.thumbOffset(window->handle, which));
  paintScrollBar(hdc, layout, bars->bar(which), tracker.pressedPart(window->handle, which));
}

void drawCaption(HDC hdc, Window* window, const RECT& area) {
  FillRect(hdc, &area, GetSysColorBrush(COLOR_ACTIVECAPTION));
  HGDIOBJ old = SelectObject(hdc, captionFont());
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
  RECT text{area.left + 4, area.top, area.right - 4, area.bottom};
  DrawTextW(hdc, window->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(hdc, old);
}

void deflate(RECT& r, int n) {
  r.left += n;
  r.top += n;
  r.right -= n;
  r.bottom -= n;
}

// The same parts, in the same order, as the window manager's non-client
// insets make room for.
void drawBorders(HDC hdc, Window* window) {
  RECT r{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
  DWORD style = window->style;
  HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
  if ((style & WS_CAPTION) == WS_CAPTION) {
    FrameRect(hdc, &r, frame);
    deflate(r, GetSystemMetrics(SM_CXBORDER));
    RECT caption{r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYCAPTION)};
    drawCaption(hdc, window, caption);
    r.top = caption.bottom;
  } else if (style & WS_BORDER) {
    FrameRect(hdc, &r, frame);
    deflate(r, GetSystemMetrics(SM_CXBORDER));
  } else if ((style & WS_DLGFRAME) || (window->exStyle & WS_EX_DLGMODALFRAME)) {
    RECT edge = r;
    DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    deflate(r, GetSystemMetrics(SM_CXDLGFRAME));
  }
  if (window->exStyle & WS_EX_CLIENTEDGE) {
    RECT edge = r;
    DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT);
    deflate(r, GetSystemMetrics(SM_CXEDGE));
  }
  if (window->exStyle & WS_EX_STATICEDGE) {
    RECT edge = r;
    DrawEdge(hdc, &edge, BDR_SUNKENOUTER, BF_RECT);
  }
}

}  // namespace

bool hasFrame(const Window* window) {
  if (window->isDesktop()) return false;
  RECT insets = WindowManager::nonClientInsets(window->style, window->exStyle);
  return insets.left || insets.top || insets.right || insets.bottom;
}

RECT scrollBarScreenRect(Window* window, int which) {
  if (!hasBar(window, which) || !window->reallyVisible()) return {0, 0, 0, 0};
  RECT screen = window->screenRect();
  RECT bar = gdi::rectOffset(barInWindow(window, which), screen.left, screen.top);
  return gdi::rectIntersection(bar, screen);
}

void drawFrame(Window* window) {
  window->frameDirty = false;
  if (!hasFrame(window) || !window->reallyVisible()) return;
  HDC hdc = frameDC(window);
  drawBorders(hdc, window);
  drawBar(hdc, window, SB_VERT);
  drawBar(hdc, window, SB_HORZ);
  if (hasBar(window, SB_VERT) && hasBar(window, SB_HORZ)) {
    RECT c = clientInWindow(window);
    RECT corner{c.right, c.bottom, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    FillRect(hdc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  gdi::deleteDC(hdc);
}

void drawScrollBar(Window* window, int which) {
  if (!hasBar(window, which) || !window->reallyVisible()) return;
  HDC hdc = frameDC(window);
  drawBar(hdc, window, which);
  gdi::deleteDC(hdc);
}

}  // namespace user
