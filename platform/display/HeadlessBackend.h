// A display with no window: the framebuffer only. Input comes from whoever
// pushes it (the script player, a test), and waiting never blocks, because
// no person is there to type.
#pragma once

#include "display/Backend.h"

namespace display {

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend(int width, int height) : framebuffer_(width, height) {}

  bool interactive() const override { return false; }
  Framebuffer& framebuffer() override { return framebuffer_; }
  void waitEvents(int timeoutMs, int descriptor = -1) override;
  void present() override;

  // How often the device asked to show the framebuffer.
  int presentCount() const { return presentCount_; }

 private:
  Framebuffer framebuffer_;
  int presentCount_ = 0;
};

}  // namespace display
