// Bootstrap host entry; replaced by the device module's real host.
#include <windows.h>

int main() { return WinMain(GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(u""), SW_SHOW); }
