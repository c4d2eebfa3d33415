#include <aygshell.h>

#include <algorithm>

#include "TestWindows.h"

namespace device::testing {
namespace {

using DeviceTest = DeviceFixture;

SIPINFO sipInfo() {
  SIPINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  return info;
}

TEST_F(DeviceTest, UnconfiguredIsAPortraitPocketPcWhosePanelTakesEightyPixelsAboveTheMenuBar) {
  Device& device = Device::instance();
  EXPECT_FALSE(device.backend().interactive());
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
  EXPECT_EQ(device.workArea(), (RECT{0, 26, 240, 294}));
  SIPINFO hidden = sipInfo();
  EXPECT_EQ(hidden.fdwFlags, DWORD{SIPF_DOCKED});
  EXPECT_EQ(hidden.rcVisibleDesktop, (RECT{0, 26, 240, 320}));
  EXPECT_EQ(hidden.rcSipRect, (RECT{0, 214, 240, 294}));
  EXPECT_EQ(hidden.dwImDataSize, 0u);

  device.setSipVisible(true);
  SIPINFO shown = sipInfo();
  EXPECT_EQ(shown.fdwFlags, DWORD{SIPF_ON | SIPF_DOCKED});
  EXPECT_EQ(shown.rcVisibleDesktop, (RECT{0, 26, 240, 214}));
  EXPECT_EQ(shown.rcSipRect, (RECT{0, 214, 240, 294}));
  EXPECT_EQ(device.workArea(), (RECT{0, 26, 240, 294}));
}

TEST_F(DeviceTest, SipInfoRefusesAWrongSizeOrAction) {
  SIPINFO info{};
  info.cbSize = 48;  // the 32-bit device's size is not this host's
  SIPINFO right{};
  right.cbSize = sizeof right;
  for (auto [action, target] : {std::pair{UINT(SPI_GETSIPINFO), &info}, {UINT(SPI_GETSIPINFO), nullptr},
                                {UINT(SPI_GETWORKAREA), &right}}) {
    SetLastError(0);
    EXPECT_FALSE(SHSipInfo(action, 0, target, 0)) << action;
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
  }
  EXPECT_EQ(info.fdwFlags, 0u);
}

TEST_F(DeviceTest, ShowingThePanelTellsEveryTopLevelWindow) {
  HWND a = topLevel(u"a", {0, 26, 240, 294});
  HWND b = topLevel(u"b", {20, 40, 100, 100}, WS_POPUP);  // hidden windows hear of it too
  SIPINFO info{};
  info.cbSize = sizeof info;
  info.fdwFlags = SIPF_ON;
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_TRUE(Device::instance().sipVisible());
  auto changes = settingChanges();
  std::sort(changes.begin(), changes.end());
  auto expected = std::vector<std::pair<HWND, WPARAM>>{{a, SPI_SETSIPINFO}, {b, SPI_SETSIPINFO}};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(changes, expected);

  // Asking for the state it is in changes nothing and tells nobody.
  settingChanges().clear();
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_TRUE(settingChanges().empty());

  info.fdwFlags = SIPF_OFF;
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_FALSE(Device::instance().sipVisible());
  EXPECT_EQ(settingChanges().size(), 2u);
}

TEST_F(DeviceTest, RotationSwapsTheScreenAndRefitsWindowsThatFilledTheDesktop) {
  HWND visible = topLevel(u"visible desktop", {0, 26, 240, 320});
  HWND work = topLevel(u"work area", {0, 26, 240, 294});
  HWND full = topLevel(u"full screen", {0, 0, 240, 320});
  HWND small = topLevel(u"small", {10, 40, 110, 140});

  Device::instance().rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  EXPECT_EQ(Device::instance().backend().framebuffer().width(), 320);
  EXPECT_EQ(Device::instance().backend().framebuffer().height(), 240);
  EXPECT_EQ(windowRect(visible), (RECT{0, 26, 320, 240}));
  EXPECT_EQ(windowRect(work), (RECT{0, 26, 320, 214}));
  EXPECT_EQ(windowRect(full), (RECT{0, 0, 320, 240}));
  EXPECT_EQ(windowRect(small), (RECT{10, 40, 110, 140}));

  std::vector<HWND> told;
  for (auto [hwnd, wParam] : settingChanges()) {
    EXPECT_EQ(wParam, WPARAM{Device::kSettingChangeReset});
    told.push_back(hwnd);
  }
  std::sort(told.begin(), told.end());
  std::vector<HWND> all{visible, work, full, small};
  std::sort(all.begin(), all.end());
  EXPECT_EQ(told, all);

  Device::instance().rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
  EXPECT_EQ(windowRect(visible), (RECT{0, 26, 240, 320}));
}

TEST_F(DeviceTest, RotationWithThePanelShownKeepsItsHeight) {
  Device& device = Device::instance();
  device.setSipVisible(true);
  HWND above = topLevel(u"above the panel", device.visibleDesktop());
  device.rotate();
  EXPECT_EQ(windowRect(above), (RECT{0, 26, 320, 134}));
  EXPECT_EQ(device.sipRect(), (RECT{0, 134, 320, 214}));
}

}  // namespace
}  // namespace device::testing
