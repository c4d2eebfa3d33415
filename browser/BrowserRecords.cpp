// The record list: a virtual list of the open database's records, fed from
// the record cache, its columns discovered as records are read.
#include <algorithm>
#include <cstring>

#include "browser/BrowserWnd.h"
#include "browser/PropFormat.h"

namespace {

constexpr int kColumnWidth = 80;

// Numbers are right-aligned.
int ColumnFormat(WORD type) {
  switch (type) {
    case CEVT_I2:
    case CEVT_I4:
    case CEVT_R8:
    case CEVT_UI2:
    case CEVT_UI4:
      return LVCFMT_RIGHT;
    default:
      return LVCFMT_LEFT;
  }
}

void CopyCut(const CeString& text, WCHAR* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return;
  const int length = std::min(text.Length(), capacity - 1);
  std::memcpy(buffer, text.Text(), size_t(length) * sizeof(WCHAR));
  buffer[length] = 0;
}

}  // namespace

void BrowserWnd::ShowRecords(CEPROPID sortProp) {
  SetListMode(true);
  DbInfo info;
  if (!ObjectStore::GetDbInfo(currentOid, &info)) return;
  const CEDBASEINFO& db = info.infDatabase;
  CEPROPID sort = 0;
  for (int i = 0; i < std::min<int>(db.wNumSortOrder, CEDB_MAXSORTORDER); ++i)
    if (sortProp != 0 && db.rgSortSpecs[i].propid == sortProp) sort = sortProp;
  cache.windowStart = 0;
  cache.windowCount = 0;
  openOid = currentOid;
  dbHandle = ObjectStore::OpenDatabase(&openOid, sort);
  if (dbHandle == kNoHandle) return;
  SendMessageW(listView, LVM_SETITEMCOUNT, db.wNumRecords, 0);
}

// One positioned seek, then one read and one step per row.
bool BrowserWnd::FillCache(int first, int count) {
  if (first >= cache.windowStart && cache.windowStart + cache.windowCount >= first + count) return true;
  if (count > kCacheSlots || count <= 0 || first < 0) return false;
  if (dbHandle == kNoHandle) return false;
  cache.StartWindow(first, count);
  CEOID record = ObjectStore::SeekToIndex(dbHandle, DWORD(first));
  if (record == 0) return true;
  for (int i = 0; i < count; ++i) {
    CachedRecord& slot = cache.slots[i];
    if (slot.Read(dbHandle)) {
      cache.rowOids[i] = record;
      for (int p = 0; p < slot.propCount; ++p)
        if (columns.Find(slot.props[p].propid) == -1) AddColumnFor(slot.props[p].propid);
    }
    record = ObjectStore::SeekNext(dbHandle);
    if (record == 0) break;
  }
  return true;
}

// A new column goes on the right of those the list has, so that every
// column's number stays its sub-item, also after a re-sort.
void BrowserWnd::AddColumnFor(CEPROPID id) {
  const int number = nextColumn++;
  columns.Append(id, WORD(number));
  CeString header = ColumnHeader(id);
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = ColumnFormat(TypeFromPropID(id));
  column.cx = kColumnWidth;
  column.pszText = const_cast<LPWSTR>(header.Text());
  SendMessageW(listView, LVM_INSERTCOLUMNW, number, reinterpret_cast<LPARAM>(&column));
}

// The list asks before it draws, so the cache is filled here.
LRESULT BrowserWnd::OnCacheHint(NMLVCACHEHINT* hint) {
  FillCache(hint->iFrom, hint->iTo - hint->iFrom + 1);
  return 0;
}

LRESULT BrowserWnd::OnGetDispInfo(NMLVDISPINFOW* info) {
  LVITEMW& item = info->item;
  const CachedRecord* slot = cache.SlotFor(item.iItem);
  if (slot == nullptr) return 0;
  if (item.mask & LVIF_TEXT) {
    CeString text;
    const CEPROPID id = columns.IdForColumn(WORD(item.iSubItem));
    if (id != 0) FormatCell(*slot, id, &text);
    CopyCut(text, item.pszText, item.cchTextMax);
  }
  if (item.mask & LVIF_PARAM) item.lParam = LPARAM(cache.RecordOidAt(item.iItem));
  if (item.mask & (LVIF_IMAGE | LVIF_STATE)) {
    item.iImage = 0;
    item.state = 0;
  }
  return 0;
}

// Reopens the database in the order of the clicked column's property when
// it is one of the database's sort orders; the columns stay.
LRESULT BrowserWnd::OnColumnClick(NMLISTVIEW* click) {
  if (currentOid == kRootOid) return 0;
  ShowList(0, columns.IdForColumn(WORD(click->iSubItem)));
  return 0;
}

// Typing in the list never moves the selection.
LRESULT BrowserWnd::OnFindItem(NMLVFINDITEMW*) { return -1; }
