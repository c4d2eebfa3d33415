// Reads this module's resources through the platform and decodes the binary
// formats the program and the shell rely on: dialog templates, menus, the menu
// bar resource, icons, bitmaps and the version resource. Every decoder reads
// through a bounded reader, so a truncated resource fails a test instead of
// reading past its end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources_test {

using Bytes = std::vector<uint8_t>;

// The bytes of resource `id` of `type` in this module; nullopt when missing.
std::optional<Bytes> loadResource(LPCWSTR type, int id);

// The text of string-table entry `id`, read with LoadStringW into a buffer.
std::u16string loadString(UINT id);

class ByteReader {
 public:
  explicit ByteReader(const Bytes& bytes, size_t offset = 0) : bytes_(bytes), offset_(offset) {}

  uint8_t byte();
  uint16_t word();
  uint32_t dword();
  // A zero-terminated UTF-16 string.
  std::u16string string();
  void alignTo(size_t boundary);
  void skip(size_t count);

  size_t offset() const { return offset_; }
  bool atEnd() const { return offset_ >= bytes_.size(); }
  // True once a read went past the end; every such read yields zeros.
  bool failed() const { return failed_; }

 private:
  bool take(size_t count);

  const Bytes& bytes_;
  size_t offset_;
  bool failed_ = false;
};

// A menu, class or control-text field of a dialog template: nothing, an
// ordinal (0xFFFF then a number) or a string.
struct NameOrOrdinal {
  bool isOrdinal = false;
  uint16_t ordinal = 0;
  std::u16string text;
};

struct DialogItem {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint16_t id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal text;
};

struct Dialog {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string caption;
  uint16_t pointSize = 0;
  std::u16string face;
  std::vector<DialogItem> items;
};

std::optional<Dialog> parseDialog(const Bytes& bytes);

struct MenuItem {
  uint16_t flags = 0;
  uint16_t id = 0;  // commands only
  std::u16string text;
  std::vector<MenuItem> children;  // popups only
};

// The top-level items of a MENU resource.
std::optional<std::vector<MenuItem>> parseMenu(const Bytes& bytes);

struct MenuBarButton {
  uint16_t image, command, state, style, stringId, reserved, popup;
};

struct MenuBar {
  uint16_t menuId = 0;
  std::vector<MenuBarButton> buttons;
};

// Fails unless the resource holds exactly the buttons it counts.
std::optional<MenuBar> parseMenuBar(const Bytes& bytes);

struct IconEntry {
  uint8_t width, height, colourCount;
  uint16_t planes, bitCount;
  uint32_t bytesInResource;
  uint16_t iconId;
};

std::optional<std::vector<IconEntry>> parseIconGroup(const Bytes& bytes);

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// A device-independent bitmap as stored in a bitmap or icon resource; icon
// images hold the colour bits followed by a 1-bit transparency mask.
struct Dib {
  int32_t width = 0;
  int32_t height = 0;  // of the image, not the doubled icon height
  uint16_t bitCount = 0;
  uint32_t storedHeight = 0;
  std::vector<Rgb> palette;
  Bytes bits;
  Bytes mask;  // icons only

  Rgb colourAt(int x, int y) const;      // y = 0 is the top row
  bool transparentAt(int x, int y) const;
};

std::optional<Dib> parseDib(const Bytes& bytes, bool isIcon);

struct VersionNode {
  std::u16string key;
  uint16_t type = 0;  // 1 = text
  Bytes value;
  std::vector<VersionNode> children;

  const VersionNode* child(const std::u16string& name) const;
  std::u16string text() const;
};

std::optional<VersionNode> parseVersion(const Bytes& bytes);

// For messages: UTF-16 to UTF-8 (the texts here are ASCII).
std::string narrow(const std::u16string& text);

}  // namespace resources_test
