// The database calls of coredll: thin entry points over Databases and the
// open handles (databases and enumerations share one handle table).
#include <algorithm>
#include <cstring>
#include <memory>

#include <windows.h>
#include <windbase.h>

#include "kernel/HandleTable.h"
#include "kernel/Handles.h"
#include "store/CallCounts.h"
#include "store/Cursor.h"
#include "store/Databases.h"
#include "store/PropBuffer.h"
#include "store/Session.h"

namespace store {

CallCounts& callCounts() {
  static CallCounts counts;
  return counts;
}

}  // namespace store

namespace {

using store::databases;

constexpr uint32_t kDatabaseHandleTag = 8;

bool closeDatabaseHandle(HANDLE handle);

kernel::HandleTable<store::HandleObject>& handles() {
  static auto* table = [] {
    kernel::registerHandleCloser(kDatabaseHandleTag, closeDatabaseHandle);
    store::registerSessionCloser([] {
      std::vector<uintptr_t> open;
      handles().forEach([&](uint32_t handle, store::HandleObject&) { open.push_back(handle); });
      for (uintptr_t handle : open) handles().remove(reinterpret_cast<HANDLE>(handle));
      databases().reset();
    });
    return new kernel::HandleTable<store::HandleObject>(kDatabaseHandleTag);
  }();
  return *table;
}

bool closeDatabaseHandle(HANDLE handle) { return handles().remove(handle) != nullptr; }

template <typename T>
T* lookup(HANDLE handle) {
  return dynamic_cast<T*>(handles().get(handle));
}

template <typename R>
R failWith(DWORD error, R result) {
  SetLastError(error);
  return result;
}

std::u16string nameFrom(LPCWSTR name) {
  std::u16string text;
  // Names longer than the limit are cut; nothing past it is read.
  for (size_t i = 0; name[i] && i < CEDB_MAXDBASENAMELEN - 1; ++i) text.push_back(name[i]);
  return text;
}

void fillInfo(const store::DatabaseInfo& info, CEDBASEINFO& out) {
  std::memset(&out, 0, sizeof out);
  out.dwFlags = CEDB_VALIDNAME | CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC | CEDB_VALIDMODTIME;
  std::memcpy(out.szDbaseName, info.name.data(), std::min<size_t>(info.name.size(), CEDB_MAXDBASENAMELEN - 1) * 2);
  out.dwDbaseType = info.type;
  out.wNumRecords = static_cast<WORD>(std::min<uint32_t>(info.records, 0xFFFF));
  out.wNumSortOrder = static_cast<WORD>(info.sorts.size());
  out.dwSize = static_cast<DWORD>(std::min<uint64_t>(info.size, 0xFFFFFFFF));
  out.ftLastModified.dwLowDateTime = static_cast<DWORD>(info.modified);
  out.ftLastModified.dwHighDateTime = static_cast<DWORD>(info.modified >> 32);
  for (size_t i = 0; i < info.sorts.size() && i < CEDB_MAXSORTORDER; ++i) out.rgSortSpecs[i] = info.sorts[i];
}

}  // namespace

HANDLE WINAPI CeFindFirstDatabase(DWORD dwDbaseType) {
  if (!store::currentImage()) return failWith(ERROR_INVALID_HANDLE, INVALID_HANDLE_VALUE);
  return handles().add<HANDLE>(std::make_unique<store::Enumerator>(dwDbaseType));
}

CEOID WINAPI CeFindNextDatabase(HANDLE hEnum) {
  store::Enumerator* walk = lookup<store::Enumerator>(hEnum);
  if (!walk) return failWith<CEOID>(ERROR_INVALID_HANDLE, 0);
  CEOID oid = walk->next();
  // Callers tell the end of the walk by the error alone, so a found
  // database clears what an earlier call left behind.
  SetLastError(oid ? ERROR_SUCCESS : ERROR_NO_MORE_ITEMS);
  return oid;
}

CEOID WINAPI CeCreateDatabase(LPWSTR lpszName, DWORD dwDbaseType, WORD wNumSortOrder, SORTORDERSPEC* rgSortSpecs) {
  if (!lpszName || (wNumSortOrder && !rgSortSpecs) || wNumSortOrder > CEDB_MAXSORTORDER)
    return failWith<CEOID>(ERROR_INVALID_PARAMETER, 0);
  std::vector<SORTORDERSPEC> sorts(rgSortSpecs, rgSortSpecs + wNumSortOrder);
  CEOID oid = 0;
  if (DWORD error = databases().create(nameFrom(lpszName), dwDbaseType, sorts, oid)) return failWith<CEOID>(error, 0);
  return oid;
}

BOOL WINAPI CeDeleteDatabase(CEOID oidDbase) {
  if (DWORD error = databases().remove(oidDbase)) return failWith<BOOL>(error, FALSE);
  return TRUE;
}

BOOL WINAPI CeOidGetInfo(CEOID oid, CEOIDINFO* oidInfo) {
  if (!oidInfo) return failWith<BOOL>(ERROR_INVALID_PARAMETER, FALSE);
  if (!store::currentImage() || !oid) return failWith<BOOL>(ERROR_INVALID_HANDLE, FALSE);
  store::DatabaseInfo info;
  DWORD error = databases().info(oid, info);
  if (error == ERROR_SUCCESS) {
    std::memset(oidInfo, 0, sizeof *oidInfo);
    oidInfo->wObjType = OBJTYPE_DATABASE;
    fillInfo(info, oidInfo->infDatabase);
    return TRUE;
  }
  if (error != ERROR_INVALID_PARAMETER) return failWith<BOOL>(error, FALSE);
  if (CEOID parent = databases().recordParent(oid)) {
    std::memset(oidInfo, 0, sizeof *oidInfo);
    oidInfo->wObjType = OBJTYPE_RECORD;
    oidInfo->infRecord.oidParent = parent;
    return TRUE;
  }
  return failWith<BOOL>(ERROR_INVALID_HANDLE, FALSE);
}

BOOL WINAPI CeSetDatabaseInfo(CEOID oidDbase, CEDBASEINFO* pNewInfo) {
  if (!pNewInfo) return failWith<BOOL>(ERROR_INVALID_PARAMETER, FALSE);
  if (DWORD error = databases().setInfo(oidDbase, *pNewInfo)) return failWith<BOOL>(error, FALSE);
  return TRUE;
}

HANDLE WINAPI CeOpenDatabase(PCEOID poid, LPWSTR lpszName, CEPROPID propid, DWORD dwFlags, HWND) {
  if (!store::currentImage()) return failWith(ERROR_INVALID_HANDLE, INVALID_HANDLE_VALUE);
  if (dwFlags & ~DWORD{CEDB_AUTOINCREMENT}) return failWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  CEOID db = 0;
  if (poid && *poid) {
    db = *poid;
  } else if (lpszName) {
    db = databases().findByName(nameFrom(lpszName));
    if (!db) return failWith(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
  } else {
    return failWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  }
  store::DatabaseInfo info;
  if (DWORD error = databases().info(db, info)) return failWith(error, INVALID_HANDLE_VALUE);
  int slot = -1;
  DWORD sortFlags = 0;
  if (propid) {
    for (size_t i = 0; i < info.sorts.size() && slot < 0; ++i)
      if (info.sorts[i].propid == propid) {
        slot = static_cast<int>(i);
        sortFlags = info.sorts[i].dwFlags;
      }
    if (slot < 0) return failWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  }
  if (poid) *poid = db;
  ++store::callCounts().opens;
  return handles().add<HANDLE>(
      std::make_unique<store::Cursor>(db, slot, propid, sortFlags, (dwFlags & CEDB_AUTOINCREMENT) != 0));
}

CEOID WINAPI CeSeekDatabase(HANDLE hDatabase, DWORD dwSeekType, DWORD_PTR dwValue, LPDWORD lpdwIndex) {
  store::Cursor* cursor = lookup<store::Cursor>(hDatabase);
  if (!cursor) return failWith<CEOID>(ERROR_INVALID_HANDLE, 0);
  ++store::callCounts().seeks;
  return cursor->seek(dwSeekType, dwValue, lpdwIndex);
}

CEOID WINAPI CeReadRecordProps(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                               LPDWORD lpcbBuffer) {
  store::Cursor* cursor = lookup<store::Cursor>(hDbase);
  if (!cursor) return failWith<CEOID>(ERROR_INVALID_HANDLE, 0);
  if (!lpcPropID || !lplpBuffer || !lpcbBuffer || (rgPropID && *lpcPropID == 0))
    return failWith<CEOID>(ERROR_INVALID_PARAMETER, 0);
  store::Record record;
  DWORD error = ERROR_SUCCESS;
  ++store::callCounts().reads;
  CEOID oid = cursor->read(record, error);
  if (!oid) return failWith<CEOID>(error, 0);

  std::vector<store::PropSlot> slots;
  if (rgPropID) {
    for (WORD i = 0; i < *lpcPropID; ++i) {
      store::PropSlot slot{rgPropID[i], nullptr};
      for (const store::PropValue& value : record)
        if (value.propid == rgPropID[i]) slot.value = &value;
      slots.push_back(slot);
    }
  } else {
    for (const store::PropValue& value : record) slots.push_back({value.propid, &value});
  }
  size_t needed = store::propBufferSize(slots);
  if (*lpcbBuffer < needed || !*lplpBuffer) {
    if (!(dwFlags & CEDB_ALLOWREALLOC)) {
      *lpcbBuffer = static_cast<DWORD>(needed);
      return failWith<CEOID>(ERROR_INSUFFICIENT_BUFFER, 0);
    }
    HLOCAL grown = *lplpBuffer ? LocalReAlloc(*lplpBuffer, needed, LMEM_MOVEABLE) : LocalAlloc(LMEM_FIXED, needed);
    if (!grown) return failWith<CEOID>(ERROR_NOT_ENOUGH_MEMORY, 0);
    *lplpBuffer = static_cast<LPBYTE>(grown);
  }
  store::fillPropBuffer(slots, *lplpBuffer);
  *lpcbBuffer = static_cast<DWORD>(needed);
  *lpcPropID = static_cast<WORD>(slots.size());
  return oid;
}

CEOID WINAPI CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal) {
  store::Cursor* cursor = lookup<store::Cursor>(hDbase);
  if (!cursor) return failWith<CEOID>(ERROR_INVALID_HANDLE, 0);
  if (!cPropID || !rgPropVal) return failWith<CEOID>(ERROR_INVALID_PARAMETER, 0);
  store::Record values;
  std::vector<CEPROPID> removed;
  for (WORD i = 0; i < cPropID; ++i) {
    if (!store::isKnownType(store::propType(rgPropVal[i].propid))) return failWith<CEOID>(ERROR_INVALID_PARAMETER, 0);
    if (rgPropVal[i].wFlags & CEDB_PROPDELETE) {
      removed.push_back(rgPropVal[i].propid);
      continue;
    }
    store::PropValue value;
    if (!store::valueFromCaller(rgPropVal[i], value)) return failWith<CEOID>(ERROR_INVALID_PARAMETER, 0);
    values.push_back(std::move(value));
  }
  CEOID oid = 0;
  if (DWORD error = databases().writeRecord(cursor->db(), oidRecord, values, removed, oid))
    return failWith<CEOID>(error, 0);
  return oid;
}

BOOL WINAPI CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord) {
  store::Cursor* cursor = lookup<store::Cursor>(hDatabase);
  if (!cursor) return failWith<BOOL>(ERROR_INVALID_HANDLE, FALSE);
  if (DWORD error = databases().deleteRecord(cursor->db(), oidRecord)) return failWith<BOOL>(error, FALSE);
  return TRUE;
}
