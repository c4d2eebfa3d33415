#include "commctrl/TreeModel.h"

#include <windows.h>

namespace commctrl {

namespace {

// Handles count up for the whole process and are never given out twice.
HTREEITEM nextHandle() {
  static uintptr_t last = 0;
  return reinterpret_cast<HTREEITEM>(++last);
}

}  // namespace

TreeModel::TreeModel() {
  root_.handle = TVI_ROOT;
  root_.state = TVIS_EXPANDED;
}

TreeItem* TreeModel::find(HTREEITEM handle) const {
  auto found = items_.find(reinterpret_cast<uintptr_t>(handle));
  return found == items_.end() ? nullptr : found->second.get();
}

TreeItem* TreeModel::insert(TreeItem* parent, HTREEITEM after, std::u16string text) {
  TreeItem* previous = nullptr;
  if (after == TVI_FIRST) {
    previous = nullptr;
  } else if (after == TVI_LAST || after == nullptr) {
    previous = parent->lastChild;
  } else if (after == TVI_SORT) {
    previous = nullptr;
    for (TreeItem* c = parent->firstChild; c; c = c->next) {
      if (_wcsicmp(c->text.c_str(), text.c_str()) > 0) break;
      previous = c;
    }
  } else {
    previous = find(after);
    if (!previous || previous->parent != parent) return nullptr;
  }
  auto item = std::make_unique<TreeItem>();
  item->handle = nextHandle();
  item->text = std::move(text);
  TreeItem* raw = item.get();
  items_.emplace(reinterpret_cast<uintptr_t>(raw->handle), std::move(item));
  link(raw, parent, previous);
  return raw;
}

void TreeModel::link(TreeItem* item, TreeItem* parent, TreeItem* previous) {
  item->parent = parent;
  item->previous = previous;
  item->next = previous ? previous->next : parent->firstChild;
  if (item->next)
    item->next->previous = item;
  else
    parent->lastChild = item;
  if (previous)
    previous->next = item;
  else
    parent->firstChild = item;
}

void TreeModel::unlink(TreeItem* item) {
  TreeItem* parent = item->parent;
  if (item->previous)
    item->previous->next = item->next;
  else
    parent->firstChild = item->next;
  if (item->next)
    item->next->previous = item->previous;
  else
    parent->lastChild = item->previous;
  item->parent = item->previous = item->next = nullptr;
}

void TreeModel::remove(TreeItem* item) {
  if (!item || isRoot(item)) return;
  std::vector<HTREEITEM> doomed = subtree(item);
  unlink(item);
  for (HTREEITEM h : doomed) items_.erase(reinterpret_cast<uintptr_t>(h));
}

std::vector<HTREEITEM> TreeModel::subtree(const TreeItem* item) const {
  std::vector<HTREEITEM> out;
  // Depth first without recursion, so that a deep tree cannot exhaust the stack.
  const TreeItem* at = item;
  while (at) {
    out.push_back(at->handle);
    if (at->firstChild) {
      at = at->firstChild;
      continue;
    }
    while (at != item && !at->next) at = at->parent;
    at = at == item ? nullptr : at->next;
  }
  return out;
}

bool TreeModel::isAncestor(const TreeItem* ancestor, const TreeItem* item) const {
  for (const TreeItem* p = item ? item->parent : nullptr; p; p = p->parent)
    if (p == ancestor) return true;
  return false;
}

int TreeModel::depth(const TreeItem* item) const {
  int d = 0;
  for (const TreeItem* p = item->parent; p && !isRoot(p); p = p->parent) ++d;
  return d;
}

TreeItem* TreeModel::nextVisible(const TreeItem* item) const {
  if (item->expanded() && item->firstChild) return item->firstChild;
  return nextVisibleAfterSubtree(item);
}

TreeItem* TreeModel::nextVisibleAfterSubtree(const TreeItem* item) const {
  for (const TreeItem* at = item; at && !isRoot(at); at = at->parent)
    if (at->next) return at->next;
  return nullptr;
}

TreeItem* TreeModel::previousVisible(const TreeItem* item) const {
  if (!item->previous) return isRoot(item->parent) ? nullptr : item->parent;
  TreeItem* at = item->previous;
  while (at->expanded() && at->lastChild) at = at->lastChild;
  return at;
}

TreeItem* TreeModel::lastVisible() const {
  TreeItem* at = root_.lastChild;
  while (at && at->expanded() && at->lastChild) at = at->lastChild;
  return at;
}

bool TreeModel::isVisible(const TreeItem* item) const {
  for (const TreeItem* p = item->parent; p && !isRoot(p); p = p->parent)
    if (!p->expanded()) return false;
  return true;
}

int TreeModel::visibleCount() const {
  int n = 0;
  for (const TreeItem* at = firstVisible(); at; at = nextVisible(at)) ++n;
  return n;
}

int TreeModel::visibleIndex(const TreeItem* item) const {
  if (!item || !isVisible(item)) return -1;
  int n = 0;
  for (const TreeItem* at = firstVisible(); at; at = nextVisible(at), ++n)
    if (at == item) return n;
  return -1;
}

TreeItem* TreeModel::visibleAt(int index) const {
  if (index < 0) return nullptr;
  TreeItem* at = firstVisible();
  for (int i = 0; at && i < index; ++i) at = nextVisible(at);
  return at;
}

}  // namespace commctrl
