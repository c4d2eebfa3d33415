// Bootstrap entry; replaced by the application object.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return 0; }
