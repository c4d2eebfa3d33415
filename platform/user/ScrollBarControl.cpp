#include "user/ScrollBarControl.h"

#include <algorithm>

#include "user/ControlState.h"
#include "user/SystemClasses.h"

namespace user {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

// A SCROLLINFO without nTrackPos is as good for everything but SIF_TRACKPOS.
constexpr UINT kShortScrollInfo = sizeof(SCROLLINFO) - sizeof(int);

bool validSize(UINT cbSize) { return cbSize == sizeof(SCROLLINFO) || cbSize == kShortScrollInfo; }

}  // namespace

ScrollBarControl::ScrollBarControl(HWND hwnd) : hwnd_(hwnd) {
  info_.min = 0;
  info_.max = 0;
}

bool ScrollBarControl::vertical() const { return (controlStyle(hwnd_) & SBS_VERT) != 0; }

ScrollBarLayout ScrollBarControl::layout() const {
  RECT area;
  GetClientRect(hwnd_, &area);
  return ScrollBarLayout(area, vertical(), info_, part_ == ScrollBarPart::Thumb ? dragOffset_ : -1);
}

LRESULT ScrollBarControl::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case SBM_SETPOS:
      return setPos(static_cast<int>(wParam), lParam != 0);
    case SBM_GETPOS:
      return info_.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
      return setRange(static_cast<int>(wParam), static_cast<int>(lParam), msg == SBM_SETRANGEREDRAW);
    case SBM_GETRANGE:
      if (wParam) *reinterpret_cast<LPINT>(wParam) = info_.min;
      if (lParam) *reinterpret_cast<LPINT>(lParam) = info_.max;
      return 0;
    case SBM_SETSCROLLINFO: {
      auto* given = reinterpret_cast<const SCROLLINFO*>(lParam);
      if (!given || !validSize(given->cbSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
      return setInfo(*given, wParam != 0);
    }
    case SBM_GETSCROLLINFO:
      return getInfo(reinterpret_cast<SCROLLINFO*>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      stylusDown(lParam);
      return 0;
    case WM_MOUSEMOVE:
      stylusMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      stylusUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      if (part_ != ScrollBarPart::None && reinterpret_cast<HWND>(lParam) != hwnd_) {
        stopTracking();
        send(SB_ENDSCROLL);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) repeat();
      return 0;
    case WM_KEYDOWN:
      keyDown(wParam);
      return 0;
    case WM_KEYUP:
      if (keyScrolling_) {
        keyScrolling_ = false;
        send(SB_ENDSCROLL);
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SIZE:
    case WM_ENABLE:
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() draws every pixel
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

int ScrollBarControl::setInfo(const SCROLLINFO& given, bool redrawNow) {
  info_.apply(given);
  if (given.fMask & SIF_DISABLENOSCROLL) info_.inactive = !info_.needed();
  if (redrawNow) redraw();
  return info_.pos;
}

BOOL ScrollBarControl::getInfo(SCROLLINFO* out) const {
  if (!out || !validSize(out->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (out->fMask & SIF_RANGE) {
    out->nMin = info_.min;
    out->nMax = info_.max;
  }
  if (out->fMask & SIF_PAGE) out->nPage = info_.page;
  if (out->fMask & SIF_POS) out->nPos = info_.pos;
  if ((out->fMask & SIF_TRACKPOS) && out->cbSize == sizeof(SCROLLINFO))
    out->nTrackPos = part_ == ScrollBarPart::Thumb ? info_.trackPos : info_.pos;
  return (out->fMask & SIF_ALL) ? TRUE : FALSE;
}

int ScrollBarControl::setPos(int pos, bool redrawNow) {
  int previous = info_.pos;
  SCROLLINFO given{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  setInfo(given, redrawNow);
  return previous;
}

int ScrollBarControl::setRange(int min, int max, bool redrawNow) {
  int previous = info_.pos;
  SCROLLINFO given{sizeof(SCROLLINFO), SIF_RANGE, min, max, 0, 0, 0};
  setInfo(given, redrawNow);
  return info_.pos != previous ? previous : 0;
}

void ScrollBarControl::send(WORD code, int position) {
  HWND parent = GetParent(hwnd_);
  if (!parent) return;
  SendMessageW(parent, vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
               reinterpret_cast<LPARAM>(hwnd_));
}

void ScrollBarControl::stylusDown(LPARAM lParam) {
  if (!info_.enabled()) return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScrollBarLayout bar = layout();
  ScrollBarPart part = bar.partAt(point);
  if (part == ScrollBarPart::None) return;
  if ((part == ScrollBarPart::LineBack && (info_.disabledArrows & ESB_DISABLE_LTUP)) ||
      (part == ScrollBarPart::LineForward && (info_.disabledArrows & ESB_DISABLE_RTDN)))
    return;
  if (GetWindowLongW(hwnd_, GWL_STYLE) & WS_TABSTOP) SetFocus(hwnd_);
  if (!IsWindow(hwnd_)) return;
  SetCapture(hwnd_);
  part_ = part;
  stylus_ = point;
  over_ = true;
  if (part == ScrollBarPart::Thumb) {
    grab_ = bar.along(point) - bar.thumbStart();
    dragOffset_ = bar.thumbStart() - bar.trackStart();
    info_.tracking = true;
    info_.trackPos = info_.pos;
    redraw();
    return;
  }
  redraw();
  step();
  if (part_ != ScrollBarPart::None) {
    repeating_ = true;
    SetTimer(hwnd_, kRepeatTimer, kFirstRepeatMs, nullptr);
  }
}

void ScrollBarControl::step() {
  over_ = layout().partAt(stylus_) == part_;
  if (!over_) return;
  bool v = vertical();
  switch (part_) {
    case ScrollBarPart::LineBack: send(v ? SB_LINEUP : SB_LINELEFT); break;
    case ScrollBarPart::LineForward: send(v ? SB_LINEDOWN : SB_LINERIGHT); break;
    case ScrollBarPart::PageBack: send(v ? SB_PAGEUP : SB_PAGELEFT); break;
    case ScrollBarPart::PageForward: send(v ? SB_PAGEDOWN : SB_PAGERIGHT); break;
    default: break;
  }
}

void ScrollBarControl::repeat() {
  if (!repeating_ || part_ == ScrollBarPart::None || part_ == ScrollBarPart::Thumb) return;
  step();
  if (!IsWindow(hwnd_) || part_ == ScrollBarPart::None) return;
  redraw();
  SetTimer(hwnd_, kRepeatTimer, kRepeatMs, nullptr);
}

void ScrollBarControl::stylusMove(LPARAM lParam) {
  if (part_ == ScrollBarPart::None) return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  stylus_ = point;
  ScrollBarLayout bar = layout();
  if (part_ != ScrollBarPart::Thumb) {
    bool over = bar.partAt(point) == part_;
    if (over != over_) {
      over_ = over;
      redraw();
    }
    return;
  }
  int offset = std::clamp(bar.along(point) - grab_ - bar.trackStart(), 0, std::max(bar.travel(), 0));
  if (offset == dragOffset_) return;
  dragOffset_ = offset;
  int position = bar.positionForOffset(offset, info_);
  redraw();
  if (position == info_.trackPos) return;
  info_.trackPos = position;
  send(SB_THUMBTRACK, position);
}

void ScrollBarControl::stylusUp(LPARAM lParam) {
  if (part_ == ScrollBarPart::None) return;
  stylusMove(lParam);
  bool thumb = part_ == ScrollBarPart::Thumb;
  int position = info_.trackPos;
  stopTracking();
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (thumb) send(SB_THUMBPOSITION, position);
  send(SB_ENDSCROLL);
}

void ScrollBarControl::stopTracking() {
  if (repeating_) KillTimer(hwnd_, kRepeatTimer);
  repeating_ = false;
  part_ = ScrollBarPart::None;
  dragOffset_ = -1;
  info_.tracking = false;
  redraw();
}

void ScrollBarControl::keyDown(WPARAM key) {
  bool v = vertical();
  WORD code;
  switch (key) {
    case VK_UP: if (!v) return; code = SB_LINEUP; break;
    case VK_DOWN: if (!v) return; code = SB_LINEDOWN; break;
    case VK_LEFT: if (v) return; code = SB_LINELEFT; break;
    case VK_RIGHT: if (v) return; code = SB_LINERIGHT; break;
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_END: code = SB_BOTTOM; break;
    default: return;
  }
  keyScrolling_ = true;
  send(code);
}

void ScrollBarControl::redraw() { InvalidateRect(hwnd_, nullptr, FALSE); }

void ScrollBarControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  ScrollBarInfo shown = info_;
  if (!IsWindowEnabled(hwnd_)) shown.disabledArrows = ESB_DISABLE_BOTH;
  paintScrollBar(hdc, layout(), shown, over_ && part_ != ScrollBarPart::Thumb ? part_ : ScrollBarPart::None);
  EndPaint(hwnd_, &ps);
}

void registerScrollBarClass() {
  registerSystemClass(WC_SCROLLBAR, controlProc<ScrollBarControl>, CS_DBLCLKS | CS_PARENTDC, 0, nullptr);
}

}  // namespace user
