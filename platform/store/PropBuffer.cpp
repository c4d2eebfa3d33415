#include "store/PropBuffer.h"

#include <cstring>

namespace store {
namespace {

constexpr size_t kAlign = alignof(CEPROPVAL);

size_t alignUp(size_t offset) { return (offset + kAlign - 1) & ~(kAlign - 1); }

size_t dataBytes(const PropValue* value) {
  if (!value) return 0;
  switch (propType(value->propid)) {
    case CEVT_LPWSTR: return (value->text.size() + 1) * sizeof(WCHAR);
    case CEVT_BLOB: return value->blob.size();
    default: return 0;
  }
}

}  // namespace

size_t propBufferSize(const std::vector<PropSlot>& slots) {
  size_t size = slots.size() * sizeof(CEPROPVAL);
  for (const PropSlot& slot : slots)
    if (size_t bytes = dataBytes(slot.value)) size = alignUp(size) + bytes;
  return size;
}

void fillPropBuffer(const std::vector<PropSlot>& slots, BYTE* buffer) {
  size_t offset = slots.size() * sizeof(CEPROPVAL);
  for (size_t i = 0; i < slots.size(); ++i) {
    CEPROPVAL prop;
    std::memset(&prop, 0, sizeof prop);
    prop.propid = slots[i].propid;
    const PropValue* value = slots[i].value;
    if (!value) {
      prop.wFlags = CEDB_PROPNOTFOUND;
    } else {
      switch (propType(value->propid)) {
        case CEVT_I2:
        case CEVT_UI2: prop.val.uiVal = static_cast<USHORT>(value->bits); break;
        case CEVT_I4:
        case CEVT_UI4: prop.val.ulVal = static_cast<ULONG>(value->bits); break;
        case CEVT_BOOL: prop.val.boolVal = static_cast<BOOL>(value->bits); break;
        case CEVT_R8: std::memcpy(&prop.val.dblVal, &value->bits, sizeof(double)); break;
        case CEVT_FILETIME:
          prop.val.filetime.dwLowDateTime = static_cast<DWORD>(value->bits);
          prop.val.filetime.dwHighDateTime = static_cast<DWORD>(value->bits >> 32);
          break;
        case CEVT_LPWSTR: {
          offset = alignUp(offset);
          auto* text = reinterpret_cast<WCHAR*>(buffer + offset);
          std::memcpy(text, value->text.data(), value->text.size() * sizeof(WCHAR));
          text[value->text.size()] = 0;
          prop.val.lpwstr = text;
          prop.wLenData = static_cast<WORD>(dataBytes(value));
          offset += dataBytes(value);
          break;
        }
        case CEVT_BLOB: {
          if (!value->blob.empty()) {
            offset = alignUp(offset);
            std::memcpy(buffer + offset, value->blob.data(), value->blob.size());
            prop.val.blob.lpb = buffer + offset;
            offset += value->blob.size();
          }
          prop.val.blob.dwCount = static_cast<DWORD>(value->blob.size());
          prop.wLenData = static_cast<WORD>(value->blob.size());
          break;
        }
      }
    }
    std::memcpy(buffer + i * sizeof(CEPROPVAL), &prop, sizeof prop);
  }
}

bool valueFromCaller(const CEPROPVAL& in, PropValue& out) {
  out = PropValue{};
  out.propid = in.propid;
  switch (propType(in.propid)) {
    case CEVT_I2:
    case CEVT_UI2: out.bits = in.val.uiVal; return true;
    case CEVT_I4:
    case CEVT_UI4: out.bits = in.val.ulVal; return true;
    case CEVT_BOOL: out.bits = static_cast<uint32_t>(in.val.boolVal); return true;
    case CEVT_R8: std::memcpy(&out.bits, &in.val.dblVal, sizeof out.bits); return true;
    case CEVT_FILETIME:
      out.bits = (uint64_t(in.val.filetime.dwHighDateTime) << 32) | in.val.filetime.dwLowDateTime;
      return true;
    case CEVT_LPWSTR: {
      if (!in.val.lpwstr) return false;
      // Never read further than the longest string a property may hold.
      size_t length = 0;
      while ((length + 1) * sizeof(WCHAR) <= CEDB_MAXPROPDATASIZE && in.val.lpwstr[length]) ++length;
      if ((length + 1) * sizeof(WCHAR) > CEDB_MAXPROPDATASIZE) return false;
      out.text.assign(in.val.lpwstr, length);
      return true;
    }
    case CEVT_BLOB:
      if (in.val.blob.dwCount > CEDB_MAXPROPDATASIZE || (in.val.blob.dwCount && !in.val.blob.lpb)) return false;
      if (in.val.blob.dwCount) out.blob.assign(in.val.blob.lpb, in.val.blob.lpb + in.val.blob.dwCount);
      return true;
    default: return false;
  }
}

}  // namespace store
