// The stylus, the keys and the focus on the tree view.
#include <algorithm>

#include "commctrl/TreeView.h"

namespace commctrl {

void TreeView::focusChanged(bool focused) {
  focused_ = focused;
  invalidateItem(caret_);
  notifySimple(focused ? NM_SETFOCUS : NM_KILLFOCUS);
}

void TreeView::stylusDown(LPARAM lParam, bool doubleTap) {
  if (GetFocus() != hwnd_) {
    SetFocus(hwnd_);
    if (!IsWindow(hwnd_)) return;
  }
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  UINT flags = 0;
  TreeItem* item = hitTest(p, flags);
  pressedItem_ = item ? item->handle : nullptr;
  pressedFlags_ = flags;
  doubleTap_ = doubleTap;
  tracking_ = true;
  SetCapture(hwnd_);
}

void TreeView::captureLost() { tracking_ = false; }

void TreeView::stylusUp(LPARAM lParam) {
  if (!tracking_) return;
  tracking_ = false;
  ReleaseCapture();
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  UINT flags = 0;
  TreeItem* item = hitTest(p, flags);
  HTREEITEM handle = item ? item->handle : nullptr;
  // A tap counts where the stylus went down and came up on the same part.
  const UINT parts = TVHT_ONITEMBUTTON | TVHT_ONITEM | TVHT_NOWHERE | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT;
  bool onButton = (flags & TVHT_ONITEMBUTTON) != 0;
  bool onItem = (flags & TVHT_ONITEM) != 0;
  bool samePart = (flags & parts) != 0 && onButton == ((pressedFlags_ & TVHT_ONITEMBUTTON) != 0) &&
                  onItem == ((pressedFlags_ & TVHT_ONITEM) != 0);
  if (handle != pressedItem_ || !samePart) return;
  bool doubleTap = doubleTap_ && onItem;
  // The parent hears of the tap before the selection changes, and may keep it from changing.
  if (notifySimple(doubleTap ? NM_DBLCLK : NM_CLICK)) return;
  if (!(item = model_.find(handle))) return;
  if (onButton || doubleTap) {
    expandItem(item, TVE_TOGGLE, true, TVC_BYMOUSE);
  } else if (onItem && changeSelection(item, TVC_BYMOUSE)) {
    if ((item = model_.find(handle)) != nullptr) ensureVisible(item);
  }
}

void TreeView::moveCaret(TreeItem* to) {
  if (!to) return;
  HTREEITEM handle = to->handle;
  if (!changeSelection(to, TVC_BYKEYBOARD)) return;
  if ((to = model_.find(handle)) != nullptr && to == caret_) ensureVisible(to);
}

void TreeView::keyDown(WPARAM key) {
  ensureLayout();
  TreeItem* at = caret_;
  int page = std::max(fullRows() - 1, 1);
  switch (key) {
    case VK_UP:
      moveCaret(at ? model_.previousVisible(at) : model_.firstVisible());
      break;
    case VK_DOWN:
      moveCaret(at ? model_.nextVisible(at) : model_.firstVisible());
      break;
    case VK_HOME:
      moveCaret(model_.firstVisible());
      break;
    case VK_END:
      moveCaret(model_.lastVisible());
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      if (!at) {
        moveCaret(model_.firstVisible());
        break;
      }
      TreeItem* to = at;
      for (int i = 0; i < page; ++i) {
        TreeItem* step = key == VK_PRIOR ? model_.previousVisible(to) : model_.nextVisible(to);
        if (!step) break;
        to = step;
      }
      moveCaret(to);
      break;
    }
    case VK_LEFT:
      // Collapse first; a collapsed item (or a leaf) gives the selection to its parent.
      if (!at) break;
      if (at->expanded() && at->hasChildren())
        expandItem(at, TVE_COLLAPSE, true, TVC_BYKEYBOARD);
      else if (!model_.isRoot(at->parent))
        moveCaret(at->parent);
      break;
    case VK_RIGHT:
      // Expand first; an expanded item gives the selection to its first child.
      if (!at || !at->hasChildren()) break;
      if (!at->expanded())
        expandItem(at, TVE_EXPAND, true, TVC_BYKEYBOARD);
      else
        moveCaret(at->firstChild);
      break;
    case VK_ADD:
      if (at) expandItem(at, TVE_EXPAND, true, TVC_BYKEYBOARD);
      break;
    case VK_SUBTRACT:
      if (at) expandItem(at, TVE_COLLAPSE, true, TVC_BYKEYBOARD);
      break;
    case VK_RETURN:
      notifySimple(NM_RETURN);
      break;
    default:
      break;
  }
}

void TreeView::typeAhead(WCHAR ch) {
  if (ch < 0x20) return;
  // The next visible item after the selection whose text starts with the
  // letter typed, from the top again after the last.
  TreeItem* start = caret_ ? model_.nextVisible(caret_) : model_.firstVisible();
  if (!start) start = model_.firstVisible();
  TreeItem* at = start;
  while (at) {
    HTREEITEM handle = at->handle;
    std::u16string text = textOf(at);
    if (!(at = model_.find(handle))) return;
    WCHAR typed[2] = {ch, 0};
    if (!text.empty() && _wcsnicmp(text.c_str(), typed, 1) == 0) {
      moveCaret(at);
      return;
    }
    at = model_.nextVisible(at);
    if (!at) at = model_.firstVisible();
    if (at == start) return;
  }
}

}  // namespace commctrl
