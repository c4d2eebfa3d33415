#include <gtest/gtest.h>

#include <cstdlib>

#include "device/HostOptions.h"

namespace device {
namespace {

TEST(HostOptions, ReadsEveryOption) {
  HostCommand command;
  std::string error;
  ASSERT_TRUE(parseHostOptions({"--store", "a.cedb", "--screen", "160x4096", "--depth", "2", "--scale", "2", "--sip",
                                "--headless", "--script", "s.txt", "--screenshot", "s.png", "--dump", "d.txt", "--read-only"},
                               command, error))
      << error;
  const Options& o = command.options;
  EXPECT_EQ(o.storePath, "a.cedb");
  EXPECT_EQ(o.screenWidth, 160) << "the smallest side";
  EXPECT_EQ(o.screenHeight, 4096) << "the largest side";
  EXPECT_EQ(o.depth, 2);
  EXPECT_EQ(o.scale, 2);
  EXPECT_TRUE(o.sip);
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.scriptPath, "s.txt");
  EXPECT_EQ(o.screenshotPath, "s.png");
  EXPECT_EQ(o.dumpPath, "d.txt");
  EXPECT_TRUE(o.readOnly);
  EXPECT_FALSE(command.help);
}

TEST(HostOptions, RefusesUnknownAndMalformedOptions) {
  struct Case {
    std::vector<std::string> args;
    const char* reasonHas;
  } cases[] = {
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
  for (const Case& c : cases) {
    HostCommand command;
    std::string error;
    EXPECT_FALSE(parseHostOptions(c.args, command, error)) << c.args[0];
    EXPECT_NE(error.find(c.reasonHas), std::string::npos) << c.args[0] << " gave: " << error;
  }
}

TEST(HostOptions, DefaultImageLivesInTheUsersDataDirectory) {
  std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", "/data", 1);
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(defaultStorePath(), "/data/vantor/device.cedb");
  setenv("XDG_DATA_HOME", "relative", 1);
  EXPECT_EQ(defaultStorePath(), "/home/u/.local/share/vantor/device.cedb");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(defaultStorePath(), "/home/u/.local/share/vantor/device.cedb");
  unsetenv("HOME");
  EXPECT_EQ(defaultStorePath(), "");
  if (!savedData.empty()) setenv("XDG_DATA_HOME", savedData.c_str(), 1);
  if (!savedHome.empty()) setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace device
