// Lets processes on the same device image find each other's top-level
// windows: the first process listens on a Unix socket named from the image,
// later ones ask it. Requests are answered while the first one idles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
  // A client is connected and not yet answered: its request may arrive in
  // parts, or never, so it is looked at again soon.
  bool answering() const { return !connections_.empty(); }

  bool listening() const { return listenFd_ >= 0; }
  const std::string& socketPath() const { return socketPath_; }
  // Where the bus of an image lives: $XDG_RUNTIME_DIR, else $TMPDIR, else
  // /tmp, named from the image's canonical path.
  static std::string socketPathFor(const std::string& imagePath);

  // How long a client waits for the listening process.
  static constexpr int kTimeoutMs = 2000;

 private:
  struct Connection {
    int fd = -1;
    std::string request;
    int64_t openedMs = 0;
  };
  Bus() = default;
  bool listenAt(const std::string& path);
  void accept();
  // Reads what a client sent; true when the connection is done with.
  bool read(Connection& connection);
  void closeConnection(Connection& connection);

  int listenFd_ = -1;
  int epollFd_ = -1;
  uint64_t socketInode_ = 0;
  std::string socketPath_;
  std::vector<Connection> connections_;
};

}  // namespace device
