// The platform's own global window classes: the desktop, "static",
// "button" and "Dialog". Later modules add theirs (combo and list boxes,
// the common controls) the same way.
#pragma once

#include <windows.h>

namespace user {

inline constexpr const char16_t* kDesktopClassName = u"#32769";
inline constexpr const char16_t* kDialogClassName = u"Dialog";

void registerSystemClasses();
// Registers one global class of the platform.
void registerSystemClass(LPCWSTR name, WNDPROC proc, UINT style, int windowExtra, HBRUSH background);

}  // namespace user
