// Helpers of the dialog manager's tests: templates written word by word as the resource compiler lays them out,
// and running code while a modal dialog waits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "device/Device.h"

namespace usertest {

// A DLGTEMPLATE (or DLGTEMPLATEEX) in memory, DWORD-aligned: words in a
// vector, whose storage is aligned for any scalar.
class TemplateBytes {
 public:
  TemplateBytes& word(uint16_t v) {
    words_.push_back(v);
    return *this;
  }
  TemplateBytes& dword(uint32_t v) { return word(uint16_t(v & 0xFFFF)).word(uint16_t(v >> 16)); }
  TemplateBytes& text(std::u16string_view s) {
    for (char16_t c : s) word(static_cast<uint16_t>(c));
    return word(0);
  }
  TemplateBytes& ordinal(uint16_t v) { return word(0xFFFF).word(v); }
  TemplateBytes& align() { return words_.size() % 2 ? word(0) : *this; }
  // Header of a DIALOG template.
  TemplateBytes& header(uint32_t style, uint32_t exStyle, uint16_t count, short x, short y, short cx, short cy) {
    return dword(style).dword(exStyle).word(count).word(uint16_t(x)).word(uint16_t(y)).word(uint16_t(cx)).word(
        uint16_t(cy));
  }
  // One control of a DIALOG template, by class atom, with a text title.
  TemplateBytes& item(uint32_t style, short x, short y, short cx, short cy, uint16_t id, uint16_t atom,
                      std::u16string_view title) {
    align();
    dword(style).dword(0).word(uint16_t(x)).word(uint16_t(y)).word(uint16_t(cx)).word(uint16_t(cy)).word(id);
    return ordinal(atom).text(title).word(0);
  }

  const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(words_.data()); }
  size_t size() const { return words_.size() * 2; }
  LPCDLGTEMPLATEW dialogTemplate() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

 private:
  std::vector<uint16_t> words_;
};

// Runs code once the modal loop that starts next waits for input.
inline void whileModal(std::function<void()> step) { device::Device::instance().script().add(std::move(step)); }

}  // namespace usertest
