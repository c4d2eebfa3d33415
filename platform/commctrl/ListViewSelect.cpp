// States, selection and the notifications that report them.
#include <algorithm>

#include "commctrl/ListView.h"
#include "user/ControlState.h"

namespace commctrl {

namespace {

constexpr UINT kSelected = LVIS_SELECTED;
constexpr UINT kFocused = LVIS_FOCUSED;

bool within(int row, const RowRange& r) { return row >= r.first && row <= r.last; }

}  // namespace

bool ListView::multiSelect() const { return !(user::controlStyle(hwnd_) & LVS_SINGLESEL); }

UINT ListView::itemState(int row) const {
  UINT state = 0;
  if (!model_.ownerData() && model_.hasRow(row)) state = model_.item(row).state;
  if (selection_.contains(row)) state |= kSelected;
  if (row >= 0 && row == focus_) state |= kFocused;
  return state;
}

bool ListView::setItemState(int row, UINT state, UINT mask) {
  int count = model_.rowCount();
  if (row == -1) {
    ListViewSelection target = selection_;
    int focus = focus_;
    if (mask & kSelected) {
      target.clear();
      // Selecting every row makes no sense with one selectable row.
      if ((state & kSelected) && count > 0) {
        if (!multiSelect()) return false;
        target.add(0, count - 1);
      }
    }
    if ((mask & kFocused) && !(state & kFocused)) focus = -1;
    commitAll(std::move(target), focus, state, mask);
    return true;
  }
  if (!model_.hasRow(row)) return false;
  UINT others = mask & ~(kSelected | kFocused);
  if (others && !model_.ownerData()) {
    UINT before = itemState(row);
    UINT after = (before & ~others) | (state & others);
    if (after != before && !notifyItem(LVN_ITEMCHANGING, row, 0, after, before, LVIF_STATE) && model_.hasRow(row)) {
      ListItem& item = model_.item(row);
      item.state = (item.state & ~others) | (state & others);
      invalidateRows(row, row);
      notifyItem(LVN_ITEMCHANGED, row, 0, after, before, LVIF_STATE);
    }
  }
  if (!(mask & (kSelected | kFocused)) || !model_.hasRow(row)) return true;
  ListViewSelection target = selection_;
  int focus = focus_;
  if (mask & kSelected) {
    if (state & kSelected) {
      if (!multiSelect()) target.clear();
      target.add(row, row);
    } else {
      target.remove(row, row);
    }
  }
  if (mask & kFocused) {
    if (state & kFocused)
      focus = row;
    else if (focus == row)
      focus = -1;
  }
  commit(std::move(target), focus);
  return true;
}

void ListView::commit(ListViewSelection target, int focus) {
  target.truncate(model_.rowCount());
  if (!model_.hasRow(focus)) focus = -1;
  std::vector<RowRange> lost = ListViewSelection::minus(selection_, target);
  std::vector<RowRange> gained = ListViewSelection::minus(target, selection_);
  int oldFocus = focus_;
  if (lost.empty() && gained.empty() && oldFocus == focus) return;

  // One row: its state before and after, asked of the parent first in a
  // normal list. Rows whose state already is the wanted one say nothing.
  auto rowChange = [&](int row) {
    if (!model_.hasRow(row)) return;
    UINT before = itemState(row);
    UINT after = (before & ~(kSelected | kFocused)) | (target.contains(row) ? kSelected : 0) | (row == focus ? kFocused : 0);
    if (after == before) return;
    if (!model_.ownerData() && notifyItem(LVN_ITEMCHANGING, row, 0, after, before, LVIF_STATE)) return;
    if (!model_.hasRow(row)) return;
    if (after & kSelected)
      selection_.add(row, row);
    else
      selection_.remove(row, row);
    if (after & kFocused)
      focus_ = row;
    else if (focus_ == row)
      focus_ = -1;
    invalidateRows(row, row);
    notifyItem(LVN_ITEMCHANGED, row, 0, after, before, LVIF_STATE);
  };
  // A range of an owner-data list changes at once; the focus within it is
  // told on its own.
  auto rangeChange = [&](const RowRange& r, bool selected) {
    if (model_.ownerData() && r.size() > 1) {
      if (selected)
        selection_.add(r.first, r.last);
      else
        selection_.remove(r.first, r.last);
      invalidateRows(r.first, r.last);
      notifyRange(r.first, r.last, selected ? kSelected : 0, selected ? 0 : kSelected);
      if (within(oldFocus, r)) rowChange(oldFocus);
      if (within(focus, r)) rowChange(focus);
      return;
    }
    for (int row = r.first; row <= r.last; ++row) rowChange(row);
  };
  auto inAny = [](int row, const std::vector<RowRange>& ranges) {
    return std::any_of(ranges.begin(), ranges.end(), [row](const RowRange& r) { return within(row, r); });
  };

  // What is lost is told first, then what is gained.
  for (const RowRange& r : lost) rangeChange(r, false);
  if (oldFocus >= 0 && !inAny(oldFocus, gained)) rowChange(oldFocus);
  for (const RowRange& r : gained) rangeChange(r, true);
  if (focus >= 0) rowChange(focus);
}

void ListView::commitAll(ListViewSelection target, int focus, UINT state, UINT mask) {
  UINT others = mask & ~(kSelected | kFocused);
  if (!model_.ownerData()) {
    if (others)
      for (int row = 0; row < model_.rowCount(); ++row) setItemState(row, state, others);
    commit(std::move(target), focus);
    return;
  }
  target.truncate(model_.rowCount());
  if (!model_.hasRow(focus)) focus = -1;
  if (target == selection_ && focus == focus_) return;
  selection_ = std::move(target);
  focus_ = focus;
  invalidateAll();
  UINT changed = mask & (kSelected | kFocused);
  notifyItem(LVN_ITEMCHANGED, -1, 0, state & changed, ~state & changed, LVIF_STATE);
}

void ListView::selectOnly(int row) {
  ListViewSelection target;
  if (model_.hasRow(row)) target.add(row, row);
  commit(std::move(target), model_.hasRow(row) ? row : focus_);
  if (model_.hasRow(row)) anchor_ = row;
}

void ListView::toggle(int row) {
  if (!model_.hasRow(row)) return;
  ListViewSelection target = selection_;
  if (target.contains(row))
    target.remove(row, row);
  else
    target.add(row, row);
  commit(std::move(target), row);
  anchor_ = row;
}

void ListView::selectRange(int from, int to, bool keepOthers) {
  if (!model_.hasRow(from) || !model_.hasRow(to)) return;
  ListViewSelection target;
  if (keepOthers) target = selection_;
  target.add(std::min(from, to), std::max(from, to));
  commit(std::move(target), to);
}

void ListView::clearSelection() { commit(ListViewSelection(), focus_); }

void ListView::rowsInserted(int at, int n) {
  selection_.insertRows(at, n);
  if (focus_ >= at) focus_ += n;
  if (anchor_ >= at) anchor_ += n;
  updateScrollBars();
  invalidateRows(at, 0x7FFFFFFF);
}

void ListView::rowsDeleted(int at, int n) {
  selection_.deleteRows(at, n);
  auto follow = [&](int& row) {
    if (row >= at + n)
      row -= n;
    else if (row >= at)
      row = -1;
  };
  follow(focus_);
  follow(anchor_);
  top_ = std::min(top_, maxTop());
  updateScrollBars();
  invalidateRows(at, 0x7FFFFFFF);
}

// ---- notifications

LRESULT ListView::notify(UINT code, NMHDR* header) {
  HWND parent = GetParent(hwnd_);
  if (!parent) return 0;
  auto id = static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd_, GWLP_ID));
  header->hwndFrom = hwnd_;
  header->idFrom = id;
  header->code = code;
  return SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(header));
}

LRESULT ListView::notifyItem(UINT code, int row, int subItem, UINT newState, UINT oldState, UINT changed,
                             POINT action) {
  NMLISTVIEW info{};
  info.iItem = row;
  info.iSubItem = subItem;
  info.uNewState = newState;
  info.uOldState = oldState;
  info.uChanged = changed;
  info.ptAction = action;
  info.lParam = rowParam(row);
  return notify(code, &info.hdr);
}

void ListView::notifyRange(int first, int last, UINT newState, UINT oldState) {
  NMLVODSTATECHANGE info{};
  info.iFrom = first;
  info.iTo = last;
  info.uNewState = newState;
  info.uOldState = oldState;
  notify(LVN_ODSTATECHANGED, &info.hdr);
}

LRESULT ListView::notifyClick(UINT code, const LVHITTESTINFO& hit, WPARAM keys) {
  NMITEMACTIVATE info{};
  info.iItem = hit.iItem;
  info.iSubItem = hit.iSubItem;
  info.ptAction = hit.pt;
  info.lParam = rowParam(hit.iItem);
  if (keys & MK_CONTROL) info.uKeyFlags |= LVKF_CONTROL;
  if (keys & MK_SHIFT) info.uKeyFlags |= LVKF_SHIFT;
  return notify(code, &info.hdr);
}

void ListView::cacheHint(int first, int last) {
  NMLVCACHEHINT hint{};
  hint.iFrom = first;
  hint.iTo = last;
  notify(LVN_ODCACHEHINT, &hint.hdr);
}

std::u16string ListView::askText(int row, int subItem, WCHAR* buffer, int capacity) {
  buffer[0] = 0;
  NMLVDISPINFOW info{};
  info.item.mask = LVIF_TEXT;
  info.item.iItem = row;
  info.item.iSubItem = subItem;
  info.item.pszText = buffer;
  info.item.cchTextMax = capacity;
  info.item.lParam = rowParam(row);
  notify(LVN_GETDISPINFOW, &info.hdr);
  // A parent that filled the buffer to the brim may have left no terminator.
  buffer[capacity - 1] = 0;
  std::u16string text = boundedText(info.item.pszText, static_cast<size_t>(capacity - 1));
  if (!model_.ownerData() && (info.item.mask & LVIF_DI_SETITEM) && model_.hasRow(row))
    model_.setCellText(row, subItem, text.c_str());
  return text;
}

LPARAM ListView::rowParam(int row) const {
  return !model_.ownerData() && model_.hasRow(row) ? model_.item(row).param : 0;
}

}  // namespace commctrl
