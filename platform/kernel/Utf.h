// Host text (UTF-8) to the device's UTF-16 and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kernel {

// Malformed sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
// Refuses the whole text when any sequence is malformed (overlong forms,
// surrogates, truncated sequences).
std::optional<std::u16string> utf8ToUtf16Strict(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// A character of the device's 8-bit code page (Windows-1252).
char16_t widenAnsi(unsigned char c);

}  // namespace kernel
