#include "device/BusProtocol.h"

#include <cstring>

namespace device::bus {

namespace {

constexpr char kMagic[4] = {'V', 'B', 'U', 'S'};

template <typename T>
void put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& out, const std::u16string& text) {
  put<uint32_t>(out, static_cast<uint32_t>(text.size()));
  out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  template <typename T>
  bool get(T& value) {
    if (bytes_.size() - pos_ < sizeof value) return false;
    std::memcpy(&value, bytes_.data() + pos_, sizeof value);
    pos_ += sizeof value;
    return true;
  }
  // Incomplete: false; too long: sets malformed.
  bool getText(std::u16string& text, bool& malformed) {
    uint32_t count;
    if (!get(count)) return false;
    if (count > kMaxTextUnits) {
      malformed = true;
      return false;
    }
    if (bytes_.size() - pos_ < count * sizeof(char16_t)) return false;
    text.resize(count);
    std::memcpy(text.data(), bytes_.data() + pos_, count * sizeof(char16_t));
    pos_ += count * sizeof(char16_t);
    return true;
  }
  size_t left() const { return bytes_.size() - pos_; }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace

std::string encodeRequest(const Request& request) {
  std::string out(kMagic, sizeof kMagic);
  out.push_back(static_cast<char>(request.op));
  switch (request.op) {
    case Op::Find:
      putText(out, request.className);
      putText(out, request.title);
      break;
    case Op::Raise: put<uint64_t>(out, request.handle); break;
    case Op::Ping: break;
  }
  return out;
}

Parse parseRequest(std::string_view bytes, Request& request) {
  size_t prefix = std::min(bytes.size(), sizeof kMagic);
  if (std::memcmp(bytes.data(), kMagic, prefix) != 0) return Parse::Malformed;
  if (bytes.size() <= sizeof kMagic) return Parse::Incomplete;
  Reader reader(bytes.substr(sizeof kMagic + 1));
  bool malformed = false;
  bool complete = false;
  switch (static_cast<Op>(bytes[sizeof kMagic])) {
    case Op::Find:
      request.op = Op::Find;
      complete = reader.getText(request.className, malformed) && reader.getText(request.title, malformed);
      break;
    case Op::Raise:
      request.op = Op::Raise;
      complete = reader.get(request.handle);
      break;
    case Op::Ping:
      request.op = Op::Ping;
      complete = true;
      break;
    default: return Parse::Malformed;
  }
  if (malformed) return Parse::Malformed;
  if (!complete) return Parse::Incomplete;
  return reader.left() == 0 ? Parse::Complete : Parse::Malformed;
}

std::string encodeAnswer(bool ok, uint64_t value) {
  std::string out(1, ok ? '\1' : '\0');
  put<uint64_t>(out, value);
  return out;
}

bool parseAnswer(std::string_view bytes, bool& ok, uint64_t& value) {
  if (bytes.size() != kAnswerSize || static_cast<uint8_t>(bytes[0]) > 1) return false;
  ok = bytes[0] == 1;
  std::memcpy(&value, bytes.data() + 1, sizeof value);
  return true;
}

}  // namespace device::bus
