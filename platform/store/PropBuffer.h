// The buffer CeReadRecordProps hands out: the CEPROPVAL array first, then
// the strings and blobs it points to, all in the same block.
#pragma once

#include <cstddef>
#include <vector>

#include "store/Record.h"

namespace store {

struct PropSlot {
  CEPROPID propid = 0;
  const PropValue* value = nullptr;  // nullptr: the record lacks it
};

// Bytes needed for slots.
size_t propBufferSize(const std::vector<PropSlot>& slots);
// Lays slots out in buffer (at least propBufferSize bytes).
void fillPropBuffer(const std::vector<PropSlot>& slots, BYTE* buffer);

// The caller's values as the store keeps them; false for a value it cannot
// take (unknown type, missing string or blob data, over the limits).
bool valueFromCaller(const CEPROPVAL& in, PropValue& out);

}  // namespace store
