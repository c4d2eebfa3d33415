#include "user/RemoteWindows.h"

#include "device/Bus.h"
#include "kernel/HandleTable.h"

namespace user {

namespace {

struct RemoteWindow {
  uint64_t remote;
};

kernel::HandleTable<RemoteWindow>& table() {
  static auto* remotes = new kernel::HandleTable<RemoteWindow>(11);
  return *remotes;
}

}  // namespace

HWND remoteWindowHandle(uint64_t remote) {
  HWND found = nullptr;
  table().forEach([&](uint32_t handle, const RemoteWindow& w) {
    if (w.remote == remote) found = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
  });
  if (found) return found;
  return table().add<HWND>(std::make_unique<RemoteWindow>(RemoteWindow{remote}));
}

bool isRemoteWindow(HWND hwnd) { return table().get(hwnd) != nullptr; }

bool raiseRemoteWindow(HWND hwnd) {
  RemoteWindow* w = table().get(hwnd);
  return w && device::Bus::instance().raiseRemote(w->remote);
}

}  // namespace user
