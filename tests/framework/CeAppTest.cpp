#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "browser/BrowserWnd.h"
#include "framework/CeApp.h"
#include "framework/CeModelessMap.h"
#include "framework/CeWnd.h"
#include "kernel/Icons.h"

namespace {

// Notes the keys, characters and commands that reach it.
class KeyRecorder : public CeWnd {
 public:
  std::vector<std::string> calls;

  LRESULT OnKeyDown(WPARAM key, UINT, UINT, bool* handled) override { return Note("key " + std::to_string(key), handled); }
  LRESULT OnChar(WPARAM c, UINT, UINT, bool* handled) override { return Note("char " + std::to_string(c), handled); }
  LRESULT OnCommand(WPARAM idAndCode, HWND, bool* handled) override {
    return Note("command " + std::to_string(LOWORD(idAndCode)) + "/" + std::to_string(HIWORD(idAndCode)), handled);
  }
  bool Has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }

 private:
  LRESULT Note(const std::string& call, bool* handled) {
    calls.push_back(call);
    *handled = true;
    return 0;
  }
};

class CeAppRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(g_app, nullptr);
    ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 50, 50, u"keys", WS_POPUP, 0, nullptr, nullptr));
  }
  void TearDown() override {
    g_app->accelerators = nullptr;
    g_modelessMap.Remove(window.hwnd);
  }
  // Posts the keys, then the quit message, and runs the loop to its end.
  int RunWithKeys(std::initializer_list<WPARAM> keys, int quitCode = 0) {
    for (WPARAM key : keys) PostMessageW(window.hwnd, WM_KEYDOWN, key, 1);
    PostQuitMessage(quitCode);
    return g_app->Run();
  }
  KeyRecorder window;
};

TEST_F(CeAppRun, AMessageTakenByTheAcceleratorsIsNotDispatched) {
  ACCEL accel = {FVIRTKEY, 'A', 500};
  HACCEL table = CreateAcceleratorTableW(&accel, 1);
  ASSERT_NE(table, nullptr);
  g_app->accelerators = table;
  EXPECT_EQ(RunWithKeys({'A', 'B'}, 42), 42);
  DestroyAcceleratorTable(table);
  EXPECT_TRUE(window.Has("command 500/1"));
  EXPECT_FALSE(window.Has("key 65"));
  EXPECT_TRUE(window.Has("key 66"));
}

TEST_F(CeAppRun, KeysAreTranslatedAndOfferedToDialogProcessingOnlyWithAModelessDialog) {
  // Offered to dialog processing, Escape comes back as IDCANCEL.
  RunWithKeys({'B', VK_ESCAPE});
  EXPECT_TRUE(window.Has("char 98"));
  EXPECT_TRUE(window.Has("key 27"));
  EXPECT_FALSE(window.Has("command 2/0"));

  window.calls.clear();
  ASSERT_TRUE(g_modelessMap.Add(window.hwnd, &window));
  RunWithKeys({VK_ESCAPE});
  EXPECT_TRUE(window.Has("command 2/0"));
  EXPECT_FALSE(window.Has("key 27"));
}

TEST(CeAppStartup, ShowsTheMainWindowWithTheProgramIconAtBothSizes) {
  ASSERT_NE(g_app, nullptr);
  g_app->instance = GetModuleHandleW(nullptr);
  ASSERT_EQ(g_app->Startup(nullptr, const_cast<LPWSTR>(u""), SW_SHOW), 0);
  HWND main = g_mainWnd.hwnd;
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  for (int size : {16, 32}) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, size == 16 ? ICON_SMALL : ICON_BIG, 0));
    const kernel::Icon* image = kernel::iconFromHandle(icon);
    ASSERT_NE(image, nullptr) << size;
    EXPECT_EQ(image->width, size);
    EXPECT_EQ(image->height, size);
  }
  DestroyWindow(main);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  g_app->instance = nullptr;
}

// Creation of the main window fails when the generic class name is already
// taken by a class that binds no object.
TEST(CeAppStartup, EndsWithCodeOneWhenTheMainWindowCannotBeCreated) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW squatter = {};
        squatter.lpfnWndProc = &DefWindowProcW;
        squatter.hInstance = instance;
        squatter.lpszClassName = CeWnd::kGenericClassName;
        if (RegisterClassW(&squatter) == 0) std::exit(99);
        std::exit(WinMain(instance, nullptr, const_cast<LPWSTR>(u""), SW_SHOW));
      },
      ::testing::ExitedWithCode(1), "");
}

}  // namespace
