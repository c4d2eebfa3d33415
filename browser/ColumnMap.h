// The property identifiers that have a column in the record list, in the
// order they were discovered, with the list column each is shown in.
#pragma once

#include <windows.h>
#include <windbase.h>

class ColumnMap {
 public:
  ColumnMap() = default;
  ColumnMap(const ColumnMap&) = delete;
  ColumnMap& operator=(const ColumnMap&) = delete;
  virtual ~ColumnMap();

  // The position of the first entry with exactly this identifier, or -1.
  int Find(CEPROPID id) const;
  // False, with the map unchanged, when the heap could not supply room.
  bool Append(CEPROPID id, WORD columnNumber);
  // The identifier of the first entry shown in the column, or 0.
  CEPROPID IdForColumn(WORD columnNumber) const;
  void Clear();

  int Count() const { return count; }
  CEPROPID IdAt(int index) const { return ids[index]; }

 private:
  CEPROPID* ids = nullptr;
  WORD* columnNumbers = nullptr;
  int count = 0;
};
