// A display with no window: the framebuffer only. Input comes from whoever
// pushes it (the script player, a test), and waiting never blocks, because
// no person is there to type.
#pragma once

#include <deque>

#include "display/Backend.h"

namespace display {

class HeadlessBackend : public Backend {
 public:
  HeadlessBackend(int width, int height) : framebuffer_(width, height) {}

  bool interactive() const override { return false; }
  Framebuffer& framebuffer() override { return framebuffer_; }
  bool pollEvent(InputEvent& event) override;
  void waitEvents(int timeoutMs) override;
  void present() override;

  // Queues an event for the window manager to take.
  void push(const InputEvent& event) { events_.push_back(event); }
  size_t pendingEvents() const { return events_.size(); }
  // How often the device asked to show the framebuffer.
  int presentCount() const { return presentCount_; }

 private:
  Framebuffer framebuffer_;
  std::deque<InputEvent> events_;
  int presentCount_ = 0;
};

}  // namespace display
