// The items of a tree view and how they hang together: siblings in order,
// parents and children, and the visible order (items whose ancestors are
// all expanded, top to bottom). Item handles are never reused in the
// process, so a stale handle or one of another tree is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <commctrl.h>

namespace commctrl {

struct TreeItem {
  HTREEITEM handle = nullptr;
  TreeItem* parent = nullptr;  // the hidden root for top-level items
  TreeItem* firstChild = nullptr;
  TreeItem* lastChild = nullptr;
  TreeItem* previous = nullptr;
  TreeItem* next = nullptr;

  std::u16string text;
  bool textCallback = false;  // the parent supplies the text (LPSTR_TEXTCALLBACKW)
  int image = 0;
  int selectedImage = 0;
  // As given with TVIF_CHILDREN (0, 1 or I_CHILDRENCALLBACK); unset, the
  // item has children when it holds some.
  bool childrenSet = false;
  int children = 0;
  UINT state = 0;  // TVIS_* the item keeps itself: expanded, expanded once, bold, ...
  LPARAM data = 0;

  bool expanded() const { return (state & TVIS_EXPANDED) != 0; }
  // Whether the item shows a button: it holds children or says it has some.
  bool hasChildren() const { return firstChild != nullptr || (childrenSet && children != 0); }
};

class TreeModel {
 public:
  TreeModel();
  TreeModel(const TreeModel&) = delete;
  TreeModel& operator=(const TreeModel&) = delete;

  // The item behind a handle of this tree; null for anything else,
  // TVI_ROOT included.
  TreeItem* find(HTREEITEM handle) const;
  // The hidden item all top-level items hang from; it is always expanded.
  TreeItem* root() { return &root_; }
  const TreeItem* root() const { return &root_; }
  bool isRoot(const TreeItem* item) const { return item == &root_; }
  size_t count() const { return items_.size(); }

  // Inserts a new item under parent: after is TVI_FIRST, TVI_LAST,
  // TVI_SORT (by text, without regard to case) or a child of parent.
  // Null when after names no child of parent.
  TreeItem* insert(TreeItem* parent, HTREEITEM after, std::u16string text);
  // Unlinks item and everything below it and frees them.
  void remove(TreeItem* item);

  // item and its descendants, parents before children.
  std::vector<HTREEITEM> subtree(const TreeItem* item) const;
  bool isAncestor(const TreeItem* ancestor, const TreeItem* item) const;
  // Top-level items have depth 0.
  int depth(const TreeItem* item) const;

  // The visible order.
  TreeItem* firstVisible() const { return root_.firstChild; }
  TreeItem* nextVisible(const TreeItem* item) const;
  TreeItem* previousVisible(const TreeItem* item) const;
  TreeItem* lastVisible() const;
  // The first visible item after item and all below it.
  TreeItem* nextVisibleAfterSubtree(const TreeItem* item) const;
  bool isVisible(const TreeItem* item) const;
  int visibleCount() const;
  // Position of a visible item in the visible order; -1 when hidden.
  int visibleIndex(const TreeItem* item) const;
  TreeItem* visibleAt(int index) const;

 private:
  void link(TreeItem* item, TreeItem* parent, TreeItem* previous);
  void unlink(TreeItem* item);

  TreeItem root_;
  std::unordered_map<uintptr_t, std::unique_ptr<TreeItem>> items_;
};

}  // namespace commctrl
