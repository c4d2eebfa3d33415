#include "store/Checker.h"

#include <cstdio>
#include <map>
#include <set>
#include <unordered_set>

#include "store/ImageWriter.h"
#include "store/Record.h"
#include "store/Schema.h"
#include "store/SortKey.h"

namespace store {
namespace {

std::string hex(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(value));
  return text;
}

class Checker {
 public:
  explicit Checker(Image& image) : db_(image.db()) {}

  CheckReport run() {
    checkPages();
    checkDatabases();
    checkSortOrders();
    checkRecords();
    checkTotals();
    checkIdentifiers();
    checkRegistry();
    return std::move(report_);
  }

 private:
  struct DbState {
    std::vector<SORTORDERSPEC> sorts;
    int64_t records = 0;
    int64_t size = 0;
    int64_t countedRecords = 0;
    int64_t countedSize = 0;
  };

  void problem(const std::string& text) {
    // A badly damaged image could yield millions; the first thousand tell.
    if (report_.problems.size() < 1000) report_.problems.push_back(text);
  }

  bool validName(const std::vector<uint8_t>& bytes, size_t maxUnits) {
    if (bytes.size() % 2) return false;
    std::u16string name = utf16FromBytes(bytes);
    return name.size() <= maxUnits && name.find(u'\0') == std::u16string::npos;
  }

  void checkPages() {
    Statement check = db_.prepare("PRAGMA integrity_check");
    while (check.step())
      if (check.text(0) != "ok") problem("file structure: " + check.text(0));
    if (!check.ok()) problem("file structure: " + db_.lastError());
  }

  void checkDatabases() {
    Statement rows = db_.prepare("SELECT oid, name, folded, type, flags, records, size FROM databases ORDER BY oid");
    while (rows.step()) {
      int64_t oid = rows.integer(0);
      std::string at = "database " + hex(oid) + ": ";
      ++report_.databases;
      oids_.push_back(oid);
      std::vector<uint8_t> name = rows.blob(1);
      if (name.empty() || !validName(name, CEDB_MAXDBASENAMELEN - 1))
        problem(at + "its name is empty, too long or not UTF-16");
      else if (rows.blob(2) != utf16Bytes(foldCase(utf16FromBytes(name))))
        problem(at + "its folded name does not match its name");
      if (rows.integer(3) < 0 || rows.integer(3) > 0xFFFFFFFFLL) problem(at + "its type is out of range");
      DbState& state = dbs_[oid];
      state.records = rows.integer(5);
      state.size = rows.integer(6);
    }
  }

  void checkSortOrders() {
    Statement rows = db_.prepare("SELECT db, slot, propid, flags FROM sortorders ORDER BY db, slot");
    while (rows.step()) {
      int64_t db = rows.integer(0);
      std::string at = "database " + hex(db) + ": sort order " + std::to_string(rows.integer(1)) + ": ";
      auto it = dbs_.find(db);
      if (it == dbs_.end()) {
        problem(at + "belongs to no database");
        continue;
      }
      std::vector<SORTORDERSPEC>& sorts = it->second.sorts;
      if (rows.integer(1) != static_cast<int64_t>(sorts.size()) || sorts.size() >= kMaxSortSlots)
        problem(at + "slots are not numbered 0 to 3 in turn");
      int64_t propid = rows.integer(2), flags = rows.integer(3);
      WORD type = propType(static_cast<CEPROPID>(propid));
      if (propid < 0 || propid > 0xFFFFFFFFLL || !isKnownType(type) || type == CEVT_BLOB)
        problem(at + "its property " + hex(propid) + " cannot be a sort key");
      if (flags & ~0xFLL) problem(at + "unknown flags " + hex(flags));
      sorts.push_back({static_cast<CEPROPID>(propid), static_cast<DWORD>(flags)});
    }
  }

  void checkRecords() {
    Statement rows = db_.prepare("SELECT oid, db, props, k0, k1, k2, k3 FROM records ORDER BY oid");
    while (rows.step()) {
      int64_t oid = rows.integer(0);
      ++report_.records;
      oids_.push_back(oid);
      std::string at = "record " + hex(oid) + ": ";
      auto it = dbs_.find(rows.integer(1));
      if (it == dbs_.end()) {
        problem(at + "belongs to no database (" + hex(rows.integer(1)) + ")");
        continue;
      }
      DbState& state = it->second;
      ++state.countedRecords;
      std::vector<uint8_t> props = rows.blob(2);
      Record record;
      std::string why;
      if (!decodeRecord(props.data(), props.size(), record, &why)) {
        problem(at + "damaged property data: " + why);
        state.countedSize += 20;
        continue;
      }
      state.countedSize += recordSize(record);
      for (int slot = 0; slot < kMaxSortSlots; ++slot) {
        if (slot < static_cast<int>(state.sorts.size())) {
          SortKey expected = sortKey(record, state.sorts[slot].propid, state.sorts[slot].dwFlags);
          if (rows.isNull(3 + slot) || rows.blob(3 + slot) != expected)
            problem(at + "its key for sort order " + std::to_string(slot) + " does not match its value");
        } else if (!rows.isNull(3 + slot)) {
          problem(at + "has a key for sort order " + std::to_string(slot) + ", which its database lacks");
        }
      }
    }
  }

  void checkTotals() {
    for (const auto& [oid, state] : dbs_) {
      std::string at = "database " + hex(oid) + ": ";
      if (state.countedRecords > CEDB_MAXNUMRECORDS) problem(at + "more than 65535 records");
      if (state.records != state.countedRecords)
        problem(at + "says " + std::to_string(state.records) + " records, holds " +
                std::to_string(state.countedRecords));
      if (state.size != state.countedSize)
        problem(at + "says " + std::to_string(state.size) + " bytes, its records make " +
                std::to_string(state.countedSize));
    }
  }

  void checkIdentifiers() {
    Statement next = db_.prepare("SELECT value FROM meta WHERE name = 'next_oid'");
    int64_t nextOid = next.step() ? next.integer(0) : -1;
    std::unordered_set<int64_t> seen;
    for (int64_t oid : oids_) {
      if (oid < kFirstOid || oid > 0xFFFFFFFFLL) problem("identifier " + hex(oid) + " is out of range");
      if (!seen.insert(oid).second) problem("identifier " + hex(oid) + " is used twice");
      if (oid >= nextOid) problem("identifier " + hex(oid) + " is not below the next identifier to hand out");
    }
    if (nextOid < kFirstOid || nextOid > 0x100000000LL) problem("the identifier counter is missing or out of range");
  }

  void checkRegistry() {
    std::set<int64_t> keys;
    Statement roots = db_.prepare("SELECT id FROM regkeys WHERE parent = 0");
    while (roots.step()) keys.insert(roots.integer(0));
    for (int64_t root : {kRootClasses, kRootCurrentUser, kRootLocalMachine, kRootUsers})
      if (!keys.count(root)) problem("registry: root key " + std::to_string(root) + " is missing");
    Statement rows = db_.prepare("SELECT id, parent, name, folded FROM regkeys WHERE parent <> 0 ORDER BY id");
    std::map<int64_t, int64_t> parents;
    while (rows.step()) {
      int64_t id = rows.integer(0);
      ++report_.keys;
      keys.insert(id);
      parents[id] = rows.integer(1);
      std::vector<uint8_t> name = rows.blob(2);
      if (name.empty() || !validName(name, kMaxKeyNameLengthUnits))
        problem("registry key " + std::to_string(id) + ": its name is empty, too long or not UTF-16");
      else if (rows.blob(3) != utf16Bytes(foldCase(utf16FromBytes(name))))
        problem("registry key " + std::to_string(id) + ": its folded name does not match its name");
    }
    for (const auto& [id, parent] : parents) {
      if (!keys.count(parent)) problem("registry key " + std::to_string(id) + ": its parent is missing");
      // Walking up must reach a root: no cycles.
      int64_t at = id;
      for (size_t steps = 0; parents.count(at); ++steps) {
        at = parents[at];
        if (steps > parents.size()) {
          problem("registry key " + std::to_string(id) + ": its parents form a loop");
          break;
        }
      }
    }
    Statement values = db_.prepare("SELECT id, key, name, folded, type FROM regvalues ORDER BY id");
    while (values.step()) {
      ++report_.values;
      std::string at = "registry value " + std::to_string(values.integer(0)) + ": ";
      if (!keys.count(values.integer(1))) problem(at + "its key is missing");
      std::vector<uint8_t> name = values.blob(2);
      if (!validName(name, kMaxValueNameLengthUnits)) problem(at + "its name is too long or not UTF-16");
      else if (values.blob(3) != utf16Bytes(foldCase(utf16FromBytes(name))))
        problem(at + "its folded name does not match its name");
      if (values.integer(4) < 0 || values.integer(4) > 0xFFFFFFFFLL) problem(at + "its type is out of range");
    }
  }

  static constexpr size_t kMaxKeyNameLengthUnits = 255;
  static constexpr size_t kMaxValueNameLengthUnits = 16383;

  Connection& db_;
  CheckReport report_;
  std::map<int64_t, DbState> dbs_;
  std::vector<int64_t> oids_;
};

}  // namespace

CheckReport checkImage(Image& image) { return Checker(image).run(); }

}  // namespace store
