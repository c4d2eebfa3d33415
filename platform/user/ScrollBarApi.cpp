// The scroll bar calls. SB_HORZ and SB_VERT work on a window's own bars,
// which show while their page does not cover their range (or always, with
// SIF_DISABLENOSCROLL) and take their room from the client area; SB_CTL
// passes the call on to a scroll bar control as its messages.
#include "user/ScrollBarInfo.h"
#include "user/ScrollBarTracker.h"
#include "user/WindowFrame.h"
#include "user/WindowManager.h"

using user::ScrollBarInfo;
using user::Window;
using user::WindowManager;
using user::WindowScrollBars;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

// A SCROLLINFO without nTrackPos is as good for everything but SIF_TRACKPOS.
constexpr UINT kShortScrollInfo = sizeof(SCROLLINFO) - sizeof(int);

bool validSize(UINT cbSize) { return cbSize == sizeof(SCROLLINFO) || cbSize == kShortScrollInfo; }

bool windowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

Window* barWindow(HWND hwnd, int bar) {
  Window* window = wm().checked(hwnd);
  if (!window) return nullptr;
  if (!windowBar(bar) || window->isDesktop()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return window;
}

// Shows or hides bars; the client area gives or takes their room, and the
// window hears of its new size.
void setBarStyle(Window* window, DWORD bits, bool show) {
  DWORD style = show ? (window->style | bits) : (window->style & ~bits);
  if (style == window->style) return;
  window->style = style;
  SetWindowPos(window->handle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int setInfo(Window* window, int bar, const SCROLLINFO& given, bool redraw) {
  WindowScrollBars* bars = user::windowScrollBars(window, true);
  ScrollBarInfo& info = bars->bar(bar);
  info.apply(given);
  int position = info.pos;
  if (given.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
    bool needed = info.needed();
    info.inactive = !needed && (given.fMask & SIF_DISABLENOSCROLL);
    bool show = needed || info.inactive;
    if (((window->style & user::styleOfBar(bar)) != 0) != show) {
      setBarStyle(window, user::styleOfBar(bar), show);
      return position;  // the frame is drawn again whole
    }
  }
  if (redraw) user::drawScrollBar(window, bar);
  return position;
}

}  // namespace

int WINAPI SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (bar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  Window* window = barWindow(hwnd, bar);
  if (!window) return 0;
  if (!info || !validSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return setInfo(window, bar, *info, redraw != FALSE);
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (bar == SB_CTL) return SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
  Window* window = barWindow(hwnd, bar);
  if (!window) return FALSE;
  if (!info || !validSize(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WindowScrollBars* bars = user::windowScrollBars(window, false);
  if (!bars) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return FALSE;
  }
  if (!(info->fMask & (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS))) return FALSE;
  const ScrollBarInfo& state = bars->bar(bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = state.min;
    info->nMax = state.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state.page;
  if (info->fMask & SIF_POS) info->nPos = state.pos;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
    info->nTrackPos = state.tracking ? state.trackPos : state.pos;
  return TRUE;
}

int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  if (bar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
  Window* window = barWindow(hwnd, bar);
  if (!window) return 0;
  int previous = user::windowScrollBars(window, true)->bar(bar).pos;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  setInfo(window, bar, info, redraw != FALSE);
  return previous;
}

int WINAPI GetScrollPos(HWND hwnd, int bar) {
  if (bar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_GETPOS, 0, 0));
  Window* window = barWindow(hwnd, bar);
  if (!window) return 0;
  WindowScrollBars* bars = user::windowScrollBars(window, false);
  if (!bars) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return 0;
  }
  return bars->bar(bar).pos;
}

BOOL WINAPI SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (int64_t(maxPos) - minPos > INT32_MAX) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (bar == SB_CTL) {
    if (!wm().checked(hwnd)) return FALSE;
    SendMessageW(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
    return TRUE;
  }
  Window* window = barWindow(hwnd, bar);
  if (!window) return FALSE;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
  setInfo(window, bar, info, redraw != FALSE);
  return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  if (!minPos || !maxPos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *minPos = *maxPos = 0;
  if (bar == SB_CTL) {
    SendMessageW(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
    return TRUE;
  }
  Window* window = barWindow(hwnd, bar);
  if (!window) return FALSE;
  // A window without bars has the range 0 to 0.
  if (WindowScrollBars* bars = user::windowScrollBars(window, false)) {
    *minPos = bars->bar(bar).min;
    *maxPos = bars->bar(bar).max;
  }
  return TRUE;
}

BOOL WINAPI ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (bar == SB_CTL) {
    if (!wm().checked(hwnd)) return FALSE;
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  Window* window = wm().checked(hwnd);
  if (!window) return FALSE;
  DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : windowBar(bar) ? user::styleOfBar(bar) : 0;
  if (!bits || window->isDesktop()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  user::windowScrollBars(window, true);
  setBarStyle(window, bits, show != FALSE);
  return TRUE;
}

BOOL WINAPI EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  Window* window = wm().checked(hwnd);
  if (!window) return FALSE;
  if (bar == SB_CTL) {
    EnableWindow(hwnd, arrows != ESB_DISABLE_BOTH);
    return TRUE;
  }
  if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WindowScrollBars* bars = user::windowScrollBars(window, true);
  bool changed = false;
  for (int which : {SB_HORZ, SB_VERT}) {
    if (bar != SB_BOTH && int(bar) != which) continue;
    ScrollBarInfo& info = bars->bar(which);
    UINT disabled = arrows & ESB_DISABLE_BOTH;
    if (info.disabledArrows == disabled) continue;
    info.disabledArrows = disabled;
    changed = true;
    if (user::ScrollBarTracker::instance().holds(hwnd, which)) user::ScrollBarTracker::instance().cancel();
    user::drawScrollBar(window, which);
  }
  return changed ? TRUE : FALSE;
}
