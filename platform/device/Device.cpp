#include "device/Device.h"

#include <poll.h>
#include <unistd.h>
#include <windows.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "device/Bus.h"
#include "device/Dump.h"
#include "device/Files.h"
#include "display/HeadlessBackend.h"
#include "display/Png.h"
#include "store/DeviceImage.h"

namespace device {

namespace {

constexpr int kBusSliceMs = 100;

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

}  // namespace

Device& Device::instance() {
  static auto* device = new Device;
  return *device;
}

Device::Device() : backend_(std::make_unique<display::HeadlessBackend>(options_.screenWidth, options_.screenHeight)) {}

void Device::configure(const Options& options, std::unique_ptr<display::Backend> backend) {
  options_ = options;
  if (!backend) backend = std::make_unique<display::HeadlessBackend>(options.screenWidth, options.screenHeight);
  backend_ = std::move(backend);
  sipVisible_ = options.sip;
  script_.clear();
  idleDump_.clear();
  idleScreen_.reset();
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

display::Backend& Device::backend() { return *backend_; }

void Device::pushInput(const display::InputEvent& event) {
  // Only a headless display takes input from anything but its own devices.
  if (auto* headless = dynamic_cast<display::HeadlessBackend*>(backend_.get())) headless->push(event);
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
  notifyTopLevelWindows(SPI_SETSIPINFO);
}

void Device::rotate() {
  const RECT oldScreen{0, 0, screenWidth(), screenHeight()};
  const RECT oldVisible = visibleDesktop();
  const RECT oldWork = workArea();

  options_.screenWidth = oldScreen.bottom;
  options_.screenHeight = oldScreen.right;
  backend_->framebuffer().resize(options_.screenWidth, options_.screenHeight);

  // A window that filled one of the desktop's areas fills the same area of
  // the turned screen; others keep their place.
  const RECT newScreen{0, 0, screenWidth(), screenHeight()};
  const std::pair<RECT, RECT> areas[] = {
      {oldVisible, visibleDesktop()}, {oldWork, workArea()}, {oldScreen, newScreen}};
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
  rememberIdleState();
  if (backend_->interactive()) {
    // The display cannot wait on the bus too: it is looked at every so often.
    int slice = Bus::instance().pollDescriptor() >= 0 ? kBusSliceMs : -1;
    if (timeoutMs < 0 || (slice >= 0 && slice < timeoutMs)) timeoutMs = slice;
    backend_->waitEvents(timeoutMs);
    return;
  }
  if (script_.waiting()) {
    int ms = script_.remainingWaitMs();
    sleepAnsweringBus(timeoutMs >= 0 && timeoutMs < ms ? timeoutMs : ms);
    return;
  }
  if (script_.finished()) {
    std::fputs("script ended; the program is still running\n", stderr);
    endRun(kExitScriptEnded);
  }
  std::string error;
  if (!script_.runNext(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    endRun(kExitStepFailed);
  }
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
