#include "display/HeadlessBackend.h"

namespace display {

bool HeadlessBackend::pollEvent(InputEvent& event) {
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

// Nothing can arrive while we wait: the device's idle step decides what
// happens next instead.
void HeadlessBackend::waitEvents(int) {}

void HeadlessBackend::present() {
  framebuffer_.takeDirty();
  ++presentCount_;
}

}  // namespace display
