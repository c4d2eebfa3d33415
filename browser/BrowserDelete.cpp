// The commands that change what the browser shows: deleting the selected
// database or records, and rebuilding the tree.
#include "browser/BrowserWnd.h"
#include "framework/CeString.h"

namespace {

// The tree's text buffer for a database name and its terminator.
constexpr int kNodeTextChars = 32;

}  // namespace

void BrowserWnd::OnDeleteDatabase() {
  WCHAR name[kNodeTextChars] = {};
  LPARAM data = 0;
  HTREEITEM node = SelectedNode(&data, name, kNodeTextChars);
  if (data == 0 || CEOID(data) == kRootOid) return;
  name[kNodeTextChars - 1] = 0;
  CeString question;
  question.Format(u"Delete Database %s?", name);
  if (MessageBoxW(hwnd, question.Text(), u"Delete Database", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
  // The store refuses to delete an open database.
  CloseDatabase();
  if (!ObjectStore::DeleteDatabase(CEOID(data))) {
    ShowDeleteError();
    return;
  }
  // The tree selects another node itself; that change is not the user's, so
  // the list is refreshed here.
  SendMessageW(treeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
  RefreshList();
}

// Record identifiers come from the cache, not the list: a selected row
// outside the cached rows has none, and its deletion fails and ends the run.
void BrowserWnd::OnDeleteRecords() {
  LPARAM data = 0;
  SelectedNode(&data);
  if (data == 0 || CEOID(data) == kRootOid) return;
  int row = int(SendMessageW(listView, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  if (row == -1) return;
  if (MessageBoxW(hwnd, u"Delete ALL selected records?", u"Delete", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  for (int deleted = 0; deleted < kCacheSlots; ++deleted) {
    if (!ObjectStore::DeleteRecord(dbHandle, cache.RecordOidAt(row))) {
      ShowDeleteError();
      break;
    }
    row = int(SendMessageW(listView, LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED));
    if (row == -1) break;
  }
  RefreshList();
}

void BrowserWnd::OnRefresh() { FillTree(); }

void BrowserWnd::ShowDeleteError() {
  CeString text;
  text.SetSystemError(GetLastError());
  MessageBoxW(hwnd, text.Text(), u"Delete Failed", MB_OK | MB_ICONEXCLAMATION);
}
