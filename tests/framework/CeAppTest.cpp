#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "browser/BrowserWnd.h"
#include "framework/CeApp.h"
#include "framework/CeModelessMap.h"
#include "framework/CeWnd.h"
#include "kernel/Icons.h"

namespace {

// Notes the keys, characters and commands that reach it.
struct KeyRecorder : CeWnd {
  std::string calls;
  LRESULT OnKeyDown(WPARAM key, UINT, UINT, bool* handled) override { return Note("key " + std::to_string(key), handled); }
  LRESULT OnChar(WPARAM c, UINT, UINT, bool* handled) override { return Note("char " + std::to_string(c), handled); }
  LRESULT OnCommand(WPARAM idAndCode, HWND, bool* handled) override {
    return Note("command " + std::to_string(LOWORD(idAndCode)) + "/" + std::to_string(HIWORD(idAndCode)), handled);
  }
  LRESULT Note(const std::string& call, bool* handled) {
    calls += call + ";";
    *handled = true;
    return 0;
  }
};

// Keys posted to a window, then the quit message, and the loop run to its
// end: a key the accelerators take comes as their command alone; Escape
// offered to dialog processing, only with a modeless dialog, comes as IDCANCEL.
TEST(CeAppRun, AMessageTakenByTheAcceleratorsIsNotDispatchedAndDialogKeysOnlyReachAModelessDialog) {
  ASSERT_NE(g_app, nullptr);
  ACCEL accel = {FVIRTKEY, 'A', 500};
  HACCEL table = CreateAcceleratorTableW(&accel, 1);
  ASSERT_NE(table, nullptr);
  const struct {
    HACCEL accelerators;
    bool modeless;
    std::vector<WPARAM> keys;
    int quitCode;
    const char* calls;
  } cases[] = {{table, false, {'A', 'B'}, 42, "command 500/1;key 66;char 98;"},
               {nullptr, false, {'B', VK_ESCAPE}, 0, "key 66;key 27;char 98;char 27;"},
               {nullptr, true, {VK_ESCAPE}, 0, "command 2/0;"}};
  for (const auto& c : cases) {
    KeyRecorder window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 50, 50, u"keys", WS_POPUP, 0, nullptr, nullptr));
    if (c.modeless) { ASSERT_TRUE(g_modelessMap.Add(window.hwnd, &window)); }
    g_app->accelerators = c.accelerators;
    for (WPARAM key : c.keys) PostMessageW(window.hwnd, WM_KEYDOWN, key, 1);
    PostQuitMessage(c.quitCode);
    EXPECT_EQ(g_app->Run(), c.quitCode);
    EXPECT_EQ(window.calls, c.calls);
    g_app->accelerators = nullptr;
    g_modelessMap.Remove(window.hwnd);
  }
  DestroyAcceleratorTable(table);
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
    EXPECT_EQ(std::make_pair(image->width, image->height), std::make_pair(size, size));
  }
  DestroyWindow(main);
  for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) continue;
  g_app->instance = nullptr;
}

// The main window fails when a class that binds no object took the generic name.
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


HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }
CeWnd* Object(uintptr_t value) { return reinterpret_cast<CeWnd*>(value); }

std::vector<uintptr_t> Keys(const CeModelessMap& map) {
  std::vector<uintptr_t> keys;
  CeModelessMap::Iterator it(map);
  for (HWND key = nullptr; it.Next(&key);) keys.push_back(reinterpret_cast<uintptr_t>(key));
  return keys;
}

TEST(CeModelessMap, IteratesBucketsInOrderRemovalUnlinksOnlyItsKeyAndTheLastReleasesEverything) {
  CeModelessMap map;
  EXPECT_FALSE(map.Remove(Handle(0x20)));
  EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
  for (uintptr_t key : {0x20, 0x10, 0x130, 0x110, 0x240}) ASSERT_TRUE(map.Add(Handle(key), Object(key)));
  // Buckets (handle >> 4) % 17: 0x110 -> 0; 0x10 -> 1; 0x20, 0x130, 0x240 -> 2 (latest first).
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x130, 0x20}));
  // Adding a key again replaces its value.
  ASSERT_TRUE(map.Add(Handle(0x130), Object(2)));
  EXPECT_EQ(std::make_tuple(map.Count(), map.Lookup(Handle(0x130)), map.Lookup(Handle(0x50))),
            std::make_tuple(5, Object(2), static_cast<CeWnd*>(nullptr)));

  EXPECT_TRUE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x350)));
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x20}));
  EXPECT_EQ(std::make_tuple(map.Count(), map.Lookup(Handle(0x240))), std::make_tuple(4, Object(0x240)));
  for (uintptr_t key : {0x110, 0x10, 0x240, 0x20}) EXPECT_TRUE(map.Remove(Handle(key)));

  // The last removal releases everything and the map starts afresh; 25 keys
  // need three node blocks.
  for (uintptr_t round = 0; round < 3; ++round) {
    auto key = [round](uintptr_t i) { return Handle((i + 100 * round) << 4); };
    for (uintptr_t i = 1; i <= 25; ++i) ASSERT_TRUE(map.Add(key(i), Object(i)));
    EXPECT_EQ(Keys(map).size(), 25u);
    for (uintptr_t i = 1; i <= 25; ++i) {
      EXPECT_EQ(map.Lookup(key(i)), Object(i));
      EXPECT_TRUE(map.Remove(key(i)));
    }
    EXPECT_EQ(std::make_tuple(map.Count(), Keys(map).size()), std::make_tuple(0, size_t(0)));
  }
}

}  // namespace
