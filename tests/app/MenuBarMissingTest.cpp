// The main window of a module without the program's resources: the menu bar
// cannot be made, which the window says before it goes on without one.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "browser/BrowserWnd.h"
#include "device/Device.h"
#include "kernel/Utf.h"

namespace {

std::string TextOf(HWND window) {
  char16_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return kernel::utf16ToUtf8(text);
}

TEST(MainWindowWithoutResources, SaysTheMenuBarFailedAndWorksWithoutIt) {
  device::Device::instance().configure(device::Options{}, nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  std::string box;
  auto& script = device::Device::instance().script();
  script.add([&] {
    HWND shown = GetForegroundWindow();
    box = TextOf(shown);
    for (HWND child = GetWindow(shown, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) box += "|" + TextOf(child);
  });
  std::string error;
  ASSERT_TRUE(script.loadText("press \"OK\"\n", "menu-bar-test", error)) << error;

  BrowserWnd window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 26, 240, 268, u"Vantor", WS_VISIBLE, 0, nullptr, nullptr));
  EXPECT_EQ(box, "Error||SHCreateMenuBar Failed|OK");
  EXPECT_TRUE(IsWindow(window.treeView));
  EXPECT_TRUE(IsWindow(window.listView));
  EXPECT_EQ(FindWindowW(u"menu_worker", nullptr), nullptr);
}

}  // namespace
