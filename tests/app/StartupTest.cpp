// Start-up of the real vantor executable: each run in a sandbox of its own,
// a temporary data directory (the default device image lives there) and
// runtime directory (the single-instance bus lives there).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "device/Bus.h"
#include "framework/CeWnd.h"
#include "store/DeviceImage.h"

extern char** environ;

namespace {

// A temporary directory, removed with everything in it at its end.
struct TempDir {
  TempDir() {
    char pattern[] = "/tmp/vantor-app-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

class Sandbox {
 public:
  // The sample image is written once per test process and copied into each
  // sandbox: writing it is far slower than copying it.
  Sandbox() {
    static TempDir sampleDir;
    static const std::string sample = [] {
      const std::string image = sampleDir.path + "/sample.cedb";
      std::string error;
      if (!store::writeSampleImage(image, error)) throw std::runtime_error("sample image: " + error);
      return image;
    }();
    std::filesystem::create_directories(dataHome() + "/vantor");
    std::filesystem::create_directories(runtimeDir());
    chmod(runtimeDir().c_str(), 0700);
    std::filesystem::copy_file(sample, defaultImage());
  }

  std::string path(const std::string& name) const { return root_.path + "/" + name; }
  std::string dataHome() const { return path("data"); }
  std::string runtimeDir() const { return path("run"); }
  std::string defaultImage() const { return dataHome() + "/vantor/device.cedb"; }
  // A script that dumps the windows to `dump`, then runs `then`.
  std::string script(const std::string& dump, const std::string& then = "close\n") const {
    const std::string file = dump + ".script";
    std::ofstream(file) << "dump \"" << dump << "\"\n" << then;
    return file;
  }

 private:
  TempDir root_;
};

std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// `vantor --headless ARGS` with the sandbox's directories, through env(1),
// which also drops any display; its output goes to files named after `name`.
class VantorProcess {
 public:
  VantorProcess(const Sandbox& sandbox, const std::string& name, const std::vector<std::string>& args,
                const std::string& runtimeDir = "")
      : stderrPath_(sandbox.path(name + ".stderr")) {
    std::vector<std::string> argv = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                     "XDG_DATA_HOME=" + sandbox.dataHome(),
                                     "XDG_RUNTIME_DIR=" + (runtimeDir.empty() ? sandbox.runtimeDir() : runtimeDir),
                                     VANTOR_EXE, "--headless"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argvp;
    for (std::string& a : argv) argvp.push_back(a.data());
    argvp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string stdoutPath = sandbox.path(name + ".stdout");
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int rc = posix_spawnp(&pid_, "env", &actions, nullptr, argvp.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error(std::string("cannot start vantor: ") + std::strerror(rc));
  }
  ~VantorProcess() {
    kill();
    wait();
  }

  // Exit code when it has ended (128 + the signal when one ended it), -1
  // while it runs.
  int poll() {
    int status = 0;
    if (exitCode_ < 0 && waitpid(pid_, &status, WNOHANG) == pid_)
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return exitCode_;
  }
  // A run that hangs is killed after a minute.
  int wait() {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (poll() < 0) {
      if (std::chrono::steady_clock::now() > giveUp) kill();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return exitCode_;
  }
  void kill() {
    if (exitCode_ < 0) ::kill(pid_, SIGKILL);
  }
  std::string errorOutput() const { return ReadFile(stderrPath_); }

 private:
  pid_t pid_ = -1;
  int exitCode_ = -1;
  std::string stderrPath_;
};

std::string FieldOf(const std::string& line, const std::string& field) {
  const size_t start = line.find(" " + field + "=");
  if (start == std::string::npos) return "";
  const size_t value = start + field.size() + 2;
  return line.substr(value, line.find(' ', value) - value);
}

// How many main windows (top-level, generic class, "Vantor") a dump lists;
// line receives the last.
int MainWindows(const std::string& dump, std::string* line = nullptr) {
  std::istringstream lines(ReadFile(dump));
  std::string text;
  int count = 0;
  while (std::getline(lines, text)) {
    if (text.rfind("hwnd=", 0) != 0 || FieldOf(text, "class") != "\"CeWnd:GENERIC\"" ||
        FieldOf(text, "text") != "\"Vantor\"")
      continue;
    ++count;
    if (line != nullptr) *line = text;
  }
  return count;
}

TEST(Startup, TheMainWindowFillsTheVisibleDesktopLessTheMenuBarUnlessThePanelShowsAndCloseEndsWithZero) {
  struct Case {
    std::vector<std::string> options;
    const char* rect;
  };
  const Case cases[] = {
      {{}, "(0,26,240,294)"},
      {{"--sip"}, "(0,26,240,214)"},
      {{"--screen", "320x240", "--sip"}, "(0,26,320,134)"},
  };
  Sandbox sandbox;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rect);
    const std::string dump = sandbox.path(std::string("up") + c.rect + ".txt");
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"--script", sandbox.script(dump)});
    VantorProcess vantor(sandbox, "vantor", args);
    ASSERT_EQ(vantor.wait(), 0) << vantor.errorOutput();
    EXPECT_EQ(vantor.errorOutput().find("script ended"), std::string::npos);
    std::string line;
    EXPECT_EQ(MainWindows(dump, &line), 1);
    EXPECT_EQ(FieldOf(line, "rect"), c.rect) << line;
    EXPECT_EQ(FieldOf(line, "style"), "0x10000000") << line;
    EXPECT_EQ(FieldOf(line, "exstyle"), "0x80000000") << line;
    EXPECT_NE(line.find(" visible"), std::string::npos) << line;
  }
}

// A first instance that idles with its main window up: a second start on
// its image ends with code 1, one on another image runs as usual.
TEST(Startup, OnlyASecondStartOnTheSameImageEndsWithCodeOne) {
  Sandbox sandbox;
  const std::string ready = sandbox.path("ready.txt");
  VantorProcess first(sandbox, "first", {"--script", sandbox.script(ready, "wait 60000\nclose\n")});
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!std::filesystem::exists(ready) && first.poll() < 0 && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(std::filesystem::exists(ready)) << first.errorOutput();

  VantorProcess second(sandbox, "second", {});
  EXPECT_EQ(second.wait(), 1) << second.errorOutput();
  EXPECT_EQ(first.poll(), -1) << "the first instance must keep running";

  // Same runtime directory as the first instance, so only the image tells them apart.
  Sandbox other;
  const std::string up = other.path("up.txt");
  VantorProcess third(other, "third", {"--script", other.script(up)}, sandbox.runtimeDir());
  EXPECT_EQ(third.wait(), 0) << third.errorOutput();
  EXPECT_EQ(MainWindows(up), 1);
  EXPECT_EQ(first.poll(), -1);
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
