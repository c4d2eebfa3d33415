// Host text (UTF-8) to the device's UTF-16 and back.
#pragma once

#include <string>
#include <string_view>

namespace kernel {

// Malformed sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace kernel
