#include "commctrl/TreeView.h"

#include <algorithm>
#include <cstring>

#include "device/Dump.h"
#include "user/ControlState.h"
#include "user/SystemClasses.h"
#include "user/WindowManager.h"

namespace commctrl {

namespace {

// The longest text taken from a parent's TVN_GETDISPINFOW answer.
constexpr int kCallbackTextMax = 1024;

bool isSpecial(HTREEITEM handle) {
  return handle == TVI_ROOT || handle == TVI_FIRST || handle == TVI_LAST || handle == TVI_SORT;
}

}  // namespace

void registerTreeViewClass() {
  user::registerSystemClass(WC_TREEVIEWW, user::controlProc<TreeView>, CS_DBLCLKS, 0, nullptr);
  device::registerDumpItems(WC_TREEVIEWW, [](HWND hwnd, const std::string& indent, std::string& out) {
    if (TreeView* tree = TreeView::of(hwnd)) tree->dump(indent, out);
  });
}

TreeView::TreeView(HWND hwnd) : hwnd_(hwnd) {}

DWORD TreeView::style() const { return user::controlStyle(hwnd_); }

LRESULT TreeView::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      updateMetrics();
      return 0;
    case WM_DESTROY:
      // The parent frees what it keeps per item when it hears of the deletion.
      deleteAll();
      return 0;
    case TVM_INSERTITEMW:
      return reinterpret_cast<LRESULT>(insertItem(reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
    case TVM_DELETEITEM:
      return deleteItem(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND: {
      TreeItem* item = model_.find(reinterpret_cast<HTREEITEM>(lParam));
      return item ? expandItem(item, static_cast<UINT>(wParam), false, TVC_UNKNOWN) : FALSE;
    }
    case TVM_GETITEMRECT:
      return itemRect(static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT:
      return static_cast<LRESULT>(model_.count());
    case TVM_GETINDENT:
      return indent_;
    case TVM_SETINDENT:
      indent_ = std::max(static_cast<int>(wParam), 1);
      indentSet_ = true;
      layoutChanged();
      return 0;
    case TVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE ? stateImages_ : images_);
    case TVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(setImageList(wParam, reinterpret_cast<HIMAGELIST>(lParam)));
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(nextItem(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM:
      return selectItem(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEMW:
      return getItem(reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW:
      return setItem(reinterpret_cast<const TVITEMW*>(lParam));
    case TVM_GETVISIBLECOUNT:
      return fullRows();
    case TVM_HITTEST: {
      auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
      if (!info) return 0;
      TreeItem* item = hitTest(info->pt, info->flags);
      info->hItem = item ? item->handle : nullptr;
      return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_ENSUREVISIBLE: {
      TreeItem* item = model_.find(reinterpret_cast<HTREEITEM>(lParam));
      if (!item) return FALSE;
      bool expanded = false;
      bool scrolled = ensureVisible(item, &expanded);
      return scrolled && !expanded;
    }
    case TVM_GETITEMHEIGHT:
      ensureLayout();
      return rowHeight_;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      updateMetrics();
      if (LOWORD(lParam)) invalidateAll();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
      redraw_ = wParam != FALSE;
      if (redraw_) {
        layoutChanged();
        invalidateAll();
      }
      return 0;
    case WM_SIZE:
    case WM_STYLECHANGED:
      layoutChanged();
      return 0;
    case WM_VSCROLL:
      verticalScroll(wParam);
      return 0;
    case WM_MOUSEWHEEL: {
      ensureLayout();
      int notches = static_cast<SHORT>(HIWORD(wParam)) / 120;
      scrollTo(topIndex_ - notches * 3);
      return 0;
    }
    case WM_LBUTTONDOWN:
      stylusDown(lParam, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      stylusDown(lParam, true);
      return 0;
    case WM_LBUTTONUP:
      stylusUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      captureLost();
      return 0;
    case WM_KEYDOWN:
      keyDown(wParam);
      return 0;
    case WM_CHAR:
      typeAhead(static_cast<WCHAR>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      focusChanged(true);
      return 0;
    case WM_KILLFOCUS:
      focusChanged(false);
      return 0;
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE:
      invalidateAll();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() fills the background with the rows
    case WM_PAINT:
      paint(nullptr);
      return 0;
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_NOTIFYFORMAT:
      return NFR_UNICODE;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

// ---- items

HTREEITEM TreeView::insertItem(const TVINSERTSTRUCTW* insert) {
  if (!insert) return nullptr;
  TreeItem* parent = model_.root();
  if (insert->hParent && insert->hParent != TVI_ROOT) {
    parent = model_.find(insert->hParent);
    if (!parent) return nullptr;
  }
  const TVITEMW& fields = insert->item;
  std::u16string text;
  bool callback = false;
  if ((fields.mask & TVIF_TEXT) && fields.pszText) {
    callback = fields.pszText == LPSTR_TEXTCALLBACKW;
    if (!callback) text = fields.pszText;
  }
  HTREEITEM after = insert->hInsertAfter;
  if (after && !isSpecial(after) && !model_.find(after)) return nullptr;
  TreeItem* item = model_.insert(parent, after, std::move(text));
  if (!item) return nullptr;
  item->textCallback = callback;
  TVITEMW rest = fields;
  rest.mask &= ~TVIF_TEXT;
  applyFields(*item, rest);
  if (model_.isVisible(item)) layoutChanged();
  // The parent's button may have appeared.
  if (!model_.isRoot(parent)) invalidateItem(parent);
  return item->handle;
}

void TreeView::applyFields(TreeItem& item, const TVITEMW& fields) {
  if (fields.mask & TVIF_TEXT) {
    item.textCallback = fields.pszText == LPSTR_TEXTCALLBACKW;
    item.text = (fields.pszText && !item.textCallback) ? std::u16string(fields.pszText) : std::u16string();
  }
  if (fields.mask & TVIF_IMAGE) item.image = fields.iImage;
  if (fields.mask & TVIF_SELECTEDIMAGE) item.selectedImage = fields.iSelectedImage;
  if (fields.mask & TVIF_PARAM) item.data = fields.lParam;
  if (fields.mask & TVIF_CHILDREN) {
    item.childrenSet = true;
    item.children = fields.cChildren;
  }
  if (fields.mask & TVIF_STATE) {
    // The caret is the selection; it is set with TVM_SELECTITEM.
    UINT mask = fields.stateMask & ~(TVIS_SELECTED | TVIS_FOCUSED);
    bool wasExpanded = item.expanded();
    item.state = (item.state & ~mask) | (fields.state & mask);
    if (wasExpanded != item.expanded()) {
      if (!item.expanded()) {
        if (caret_ && model_.isAncestor(&item, caret_)) caret_ = &item;
        if (top_ && model_.isAncestor(&item, top_)) top_ = &item;
      }
      layoutChanged();
    }
  }
}

BOOL TreeView::deleteItem(HTREEITEM handle) {
  if (!handle || handle == TVI_ROOT) {
    deleteAll();
    return TRUE;
  }
  TreeItem* item = model_.find(handle);
  if (!item) return FALSE;
  bool caretInside = caret_ && (caret_ == item || model_.isAncestor(item, caret_));
  // The selection passes to the next sibling, else the previous, else the parent.
  HTREEITEM heir = nullptr;
  if (caretInside) {
    if (item->next)
      heir = item->next->handle;
    else if (item->previous)
      heir = item->previous->handle;
    else if (!model_.isRoot(item->parent))
      heir = item->parent->handle;
  }
  TreeItem* parent = item->parent;
  bool parentIsRoot = model_.isRoot(parent);
  HTREEITEM parentHandle = parent->handle;
  deleteSubtree(item);
  if (!parentIsRoot) {
    // A parent left without children shows no button and is collapsed: a
    // later first child starts hidden, like any first child.
    if (TreeItem* p = model_.find(parentHandle)) {
      if (!p->hasChildren()) p->state &= ~TVIS_EXPANDED;
      invalidateItem(p);
    }
  }
  if (caretInside) {
    if (TreeItem* next = model_.find(heir)) changeSelection(next, TVC_UNKNOWN);
  }
  return TRUE;
}

void TreeView::deleteSubtree(TreeItem* item) {
  std::vector<HTREEITEM> doomed = model_.subtree(item);
  HTREEITEM top = item->handle;
  // Each item is still whole while the parent hears of it.
  for (HTREEITEM h : doomed) {
    if (TreeItem* d = model_.find(h)) notifyTree(TVN_DELETEITEMW, 0, d, nullptr);
  }
  item = model_.find(top);
  if (!item) return;  // the parent deleted it meanwhile
  auto inside = [&](TreeItem* t) { return t && (t == item || model_.isAncestor(item, t)); };
  if (inside(top_)) {
    TreeItem* after = model_.nextVisibleAfterSubtree(item);
    top_ = after ? after : model_.previousVisible(item);
  }
  if (inside(caret_)) caret_ = nullptr;
  if (inside(dropHilite_)) dropHilite_ = nullptr;
  if (TreeItem* pressed = model_.find(pressedItem_); inside(pressed)) pressedItem_ = nullptr;
  bool wasVisible = model_.isVisible(item);
  model_.remove(item);
  if (wasVisible) layoutChanged();
}

void TreeView::deleteAll() {
  while (TreeItem* first = model_.root()->firstChild) deleteSubtree(first);
  caret_ = dropHilite_ = top_ = nullptr;
  layoutChanged();
}

BOOL TreeView::getItem(TVITEMW* out) {
  if (!out) return FALSE;
  TreeItem* item = model_.find(out->hItem);
  if (!item) return FALSE;
  if ((out->mask & TVIF_TEXT) && out->pszText && out->pszText != LPSTR_TEXTCALLBACKW && out->cchTextMax > 0) {
    // Cut to the caller's buffer, always terminated.
    std::u16string text = textOf(item);
    size_t n = std::min(text.size(), static_cast<size_t>(out->cchTextMax - 1));
    std::memcpy(out->pszText, text.data(), n * sizeof(WCHAR));
    out->pszText[n] = 0;
  }
  if (out->mask & TVIF_IMAGE) out->iImage = item->image;
  if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->selectedImage;
  if (out->mask & TVIF_PARAM) out->lParam = item->data;
  if (out->mask & TVIF_CHILDREN) out->cChildren = item->childrenSet ? item->children : (item->firstChild ? 1 : 0);
  if (out->mask & TVIF_STATE) {
    UINT state = item->state | (item == caret_ ? TVIS_SELECTED : 0) | (item == dropHilite_ ? TVIS_DROPHILITED : 0);
    out->state = state & out->stateMask;
  }
  return TRUE;
}

BOOL TreeView::setItem(const TVITEMW* fields) {
  if (!fields) return FALSE;
  TreeItem* item = model_.find(fields->hItem);
  if (!item) return FALSE;
  applyFields(*item, *fields);
  invalidateItem(item);
  return TRUE;
}

std::u16string TreeView::textOf(TreeItem* item) {
  if (!item->textCallback) return item->text;
  WCHAR buffer[kCallbackTextMax + 1] = {};
  NMTVDISPINFOW info{};
  describe(info.item, item);
  info.item.mask = TVIF_TEXT;
  info.item.pszText = buffer;
  info.item.cchTextMax = kCallbackTextMax;
  HTREEITEM handle = item->handle;
  notify(info.hdr, TVN_GETDISPINFOW);
  std::u16string text;
  // The parent may answer in its own buffer; read no further than the limit.
  if (const WCHAR* p = info.item.pszText; p && p != LPSTR_TEXTCALLBACKW) {
    size_t n = 0;
    while (n < kCallbackTextMax && p[n]) ++n;
    text.assign(p, n);
  }
  if (info.item.mask & TVIF_DI_SETITEM) {
    if (TreeItem* still = model_.find(handle)) {
      still->text = text;
      still->textCallback = false;
    }
  }
  return text;
}

int TreeView::imageOf(TreeItem* item, bool selected) {
  int image = selected ? item->selectedImage : item->image;
  if (image != I_IMAGECALLBACK) return image;
  NMTVDISPINFOW info{};
  describe(info.item, item);
  info.item.mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
  info.item.iImage = info.item.iSelectedImage = I_IMAGECALLBACK;
  notify(info.hdr, TVN_GETDISPINFOW);
  return selected ? info.item.iSelectedImage : info.item.iImage;
}

HTREEITEM TreeView::nextItem(UINT code, HTREEITEM handle) {
  auto handleOf = [](const TreeItem* item) { return item ? item->handle : nullptr; };
  switch (code) {
    case TVGN_ROOT:
      return handleOf(model_.root()->firstChild);
    case TVGN_CARET:
      return handleOf(caret_);
    case TVGN_DROPHILITE:
      return handleOf(dropHilite_);
    case TVGN_FIRSTVISIBLE:
      ensureLayout();
      return handleOf(top_);
    case TVGN_LASTVISIBLE:
      return handleOf(model_.lastVisible());
    case TVGN_CHILD:
      if (!handle || handle == TVI_ROOT) return handleOf(model_.root()->firstChild);
      break;
    default:
      break;
  }
  TreeItem* item = model_.find(handle);
  if (!item) return nullptr;
  switch (code) {
    case TVGN_CHILD:
      return handleOf(item->firstChild);
    case TVGN_NEXT:
      return handleOf(item->next);
    case TVGN_PREVIOUS:
      return handleOf(item->previous);
    case TVGN_PARENT:
      return model_.isRoot(item->parent) ? nullptr : item->parent->handle;
    case TVGN_NEXTVISIBLE:
      return model_.isVisible(item) ? handleOf(model_.nextVisible(item)) : nullptr;
    case TVGN_PREVIOUSVISIBLE:
      return model_.isVisible(item) ? handleOf(model_.previousVisible(item)) : nullptr;
    default:
      return nullptr;
  }
}

BOOL TreeView::selectItem(UINT code, HTREEITEM handle) {
  TreeItem* item = model_.find(handle);
  if (handle && !item) return FALSE;
  switch (code) {
    case TVGN_CARET:
      if (!changeSelection(item, TVC_UNKNOWN)) return FALSE;
      if (TreeItem* now = model_.find(handle)) ensureVisible(now);
      return TRUE;
    case TVGN_DROPHILITE:
      invalidateItem(dropHilite_);
      dropHilite_ = item;
      invalidateItem(dropHilite_);
      return TRUE;
    case TVGN_FIRSTVISIBLE:
      if (!item) return FALSE;
      ensureVisible(item);
      if ((item = model_.find(handle)) != nullptr) {
        ensureLayout();
        scrollTo(model_.visibleIndex(item));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

HIMAGELIST TreeView::setImageList(WPARAM which, HIMAGELIST list) {
  HIMAGELIST previous;
  if (which == TVSIL_STATE) {
    previous = stateImages_;
    stateImages_ = list;
  } else if (which == TVSIL_NORMAL) {
    previous = images_;
    images_ = list;
  } else {
    return nullptr;
  }
  updateMetrics();
  invalidateAll();
  return previous;
}

bool TreeView::changeSelection(TreeItem* to, UINT action) {
  if (to == caret_) return true;
  HTREEITEM target = to ? to->handle : nullptr;
  if (notifyTree(TVN_SELCHANGINGW, action, caret_, to)) return false;
  // The parent may have deleted items while it was asked.
  to = model_.find(target);
  if (target && !to) return false;
  TreeItem* old = caret_;
  invalidateItem(old);
  caret_ = to;
  invalidateItem(caret_);
  notifyTree(TVN_SELCHANGEDW, action, old, caret_);
  return true;
}

bool TreeView::expandItem(TreeItem* item, UINT code, bool byUser, UINT action) {
  UINT what = code & TVE_TOGGLE;
  bool expand = what == TVE_EXPAND || (what == TVE_TOGGLE && !item->expanded());
  bool reset = !expand && (code & TVE_COLLAPSERESET);
  if (what == 0 || !item->hasChildren()) return false;
  if (expand && item->expanded()) return true;
  if (!expand && !item->expanded() && !reset) return false;
  HTREEITEM handle = item->handle;
  UINT verb = expand ? TVE_EXPAND : TVE_COLLAPSE;
  bool tell = byUser || !(item->state & TVIS_EXPANDEDONCE);
  if (tell && notifyTree(TVN_ITEMEXPANDINGW, verb, nullptr, item)) return false;
  if (!(item = model_.find(handle))) return false;
  if (expand) {
    item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  } else {
    item->state &= ~TVIS_EXPANDED;
    if (top_ && model_.isAncestor(item, top_)) top_ = item;
    // A selection hidden by the collapse moves up to the collapsed item.
    if (caret_ && model_.isAncestor(item, caret_)) changeSelection(item, action);
    if (!(item = model_.find(handle))) return true;
    if (reset) {
      while (item->firstChild) deleteSubtree(item->firstChild);
      item->state &= ~TVIS_EXPANDEDONCE;
    }
  }
  layoutChanged();
  invalidateItem(item);
  if (tell) {
    if (TreeItem* still = model_.find(handle)) notifyTree(TVN_ITEMEXPANDEDW, verb, nullptr, still);
  }
  return true;
}

bool TreeView::ensureVisible(TreeItem* item, bool* expanded) {
  HTREEITEM handle = item->handle;
  // Outermost ancestor first, so that each expansion reveals the next.
  std::vector<HTREEITEM> chain;
  for (TreeItem* p = item->parent; p && !model_.isRoot(p); p = p->parent) chain.push_back(p->handle);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    TreeItem* p = model_.find(*it);
    if (p && !p->expanded()) {
      expandItem(p, TVE_EXPAND, false, TVC_UNKNOWN);
      if (expanded) *expanded = true;
    }
  }
  item = model_.find(handle);
  if (!item) return false;
  ensureLayout();
  int index = model_.visibleIndex(item);
  if (index < 0) return false;
  int rows = std::max(fullRows(), 1);
  int before = topIndex_;
  if (index < topIndex_)
    scrollTo(index);
  else if (index >= topIndex_ + rows)
    scrollTo(index - rows + 1);
  return topIndex_ != before;
}

// ---- notifications

LRESULT TreeView::notify(NMHDR& header, UINT code) {
  HWND parent = GetParent(hwnd_);
  if (!parent) return 0;
  header.hwndFrom = hwnd_;
  header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd_, GWLP_ID));
  header.code = code;
  return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT TreeView::notifySimple(UINT code) {
  NMHDR header{};
  return notify(header, code);
}

void TreeView::describe(TVITEMW& out, TreeItem* item) {
  out = TVITEMW{};
  if (!item) return;
  out.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
  out.hItem = item->handle;
  out.state = item->state | (item == caret_ ? TVIS_SELECTED : 0);
  out.stateMask = 0xFFFF;
  out.lParam = item->data;
  out.iImage = item->image;
  out.iSelectedImage = item->selectedImage;
}

LRESULT TreeView::notifyTree(UINT code, UINT action, TreeItem* oldItem, TreeItem* newItem) {
  NMTREEVIEWW info{};
  info.action = action;
  describe(info.itemOld, oldItem);
  describe(info.itemNew, newItem);
  return notify(info.hdr, code);
}

// ---- the window dump

void TreeView::dump(const std::string& indent, std::string& out) {
  // Handles, not items: a parent asked for a text may change the tree.
  struct Frame {
    HTREEITEM handle;
    int depth;
  };
  std::vector<Frame> stack;
  for (TreeItem* c = model_.root()->lastChild; c; c = c->previous) stack.push_back({c->handle, 0});
  while (!stack.empty()) {
    Frame f = stack.back();
    stack.pop_back();
    TreeItem* item = model_.find(f.handle);
    if (!item) continue;
    std::u16string text = textOf(item);
    if (!(item = model_.find(f.handle))) continue;
    out += indent + std::string(static_cast<size_t>(f.depth) * 2, ' ') + "node " + device::quoteText(text) +
           " data=" + std::to_string(static_cast<long long>(item->data));
    if (item->expanded()) out += " expanded";
    if (item == caret_) out += " selected";
    out += '\n';
    for (TreeItem* c = item->lastChild; c; c = c->previous) stack.push_back({c->handle, f.depth + 1});
  }
}

}  // namespace commctrl
