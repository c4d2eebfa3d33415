// The host's options, and the real vantor executable run as a person or a
// test harness would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "device/HostOptions.h"
#include "harness/ProgramRun.h"
#include "display/Png.h"

namespace {

namespace fs = std::filesystem;

TEST(HostOptions, ReadsEveryOptionRefusesUnknownAndMalformedOnesAndPutsTheDefaultImageInTheUsersData) {
  device::HostCommand command;
  std::string error;
  ASSERT_TRUE(device::parseHostOptions({"--store", "a.cedb", "--screen", "160x4096", "--depth", "2", "--scale", "2",
                                        "--sip", "--headless", "--script", "s.txt", "--screenshot", "s.png", "--dump",
                                        "d.txt", "--read-only"},
                                       command, error))
      << error;
  const device::Options& o = command.options;
  // 160 and 4096 are the smallest and largest sides.
  EXPECT_EQ(std::tuple(o.storePath, o.screenWidth, o.screenHeight, o.depth, o.scale, o.sip, o.headless, o.scriptPath,
                       o.screenshotPath, o.dumpPath, o.readOnly, command.help),
            std::tuple(std::string("a.cedb"), 160, 4096, 2, 2, true, true, std::string("s.txt"), std::string("s.png"),
                       std::string("d.txt"), true, false));
  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"--fast"}, "unknown option --fast"},
      {{"-h"}, "unknown option -h"},
      {{"image.cedb"}, "unexpected argument image.cedb"},
      {{"--store"}, "--store needs a value"},
      {{"--dump", ""}, "--dump needs a value"},
      {{"--screen", "240"}, "--screen takes"},
      {{"--screen", "-240x320"}, "--screen takes"},
      {{"--screen", "240x320x2"}, "--screen takes"},
      {{"--screen", "100x320"}, "--screen takes"},
      {{"--screen", "240x99999"}, "--screen takes"},
      {{"--depth", "8"}, "--depth takes 2 (four greys) or 16 (colour), not 8"},
      {{"--scale", "0"}, "--scale takes"},
      {{"--scale", "two"}, "--scale takes"},
  };
  for (const auto& [args, reasonHas] : refused) {
    SCOPED_TRACE(args[0]);
    EXPECT_FALSE(device::parseHostOptions(args, command, error));
    EXPECT_NE(error.find(reasonHas), std::string::npos) << error;
  }
  // The default image lives in the user's data directory.
  const std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", "/data", 1);
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(device::defaultStorePath(), "/data/vantor/device.cedb");
  setenv("XDG_DATA_HOME", "relative", 1);  // not a directory of its own: ignored
  EXPECT_EQ(device::defaultStorePath(), "/home/u/.local/share/vantor/device.cedb");
  unsetenv("HOME");
  EXPECT_EQ(device::defaultStorePath(), "");
  if (!savedData.empty()) setenv("XDG_DATA_HOME", savedData.c_str(), 1);
  if (!savedHome.empty()) setenv("HOME", savedHome.c_str(), 1);
}

// A directory of its own for the data, the runtime directory and HOME, away
// from the host's environment but for the sanitizers' options.
using harness::RunResult;

struct Host {
  const std::string dir = std::string(VANTOR_TEST_BINARY_DIR) + "/host-" + std::to_string(getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name();
  Host() {
    fs::remove_all(dir);
    fs::create_directories(Path("data"));
    fs::create_directories(Path("run"));
  }
  ~Host() { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  std::string Read(const std::string& name) const {
    std::stringstream text;
    text << std::ifstream(Path(name)).rdbuf();
    return text.str();
  }
  RunResult Vantor(std::vector<std::string> args, const char* script = nullptr, const char* env = "") {
    if (script) {
      std::ofstream(Path("run.script")) << script;
      args.insert(args.end(), {"--script", Path("run.script")});
    }
    std::string command = "env -i XDG_DATA_HOME='" + Path("data") + "' XDG_RUNTIME_DIR='" + Path("run") + "' HOME='" +
                          Path("") + "' PATH=/usr/bin:/bin ASAN_OPTIONS=\"$ASAN_OPTIONS\" " +
                          "UBSAN_OPTIONS=\"$UBSAN_OPTIONS\" " + env + " timeout -s KILL 60 '" VANTOR_EXE "'";
    for (const std::string& a : args) command += " '" + a + "'";
    const int status = std::system((command + " >/dev/null 2>'" + Path("stderr.txt") + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read("stderr.txt")};
  }
};

TEST(Host, BadArgumentsAndInputsAreRefusedWithExitCodeTwoBeforeAnythingStarts) {
  Host host;
  std::ofstream(host.Path("damaged.cedb")) << "this is not a device image";
  const std::string damaged = host.Path("damaged.cedb"), image = host.Path("data/vantor/device.cedb");
  struct Case { std::vector<std::string> args; const char* script; std::string errorHas; } cases[] = {
      {{"--bogus"}, nullptr, "unknown option --bogus"},
      {{"--headless"}, "# replay of a report\ntap 10 20\n\nwave 3\n", host.Path("run.script") + ":4: unknown step"},
      {{"--headless", "--script", host.Path("missing")}, nullptr, host.Path("missing") + ": cannot read the script"},
      {{"--headless", "--script", host.Path("run")}, nullptr, host.Path("run") + ": cannot read the script"},
      {{"--headless", "--store", damaged, "--dump", host.Path("dump.txt")}, nullptr, "vantor: " + damaged + ": "},
      // An image to examine that is not there is not made in its place.
      {{"--headless", "--read-only"}, nullptr, image + ": there is no device image here"},
  };
  for (const Case& c : cases) {
    RunResult r = host.Vantor(c.args, c.script);
    SCOPED_TRACE(r.errors);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.errors.find(c.errorHas), std::string::npos);
    // The damaged image is named once, on one line.
    if (c.errorHas.find(damaged) != std::string::npos) {
      EXPECT_EQ(r.errors.find(damaged, 9), std::string::npos);
      EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1);
    }
  }
  EXPECT_FALSE(fs::exists(image));
  EXPECT_FALSE(fs::exists(host.Path("dump.txt")));
  EXPECT_EQ(host.Vantor({"--help"}).exitCode, 0);
}

// The first run makes the default image; the others use it.
TEST(Host, EachWayARunEndsHasItsExitCodeAndMessage) {
  Host host;
  // A script of nullptr: none.
  struct Case { const char* script; std::vector<std::string> args; const char* env; int exitCode; std::string errorHas, dumpHas; } cases[] = {
      {"sip on\nwait 10\n", {"--screenshot", host.Path("shot.png")}, "", 3,
       "script ended; the program is still running", "text=\"Vantor\""},
      {nullptr, {"--headless"}, "", 3, "no script to play (--script); the program is still running", "screen=240x320"},
      {"wait 10\n", {}, "DISPLAY=:65431", 3, "vantor: cannot open a window", "screen=240x320"},
      {"wait 1\npress \"No Such Button\"\n", {"--headless"}, "", 4, ":2: press \"No Such Button\": no such button",
       "screen=240x320"},
      {"rotate\nwait 1\n", {"--headless", "--screen", "480x640", "--sip"}, "", 3, "", "screen=640x480 sip=on"},
      // The dump shows what was on the screen before the window went.
      {"close\n", {"--headless"}, "", 0, "", "text=\"Vantor\""},
      {"wait 1\n", {"--headless"}, "", 4, "vantor: " + host.Path("no/dir/dump.txt") + ": No such file or directory",
       ""},
  };
  for (Case& c : cases) {
    c.args.insert(c.args.end(), {"--dump", host.Path(c.dumpHas.empty() ? "no/dir/dump.txt" : "dump.txt")});
    RunResult r = host.Vantor(c.args, c.script, c.env);
    SCOPED_TRACE(r.errors);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_NE(r.errors.find(c.errorHas), std::string::npos);
    EXPECT_NE(host.Read("dump.txt").find(c.dumpHas), std::string::npos);
  }
  EXPECT_TRUE(fs::exists(host.Path("data/vantor/device.cedb")));
  // The chrome around the program: the navigation bar's blue across the top,
  // the panel's white keys above the grey strip and its button.
  std::string error;
  auto shot = display::decodePng(host.Read("shot.png"), error);
  ASSERT_TRUE(shot) << error;
  EXPECT_EQ(std::pair(shot->width(), shot->height()), std::pair(240, 320));
  EXPECT_EQ(shot->pixel(120, 2), 0x00103484u);
  int white = 0;
  for (int x = 0; x < 240; ++x) white += shot->pixel(x, 214 + 8) == 0x00FFFFFFu;
  EXPECT_GT(white, 120);
  EXPECT_EQ(shot->pixel(238, 300), 0x00C0C0C0u) << "the input-panel button";
}

}  // namespace
