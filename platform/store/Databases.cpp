#include "store/Databases.h"

#include <algorithm>

#include <windows.h>

#include "store/Cursor.h"
#include "store/ImageWriter.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/SortKey.h"

namespace store {
namespace {

const char* const kOrderQueries[] = {
    "SELECT oid FROM records WHERE db = ? ORDER BY oid",
    "SELECT oid FROM records WHERE db = ? ORDER BY k0, oid",
    "SELECT oid FROM records WHERE db = ? ORDER BY k1, oid",
    "SELECT oid FROM records WHERE db = ? ORDER BY k2, oid",
    "SELECT oid FROM records WHERE db = ? ORDER BY k3, oid",
};

std::string keyColumn(int slot) { return "k" + std::to_string(slot); }

bool validSort(const SORTORDERSPEC& sort) {
  WORD type = propType(sort.propid);
  return isKnownType(type) && type != CEVT_BLOB && (sort.dwFlags & ~0xFu) == 0;
}

std::vector<uint8_t> keyOrNull(const Record& record, const std::vector<SORTORDERSPEC>& sorts, int slot) {
  return sortKey(record, sorts[slot].propid, sorts[slot].dwFlags);
}

}  // namespace

Databases& databases() {
  static auto* instance = new Databases;
  return *instance;
}

Image* Databases::image() {
  Image* image = currentImage();
  if (image != seenImage_ || !image) {
    reset();
    seenImage_ = image;
  }
  return image;
}

void Databases::sync() {
  if (Image* img = image()) noteGeneration(img->generation());
}

void Databases::noteGeneration(uint64_t generation) {
  if (generation != generation_) {
    generation_ = generation;
    invalidate();
  }
}

void Databases::reset() {
  orders_.clear();
  ++epoch_;
  generation_ = 0;
  seenImage_ = nullptr;
}

void Databases::invalidate() {
  orders_.clear();
  ++epoch_;
}

void Databases::attach(Cursor* cursor) { cursors_.push_back(cursor); }

void Databases::detach(Cursor* cursor) { cursors_.erase(std::remove(cursors_.begin(), cursors_.end(), cursor), cursors_.end()); }

bool Databases::isOpen(CEOID db) const {
  return std::any_of(cursors_.begin(), cursors_.end(), [db](const Cursor* c) { return c->db() == db; });
}

DWORD Databases::info(CEOID db, DatabaseInfo& out) {
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  Statement& row = img->db().cached("SELECT name, type, flags, records, size, modified FROM databases WHERE oid = ?");
  row.bind(1, int64_t{db});
  if (!row.step()) return ERROR_INVALID_PARAMETER;
  out = DatabaseInfo{};
  out.oid = db;
  out.name = utf16FromBytes(row.blob(0));
  out.type = static_cast<DWORD>(row.integer(1));
  out.flags = static_cast<DWORD>(row.integer(2));
  out.records = static_cast<uint32_t>(std::clamp<int64_t>(row.integer(3), 0, 0xFFFFFFFF));
  out.size = static_cast<uint64_t>(std::max<int64_t>(row.integer(4), 0));
  out.modified = static_cast<uint64_t>(row.integer(5));
  row.reset();
  if (!loadSorts(db, out.sorts)) return ERROR_INVALID_DATA;
  return ERROR_SUCCESS;
}

bool Databases::loadSorts(CEOID db, std::vector<SORTORDERSPEC>& sorts) {
  sorts.clear();
  Statement& rows = seenImage_->db().cached("SELECT slot, propid, flags FROM sortorders WHERE db = ? ORDER BY slot");
  rows.bind(1, int64_t{db});
  while (rows.step()) {
    // A damaged image could list any slots: they must be 0, 1, ... in turn.
    if (rows.integer(0) != static_cast<int64_t>(sorts.size()) || sorts.size() >= kMaxSortSlots) return false;
    sorts.push_back({static_cast<CEPROPID>(rows.integer(1)), static_cast<DWORD>(rows.integer(2))});
  }
  return rows.ok();
}

CEOID Databases::findByName(const std::u16string& name) {
  Image* img = image();
  if (!img) return 0;
  Statement& row = img->db().cached("SELECT oid FROM databases WHERE folded = ?");
  row.bind(1, utf16Bytes(foldCase(name.substr(0, CEDB_MAXDBASENAMELEN - 1))));
  return row.step() ? static_cast<CEOID>(row.integer(0)) : 0;
}

CEOID Databases::nextDatabase(CEOID after, DWORD type) {
  Image* img = image();
  if (!img) return 0;
  Statement& row = img->db().cached(type ? "SELECT oid FROM databases WHERE oid > ? AND type = ? ORDER BY oid LIMIT 1"
                                         : "SELECT oid FROM databases WHERE oid > ? ORDER BY oid LIMIT 1");
  row.bind(1, int64_t{after});
  if (type) row.bind(2, int64_t{type});
  return row.step() ? static_cast<CEOID>(row.integer(0)) : 0;
}

CEOID Databases::recordParent(CEOID record) {
  Image* img = image();
  if (!img) return 0;
  Statement& row = img->db().cached("SELECT db FROM records WHERE oid = ?");
  row.bind(1, int64_t{record});
  return row.step() ? static_cast<CEOID>(row.integer(0)) : 0;
}

DWORD Databases::touch(CEOID db, int64_t recordDelta, int64_t sizeDelta) {
  Statement& update = seenImage_->db().cached(
      "UPDATE databases SET records = max(records + ?, 0), size = max(size + ?, 0), modified = ? WHERE oid = ?");
  update.bind(1, recordDelta).bind(2, sizeDelta).bind(3, static_cast<int64_t>(currentFileTime())).bind(4, int64_t{db});
  update.step();
  return update.ok() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

DWORD Databases::create(const std::u16string& fullName, DWORD type, const std::vector<SORTORDERSPEC>& sorts,
                        CEOID& oid) {
  sync();
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  if (img->readOnly()) return ERROR_ACCESS_DENIED;
  std::u16string name = fullName.substr(0, CEDB_MAXDBASENAMELEN - 1);
  if (name.empty() || sorts.size() > kMaxSortSlots) return ERROR_INVALID_PARAMETER;
  if (!std::all_of(sorts.begin(), sorts.end(), validSort)) return ERROR_INVALID_PARAMETER;
  if (findByName(name)) return ERROR_DUP_NAME;
  Transaction tx(img->db());
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  oid = img->allocateOid();
  if (!oid) return ERROR_DISK_FULL;
  Statement& insert = img->db().cached(
      "INSERT INTO databases(oid, name, folded, type, flags, records, size, modified) VALUES(?, ?, ?, ?, 0, 0, 0, ?)");
  insert.bind(1, int64_t{oid}).bind(2, utf16Bytes(name)).bind(3, utf16Bytes(foldCase(name)));
  insert.bind(4, int64_t{type}).bind(5, static_cast<int64_t>(currentFileTime()));
  insert.step();
  if (!insert.ok()) return ERROR_DISK_FULL;
  Statement& sort = img->db().cached("INSERT INTO sortorders(db, slot, propid, flags) VALUES(?, ?, ?, ?)");
  for (size_t slot = 0; slot < sorts.size(); ++slot) {
    sort.reset();
    sort.bind(1, int64_t{oid}).bind(2, static_cast<int64_t>(slot));
    sort.bind(3, int64_t{sorts[slot].propid}).bind(4, int64_t{sorts[slot].dwFlags});
    sort.step();
    if (!sort.ok()) return ERROR_DISK_FULL;
  }
  return tx.commit() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

DWORD Databases::remove(CEOID db) {
  sync();
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  DatabaseInfo existing;
  if (info(db, existing) == ERROR_INVALID_PARAMETER) return ERROR_INVALID_PARAMETER;
  if (img->readOnly()) return ERROR_ACCESS_DENIED;
  if (isOpen(db)) return ERROR_SHARING_VIOLATION;
  Transaction tx(img->db());
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  for (const char* sql : {"DELETE FROM records WHERE db = ?", "DELETE FROM sortorders WHERE db = ?",
                          "DELETE FROM databases WHERE oid = ?"}) {
    Statement& del = img->db().cached(sql);
    del.bind(1, int64_t{db});
    del.step();
    if (!del.ok()) return ERROR_DISK_FULL;
  }
  if (!tx.commit()) return ERROR_DISK_FULL;
  invalidate();
  return ERROR_SUCCESS;
}

DWORD Databases::setInfo(CEOID db, const CEDBASEINFO& change) {
  sync();
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  DatabaseInfo current;
  if (DWORD error = info(db, current)) return error;
  if (img->readOnly()) return ERROR_ACCESS_DENIED;
  DatabaseInfo next = current;
  if (change.dwFlags & CEDB_VALIDNAME) {
    std::u16string name(change.szDbaseName, std::find(change.szDbaseName, change.szDbaseName + CEDB_MAXDBASENAMELEN, u'\0'));
    next.name = name.substr(0, CEDB_MAXDBASENAMELEN - 1);
    if (next.name.empty()) return ERROR_INVALID_PARAMETER;
    CEOID holder = findByName(next.name);
    if (holder && holder != db) return ERROR_DUP_NAME;
  }
  if (change.dwFlags & CEDB_VALIDTYPE) next.type = change.dwDbaseType;
  bool resort = false;
  if (change.dwFlags & CEDB_VALIDSORTSPEC) {
    if (change.wNumSortOrder > CEDB_MAXSORTORDER) return ERROR_INVALID_PARAMETER;
    next.sorts.assign(change.rgSortSpecs, change.rgSortSpecs + change.wNumSortOrder);
    if (!std::all_of(next.sorts.begin(), next.sorts.end(), validSort)) return ERROR_INVALID_PARAMETER;
    resort = next.sorts.size() != current.sorts.size() ||
             !std::equal(next.sorts.begin(), next.sorts.end(), current.sorts.begin(), [](auto& a, auto& b) {
               return a.propid == b.propid && a.dwFlags == b.dwFlags;
             });
    // Handles walk the old orders; they must be closed first.
    if (resort && isOpen(db)) return ERROR_SHARING_VIOLATION;
  }
  next.modified = (change.dwFlags & CEDB_VALIDMODTIME)
                      ? (uint64_t(change.ftLastModified.dwHighDateTime) << 32) | change.ftLastModified.dwLowDateTime
                      : currentFileTime();
  Transaction tx(img->db());
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  Statement& update =
      img->db().cached("UPDATE databases SET name = ?, folded = ?, type = ?, flags = ?, modified = ? WHERE oid = ?");
  update.bind(1, utf16Bytes(next.name)).bind(2, utf16Bytes(foldCase(next.name))).bind(3, int64_t{next.type});
  update.bind(4, int64_t{next.flags}).bind(5, static_cast<int64_t>(next.modified)).bind(6, int64_t{db});
  update.step();
  if (!update.ok()) return ERROR_DISK_FULL;
  if (resort && !rewriteKeys(db, next.sorts)) return ERROR_DISK_FULL;
  if (!tx.commit()) return ERROR_DISK_FULL;
  if (resort) invalidate();
  return ERROR_SUCCESS;
}

bool Databases::rewriteKeys(CEOID db, const std::vector<SORTORDERSPEC>& sorts) {
  Connection& conn = seenImage_->db();
  Statement del = conn.prepare("DELETE FROM sortorders WHERE db = ?");
  del.bind(1, int64_t{db});
  del.step();
  if (!del.ok()) return false;
  Statement add = conn.prepare("INSERT INTO sortorders(db, slot, propid, flags) VALUES(?, ?, ?, ?)");
  for (size_t slot = 0; slot < sorts.size(); ++slot) {
    add.reset();
    add.bind(1, int64_t{db}).bind(2, static_cast<int64_t>(slot)).bind(3, int64_t{sorts[slot].propid});
    add.bind(4, int64_t{sorts[slot].dwFlags});
    add.step();
    if (!add.ok()) return false;
  }
  Statement rows = conn.prepare("SELECT oid, props FROM records WHERE db = ?");
  Statement set = conn.prepare("UPDATE records SET k0 = ?, k1 = ?, k2 = ?, k3 = ? WHERE oid = ?");
  rows.bind(1, int64_t{db});
  while (rows.step()) {
    std::vector<uint8_t> props = rows.blob(1);
    Record record;
    // A damaged record has no readable values: it sorts as lacking them.
    if (!decodeRecord(props.data(), props.size(), record)) record.clear();
    set.reset();
    for (int slot = 0; slot < kMaxSortSlots; ++slot) {
      if (slot < static_cast<int>(sorts.size()))
        set.bind(1 + slot, keyOrNull(record, sorts, slot));
      else
        set.bindNull(1 + slot);
    }
    set.bind(5, rows.integer(0));
    set.step();
    if (!set.ok()) return false;
  }
  return rows.ok();
}

DWORD Databases::readRecord(CEOID db, CEOID record, Record& out) {
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  // The data version comes in the same read, so that a change by another
  // process is noticed without a query of its own.
  Statement& row = img->db().cached(
      "SELECT db, props, (SELECT data_version FROM pragma_data_version) FROM records WHERE oid = ?");
  row.bind(1, int64_t{record});
  if (!row.step()) {
    row.reset();
    sync();
    return ERROR_KEY_DELETED;
  }
  noteGeneration(img->noteDataVersion(row.integer(2)));
  if (row.integer(0) != int64_t{db}) return ERROR_KEY_DELETED;
  std::vector<uint8_t> props = row.blob(1);
  row.reset();
  return decodeRecord(props.data(), props.size(), out) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

DWORD Databases::writeRecord(CEOID db, CEOID record, const Record& values, const std::vector<CEPROPID>& removed,
                             CEOID& out) {
  sync();
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  DatabaseInfo dbInfo;
  if (DWORD error = info(db, dbInfo)) return error;
  if (img->readOnly()) return ERROR_ACCESS_DENIED;
  for (const PropValue& value : values)
    if (checkValue(value) != ValueProblem::None) return ERROR_INVALID_PARAMETER;

  Record merged;
  std::vector<std::vector<uint8_t>> oldKeys;
  uint32_t oldSize = 0;
  if (record) {
    DWORD error = readRecord(db, record, merged);
    if (error == ERROR_KEY_DELETED) return ERROR_INVALID_PARAMETER;
    if (error) return error;
    oldSize = recordSize(merged);
    for (size_t slot = 0; slot < dbInfo.sorts.size(); ++slot) {
      std::vector<uint8_t> key;
      recordKey(record, static_cast<int>(slot), key);
      oldKeys.push_back(key);
    }
  } else if (dbInfo.records >= CEDB_MAXNUMRECORDS) {
    return ERROR_DISK_FULL;
  }
  for (CEPROPID id : removed)
    merged.erase(std::remove_if(merged.begin(), merged.end(), [id](const PropValue& v) { return v.propid == id; }),
                 merged.end());
  for (const PropValue& value : values) {
    auto it = std::find_if(merged.begin(), merged.end(), [&](const PropValue& v) { return v.propid == value.propid; });
    if (it != merged.end())
      *it = value;
    else
      merged.push_back(value);
  }
  uint32_t size = recordSize(merged);
  if (size - 20 > CEDB_MAXRECORDSIZE || merged.size() > 0xFFFF) return ERROR_INVALID_PARAMETER;

  std::vector<std::vector<uint8_t>> keys;
  for (size_t slot = 0; slot < dbInfo.sorts.size(); ++slot) keys.push_back(keyOrNull(merged, dbInfo.sorts, int(slot)));

  Transaction tx(img->db());
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  CEOID oid = record ? record : img->allocateOid();
  if (!oid) return ERROR_DISK_FULL;
  Statement& put =
      img->db().cached("INSERT OR REPLACE INTO records(oid, db, props, k0, k1, k2, k3) VALUES(?, ?, ?, ?, ?, ?, ?)");
  put.bind(1, int64_t{oid}).bind(2, int64_t{db}).bind(3, encodeRecord(merged));
  for (int slot = 0; slot < kMaxSortSlots; ++slot) {
    if (slot < static_cast<int>(keys.size()))
      put.bind(4 + slot, keys[slot]);
    else
      put.bindNull(4 + slot);
  }
  put.step();
  if (!put.ok()) return ERROR_DISK_FULL;
  if (DWORD error = touch(db, record ? 0 : 1, int64_t{size} - int64_t{oldSize})) return error;
  if (!tx.commit()) return ERROR_DISK_FULL;
  // A new record or a changed key moves records in the orders.
  if (!record || keys != oldKeys) invalidate();
  out = oid;
  return ERROR_SUCCESS;
}

DWORD Databases::deleteRecord(CEOID db, CEOID record) {
  sync();
  Image* img = image();
  if (!img) return ERROR_INVALID_HANDLE;
  if (!record || recordParent(record) != db) return ERROR_INVALID_PARAMETER;
  if (img->readOnly()) return ERROR_ACCESS_DENIED;
  Record existing;
  // A damaged record's size is unknown; at least its fixed share goes.
  uint32_t size = readRecord(db, record, existing) == ERROR_SUCCESS ? recordSize(existing) : 20;
  Transaction tx(img->db());
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  Statement& del = img->db().cached("DELETE FROM records WHERE oid = ?");
  del.bind(1, int64_t{record});
  del.step();
  if (!del.ok()) return ERROR_DISK_FULL;
  if (DWORD error = touch(db, -1, -int64_t{size})) return error;
  if (!tx.commit()) return ERROR_DISK_FULL;
  eraseFromOrders(db, record);
  return ERROR_SUCCESS;
}

void Databases::eraseFromOrders(CEOID db, CEOID record) {
  for (auto& [key, order] : orders_) {
    if (key.first != db) continue;
    auto it = std::find(order.begin(), order.end(), record);
    if (it == order.end()) continue;
    size_t position = static_cast<size_t>(it - order.begin());
    for (Cursor* cursor : cursors_)
      if (cursor->db() == db && cursor->slot() == key.second && cursor->fresh(epoch_))
        cursor->recordDeleted(record, position);
    order.erase(it);
  }
}

const std::vector<CEOID>& Databases::order(CEOID db, int slot) {
  static const std::vector<CEOID> kEmpty;
  Image* img = image();
  if (!img || slot < -1 || slot >= kMaxSortSlots) return kEmpty;
  auto key = std::make_pair(db, slot);
  auto it = orders_.find(key);
  if (it != orders_.end()) return it->second;
  std::vector<CEOID> oids;
  Statement& rows = img->db().cached(kOrderQueries[slot + 1]);
  rows.bind(1, int64_t{db});
  while (rows.step()) oids.push_back(static_cast<CEOID>(rows.integer(0)));
  rows.reset();
  return orders_.emplace(key, std::move(oids)).first->second;
}

bool Databases::recordKey(CEOID record, int slot, std::vector<uint8_t>& key) {
  Image* img = image();
  if (!img || slot < 0 || slot >= kMaxSortSlots) return false;
  Statement& row = img->db().cached("SELECT " + keyColumn(slot) + " FROM records WHERE oid = ?");
  row.bind(1, int64_t{record});
  if (!row.step()) return false;
  key = row.blob(0);
  return true;
}

namespace {
// Known values have keys starting with 0x10; records lacking the value
// (0x00 or 0x20) never match a value seek.
const std::vector<uint8_t> kKnownEnd = {0x11};
}  // namespace

CEOID Databases::firstAtLeast(CEOID db, int slot, const std::vector<uint8_t>& key) {
  Image* img = image();
  if (!img || slot < 0 || slot >= kMaxSortSlots) return 0;
  std::string k = keyColumn(slot);
  Statement& row = img->db().cached("SELECT oid FROM records WHERE db = ? AND " + k + " >= ? AND " + k + " < ? ORDER BY " +
                                    k + ", oid LIMIT 1");
  row.bind(1, int64_t{db}).bind(2, key).bind(3, kKnownEnd);
  return row.step() ? static_cast<CEOID>(row.integer(0)) : 0;
}

CEOID Databases::firstEqual(CEOID db, int slot, const std::vector<uint8_t>& key) {
  Image* img = image();
  if (!img || slot < 0 || slot >= kMaxSortSlots) return 0;
  std::string k = keyColumn(slot);
  Statement& row = img->db().cached("SELECT oid FROM records WHERE db = ? AND " + k + " = ? ORDER BY oid LIMIT 1");
  row.bind(1, int64_t{db}).bind(2, key);
  return row.step() ? static_cast<CEOID>(row.integer(0)) : 0;
}

CEOID Databases::firstOfLargestBelow(CEOID db, int slot, const std::vector<uint8_t>& key) {
  Image* img = image();
  if (!img || slot < 0 || slot >= kMaxSortSlots) return 0;
  std::string k = keyColumn(slot);
  Statement& row = img->db().cached("SELECT " + k + " FROM records WHERE db = ? AND " + k + " < ? AND " + k +
                                    " >= x'10' ORDER BY " + k + " DESC LIMIT 1");
  row.bind(1, int64_t{db}).bind(2, key);
  if (!row.step()) return 0;
  std::vector<uint8_t> below = row.blob(0);
  row.reset();
  return firstEqual(db, slot, below);
}

}  // namespace store
