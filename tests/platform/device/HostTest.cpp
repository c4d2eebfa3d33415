// Runs the real vantor executable as a person or a test harness would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "display/Png.h"
#include "store/Image.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int exitCode = -1;
  std::string errors;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::string(VANTOR_TEST_BINARY_DIR) + "/host-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_ + "/data");
    fs::create_directories(dir_ + "/run");
  }

  // Writing the sample image takes seconds: runs that are not about making
  // it start on an empty image in its place.
  void provideDefaultImage() const {
    fs::create_directories(path("data/vantor"));
    store::Image image;
    std::string error;
    ASSERT_TRUE(image.create(path("data/vantor/device.cedb"), error)) << error;
    image.close();
  }

  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  void writeFile(const std::string& name, const std::string& text) const { std::ofstream(path(name)) << text; }

  static std::string readFile(const std::string& file) {
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
  }

  // Away from the host's environment but for the sanitizers' options; a run
  // that never comes back is killed after a minute (137).
  RunResult run(const std::vector<std::string>& args, const std::string& moreEnv = "") const {
    std::string command = "env -i XDG_DATA_HOME='" + dir_ + "/data' XDG_RUNTIME_DIR='" + dir_ + "/run' HOME='" + dir_ +
                          "' PATH=/usr/bin:/bin ASAN_OPTIONS=\"$ASAN_OPTIONS\" UBSAN_OPTIONS=\"$UBSAN_OPTIONS\" " +
                          moreEnv + " timeout -s KILL 60 '" + VANTOR_EXE + "'";
    for (const std::string& a : args) command += " '" + a + "'";
    const int status = std::system((command + " >/dev/null 2>'" + path("stderr.txt") + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(path("stderr.txt"))};
  }

  std::string dir_;
};

TEST_F(HostTest, BadArgumentsAndInputsAreRefusedWithExitCodeTwoBeforeAnythingStarts) {
  writeFile("bad.script", "# replay of a report\ntap 10 20\n\nwave 3\n");
  writeFile("damaged.cedb", "this is not a device image");
  struct Case {
    std::vector<std::string> args;
    std::string errorHas;
  } cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"--headless", "--script", path("bad.script")}, path("bad.script") + ":4: unknown step \"wave\""},
      {{"--headless", "--script", path("missing.script")},
       "vantor: " + path("missing.script") + ": cannot read the script"},
      {{"--headless", "--script", dir_}, "vantor: " + dir_ + ": cannot read the script"},
      {{"--headless", "--store", path("damaged.cedb"), "--dump", path("dump.txt")},
       "vantor: " + path("damaged.cedb") + ": "},
      // An image to examine that is not there is not made in its place.
      {{"--headless", "--read-only"}, path("data/vantor/device.cedb") + ": there is no device image here"},
  };
  for (const Case& c : cases) {
    RunResult r = run(c.args);
    SCOPED_TRACE(r.errors);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.errors.find(c.errorHas), std::string::npos);
  }
  // The damaged image is named once, on one line, and nothing was made or written.
  std::string damaged = run(cases[4].args).errors;
  EXPECT_EQ(damaged.find(path("damaged.cedb"), 9), std::string::npos) << damaged;
  EXPECT_EQ(std::count(damaged.begin(), damaged.end(), '\n'), 1) << damaged;
  EXPECT_FALSE(fs::exists(path("data/vantor/device.cedb")));
  EXPECT_FALSE(fs::exists(path("dump.txt")));
  EXPECT_EQ(run({"--help"}).exitCode, 0);
}

// The first run makes the default image; the others use it.
TEST_F(HostTest, EachWayARunEndsHasItsExitCodeAndMessage) {
  struct Case {
    const char* script;  // nullptr: none
    std::vector<std::string> args;
    const char* env;
    int exitCode;
    std::string errorHas, dumpHas;
  } cases[] = {
      {"wait 10\n", {"--screenshot", path("screen.png")}, "", 3, "script ended; the program is still running",
       "text=\"Vantor\""},
      {nullptr, {"--headless"}, "", 3, "no script to play (--script); the program is still running", "screen=240x320"},
      {"wait 10\n", {}, "DISPLAY=:65431", 3, "vantor: cannot open a window", "screen=240x320"},
      {"wait 1\npress \"No Such Button\"\n", {"--headless"}, "", 4,
       ":2: press \"No Such Button\": no such button", "screen=240x320"},
      {"rotate\nwait 1\n", {"--headless", "--screen", "480x640", "--sip"}, "", 3, "", "screen=640x480 sip=on"},
      // The dump shows what was on the screen before the window went.
      {"close\n", {"--headless"}, "", 0, "", "text=\"Vantor\""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (c.script) {
      writeFile("run.script", c.script);
      args.insert(args.end(), {"--script", path("run.script")});
    }
    args.insert(args.end(), {"--dump", path("dump.txt")});
    RunResult r = run(args, c.env);
    SCOPED_TRACE(r.errors);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_NE(r.errors.find(c.errorHas), std::string::npos);
    EXPECT_NE(readFile(path("dump.txt")).find(c.dumpHas), std::string::npos);
  }
  EXPECT_TRUE(fs::exists(path("data/vantor/device.cedb")));
  EXPECT_TRUE(fs::exists(path("screen.png")));
  writeFile("run.script", "wait 1\n");
  RunResult r = run({"--headless", "--script", path("run.script"), "--dump", path("no/such/dir/dump.txt")});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_NE(r.errors.find("vantor: " + path("no/such/dir/dump.txt") + ": No such file or directory"),
            std::string::npos) << r.errors;
}

TEST_F(HostTest, TheScreenshotShowsTheChromeAroundTheProgram) {
  provideDefaultImage();
  writeFile("shot.script", "sip on\nwait 1\nscreenshot \"" + path("shot.png") + "\"\nclose\n");
  RunResult r = run({"--headless", "--script", path("shot.script")});
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  std::string error;
  auto shot = display::decodePng(readFile(path("shot.png")), error);
  ASSERT_TRUE(shot) << error;
  // The navigation bar's blue across the top, the panel's white keys above
  // the grey strip at the bottom.
  EXPECT_EQ(shot->pixel(120, 2), 0x00103484u);
  int white = 0;
  for (int x = 0; x < 240; ++x) white += shot->pixel(x, 214 + 8) == 0x00FFFFFFu;
  EXPECT_GT(white, 120);
  EXPECT_EQ(shot->pixel(238, 300), 0x00C0C0C0u) << "the input-panel button";
}

}  // namespace
