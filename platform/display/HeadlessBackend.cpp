#include "display/HeadlessBackend.h"

namespace display {

// Nothing can arrive while we wait: the device's idle step decides what
// happens next instead.
void HeadlessBackend::waitEvents(int, int) {}

void HeadlessBackend::present() {
  framebuffer_.takeDirty();
  ++presentCount_;
}

}  // namespace display
