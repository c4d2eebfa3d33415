// CloseHandle closes handles of several kinds; each kind registers how.
#pragma once

#include <cstdint>

#include <windef.h>

namespace kernel {

// close returns false for a handle that its kind does not know.
using HandleCloser = bool (*)(HANDLE handle);
void registerHandleCloser(uint32_t tag, HandleCloser close);

}  // namespace kernel
