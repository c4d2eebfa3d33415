// An open database handle: the database, the sort order it walks and its
// place in that order. Its place survives changes made through other
// handles: deleting records before it moves it with them, deleting its own
// record leaves it between the neighbours.
#pragma once

#include <cstdint>

#include "store/Databases.h"
#include "store/Record.h"

namespace store {

class HandleObject {
 public:
  virtual ~HandleObject() = default;
};

class Cursor : public HandleObject {
 public:
  Cursor(CEOID db, int slot, CEPROPID sortProp, DWORD sortFlags, bool autoIncrement);
  ~Cursor() override;
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;

  CEOID db() const { return db_; }
  // The record's identifier and its index, or 0 with the error set.
  CEOID seek(DWORD type, DWORD_PTR value, DWORD* index);
  // Reads the current record (advancing with CEDB_AUTOINCREMENT); 0 and
  // the error when there is none or it cannot be read.
  CEOID read(Record& record, DWORD& error);

  // Called by Databases when record is deleted at position `position` of
  // this cursor's ordering (before the deletion).
  void recordDeleted(CEOID record, size_t position);
  int slot() const { return slot_; }
  bool fresh(uint64_t epoch) const { return epoch_ == epoch; }

 private:
  const std::vector<CEOID>* resolve();
  CEOID moveTo(const std::vector<CEOID>& order, size_t index, DWORD* out);
  CEOID valueSeek(DWORD type, const CEPROPVAL* value, DWORD* out);

  CEOID db_;
  int slot_;
  CEPROPID sortProp_;
  DWORD sortFlags_;
  bool autoIncrement_;

  size_t index_ = 0;
  CEOID current_ = 0;
  bool onDeleted_ = false;
  uint64_t epoch_ = 0;
};

class Enumerator : public HandleObject {
 public:
  explicit Enumerator(DWORD type) : type_(type) {}
  CEOID next();

 private:
  DWORD type_;
  CEOID last_ = 0;
  bool done_ = false;
};

}  // namespace store
