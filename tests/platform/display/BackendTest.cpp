// What every display does alike: queued input first, a filter that takes
// events and may queue others, and the framebuffer's dirty region. The
// close box of a window nobody answers is checked on the SDL display.
#include <gtest/gtest.h>

#include "EventText.h"
#include "display/HeadlessBackend.h"

namespace display {
namespace {

using Type = InputEvent::Type;

InputEvent at(Type type, int x, int y) { return {.type = type, .x = x, .y = y}; }

// A display whose own input is a list.
class ListBackend : public HeadlessBackend {
 public:
  ListBackend() : HeadlessBackend(240, 320) {}
  std::vector<InputEvent> own;

 protected:
  bool takeEvent(InputEvent& event) override {
    if (own.empty()) return false;
    event = own.front();
    own.erase(own.begin());
    return true;
  }
};

TEST(Backend, QueuedInputComesFirstAndTheFilterTakesEventsWhatItQueuesComingNext) {
  ListBackend backend;
  backend.own = {at(Type::StylusDown, 1, 1)};
  backend.push(at(Type::StylusDown, 2, 2));
  EXPECT_EQ(drainText(backend), "down 2,2 down 1,1");
  // Taps in the top band become a character; the rest passes.
  backend.setInputFilter([&](const InputEvent& e) {
    if (e.type == Type::Char || e.y >= 10) return false;
    if (e.type == Type::StylusUp) backend.push({.type = Type::Char, .ch = u'k'});
    return true;
  });
  backend.own = {at(Type::StylusDown, 5, 5), at(Type::StylusUp, 5, 5), at(Type::StylusDown, 50, 50),
                 at(Type::StylusUp, 50, 50)};
  EXPECT_EQ(drainText(backend), "char 6b down 50,50 up 50,50");
}

TEST(Framebuffer, CountsWritesAndKeepsTheDirtyRegionUntilTaken) {
  Framebuffer fb(240, 320);
  fb.takeDirty();
  const uint64_t writes = fb.writeCount();
  fb.fill({300, 300, 400, 400}, 0);  // off the screen: no write
  EXPECT_EQ(fb.writeCount(), writes);
  fb.fill({10, 10, 20, 20}, 0);
  fb.fill({30, 5, 40, 15}, 0);
  EXPECT_EQ(fb.writeCount(), writes + 2);
  EXPECT_EQ(fb.dirty(), (Rect{10, 5, 40, 20}));
  EXPECT_EQ(fb.dirty(), (Rect{10, 5, 40, 20}));
  EXPECT_EQ(fb.takeDirty(), (Rect{10, 5, 40, 20}));
  EXPECT_TRUE(fb.dirty().empty());
}

}  // namespace
}  // namespace display
