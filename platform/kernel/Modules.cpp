// Bootstrap; replaced by the kernel's module and resource support.
#include <windows.h>

HMODULE WINAPI GetModuleHandleW(LPCWSTR) { return reinterpret_cast<HMODULE>(0x10000); }
