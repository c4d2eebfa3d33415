// A window with a list view, as Vantor's lists are: a normal list of 200
// generated rows, or an owner-data list of 1,000,000 (the button at the top
// switches, destroying and recreating the list in place as Vantor does).
// Five columns, the numbers right-aligned; a header click sorts by that
// column, a second click the other way; several rows can be selected. The
// line above the list says what the list last told its parent, so that
// scripts can read it from the dump. The navigation bar's OK button closes
// the window.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <vector>

#include <aygshell.h>
#include <commctrl.h>

#include "Gallery.h"
#include "gallery_ids.h"

namespace {

constexpr const WCHAR* kListWindowClass = u"GalleryListWnd";
constexpr int kEventLineId = 2401;
constexpr int kListId = 2402;
constexpr int kModeButtonId = 2403;
constexpr int kMargin = 4;
constexpr int kLineHeight = 20;
constexpr int kButtonWidth = 76;
constexpr int kNormalRows = 200;
constexpr int kOwnerDataRows = 1000000;
constexpr int kColumns = 5;
// Typing looks this far ahead for a matching row before it gives up.
constexpr int kFindReach = 20000;

struct Column {
  const WCHAR* title;
  int width;
  int format;
};

constexpr Column kColumnsOf[kColumns] = {
    {u"Name", 76, LVCFMT_LEFT},
    {u"Id", 52, LVCFMT_RIGHT},
    {u"Size", 50, LVCFMT_RIGHT},
    {u"Count", 44, LVCFMT_RIGHT},
    {u"Check", 46, LVCFMT_RIGHT},
};

// The generated value of a row's numeric column; every key is below 100,000
// but the id's.
uint32_t Value(int index, int column) {
  uint32_t i = static_cast<uint32_t>(index);
  switch (column) {
    case 2:
      return (i * 7919u + 13u) % 100000u;
    case 3:
      return (i * 31u) % 997u;
    case 4:
      return (i * 2654435761u) % 10000u;
    default:
      return i;
  }
}

void CellText(int index, int column, WCHAR* text) {
  if (column == 0)
    wsprintfW(text, u"Row %07d", index);
  else
    wsprintfW(text, u"%u", Value(index, column));
}

// What the window keeps: the mode, the rows' order after sorting (row ->
// generated index), and the sort.
struct ListState {
  bool ownerData = false;
  std::vector<int> order;
  int sortColumn = -1;
  bool descending = false;
};

ListState& State() {
  static ListState state;
  return state;
}

int RowCount() { return State().ownerData ? kOwnerDataRows : kNormalRows; }

void Report(HWND window, const WCHAR* format, ...) {
  WCHAR text[256];
  va_list args;
  va_start(args, format);
  wvsprintfW(text, format, args);
  va_end(args);
  SetDlgItemTextW(window, kEventLineId, text);
}

// Orders the rows by a column. Names and ids follow the generated order;
// the other keys are small, so a counting sort orders a million rows at once.
void Sort(int column, bool descending) {
  std::vector<int>& order = State().order;
  int count = RowCount();
  order.resize(static_cast<size_t>(count));
  if (column <= 1) {
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  } else {
    std::vector<int> starts(100001, 0);
    for (int i = 0; i < count; ++i) ++starts[Value(i, column) + 1];
    for (size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(starts[Value(i, column)]++)] = i;
  }
  if (descending) std::reverse(order.begin(), order.end());
  State().sortColumn = column;
  State().descending = descending;
}

int IndexOf(int row) {
  const std::vector<int>& order = State().order;
  return row >= 0 && row < static_cast<int>(order.size()) ? order[static_cast<size_t>(row)] : row;
}

void FillNormalList(HWND list) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  WCHAR text[32];
  for (int row = 0; row < kNormalRows; ++row) {
    int index = IndexOf(row);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.lParam = index;
    item.pszText = text;
    CellText(index, 0, text);
    SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item));
    for (int column = 1; column < kColumns; ++column) {
      item.mask = LVIF_TEXT;
      item.iSubItem = column;
      CellText(index, column, text);
      SendMessageW(list, LVM_SETITEMW, 0, LPARAM(&item));
    }
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

void Layout(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  MoveWindow(GetDlgItem(window, kEventLineId), kMargin, 0, client.right - 3 * kMargin - kButtonWidth, kLineHeight, TRUE);
  MoveWindow(GetDlgItem(window, kModeButtonId), client.right - kMargin - kButtonWidth, 1, kButtonWidth, kLineHeight - 2,
             TRUE);
  MoveWindow(GetDlgItem(window, kListId), 0, kLineHeight, client.right, client.bottom - kLineHeight, TRUE);
}

// Makes the list in the mode asked for, where the old one was.
void MakeList(HWND window, bool ownerData) {
  HWND old = GetDlgItem(window, kListId);
  if (old != nullptr) DestroyWindow(old);
  State() = ListState();
  State().ownerData = ownerData;
  Sort(1, false);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | (ownerData ? LVS_OWNERDATA : 0);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"", style, 0, 0, 0, 0, window, HMENU(UINT_PTR(kListId)),
                              GalleryInstance(), nullptr);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  for (int column = 0; column < kColumns; ++column) {
    LVCOLUMNW c = {};
    c.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    c.fmt = kColumnsOf[column].format;
    c.cx = kColumnsOf[column].width;
    c.pszText = const_cast<WCHAR*>(kColumnsOf[column].title);
    SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(column), LPARAM(&c));
  }
  if (ownerData)
    SendMessageW(list, LVM_SETITEMCOUNT, WPARAM(kOwnerDataRows), 0);
  else
    FillNormalList(list);
  SetDlgItemTextW(window, kModeButtonId, ownerData ? u"Normal" : u"Owner data");
  Layout(window);
  Report(window, u"%s list of %d rows", ownerData ? u"Owner-data" : u"Normal", RowCount());
  SetFocus(list);
}

void OnColumnClick(HWND window, HWND list, int column) {
  bool descending = State().sortColumn == column && !State().descending;
  Sort(column, descending);
  // The rows under the selection are others now: it goes.
  LVITEMW none = {};
  none.stateMask = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&none));
  if (State().ownerData)
    InvalidateRect(list, nullptr, FALSE);
  else
    FillNormalList(list);
  Report(window, u"Sorted by %s, %s", kColumnsOf[column].title, descending ? u"descending" : u"ascending");
}

void OnGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return;
  WCHAR text[32];
  CellText(IndexOf(item.iItem), item.iSubItem, text);
  int n = 0;
  for (; text[n] != 0 && n < item.cchTextMax - 1; ++n) item.pszText[n] = text[n];
  item.pszText[n] = 0;
}

LRESULT OnFindItem(HWND window, const NMLVFINDITEMW& find) {
  if (find.lvfi.psz == nullptr || !(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL))) return -1;
  size_t length = 0;
  while (find.lvfi.psz[length] != 0) ++length;
  WCHAR text[32];
  for (int step = 0; step < kFindReach && step < kOwnerDataRows; ++step) {
    int row = (find.iStart + step) % kOwnerDataRows;
    if (row < 0) row = 0;
    CellText(IndexOf(row), 0, text);
    if (_wcsnicmp(text, find.lvfi.psz, length) == 0) {
      Report(window, u"Found \"%s\" at row %d", find.lvfi.psz, row);
      return row;
    }
  }
  Report(window, u"No \"%s\" within %d rows", find.lvfi.psz, kFindReach);
  return -1;
}

void ReportSelection(HWND window, HWND list) {
  int count = int(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
  int first = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  if (count == 0)
    Report(window, u"Nothing selected");
  else
    Report(window, u"%d selected, first row %d (%d)", count, first, IndexOf(first));
}

LRESULT OnNotify(HWND window, NMHDR& header) {
  if (header.idFrom != kListId) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
      return 0;
    case LVN_ODFINDITEMW:
      return OnFindItem(window, reinterpret_cast<NMLVFINDITEMW&>(header));
    case LVN_COLUMNCLICK:
      OnColumnClick(window, header.hwndFrom, reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      return 0;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
      ReportSelection(window, header.hwndFrom);
      return 0;
    default:
      return 0;
  }
}

LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
                      HMENU(UINT_PTR(kEventLineId)), GalleryInstance(), nullptr);
      CreateWindowExW(0, u"button", u"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, window,
                      HMENU(UINT_PTR(kModeButtonId)), GalleryInstance(), nullptr);
      MakeList(window, false);
      return 0;
    case WM_SIZE:
      Layout(window);
      return 0;
    case WM_SETFOCUS:
      // Keys go to the list.
      if (HWND list = GetDlgItem(window, kListId)) SetFocus(list);
      return 0;
    case WM_NOTIFY:
      return OnNotify(window, *reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == kModeButtonId && HIWORD(wParam) == BN_CLICKED) MakeList(window, !State().ownerData);
      if (LOWORD(wParam) == IDOK) DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      State() = ListState();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void OpenListWindow(HWND main, UINT) {
  HWND window = OpenPageWindow(main, &ListWindowProc, kListWindowClass, u"List view");
  if (window == nullptr) SetStatus(main, u"The list window could not be made");
}

GalleryPage listPage(ID_CONTROLS_LIST, &OpenListWindow);

}  // namespace
