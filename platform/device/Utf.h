// UTF-8 on the host's side (files, options, the terminal), UTF-16 on the
// device's side.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace device {

// Strict: overlong forms, surrogates and truncated sequences are refused.
std::optional<std::u16string> utf8ToUtf16(std::string_view text);
// A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace device
