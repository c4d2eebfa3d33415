#include "commctrl/Header.h"

#include <algorithm>

#include "commctrl/HeaderText.h"
#include "commctrl/ListViewModel.h"
#include "device/Dump.h"
#include "user/ControlState.h"
#include "user/SystemClasses.h"

namespace commctrl {

namespace {

// How near a divider the stylus must come to take it.
constexpr int kDividerReach = 4;

const char* formatName(int format) {
  switch (format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
      return "right";
    case HDF_CENTER:
      return "center";
    default:
      return "left";
  }
}

}  // namespace

void registerHeaderClass() {
  user::registerSystemClass(WC_HEADERW, user::controlProc<Header>, CS_DBLCLKS, 0, nullptr);
  device::registerDumpItems(WC_HEADERW, [](HWND hwnd, const std::string& indent, std::string& out) {
    if (Header* header = Header::of(hwnd)) header->dump(indent, out);
  });
}

LRESULT Header::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case HDM_GETITEMCOUNT:
      return count();
    case HDM_INSERTITEMW:
      return insertItem(static_cast<int>(wParam), reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
      return deleteItem(static_cast<int>(wParam));
    case HDM_GETITEMW:
      return getItem(static_cast<int>(wParam), reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMW: {
      auto* item = reinterpret_cast<const HDITEMW*>(lParam);
      return item && setItem(static_cast<int>(wParam), *item);
    }
    case HDM_LAYOUT:
      return layout(reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect || !has(static_cast<int>(wParam))) return FALSE;
      *rect = itemRect(static_cast<int>(wParam));
      return TRUE;
    }
    case HDM_HITTEST:
      return hitTest(reinterpret_cast<HDHITTESTINFO*>(lParam));
    case HDM_ORDERTOINDEX:
      return orderToIndex(static_cast<int>(wParam));
    case WM_LBUTTONDOWN:
      stylusDown(lParam, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      stylusDown(lParam, true);
      return 0;
    case WM_MOUSEMOVE:
      stylusMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      stylusUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      captureLost();
      return 0;
    case WM_SETFONT:
      setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
      redraw_ = wParam != FALSE;
      if (redraw_) invalidate();
      return 0;
    case WM_SIZE:
      invalidate();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() covers the whole client area
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

int Header::preferredHeight() const {
  if (user::controlStyle(hwnd_) & HDS_HIDDEN) return 0;
  return TextMeasure(hwnd_, font_).height() + 6;
}

// ---- items

int Header::insertItem(int index, const HDITEMW* fields) {
  if (!fields || index < 0) return -1;
  index = std::min(index, count());
  Item item;
  apply(item, *fields);
  items_.insert(items_.begin() + index, std::move(item));
  for (int i = 0; i < count(); ++i) items_[static_cast<size_t>(i)].order = i;
  invalidate();
  return index;
}

bool Header::deleteItem(int index) {
  if (!has(index)) return false;
  if (tracking_ >= 0 || pressed_ >= 0) endTracking(false);
  items_.erase(items_.begin() + index);
  for (int i = 0; i < count(); ++i) items_[static_cast<size_t>(i)].order = i;
  invalidate();
  return true;
}

bool Header::getItem(int index, HDITEMW* out) const {
  if (!out || !has(index)) return false;
  const Item& item = items_[static_cast<size_t>(index)];
  if (out->mask & HDI_WIDTH) out->cxy = item.width;
  if (out->mask & HDI_TEXT) copyToBuffer(item.text, out->pszText, out->cchTextMax);
  if (out->mask & HDI_FORMAT) out->fmt = item.format;
  if (out->mask & HDI_LPARAM) out->lParam = item.param;
  if (out->mask & HDI_BITMAP) out->hbm = item.bitmap;
  if (out->mask & HDI_IMAGE) out->iImage = item.image;
  if (out->mask & HDI_ORDER) out->iOrder = item.order;
  return true;
}

bool Header::setItem(int index, const HDITEMW& fields) {
  if (!has(index)) return false;
  HDITEMW change = fields;
  if (notify(HDN_ITEMCHANGINGW, index, &change)) return false;
  if (!has(index)) return false;  // the parent deleted it meanwhile
  apply(items_[static_cast<size_t>(index)], fields);
  invalidate();
  notify(HDN_ITEMCHANGEDW, index, &change);
  return true;
}

void Header::apply(Item& item, const HDITEMW& fields) {
  if (fields.mask & HDI_WIDTH) item.width = std::max(0, fields.cxy);
  if (fields.mask & HDI_TEXT) item.text = boundedText(fields.pszText, 0x7FFFFFFF);
  if (fields.mask & HDI_FORMAT) item.format = fields.fmt;
  if (fields.mask & HDI_LPARAM) item.param = fields.lParam;
  if (fields.mask & HDI_BITMAP) item.bitmap = fields.hbm;
  if (fields.mask & HDI_IMAGE) item.image = fields.iImage;
}

bool Header::layout(HDLAYOUT* layout) const {
  if (!layout || !layout->prc || !layout->pwpos) return false;
  RECT& area = *layout->prc;
  int height = std::min(preferredHeight(), std::max(0, static_cast<int>(area.bottom - area.top)));
  WINDOWPOS& pos = *layout->pwpos;
  pos.hwnd = hwnd_;
  pos.hwndInsertAfter = nullptr;
  pos.x = area.left;
  pos.y = area.top;
  pos.cx = area.right - area.left;
  pos.cy = height;
  pos.flags = SWP_NOZORDER | SWP_NOACTIVATE;
  area.top += height;
  return true;
}

RECT Header::itemRect(int index) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  int left = 0;
  for (int i = 0; i < index; ++i) left += items_[static_cast<size_t>(i)].width;
  return {left, 0, left + items_[static_cast<size_t>(index)].width, client.bottom};
}

int Header::hitTest(HDHITTESTINFO* info) const {
  if (!info) return -1;
  RECT client{};
  GetClientRect(hwnd_, &client);
  POINT p = info->pt;
  info->flags = 0;
  info->iItem = -1;
  if (p.x < client.left) info->flags |= HHT_TOLEFT;
  if (p.x >= client.right) info->flags |= HHT_TORIGHT;
  if (p.y < client.top) info->flags |= HHT_ABOVE;
  if (p.y >= client.bottom) info->flags |= HHT_BELOW;
  if (info->flags) return -1;
  int divider = dividerAt(p.x);
  if (divider >= 0) {
    info->iItem = divider;
    info->flags = items_[static_cast<size_t>(divider)].width == 0 ? HHT_ONDIVOPEN : HHT_ONDIVIDER;
    return divider;
  }
  for (int i = 0; i < count(); ++i) {
    RECT r = itemRect(i);
    if (p.x >= r.left && p.x < r.right) {
      info->iItem = i;
      info->flags = HHT_ONHEADER;
      return i;
    }
  }
  info->flags = HHT_NOWHERE;
  return -1;
}

int Header::dividerAt(int x) const {
  int found = -1;
  int right = 0;
  for (int i = 0; i < count(); ++i) {
    right += items_[static_cast<size_t>(i)].width;
    if (x >= right - kDividerReach && x <= right + kDividerReach) found = i;
  }
  return found;
}

int Header::orderToIndex(int order) const { return has(order) ? order : -1; }

// ---- stylus

void Header::stylusDown(LPARAM lParam, bool twice) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  int divider = dividerAt(p.x);
  if (divider >= 0) {
    if (twice) {
      notify(HDN_DIVIDERDBLCLICKW, divider, nullptr);
      return;
    }
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = items_[static_cast<size_t>(divider)].width;
    if (notify(HDN_BEGINTRACKW, divider, &item) || !has(divider)) return;
    tracking_ = divider;
    trackOffset_ = itemRect(divider).right - p.x;
    SetCapture(hwnd_);
    return;
  }
  HDHITTESTINFO hit{};
  hit.pt = p;
  int index = hitTest(&hit);
  if (index < 0 || !(user::controlStyle(hwnd_) & HDS_BUTTONS)) return;
  if (twice) {
    notify(HDN_ITEMDBLCLICKW, index, nullptr);
    if (!IsWindow(hwnd_) || !has(index)) return;
  }
  pressed_ = index;
  pressedInside_ = true;
  SetCapture(hwnd_);
  invalidate();
}

void Header::stylusMove(LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (tracking_ >= 0 && has(tracking_)) {
    int width = std::max(0, p.x + trackOffset_ - static_cast<int>(itemRect(tracking_).left));
    if (width == items_[static_cast<size_t>(tracking_)].width) return;
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    int index = tracking_;
    if (notify(HDN_TRACKW, index, &item)) {
      endTracking(true);
      return;
    }
    if (tracking_ == index) setItem(index, item);
    return;
  }
  if (pressed_ >= 0 && has(pressed_)) {
    RECT r = itemRect(pressed_);
    bool inside = PtInRect(&r, p) != FALSE;
    if (inside != pressedInside_) {
      pressedInside_ = inside;
      invalidate();
    }
  }
}

void Header::stylusUp(LPARAM lParam) {
  if (tracking_ >= 0) {
    endTracking(true);
    return;
  }
  if (pressed_ < 0) return;
  stylusMove(lParam);
  int clicked = pressedInside_ ? pressed_ : -1;
  pressed_ = -1;
  pressedInside_ = false;
  invalidate();
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (clicked >= 0 && has(clicked)) notify(HDN_ITEMCLICKW, clicked, nullptr);
}

void Header::endTracking(bool notifyEnd) {
  int index = tracking_;
  tracking_ = -1;
  if (pressed_ >= 0) {
    pressed_ = -1;
    invalidate();
  }
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (notifyEnd && index >= 0 && has(index)) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = items_[static_cast<size_t>(index)].width;
    notify(HDN_ENDTRACKW, index, &item);
  }
}

void Header::captureLost() {
  if (GetCapture() == hwnd_) return;
  if (tracking_ >= 0) endTracking(true);
  if (pressed_ >= 0) {
    pressed_ = -1;
    invalidate();
  }
}

// ---- notifications, font, painting

LRESULT Header::notify(UINT code, int index, HDITEMW* item) {
  HWND parent = GetParent(hwnd_);
  if (!parent) return 0;
  auto id = static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd_, GWLP_ID));
  NMHEADERW info{};
  info.hdr.hwndFrom = hwnd_;
  info.hdr.idFrom = id;
  info.hdr.code = code;
  info.iItem = index;
  info.iButton = 0;
  info.pitem = item;
  return SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&info));
}

void Header::setFont(HFONT font, bool redraw) {
  font_ = font;
  if (redraw) invalidate();
}

void Header::invalidate() {
  if (redraw_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Header::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  if (!redraw_) {
    EndPaint(hwnd_, &ps);
    return;
  }
  HGDIOBJ oldFont = selectControlFont(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  RECT client{};
  GetClientRect(hwnd_, &client);
  bool buttons = (user::controlStyle(hwnd_) & HDS_BUTTONS) != 0;
  int right = 0;
  for (int i = 0; i < count(); ++i) {
    RECT r = itemRect(i);
    right = r.right;
    if (r.right <= r.left || r.right <= ps.rcPaint.left || r.left >= ps.rcPaint.right) continue;
    bool down = buttons && i == pressed_ && pressedInside_;
    FillRect(hdc, &r, face);
    DrawFrameControl(hdc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    RECT text = r;
    if (down) OffsetRect(&text, 1, 1);
    const Item& item = items_[static_cast<size_t>(i)];
    drawCellText(hdc, text, item.text, item.format);
  }
  // The strip right of the last heading is an empty heading.
  if (right < client.right) {
    RECT rest{right, 0, client.right, client.bottom};
    FillRect(hdc, &rest, face);
    DrawFrameControl(hdc, &rest, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

void Header::dump(const std::string& indent, std::string& out) const {
  for (int i = 0; i < count(); ++i) {
    const Item& item = items_[static_cast<size_t>(i)];
    out += indent + "heading index=" + std::to_string(i) + " text=" + device::quoteText(item.text) +
           " width=" + std::to_string(item.width) + " format=" + formatName(item.format) + "\n";
  }
}

}  // namespace commctrl
