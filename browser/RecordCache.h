// The records behind the virtual record list: a window of at most
// kCacheSlots consecutive rows, read when the list hints which rows it is
// about to draw.
#pragma once

#include <windows.h>

#include "browser/ObjectStore.h"

constexpr int kCacheSlots = 40;

// One record as the store read it; owns the store's property buffer.
class CachedRecord {
 public:
  CachedRecord() = default;
  CachedRecord(const CachedRecord&) = delete;
  CachedRecord& operator=(const CachedRecord&) = delete;
  virtual ~CachedRecord();

  // Reads the database's current record into a fresh buffer. True when a
  // record with at least one property was read.
  bool Read(HANDLE database);
  // Empty again: no buffer, no properties.
  void Release();

  CEOID oid = 0;
  WORD propCount = 0;
  DWORD bufferSize = 0;
  PropValue* props = nullptr;
};

class RecordCache {
 public:
  RecordCache() = default;
  RecordCache(const RecordCache&) = delete;
  RecordCache& operator=(const RecordCache&) = delete;

  // The slot holding row, or null when the cache does not answer for it.
  CachedRecord* SlotFor(int row);
  // The identifier of the record shown in row, or 0 when the row is not
  // held or was not read.
  CEOID RecordOidAt(int row) const;
  // Forgets the rows and empties the first count slots: a row the next fill
  // cannot read shows nothing rather than an older record's values.
  void StartWindow(int first, int count);
  // Releases every slot's buffer, the last slot first.
  void ReleaseAll();

  int windowStart = 0;
  int windowCount = 0;
  CachedRecord slots[kCacheSlots];
  CEOID rowOids[kCacheSlots] = {};

 private:
  bool Holds(int row) const;
};
