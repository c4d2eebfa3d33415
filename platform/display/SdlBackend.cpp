#include "display/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

#include "display/SdlDescriptorWatch.h"
#include "display/SdlKeys.h"
#include "kernel/Utf.h"

namespace display {

namespace {

// Room left for the host's window title bar when the scale is chosen.
constexpr int kDecorationAllowance = 40;

// The event that wakes the wait when the watched descriptor has something.
uint32_t wakeEventType() {
  static uint32_t type = SDL_RegisterEvents(1);
  return type;
}

bool textEvent(uint32_t type) { return type == SDL_KEYDOWN || type == SDL_KEYUP || type == SDL_TEXTINPUT; }

// SDL falls back to drivers that show nothing when the display cannot be
// reached; a person would see no window. They serve only when asked for.
bool showsNothing(const char* driver) {
  if (!driver) return true;
  const std::string name = driver;
  if (name != "offscreen" && name != "dummy") return false;
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  return !asked || name != asked;
}

}  // namespace

int fittingScale(int width, int height, int areaWidth, int areaHeight) {
  if (width <= 0 || height <= 0) return 1;
  return std::max(1, std::min(areaWidth / width, areaHeight / height));
}

SdlBackend::SdlBackend(Opening, int width, int height, int scale) : framebuffer_(width, height), scale_(scale) {}

std::unique_ptr<SdlBackend> SdlBackend::open(int width, int height, int scale, std::string& error) {
  auto backend = std::make_unique<SdlBackend>(Opening{}, width, height, scale);
  if (!backend->create(error)) return nullptr;
  return backend;
}

bool SdlBackend::create(std::string& error) {
  // Ctrl+C in the terminal stops the host as it always does; the window's
  // close box is what asks the program to close.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("cannot open a window: ") + SDL_GetError();
    return false;
  }
  sdlStarted_ = true;
  if (showsNothing(SDL_GetCurrentVideoDriver())) {
    error = "cannot open a window: the display cannot be reached";
    return false;
  }
  if (wakeEventType() == static_cast<uint32_t>(-1)) {
    error = "cannot open a window: SDL has no events left for the device";
    return false;
  }
  if (scale_ <= 0) {
    SDL_Rect usable{0, 0, framebuffer_.width(), framebuffer_.height()};
    SDL_GetDisplayUsableBounds(0, &usable);
    scale_ = fittingScale(framebuffer_.width(), framebuffer_.height(), usable.w, usable.h - kDecorationAllowance);
  }
  window_ = SDL_CreateWindow(title().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             framebuffer_.width() * scale_, framebuffer_.height() * scale_, SDL_WINDOW_SHOWN);
  if (!window_) {
    error = std::string("cannot open a window: ") + SDL_GetError();
    return false;
  }
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (!renderer_) {
    error = std::string("cannot draw in the window: ") + SDL_GetError();
    return false;
  }
  if (!makeTexture(error)) return false;
  watch_ = std::make_unique<SdlDescriptorWatch>([] {
    SDL_Event wake{};
    wake.type = wakeEventType();
    SDL_PushEvent(&wake);
  });
  return true;
}

bool SdlBackend::makeTexture(std::string& error) {
  if (texture_) SDL_DestroyTexture(texture_);
  // 0x00RRGGBB words are SDL's RGB888.
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, framebuffer_.width(),
                               framebuffer_.height());
  if (!texture_) {
    error = std::string("cannot draw in the window: ") + SDL_GetError();
    return false;
  }
  SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
  textureWidth_ = framebuffer_.width();
  textureHeight_ = framebuffer_.height();
  framebuffer_.markDirty(framebuffer_.bounds());
  return true;
}

SdlBackend::~SdlBackend() {
  watch_.reset();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (sdlStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlBackend::waitEvents(int timeoutMs, int descriptor) {
  if (pendingEvents() > 0) return;
  if (descriptor >= 0) watch_->arm(descriptor);
  if (timeoutMs < 0)
    SDL_WaitEvent(nullptr);
  else
    SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlBackend::present() {
  if (framebuffer_.width() != textureWidth_ || framebuffer_.height() != textureHeight_) {
    // The device turned: the window takes the new shape.
    SDL_SetWindowSize(window_, framebuffer_.width() * scale_, framebuffer_.height() * scale_);
    std::string error;
    if (!makeTexture(error)) {
      SDL_Log("%s", error.c_str());
      return;
    }
  }
  lastUpload_ = framebuffer_.takeDirty();
  if (!lastUpload_.empty()) {
    SDL_Rect area{lastUpload_.left, lastUpload_.top, lastUpload_.width(), lastUpload_.height()};
    // What the screen shows of the changed pixels, row by row.
    shown_.resize(static_cast<size_t>(area.w) * static_cast<size_t>(area.h));
    uint32_t* out = shown_.data();
    const int depth = framebuffer_.bitsPerPixel();
    for (int y = lastUpload_.top; y < lastUpload_.bottom; ++y) {
      const uint32_t* row = framebuffer_.row(y);
      for (int x = lastUpload_.left; x < lastUpload_.right; ++x) *out++ = shownPixel(row[x], depth);
    }
    SDL_UpdateTexture(texture_, &area, shown_.data(), area.w * static_cast<int>(sizeof(uint32_t)));
    uploadedPixels_ += static_cast<uint64_t>(area.w) * static_cast<uint64_t>(area.h);
  }
  if (lastUpload_.empty() && !exposed_) return;
  exposed_ = false;
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  ++renderCount_;
}

void SdlBackend::showTitle(const std::string& title) {
  if (window_) SDL_SetWindowTitle(window_, title.c_str());
}

void SdlBackend::toDevice(int windowX, int windowY, int& x, int& y) const {
  int w = framebuffer_.width() * scale_;
  int h = framebuffer_.height() * scale_;
  if (window_) SDL_GetWindowSize(window_, &w, &h);
  x = w > 0 ? static_cast<int>(static_cast<int64_t>(windowX) * framebuffer_.width() / w) : 0;
  y = h > 0 ? static_cast<int>(static_cast<int64_t>(windowY) * framebuffer_.height() / h) : 0;
  x = std::clamp(windowX < 0 ? 0 : x, 0, std::max(framebuffer_.width() - 1, 0));
  y = std::clamp(windowY < 0 ? 0 : y, 0, std::max(framebuffer_.height() - 1, 0));
}

bool SdlBackend::takeEvent(InputEvent& event) {
  SDL_Event sdl;
  while (SDL_PollEvent(&sdl)) {
    if (translate(sdl, event)) return true;
    // Characters of one text event wait in the queue.
    if (pendingEvents() > 0) return false;
  }
  return false;
}

bool SdlBackend::translate(const SDL_Event& sdl, InputEvent& event) {
  if (textEvent(sdl.type)) return translateKey(sdl, event);
  event = InputEvent{};
  event.shift = (modifiers_ & KMOD_SHIFT) != 0;
  event.control = (modifiers_ & KMOD_CTRL) != 0;
  switch (sdl.type) {
    case SDL_QUIT:
      requestHost(HostRequest::Close);
      return false;
    case SDL_WINDOWEVENT:
      if (sdl.window.event == SDL_WINDOWEVENT_EXPOSED || sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        exposed_ = true;
      // Keys held while the window had no keyboard may be down already.
      if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) modifiers_ = SDL_GetModState();
      // The window lost the mouse with the button down: the stylus is lifted
      // where it last was, so that no window keeps waiting for it.
      if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_LOST && stylusDown_) {
        stylusDown_ = false;
        event.type = InputEvent::Type::StylusUp;
        event.x = stylusX_;
        event.y = stylusY_;
        return true;
      }
      return false;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (sdl.button.button != SDL_BUTTON_LEFT) return false;
      bool down = sdl.type == SDL_MOUSEBUTTONDOWN;
      // An up without its down (the press began outside the window) is no tap.
      if (down == stylusDown_) return false;
      stylusDown_ = down;
      event.type = down ? InputEvent::Type::StylusDown : InputEvent::Type::StylusUp;
      toDevice(sdl.button.x, sdl.button.y, event.x, event.y);
      stylusX_ = event.x;
      stylusY_ = event.y;
      return true;
    }
    case SDL_MOUSEMOTION:
      // The stylus touches the screen or is nowhere: no hovering.
      if (!stylusDown_) return false;
      event.type = InputEvent::Type::StylusMove;
      toDevice(sdl.motion.x, sdl.motion.y, event.x, event.y);
      stylusX_ = event.x;
      stylusY_ = event.y;
      return true;
    default:
      return false;
  }
}

bool SdlBackend::translateKey(const SDL_Event& sdl, InputEvent& event) {
  if (sdl.type == SDL_TEXTINPUT) {
    if (std::exchange(swallowText_, false)) return false;
    queueText(sdl.text.text);
    return false;
  }
  swallowText_ = false;
  modifiers_ = sdl.key.keysym.mod;
  const bool down = sdl.type == SDL_KEYDOWN;
  if (auto request = hostKey(sdl.key.keysym.sym)) {
    if (down && !sdl.key.repeat) requestHost(*request);
    return false;
  }
  const DeviceKey key = deviceKey(sdl.key.keysym.sym, sdl.key.keysym.mod);
  if (!key.vk) return false;
  if (down) swallowText_ = key.typesText;
  event = InputEvent{};
  event.type = down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
  event.key = key.vk;
  event.shift = key.shift;
  event.control = (sdl.key.keysym.mod & KMOD_CTRL) != 0;
  return true;
}

void SdlBackend::queueText(const char* utf8) {
  for (char16_t unit : kernel::utf8ToUtf16(utf8)) {
    InputEvent c;
    c.type = InputEvent::Type::Char;
    c.ch = unit;
    push(c);
  }
}

}  // namespace display
