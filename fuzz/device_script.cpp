// Arbitrary bytes as a device script: refused with a line and a reason, or
// read into steps, never a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "device/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  device::ScriptError error;
  auto steps = device::parseScript(text, error);
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  if (!steps) {
    if (error.line < 1 || static_cast<size_t>(error.line) > lines || error.reason.empty()) std::abort();
    return 0;
  }
  int previous = 0;
  for (const device::Step& step : *steps) {
    if (step.line <= previous || static_cast<size_t>(step.line) > lines) std::abort();
    previous = step.line;
  }
  return 0;
}
