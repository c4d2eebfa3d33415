// The SDL window on SDL's dummy video driver: mouse, keys, text, host keys,
// uploads of what changed, scale, the wake-up by a descriptor (the input
// filter and queued keys are the input panel's, PanelTest).
#include <gtest/gtest.h>
#include <SDL.h>
#include <unistd.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <vector>

#include "EventText.h"
#include "display/SdlBackend.h"
#include "display/SdlDescriptorWatch.h"

namespace display {
namespace {

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    backend_ = SdlBackend::open(240, 320, 2, error);
    ASSERT_TRUE(backend_) << error;
    backend_->present();
    drain();
  }

  std::string drain() { return drainText(*backend_); }

  // One host event: mouse at x, y (button code), key (code, mods), text, or focus lost.
  struct Sent {
    uint32_t type;
    int x = 0, y = 0, code = 0;
    uint16_t mods = 0;
    const char* text = "";
    bool repeat = false;
  };
  void send(const Sent& s) {
    SDL_Event e{};
    e.type = s.type;
    e.window.windowID = SDL_GetWindowID(backend_->window());  // where every window's event has it
    if (s.type == SDL_MOUSEMOTION) {
      e.motion.x = s.x;
      e.motion.y = s.y;
    } else if (s.type == SDL_MOUSEBUTTONDOWN || s.type == SDL_MOUSEBUTTONUP) {
      e.button.button = s.code ? uint8_t(s.code) : uint8_t(SDL_BUTTON_LEFT);
      e.button.x = s.x;
      e.button.y = s.y;
    } else if (s.type == SDL_TEXTINPUT) {
      SDL_strlcpy(e.text.text, s.text, sizeof e.text.text);
    } else if (s.type == SDL_WINDOWEVENT) {
      e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    } else {
      e.key.keysym.sym = s.code;
      e.key.keysym.mod = s.mods;
      e.key.repeat = s.repeat;
    }
    SDL_PushEvent(&e);
  }

  std::unique_ptr<SdlBackend> backend_;
};

TEST_F(SdlBackendTest, TheMouseIsTheStylusKeysThatTypeComeAsKeysOtherTextAsCharactersAndHostKeysGoToTheHost) {
  constexpr uint32_t kMove = SDL_MOUSEMOTION, kDown = SDL_MOUSEBUTTONDOWN, kUp = SDL_MOUSEBUTTONUP;
  auto key = [](SDL_Keycode c, uint16_t mods = 0, uint32_t type = SDL_KEYDOWN) { return Sent{type, 0, 0, c, mods}; };
  auto text = [](const char* utf8) { return Sent{SDL_TEXTINPUT, 0, 0, 0, 0, utf8}; };
  const struct { const char* name; std::vector<Sent> sent; const char* expected; } cases[] = {
      {"the mouse in the window, dragged out of it; other buttons and stray ups are nothing",
       {{kMove, 50, 50}, {kDown, 21, 41}, {kMove, 479, 639}, {kMove, -30, 2000}, {kDown, 100, 100, SDL_BUTTON_RIGHT},
        {kUp, 300, 2}, {kMove, 60, 60}, {kUp, 60, 60}},
       "down 10,20 move 239,319 move 0,319 up 150,1"},
      {"the stylus carries the modifiers held when it was pressed",
       {key(SDLK_LCTRL, KMOD_LCTRL), {kDown, 20, 20}, key(SDLK_LCTRL, 0, SDL_KEYUP), {kUp, 20, 20}},
       "keydown 11+ctrl down 10,10+ctrl keyup 11 up 10,10"},
      {"losing the focus lifts the stylus where it was, once",
       {{kDown, 40, 40}, {kMove, 100, 60}, {SDL_WINDOWEVENT}, {SDL_WINDOWEVENT}, {kDown, 10, 10}},
       "down 20,20 move 50,30 up 50,30 down 5,5"},
      {"a letter: its key, not its text twice", {key(SDLK_a), text("a"), key(SDLK_a, 0, SDL_KEYUP)},
       "keydown 41 keyup 41"},
      {"caps lock shifts letters", {key(SDLK_q, KMOD_CAPS), text("Q")}, "keydown 51+shift"},
      {"a shifted digit is the host layout's character",
       {key(SDLK_1, KMOD_LSHIFT), text("!"), key(SDLK_1, KMOD_LSHIFT, SDL_KEYUP)}, "char 21"},
      {"AltGr makes characters the key does not name", {key(SDLK_q, KMOD_RALT), text("@")}, "char 40"},
      {"text alone, beyond the BMP", {text("\xC3\xA9"), text("\xF0\x9D\x84\x9E")}, "char e9 char d834 char dd1e"},
      {"control and a letter type no text", {key(SDLK_c, KMOD_LCTRL), text("x")}, "keydown 43+ctrl char 78"},
      {"keys that type nothing",  // VK_RETURN, VK_DOWN, VK_BACK, VK_OEM_1, VK_PRIOR
       {key(SDLK_RETURN), key(SDLK_DOWN), key(SDLK_BACKSPACE), key(SDLK_SEMICOLON), text(";"), key(SDLK_PAGEUP)},
       "keydown d keydown 28 keydown 8 keydown ba keydown 21"},
      {"host keys, held down or not, and the close box go to the host",
       {key(SDLK_F2), {SDL_KEYDOWN, 0, 0, SDLK_F2, 0, "", true}, key(SDLK_F2, 0, SDL_KEYUP), key(SDLK_F3),
        key(SDLK_F12), {SDL_QUIT}},
       ""},
  };
  std::vector<HostRequest> requests;
  backend_->setHostHandler([&](HostRequest r) { requests.push_back(r); });
  for (const auto& c : cases) {
    for (const Sent& e : c.sent) send(e);
    EXPECT_EQ(drain(), c.expected) << c.name;
  }
  EXPECT_EQ(requests, (std::vector<HostRequest>{HostRequest::Rotate, HostRequest::ToggleSip, HostRequest::Screenshot,
                                                HostRequest::Close}));
  backend_->setHostHandler(nullptr);
  send({SDL_QUIT});
  EXPECT_EQ(drain(), "quit") << "with nobody to ask, closing the window quits";
}

TEST_F(SdlBackendTest, PresentUploadsOnlyWhatChangedAndEachDevicePixelIsASharpBlockOfTheScale) {
  auto size = [&, w = 0, h = 0]() mutable {
    SDL_GetWindowSize(backend_->window(), &w, &h);
    return std::make_pair(w, h);
  };
  EXPECT_EQ(size(), std::make_pair(480, 640));
  backend_->setTitle("Gallery - device.cedb");
  EXPECT_STREQ(SDL_GetWindowTitle(backend_->window()), "Gallery - device.cedb");

  Framebuffer& fb = backend_->framebuffer();
  const uint64_t before = backend_->uploadedPixels();
  const int renders = backend_->renderCount();
  fb.fill({10, 20, 30, 60}, 0x00336699);
  fb.fill({12, 30, 14, 32}, 0x00000000);
  for (int i = 0; i < 2; ++i) {  // the second time nothing changed: nothing uploaded, nothing drawn
    backend_->present();
    EXPECT_TRUE(i ? backend_->lastUpload().empty() : backend_->lastUpload() == (Rect{10, 20, 30, 60}));
    EXPECT_EQ(backend_->uploadedPixels() - before, 20u * 40u);
    EXPECT_EQ(backend_->renderCount(), renders + 1);
  }

  for (int y = 0; y < fb.height(); ++y)
    for (int x = 0; x < fb.width(); ++x) fb.row(y)[x] = ((x + y) % 2) ? 0x00FF0000 : 0x000000FF;
  fb.markDirty(fb.bounds());
  backend_->present();
  std::vector<uint32_t> shown(480 * 640);
  ASSERT_EQ(SDL_RenderReadPixels(backend_->renderer(), nullptr, SDL_PIXELFORMAT_RGB888, shown.data(), 480 * 4), 0);
  for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{17, 33}, POINT{239, 319}})
    for (int d = 0; d < 4; ++d)
      EXPECT_EQ(shown[size_t(p.y * 2 + d / 2) * 480 + size_t(p.x * 2 + d % 2)] & 0xFFFFFF, fb.pixel(p.x, p.y)) << p.x;

  // Turning the screen reshapes the window.
  fb.resize(320, 240);
  backend_->present();
  EXPECT_EQ(size(), std::make_pair(640, 480));
  EXPECT_EQ(backend_->lastUpload(), (Rect{0, 0, 320, 240}));
  send({SDL_MOUSEBUTTONDOWN, 639, 479});
  EXPECT_EQ(drain(), "down 319,239");

  // Without a scale it fits the desktop (the dummy display is 1024 x 768).
  std::string error;
  backend_ = SdlBackend::open(240, 320, 0, error);
  ASSERT_TRUE(backend_) << error;
  EXPECT_EQ(backend_->scale(), 2);
}

// A broken wake-up would leave these waiting for their full bound, then fail.
constexpr int kBoundMs = 30000;

TEST_F(SdlBackendTest, AReadableDescriptorOrQueuedInputEndsTheWaitAndTheWatchWakesEachTimeItIsArmed) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::promise<void> wakes[2];
  std::atomic<int> count = 0;
  SdlDescriptorWatch watch([&] {
    if (int n = count++; n < 2) wakes[n].set_value();
  });
  watch.arm(fds[0]);
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  EXPECT_EQ(wakes[0].get_future().wait_for(std::chrono::milliseconds(kBoundMs)), std::future_status::ready);
  watch.arm(fds[0]);  // still readable: at once
  EXPECT_EQ(wakes[1].get_future().wait_for(std::chrono::milliseconds(kBoundMs)), std::future_status::ready);

  backend_->waitEvents(kBoundMs, fds[0]);
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1)
      << "woken by the descriptor, not the time";
  EXPECT_EQ(drain(), "") << "the wake-up is no input";
  backend_->push({.type = InputEvent::Type::Char, .ch = u'z'});
  backend_->waitEvents(-1);  // would block for ever otherwise
  EXPECT_EQ(drain(), "char 7a");
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
}  // namespace display
