#include "browser/ColumnMap.h"

#include <cstdlib>

ColumnMap::~ColumnMap() { Clear(); }

int ColumnMap::Find(CEPROPID id) const {
  for (int i = 0; i < count; ++i)
    if (ids[i] == id) return i;
  return -1;
}

// Both arrays grow by exactly one entry; a map has a few dozen at most.
bool ColumnMap::Append(CEPROPID id, WORD columnNumber) {
  auto* grownIds = static_cast<CEPROPID*>(std::realloc(ids, sizeof(CEPROPID) * size_t(count + 1)));
  if (grownIds == nullptr) return false;
  ids = grownIds;
  auto* grownNumbers = static_cast<WORD*>(std::realloc(columnNumbers, sizeof(WORD) * size_t(count + 1)));
  if (grownNumbers == nullptr) return false;
  columnNumbers = grownNumbers;
  ids[count] = id;
  columnNumbers[count] = columnNumber;
  ++count;
  return true;
}

CEPROPID ColumnMap::IdForColumn(WORD columnNumber) const {
  for (int i = 0; i < count; ++i)
    if (columnNumbers[i] == columnNumber) return ids[i];
  return 0;
}

void ColumnMap::Clear() {
  std::free(ids);
  std::free(columnNumbers);
  ids = nullptr;
  columnNumbers = nullptr;
  count = 0;
}
