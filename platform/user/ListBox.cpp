#include "user/ListBox.h"

#include <algorithm>

#include "device/Dump.h"
#include "user/ControlState.h"
#include "user/ScrollBarTracker.h"
#include "user/ScrollRequest.h"
#include "user/SystemClasses.h"
#include "user/TextMeasure.h"

namespace user {

namespace {

constexpr int kTextIndent = 3;

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

int TypeAhead::next(const ListBoxModel& model, char16_t ch) {
  DWORD now = GetTickCount();
  if (now - last_ > kPauseMs) typed_.clear();
  last_ = now;
  typed_.push_back(ch);
  // One letter steps on to the next item with it; a longer prefix keeps
  // the selected item while it still matches.
  int start = typed_.size() == 1 ? model.selected() : model.selected() - 1;
  int found = model.findPrefix(start, typed_);
  if (found < 0 && typed_.size() > 1) {
    typed_.assign(1, ch);
    found = model.findPrefix(model.selected(), typed_);
  }
  return found;
}

bool ListBoxControl::notifies() const { return !owner_ && (controlStyle(hwnd_) & LBS_NOTIFY); }

void ListBoxControl::notify(UINT code) {
  if (notifies()) notifyParent(hwnd_, code);
}

LRESULT ListBoxControl::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      wantsBar_ = (controlStyle(hwnd_) & WS_VSCROLL) != 0;
      updateScrollBar();
      return 0;
    case LB_ADDSTRING: {
      if (!lParam) return LB_ERR;
      int index = model_->add(reinterpret_cast<LPCWSTR>(lParam), (controlStyle(hwnd_) & LBS_SORT) != 0);
      itemsChanged();
      return index;
    }
    case LB_INSERTSTRING: {
      if (!lParam) return LB_ERR;
      int index = model_->insert(static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
      if (index >= 0) itemsChanged();
      return index >= 0 ? index : LB_ERR;
    }
    case LB_DELETESTRING: {
      int left = model_->remove(static_cast<int>(wParam));
      if (left >= 0) itemsChanged();
      return left >= 0 ? left : LB_ERR;
    }
    case LB_RESETCONTENT:
      model_->clear();
      top_ = 0;
      itemsChanged();
      return 0;
    case LB_SETCURSEL: {
      int index = static_cast<int>(wParam);
      setSelection(index);
      return model_->valid(index) ? index : LB_ERR;
    }
    case LB_GETCURSEL:
      return model_->selected() >= 0 ? model_->selected() : LB_ERR;
    case LB_GETSEL:
      if (!model_->valid(static_cast<int>(wParam))) return LB_ERR;
      return model_->selected() == static_cast<int>(wParam) ? 1 : 0;
    case LB_GETTEXT:
      return textOf(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN:
      return model_->valid(static_cast<int>(wParam)) ? static_cast<LRESULT>(model_->at(static_cast<int>(wParam)).text.size())
                                                    : LB_ERR;
    case LB_GETCOUNT:
      return model_->count();
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
      if (!lParam) return LB_ERR;
      auto text = reinterpret_cast<LPCWSTR>(lParam);
      int start = static_cast<int>(wParam);
      int found = msg == LB_FINDSTRINGEXACT ? model_->findExact(start, text) : model_->findPrefix(start, text);
      if (found >= 0 && msg == LB_SELECTSTRING) setSelection(found);
      return found >= 0 ? found : LB_ERR;
    }
    case LB_GETTOPINDEX:
      return top_;
    case LB_SETTOPINDEX:
      if (!model_->valid(static_cast<int>(wParam)) && !(wParam == 0 && model_->count() == 0)) return LB_ERR;
      scrollTo(static_cast<int>(wParam));
      return 0;
    case LB_GETITEMDATA:
      return model_->valid(static_cast<int>(wParam)) ? model_->at(static_cast<int>(wParam)).data : LB_ERR;
    case LB_SETITEMDATA:
      if (!model_->valid(static_cast<int>(wParam))) return LB_ERR;
      model_->at(static_cast<int>(wParam)).data = lParam;
      return 0;
    case LB_GETITEMHEIGHT:
      return itemHeight();
    case LB_GETITEMRECT: {
      if (!model_->valid(static_cast<int>(wParam)) || !lParam) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = itemRect(static_cast<int>(wParam));
      return 0;
    }
    case LB_GETCARETINDEX:
      return model_->selected() >= 0 ? model_->selected() : 0;
    case WM_SIZE:
      updateScrollBar();
      scrollTo(top_);
      return 0;
    case WM_VSCROLL:
      onVScroll(LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (owner_)
        dropDownStylus(msg, lParam);
      else
        stylusDown(lParam, msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (owner_)
        dropDownStylus(msg, lParam);
      else
        stylusMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      if (owner_)
        dropDownStylus(msg, lParam);
      else
        stylusUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      tracking_ = false;
      if (ListBoxOwner* owner = owner_) owner->listDismissed();
      return 0;
    case WM_MOUSEACTIVATE:
      return owner_ ? MA_NOACTIVATE : DefWindowProcW(hwnd_, msg, wParam, lParam);
    case WM_KEYDOWN:
      keyDown(wParam);
      return 0;
    case WM_CHAR:
      character(static_cast<char16_t>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focused_ = msg == WM_SETFOCUS;
      InvalidateRect(hwnd_, nullptr, TRUE);
      notify(focused_ ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_SETFONT:
      setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() fills every pixel
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

int ListBoxControl::itemHeight() const { return textLineHeight(font_) + 2; }

void ListBoxControl::setFont(HFONT font, bool redraw) {
  font_ = font;
  updateScrollBar();
  scrollTo(top_);
  if (redraw) InvalidateRect(hwnd_, nullptr, TRUE);
}

int ListBoxControl::visibleRows() const {
  RECT area;
  GetClientRect(hwnd_, &area);
  return std::max(1, static_cast<int>(area.bottom) / itemHeight());
}

int ListBoxControl::maxTop() const { return std::max(0, model_->count() - visibleRows()); }

void ListBoxControl::updateScrollBar() {
  if (!wantsBar_) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, model_->count() - 1);
  info.nPage = static_cast<UINT>(visibleRows());
  info.nPos = top_;
  SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

void ListBoxControl::scrollTo(int top) {
  top = std::clamp(top, 0, maxTop());
  if (top == top_) return;
  top_ = top;
  updateScrollBar();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBoxControl::ensureVisible(int index) {
  if (!model_->valid(index)) return;
  if (index < top_)
    scrollTo(index);
  else if (index >= top_ + visibleRows())
    scrollTo(index - visibleRows() + 1);
}

void ListBoxControl::itemsChanged() {
  updateScrollBar();
  scrollTo(top_);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBoxControl::setSelection(int index) {
  int before = model_->selected();
  model_->select(index);
  if (model_->selected() == before) return;
  ensureVisible(model_->selected());
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBoxControl::choose(int index) {
  if (!model_->valid(index) || index == model_->selected()) return;
  setSelection(index);
  notify(LBN_SELCHANGE);
}

int ListBoxControl::itemAt(int y) const {
  if (y < 0) return -1;
  int index = top_ + y / itemHeight();
  return model_->valid(index) ? index : -1;
}

RECT ListBoxControl::itemRect(int index) const {
  RECT area;
  GetClientRect(hwnd_, &area);
  int top = (index - top_) * itemHeight();
  return {0, top, area.right, top + itemHeight()};
}

LRESULT ListBoxControl::textOf(int index, LPWSTR buffer) const {
  if (!model_->valid(index) || !buffer) return LB_ERR;
  const std::u16string& text = model_->at(index).text;
  text.copy(buffer, text.size());
  buffer[text.size()] = 0;
  return static_cast<LRESULT>(text.size());
}

void ListBoxControl::onVScroll(WORD code) {
  if (auto to = scrollRequestTarget(hwnd_, SB_VERT, code, top_, {1, visibleRows(), maxTop()})) scrollTo(*to);
}

void ListBoxControl::stylusDown(LPARAM lParam, bool twice) {
  SetFocus(hwnd_);
  if (!IsWindow(hwnd_)) return;
  SetCapture(hwnd_);
  tracking_ = true;
  int index = itemAt(GET_Y_LPARAM(lParam));
  choose(index);
  if (twice && index >= 0 && IsWindow(hwnd_)) notify(LBN_DBLCLK);
}

void ListBoxControl::stylusMove(LPARAM lParam) {
  if (!tracking_) return;
  // Held above or below the list, the selection moves on a row at a time.
  int y = GET_Y_LPARAM(lParam);
  RECT area;
  GetClientRect(hwnd_, &area);
  int index;
  if (y < 0)
    index = model_->selected() > 0 ? model_->selected() - 1 : 0;
  else if (y >= area.bottom)
    index = std::min(model_->selected() + 1, model_->count() - 1);
  else
    index = itemAt(y);
  choose(index);
}

void ListBoxControl::stylusUp(LPARAM) {
  if (!tracking_) return;
  tracking_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
}

void ListBoxControl::startDropDown(ListBoxOwner* owner, ListBoxModel* items, bool holding) {
  owner_ = owner;
  model_ = items;
  tracking_ = holding;
  updateScrollBar();
  ensureVisible(model_->selected());
}

void ListBoxControl::endDropDown() {
  owner_ = nullptr;
  model_ = &ownModel_;
  tracking_ = false;
}

// The drop-down holds the stylus while it shows: a tap outside it closes
// it, a tap on its scroll bar scrolls it, a lift over an item chooses it.
void ListBoxControl::dropDownStylus(UINT msg, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT area;
  GetClientRect(hwnd_, &area);
  bool inside = contains(area, point);
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    POINT screen = point;
    ClientToScreen(hwnd_, &screen);
    RECT window;
    GetWindowRect(hwnd_, &window);
    if (!contains(window, screen)) {
      owner_->listDismissed();
      return;
    }
    if (!inside) {
      ScrollBarTracker::instance().press(WindowManager::instance().fromHandle(hwnd_), screen);
      return;
    }
    tracking_ = true;
  }
  if (!tracking_) return;
  if (inside) {
    int index = itemAt(point.y);
    if (index >= 0) setSelection(index);
  }
  if (msg == WM_LBUTTONUP) {
    tracking_ = false;
    int index = inside ? itemAt(point.y) : -1;
    if (index >= 0) owner_->listChose(index);
  }
}

bool ListBoxControl::moveSelection(UINT key) {
  int next = selectionAfterKey(key, model_->selected(), model_->count(), visibleRows() - 1);
  if (next < 0) return false;
  setSelection(next);
  return true;
}

void ListBoxControl::keyDown(WPARAM key) {
  int before = model_->selected();
  if (!moveSelection(static_cast<UINT>(key))) return;
  if (model_->selected() != before) notify(LBN_SELCHANGE);
}

void ListBoxControl::character(char16_t ch) {
  if (ch < u' ') return;
  int found = typeAhead_.next(*model_, ch);
  if (found >= 0) choose(found);
}

void ListBoxControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  RECT area;
  GetClientRect(hwnd_, &area);
  FillRect(hdc, &area, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ oldFont = SelectObject(hdc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
  SetBkMode(hdc, TRANSPARENT);
  bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  int height = itemHeight();
  for (int index = top_; index < model_->count(); ++index) {
    RECT row = itemRect(index);
    if (row.top >= area.bottom) break;
    bool selected = index == model_->selected();
    if (selected) FillRect(hdc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text{row.left + kTextIndent, row.top, row.right - kTextIndent, row.top + height};
    DrawTextW(hdc, model_->at(index).text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (selected && focused_) DrawFocusRect(hdc, &row);
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

void ListBoxControl::dump(const std::string& indent, std::string& out) const {
  for (int i = 0; i < model_->count(); ++i) {
    out += indent + "item " + device::quoteText(model_->at(i).text) +
           " data=" + std::to_string(static_cast<long long>(model_->at(i).data));
    if (i == model_->selected()) out += " selected";
    out += '\n';
  }
}

void registerListBoxClasses() {
  registerSystemClass(WC_LISTBOX, controlProc<ListBoxControl>, CS_DBLCLKS | CS_PARENTDC, 0, nullptr);
  registerSystemClass(kComboListClassName, controlProc<ListBoxControl>, 0, 0, nullptr);
  // A dropped combo box list shows its items, the lit one selected.
  for (const char16_t* name : {WC_LISTBOX, kComboListClassName})
    device::registerDumpItems(name, [](HWND hwnd, const std::string& indent, std::string& out) {
      if (ListBoxControl* list = ListBoxControl::of(hwnd)) list->dump(indent, out);
    });
}

}  // namespace user
