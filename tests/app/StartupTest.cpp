#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "VantorProcess.h"
#include "device/Bus.h"
#include "framework/CeWnd.h"

namespace {

// Waits for a file the other process writes once it idles with its window up.
bool AppearsWhileRunning(const std::string& path, VantorProcess& process) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!FileExists(path)) {
    if (process.poll() >= 0 || std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST(Startup, TheMainWindowFillsTheVisibleDesktopLessTheMenuBarUnlessThePanelShows) {
  struct Case {
    std::vector<std::string> options;
    const char* rect;
  };
  const Case cases[] = {
      {{}, "(0,26,240,294)"},
      {{"--sip"}, "(0,26,240,214)"},
      {{"--screen", "320x240"}, "(0,26,320,214)"},
      {{"--screen", "320x240", "--sip"}, "(0,26,320,134)"},
  };
  Sandbox sandbox;
  int run = 0;
  for (const Case& c : cases) {
    const std::string dump = sandbox.path("up" + std::to_string(++run) + ".txt");
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--script", sandbox.writeScript("run.script", "dump \"" + dump + "\"\nclose\n")});
    VantorProcess vantor(sandbox, "vantor", args);
    ASSERT_EQ(vantor.wait(), 0) << vantor.errorOutput();
    int mainWindows = 0;
    const std::string line = MainWindowLine(ReadFile(dump), &mainWindows);
    EXPECT_EQ(mainWindows, 1);
    EXPECT_EQ(FieldOf(line, "rect"), c.rect) << line;
    EXPECT_EQ(FieldOf(line, "style"), "0x10000000") << line;
    EXPECT_EQ(FieldOf(line, "exstyle"), "0x80000000") << line;
    EXPECT_NE(line.find(" visible"), std::string::npos) << line;
  }
}

TEST(Startup, ClosingTheMainWindowEndsTheProgramWithCodeZero) {
  Sandbox sandbox;
  const std::string script = sandbox.writeScript("close.script", "close\n");
  VantorProcess vantor(sandbox, "vantor", {"--script", script, "--dump", sandbox.path("end.txt")});
  EXPECT_EQ(vantor.wait(), 0) << vantor.errorOutput();
  EXPECT_EQ(vantor.errorOutput().find("script ended"), std::string::npos);
}

// A first instance that idles with its main window up until it is ended.
class RunningInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string script =
        sandbox.writeScript("first.script", "dump \"" + sandbox.path("ready.txt") + "\"\nwait 60000\nclose\n");
    first = std::make_unique<VantorProcess>(sandbox, "first", std::vector<std::string>{"--script", script});
    ASSERT_TRUE(AppearsWhileRunning(sandbox.path("ready.txt"), *first)) << first->errorOutput();
  }
  void TearDown() override {
    first->kill();
    first->wait();
  }
  Sandbox sandbox;
  std::unique_ptr<VantorProcess> first;
};

TEST_F(RunningInstance, ASecondStartOnTheSameImageEndsWithCodeOne) {
  VantorProcess second(sandbox, "second", {});
  EXPECT_EQ(second.wait(), 1) << second.errorOutput();
  EXPECT_EQ(first->poll(), -1) << "the first instance must keep running";
  int mainWindows = 0;
  MainWindowLine(ReadFile(sandbox.path("ready.txt")), &mainWindows);
  EXPECT_EQ(mainWindows, 1);
}

TEST_F(RunningInstance, ASecondStartOnAnotherImageRunsNormally) {
  Sandbox other;
  const std::string script = other.writeScript("other.script", "dump \"" + other.path("up.txt") + "\"\nclose\n");
  // Same runtime directory as the first instance, so only the image tells them apart.
  VantorProcess second(other, "second", {"--script", script}, sandbox.runtimeDir());
  EXPECT_EQ(second.wait(), 0) << second.errorOutput();
  int mainWindows = 0;
  MainWindowLine(ReadFile(other.path("up.txt")), &mainWindows);
  EXPECT_EQ(mainWindows, 1);
  EXPECT_EQ(first->poll(), -1);
}

// This process plays the first instance, with its main window behind another
// window, and watches the second start bring it to the front.
TEST(Startup, ASecondStartBringsTheFirstInstanceToTheFront) {
  Sandbox sandbox;
  const std::string image = sandbox.defaultImage();
  const char* savedRuntime = std::getenv("XDG_RUNTIME_DIR");
  const std::string restoreRuntime = savedRuntime != nullptr ? savedRuntime : "";
  setenv("XDG_RUNTIME_DIR", sandbox.runtimeDir().c_str(), 1);
  device::Bus::instance().start(image);
  ASSERT_TRUE(device::Bus::instance().listening());

  CeWnd mainWindow;
  ASSERT_TRUE(mainWindow.Create(nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, 240, 268, u"Vantor",
                                WS_VISIBLE, WS_EX_CAPTIONOKBTN, nullptr, nullptr));
  HWND cover = CreateWindowExW(0, u"static", u"cover", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(cover, nullptr);
  SetForegroundWindow(cover);
  ASSERT_EQ(GetForegroundWindow(), cover);

  VantorProcess second(sandbox, "second", {"--store", image});
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (second.poll() < 0 && std::chrono::steady_clock::now() < giveUp) {
    device::Bus::instance().service();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(second.wait(), 1) << second.errorOutput();
  EXPECT_EQ(GetForegroundWindow(), mainWindow.hwnd);

  DestroyWindow(cover);
  device::Bus::instance().stop();
  if (restoreRuntime.empty())
    unsetenv("XDG_RUNTIME_DIR");
  else
    setenv("XDG_RUNTIME_DIR", restoreRuntime.c_str(), 1);
}

}  // namespace
