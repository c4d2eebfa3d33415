#include "ResourceReader.h"

#include <algorithm>

namespace resources_test {

namespace {

constexpr uint16_t kOrdinalMarker = 0xFFFF;
constexpr int kMaxMenuDepth = 8;

NameOrOrdinal readNameOrOrdinal(ByteReader& reader) {
  NameOrOrdinal field;
  uint16_t first = reader.word();
  if (first == kOrdinalMarker) {
    field.isOrdinal = true;
    field.ordinal = reader.word();
  } else if (first != 0) {
    field.text.push_back(static_cast<char16_t>(first));
    field.text += reader.string();
  }
  return field;
}

bool readMenuLevel(ByteReader& reader, std::vector<MenuItem>& items, int depth) {
  if (depth > kMaxMenuDepth) return false;
  while (!reader.failed()) {
    MenuItem item;
    item.flags = reader.word();
    if (item.flags & MF_POPUP) {
      item.text = reader.string();
      if (!readMenuLevel(reader, item.children, depth + 1)) return false;
    } else {
      item.id = reader.word();
      item.text = reader.string();
    }
    items.push_back(std::move(item));
    if (items.back().flags & MF_END) return !reader.failed();
  }
  return false;
}

std::optional<VersionNode> readVersionNode(ByteReader& reader, const Bytes& bytes, int depth) {
  size_t start = reader.offset();
  VersionNode node;
  uint16_t length = reader.word();
  uint16_t valueLength = reader.word();
  node.type = reader.word();
  node.key = reader.string();
  reader.alignTo(4);
  size_t end = start + length;
  if (reader.failed() || length < 6 || end > bytes.size() || depth > kMaxMenuDepth) return std::nullopt;
  size_t valueBytes = node.type == 1 ? valueLength * 2u : valueLength;
  if (reader.offset() + valueBytes > end) return std::nullopt;
  node.value.assign(bytes.begin() + reader.offset(), bytes.begin() + reader.offset() + valueBytes);
  reader.skip(valueBytes);
  reader.alignTo(4);
  while (reader.offset() < end) {
    auto child = readVersionNode(reader, bytes, depth + 1);
    if (!child) return std::nullopt;
    node.children.push_back(std::move(*child));
    reader.alignTo(4);
  }
  return node;
}

}  // namespace

std::optional<Bytes> loadResource(LPCWSTR type, int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return std::nullopt;
  DWORD size = SizeofResource(module, found);
  HGLOBAL handle = LoadResource(module, found);
  const auto* data = static_cast<const uint8_t*>(LockResource(handle));
  if (data == nullptr) return std::nullopt;
  return Bytes(data, data + size);
}

std::u16string loadString(UINT id) {
  WCHAR buffer[256] = {};
  INT_PTR length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 256);
  return std::u16string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

bool ByteReader::take(size_t count) {
  if (failed_ || count > bytes_.size() || offset_ > bytes_.size() - count) {
    failed_ = true;
    return false;
  }
  return true;
}

uint8_t ByteReader::byte() {
  if (!take(1)) return 0;
  return bytes_[offset_++];
}

uint16_t ByteReader::word() {
  if (!take(2)) return 0;
  uint16_t value = static_cast<uint16_t>(bytes_[offset_] | bytes_[offset_ + 1] << 8);
  offset_ += 2;
  return value;
}

uint32_t ByteReader::dword() {
  uint32_t low = word();
  uint32_t high = word();
  return low | high << 16;
}

std::u16string ByteReader::string() {
  std::u16string text;
  for (uint16_t unit = word(); unit != 0 && !failed_; unit = word()) text.push_back(static_cast<char16_t>(unit));
  return text;
}

void ByteReader::alignTo(size_t boundary) {
  size_t padding = (boundary - offset_ % boundary) % boundary;
  // Padding at the very end of a resource may be cut off; that is not an error.
  offset_ = std::min(offset_ + padding, std::max(offset_, bytes_.size()));
}

void ByteReader::skip(size_t count) {
  if (take(count)) offset_ += count;
}

std::optional<Dialog> parseDialog(const Bytes& bytes) {
  ByteReader reader(bytes);
  Dialog dialog;
  dialog.style = reader.dword();
  dialog.exStyle = reader.dword();
  uint16_t count = reader.word();
  dialog.x = static_cast<int16_t>(reader.word());
  dialog.y = static_cast<int16_t>(reader.word());
  dialog.cx = static_cast<int16_t>(reader.word());
  dialog.cy = static_cast<int16_t>(reader.word());
  dialog.menu = readNameOrOrdinal(reader);
  dialog.windowClass = readNameOrOrdinal(reader);
  dialog.caption = reader.string();
  if (dialog.style & DS_SETFONT) {
    dialog.pointSize = reader.word();
    dialog.face = reader.string();
  }
  for (uint16_t i = 0; i < count && !reader.failed(); ++i) {
    reader.alignTo(4);
    DialogItem item;
    item.style = reader.dword();
    item.exStyle = reader.dword();
    item.x = static_cast<int16_t>(reader.word());
    item.y = static_cast<int16_t>(reader.word());
    item.cx = static_cast<int16_t>(reader.word());
    item.cy = static_cast<int16_t>(reader.word());
    item.id = reader.word();
    item.windowClass = readNameOrOrdinal(reader);
    item.text = readNameOrOrdinal(reader);
    reader.skip(reader.word());  // creation data
    dialog.items.push_back(std::move(item));
  }
  if (reader.failed()) return std::nullopt;
  return dialog;
}

std::optional<std::vector<MenuItem>> parseMenu(const Bytes& bytes) {
  ByteReader reader(bytes);
  uint16_t version = reader.word();
  uint16_t headerSize = reader.word();
  if (version != 0) return std::nullopt;
  reader.skip(headerSize);
  std::vector<MenuItem> items;
  if (!readMenuLevel(reader, items, 0)) return std::nullopt;
  return items;
}

std::optional<MenuBar> parseMenuBar(const Bytes& bytes) {
  ByteReader reader(bytes);
  MenuBar bar;
  bar.menuId = reader.word();
  uint16_t count = reader.word();
  for (uint16_t i = 0; i < count && !reader.failed(); ++i) {
    MenuBarButton button;
    button.image = reader.word();
    button.command = reader.word();
    button.state = reader.word();
    button.style = reader.word();
    button.stringId = reader.word();
    button.reserved = reader.word();
    button.popup = reader.word();
    bar.buttons.push_back(button);
  }
  if (reader.failed() || !reader.atEnd()) return std::nullopt;
  return bar;
}

std::optional<std::vector<IconEntry>> parseIconGroup(const Bytes& bytes) {
  ByteReader reader(bytes);
  uint16_t reserved = reader.word();
  uint16_t type = reader.word();
  uint16_t count = reader.word();
  if (reserved != 0 || type != 1) return std::nullopt;
  std::vector<IconEntry> entries;
  for (uint16_t i = 0; i < count && !reader.failed(); ++i) {
    IconEntry entry;
    entry.width = reader.byte();
    entry.height = reader.byte();
    entry.colourCount = reader.byte();
    reader.byte();
    entry.planes = reader.word();
    entry.bitCount = reader.word();
    entry.bytesInResource = reader.dword();
    entry.iconId = reader.word();
    entries.push_back(entry);
  }
  if (reader.failed()) return std::nullopt;
  return entries;
}

std::optional<Dib> parseDib(const Bytes& bytes, bool isIcon) {
  ByteReader reader(bytes);
  Dib dib;
  uint32_t headerSize = reader.dword();
  dib.width = static_cast<int32_t>(reader.dword());
  int32_t storedHeight = static_cast<int32_t>(reader.dword());
  uint16_t planes = reader.word();
  dib.bitCount = reader.word();
  uint32_t compression = reader.dword();
  reader.skip(12);  // image size, resolution
  uint32_t coloursUsed = reader.dword();
  reader.dword();
  if (reader.failed() || headerSize != 40 || planes != 1 || compression != 0) return std::nullopt;
  if (dib.bitCount != 1 && dib.bitCount != 2 && dib.bitCount != 4 && dib.bitCount != 8) return std::nullopt;
  if (dib.width <= 0 || dib.width > 256 || storedHeight <= 0 || storedHeight > 512) return std::nullopt;
  if (isIcon && storedHeight % 2 != 0) return std::nullopt;
  dib.storedHeight = static_cast<uint32_t>(storedHeight);
  dib.height = isIcon ? storedHeight / 2 : storedHeight;
  uint32_t paletteSize = coloursUsed != 0 ? coloursUsed : 1u << dib.bitCount;
  if (paletteSize > (1u << dib.bitCount)) return std::nullopt;
  for (uint32_t i = 0; i < paletteSize; ++i) {
    Rgb colour;
    colour.b = reader.byte();
    colour.g = reader.byte();
    colour.r = reader.byte();
    reader.byte();
    dib.palette.push_back(colour);
  }
  size_t stride = (static_cast<size_t>(dib.width) * dib.bitCount + 31) / 32 * 4;
  size_t maskStride = (static_cast<size_t>(dib.width) + 31) / 32 * 4;
  size_t bitsSize = stride * dib.height;
  size_t maskSize = isIcon ? maskStride * dib.height : 0;
  if (reader.failed() || reader.offset() + bitsSize + maskSize != bytes.size()) return std::nullopt;
  dib.bits.assign(bytes.begin() + reader.offset(), bytes.begin() + reader.offset() + bitsSize);
  dib.mask.assign(bytes.begin() + reader.offset() + bitsSize, bytes.end());
  for (int y = 0; y < dib.height; ++y) {
    for (int x = 0; x < dib.width; ++x) {
      size_t bit = static_cast<size_t>(x) * dib.bitCount;
      size_t row = static_cast<size_t>(dib.height - 1 - y) * stride;
      unsigned index = (dib.bits[row + bit / 8] >> (8 - dib.bitCount - bit % 8)) & ((1u << dib.bitCount) - 1);
      if (index >= dib.palette.size()) return std::nullopt;
    }
  }
  return dib;
}

Rgb Dib::colourAt(int x, int y) const {
  size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
  size_t bit = static_cast<size_t>(x) * bitCount;
  size_t row = static_cast<size_t>(height - 1 - y) * stride;
  unsigned index = (bits[row + bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
  return palette[index];
}

bool Dib::transparentAt(int x, int y) const {
  if (mask.empty()) return false;
  size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  size_t row = static_cast<size_t>(height - 1 - y) * stride;
  return (mask[row + x / 8] >> (7 - x % 8)) & 1;
}

const VersionNode* VersionNode::child(const std::u16string& name) const {
  for (const VersionNode& node : children)
    if (node.key == name) return &node;
  return nullptr;
}

std::u16string VersionNode::text() const {
  std::u16string result;
  for (size_t i = 0; i + 1 < value.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(value[i] | value[i + 1] << 8);
    if (unit == 0) break;
    result.push_back(unit);
  }
  return result;
}

std::optional<VersionNode> parseVersion(const Bytes& bytes) {
  ByteReader reader(bytes);
  return readVersionNode(reader, bytes, 0);
}

std::string narrow(const std::u16string& text) {
  std::string result;
  for (char16_t unit : text) result.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return result;
}

}  // namespace resources_test
