// Reads the little-endian words of resource and bitmap formats from bytes
// that may sit at any alignment.
#pragma once

#include <cstdint>
#include <cstring>

namespace kernel {

inline uint16_t readWord(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline uint32_t readDword(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace kernel
