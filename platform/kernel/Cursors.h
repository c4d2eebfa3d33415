// The cursor is device state: one current cursor for the whole device.
#pragma once

namespace kernel {

// The current cursor's name for the window dump: "arrow", "wait", "ibeam",
// "cross", "sizewe", "sizens", "sizeall", "no", "custom" for a cursor that is
// not a system cursor, "none" when no cursor is set.
const char* cursorName();

}  // namespace kernel
