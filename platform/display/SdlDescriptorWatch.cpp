#include "display/SdlDescriptorWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace display {

SdlDescriptorWatch::SdlDescriptorWatch(std::function<void()> wake) : wake_(std::move(wake)) {
  if (pipe2(interruptPipe_, O_CLOEXEC | O_NONBLOCK) != 0) interruptPipe_[0] = interruptPipe_[1] = -1;
}

SdlDescriptorWatch::~SdlDescriptorWatch() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  interrupt();
  if (thread_.joinable()) thread_.join();
  for (int fd : interruptPipe_)
    if (fd >= 0) close(fd);
}

void SdlDescriptorWatch::interrupt() {
  if (interruptPipe_[1] < 0) return;
  char byte = 0;
  while (write(interruptPipe_[1], &byte, 1) < 0 && errno == EINTR) {
  }
}

void SdlDescriptorWatch::arm(int descriptor) {
  {
    std::lock_guard lock(mutex_);
    if (armed_ && descriptor_ == descriptor) return;
    bool switching = armed_;
    descriptor_ = descriptor;
    armed_ = descriptor >= 0;
    if (!thread_.joinable() && armed_) thread_ = std::thread([this] { run(); });
    if (!switching) {
      changed_.notify_all();
      return;
    }
  }
  // The thread waits on the old descriptor: it looks again.
  interrupt();
}

void SdlDescriptorWatch::run() {
  for (;;) {
    int descriptor;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stop_ || armed_; });
      if (stop_) return;
      descriptor = descriptor_;
    }
    pollfd fds[2] = {{descriptor, POLLIN, 0}, {interruptPipe_[0], POLLIN, 0}};
    int n = poll(fds, 2, -1);
    if (n < 0) continue;  // EINTR: look again
    if (fds[1].revents & POLLIN) {
      char buffer[64];
      while (read(interruptPipe_[0], buffer, sizeof buffer) > 0) {
      }
      continue;
    }
    if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))) continue;
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      if (descriptor_ != descriptor || !armed_) continue;
      armed_ = false;
    }
    wake_();
  }
}

}  // namespace display
