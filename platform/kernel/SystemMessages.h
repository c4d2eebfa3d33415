// The system's message texts for its error codes, as FormatMessageW reports
// them with FORMAT_MESSAGE_FROM_SYSTEM.
#pragma once

#include <windef.h>

namespace kernel {

// The text for code, each ending in "\r\n" as the device has them; null for
// a code the system has no text for.
const WCHAR* systemMessage(DWORD code);

}  // namespace kernel
