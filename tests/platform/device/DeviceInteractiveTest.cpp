// The device with a person in front of it: how long it sleeps, scripts on
// the interactive device, the host window's requests, numbered screenshots,
// and the screen shown at each idle point.
#include <aygshell.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestWindows.h"
#include "device/Bus.h"
#include "display/HeadlessBackend.h"
#include "display/Png.h"

namespace device::testing {
namespace {

namespace fs = std::filesystem;

// An interactive display that records how the device waits on it.
class WatchedWindow : public display::HeadlessBackend {
 public:
  struct Wait {
    int timeoutMs;
    int descriptor;
  };
  WatchedWindow() : HeadlessBackend(240, 320) {}
  bool interactive() const override { return true; }
  void waitEvents(int timeoutMs, int descriptor) override { waits.push_back({timeoutMs, descriptor}); }
  std::vector<Wait> waits;
};

class InteractiveDeviceTest : public DeviceFixture {
 protected:
  WatchedWindow& use(bool chrome) {
    auto window = std::make_unique<WatchedWindow>();
    WatchedWindow& w = *window;
    Options options;
    options.chrome = chrome;
    Device::instance().configure(options, std::move(window));
    return w;
  }
};

TEST_F(InteractiveDeviceTest, IdleSleepsUntilTheNextTimerTheClocksNextMinuteOrTheEndOfAWaitStep) {
  WatchedWindow& bare = use(false);
  Device::instance().idle(-1);
  Device::instance().idle(250);
  ASSERT_EQ(bare.waits.size(), 2u);
  EXPECT_EQ(bare.waits[0].timeoutMs, -1) << "nothing to wake for";
  EXPECT_EQ(bare.waits[1].timeoutMs, 250);
  EXPECT_EQ(bare.waits[0].descriptor, Bus::instance().pollDescriptor());

  WatchedWindow& withClock = use(true);
  Device::instance().idle(-1);
  Device::instance().idle(250);
  ASSERT_EQ(withClock.waits.size(), 2u);
  EXPECT_GT(withClock.waits[0].timeoutMs, 0);
  EXPECT_LE(withClock.waits[0].timeoutMs, 60000);
  EXPECT_EQ(withClock.waits[1].timeoutMs, 250);

  WatchedWindow& window = use(false);
  std::string error;
  ASSERT_TRUE(Device::instance().script().loadText("wait 400\n", "w", error)) << error;
  Device::instance().idle(-1);  // starts the wait
  EXPECT_TRUE(Device::instance().script().waiting());
  Device::instance().idle(-1);
  ASSERT_EQ(window.waits.size(), 1u);
  EXPECT_GE(window.waits[0].timeoutMs, 0);
  EXPECT_LE(window.waits[0].timeoutMs, 400);
  Device::instance().script().clear();
  EXPECT_TRUE(Device::instance().script().finished()) << "clearing ends the wait";
}

TEST_F(InteractiveDeviceTest, AScriptPlaysInTheWindowAndThenThePersonCarriesOn) {
  WatchedWindow& window = use(true);
  std::vector<std::string> done;
  ScriptPlayer& script = Device::instance().script();
  script.add([&] { done.push_back("first"); });
  std::string error;
  ASSERT_TRUE(script.loadText("press \"No Such Button\"\n", "replay", error)) << error;
  script.add([&] { done.push_back("never"); });

  Device::instance().idle(-1);
  EXPECT_EQ(done, std::vector<std::string>{"first"});
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
}

TEST_F(InteractiveDeviceTest, InputTheChromeTookIsFollowedUpBeforeTheDeviceSleeps) {
  WatchedWindow& window = use(true);
  HWND hwnd = topLevel(u"Vantor", {0, 26, 240, 294}, WS_POPUP | WS_VISIBLE, WS_EX_CAPTIONOKBTN);
  SetForegroundWindow(hwnd);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  display::InputEvent tap;
  tap.type = display::InputEvent::Type::StylusDown;
  tap.x = 230;
  tap.y = 12;
  window.push(tap);
  tap.type = display::InputEvent::Type::StylusUp;
  window.push(tap);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the chrome took both";
  Device::instance().idle(-1);
  EXPECT_TRUE(window.waits.empty());
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT{WM_COMMAND});
  EXPECT_EQ(LOWORD(msg.wParam), IDOK);
  Device::instance().idle(-1);
  EXPECT_EQ(window.waits.size(), 1u);
}

TEST_F(InteractiveDeviceTest, HostKeysTurnTheDeviceShowThePanelAndTakeNumberedScreenshots) {
  use(true);
  Device& device = Device::instance();
  device.hostRequest(display::HostRequest::Rotate);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  device.hostRequest(display::HostRequest::ToggleSip);
  EXPECT_TRUE(device.sipVisible());
  device.hostRequest(display::HostRequest::ToggleSip);
  EXPECT_FALSE(device.sipVisible());
  // Screenshots take the first free number in the current directory, of the turned screen.
  const fs::path dir = fs::path(VANTOR_TEST_BINARY_DIR) / ("shots-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  std::ofstream(dir / "vantor-001.png") << "taken";

  ::testing::internal::CaptureStdout();
  Device::instance().hostRequest(display::HostRequest::Screenshot);
  std::string said = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(said.find("vantor-002.png"), std::string::npos) << said;

  std::string error;
  std::ifstream in(dir / "vantor-002.png", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto shot = display::decodePng(bytes, error);
  ASSERT_TRUE(shot) << error;
  EXPECT_EQ(shot->width(), 320);
  EXPECT_EQ(shot->height(), 240);
  fs::current_path(before);
  fs::remove_all(dir);
}

TEST_F(InteractiveDeviceTest, EachIdlePointShowsTheScreenAndAnIdleDeviceDrawsNothing) {
  Options options;
  options.chrome = true;
  auto headless = std::make_unique<display::HeadlessBackend>(240, 320);
  display::HeadlessBackend& screen = *headless;
  Device::instance().configure(options, std::move(headless));
  topLevel(u"Vantor", {0, 26, 240, 294}, WS_POPUP | WS_VISIBLE, WS_EX_CAPTIONOKBTN);
  Device::instance().refreshScreen();
  EXPECT_EQ(screen.presentCount(), 1);
  EXPECT_TRUE(screen.framebuffer().dirty().empty()) << "shown";
  const uint64_t writes = screen.framebuffer().writeCount();
  Device::instance().refreshScreen();
  Device::instance().refreshScreen();
  EXPECT_EQ(screen.framebuffer().writeCount(), writes);
  EXPECT_EQ(screen.presentCount(), 3);
}

}  // namespace
}  // namespace device::testing
