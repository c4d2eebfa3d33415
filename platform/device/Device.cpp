#include "device/Device.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "display/HeadlessBackend.h"

namespace device {

namespace {

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
  if (backend_->interactive()) {
    backend_->waitEvents(timeoutMs);
    return;
  }
  endRun(kExitScriptEnded);
}

void Device::endRun(int exitCode) {
  if (exitCode == kExitScriptEnded) std::fputs("script ended; the program is still running\n", stderr);
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(exitCode);
}

}  // namespace device
