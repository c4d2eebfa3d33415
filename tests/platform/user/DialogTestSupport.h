// Helpers of the dialog manager's tests: templates written byte by byte as
// the resource compiler lays them out, and running code while a modal
// dialog waits.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "device/Device.h"

namespace usertest {

// A DLGTEMPLATE (or DLGTEMPLATEEX) in memory, DWORD-aligned.
class TemplateBytes {
 public:
  TemplateBytes& word(uint16_t v) { return put(&v, 2); }
  TemplateBytes& dword(uint32_t v) { return put(&v, 4); }
  TemplateBytes& text(std::u16string_view s) {
    for (char16_t c : s) word(static_cast<uint16_t>(c));
    return word(0);
  }
  TemplateBytes& ordinal(uint16_t v) { return word(0xFFFF).word(v); }
  TemplateBytes& align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
    return *this;
  }
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

  const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(storage().data()); }
  size_t size() const { return bytes_.size(); }
  LPCDLGTEMPLATEW dialogTemplate() const { return reinterpret_cast<LPCDLGTEMPLATEW>(storage().data()); }

 private:
  TemplateBytes& put(const void* p, size_t n) {
    auto* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
    return *this;
  }
  // DWORD-aligned copy for the calls that read it.
  const std::vector<uint32_t>& storage() const {
    aligned_.assign((bytes_.size() + 3) / 4, 0);
    if (!bytes_.empty()) std::memcpy(aligned_.data(), bytes_.data(), bytes_.size());
    return aligned_;
  }
  std::vector<uint8_t> bytes_;
  mutable std::vector<uint32_t> aligned_;
};

// Runs code once the modal loop that starts next waits for input.
inline void whileModal(std::function<void()> step) { device::Device::instance().script().add(std::move(step)); }

}  // namespace usertest
