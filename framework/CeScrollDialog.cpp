#include "framework/CeScrollDialog.h"

namespace {

// Thumb positions arrive as signed 16-bit numbers.
constexpr int kLargestThumbPosition = 0x7FFF;

}  // namespace

CeScrollDialog::CeScrollDialog(int templateNumber) : CeDialog(templateNumber) {}

BOOL CeScrollDialog::OnInitDialog() {
  CeDialog::OnInitDialog();
  RECT client = {};
  GetClientRect(hwnd, &client);
  contentWidth = client.right - client.left;
  contentHeight = client.bottom - client.top;
  scrollReady = 1;
  vertScrolling = 0;
  horzScrolling = 0;
  if (requestedWidth == 0 && requestedHeight == 0) return TRUE;

  RECT window = {};
  GetWindowRect(hwnd, &window);
  const int width = requestedWidth != 0 ? requestedWidth : window.right - window.left + GetSystemMetrics(SM_CXVSCROLL);
  const int height =
      requestedHeight != 0 ? requestedHeight : window.bottom - window.top + GetSystemMetrics(SM_CYHSCROLL);
  MoveWindow(hwnd, window.left, window.top, width, height, TRUE);
  return TRUE;
}

LRESULT CeScrollDialog::OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) {
  CeDialog::OnSize(sizeType, width, height, handled);
  // Maximising and minimising leave the content where it is.
  if (scrollReady == 0 || sizeType != SIZE_RESTORED) return 0;
  *handled = true;
  FitBar(SB_VERT, contentHeight, &vertScrolling);
  FitBar(SB_HORZ, contentWidth, &horzScrolling);
  return 0;
}

// Showing or hiding one bar takes room from, or gives it back to, the other
// dimension, and the size change that brings is handled inside this one: so
// each bar is settled for the client extent as it is when its turn comes,
// not as this message gave it.
void CeScrollDialog::FitBar(int bar, int content, int* scrolling) {
  RECT client = {};
  GetClientRect(hwnd, &client);
  const int extent = bar == SB_HORZ ? client.right - client.left : client.bottom - client.top;
  if (extent < content) {
    *scrolling = 1;
    int pos = GetBarPos(bar);
    // Growing while scrolled to the end would show space below (or right
    // of) the content: the content comes back by the excess.
    if (pos + extent > content) {
      ScrollContent(bar, pos + extent - content);
      pos = content - extent;
    }
    SetBarRange(bar, 0, content - 1, extent);
    SetScrollPos(hwnd, bar, pos, TRUE);
    return;
  }
  if (*scrolling != 0) {
    const int pos = GetBarPos(bar);
    if (pos != 0) ScrollContent(bar, pos);
    // A page covering the whole range hides the bar.
    SetBarRange(bar, 0, content - 1, extent);
  }
  *scrolling = 0;
}

LRESULT CeScrollDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  if (message != WM_HSCROLL && message != WM_VSCROLL) return CeDialog::OnMessage(message, wParam, lParam, handled);
  *handled = true;
  OnScrollRequest(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), SHORT(HIWORD(wParam)));
  return 0;
}

void CeScrollDialog::OnScrollRequest(int bar, int code, int thumb) {
  if ((bar == SB_HORZ ? horzScrolling : vertScrolling) == 0) return;
  const int pos = GetBarPos(bar);
  RECT client = {};
  GetClientRect(hwnd, &client);
  const int page = bar == SB_HORZ ? client.right - client.left : client.bottom - client.top;
  int minimum = 0;
  int maximum = 0;
  // The range was set when the bar came into use; should the bar not give
  // it, the content's extent is what it was set to.
  if (!GetBarRange(bar, &minimum, &maximum)) maximum = (bar == SB_HORZ ? contentWidth : contentHeight) - 1;

  int wanted = pos;
  switch (code) {
    case SB_LINEUP:
      wanted = pos - kLineStep;
      break;
    case SB_LINEDOWN:
      wanted = pos + kLineStep;
      break;
    case SB_PAGEUP:
      wanted = pos - page;
      break;
    case SB_PAGEDOWN:
      wanted = pos + page;
      break;
    case SB_THUMBTRACK:
      wanted = thumb;
      // Beyond what 16 bits carry, the bar itself knows where the thumb is.
      if (maximum > kLargestThumbPosition) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(hwnd, bar, &info)) wanted = info.nTrackPos;
      }
      break;
    case SB_TOP:
      wanted = 0;
      break;
    case SB_BOTTOM:
      wanted = maximum;
      break;
    default:
      break;
  }
  if (wanted < 0)
    wanted = 0;
  else if (wanted > maximum + 1 - page)
    wanted = maximum + 1 - page;
  if (wanted == pos) return;
  ScrollContent(bar, pos - wanted);
  SetScrollPos(hwnd, bar, wanted, TRUE);
}

void CeScrollDialog::ScrollContent(int bar, int delta) {
  const int dx = bar == SB_HORZ ? delta : 0;
  const int dy = bar == SB_HORZ ? 0 : delta;
  ScrollWindowEx(hwnd, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void CeScrollDialog::SetBarRange(int bar, int minimum, int maximum, int page) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = minimum;
  info.nMax = maximum;
  info.nPage = UINT(page);
  SetScrollInfo(hwnd, bar, &info, TRUE);
}

int CeScrollDialog::GetBarPos(int bar) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS;
  if (!GetScrollInfo(hwnd, bar, &info)) return 0;
  return info.nPos;
}

bool CeScrollDialog::GetBarRange(int bar, int* minimum, int* maximum) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE;
  if (!GetScrollInfo(hwnd, bar, &info)) return false;
  *minimum = info.nMin;
  *maximum = info.nMax;
  return true;
}
