#include "user/ComboBox.h"

#include <algorithm>

#include "device/Dump.h"
#include "user/ControlState.h"
#include "user/SystemClasses.h"
#include "user/TextMeasure.h"

namespace user {

namespace {

constexpr int kFieldPadding = 7;  // above and below the text, border included
constexpr int kListBorder = 1;

HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

// Keeps the control's window (and so this object) alive across calls that
// may destroy it, such as notifications to the parent.
class Pin {
 public:
  explicit Pin(HWND hwnd) : window_(WindowManager::instance().fromHandle(hwnd)) {
    if (window_) ++window_->callDepth;
  }
  ~Pin() {
    if (window_) --window_->callDepth;
  }
  Pin(const Pin&) = delete;
  Pin& operator=(const Pin&) = delete;
  bool alive() const { return window_ && !window_->dead && !window_->destroying; }

 private:
  Window* window_;
};

}  // namespace

void ComboBoxControl::notify(UINT code) { notifyParent(hwnd_, code); }

LRESULT ComboBoxControl::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      requestedHeight_ = create ? create->cy : 0;
      // WS_VSCROLL asks for a scroll bar on the list, not on the field.
      DWORD style = controlStyle(hwnd_);
      listScrolls_ = (style & WS_VSCROLL) != 0;
      if (style & (WS_VSCROLL | WS_HSCROLL))
        SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(style & ~(WS_VSCROLL | WS_HSCROLL)));
      SetWindowPos(hwnd_, nullptr, 0, 0, create ? create->cx : 0, fieldHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      return 0;
    }
    case WM_WINDOWPOSCHANGING:
      adjustSize(*reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_DESTROY:
      if (list_) {
        HWND list = list_;
        list_ = nullptr;
        if (ListBoxControl* l = ListBoxControl::of(list)) l->endDropDown();
        DestroyWindow(list);
      }
      return 0;
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
      if (!lParam) return CB_ERR;
      closeUp(false);
      auto text = reinterpret_cast<LPCWSTR>(lParam);
      int index = msg == CB_ADDSTRING ? items_.add(text, (controlStyle(hwnd_) & CBS_SORT) != 0)
                                      : items_.insert(static_cast<int>(wParam), text);
      if (index < 0) return CB_ERR;
      itemsChanged();
      return index;
    }
    case CB_DELETESTRING: {
      closeUp(false);
      int left = items_.remove(static_cast<int>(wParam));
      if (left < 0) return CB_ERR;
      itemsChanged();
      return left;
    }
    case CB_RESETCONTENT:
      closeUp(false);
      items_.clear();
      itemsChanged();
      return CB_OKAY;
    case CB_SETCURSEL: {
      int index = static_cast<int>(wParam);
      select(index, false);
      return items_.valid(index) ? index : CB_ERR;
    }
    case CB_GETCURSEL:
      return selected_ >= 0 ? selected_ : CB_ERR;
    case CB_SELECTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: {
      if (!lParam) return CB_ERR;
      auto text = reinterpret_cast<LPCWSTR>(lParam);
      int start = static_cast<int>(wParam);
      int found = msg == CB_FINDSTRINGEXACT ? items_.findExact(start, text) : items_.findPrefix(start, text);
      if (found >= 0 && msg == CB_SELECTSTRING) select(found, false);
      return found >= 0 ? found : CB_ERR;
    }
    case CB_GETLBTEXT: {
      int index = static_cast<int>(wParam);
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!items_.valid(index) || !buffer) return CB_ERR;
      const std::u16string& text = items_.at(index).text;
      text.copy(buffer, text.size());
      buffer[text.size()] = 0;
      return static_cast<LRESULT>(text.size());
    }
    case CB_GETLBTEXTLEN:
      return items_.valid(static_cast<int>(wParam)) ? static_cast<LRESULT>(items_.at(static_cast<int>(wParam)).text.size())
                                                     : CB_ERR;
    case CB_GETCOUNT:
      return items_.count();
    case CB_GETITEMDATA:
      return items_.valid(static_cast<int>(wParam)) ? items_.at(static_cast<int>(wParam)).data : CB_ERR;
    case CB_SETITEMDATA:
      if (!items_.valid(static_cast<int>(wParam))) return CB_ERR;
      items_.at(static_cast<int>(wParam)).data = lParam;
      return CB_OKAY;
    case CB_SHOWDROPDOWN:
      if (wParam)
        drop();
      else
        closeUp(false);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return dropped() ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (!lParam) return CB_ERR;
      *reinterpret_cast<RECT*>(lParam) = dropRect();
      return TRUE;
    case CB_GETITEMHEIGHT:
      return static_cast<int>(wParam) == -1 ? fieldHeight() : itemHeight();
    case WM_SETTEXT:
      return setWindowText(reinterpret_cast<LPCWSTR>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      Pin pin(hwnd_);
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      if (pin.alive() && GetFocus() == hwnd_) drop();
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      keyDown(wParam, msg == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0);
      return 0;
    case WM_CHAR:
      character(static_cast<char16_t>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return dialogCode();
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focusChanged(msg == WM_SETFOCUS);
      return 0;
    case WM_SETFONT:
      setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
      if (!wParam) closeUp(false);
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

int ComboBoxControl::itemHeight() const { return textLineHeight(font_) + 2; }

int ComboBoxControl::fieldHeight() const { return textLineHeight(font_) + kFieldPadding; }

// The control keeps the field's height; the height it is given is the
// field and the dropped list together, as in a dialog template.
void ComboBoxControl::adjustSize(WINDOWPOS& pos) {
  if (pos.flags & SWP_NOSIZE) return;
  if (pos.cy != fieldHeight()) requestedHeight_ = pos.cy;
  pos.cy = fieldHeight();
}

void ComboBoxControl::setFont(HFONT font, bool redraw) {
  font_ = font;
  RECT r;
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, fieldHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (ListBoxControl* list = ListBoxControl::of(list_)) list->setFont(font, redraw);
  if (redraw) InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT ComboBoxControl::dropRect() const {
  RECT field;
  GetWindowRect(hwnd_, &field);
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int row = itemHeight();
  int wanted = std::max(1, (requestedHeight_ - (field.bottom - field.top)) / row);
  int rows = std::clamp(items_.count(), 1, wanted);
  auto heightOf = [&](int n) { return n * row + 2 * kListBorder; };
  int below = screen.bottom - field.bottom;
  int above = field.top - screen.top;
  bool goBelow = heightOf(rows) <= below || below >= above;
  int room = goBelow ? below : above;
  while (rows > 1 && heightOf(rows) > room) --rows;
  int height = heightOf(rows);
  int top = goBelow ? field.bottom : field.top - height;
  int width = field.right - field.left;
  int left = std::clamp(static_cast<int>(field.left), 0, std::max(0, static_cast<int>(screen.right) - width));
  return {left, top, left + width, top + height};
}

void ComboBoxControl::drop() {
  if (list_ || !IsWindowEnabled(hwnd_)) return;
  Pin pin(hwnd_);
  notify(CBN_DROPDOWN);
  if (!pin.alive() || list_) return;
  RECT r = dropRect();
  DWORD style = WS_POPUP | WS_BORDER | (listScrolls_ ? WS_VSCROLL : 0);
  HWND list = CreateWindowExW(0, kComboListClassName, nullptr, style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, topLevelOf(hwnd_), nullptr, GetModuleHandleW(nullptr), nullptr);
  ListBoxControl* control = ListBoxControl::of(list);
  if (!control) {
    if (list) DestroyWindow(list);
    return;
  }
  list_ = list;
  control->setFont(font_, false);
  control->startDropDown(this, &items_, GetKeyState(VK_LBUTTON) < 0);
  SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetCapture(list);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ComboBoxControl::closeUp(bool take) {
  if (!list_) return;
  Pin pin(hwnd_);
  HWND list = list_;
  list_ = nullptr;
  if (ListBoxControl* control = ListBoxControl::of(list)) control->endDropDown();
  DestroyWindow(list);
  int before = selected_;
  int lit = items_.selected();
  if (take && items_.valid(lit))
    select(lit, false);
  else
    items_.select(selected_);
  InvalidateRect(hwnd_, nullptr, TRUE);
  notify(take ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!pin.alive()) return;
  notify(CBN_CLOSEUP);
  if (pin.alive() && selected_ != before) notify(CBN_SELCHANGE);
}

void ComboBoxControl::listChose(int index) {
  items_.select(index);
  closeUp(true);
}

void ComboBoxControl::listDismissed() { closeUp(false); }

void ComboBoxControl::select(int index, bool byPerson) {
  int before = selected_;
  items_.select(index);
  selected_ = items_.selected();
  setText(selected_ >= 0 ? items_.at(selected_).text : std::u16string());
  if (byPerson && selected_ != before) notify(CBN_SELCHANGE);
}

void ComboBoxControl::itemsChanged() {
  selected_ = items_.selected();
  setText(selected_ >= 0 ? items_.at(selected_).text : std::u16string());
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ComboBoxControl::setText(const std::u16string& text) {
  Window* window = WindowManager::instance().fromHandle(hwnd_);
  if (!window || window->text == text) return;
  DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// Setting the text of a drop-down list selects the item with that text.
LRESULT ComboBoxControl::setWindowText(LPCWSTR text) {
  std::u16string_view wanted = text ? text : u"";
  if (wanted.empty()) {
    select(-1, false);
    return TRUE;
  }
  int found = items_.findExact(-1, wanted);
  if (found < 0) return CB_ERR;
  select(found, false);
  return TRUE;
}

void ComboBoxControl::focusChanged(bool focused) {
  Pin pin(hwnd_);
  if (!focused) closeUp(false);
  if (!pin.alive()) return;
  focused_ = focused;
  InvalidateRect(hwnd_, nullptr, TRUE);
  notify(focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

void ComboBoxControl::keyDown(WPARAM key, bool alt) {
  if (list_) {
    ListBoxControl* list = ListBoxControl::of(list_);
    if (key == VK_RETURN || key == VK_F4 || (alt && key == VK_UP))
      closeUp(true);
    else if (key == VK_ESCAPE)
      closeUp(false);
    else if (list)
      list->moveSelection(static_cast<UINT>(key));
    return;
  }
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
    drop();
    return;
  }
  int rows = std::max(1, (requestedHeight_ - fieldHeight()) / itemHeight());
  int next = selectionAfterKey(static_cast<UINT>(key), selected_, items_.count(), rows - 1);
  if (next >= 0) select(next, true);
}

void ComboBoxControl::character(char16_t ch) {
  if (ch < u' ') return;
  int found = typeAhead_.next(items_, ch);
  if (found < 0) return;
  if (ListBoxControl* list = ListBoxControl::of(list_))
    list->setSelection(found);
  else
    select(found, true);
}

LRESULT ComboBoxControl::dialogCode() const {
  // While the list shows, Enter and Escape are its, not the dialog's.
  return DLGC_WANTARROWS | DLGC_WANTCHARS | (list_ ? DLGC_WANTALLKEYS : 0);
}

void ComboBoxControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  RECT area;
  GetClientRect(hwnd_, &area);
  bool enabled = IsWindowEnabled(hwnd_) != FALSE;
  FillRect(hdc, &area, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(hdc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));

  RECT button{area.right - 1 - GetSystemMetrics(SM_CXVSCROLL), area.top + 1, area.right - 1, area.bottom - 1};
  DrawFrameControl(hdc, &button, DFC_SCROLL,
                   DFCS_SCROLLCOMBOBOX | (list_ ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));

  RECT field{area.left + 2, area.top + 2, button.left - 1, area.bottom - 2};
  bool lit = focused_ && !list_ && enabled;
  if (lit) FillRect(hdc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
  HGDIOBJ oldFont = SelectObject(hdc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(!enabled ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  if (selected_ >= 0) {
    RECT text{field.left + 2, field.top, field.right - 1, field.bottom};
    DrawTextW(hdc, items_.at(selected_).text.c_str(), -1, &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

void ComboBoxControl::dump(const std::string& indent, std::string& out) const {
  for (int i = 0; i < items_.count(); ++i) {
    out += indent + "item " + device::quoteText(items_.at(i).text) +
           " data=" + std::to_string(static_cast<long long>(items_.at(i).data));
    if (i == selected_) out += " selected";
    out += '\n';
  }
}

void registerComboBoxClass() {
  registerSystemClass(WC_COMBOBOX, controlProc<ComboBoxControl>, CS_DBLCLKS | CS_PARENTDC, 0, nullptr);
  device::registerDumpItems(WC_COMBOBOX, [](HWND hwnd, const std::string& indent, std::string& out) {
    if (ComboBoxControl* combo = ComboBoxControl::of(hwnd)) combo->dump(indent, out);
  });
}

}  // namespace user
