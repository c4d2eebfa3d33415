// SHSipPreference: a window asks for the input panel up or down. A dialog
// that declared itself an input dialog keeps the panel up against later
// requests to lower it; only a forced request lowers it then.
#include <algorithm>
#include <vector>

#include <aygshell.h>

#include "device/Device.h"

namespace {

class InputDialogs {
 public:
  static InputDialogs& instance() {
    static auto* dialogs = new InputDialogs;
    return *dialogs;
  }
  void add(HWND hwnd) {
    prune();
    if (!holds(hwnd)) windows_.push_back(hwnd);
  }
  bool holds(HWND hwnd) {
    prune();
    return std::find(windows_.begin(), windows_.end(), hwnd) != windows_.end();
  }

 private:
  void prune() { std::erase_if(windows_, [](HWND w) { return !IsWindow(w); }); }
  std::vector<HWND> windows_;
};

HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

BOOL WINAPI SHSipPreference(HWND hwnd, SIPSTATE state) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  device::Device& device = device::Device::instance();
  HWND top = topLevelOf(hwnd);
  switch (state) {
    case SIP_UP:
      device.setSipVisible(true);
      return TRUE;
    case SIP_DOWN:
      if (!InputDialogs::instance().holds(top)) device.setSipVisible(false);
      return TRUE;
    case SIP_FORCEDOWN:
      device.setSipVisible(false);
      return TRUE;
    case SIP_UNCHANGED:
      return TRUE;
    case SIP_INPUTDIALOG:
      InputDialogs::instance().add(top);
      return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
