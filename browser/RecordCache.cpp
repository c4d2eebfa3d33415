#include "browser/RecordCache.h"

CachedRecord::~CachedRecord() { Release(); }

void CachedRecord::Release() {
  ObjectStore::FreeBuffer(props);
  props = nullptr;
  bufferSize = 0;
  propCount = 0;
}

bool CachedRecord::Read(HANDLE database) {
  Release();
  oid = ObjectStore::ReadRecord(database, &propCount, &props, &bufferSize);
  return oid != 0 && props != nullptr && propCount != 0;
}

bool RecordCache::Holds(int row) const {
  const int k = row - windowStart;
  return windowCount > 0 && k >= 0 && k < windowCount;
}

CachedRecord* RecordCache::SlotFor(int row) { return Holds(row) ? &slots[row - windowStart] : nullptr; }

CEOID RecordCache::RecordOidAt(int row) const { return Holds(row) ? rowOids[row - windowStart] : 0; }

void RecordCache::StartWindow(int first, int count) {
  windowStart = first;
  windowCount = count;
  for (int i = 0; i < count && i < kCacheSlots; ++i) {
    slots[i].Release();
    slots[i].oid = 0;
    rowOids[i] = 0;
  }
}

void RecordCache::ReleaseAll() {
  for (int i = kCacheSlots - 1; i >= 0; --i) slots[i].Release();
}
