#include "display/Backend.h"

namespace display {

bool Backend::pollEvent(InputEvent& event) {
  for (;;) {
    if (queued_.empty()) {
      // The display's own event may come as queued ones (a text's characters).
      if (!takeEvent(event)) {
        if (queued_.empty()) return false;
        continue;
      }
    } else {
      event = queued_.front();
      queued_.pop_front();
    }
    // The filter may queue events of its own (keys of the input panel);
    // they come round in this loop.
    if (!filter_ || !filter_(event)) return true;
  }
}

void Backend::setTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  showTitle(title_);
}

void Backend::requestHost(HostRequest request) {
  if (hostHandler_) {
    hostHandler_(request);
    return;
  }
  if (request == HostRequest::Close) {
    InputEvent quit;
    quit.type = InputEvent::Type::Quit;
    push(quit);
  }
}

}  // namespace display
