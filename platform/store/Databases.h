// The object store's databases and records in the open device image: every
// change is one transaction, and the orderings that open handles walk are
// kept here, shared between handles on the same database and sort order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/Image.h"
#include "store/Record.h"

namespace store {

struct DatabaseInfo {
  CEOID oid = 0;
  std::u16string name;
  DWORD type = 0;
  DWORD flags = 0;
  uint32_t records = 0;
  uint64_t size = 0;
  uint64_t modified = 0;
  std::vector<SORTORDERSPEC> sorts;
};

class Cursor;

class Databases {
 public:
  // Calls fail with ERROR_INVALID_HANDLE while no image is open.
  DWORD info(CEOID db, DatabaseInfo& out);
  // 0 when there is none.
  CEOID findByName(const std::u16string& name);
  // The next database after `after` in creation order (type 0: any type);
  // 0 at the end.
  CEOID nextDatabase(CEOID after, DWORD type);
  // The database holding record, 0 when record is not a record.
  CEOID recordParent(CEOID record);

  DWORD create(const std::u16string& name, DWORD type, const std::vector<SORTORDERSPEC>& sorts, CEOID& oid);
  DWORD remove(CEOID db);
  DWORD setInfo(CEOID db, const CEDBASEINFO& info);

  // ERROR_KEY_DELETED when the record is gone, ERROR_INVALID_DATA when its
  // stored form is damaged.
  DWORD readRecord(CEOID db, CEOID record, Record& out);
  // record 0 creates one; `removed` lists properties to drop.
  DWORD writeRecord(CEOID db, CEOID record, const Record& values, const std::vector<CEPROPID>& removed, CEOID& out);
  DWORD deleteRecord(CEOID db, CEOID record);

  // The database's records in the order of sort slot (-1: creation order).
  const std::vector<CEOID>& order(CEOID db, int slot);
  // The stored sort key of a record for a slot.
  bool recordKey(CEOID record, int slot, std::vector<uint8_t>& key);
  // Value seeks: the first record whose key is (in sort order) at least /
  // equal to / the last key before `key`; 0 when there is none.
  CEOID firstAtLeast(CEOID db, int slot, const std::vector<uint8_t>& key);
  CEOID firstEqual(CEOID db, int slot, const std::vector<uint8_t>& key);
  CEOID firstOfLargestBelow(CEOID db, int slot, const std::vector<uint8_t>& key);

  // Raised whenever orderings are rebuilt instead of adjusted; cursors that
  // saw an older epoch find their record again by identifier.
  uint64_t epoch() const { return epoch_; }
  // Drops what is cached when another process changed the image. Reads of
  // records notice such changes on their own, in the same query.
  void sync();

  void attach(Cursor* cursor);
  void detach(Cursor* cursor);
  bool isOpen(CEOID db) const;
  // Forgets everything cached; the image is being closed or replaced.
  void reset();

 private:
  Image* image();
  void noteGeneration(uint64_t generation);
  void invalidate();
  void eraseFromOrders(CEOID db, CEOID record);
  DWORD touch(CEOID db, int64_t recordDelta, int64_t sizeDelta);
  bool loadSorts(CEOID db, std::vector<SORTORDERSPEC>& sorts);
  bool rewriteKeys(CEOID db, const std::vector<SORTORDERSPEC>& sorts);

  std::map<std::pair<CEOID, int>, std::vector<CEOID>> orders_;
  std::vector<Cursor*> cursors_;
  uint64_t epoch_ = 1;
  uint64_t generation_ = 0;
  Image* seenImage_ = nullptr;
};

Databases& databases();

}  // namespace store
