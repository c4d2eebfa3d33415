// The device itself: its screen, its input panel, its display backend and the
// options the host was started with. One per process.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <windef.h>

#include "device/ScriptPlayer.h"
#include "display/Backend.h"

namespace shell {
class Chrome;
}

namespace device {

struct Options {
  std::string storePath;       // --store; empty: the default image
  bool readOnly = false;       // --read-only: nothing is written to the image
  int screenWidth = 240;       // --screen WxH
  int screenHeight = 320;
  int depth = 16;              // --depth: bits per pixel, 16 (colour) or 2 (four greys)
  int scale = 0;               // --scale; 0: fit the desktop
  bool sip = false;            // --sip: input panel shown at start
  bool headless = false;       // --headless, or no display available
  std::string scriptPath;      // --script
  std::string screenshotPath;  // --screenshot
  std::string dumpPath;        // --dump
  // The shell's chrome: navigation bar, menu-bar strip and input panel. The
  // host always has it; a bare screen serves the platform's own tests.
  bool chrome = false;
};

class Device {
 public:
  static constexpr int kNavBarHeight = 26;
  static constexpr int kMenuBarHeight = 26;
  static constexpr int kSipHeight = 80;
  static constexpr int kSipButtonWidth = 30;  // at the right of the menu-bar strip
  static constexpr int kDpi = 96;

  // Exit codes of the host besides the program's own (0 and 1).
  static constexpr int kExitBadInput = 2;     // options, script or device image refused
  static constexpr int kExitScriptEnded = 3;  // the script ended with the program running
  static constexpr int kExitStepFailed = 4;   // a script step could not be done

  // wParam of the WM_SETTINGCHANGE sent after a rotation.
  static constexpr unsigned kSettingChangeReset = 0x3002;

  static Device& instance();
  ~Device();

  const Options& options() const { return options_; }
  // Replaces the options and the backend; used by main and by tests.
  void configure(const Options& options, std::unique_ptr<display::Backend> backend);

  int screenWidth() const;
  int screenHeight() const;
  int bitsPerPixel() const { return options_.depth; }
  bool sipVisible() const { return sipVisible_; }

  // Below the navigation bar down to the screen's bottom, or to the panel's
  // top while the input panel shows.
  RECT visibleDesktop() const;
  // Below the navigation bar, above the menu-bar strip.
  RECT workArea() const;
  RECT sipRect() const;
  RECT navBarRect() const;
  // The whole strip at the bottom, and the part of it a menu bar window
  // takes: all but the input-panel button at the right.
  RECT menuStripRect() const;
  RECT menuBarRect() const;

  // Shows or hides the input panel; top-level windows get WM_SETTINGCHANGE.
  void setSipVisible(bool visible);
  // Swaps width and height; top-level windows get WM_SETTINGCHANGE.
  void rotate();

  display::Backend& backend();
  bool headless() const { return !backend_->interactive(); }
  // Queues input as if it came from the stylus or the keyboard.
  void pushInput(const display::InputEvent& event);
  // Null on a bare screen.
  shell::Chrome* chrome() { return chrome_.get(); }

  // Brings the chrome and the host window's title up to date and shows what
  // changed on the screen.
  void refreshScreen();
  // What the host window asks: F2, F3, F12 and its close box.
  void hostRequest(display::HostRequest request);
  // Writes the screen to the first free vantor-NNN.png in the current
  // directory; the name written, or empty with error set.
  std::string saveNumberedScreenshot(std::string& error);

  // Called by the window manager when it has nothing to deliver: no queued
  // message, no input, nothing to paint. timeoutMs is the time until the next
  // timer is due (-1: none). Answers the bus and refreshes the screen, then
  // runs the next script step on a headless device. An interactive one plays
  // a script too, if it has one, and otherwise waits for input, a timer, the
  // clock's next minute or the bus.
  void idle(int timeoutMs);

  ScriptPlayer& script() { return script_; }

  // Writes the files --dump and --screenshot ask for: the state at the last
  // idle point (after the program's windows are gone, that is what a person
  // last saw), or the state now. False when one could not be written; the
  // reason is printed.
  bool writeRequestedFiles(bool lastIdleState);
  // Ends the process: writes the requested files as they are now, stops the
  // bus and exits with exitCode.
  [[noreturn]] void endRun(int exitCode);

 private:
  Device();
  // The program's name and the device image's, "Vantor - device.cedb", so
  // that a person running two images tells their windows apart. programName
  // is the main window's title; without one, the executable's name stands in.
  std::string hostTitle(const std::u16string& programName) const;
  void notifyTopLevelWindows(WPARAM wParam);
  void rememberIdleState();
  void sleepAnsweringBus(int timeoutMs);
  void waitInteractive(int timeoutMs);
  Options options_;
  std::unique_ptr<display::Backend> backend_;
  std::unique_ptr<shell::Chrome> chrome_;
  bool chromeTookInput_ = false;
  bool sipVisible_ = false;
  ScriptPlayer script_;
  std::string idleDump_;
  std::optional<display::Framebuffer> idleScreen_;
};

}  // namespace device
