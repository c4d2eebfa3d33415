// The device with its chrome: windows that record what reaches them and
// paint themselves in a colour of their own, the stylus, the screen's pixels.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "device/Device.h"
#include "display/Backend.h"
#include "shell/Chrome.h"

namespace chrometest {

struct Received { HWND hwnd; UINT msg; WPARAM wParam; LPARAM lParam; };

inline std::vector<Received> received;

inline std::vector<Received> receivedOf(UINT msg) {
  std::vector<Received> out;
  std::copy_if(received.begin(), received.end(), std::back_inserter(out), [msg](const Received& r) { return r.msg == msg; });
  return out;
}

inline std::u16string typed() {
  std::u16string text;
  for (const Received& r : receivedOf(WM_CHAR)) text.push_back(static_cast<char16_t>(r.wParam));
  return text;
}

inline std::map<HWND, COLORREF> colours;

inline LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  received.push_back({hwnd, msg, wParam, lParam});
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(colours.count(hwnd) ? colours[hwnd] : RGB(255, 255, 255));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);
  if (msg == WM_LBUTTONUP) ReleaseCapture();
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A visible top-level window in front of the others.
inline HWND window(const char16_t* title, RECT rect, COLORREF colour, DWORD exStyle = 0) {
  HWND hwnd = CreateWindowExW(exStyle, u"ChromeTestWnd", title, WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  colours[hwnd] = colour;
  SetForegroundWindow(hwnd);
  return hwnd;
}

inline void stylus(display::InputEvent::Type type, POINT p) { device::Device::instance().pushInput({type, p.x, p.y}); }
inline void tap(POINT p) {
  stylus(display::InputEvent::Type::StylusDown, p);
  stylus(display::InputEvent::Type::StylusUp, p);
}

// Input the chrome takes may post messages after the queue was looked at:
// the queue is quiet when it is found empty twice.
inline void pump() {
  MSG msg;
  for (int i = 0, quiet = 0; i < 10000 && quiet < 2; ++i) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ++quiet;
      continue;
    }
    quiet = 0;
    if (msg.message == WM_QUIT) received.push_back({nullptr, WM_QUIT, msg.wParam, 0});
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

inline void settle() {
  pump();
  device::Device::instance().refreshScreen();
}

// The work area: below the navigation bar, above the menu bar.
constexpr RECT kAboveMenuBar{0, 26, 240, 294};

inline device::Device& dev() { return device::Device::instance(); }
inline POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
inline uint32_t pixel(int x, int y) { return device::Device::instance().backend().framebuffer().pixel(x, y); }
// A colour as the framebuffer holds it.
inline uint32_t fb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }
inline shell::Chrome& chrome() { return *device::Device::instance().chrome(); }

inline std::vector<uint32_t> pixels(const RECT& r) {
  std::vector<uint32_t> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(pixel(x, y));
  return out;
}

inline int countColour(const RECT& r, COLORREF colour) {
  const std::vector<uint32_t> all = pixels(r);
  return static_cast<int>(std::count(all.begin(), all.end(), fb(colour)));
}

class ChromeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device::Options options;
    options.chrome = true;
    device::Device::instance().configure(options, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.lpszClassName = u"ChromeTestWnd";
    RegisterClassW(&wc);
    received.clear();
  }
  void TearDown() override {
    while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    device::Device::instance().configure(device::Options{}, nullptr);
    received.clear();
    colours.clear();
  }
};

}  // namespace chrometest
