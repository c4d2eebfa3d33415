#include "store/Cursor.h"

#include <algorithm>
#include <cstring>

#include <windows.h>

#include "store/PropBuffer.h"
#include "store/SortKey.h"

namespace store {
namespace {

bool fail(DWORD error) {
  SetLastError(error);
  return false;
}

}  // namespace

Cursor::Cursor(CEOID db, int slot, CEPROPID sortProp, DWORD sortFlags, bool autoIncrement)
    : db_(db), slot_(slot), sortProp_(sortProp), sortFlags_(sortFlags), autoIncrement_(autoIncrement) {
  databases().attach(this);
}

Cursor::~Cursor() { databases().detach(this); }

const std::vector<CEOID>* Cursor::resolve() {
  Databases& dbs = databases();
  const std::vector<CEOID>& order = dbs.order(db_, slot_);
  uint64_t epoch = dbs.epoch();
  if (epoch_ != epoch) {
    // The orders were rebuilt: find the record again where it now is.
    if (current_ && !onDeleted_) {
      auto it = std::find(order.begin(), order.end(), current_);
      if (it != order.end())
        index_ = static_cast<size_t>(it - order.begin());
      else
        onDeleted_ = true;
    }
    index_ = std::min(index_, order.size());
    epoch_ = epoch;
  }
  if (!onDeleted_) current_ = index_ < order.size() ? order[index_] : 0;
  return &order;
}

void Cursor::recordDeleted(CEOID record, size_t position) {
  if (record == current_ && !onDeleted_) {
    onDeleted_ = true;  // the next record slides into index_
  } else if (index_ > position) {
    --index_;
  }
}

CEOID Cursor::moveTo(const std::vector<CEOID>& order, size_t index, DWORD* out) {
  index_ = index;
  onDeleted_ = false;
  current_ = index < order.size() ? order[index] : 0;
  if (out) *out = static_cast<DWORD>(index);
  return current_;
}

CEOID Cursor::seek(DWORD type, DWORD_PTR value, DWORD* out) {
  // Steps from the current record use what is known; other seeks first
  // look for changes by other processes.
  if (type != CEDB_SEEK_CURRENT) databases().sync();
  const std::vector<CEOID>& order = *resolve();
  size_t count = order.size();
  switch (type) {
    case CEDB_SEEK_CEOID: {
      auto it = std::find(order.begin(), order.end(), static_cast<CEOID>(value));
      if (!value || it == order.end()) return fail(ERROR_INVALID_PARAMETER), 0;
      return moveTo(order, static_cast<size_t>(it - order.begin()), out);
    }
    case CEDB_SEEK_BEGINNING: {
      DWORD index = static_cast<DWORD>(value);
      if (index >= count) return fail(ERROR_INVALID_PARAMETER), 0;
      return moveTo(order, index, out);
    }
    case CEDB_SEEK_END: {
      DWORD back = static_cast<DWORD>(value);
      if (back >= count) return fail(ERROR_INVALID_PARAMETER), 0;
      return moveTo(order, count - 1 - back, out);
    }
    case CEDB_SEEK_CURRENT: {
      int64_t delta = static_cast<int32_t>(static_cast<DWORD>(value));
      // From a deleted record, the next one is one step forward.
      if (onDeleted_ && delta > 0) --delta;
      else if (onDeleted_ && delta == 0) return fail(ERROR_KEY_DELETED), 0;
      int64_t target = static_cast<int64_t>(index_) + delta;
      if (target < 0 || target >= static_cast<int64_t>(count)) return fail(ERROR_INVALID_PARAMETER), 0;
      return moveTo(order, static_cast<size_t>(target), out);
    }
    case CEDB_SEEK_VALUESMALLER:
    case CEDB_SEEK_VALUEFIRSTEQUAL:
    case CEDB_SEEK_VALUEGREATER:
    case CEDB_SEEK_VALUENEXTEQUAL:
      return valueSeek(type, reinterpret_cast<const CEPROPVAL*>(value), out);
    default: return fail(ERROR_INVALID_PARAMETER), 0;
  }
}

CEOID Cursor::valueSeek(DWORD type, const CEPROPVAL* given, DWORD* out) {
  PropValue value;
  if (slot_ < 0 || !given || given->propid != sortProp_ || !valueFromCaller(*given, value) || propType(sortProp_) == CEVT_BLOB)
    return fail(ERROR_INVALID_PARAMETER), 0;
  std::vector<uint8_t> key = valueKey(&value, sortProp_, sortFlags_);
  Databases& dbs = databases();
  CEOID found = 0;
  switch (type) {
    case CEDB_SEEK_VALUESMALLER: found = dbs.firstOfLargestBelow(db_, slot_, key); break;
    case CEDB_SEEK_VALUEFIRSTEQUAL: found = dbs.firstEqual(db_, slot_, key); break;
    case CEDB_SEEK_VALUEGREATER: found = dbs.firstAtLeast(db_, slot_, key); break;
    case CEDB_SEEK_VALUENEXTEQUAL: {
      const std::vector<CEOID>& order = *resolve();
      size_t next = onDeleted_ ? index_ : index_ + 1;
      CEOID candidate = next < order.size() ? order[next] : 0;
      std::vector<uint8_t> nextKey;
      if (candidate && dbs.recordKey(candidate, slot_, nextKey) && nextKey == key) found = candidate;
      break;
    }
  }
  const std::vector<CEOID>& order = *resolve();
  auto it = found ? std::find(order.begin(), order.end(), found) : order.end();
  if (it == order.end()) {
    // Not found: the position is left at the end.
    moveTo(order, order.size(), nullptr);
    return fail(ERROR_NOT_FOUND), 0;
  }
  return moveTo(order, static_cast<size_t>(it - order.begin()), out);
}

CEOID Cursor::read(Record& record, DWORD& error) {
  const std::vector<CEOID>& order = *resolve();
  if (onDeleted_) {
    // Reading on from a deleted record reaches the next one; reading it
    // again in place is an error.
    if (!autoIncrement_) return error = ERROR_KEY_DELETED, 0;
    moveTo(order, index_, nullptr);
  }
  if (index_ >= order.size()) return error = ERROR_NO_MORE_ITEMS, 0;
  CEOID oid = current_;
  error = databases().readRecord(db_, oid, record);
  // A record that cannot be read is still stepped over, so that a reading
  // loop does not stall on it. (Reading may have rebuilt the orders.)
  if (autoIncrement_ && error != ERROR_KEY_DELETED) {
    const std::vector<CEOID>& now = *resolve();
    moveTo(now, index_ + 1, nullptr);
  }
  return error ? 0 : oid;
}

CEOID Enumerator::next() {
  if (done_) return 0;
  CEOID oid = databases().nextDatabase(last_, type_);
  if (!oid) {
    done_ = true;
    return 0;
  }
  last_ = oid;
  return oid;
}

}  // namespace store
