// The device with a person in front of it: how long it sleeps, scripts, the host window's
// requests, numbered screenshots, and the screen shown at each idle point.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestWindows.h"
#include "device/Bus.h"
#include "display/HeadlessBackend.h"
#include "display/Png.h"

namespace device::testing {
namespace {

// An interactive display that records how long the device sleeps on it.
struct WatchedWindow : display::HeadlessBackend {
  WatchedWindow() : HeadlessBackend(240, 320) {}
  bool interactive() const override { return true; }
  void waitEvents(int timeoutMs, int descriptor) override {
    EXPECT_EQ(descriptor, Bus::instance().pollDescriptor());
    waits.push_back(timeoutMs);
  }
  std::vector<int> waits;
};

template <class Backend = WatchedWindow>
Backend& use(bool chrome, std::unique_ptr<Backend> window = std::make_unique<Backend>()) {
  Backend& w = *window;
  Options options;
  options.chrome = chrome;
  Device::instance().configure(options, std::move(window));
  return w;
}

using InteractiveDeviceTest = DeviceFixture;

TEST_F(InteractiveDeviceTest, IdleSleepsUntilTheNextTimerTheClocksNextMinuteOrTheEndOfAWaitStep) {
  // Without the clock nothing wakes it but the timer.
  for (bool clock : {false, true}) {
    WatchedWindow& watched = use(clock);
    Device::instance().idle(-1);
    Device::instance().idle(250);
    ASSERT_EQ(watched.waits.size(), 2u);
    EXPECT_TRUE(clock ? watched.waits[0] > 0 && watched.waits[0] <= 60000 : watched.waits[0] == -1) << watched.waits[0];
    EXPECT_EQ(watched.waits[1], 250);
  }

  WatchedWindow& window = use(false);
  std::string error;
  ASSERT_TRUE(Device::instance().script().loadText("wait 400\n", "w", error)) << error;
  Device::instance().idle(-1);  // starts the wait
  EXPECT_TRUE(Device::instance().script().waiting());
  Device::instance().idle(-1);
  ASSERT_EQ(window.waits.size(), 1u);
  EXPECT_TRUE(window.waits[0] >= 0 && window.waits[0] <= 400) << window.waits[0];
  Device::instance().script().clear();
  EXPECT_TRUE(Device::instance().script().finished()) << "clearing ends the wait";
}

TEST_F(InteractiveDeviceTest, AScriptPlaysInTheWindowThenThePersonCarriesOnAndInputTheChromeTookIsFollowedUp) {
  WatchedWindow& window = use(true);
  std::vector<std::string> done;
  ScriptPlayer& script = Device::instance().script();
  script.add([&] { done.push_back("first"); });
  std::string error;
  ASSERT_TRUE(script.loadText("press \"No Such Button\"\n", "replay", error)) << error;
  script.add([&] { done.push_back("never"); });

  Device::instance().idle(-1);
  EXPECT_TRUE(window.waits.empty()) << "a step instead of a wait";
  // A step that cannot be done ends the script, not the run.
  ::testing::internal::CaptureStderr();
  Device::instance().idle(-1);
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("replay:1: press \"No Such Button\""), std::string::npos) << said;
  EXPECT_TRUE(script.finished());
  Device::instance().idle(-1);
  EXPECT_EQ(done, std::vector<std::string>{"first"});
  EXPECT_EQ(window.waits.size(), 1u);

  // Input the chrome took is followed up before the device sleeps.
  SetForegroundWindow(topLevel(u"Vantor", {0, 26, 240, 294}, WS_POPUP | WS_VISIBLE, WS_EX_CAPTIONOKBTN));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  using Type = display::InputEvent::Type;
  for (Type type : {Type::StylusDown, Type::StylusUp}) window.push({type, 230, 12});
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the chrome took both";
  Device::instance().idle(-1);
  EXPECT_EQ(window.waits.size(), 1u) << "no sleep with the chrome's command waiting";
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(std::pair(msg.message, LOWORD(msg.wParam)), std::pair(UINT{WM_COMMAND}, WORD{IDOK}));
  Device::instance().idle(-1);
  EXPECT_EQ(window.waits.size(), 2u);
}

TEST_F(InteractiveDeviceTest, HostKeysTurnTheDeviceShowThePanelAndTakeNumberedScreenshots) {
  use(true);
  Device& device = Device::instance();
  device.hostRequest(display::HostRequest::Rotate);
  device.hostRequest(display::HostRequest::ToggleSip);
  EXPECT_TRUE(device.sipVisible());
  // Screenshots take the first free number in the current directory, of the turned screen.
  namespace fs = std::filesystem;
  const fs::path before = fs::current_path(), dir = fs::path(VANTOR_TEST_BINARY_DIR) / "shots";
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::current_path(dir);
  std::ofstream("vantor-001.png") << "taken";
  ::testing::internal::CaptureStdout();
  device.hostRequest(display::HostRequest::Screenshot);
  std::string said = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find("vantor-002.png"), std::string::npos) << said;
  std::stringstream bytes;
  bytes << std::ifstream("vantor-002.png", std::ios::binary).rdbuf();
  fs::current_path(before);
  fs::remove_all(dir);
  std::string error;
  auto shot = display::decodePng(bytes.str(), error);
  ASSERT_TRUE(shot) << error;
  EXPECT_EQ(std::pair(shot->width(), shot->height()), std::pair(320, 240));
}

TEST_F(InteractiveDeviceTest, EachIdlePointShowsTheScreenAndAnIdleDeviceDrawsNothing) {
  auto& screen = use(true, std::make_unique<display::HeadlessBackend>(240, 320));
  topLevel(u"Vantor", {0, 26, 240, 294}, WS_POPUP | WS_VISIBLE, WS_EX_CAPTIONOKBTN);
  Device::instance().refreshScreen();
  EXPECT_EQ(screen.presentCount(), 1);
  EXPECT_TRUE(screen.framebuffer().dirty().empty()) << "shown";
  const uint64_t writes = screen.framebuffer().writeCount();
  Device::instance().refreshScreen();
  Device::instance().refreshScreen();
  EXPECT_EQ(std::pair(screen.framebuffer().writeCount(), screen.presentCount()), std::pair(writes, 3));
}

}  // namespace
}  // namespace device::testing
