// The device's screen, its input panel and its turning, and its screenshots.
#include <aygshell.h>
#include <png.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "TestWindows.h"
#include "device/Files.h"
#include "display/Png.h"

namespace device::testing {
namespace {

using DeviceTest = DeviceFixture;

RECT windowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// The pixels of a PNG file as libpng's own reader sees them, apart from the module's decoder.
std::vector<uint32_t> readWithLibpng(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  std::vector<uint32_t> pixels;
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
      pixels.push_back(uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
  return pixels;
}

SIPINFO sipInfo() {
  SIPINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  return info;
}

TEST_F(DeviceTest, UnconfiguredIsAPortraitPocketPcWhosePanelTakesEightyPixelsAndWrongSipRequestsAreRefused) {
  Device& device = Device::instance();
  EXPECT_FALSE(device.backend().interactive());
  EXPECT_EQ(std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), std::pair(240, 320));
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    device.setSipVisible(shown);
    SIPINFO info = sipInfo();
    EXPECT_EQ(info.fdwFlags, shown ? DWORD{SIPF_ON | SIPF_DOCKED} : DWORD{SIPF_DOCKED});
    EXPECT_EQ(info.rcVisibleDesktop, (RECT{0, 26, 240, shown ? 214 : 320}));
    EXPECT_EQ(info.rcSipRect, (RECT{0, 214, 240, 294}));
    EXPECT_EQ(info.dwImDataSize, 0u);
    EXPECT_EQ(device.workArea(), (RECT{0, 26, 240, 294}));
  }
  // A wrong size or action is refused.
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
  using Told = std::set<std::pair<HWND, WPARAM>>;
  EXPECT_EQ(Told(settingChanges.begin(), settingChanges.end()), (Told{{a, SPI_SETSIPINFO}, {b, SPI_SETSIPINFO}}));
  EXPECT_EQ(settingChanges.size(), 2u);

  // Asking for the state it is in changes nothing and tells nobody.
  settingChanges.clear();
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_TRUE(settingChanges.empty());

  info.fdwFlags = SIPF_OFF;
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_FALSE(Device::instance().sipVisible());
  EXPECT_EQ(settingChanges.size(), 2u);
}

TEST_F(DeviceTest, RotationSwapsTheScreenAndRefitsWindowsThatFilledTheDesktop) {
  HWND visible = topLevel(u"visible desktop", {0, 26, 240, 320});
  HWND work = topLevel(u"work area", {0, 26, 240, 294});
  HWND full = topLevel(u"full screen", {0, 0, 240, 320});
  HWND small = topLevel(u"small", {10, 40, 110, 140});
  EXPECT_EQ(Device::instance().menuBarRect(), (RECT{0, 294, 240 - Device::kSipButtonWidth, 320}));
  HWND menuBar = topLevel(u"", Device::instance().menuBarRect());

  Device::instance().rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  EXPECT_EQ(Device::instance().backend().framebuffer().width(), 320);
  EXPECT_EQ(Device::instance().backend().framebuffer().height(), 240);
  EXPECT_EQ(windowRect(visible), (RECT{0, 26, 320, 240}));
  EXPECT_EQ(windowRect(work), (RECT{0, 26, 320, 214}));
  EXPECT_EQ(windowRect(full), (RECT{0, 0, 320, 240}));
  EXPECT_EQ(windowRect(small), (RECT{10, 40, 110, 140}));
  EXPECT_EQ(windowRect(menuBar), (RECT{0, 214, 320 - Device::kSipButtonWidth, 240})) << "follows the strip";
  EXPECT_EQ(Device::instance().menuStripRect(), (RECT{0, 214, 320, 240}));

  std::set<HWND> told;
  for (auto [hwnd, wParam] : settingChanges) {
    EXPECT_EQ(wParam, WPARAM{Device::kSettingChangeReset});
    told.insert(hwnd);
  }
  EXPECT_EQ(told, (std::set<HWND>{visible, work, full, small, menuBar}));

  Device::instance().rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
  EXPECT_EQ(windowRect(visible), (RECT{0, 26, 240, 320}));
  // With the panel shown it keeps its height.
  Device::instance().setSipVisible(true);
  HWND above = topLevel(u"above the panel", Device::instance().visibleDesktop());
  Device::instance().rotate();
  EXPECT_EQ(windowRect(above), (RECT{0, 26, 320, 134}));
  EXPECT_EQ(Device::instance().sipRect(), (RECT{0, 134, 320, 214}));
}

TEST_F(DeviceTest, AGreyScaleScreenSaysTwoBitsAndItsScreenshotsHoldFourGreys) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
  Options options;
  options.depth = 2;
  Device::instance().configure(options, nullptr);
  EXPECT_EQ(std::pair(GetDeviceCaps(screen, BITSPIXEL), GetDeviceCaps(screen, NUMCOLORS)), std::pair(2, 4));
  ReleaseDC(nullptr, screen);
  // The grey nearest to the luminance, on both sides of two midpoints.
  const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x2A2A2A, 0x2B2B2B, 0x7F7F7F, 0x808080, 0xD5D5D5};
  const uint32_t greys[] = {0x555555, 0xAAAAAA, 0x000000, 0x555555, 0x555555, 0xAAAAAA, 0xFFFFFF};
  display::Framebuffer& fb = Device::instance().backend().framebuffer();
  for (size_t i = 0; i < fb.pixels().size(); ++i) fb.row(0)[i] = i < 7 ? colours[i] : uint32_t(i * 7919) & 0xFFFFFF;
  std::string png, error;
  ASSERT_TRUE(display::encodePng(fb, png, error)) << error;
  auto shot = display::decodePng(png, error);
  ASSERT_TRUE(shot) << error;
  EXPECT_EQ(std::set(shot->pixels().begin(), shot->pixels().end()),
            (std::set<uint32_t>{0, 0x555555, 0xAAAAAA, 0xFFFFFF}));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(shot->pixel(i, 0), greys[i]) << std::hex << colours[i];
}

TEST(Png, ScreenshotIsAPngOfTheScreensSizeAndColoursWrittenInPlaceOfTheOldFile) {
  display::Framebuffer screen(320, 240);
  for (size_t i = 0; i < screen.pixels().size(); ++i) screen.row(0)[i] = uint32_t(i * 7919 + i / 320 * 9973) & 0xFFFFFF;
  std::string bytes, error;
  ASSERT_TRUE(display::encodePng(screen, bytes, error)) << error;
  // Written over an older file, with no temporary left behind.
  const std::string path = std::string(VANTOR_TEST_BINARY_DIR) + "/device-screen.png";
  ASSERT_TRUE(writeFileAtomically(path, "older", error) && writeFileAtomically(path, bytes, error)) << error;
  EXPECT_FALSE(std::ifstream(path + ".tmp-" + std::to_string(getpid())).good());
  int width = 0, height = 0;
  EXPECT_TRUE(readWithLibpng(path, width, height) == screen.pixels()) << "as libpng reads it";
  EXPECT_EQ(std::pair(width, height), std::pair(320, 240));
  auto back = display::decodePng(bytes, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->width(), 320);
  EXPECT_TRUE(back->pixels() == screen.pixels());
}

TEST_F(DeviceTest, TheHostWindowIsTitledAfterTheProgramsMainWindowAndTheImage) {
  Options options;
  options.storePath = "/images/second/device.cedb";
  Device& device = Device::instance();
  device.configure(options, nullptr);
  const std::string& title = device.backend().title();
  HWND main = topLevel(u"Main", {0, 26, 240, 320});
  HWND later = topLevel(u"Later", {0, 26, 240, 320});
  SetWindowTextW(main, u"Renamed");
  device.refreshScreen();
  EXPECT_EQ(title, "Renamed - device.cedb");
  // An owned window is no main window, nor is one made while the main one lasted.
  DestroyWindow(main);
  CreateWindowExW(0, kTestClass, u"Owned", WS_POPUP, 0, 0, 10, 10, later, nullptr, GetModuleHandleW(nullptr), nullptr);
  device.refreshScreen();
  EXPECT_EQ(title, "test_platform_device - device.cedb");
}

}  // namespace
}  // namespace device::testing
