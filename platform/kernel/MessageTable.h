// Message tables (RT_MESSAGETABLE) of a module: blocks of message ids, each
// message a counted entry of UTF-16 or 8-bit text.
#pragma once

#include <optional>
#include <string>

#include <windef.h>

#include "kernel/ResourceFile.h"

namespace kernel {

// The text of message id, or nothing when the table lacks it or is corrupt.
std::optional<std::u16string> findMessage(const ResourceIndex& resources, DWORD id);

}  // namespace kernel
