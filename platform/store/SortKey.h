// Sort keys: a record's value for one sort order, encoded so that comparing
// the bytes (memcmp, shorter first on a common prefix) gives the order the
// device uses. SQLite compares BLOBs that way, so an index on the keys walks
// a database in its sort order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/Record.h"

namespace store {

using SortKey = std::vector<uint8_t>;

// The key of a record for the sort order (propid, flags): records lacking
// the property, or holding it with another type, sort after the others
// (before them with CEDB_SORT_UNKNOWNFIRST).
SortKey sortKey(const Record& record, CEPROPID propid, DWORD flags);
// The key of one value (nullptr: a record without it).
SortKey valueKey(const PropValue* value, CEPROPID propid, DWORD flags);

// Case folding for UTF-16 units (one unit to one unit): the device compares
// names and case-insensitive keys this way.
char16_t foldCase(char16_t unit);
std::u16string foldCase(const std::u16string& text);

}  // namespace store
