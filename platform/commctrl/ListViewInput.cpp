// The stylus, the keys, typing and the keyboard focus.
#include <algorithm>

#include "commctrl/ListView.h"

namespace commctrl {

namespace {

// Characters typed within this many milliseconds of each other make one search.
constexpr DWORD kTypingPause = 1000;
constexpr int kKeyScrollPixels = 8;

}  // namespace

void ListView::stylusDown(WPARAM keys, LPARAM lParam, bool twice) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (!IsWindow(hwnd_)) return;
  LVHITTESTINFO hit{};
  hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  LVHITTESTINFO cell = hit;
  int row = hitTest(&hit, false);
  hitTest(&cell, true);
  press_ = hit;
  press_.iSubItem = row >= 0 ? cell.iSubItem : 0;
  bool control = (keys & MK_CONTROL) != 0;
  bool shift = (keys & MK_SHIFT) != 0;
  if (twice) {
    // The first tap chose the row; the second tells the parent.
    pressed_ = false;
    notifyClick(NM_DBLCLK, press_, keys);
    if (row >= 0 && IsWindow(hwnd_)) notifyClick(LVN_ITEMACTIVATE, press_, keys);
    return;
  }
  if (row >= 0) {
    if (multiSelect() && shift) {
      int from = model_.hasRow(anchor_) ? anchor_ : (model_.hasRow(focus_) ? focus_ : row);
      selectRange(from, row, control);
      anchor_ = from;
    } else if (multiSelect() && control) {
      toggle(row);
    } else {
      selectOnly(row);
    }
    if (!IsWindow(hwnd_)) return;
    if (model_.hasRow(row)) ensureVisible(row, false);
  } else if (!control && !shift) {
    clearSelection();
  }
  if (!IsWindow(hwnd_)) return;
  pressed_ = true;
  SetCapture(hwnd_);
}

void ListView::stylusUp(WPARAM keys, LPARAM) {
  if (!pressed_) return;
  pressed_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  notifyClick(NM_CLICK, press_, keys);
}

void ListView::keyDown(WPARAM key, LPARAM lParam) {
  NMLVKEYDOWN info{};
  info.wVKey = static_cast<WORD>(key);
  info.flags = HIWORD(lParam);
  notify(LVN_KEYDOWN, &info.hdr);
  if (!IsWindow(hwnd_)) return;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  int count = model_.rowCount();
  int page = std::max(1, countPerPage());
  int focus = model_.hasRow(focus_) ? focus_ : -1;
  int target = -1;
  switch (key) {
    case VK_LEFT:
      scrollToX(scrollX_ - kKeyScrollPixels);
      return;
    case VK_RIGHT:
      scrollToX(scrollX_ + kKeyScrollPixels);
      return;
    case VK_UP:
      target = focus < 0 ? 0 : focus - 1;
      break;
    case VK_DOWN:
      target = focus < 0 ? 0 : focus + 1;
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = count - 1;
      break;
    case VK_PRIOR:
      // First to the top of the page, then a page further each time.
      target = focus > top_ ? top_ : focus - std::max(1, page - 1);
      break;
    case VK_NEXT: {
      int lastFull = top_ + page - 1;
      target = focus < 0 || focus < lastFull ? lastFull : focus + std::max(1, page - 1);
      break;
    }
    case VK_SPACE:
      if (focus < 0) return;
      if (multiSelect() && control)
        toggle(focus);
      else
        selectOnly(focus);
      return;
    default:
      return;
  }
  if (count == 0) return;
  moveFocusTo(std::clamp(target, 0, count - 1), shift, control);
}

void ListView::moveFocusTo(int row, bool shift, bool control) {
  if (multiSelect() && shift) {
    int from = model_.hasRow(anchor_) ? anchor_ : (model_.hasRow(focus_) ? focus_ : row);
    selectRange(from, row, control);
    anchor_ = from;
  } else if (multiSelect() && control) {
    // Ctrl moves only the focus; Ctrl+Space then picks rows.
    commit(selection_, row);
  } else {
    selectOnly(row);
  }
  if (IsWindow(hwnd_) && model_.hasRow(row)) ensureVisible(row, false);
}

void ListView::typeChar(WCHAR ch) {
  if (ch < 0x20 || ch == 0x7F || model_.rowCount() == 0) return;
  DWORD now = GetTickCount();
  bool fresh = search_.empty() || now - lastTyped_ > kTypingPause;
  lastTyped_ = now;
  if (fresh) search_.clear();
  if (fresh && ch == u' ') return;  // Space selects the focused row; it starts no search
  search_ += ch;
  // The same letter again and again steps through the rows it begins; a
  // longer prefix may still match the focused row.
  bool sameLetter = std::all_of(search_.begin(), search_.end(), [ch](WCHAR c) { return c == ch; });
  std::u16string text = sameLetter ? std::u16string(1, ch) : search_;
  int start = sameLetter ? focus_ : focus_ - 1;
  LVFINDINFOW find{};
  find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  find.psz = text.c_str();
  int row = findItem(start, &find);
  if (!IsWindow(hwnd_) || !model_.hasRow(row)) return;
  selectOnly(row);
  if (IsWindow(hwnd_) && model_.hasRow(row)) ensureVisible(row, false);
}

void ListView::focusChanged(bool focused) {
  hasFocus_ = focused;
  if (!focused && pressed_) {
    pressed_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
  }
  // The selection changes colour and the focus rectangle comes or goes.
  invalidateAll();
  NMHDR header{};
  notify(focused ? NM_SETFOCUS : NM_KILLFOCUS, &header);
}

}  // namespace commctrl
