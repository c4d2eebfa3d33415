// The tree view control ("SysTreeView32"): items with text, images and item
// data under expandable parents, one selected item (the caret), selection by
// the stylus and the keys, a vertical scroll bar when the items do not fit,
// and WM_NOTIFY to the parent for every change the parent may care about.
//
// The work is split by concern: TreeView.cpp (messages, items, selection,
// expansion, notifications), TreeLayout.cpp (rows, metrics, scrolling, hit
// testing), TreePaint.cpp (drawing), TreeInput.cpp (stylus, keys, focus).
#pragma once

#include <string>

#include <commctrl.h>

#include "commctrl/TreeModel.h"
#include "user/ControlState.h"
#include "user/Window.h"

namespace commctrl {

void registerTreeViewClass();

class TreeView : public user::Control {
 public:
  explicit TreeView(HWND hwnd);
  // The tree view state of a window, if it is one; never creates it.
  static TreeView* of(HWND hwnd) { return user::existingControl<TreeView>(hwnd); }

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  // The window dump's lines: every item, children indented below parents.
  void dump(const std::string& indent, std::string& out);

 private:
  // Where a point lies on a row.
  struct RowGeometry {
    RECT row{};     // the whole row, client coordinates
    RECT button{};  // the button's cell in the indentation (empty: none)
    RECT icon{};    // empty without an image list
    RECT label{};   // the highlighted text box
    int lineX = -1;  // x of the item's own vertical line; -1 when it has none
  };

  // ---- items (TreeView.cpp)
  HTREEITEM insertItem(const TVINSERTSTRUCTW* insert);
  BOOL deleteItem(HTREEITEM handle);
  void deleteSubtree(TreeItem* item);
  void deleteAll();
  BOOL getItem(TVITEMW* item);
  BOOL setItem(const TVITEMW* item);
  void applyFields(TreeItem& item, const TVITEMW& fields);
  HTREEITEM nextItem(UINT code, HTREEITEM handle);
  BOOL selectItem(UINT code, HTREEITEM handle);
  HIMAGELIST setImageList(WPARAM which, HIMAGELIST list);
  std::u16string textOf(TreeItem* item);
  int imageOf(TreeItem* item, bool selected);
  TreeItem* caret() const { return caret_; }

  // Changes the caret, asking the parent first; false when it refused.
  bool changeSelection(TreeItem* to, UINT action);
  // Expands or collapses (TVE_* code). byUser: the stylus or the keys did
  // it, which always notifies; a message notifies only until the item has
  // once been expanded.
  bool expandItem(TreeItem* item, UINT code, bool byUser, UINT action);
  // Expands the ancestors and scrolls item into view; whether any ancestor
  // had to be expanded.
  bool ensureVisible(TreeItem* item, bool* expanded = nullptr);

  // ---- notifications (TreeView.cpp)
  LRESULT notify(NMHDR& header, UINT code);
  LRESULT notifySimple(UINT code);
  LRESULT notifyTree(UINT code, UINT action, TreeItem* oldItem, TreeItem* newItem);
  void describe(TVITEMW& out, TreeItem* item);

  // ---- layout (TreeLayout.cpp)
  void updateMetrics();
  void layoutChanged();
  void ensureLayout();
  void updateScrollBar();
  int fullRows() const;
  void scrollTo(int topIndex);
  void verticalScroll(WPARAM wParam);
  int textWidth(HDC hdc, const std::u16string& text) const;
  RowGeometry geometry(HDC hdc, TreeItem* item, int rowIndex, const std::u16string& text);
  // Hit test in client coordinates; the item hit, if any.
  TreeItem* hitTest(POINT point, UINT& flags);
  BOOL itemRect(BOOL textOnly, RECT* rect);
  void invalidateItem(TreeItem* item);
  void invalidateAll();
  int levelIndent(TreeItem* item) const;
  bool linesAtRoot() const;
  DWORD style() const;

  // ---- painting (TreePaint.cpp)
  void paint(HDC given);
  void paintRow(HDC hdc, TreeItem* item, int rowIndex);
  void paintLines(HDC hdc, TreeItem* item, const RowGeometry& g);
  void paintButton(HDC hdc, TreeItem* item, const RowGeometry& g);
  void paintLabel(HDC hdc, TreeItem* item, const RowGeometry& g, const std::u16string& text);

  // ---- input (TreeInput.cpp)
  void stylusDown(LPARAM lParam, bool doubleTap);
  void stylusUp(LPARAM lParam);
  void captureLost();
  void keyDown(WPARAM key);
  void typeAhead(WCHAR ch);
  void focusChanged(bool focused);
  void moveCaret(TreeItem* to);

  HWND hwnd_;
  TreeModel model_;
  TreeItem* caret_ = nullptr;
  TreeItem* dropHilite_ = nullptr;
  TreeItem* top_ = nullptr;  // the first row shown; null: the first item
  HIMAGELIST images_ = nullptr;
  HIMAGELIST stateImages_ = nullptr;
  HFONT font_ = nullptr;
  bool focused_ = false;
  bool redraw_ = true;

  // Layout, valid while !layoutDirty_.
  bool layoutDirty_ = true;
  int visibleCount_ = 0;
  int topIndex_ = 0;
  int rowHeight_ = 18;
  int textHeight_ = 13;
  int indent_ = 19;
  bool indentSet_ = false;

  // The stylus press being tracked.
  bool tracking_ = false;
  bool doubleTap_ = false;
  HTREEITEM pressedItem_ = nullptr;
  UINT pressedFlags_ = 0;
};

}  // namespace commctrl
