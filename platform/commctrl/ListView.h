// The list view control ("SysListView32") in report view: columns under a
// header, rows of cells, selection by the stylus and the keys, scrolling by
// rows vertically and by pixels horizontally, and WM_NOTIFY to the parent
// for every change the parent may care about. An owner-data list
// (LVS_OWNERDATA) holds no rows: it knows their number, asks the parent for
// each cell as it draws (after a cache hint with the rows about to be
// drawn) and keeps the selection as ranges, so a million rows cost nothing.
//
// The work is split by concern: ListView.cpp (messages, columns, items),
// ListViewSelect.cpp (states, selection and their notifications),
// ListViewLayout.cpp (geometry, scrolling, hit testing), ListViewPaint.cpp
// (drawing, the cells' texts and the window dump), ListViewInput.cpp
// (stylus, keys, typing, focus).
#pragma once

#include <string>
#include <vector>

#include <commctrl.h>

#include "commctrl/ListViewModel.h"
#include "commctrl/ListViewSelection.h"
#include "user/ControlState.h"
#include "user/Window.h"

namespace commctrl {

void registerListViewClass();

class ListView : public user::Control {
 public:
  ListView(HWND hwnd);
  // The list view state of a window, if it is one; never creates it.
  static ListView* of(HWND hwnd) { return user::existingControl<ListView>(hwnd); }

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  // The window dump's lines: the list, its columns and its visible rows.
  void dump(const std::string& indent, std::string& out);

  // The capacity of the text buffer given to the parent with LVN_GETDISPINFOW.
  static constexpr int kTextCapacity = 260;

 private:
  // ---- life, columns and items (ListView.cpp)
  LRESULT create(const CREATESTRUCTW* cs);
  void destroy();
  int insertColumn(int index, const LVCOLUMNW* column);
  bool deleteColumn(int index);
  bool getColumn(int index, LVCOLUMNW* column) const;
  bool setColumn(int index, const LVCOLUMNW* column);
  bool setColumnWidth(int index, int width);
  int autoWidth(int index, bool useHeader);
  // Tells the header what column index now looks like (or that it is new).
  void syncHeaderItem(int index, bool inserted);
  int insertItem(const LVITEMW* item);
  bool deleteItem(int row);
  bool deleteAllItems();
  bool getItem(LVITEMW* item);
  bool setItem(const LVITEMW* item);
  int getItemText(int row, LVITEMW* item);
  bool setItemText(int row, const LVITEMW* item);
  bool setItemCount(int count, DWORD flags);
  int findItem(int start, const LVFINDINFOW* find);
  int nextItem(int start, UINT flags);
  LRESULT headerNotify(NMHDR* header);
  DWORD setExtendedStyle(DWORD mask, DWORD style);
  void styleChanged();

  // ---- states and selection (ListViewSelect.cpp)
  UINT itemState(int row) const;
  bool setItemState(int row, UINT state, UINT mask);
  // The selection and the focus become these; every row whose state
  // changes is told to the parent (ranges of an owner-data list at once).
  void commit(ListViewSelection target, int focus);
  // A change of every row at once (LVM_SETITEMSTATE with -1).
  void commitAll(ListViewSelection target, int focus, UINT state, UINT mask);
  void selectOnly(int row);
  void toggle(int row);
  void selectRange(int from, int to, bool keepOthers);
  void clearSelection();
  // Rows were inserted or deleted: selection, focus and the rest follow.
  void rowsInserted(int at, int n);
  void rowsDeleted(int at, int n);
  bool multiSelect() const;

  // ---- notifications (ListViewSelect.cpp)
  LRESULT notify(UINT code, NMHDR* header);
  LRESULT notifyItem(UINT code, int row, int subItem, UINT newState, UINT oldState, UINT changed,
                     POINT action = {0, 0});
  void notifyRange(int first, int last, UINT newState, UINT oldState);
  LRESULT notifyClick(UINT code, const LVHITTESTINFO& hit, WPARAM keys);
  void cacheHint(int first, int last);
  // Text of a cell the parent keeps, asked with LVN_GETDISPINFOW.
  std::u16string askText(int row, int subItem, WCHAR* buffer, int capacity);
  LPARAM rowParam(int row) const;

  // ---- geometry (ListViewLayout.cpp)
  void updateMetrics();
  void layout();
  void updateScrollBars();
  RECT clientRect() const;
  int headerBottom() const;
  int rowsAreaWidth() const;
  int countPerPage() const;
  // One past the last row that shows (also partly) in the client area.
  int visibleEnd() const;
  RECT rowBounds(int row) const;
  RECT cellRect(int row, int column) const;
  bool itemRect(int row, RECT* rect) const;
  bool subItemRect(int row, RECT* rect) const;
  int hitTest(LVHITTESTINFO* info, bool subItems) const;
  void scrollTo(int top);
  void scrollToX(int x);
  void ensureVisible(int row, bool partialOk);
  void verticalScroll(WORD code);
  void horizontalScroll(WORD code);
  int maxTop() const;
  void invalidateRows(int first, int last);
  void invalidateAll();

  // ---- painting and texts (ListViewPaint.cpp)
  void paint();
  void paintRows(HDC hdc, const RECT& area);
  void paintRow(HDC hdc, int row, HBRUSH background);
  std::u16string cellText(int row, int subItem);
  COLORREF effectiveColor(COLORREF color, int sysColor) const;

  // ---- input (ListViewInput.cpp)
  void stylusDown(WPARAM keys, LPARAM lParam, bool twice);
  void stylusUp(WPARAM keys, LPARAM lParam);
  void keyDown(WPARAM key, LPARAM lParam);
  void moveFocusTo(int row, bool shift, bool control);
  void typeChar(WCHAR ch);
  void focusChanged(bool focused);

  HWND hwnd_;
  HWND header_ = nullptr;
  ListViewModel model_;
  ListViewSelection selection_;
  int focus_ = -1;
  int anchor_ = -1;  // the selection mark: where Shift ranges start
  DWORD extended_ = 0;
  UINT callbackMask_ = 0;
  HANDLE imageLists_[3] = {};
  HFONT font_ = nullptr;
  COLORREF background_;
  COLORREF textColor_;
  COLORREF textBackground_;

  int top_ = 0;      // first row shown
  int scrollX_ = 0;  // pixels scrolled to the right
  int rowHeight_ = 16;
  int headerHeight_ = 0;
  bool redraw_ = true;
  bool hasFocus_ = false;
  bool updatingScrollBars_ = false;
  bool syncingHeader_ = false;  // the header's notifications come from our own change

  // Stylus: the press that a release turns into NM_CLICK.
  bool pressed_ = false;
  LVHITTESTINFO press_{};
  // Typing: what was typed, and when the last character came.
  std::u16string search_;
  DWORD lastTyped_ = 0;
};

}  // namespace commctrl
