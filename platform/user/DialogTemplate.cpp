#include "user/DialogTemplate.h"

#include <cstring>

#include "user/TemplateReader.h"

namespace user {

namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
// More controls than any screen of the device could show; a count above
// this is a corrupt template rather than a dialog.
constexpr size_t kMaxItems = 4096;

// A field that is empty, an ordinal (0xFFFF then the number) or a text.
TemplateName readName(TemplateReader& in) {
  TemplateName out;
  WORD first = in.word();
  if (!in.ok() || first == 0) return out;
  if (first == 0xFFFF) {
    out.isOrdinal = true;
    out.ordinal = in.word();
    return out;
  }
  out.text += static_cast<char16_t>(first);
  out.text += in.text();
  return out;
}

void readItem(TemplateReader& in, bool extended, DialogItemTemplate& item) {
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
  item.className = readName(in);
  item.title = readName(in);
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
  TemplateReader in(static_cast<const uint8_t*>(bytes), size);
  DialogTemplate t;
  WORD version = in.word();
  WORD signature = in.word();
  t.extended = in.ok() && version == 1 && signature == kExtendedSignature;
  if (t.extended) {
    t.helpId = in.dword();
    t.exStyle = in.dword();
    t.style = in.dword();
  } else {
    in = TemplateReader(static_cast<const uint8_t*>(bytes), size);
    t.style = in.dword();
    t.exStyle = in.dword();
  }
  WORD count = in.word();
  t.x = in.signedWord();
  t.y = in.signedWord();
  t.cx = in.signedWord();
  t.cy = in.signedWord();
  t.menu = readName(in);
  t.className = readName(in);
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
