#include "device/Bus.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <windows.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "device/BusProtocol.h"
#include "user/WindowManager.h"

namespace device {

namespace {

constexpr size_t kMaxConnections = 16;
constexpr size_t kMaxRequestBytes = 8 * 1024;

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint64_t fnv1a(const std::string& text) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Waits for fd to become ready for events until deadline; false on timeout.
bool waitReady(int fd, short events, int64_t deadline) {
  while (true) {
    int left = static_cast<int>(deadline - nowMs());
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    int n = poll(&p, 1, left);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

// One request, one answer, within the bus's time limit.
bool call(const std::string& path, const bus::Request& request, bool& ok, uint64_t& value) {
  sockaddr_un address;
  if (path.empty() || !fillAddress(path, address)) return false;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  const int64_t deadline = nowMs() + Bus::kTimeoutMs;
  bool answered = false;
  std::string out = bus::encodeRequest(request);
  std::string in;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ||
      (errno == EAGAIN && waitReady(fd, POLLOUT, deadline))) {
    size_t sent = 0;
    while (sent < out.size() && waitReady(fd, POLLOUT, deadline)) {
      ssize_t n = send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    while (sent == out.size() && in.size() < bus::kAnswerSize && waitReady(fd, POLLIN, deadline)) {
      char buffer[16];
      ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) break;
      in.append(buffer, static_cast<size_t>(n));
    }
    answered = bus::parseAnswer(in, ok, value);
  }
  close(fd);
  return answered;
}

// The first of the places named that exists.
std::string runtimeDirectory() {
  for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* dir = std::getenv(name);
    std::error_code ec;
    if (dir && *dir && std::filesystem::is_directory(dir, ec)) return dir;
  }
  return "/tmp";
}

}  // namespace

Bus& Bus::instance() {
  static auto* bus = new Bus;
  return *bus;
}

std::string Bus::socketPathFor(const std::string& imagePath) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(imagePath, ec);
  if (ec) canonical = std::filesystem::absolute(imagePath, ec);
  char name[40];
  std::snprintf(name, sizeof name, "vantor-%016llx.sock", static_cast<unsigned long long>(fnv1a(canonical.string())));
  std::string path = runtimeDirectory() + "/" + name;
  sockaddr_un address;
  // A socket's path has a short length limit; a deep runtime directory
  // falls back to the common one.
  if (!fillAddress(path, address)) path = std::string("/tmp/") + name;
  return path;
}

void Bus::start(const std::string& imagePath) {
  stop();
  const std::string path = socketPathFor(imagePath);
  // Two processes starting together must not both take over the socket: the
  // directory it lives in is locked while one looks (no lock file to leave
  // behind).
  int lockFd = open(std::filesystem::path(path).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lockFd >= 0) flock(lockFd, LOCK_EX);

  bool ok = false;
  uint64_t value = 0;
  if (call(path, {bus::Op::Ping, {}, {}, 0}, ok, value) && ok) {
    socketPath_ = path;  // another process listens: this one asks it
  } else {
    unlink(path.c_str());  // stale: nobody answers there
    if (listenAt(path)) socketPath_ = path;
  }
  if (lockFd >= 0) close(lockFd);
}

bool Bus::listenAt(const std::string& path) {
  sockaddr_un address;
  if (!fillAddress(path, address)) return false;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  mode_t old = umask(077);
  bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  umask(old);
  struct stat st;
  if (!bound || listen(fd, 8) != 0 || stat(path.c_str(), &st) != 0) {
    close(fd);
    return false;
  }
  epollFd_ = epoll_create1(EPOLL_CLOEXEC);
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = fd;
  if (epollFd_ < 0 || epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &ev) != 0) {
    if (epollFd_ >= 0) close(epollFd_);
    epollFd_ = -1;
    close(fd);
    unlink(path.c_str());
    return false;
  }
  listenFd_ = fd;
  socketInode_ = st.st_ino;
  return true;
}

void Bus::stop() {
  for (Connection& c : connections_) closeConnection(c);
  connections_.clear();
  if (listenFd_ >= 0) {
    // Only our own socket goes: a process that took over a socket it thought
    // stale keeps its.
    struct stat st;
    if (stat(socketPath_.c_str(), &st) == 0 && st.st_ino == socketInode_) unlink(socketPath_.c_str());
    close(listenFd_);
    listenFd_ = -1;
  }
  if (epollFd_ >= 0) close(epollFd_);
  epollFd_ = -1;
  socketPath_.clear();
  socketInode_ = 0;
}

int Bus::pollDescriptor() const { return epollFd_; }

std::optional<uint64_t> Bus::findRemote(const std::u16string& className, const std::u16string& title) {
  if (listening() || className.size() > bus::kMaxTextUnits || title.size() > bus::kMaxTextUnits)
    return std::nullopt;
  bool ok = false;
  uint64_t value = 0;
  if (!call(socketPath_, {bus::Op::Find, className, title, 0}, ok, value) || !ok) return std::nullopt;
  return value;
}

bool Bus::raiseRemote(uint64_t remoteHwnd) {
  if (listening()) return false;
  bool ok = false;
  uint64_t value = 0;
  return call(socketPath_, {bus::Op::Raise, {}, {}, remoteHwnd}, ok, value) && ok;
}

void Bus::service() {
  if (listenFd_ < 0) return;
  accept();
  const int64_t now = nowMs();
  for (size_t i = 0; i < connections_.size();) {
    Connection& c = connections_[i];
    if (read(c) || now - c.openedMs > kTimeoutMs) {
      closeConnection(c);
      connections_.erase(connections_.begin() + static_cast<ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

void Bus::accept() {
  while (true) {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = fd;
    if (connections_.size() >= kMaxConnections || epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &ev) != 0) {
      close(fd);
      continue;
    }
    connections_.push_back({fd, {}, nowMs()});
  }
}

bool Bus::read(Connection& c) {
  char buffer[1024];
  while (true) {
    ssize_t n = recv(c.fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) break;
    if (n <= 0) return true;  // the client gave up
    c.request.append(buffer, static_cast<size_t>(n));
    if (c.request.size() > kMaxRequestBytes) return true;
  }
  bus::Request request;
  switch (bus::parseRequest(c.request, request)) {
    case bus::Parse::Incomplete: return false;
    case bus::Parse::Malformed: return true;
    case bus::Parse::Complete: break;
  }
  bool ok = false;
  uint64_t value = 0;
  switch (request.op) {
    case bus::Op::Ping: ok = true; break;
    case bus::Op::Find:
      if (HWND hwnd = user::findLocalWindow(request.className.empty() ? nullptr : request.className.c_str(),
                                            request.title.empty() ? nullptr : request.title.c_str())) {
        ok = true;
        value = reinterpret_cast<uintptr_t>(hwnd);
      }
      break;
    case bus::Op::Raise:
      ok = SetForegroundWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(request.handle)));
      break;
  }
  std::string answer = bus::encodeAnswer(ok, value);
  send(c.fd, answer.data(), answer.size(), MSG_NOSIGNAL);  // small enough for the socket's buffer
  return true;
}

void Bus::closeConnection(Connection& c) {
  if (c.fd < 0) return;
  if (epollFd_ >= 0) epoll_ctl(epollFd_, EPOLL_CTL_DEL, c.fd, nullptr);
  close(c.fd);
  c.fd = -1;
}

}  // namespace device
