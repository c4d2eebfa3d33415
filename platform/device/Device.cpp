#include "device/Device.h"

#include <poll.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "device/Bus.h"
#include "device/Dump.h"
#include "device/Files.h"
#include "display/HeadlessBackend.h"
#include "display/Png.h"
#include "kernel/Utf.h"
#include "shell/Chrome.h"
#include "store/DeviceImage.h"
#include "user/WindowManager.h"

namespace device {

namespace {

constexpr int kBusSliceMs = 100;
constexpr int kMaxScreenshots = 999;

std::vector<HWND> topLevelWindows() {
  std::vector<HWND> windows;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) windows.push_back(w);
  return windows;
}

void invalidateTree(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) invalidateTree(child);
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The sooner of two timeouts, -1 being none.
int sooner(int a, int b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return a < b ? a : b;
}

}  // namespace

Device& Device::instance() {
  static auto* device = new Device;
  return *device;
}

Device::Device() { configure(Options{}, nullptr); }

Device::~Device() = default;

void Device::configure(const Options& options, std::unique_ptr<display::Backend> backend) {
  options_ = options;
  if (!backend) backend = std::make_unique<display::HeadlessBackend>(options.screenWidth, options.screenHeight);
  chrome_.reset();
  chromeTookInput_ = false;
  backend_ = std::move(backend);
  backend_->framebuffer().setBitsPerPixel(options.depth);
  sipVisible_ = options.sip;
  script_.clear();
  idleDump_.clear();
  idleScreen_.reset();
  if (options.chrome) {
    chrome_ = std::make_unique<shell::Chrome>();
    // The chrome lies over the windows: the stylus on it is its own.
    backend_->setInputFilter([this](const display::InputEvent& event) {
      bool taken = chrome_->takeStylus(event);
      chromeTookInput_ = chromeTookInput_ || taken;
      return taken;
    });
  }
  backend_->setHostHandler([this](display::HostRequest request) { hostRequest(request); });
  // No program window yet, and the window manager may not be there either.
  backend_->setTitle(hostTitle(u""));
}

int Device::screenWidth() const { return backend_->framebuffer().width(); }
int Device::screenHeight() const { return backend_->framebuffer().height(); }

RECT Device::visibleDesktop() const {
  int bottom = screenHeight();
  if (sipVisible_) bottom -= kMenuBarHeight + kSipHeight;
  return {0, kNavBarHeight, screenWidth(), bottom};
}

RECT Device::workArea() const { return {0, kNavBarHeight, screenWidth(), screenHeight() - kMenuBarHeight}; }

RECT Device::sipRect() const {
  int bottom = screenHeight() - kMenuBarHeight;
  return {0, bottom - kSipHeight, screenWidth(), bottom};
}

RECT Device::navBarRect() const { return {0, 0, screenWidth(), kNavBarHeight}; }

RECT Device::menuStripRect() const { return {0, screenHeight() - kMenuBarHeight, screenWidth(), screenHeight()}; }

RECT Device::menuBarRect() const {
  RECT strip = menuStripRect();
  strip.right = std::max(strip.left, strip.right - kSipButtonWidth);
  return strip;
}

display::Backend& Device::backend() { return *backend_; }

void Device::pushInput(const display::InputEvent& event) { backend_->push(event); }

void Device::refreshScreen() {
  if (chrome_) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    chrome_->update(now);
  }
  // Read as the navigation bar reads titles, without asking the window.
  const user::Window* main = user::WindowManager::instance().mainWindow();
  backend_->setTitle(hostTitle(main ? main->text : u""));
  backend_->present();
}

std::string Device::hostTitle(const std::u16string& programName) const {
  std::string title = kernel::utf16ToUtf8(programName);
  if (title.empty()) {
    std::error_code ec;
    title = std::filesystem::read_symlink("/proc/self/exe", ec).filename().string();
  }
  if (!options_.storePath.empty()) title += " - " + std::filesystem::path(options_.storePath).filename().string();
  return title;
}

void Device::hostRequest(display::HostRequest request) {
  switch (request) {
    case display::HostRequest::Rotate:
      rotate();
      break;
    case display::HostRequest::ToggleSip:
      setSipVisible(!sipVisible_);
      break;
    case display::HostRequest::Screenshot: {
      std::string error;
      std::string name = saveNumberedScreenshot(error);
      if (name.empty())
        std::fprintf(stderr, "vantor: no screenshot: %s\n", error.c_str());
      else
        std::printf("vantor: screenshot saved as %s\n", name.c_str());
      std::fflush(stdout);
      break;
    }
    case display::HostRequest::Close:
      shell::Chrome::closeForeground();
      break;
  }
}

std::string Device::saveNumberedScreenshot(std::string& error) {
  std::string png;
  if (!display::encodePng(backend_->framebuffer(), png, error)) return {};
  for (int n = 1; n <= kMaxScreenshots; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "vantor-%03d.png", n);
    std::error_code ec;
    if (std::filesystem::exists(name, ec) || ec) continue;
    if (!writeFileAtomically(name, png, error)) return {};
    return name;
  }
  error = "vantor-001.png to vantor-" + std::to_string(kMaxScreenshots) + ".png are all taken";
  return {};
}

void Device::notifyTopLevelWindows(WPARAM wParam) {
  for (HWND hwnd : topLevelWindows())
    if (IsWindow(hwnd)) SendMessageW(hwnd, WM_SETTINGCHANGE, wParam, 0);
}

// Windows follow the panel themselves when they hear of the change; a panel
// that already is in the asked state changes nothing and says nothing.
void Device::setSipVisible(bool visible) {
  if (visible == sipVisible_) return;
  sipVisible_ = visible;
  // What the panel covered is the windows' again.
  if (!visible && chrome_) {
    const RECT panel = sipRect();
    for (HWND hwnd : topLevelWindows()) {
      RECT r, overlap;
      if (IsWindowVisible(hwnd) && GetWindowRect(hwnd, &r) && IntersectRect(&overlap, &r, &panel))
        InvalidateRect(hwnd, nullptr, TRUE);
    }
  }
  notifyTopLevelWindows(SPI_SETSIPINFO);
}

void Device::rotate() {
  const RECT oldScreen{0, 0, screenWidth(), screenHeight()};
  const RECT oldVisible = visibleDesktop();
  const RECT oldWork = workArea();
  const RECT oldMenuBar = menuBarRect();

  options_.screenWidth = oldScreen.bottom;
  options_.screenHeight = oldScreen.right;
  backend_->framebuffer().resize(options_.screenWidth, options_.screenHeight);

  // A window that filled one of the desktop's areas fills the same area of
  // the turned screen; others keep their place.
  const RECT newScreen{0, 0, screenWidth(), screenHeight()};
  const std::pair<RECT, RECT> areas[] = {
      {oldVisible, visibleDesktop()}, {oldWork, workArea()}, {oldScreen, newScreen}, {oldMenuBar, menuBarRect()}};
  for (HWND hwnd : topLevelWindows()) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) continue;
    for (const auto& [before, after] : areas) {
      if (!sameRect(r, before)) continue;
      SetWindowPos(hwnd, nullptr, after.left, after.top, after.right - after.left, after.bottom - after.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
  }
  // The framebuffer was cleared: everything is drawn again.
  for (HWND hwnd : topLevelWindows()) invalidateTree(hwnd);
  notifyTopLevelWindows(kSettingChangeReset);
}

void Device::idle(int timeoutMs) {
  Bus::instance().service();
  refreshScreen();
  // Input the chrome took may have posted messages (the "ok" button's
  // command) after the queue was looked at: it is looked at again first.
  if (std::exchange(chromeTookInput_, false)) return;
  rememberIdleState();
  if (backend_->interactive()) {
    waitInteractive(timeoutMs);
    return;
  }
  if (script_.waiting()) {
    int ms = script_.remainingWaitMs();
    sleepAnsweringBus(timeoutMs >= 0 && timeoutMs < ms ? timeoutMs : ms);
    return;
  }
  if (script_.finished()) {
    std::fputs(script_.given() ? "script ended; the program is still running\n"
                               : "no script to play (--script); the program is still running\n",
               stderr);
    endRun(kExitScriptEnded);
  }
  std::string error;
  if (!script_.runNext(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    endRun(kExitStepFailed);
  }
}

// A script plays in the window as it does headless; once it is done the
// person carries on, and a step that fails only ends the script.
void Device::waitInteractive(int timeoutMs) {
  if (!script_.finished()) {
    if (!script_.waiting()) {
      std::string error;
      if (!script_.runNext(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        script_.clear();
      }
      return;
    }
    timeoutMs = sooner(timeoutMs, script_.remainingWaitMs());
  }
  if (chrome_) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    timeoutMs = sooner(timeoutMs, shell::Chrome::msUntilNextMinute(now));
  }
  Bus& bus = Bus::instance();
  if (bus.answering()) timeoutMs = sooner(timeoutMs, kBusSliceMs);
  backend_->waitEvents(timeoutMs, bus.pollDescriptor());
}

void Device::sleepAnsweringBus(int timeoutMs) {
  pollfd p{Bus::instance().pollDescriptor(), POLLIN, 0};
  // poll sleeps on a negative descriptor too, which is all that is wanted
  // without a bus.
  poll(&p, 1, timeoutMs);
  Bus::instance().service();
}

void Device::rememberIdleState() {
  if (!options_.dumpPath.empty()) idleDump_ = dumpWindows();
  if (!options_.screenshotPath.empty()) idleScreen_ = backend_->framebuffer();
}

bool Device::writeRequestedFiles(bool lastIdleState) {
  bool written = true;
  std::string error;
  if (!options_.dumpPath.empty()) {
    std::string text = lastIdleState && !idleDump_.empty() ? idleDump_ : dumpWindows();
    if (!writeFileAtomically(options_.dumpPath, text, error)) {
      std::fprintf(stderr, "vantor: %s\n", error.c_str());
      written = false;
    }
  }
  if (!options_.screenshotPath.empty()) {
    const display::Framebuffer& screen =
        lastIdleState && idleScreen_ ? *idleScreen_ : backend_->framebuffer();
    std::string png;
    if (!display::encodePng(screen, png, error) || !writeFileAtomically(options_.screenshotPath, png, error)) {
      std::fprintf(stderr, "vantor: %s\n", error.c_str());
      written = false;
    }
  }
  return written;
}

// A run whose requested files are missing did not do what was asked, whatever
// else happened. The program is stopped as the device stops a process: its
// windows and static objects are not torn down behind its back (their
// destructors would run handlers of a program that is not done), but the
// device image is closed cleanly.
void Device::endRun(int exitCode) {
  if (!writeRequestedFiles(false) && (exitCode == 0 || exitCode == kExitScriptEnded)) exitCode = kExitStepFailed;
  Bus::instance().stop();
  store::closeDeviceImage();
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(exitCode);
}

}  // namespace device
