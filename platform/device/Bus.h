// Lets processes on the same device image find each other's top-level
// windows: the first process listens on a Unix socket named from the image,
// later ones ask it. Requests are answered while the first one idles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace device {

class Bus {
 public:
  static Bus& instance();

  // Listens for the image at imagePath, or connects as a client when another
  // live process already listens. A stale socket is taken over.
  void start(const std::string& imagePath);
  void stop();

  // Asks the listening process for a top-level window with this class and
  // title (either may be empty: any). Returns its handle value there.
  std::optional<uint64_t> findRemote(const std::u16string& className, const std::u16string& title);
  // Asks the listening process to bring one of its windows to the front.
  bool raiseRemote(uint64_t remoteHwnd);

  // Answers pending requests; called from the device's idle wait.
  void service();
  // Descriptor to wait on for requests (-1 when not listening).
  int pollDescriptor() const;

 private:
  Bus() = default;
  int listenFd_ = -1;
  std::string socketPath_;
};

}  // namespace device
