#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/CeApp.h"
#include "framework/CeModelessMap.h"
#include "framework/CeWnd.h"

namespace {

// Notes the keys, characters and commands that reach it.
class KeyRecorder : public CeWnd {
 public:
  std::vector<std::string> calls;

  LRESULT OnKeyDown(WPARAM key, UINT, UINT, bool* handled) override {
    calls.push_back("key " + std::to_string(key));
    *handled = true;
    return 0;
  }
  LRESULT OnChar(WPARAM character, UINT, UINT, bool* handled) override {
    calls.push_back("char " + std::to_string(character));
    *handled = true;
    return 0;
  }
  LRESULT OnCommand(WPARAM idAndCode, HWND, bool* handled) override {
    calls.push_back("command " + std::to_string(LOWORD(idAndCode)) + "/" + std::to_string(HIWORD(idAndCode)));
    *handled = true;
    return 0;
  }

  bool Has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
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
  int RunWithKeys(std::initializer_list<WPARAM> keys, int quitCode) {
    for (WPARAM key : keys) PostMessageW(window.hwnd, WM_KEYDOWN, key, 1);
    PostQuitMessage(quitCode);
    return g_app->Run();
  }
  KeyRecorder window;
};

TEST_F(CeAppRun, ReturnsTheQuitCode) { EXPECT_EQ(RunWithKeys({}, 42), 42); }

TEST_F(CeAppRun, AMessageTakenByTheAcceleratorsIsNotDispatched) {
  ACCEL accel = {FVIRTKEY, 'A', 500};
  HACCEL table = CreateAcceleratorTableW(&accel, 1);
  ASSERT_NE(table, nullptr);
  g_app->accelerators = table;
  EXPECT_EQ(RunWithKeys({'A', 'B'}, 0), 0);
  DestroyAcceleratorTable(table);
  EXPECT_TRUE(window.Has("command 500/1"));
  EXPECT_FALSE(window.Has("key 65"));
  EXPECT_TRUE(window.Has("key 66"));
}

TEST_F(CeAppRun, KeysAreTranslatedBeforeTheyAreDispatched) {
  RunWithKeys({'B'}, 0);
  EXPECT_TRUE(window.Has("key 66"));
  EXPECT_TRUE(window.Has("char 98"));
}

TEST_F(CeAppRun, NoMessageIsOfferedToDialogProcessingWithoutAModelessDialog) {
  // Offered to dialog processing, Escape would come back as IDCANCEL.
  RunWithKeys({VK_ESCAPE}, 0);
  EXPECT_TRUE(window.Has("key 27"));
  EXPECT_FALSE(window.Has("command 2/0"));
}

TEST_F(CeAppRun, AModelessDialogIsOfferedItsMessagesFirst) {
  ASSERT_TRUE(g_modelessMap.Add(window.hwnd, &window));
  RunWithKeys({VK_ESCAPE}, 0);
  EXPECT_TRUE(window.Has("command 2/0"));
  EXPECT_FALSE(window.Has("key 27"));
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
