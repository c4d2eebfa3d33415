#include "framework/CeListView.h"

void CeListView::InsertTextColumn(HWND list, int index, const WCHAR* header) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<LPWSTR>(header);
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

int CeListView::AppendRow(HWND list, const CeString& firstCell) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<LPWSTR>(firstCell.Text());
  return int(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CeListView::SetCell(HWND list, int row, int column, const CeString& text) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = const_cast<LPWSTR>(text.Text());
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}
