#include "framework/CeSplitWnd.h"

namespace {

constexpr int kHalfBar = CeSplitWnd::kBarWidth / 2;
// While dragging, the first pane ends this far before the pointer and the
// second starts one pixel after it.
constexpr int kDragLead = 4;

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

}  // namespace

// The arrangement follows the screen, not the window: a window squeezed by
// the input panel keeps the panes the screen's shape gives.
void CeSplitWnd::CalcPaneRects(const RECT& area, RECT* first, RECT* second) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (screenWidth >= screenHeight) {
    const int split = area.left + (2 * WidthOf(area)) / 5;
    *first = {area.left, area.top, split, area.bottom};
    *second = {split, area.top, area.right, area.bottom};
    stacked = false;
    first->right -= kHalfBar;
    second->left += kHalfBar;
  } else {
    const int split = area.top + HeightOf(area) / 2;
    *first = {area.left, area.top, area.right, split};
    *second = {area.left, split, area.right, area.bottom};
    stacked = true;
    first->bottom -= kHalfBar;
    second->top += kHalfBar;
  }
}

RECT CeSplitWnd::ClientRectOf(HWND child) const {
  RECT r = {};
  GetWindowRect(child, &r);
  if (ScreenToClient(hwnd, reinterpret_cast<POINT*>(&r.left))) ScreenToClient(hwnd, reinterpret_cast<POINT*>(&r.right));
  return r;
}

RECT CeSplitWnd::PaneArea() const {
  RECT area = {};
  GetClientRect(hwnd, &area);
  if (topBar.hwnd != nullptr && IsWindow(topBar.hwnd)) area.top = ClientRectOf(topBar.hwnd).bottom;
  return area;
}

// The panes cover the rest of the client area, so a press that reaches this
// window is a press on the bar.
LRESULT CeSplitWnd::OnLButtonDown(WPARAM, UINT, UINT, bool* handled) {
  *handled = true;
  SetCapture(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
  dragging = true;
  return 0;
}

LRESULT CeSplitWnd::OnLButtonUp(WPARAM, UINT, UINT, bool* handled) {
  *handled = true;
  ReleaseCapture();
  InvalidateRect(hwnd, nullptr, TRUE);
  dragging = false;
  return 0;
}

LRESULT CeSplitWnd::OnMouseMove(WPARAM, UINT x, UINT y, bool* handled) {
  *handled = true;
  // Under capture a pointer left of or above the window arrives as a
  // negative 16-bit position.
  if (dragging) DragBarTo(SHORT(x), SHORT(y));
  return 0;
}

void CeSplitWnd::DragBarTo(int x, int y) {
  const RECT area = PaneArea();
  if (!stacked) {
    const int height = HeightOf(area);
    if (height < 0) return;
    // Past either edge one pane gets no width; the window system takes a
    // negative width as none.
    MoveWindow(firstPane, area.left, area.top, (x - kDragLead) - area.left, height, TRUE);
    MoveWindow(secondPane, x + 1, area.top, area.right - (x + 1), height, TRUE);
    return;
  }
  const int firstHeight = (y - kDragLead) - area.top;
  const int secondHeight = area.bottom - (y + 1);
  if (firstHeight < 0 || secondHeight < 0) return;
  MoveWindow(firstPane, area.left, area.top, WidthOf(area), firstHeight, TRUE);
  MoveWindow(secondPane, area.left, y + 1, WidthOf(area), secondHeight, TRUE);
}

LRESULT CeSplitWnd::OnPaint(bool* handled) {
  *handled = true;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  const RECT pane = ClientRectOf(firstPane);
  RECT bar = stacked ? RECT{pane.left - 2, pane.bottom, pane.right + 2, pane.bottom + kBarWidth}
                     : RECT{pane.right, pane.top - 2, pane.right + kBarWidth, pane.bottom + 2};
  if (dragging) {
    SetBkColor(dc, RGB(0, 0, 0));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr);
  } else {
    bar.bottom -= 1;
    DrawFrameControl(dc, &bar, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  EndPaint(hwnd, &paint);
  return 0;
}

// Left unhandled: default processing follows.
LRESULT CeSplitWnd::OnSize(WPARAM, UINT, UINT, bool*) {
  RECT first = {};
  RECT second = {};
  CalcPaneRects(PaneArea(), &first, &second);
  MoveWindow(secondPane, second.left, second.top, WidthOf(second), HeightOf(second), TRUE);
  MoveWindow(firstPane, first.left, first.top, WidthOf(first), HeightOf(first), TRUE);
  return 0;
}
