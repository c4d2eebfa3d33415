#include "browser/ObjectStore.h"

#include <cstring>

HANDLE ObjectStore::FindFirstDatabase() { return CeFindFirstDatabase(0); }

CEOID ObjectStore::FindNextDatabase(HANDLE walk) { return CeFindNextDatabase(walk); }

bool ObjectStore::WalkEnded() { return GetLastError() == ERROR_NO_MORE_ITEMS; }

bool ObjectStore::GetDbInfo(CEOID oid, DbInfo* info) {
  std::memset(info, 0, sizeof(*info));
  return CeOidGetInfo(oid, info) != FALSE;
}

HANDLE ObjectStore::OpenDatabase(CEOID* oid, CEPROPID sortProp) {
  return CeOpenDatabase(oid, nullptr, sortProp, 0, nullptr);
}

CEOID ObjectStore::SeekToIndex(HANDLE database, DWORD index) {
  DWORD reached = 0;
  return CeSeekDatabase(database, CEDB_SEEK_BEGINNING, index, &reached);
}

CEOID ObjectStore::SeekNext(HANDLE database) {
  DWORD reached = 0;
  return CeSeekDatabase(database, CEDB_SEEK_CURRENT, 1, &reached);
}

CEOID ObjectStore::ReadRecord(HANDLE database, WORD* count, PropValue** buffer, DWORD* size) {
  return CeReadRecordProps(database, CEDB_ALLOWREALLOC, count, nullptr, reinterpret_cast<LPBYTE*>(buffer), size);
}

void ObjectStore::FreeBuffer(PropValue* buffer) {
  if (buffer != nullptr) LocalFree(buffer);
}

bool ObjectStore::DeleteDatabase(CEOID oid) { return CeDeleteDatabase(oid) != FALSE; }

bool ObjectStore::DeleteRecord(HANDLE database, CEOID record) { return CeDeleteRecord(database, record) != FALSE; }

void ObjectStore::Close(HANDLE handle) {
  if (handle != kNoHandle) CloseHandle(handle);
}
