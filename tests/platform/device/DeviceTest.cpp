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

TEST_F(DeviceTest, UnconfiguredIsAPortraitPocketPcWhosePanelTakesEightyPixelsAndTellsEveryTopLevelWindow) {
  EXPECT_FALSE(Device::instance().backend().interactive());
  EXPECT_EQ(std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), std::pair(240, 320));
  HWND a = topLevel(u"a", {0, 26, 240, 294});
  HWND b = topLevel(u"b", {20, 40, 100, 100}, WS_POPUP);  // hidden windows hear of it too
  using Told = std::set<std::pair<HWND, WPARAM>>;
  for (bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    SIPINFO info = sipInfo();
    info.fdwFlags = shown ? SIPF_ON : SIPF_OFF;
    settingChanges.clear();
    ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
    EXPECT_EQ(Told(settingChanges.begin(), settingChanges.end()), (Told{{a, SPI_SETSIPINFO}, {b, SPI_SETSIPINFO}}));
    EXPECT_EQ(settingChanges.size(), 2u);
    info = sipInfo();
    EXPECT_EQ(info.fdwFlags, shown ? DWORD{SIPF_ON | SIPF_DOCKED} : DWORD{SIPF_DOCKED});
    EXPECT_EQ(info.rcVisibleDesktop, (RECT{0, 26, 240, shown ? 214 : 320}));
    EXPECT_EQ(info.rcSipRect, (RECT{0, 214, 240, 294}));
    EXPECT_EQ(info.dwImDataSize, 0u);
    EXPECT_EQ(Device::instance().workArea(), (RECT{0, 26, 240, 294}));
    // Asking for the state it is in changes nothing and tells nobody.
    settingChanges.clear();
    ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
    EXPECT_TRUE(settingChanges.empty());
  }
}

TEST_F(DeviceTest, RotationSwapsTheScreenAndRefitsWindowsThatFilledTheDesktop) {
  HWND visible = topLevel(u"visible desktop", {0, 26, 240, 320});
  HWND work = topLevel(u"work area", {0, 26, 240, 294});
  HWND small = topLevel(u"small", {10, 40, 110, 140});
  EXPECT_EQ(Device::instance().menuBarRect(), (RECT{0, 294, 240 - Device::kSipButtonWidth, 320}));
  HWND menuBar = topLevel(u"", Device::instance().menuBarRect());

  Device::instance().rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  EXPECT_EQ(windowRect(visible), (RECT{0, 26, 320, 240}));
  EXPECT_EQ(windowRect(work), (RECT{0, 26, 320, 214}));
  EXPECT_EQ(windowRect(small), (RECT{10, 40, 110, 140}));
  EXPECT_EQ(windowRect(menuBar), (RECT{0, 214, 320 - Device::kSipButtonWidth, 240})) << "follows the strip";

  const WPARAM reset = Device::kSettingChangeReset;
  EXPECT_EQ(std::set(settingChanges.begin(), settingChanges.end()),
            (std::set<std::pair<HWND, WPARAM>>{{visible, reset}, {work, reset}, {small, reset}, {menuBar, reset}}));

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

// In colour and in four greys: the grey nearest to the luminance, on both
// sides of two midpoints.
TEST_F(DeviceTest, ScreenshotsArePngsOfTheScreenInColourOrFourGreysWrittenInPlaceOfTheOldFile) {
  const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x2A2A2A, 0x2B2B2B, 0x7F7F7F, 0x808080, 0xD5D5D5};
  const uint32_t greys[] = {0x555555, 0xAAAAAA, 0x000000, 0x555555, 0x555555, 0xAAAAAA, 0xFFFFFF};
  const std::string path = std::string(VANTOR_TEST_BINARY_DIR) + "/device-screen.png";
  for (int depth : {16, 2}) {
    SCOPED_TRACE(depth);
    Options options;
    options.depth = depth;
    Device::instance().configure(options, nullptr);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), depth);
    if (depth == 2) {
      EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), 4);
    }
    ReleaseDC(nullptr, screen);
    display::Framebuffer& fb = Device::instance().backend().framebuffer();
    for (size_t i = 0; i < fb.pixels().size(); ++i) fb.row(0)[i] = i < 7 ? colours[i] : uint32_t(i * 7919 + i / 240 * 9973) & 0xFFFFFF;
    std::string png, error;
    ASSERT_TRUE(display::encodePng(fb, png, error)) << error;
    // Written over an older file, with no temporary left behind.
    ASSERT_TRUE(writeFileAtomically(path, "older", error) && writeFileAtomically(path, png, error)) << error;
    EXPECT_FALSE(std::ifstream(path + ".tmp-" + std::to_string(getpid())).good());
    int width = 0, height = 0;
    const std::vector<uint32_t> read = readWithLibpng(path, width, height);
    EXPECT_EQ(std::pair(width, height), std::pair(240, 320));
    auto shot = display::decodePng(png, error);
    ASSERT_TRUE(shot) << error;
    EXPECT_TRUE(read == shot->pixels()) << "as libpng reads it";
    if (depth == 16) {
      EXPECT_TRUE(shot->pixels() == fb.pixels());
      continue;
    }
    EXPECT_EQ(std::set(shot->pixels().begin(), shot->pixels().end()), (std::set<uint32_t>{0, 0x555555, 0xAAAAAA, 0xFFFFFF}));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(shot->pixel(i, 0), greys[i]) << std::hex << colours[i];
  }
}

TEST_F(DeviceTest, TheHostWindowIsTitledAfterTheProgramsMainWindowAndTheImage) {
  Options options;
  options.storePath = "/images/second/device.cedb";
  Device& device = Device::instance();
  device.configure(options, nullptr);
  const std::string& title = device.backend().title();
  HWND main = topLevel(u"Main", {0, 26, 240, 320});
  SetWindowTextW(main, u"Renamed");
  device.refreshScreen();
  EXPECT_EQ(title, "Renamed - device.cedb");
  // Without a main window, the program's name.
  DestroyWindow(main);
  device.refreshScreen();
  EXPECT_EQ(title, "test_platform_device - device.cedb");
}

}  // namespace
}  // namespace device::testing
