// The SDL window on SDL's dummy video driver: scale, the mouse as the
// stylus, keys and text, host keys, uploads of changed regions only, and
// the wake-up by a descriptor.
#include <gtest/gtest.h>
#include <SDL.h>
#include <unistd.h>
#include <windows.h>

#include <cstdlib>
#include <future>
#include <mutex>
#include <vector>

#include "EventText.h"
#include "display/SdlBackend.h"
#include "display/SdlDescriptorWatch.h"

namespace display {
namespace {

using Type = InputEvent::Type;

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
  void TearDown() override { backend_.reset(); }

  std::string drain() { return drainText(*backend_); }

  uint32_t windowId() const { return SDL_GetWindowID(backend_->window()); }

  void mouse(uint32_t type, int x, int y, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.windowID = windowId();
      e.motion.x = x;
      e.motion.y = y;
    } else {
      e.button.windowID = windowId();
      e.button.button = button;
      e.button.x = x;
      e.button.y = y;
    }
    SDL_PushEvent(&e);
  }

  void key(uint32_t type, SDL_Keycode code, uint16_t mods = 0, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = windowId();
    e.key.keysym.sym = code;
    e.key.keysym.mod = mods;
    e.key.repeat = repeat;
    SDL_PushEvent(&e);
  }

  void text(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = windowId();
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    SDL_PushEvent(&e);
  }

  std::unique_ptr<SdlBackend> backend_;
};

TEST(SdlScale, TheLargestWholeScaleThatFitsAndNeverLessThanOne) {
  struct Case {
    int width, height, areaWidth, areaHeight, scale;
  };
  for (Case c : {Case{240, 320, 1024, 728, 2}, Case{240, 320, 1920, 1040, 3}, Case{320, 240, 1920, 1040, 4},
                 Case{240, 320, 100, 100, 1}, Case{240, 320, 959, 1280, 3}, Case{480, 640, 1024, 728, 1}})
    EXPECT_EQ(fittingScale(c.width, c.height, c.areaWidth, c.areaHeight), c.scale)
        << c.width << "x" << c.height << " in " << c.areaWidth << "x" << c.areaHeight;
}

TEST_F(SdlBackendTest, TheWindowShowsTheScreenAtItsScale) {
  int w = 0, h = 0;
  SDL_GetWindowSize(backend_->window(), &w, &h);
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 640);
  EXPECT_TRUE(backend_->interactive());
  backend_->setTitle("Gallery - device.cedb");
  EXPECT_STREQ(SDL_GetWindowTitle(backend_->window()), "Gallery - device.cedb");

  // Without a scale it fits the desktop (the dummy display is 1024 x 768).
  std::string error;
  backend_.reset();
  backend_ = SdlBackend::open(240, 320, 0, error);
  ASSERT_TRUE(backend_) << error;
  EXPECT_EQ(backend_->scale(), 2);
}

TEST_F(SdlBackendTest, MouseInTheWindowIsTheStylusInDevicePixels) {
  mouse(SDL_MOUSEMOTION, 50, 50);  // no hovering: nothing
  mouse(SDL_MOUSEBUTTONDOWN, 21, 41);
  mouse(SDL_MOUSEMOTION, 479, 639);
  mouse(SDL_MOUSEMOTION, -30, 2000);  // dragged out of the window
  mouse(SDL_MOUSEBUTTONDOWN, 100, 100, SDL_BUTTON_RIGHT);
  mouse(SDL_MOUSEBUTTONUP, 300, 2);
  mouse(SDL_MOUSEMOTION, 60, 60);
  mouse(SDL_MOUSEBUTTONUP, 60, 60);  // an up without its down
  EXPECT_EQ(drain(), "down 10,20 move 239,319 move 0,319 up 150,1");
}

TEST_F(SdlBackendTest, TheStylusCarriesTheModifiersHeldWhenItWasPressed) {
  key(SDL_KEYDOWN, SDLK_LCTRL, KMOD_LCTRL);
  mouse(SDL_MOUSEBUTTONDOWN, 20, 20);
  key(SDL_KEYUP, SDLK_LCTRL, 0);
  mouse(SDL_MOUSEBUTTONUP, 20, 20);
  EXPECT_EQ(drain(), "keydown 11+ctrl down 10,10+ctrl keyup 11 up 10,10");
}

TEST_F(SdlBackendTest, LosingTheMouseLiftsTheStylusWhereItWas) {
  mouse(SDL_MOUSEBUTTONDOWN, 40, 40);
  mouse(SDL_MOUSEMOTION, 100, 60);
  SDL_Event lost{};
  lost.type = SDL_WINDOWEVENT;
  lost.window.windowID = windowId();
  lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&lost);
  SDL_PushEvent(&lost);  // once only
  mouse(SDL_MOUSEBUTTONDOWN, 10, 10);  // the next press is a press again
  EXPECT_EQ(drain(), "down 20,20 move 50,30 up 50,30 down 5,5");
}

TEST_F(SdlBackendTest, KeysThatTypeComeAsKeysAndOtherTextAsCharacters) {
  struct Sent {
    uint32_t type;  // SDL_KEYDOWN, SDL_KEYUP or, with text, SDL_TEXTINPUT
    SDL_Keycode code;
    uint16_t mods;
    const char* text;
  };
  struct Case {
    const char* name;
    std::vector<Sent> sent;
    const char* expected;
  } cases[] = {
      {"a letter: its key, not its text twice",
       {{SDL_KEYDOWN, SDLK_a, 0, ""}, {SDL_TEXTINPUT, 0, 0, "a"}, {SDL_KEYUP, SDLK_a, 0, ""}},
       "keydown 41 keyup 41"},
      {"caps lock shifts letters",
       {{SDL_KEYDOWN, SDLK_q, KMOD_CAPS, ""}, {SDL_TEXTINPUT, 0, 0, "Q"}},
       "keydown 51+shift"},
      {"a shifted digit is the host layout's character",
       {{SDL_KEYDOWN, SDLK_1, KMOD_LSHIFT, ""}, {SDL_TEXTINPUT, 0, 0, "!"}, {SDL_KEYUP, SDLK_1, KMOD_LSHIFT, ""}},
       "char 21"},
      {"AltGr makes characters the key does not name",
       {{SDL_KEYDOWN, SDLK_q, KMOD_RALT, ""}, {SDL_TEXTINPUT, 0, 0, "@"}},
       "char 40"},
      {"text without a key, beyond the BMP too",
       {{SDL_TEXTINPUT, 0, 0, "\xC3\xA9"}, {SDL_TEXTINPUT, 0, 0, "\xF0\x9D\x84\x9E"}},
       "char e9 char d834 char dd1e"},
      {"control with a letter types no text of its own",
       {{SDL_KEYDOWN, SDLK_c, KMOD_LCTRL, ""}, {SDL_TEXTINPUT, 0, 0, "x"}},
       "keydown 43+ctrl char 78"},
      {"keys that type nothing",
       {{SDL_KEYDOWN, SDLK_RETURN, 0, ""}, {SDL_KEYDOWN, SDLK_DOWN, 0, ""}, {SDL_KEYDOWN, SDLK_BACKSPACE, 0, ""},
        {SDL_KEYDOWN, SDLK_SEMICOLON, 0, ""}, {SDL_TEXTINPUT, 0, 0, ";"}, {SDL_KEYDOWN, SDLK_PAGEUP, 0, ""}},
       "keydown d keydown 28 keydown 8 keydown ba keydown 21"},  // VK_RETURN, VK_DOWN, VK_BACK, VK_OEM_1, VK_PRIOR
  };
  for (const Case& c : cases) {
    for (const Sent& e : c.sent) {
      if (e.type == SDL_TEXTINPUT)
        text(e.text);
      else
        key(e.type, e.code, e.mods);
    }
    EXPECT_EQ(drain(), c.expected) << c.name;
  }
}

TEST_F(SdlBackendTest, HostKeysAndTheCloseBoxGoToTheHost) {
  std::vector<HostRequest> requests;
  backend_->setHostHandler([&](HostRequest r) { requests.push_back(r); });
  key(SDL_KEYDOWN, SDLK_F2);
  key(SDL_KEYDOWN, SDLK_F2, 0, true);  // held down: once
  key(SDL_KEYUP, SDLK_F2);
  key(SDL_KEYDOWN, SDLK_F3);
  key(SDL_KEYDOWN, SDLK_F12);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_EQ(drain(), "");
  EXPECT_EQ(requests, (std::vector<HostRequest>{HostRequest::Rotate, HostRequest::ToggleSip, HostRequest::Screenshot,
                                                HostRequest::Close}));

  // With nobody to ask, closing the window quits.
  backend_->setHostHandler(nullptr);
  SDL_PushEvent(&quit);
  EXPECT_EQ(drain(), "quit");
}

TEST_F(SdlBackendTest, PresentUploadsOnlyWhatChanged) {
  Framebuffer& fb = backend_->framebuffer();
  const uint64_t before = backend_->uploadedPixels();
  const int renders = backend_->renderCount();
  fb.fill({10, 20, 30, 60}, 0x00336699);
  fb.fill({12, 30, 14, 32}, 0x00000000);
  backend_->present();
  EXPECT_EQ(backend_->lastUpload(), (Rect{10, 20, 30, 60}));
  EXPECT_EQ(backend_->uploadedPixels() - before, 20u * 40u);
  EXPECT_EQ(backend_->renderCount(), renders + 1);

  // Nothing changed: nothing uploaded, nothing drawn.
  backend_->present();
  EXPECT_TRUE(backend_->lastUpload().empty());
  EXPECT_EQ(backend_->uploadedPixels() - before, 20u * 40u);
  EXPECT_EQ(backend_->renderCount(), renders + 1);
}

TEST_F(SdlBackendTest, EachDevicePixelIsASharpBlockOfTheScale) {
  Framebuffer& fb = backend_->framebuffer();
  for (int y = 0; y < fb.height(); ++y)
    for (int x = 0; x < fb.width(); ++x) fb.row(y)[x] = ((x + y) % 2) ? 0x00FF0000 : 0x000000FF;
  fb.markDirty(fb.bounds());
  backend_->present();
  std::vector<uint32_t> shown(480 * 640);
  ASSERT_EQ(SDL_RenderReadPixels(backend_->renderer(), nullptr, SDL_PIXELFORMAT_RGB888, shown.data(), 480 * 4), 0)
      << SDL_GetError();
  for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{17, 33}, POINT{239, 319}, POINT{120, 200}}) {
    const uint32_t expected = fb.pixel(p.x, p.y);
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx)
        EXPECT_EQ(shown[static_cast<size_t>(p.y * 2 + dy) * 480 + static_cast<size_t>(p.x * 2 + dx)] & 0xFFFFFF,
                  expected)
            << p.x << "," << p.y;
  }
}

TEST_F(SdlBackendTest, TurningTheScreenReshapesTheWindow) {
  backend_->framebuffer().resize(320, 240);
  backend_->present();
  int w = 0, h = 0;
  SDL_GetWindowSize(backend_->window(), &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(backend_->lastUpload(), (Rect{0, 0, 320, 240}));
  mouse(SDL_MOUSEBUTTONDOWN, 639, 479);
  EXPECT_EQ(drain(), "down 319,239");
}

// A broken wake-up would leave these waiting for their full bound, then fail.
constexpr int kBoundMs = 30000;

TEST_F(SdlBackendTest, AReadableDescriptorEndsTheWait) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  backend_->waitEvents(kBoundMs, fds[0]);
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1)
      << "woken by the descriptor, not the time";
  EXPECT_EQ(drain(), "") << "the wake-up is no input";
  close(fds[0]);
  close(fds[1]);
}

TEST_F(SdlBackendTest, QueuedInputEndsTheWaitAtOnce) {
  InputEvent e;
  e.type = Type::Char;
  e.ch = u'z';
  backend_->push(e);
  backend_->waitEvents(-1);  // would block for ever otherwise
  EXPECT_EQ(drain(), "char 7a");
}

TEST(SdlDescriptorWatch, WakesOnceArmedAndAgainWhenArmedAgain) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::mutex mutex;
  std::vector<std::promise<void>> wakes(2);
  int count = 0;
  SdlDescriptorWatch watch([&] {
    std::lock_guard lock(mutex);
    if (count < 2) wakes[static_cast<size_t>(count)].set_value();
    ++count;
  });
  watch.arm(fds[0]);
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  EXPECT_EQ(wakes[0].get_future().wait_for(std::chrono::milliseconds(kBoundMs)), std::future_status::ready);
  watch.arm(fds[0]);  // still readable: at once
  EXPECT_EQ(wakes[1].get_future().wait_for(std::chrono::milliseconds(kBoundMs)), std::future_status::ready);
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
}  // namespace display
