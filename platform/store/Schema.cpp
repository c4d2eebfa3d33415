#include "store/Schema.h"

#include <algorithm>
#include <vector>

namespace store {
namespace {

// Names are UTF-16LE BLOBs, so that any text the device can hold survives;
// "folded" columns hold the case-folded form used for lookups. Sort keys k0
// to k3 are the records' values for the database's sort orders, encoded to
// compare as bytes; the indexes let a database be walked in any of them.
const char* const kTables[][2] = {
    {"meta", "CREATE TABLE meta(name TEXT PRIMARY KEY NOT NULL, value INTEGER NOT NULL)"},
    {"databases",
     "CREATE TABLE databases(oid INTEGER PRIMARY KEY, name BLOB NOT NULL, folded BLOB NOT NULL UNIQUE, "
     "type INTEGER NOT NULL, flags INTEGER NOT NULL, records INTEGER NOT NULL, size INTEGER NOT NULL, "
     "modified INTEGER NOT NULL)"},
    {"sortorders",
     "CREATE TABLE sortorders(db INTEGER NOT NULL, slot INTEGER NOT NULL, propid INTEGER NOT NULL, "
     "flags INTEGER NOT NULL, PRIMARY KEY(db, slot)) WITHOUT ROWID"},
    {"records",
     "CREATE TABLE records(oid INTEGER PRIMARY KEY, db INTEGER NOT NULL, props BLOB NOT NULL, "
     "k0 BLOB, k1 BLOB, k2 BLOB, k3 BLOB)"},
    {"records_db", "CREATE INDEX records_db ON records(db)"},
    {"records_k0", "CREATE INDEX records_k0 ON records(db, k0)"},
    {"records_k1", "CREATE INDEX records_k1 ON records(db, k1)"},
    {"records_k2", "CREATE INDEX records_k2 ON records(db, k2)"},
    {"records_k3", "CREATE INDEX records_k3 ON records(db, k3)"},
    {"regkeys",
     "CREATE TABLE regkeys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, name BLOB NOT NULL, "
     "folded BLOB NOT NULL, UNIQUE(parent, folded))"},
    {"regvalues",
     "CREATE TABLE regvalues(id INTEGER PRIMARY KEY, key INTEGER NOT NULL, name BLOB NOT NULL, "
     "folded BLOB NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, folded))"},
};

}  // namespace

bool createSchema(Connection& db) {
  for (const auto& table : kTables)
    if (!db.exec(table[1])) return false;
  Statement root = db.prepare("INSERT INTO regkeys(id, parent, name, folded) VALUES(?, 0, x'', ?)");
  for (int64_t id : {kRootClasses, kRootCurrentUser, kRootLocalMachine, kRootUsers}) {
    root.reset();
    // Distinct folded names keep the roots apart under UNIQUE(parent, folded).
    uint8_t tag[2] = {static_cast<uint8_t>(id), 0};
    root.bind(1, id).bind(2, tag, sizeof tag);
    root.step();
    if (!root.ok()) return false;
  }
  Statement meta = db.prepare("INSERT INTO meta(name, value) VALUES('next_oid', ?)");
  meta.bind(1, int64_t{kFirstOid});
  meta.step();
  if (!meta.ok()) return false;
  return db.exec("PRAGMA application_id = " + std::to_string(kApplicationId)) &&
         db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
}

bool dropRecordIndexes(Connection& db) {
  for (const auto& table : kTables)
    if (std::string(table[0]).rfind("records_", 0) == 0 && !db.exec(std::string("DROP INDEX ") + table[0]))
      return false;
  return true;
}

bool createRecordIndexes(Connection& db) {
  for (const auto& table : kTables)
    if (std::string(table[0]).rfind("records_", 0) == 0 && !db.exec(table[1])) return false;
  return true;
}

bool schemaMatches(Connection& db, std::string& problem) {
  std::vector<std::pair<std::string, std::string>> found;
  Statement list = db.prepare("SELECT name, sql FROM sqlite_schema WHERE name NOT LIKE 'sqlite_%' ORDER BY name");
  while (list.step()) found.emplace_back(list.text(0), list.text(1));
  if (!list.ok()) {
    problem = db.lastError();
    return false;
  }
  std::vector<std::pair<std::string, std::string>> expected;
  for (const auto& table : kTables) expected.emplace_back(table[0], table[1]);
  std::sort(expected.begin(), expected.end());
  if (found != expected) {
    problem = "its tables are not those of a device image";
    return false;
  }
  return true;
}

}  // namespace store
