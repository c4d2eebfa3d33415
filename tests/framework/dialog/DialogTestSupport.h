// Helpers of the dialog tests: a fixture leaving no window behind, modal steps, rectangles.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "../FatalBox.h"
#include "device/Device.h"
#include "framework/CeModelessMap.h"

namespace dialogtest {

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    device::Device::instance().script().clear();
    std::vector<HWND> windows;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
      windows.push_back(w);
    for (HWND w : windows)
      if (IsWindow(w)) DestroyWindow(w);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) continue;
    EXPECT_EQ(g_modelessMap.Count(), 0) << "a modeless dialog stayed registered";
  }
};

// Runs code once the modal loop that starts next waits for input.
inline void WhileModal(std::function<void()> step) { device::Device::instance().script().add(std::move(step)); }

// Runs script lines (taps, keys, presses) once the next loop waits.
inline void WhileModalScript(const std::string& text) {
  std::string error;
  ASSERT_TRUE(device::Device::instance().script().loadText(text, "dialog-test", error)) << error;
}

inline RECT WindowRect(HWND window) { RECT r = {}; GetWindowRect(window, &r); return r; }
inline RECT ClientRect(HWND window) { RECT r = {}; GetClientRect(window, &r); return r; }

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND window) {
  RECT rect = WindowRect(window);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// "" when the rectangle is centred on (x, y) as halving in whole pixels
// places it, else the rectangle.
inline std::string OffCentre(const RECT& r, int x, int y) {
  const bool centred = r.left == x - (r.right - r.left) / 2 && r.top == y - (r.bottom - r.top) / 2;
  return centred ? "" : Describe(r);
}

}  // namespace dialogtest
