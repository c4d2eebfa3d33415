// Stored record bytes come from device images of unknown origin: decoding
// must refuse or accept them without fault, and what it accepts must encode
// back to the same bytes and sort without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "store/PropBuffer.h"
#include "store/Record.h"
#include "store/SortKey.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  store::Record record;
  if (!store::decodeRecord(data, size, record)) return 0;
  std::vector<uint8_t> again = store::encodeRecord(record);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
  for (const store::PropValue& value : record) {
    if (store::checkValue(value) != store::ValueProblem::None) std::abort();
    if (store::propType(value.propid) != CEVT_BLOB)
      for (DWORD flags = 0; flags < 8; ++flags) store::sortKey(record, value.propid, flags);
  }
  // The read buffer laid out from it stays within its size.
  std::vector<store::PropSlot> slots;
  for (const store::PropValue& value : record) slots.push_back({value.propid, &value});
  slots.push_back({0x7FFF0003, nullptr});
  std::vector<BYTE> buffer(store::propBufferSize(slots) + alignof(CEPROPVAL));
  BYTE* aligned = buffer.data() + (alignof(CEPROPVAL) - reinterpret_cast<uintptr_t>(buffer.data()) % alignof(CEPROPVAL)) %
                                      alignof(CEPROPVAL);
  store::fillPropBuffer(slots, aligned);
  return 0;
}
