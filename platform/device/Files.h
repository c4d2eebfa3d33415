// Files the host writes for the person running it (dumps, screenshots): a
// reader never sees half of one.
#pragma once

#include <string>
#include <string_view>

namespace device {

// Writes a temporary file next to path and renames it into place. On failure
// error says why and nothing is left behind.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace device
