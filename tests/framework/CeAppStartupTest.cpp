#include <gtest/gtest.h>
#include <windows.h>

#include "browser/BrowserWnd.h"
#include "framework/CeApp.h"
#include "kernel/Icons.h"

namespace {

// Start-up in this process: the headless device is 240 x 320 with the
// input panel hidden.
class CeAppStartupHere : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(g_app, nullptr);
    g_app->instance = GetModuleHandleW(nullptr);
  }
  void TearDown() override {
    if (g_mainWnd.hwnd != nullptr) DestroyWindow(g_mainWnd.hwnd);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    g_app->instance = nullptr;
  }
};

TEST_F(CeAppStartupHere, ShowsTheMainWindowWithTheProgramIconAtBothSizes) {
  ASSERT_EQ(g_app->Startup(nullptr, const_cast<LPWSTR>(u""), SW_SHOW), 0);
  HWND main = g_mainWnd.hwnd;
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(g_instance, GetModuleHandleW(nullptr));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN, WS_EX_CAPTIONOKBTN);
  RECT rect = {};
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 26);
  EXPECT_EQ(rect.right, 240);
  EXPECT_EQ(rect.bottom, 294);

  struct Case {
    WPARAM which;
    int size;
  };
  for (const Case& c : {Case{ICON_SMALL, 16}, Case{ICON_BIG, 32}}) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, c.which, 0));
    const kernel::Icon* image = kernel::iconFromHandle(icon);
    ASSERT_NE(image, nullptr) << c.size;
    EXPECT_EQ(image->width, c.size);
    EXPECT_EQ(image->height, c.size);
  }
}

TEST_F(CeAppStartupHere, AnotherRunningInstanceIsBroughtForwardInstead) {
  CeWnd running;
  ASSERT_TRUE(running.Create(nullptr, nullptr, 0, 26, 240, 268, u"Vantor", WS_VISIBLE, 0, nullptr, nullptr));
  HWND cover = CreateWindowExW(0, u"static", u"cover", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(cover);
  EXPECT_EQ(g_app->Startup(nullptr, const_cast<LPWSTR>(u""), SW_SHOW), 1);
  EXPECT_EQ(g_mainWnd.hwnd, nullptr);
  EXPECT_EQ(GetForegroundWindow(), running.hwnd);
  DestroyWindow(cover);
}

}  // namespace
