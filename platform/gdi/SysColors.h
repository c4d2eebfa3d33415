// The device's system colours (GetSysColor, GetSysColorBrush).
#pragma once

namespace gdi {

// Indexes 0 .. kSysColorCount - 1 are valid (COLOR_SCROLLBAR .. COLOR_STATICTEXT).
constexpr unsigned kSysColorCount = 27;

}  // namespace gdi
