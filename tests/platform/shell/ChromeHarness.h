// The device with its chrome, for the chrome's tests: windows that record
// what reaches them and paint themselves in a colour of their own, the
// stylus, and the screen's pixels.
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
// What reached windows with this code, in order.
std::vector<Received> receivedOf(UINT msg);
// The characters WM_CHAR brought, in order.
std::u16string typed();

// A top-level window painting its client area in colour; it resizes itself
// to the visible desktop when it hears of the input panel, as a program's
// main window does.
HWND window(const char16_t* title, RECT rect, COLORREF colour, DWORD exStyle = 0, bool followPanel = false);

void tap(POINT p);
void stylus(display::InputEvent::Type type, POINT p);
// Takes and dispatches what is waiting, translating keys, never waiting.
void pump();
// Pumps, then lets the device bring the screen up to date.
void settle();

POINT centre(const RECT& r);
uint32_t pixel(int x, int y);
// The pixels of r, row by row.
std::vector<uint32_t> pixels(const RECT& r);
// How many pixels of r have this colour.
int countColour(const RECT& r, COLORREF colour);
uint32_t fb(COLORREF colour);  // a COLORREF as the framebuffer holds it

shell::Chrome& chrome();

class ChromeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace chrometest
