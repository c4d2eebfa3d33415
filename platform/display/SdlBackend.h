// A real window on the host's desktop: the device's screen at an integer
// scale, the mouse as the stylus, the keyboard as the device's keyboard.
// The framebuffer is uploaded to a streaming texture, only where it changed,
// and drawn with nearest-neighbour sampling. Waiting sleeps in SDL until the
// person does something, a timer is due or the bus has a request.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "display/Backend.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace display {

class SdlDescriptorWatch;

class SdlBackend : public Backend {
  struct Opening {};  // only open() makes one

 public:
  // Opens the window for a width x height screen, each device pixel shown
  // as scale x scale host pixels (0: the largest scale that fits the
  // desktop, at least 1). Null with a reason when no window can be shown.
  static std::unique_ptr<SdlBackend> open(int width, int height, int scale, std::string& error);
  SdlBackend(Opening, int width, int height, int scale);
  ~SdlBackend() override;

  bool interactive() const override { return true; }
  Framebuffer& framebuffer() override { return framebuffer_; }
  void waitEvents(int timeoutMs, int descriptor = -1) override;
  void present() override;

  int scale() const { return scale_; }
  // A point of the window in device pixels, kept on the screen (a drag may
  // leave the window; the stylus cannot leave the screen).
  void toDevice(int windowX, int windowY, int& x, int& y) const;
  // The part of the framebuffer the last present() uploaded (empty: none),
  // and the pixels uploaded since the window opened.
  Rect lastUpload() const { return lastUpload_; }
  uint64_t uploadedPixels() const { return uploadedPixels_; }
  // How often the window's picture was drawn.
  int renderCount() const { return renderCount_; }
  SDL_Renderer* renderer() const { return renderer_; }
  SDL_Window* window() const { return window_; }

 protected:
  bool takeEvent(InputEvent& event) override;
  void showTitle(const std::string& title) override;

 private:
  bool create(std::string& error);
  bool makeTexture(std::string& error);
  // False for SDL events that mean nothing to the device.
  bool translate(const SDL_Event& sdl, InputEvent& event);
  bool translateKey(const SDL_Event& sdl, InputEvent& event);
  void queueText(const char* utf8);

  Framebuffer framebuffer_;
  int scale_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  bool sdlStarted_ = false;
  bool exposed_ = false;
  bool stylusDown_ = false;
  int stylusX_ = 0;  // where the stylus last was, device pixels
  int stylusY_ = 0;
  bool swallowText_ = false;  // the last key's text is the device's to make
  // SDL's modifier state as of the last key event taken: the stylus carries
  // the modifiers held when it was pressed, not those held when the event is
  // read, which may be later.
  uint16_t modifiers_ = 0;
  std::vector<uint32_t> shown_;  // the changed pixels as the screen shows them, for the upload
  Rect lastUpload_;
  uint64_t uploadedPixels_ = 0;
  int renderCount_ = 0;
  std::unique_ptr<SdlDescriptorWatch> watch_;
};

// The largest whole scale at which a width x height screen fits the area,
// at least 1.
int fittingScale(int width, int height, int areaWidth, int areaHeight);

}  // namespace display
