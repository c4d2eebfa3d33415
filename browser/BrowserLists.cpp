// The tree of databases and what the list shows for its selected node.
#include "browser/BrowserWnd.h"
#include "browser/DbEnumerator.h"
#include "framework/CeListView.h"

namespace {

const WCHAR* const kSummaryHeaders[] = {u"Name", u"Records", u"Sorts", u"Size"};
constexpr int kSummaryColumns = 4;

HTREEITEM InsertNode(HWND tree, HTREEITEM parent, UINT mask, const CeString& text, LPARAM data) {
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = mask;
  insert.item.pszText = const_cast<LPWSTR>(text.Text());
  insert.item.cchTextMax = text.Length();
  insert.item.iImage = 0;
  insert.item.cChildren = 0;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

// The selection always comes back to the first database, whatever was
// selected before the rebuild.
void BrowserWnd::FillTree() {
  SendMessageW(treeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  HTREEITEM root = InsertNode(treeView, TVI_ROOT, TVIF_TEXT | TVIF_PARAM, CeString(u"Databases"), LPARAM(kRootOid));
  DbEnumerator walk;
  if (walk.handle == kNoHandle) return;
  bool first = true;
  while (walk.Next(true)) {
    HTREEITEM node = InsertNode(treeView, root, TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_CHILDREN, walk.Name(),
                                LPARAM(walk.oid));
    if (first) {
      first = false;
      // This selection reaches OnNotify as one the window made; the list is
      // refreshed here instead.
      SendMessageW(treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
      RefreshList();
    }
  }
}

void BrowserWnd::RefreshList() {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  columns.Clear();
  nextColumn = 0;
  SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
  while (SendMessageW(listView, LVM_DELETECOLUMN, 0, 0)) {
  }
  LPARAM data = 0;
  SelectedNode(&data);
  SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
  ShowList(CEOID(data), 0);
  SetCursor(previous);
}

HTREEITEM BrowserWnd::SelectedNode(LPARAM* data, WCHAR* text, int textChars) {
  *data = 0;
  auto node = reinterpret_cast<HTREEITEM>(SendMessageW(treeView, TVM_GETNEXTITEM, TVGN_CARET, 0));
  TVITEMW item = {};
  item.mask = TVIF_HANDLE | TVIF_PARAM | (text != nullptr ? TVIF_TEXT : 0);
  item.hItem = node;
  item.pszText = text;
  item.cchTextMax = textChars;
  item.lParam = 0;
  if (node != nullptr) SendMessageW(treeView, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  *data = item.lParam;
  return node;
}

// oid 0 shows again what the list showed (a re-sort keeps the database).
void BrowserWnd::ShowList(CEOID oid, CEPROPID sortProp) {
  SendMessageW(listView, LVM_SETITEMCOUNT, 0, 0);
  if (oid != 0) currentOid = oid;
  CloseDatabase();
  if (currentOid == kRootOid)
    ShowSummary();
  else
    ShowRecords(sortProp);
}

void BrowserWnd::ShowSummary() {
  SetListMode(false);
  for (int i = 0; i < kSummaryColumns; ++i) CeListView::InsertTextColumn(listView, i, kSummaryHeaders[i]);
  DbEnumerator walk;
  if (walk.handle == kNoHandle) return;
  while (walk.Next(true)) {
    const int row = CeListView::AppendRow(listView, walk.Name());
    if (!walk.FetchInfo()) continue;
    const CEDBASEINFO& db = walk.info.infDatabase;
    CeListView::SetCell(listView, row, 1, CeString::FromUInt32(db.wNumRecords));
    CeListView::SetCell(listView, row, 2, CeString::FromUInt32(db.wNumSortOrder));
    CeListView::SetCell(listView, row, 3, CeString::FromUInt32(db.dwSize));
  }
  for (int i = 0; i < kSummaryColumns; ++i)
    SendMessageW(listView, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
}
