// What travels on the bus: one request per connection, one answer back.
//   request: "VBUS", op (1 byte), then for find: class and title as
//            (uint32 count, UTF-16 units); for raise: uint64 handle;
//            for ping: nothing
//   answer:  ok (1 byte), uint64 value
// Host byte order: both ends run on the same machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace device::bus {

enum class Op : uint8_t { Find = 1, Raise = 2, Ping = 3 };

constexpr size_t kMaxTextUnits = 1024;
constexpr size_t kAnswerSize = 9;

struct Request {
  Op op = Op::Ping;
  std::u16string className;
  std::u16string title;
  uint64_t handle = 0;
};

std::string encodeRequest(const Request& request);

enum class Parse { Complete, Incomplete, Malformed };
// Reads a request from the bytes received so far.
Parse parseRequest(std::string_view bytes, Request& request);

std::string encodeAnswer(bool ok, uint64_t value);
bool parseAnswer(std::string_view bytes, bool& ok, uint64_t& value);

}  // namespace device::bus
