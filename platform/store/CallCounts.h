// How often the database calls were made: what a caller costs the store,
// for benchmarks and for tests of callers that must not read too much.
#pragma once

#include <cstdint>

namespace store {

struct CallCounts {
  uint64_t opens = 0;  // databases opened
  uint64_t seeks = 0;
  uint64_t reads = 0;  // records read
};

CallCounts& callCounts();

}  // namespace store
