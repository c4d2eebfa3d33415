// Arbitrary bytes from another process on the bus: a request, one still
// arriving, or a malformed one, never a fault; a complete one reads back the
// same when written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "device/BusProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  device::bus::Request request;
  if (device::bus::parseRequest(bytes, request) == device::bus::Parse::Complete &&
      device::bus::encodeRequest(request) != bytes)
    std::abort();
  bool ok = false;
  uint64_t value = 0;
  device::bus::parseAnswer(bytes, ok, value);
  return 0;
}
