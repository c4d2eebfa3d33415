// Wakes the SDL window's event wait when a descriptor (the device's bus)
// becomes readable, so that an idle device sleeps in one place without
// polling. A small thread waits on the descriptor and posts an SDL event;
// it then rests until armed again, because the descriptor stays readable
// until the device has answered it.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace display {

class SdlDescriptorWatch {
 public:
  // wake runs on the watching thread.
  explicit SdlDescriptorWatch(std::function<void()> wake);
  ~SdlDescriptorWatch();
  SdlDescriptorWatch(const SdlDescriptorWatch&) = delete;
  SdlDescriptorWatch& operator=(const SdlDescriptorWatch&) = delete;

  // Calls wake once when descriptor is readable (now or later).
  void arm(int descriptor);

 private:
  void run();
  void interrupt();

  std::function<void()> wake_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int descriptor_ = -1;
  bool armed_ = false;
  bool stop_ = false;
  int interruptPipe_[2] = {-1, -1};
};

}  // namespace display
