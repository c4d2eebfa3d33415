// The device with its chrome: windows that record what reaches them and
// paint themselves in a colour of their own, the stylus, the screen's pixels.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "device/Device.h"
#include "shell/Chrome.h"

namespace chrometest {

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Received>& received();
std::vector<Received> receivedOf(UINT msg);
std::u16string typed();  // what WM_CHAR brought

// followPanel: resizes itself to the visible desktop on WM_SETTINGCHANGE, as
// a program's main window does.
HWND window(const char16_t* title, RECT rect, COLORREF colour, DWORD exStyle = 0, bool followPanel = false);

void stylus(display::InputEvent::Type type, POINT p);
void tap(POINT p);
void pump();    // dispatches what is waiting, never waiting
void settle();  // pumps, then brings the screen up to date

POINT centre(const RECT& r);
uint32_t pixel(int x, int y);
std::vector<uint32_t> pixels(const RECT& r);  // row by row
int countColour(const RECT& r, COLORREF colour);
uint32_t fb(COLORREF colour);  // as the framebuffer holds it
shell::Chrome& chrome();

class ChromeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace chrometest
