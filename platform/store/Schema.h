// The device image's layout in SQLite: identified by the application id and
// versioned by user_version, so that foreign or newer files are recognised
// before anything is read from them.
#pragma once

#include <cstdint>
#include <string>

#include "store/Sqlite.h"

namespace store {

constexpr uint32_t kApplicationId = 0x43454F53;  // "CEOS"
constexpr uint32_t kSchemaVersion = 1;
constexpr int kMaxSortSlots = 4;

// Root keys of the registry, in the key table.
constexpr int64_t kRootClasses = 1;
constexpr int64_t kRootCurrentUser = 2;
constexpr int64_t kRootLocalMachine = 3;
constexpr int64_t kRootUsers = 4;

// The first object identifier an image hands out; identifiers grow from
// there and are never reused.
constexpr uint32_t kFirstOid = 0x00010001;

// Creates the tables in an empty database, in the caller's transaction.
bool createSchema(Connection& db);
// The indexes on records: filling many records is faster without them, and
// building them afterwards gives the same definitions.
bool dropRecordIndexes(Connection& db);
bool createRecordIndexes(Connection& db);
// true when the tables, indexes and their definitions are exactly ours.
bool schemaMatches(Connection& db, std::string& problem);

}  // namespace store
