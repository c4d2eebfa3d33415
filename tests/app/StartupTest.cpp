// Start-up of the real vantor executable, run headless by the harness in a
// directory of its own (its image, its bus's runtime directory).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "device/Bus.h"
#include "framework/CeWnd.h"
#include "harness/ProgramRun.h"

namespace {

using harness::FindWindowIn;
using harness::ProgramRun;

// The script that dumps the windows and closes the program.
const char* const kDumpAndClose = "dump \"$DIR/up.txt\"\nclose\n";

TEST(Startup, TheMainWindowFillsTheVisibleDesktopLessTheMenuBarUnlessThePanelShowsAndCloseEndsWithZero) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "(0,26,240,294)"}, {"--sip", "(0,26,240,214)"}, {"--screen 320x240 --sip", "(0,26,320,134)"}};
  for (auto [options, rect] : cases) {
    SCOPED_TRACE(rect);
    ProgramRun run(VANTOR_EXE);
    const harness::RunResult result = run.Run(kDumpAndClose, options);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.errors.find("script ended"), std::string::npos);
    const harness::Dump dump = run.ReadDump("up.txt");
    const harness::DumpWindow* main = FindWindowIn(dump, "CeWnd:GENERIC", "Vantor");
    ASSERT_NE(main, nullptr) << run.Read("up.txt");
    EXPECT_EQ(main->depth, 0);
    EXPECT_NE(main->line.find(std::string("rect=") + rect + " style=0x10000000 exstyle=0x80000000 visible"),
              std::string::npos)
        << main->line;
  }
}

// This process plays the first instance on the run's image, its main window
// behind another: a second start on that image brings it to the front and
// ends with code 1, one on another image runs as usual.
TEST(Startup, ASecondStartOnTheSameImageBringsTheFirstInstanceToTheFrontAndEndsWithCodeOne) {
  ProgramRun run(VANTOR_EXE);
  const char* savedRuntime = std::getenv("XDG_RUNTIME_DIR");
  const std::string restoreRuntime = savedRuntime != nullptr ? savedRuntime : "";
  setenv("XDG_RUNTIME_DIR", run.Path("run").c_str(), 1);
  device::Bus::instance().start(run.Image());
  ASSERT_TRUE(device::Bus::instance().listening());

  CeWnd mainWindow;
  ASSERT_TRUE(mainWindow.Create(nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, 240, 268, u"Vantor", WS_VISIBLE,
                                WS_EX_CAPTIONOKBTN, nullptr, nullptr));
  HWND cover = CreateWindowExW(0, u"static", u"cover", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(cover);
  ASSERT_EQ(GetForegroundWindow(), cover);

  const pid_t second = run.Start("close\n");
  int exitCode = -1;
  for (int i = 0; i < 12000 && exitCode < 0; ++i) {
    device::Bus::instance().service();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    int status = 0;
    if (waitpid(second, &status, WNOHANG) == second) exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    else usleep(5000);
  }
  if (exitCode < 0) exitCode = ProgramRun::EndWithin(second, 0);
  EXPECT_EQ(exitCode, 1) << run.Read("stderr.txt");
  EXPECT_EQ(GetForegroundWindow(), mainWindow.hwnd);

  // The same runtime directory: only the image tells the two apart.
  std::filesystem::copy_file(run.Image(), run.Path("other.cedb"));
  const harness::RunResult other = run.Run(kDumpAndClose, "--store '" + run.Path("other.cedb") + "'");
  EXPECT_EQ(other.exitCode, 0) << other.errors;
  EXPECT_NE(FindWindowIn(run.ReadDump("up.txt"), "CeWnd:GENERIC", "Vantor"), nullptr);

  DestroyWindow(cover);
  device::Bus::instance().stop();
  if (restoreRuntime.empty())
    unsetenv("XDG_RUNTIME_DIR");
  else
    setenv("XDG_RUNTIME_DIR", restoreRuntime.c_str(), 1);
}

}  // namespace
