#include "dialogs/DbPropertiesDlg.h"

#include <commctrl.h>

#include "browser/BrowserWnd.h"
#include "browser/PropFormat.h"
#include "framework/CeListView.h"
#include "resources/resource.h"

namespace {

const int kValueIds[] = {IDC_DB_NAME, IDC_DB_TYPE, IDC_DB_RECORDS, IDC_DB_SIZE, IDC_DB_MODIFIED, IDC_DB_OID};
const WCHAR* const kSortHeaders[] = {u"Column", u"Type", u"Style"};
constexpr int kSortColumns = 3;

constexpr DWORD kFullScreenFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;

// The sort flags' words; each but the last ends with a blank.
struct StyleWord {
  DWORD flag;
  const WCHAR* word;
};
const StyleWord kStyleWords[] = {
    {CEDB_SORT_DESCENDING, u"Descending "},
    {CEDB_SORT_CASEINSENSITIVE, u"CaseInsensitive "},
    {CEDB_SORT_UNKNOWNFIRST, u"UnknownFirst"},
};

}  // namespace

SHACTIVATEINFO DbPropertiesDlg::activateInfo = {};

// Nothing opens for the root node (the summary) or when nothing is selected.
void BrowserWnd::OnDatabaseProperties() {
  LPARAM data = 0;
  if (SelectedNode(&data) == nullptr) return;
  const CEOID oid = CEOID(data);
  if (oid == 0 || oid == kRootOid) return;

  DbPropertiesDlg dialog;
  dialog.oid = oid;
  dialog.RunModal(MAKEINTRESOURCEW(DbPropertiesDlg::TemplateForScreen()), hwnd);
}

int DbPropertiesDlg::TemplateForScreen() {
  return GetSystemMetrics(SM_CXSCREEN) < GetSystemMetrics(SM_CYSCREEN) ? IDD_DBPROPERTIES_TALL
                                                                       : IDD_DBPROPERTIES_WIDE;
}

BOOL DbPropertiesDlg::OnInitDialog() {
  CeScrollDialog::OnInitDialog();
  DbInfo info;
  ObjectStore::GetDbInfo(oid, &info);
  ShowFields(info.infDatabase);
  const bool columns = ListSortOrders(info.infDatabase);

  for (int id : kValueIds) layout.AddControl(GetDlgItem(hwnd, id), CeLayout::StretchWidth);
  HWND list = GetDlgItem(hwnd, IDC_DB_SORTORDERS);
  layout.AddControl(list, CeLayout::StretchWidth | CeLayout::StretchHeight);
  if (columns)
    for (int column = 0; column < kSortColumns; ++column)
      SendMessageW(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);

  SHINITDLGINFO fullScreen = {};
  fullScreen.dwMask = SHIDIM_FLAGS;
  fullScreen.hDlg = hwnd;
  fullScreen.dwFlags = kFullScreenFlags;
  SHInitDialog(&fullScreen);
  return TRUE;
}

// A failed read leaves the zeroed record, which is shown as it is.
void DbPropertiesDlg::ShowFields(const CEDBASEINFO& info) {
  CeString name;
  name.AssignField(info.szDbaseName, CEDB_MAXDBASENAMELEN);
  SetText(IDC_DB_NAME, name);
  SetText(IDC_DB_TYPE, (info.dwFlags & CEDB_VALIDTYPE) != 0 ? CeString::FromUInt32(info.dwDbaseType) : CeString());
  SetText(IDC_DB_RECORDS, CeString::FromUInt32(info.wNumRecords));
  SetText(IDC_DB_SIZE, CeString::FromUInt32(info.dwSize));
  SetText(IDC_DB_MODIFIED, FileTimeText(info.ftLastModified));
  CeString identifier;
  identifier.Format(u"0x%x", oid);
  SetText(IDC_DB_OID, identifier);
}

// One sort order on property 0 is how a database without sort orders may be
// described: it gets no columns.
bool DbPropertiesDlg::ListSortOrders(const CEDBASEINFO& info) {
  HWND list = GetDlgItem(hwnd, IDC_DB_SORTORDERS);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  if ((info.dwFlags & CEDB_VALIDSORTSPEC) == 0) return false;
  if (info.wNumSortOrder == 1 && info.rgSortSpecs[0].propid == 0) return false;

  for (int column = 0; column < kSortColumns; ++column) CeListView::InsertTextColumn(list, column, kSortHeaders[column]);
  const int count = info.wNumSortOrder < CEDB_MAXSORTORDER ? info.wNumSortOrder : CEDB_MAXSORTORDER;
  for (int i = 0; i < count; ++i) AddSortOrderRow(list, info.rgSortSpecs[i]);
  return true;
}

void DbPropertiesDlg::AddSortOrderRow(HWND list, const SORTORDERSPEC& sort) {
  CeString number;
  number.SetInt32(LONG(HIWORD(sort.propid)), 16);
  const int row = CeListView::AppendRow(list, number);
  CeListView::SetCell(list, row, 1, CeString(PropTypeName(LOWORD(sort.propid))));
  CeString style;
  for (const StyleWord& word : kStyleWords)
    if ((sort.dwFlags & word.flag) != 0) style.Append(word.word);
  CeListView::SetCell(list, row, 2, style);
}

void DbPropertiesDlg::SetText(int id, const CeString& text) { SetDlgItemTextW(hwnd, id, text.Text()); }

LRESULT DbPropertiesDlg::OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) {
  layout.Relayout(sizeType);
  return CeScrollDialog::OnSize(sizeType, width, height, handled);
}

LRESULT DbPropertiesDlg::OnSettingChange(UINT flag, LPARAM section, bool* handled) {
  *handled = true;
  activateInfo.cbSize = sizeof(activateInfo);
  SHHandleWMSettingChange(hwnd, flag, section, &activateInfo);
  return 0;
}
