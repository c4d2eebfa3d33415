// A dialog template, DLGTEMPLATE or DLGTEMPLATEEX as the resource compiler
// writes it, read into plain values. The bytes may come from a resource
// file: every read is bounded, and a template that runs past its end or
// holds an unterminated text is refused whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace user {

// A field that is either a 16-bit ordinal or a text (the template's
// sz_Or_Ord); neither when the template leaves it empty.
struct TemplateName {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::u16string text;

  bool empty() const { return !isOrdinal && text.empty(); }
};

struct DialogItemTemplate {
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  DWORD id = 0;  // 16 bits in a DIALOG template, 32 in a DIALOGEX one
  TemplateName className;
  TemplateName title;
  // What the control gets in CREATESTRUCT's lpCreateParams: for a DIALOG
  // template the size word and the bytes after it, for DIALOGEX the bytes.
  std::vector<uint8_t> creationData;
};

struct DialogFontTemplate {
  WORD pointSize = 0;
  WORD weight = FW_NORMAL;
  bool italic = false;
  BYTE charset = DEFAULT_CHARSET;
  std::u16string face;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  TemplateName menu;
  TemplateName className;
  std::u16string title;
  std::optional<DialogFontTemplate> font;  // with DS_SETFONT
  std::vector<DialogItemTemplate> items;
};

// Reads a template from at most size bytes; nothing when it is malformed.
std::optional<DialogTemplate> parseDialogTemplate(const void* bytes, size_t size);

// The class a template names by atom: 0x0080 "button", 0x0081 "edit",
// 0x0082 "static", 0x0083 "listbox", 0x0084 "scrollbar", 0x0085
// "combobox"; null for any other atom.
const char16_t* predefinedClassName(WORD atom);

}  // namespace user
