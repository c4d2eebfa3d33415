// Windows for the device's tests: a class that records the settings changes
// it hears of, and a fixture that puts the device back as the tests found it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <utility>
#include <vector>

#include "device/Device.h"

// RECT lives in the global namespace, so its operators do too.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace device::testing {

inline std::vector<std::pair<HWND, WPARAM>> settingChanges;
inline constexpr const char16_t* kTestClass = u"DeviceTestWnd";

inline HWND topLevel(const char16_t* title, RECT r, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, kTestClass, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class DeviceFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Device::instance().configure(Options{}, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg == WM_SETTINGCHANGE) settingChanges.push_back({hwnd, wParam});
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    };
    wc.lpszClassName = kTestClass;
    RegisterClassW(&wc);  // already registered by an earlier test: fine
    settingChanges.clear();
  }
  void TearDown() override {
    while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    display::InputEvent event;
    while (Device::instance().backend().pollEvent(event)) {
    }
    Device::instance().configure(Options{}, nullptr);
  }
};

}  // namespace device::testing
