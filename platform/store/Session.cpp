#include "store/Session.h"

#include <vector>

namespace store {
namespace {
std::vector<SessionCloser>& closers() {
  static auto* list = new std::vector<SessionCloser>;
  return *list;
}
}  // namespace

void registerSessionCloser(SessionCloser closer) {
  for (SessionCloser known : closers())
    if (known == closer) return;
  closers().push_back(closer);
}

void closeSessionHandles() {
  for (SessionCloser closer : closers()) closer();
}

}  // namespace store
