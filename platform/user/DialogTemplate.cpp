#include "user/DialogTemplate.h"

#include <cstring>

namespace user {

namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
// More controls than any screen of the device could show; a count above
// this is a corrupt template rather than a dialog.
constexpr size_t kMaxItems = 4096;

// Little-endian reads within [begin, end); a failed read leaves the reader
// failed for good, so a caller checks once at the end.
class Reader {
 public:
  Reader(const uint8_t* begin, size_t size) : begin_(begin), size_(size) {}

  bool ok() const { return ok_; }

  WORD word() {
    if (!need(2)) return 0;
    WORD v;
    std::memcpy(&v, begin_ + offset_, 2);
    offset_ += 2;
    return v;
  }
  DWORD dword() {
    if (!need(4)) return 0;
    DWORD v;
    std::memcpy(&v, begin_ + offset_, 4);
    offset_ += 4;
    return v;
  }
  short signedWord() { return static_cast<short>(word()); }
  BYTE byte() {
    if (!need(1)) return 0;
    return begin_[offset_++];
  }

  // A zero-terminated UTF-16 text.
  std::u16string text() {
    std::u16string out;
    for (;;) {
      WORD c = word();
      if (!ok_ || c == 0) return out;
      out += static_cast<char16_t>(c);
    }
  }

  TemplateName name() {
    TemplateName out;
    WORD first = word();
    if (!ok_ || first == 0) return out;
    if (first == 0xFFFF) {
      out.isOrdinal = true;
      out.ordinal = word();
      return out;
    }
    out.text += static_cast<char16_t>(first);
    out.text += text();
    return out;
  }

  std::vector<uint8_t> bytes(size_t n) {
    if (!need(n)) return {};
    std::vector<uint8_t> out(begin_ + offset_, begin_ + offset_ + n);
    offset_ += n;
    return out;
  }

  // Items start on a DWORD boundary of the template.
  void alignDword() {
    size_t pad = (4 - offset_ % 4) % 4;
    if (pad && !need(pad)) return;
    offset_ += pad;
  }

 private:
  bool need(size_t n) {
    if (ok_ && size_ - offset_ >= n) return true;
    ok_ = false;
    offset_ = size_;
    return false;
  }

  const uint8_t* begin_;
  size_t size_;
  size_t offset_ = 0;
  bool ok_ = true;
};

void readItem(Reader& in, bool extended, DialogItemTemplate& item) {
  in.alignDword();
  if (extended) {
    item.helpId = in.dword();
    item.exStyle = in.dword();
    item.style = in.dword();
  } else {
    item.style = in.dword();
    item.exStyle = in.dword();
  }
  item.x = in.signedWord();
  item.y = in.signedWord();
  item.cx = in.signedWord();
  item.cy = in.signedWord();
  item.id = extended ? in.dword() : in.word();
  item.className = in.name();
  item.title = in.name();
  WORD extra = in.word();
  if (extra == 0) return;
  if (extended) {
    item.creationData = in.bytes(extra);
  } else {
    item.creationData.resize(2);
    std::memcpy(item.creationData.data(), &extra, 2);
    std::vector<uint8_t> data = in.bytes(extra);
    item.creationData.insert(item.creationData.end(), data.begin(), data.end());
  }
}

}  // namespace

const char16_t* predefinedClassName(WORD atom) {
  switch (atom) {
    case 0x0080:
      return WC_BUTTON;
    case 0x0081:
      return WC_EDIT;
    case 0x0082:
      return WC_STATIC;
    case 0x0083:
      return WC_LISTBOX;
    case 0x0084:
      return WC_SCROLLBAR;
    case 0x0085:
      return WC_COMBOBOX;
    default:
      return nullptr;
  }
}

std::optional<DialogTemplate> parseDialogTemplate(const void* bytes, size_t size) {
  if (!bytes) return std::nullopt;
  Reader in(static_cast<const uint8_t*>(bytes), size);
  DialogTemplate t;
  WORD version = in.word();
  WORD signature = in.word();
  t.extended = in.ok() && version == 1 && signature == kExtendedSignature;
  if (t.extended) {
    t.helpId = in.dword();
    t.exStyle = in.dword();
    t.style = in.dword();
  } else {
    in = Reader(static_cast<const uint8_t*>(bytes), size);
    t.style = in.dword();
    t.exStyle = in.dword();
  }
  WORD count = in.word();
  t.x = in.signedWord();
  t.y = in.signedWord();
  t.cx = in.signedWord();
  t.cy = in.signedWord();
  t.menu = in.name();
  t.className = in.name();
  t.title = in.text();
  if (t.style & DS_SETFONT) {
    DialogFontTemplate font;
    font.pointSize = in.word();
    if (t.extended) {
      font.weight = in.word();
      font.italic = in.byte() != 0;
      font.charset = in.byte();
    }
    font.face = in.text();
    t.font = std::move(font);
  }
  if (!in.ok() || count > kMaxItems) return std::nullopt;
  t.items.resize(count);
  for (DialogItemTemplate& item : t.items) {
    readItem(in, t.extended, item);
    if (!in.ok()) return std::nullopt;
  }
  return t;
}

}  // namespace user
