#include "store/DeviceImage.h"

#include "store/Image.h"
#include "store/Session.h"

namespace store {

Image* currentImage() {
  Image& image = processImage();
  return image.isOpen() ? &image : nullptr;
}

Image& processImage() {
  static auto* image = new Image;
  return *image;
}

bool openDeviceImage(const std::string& path, std::string& error, bool readOnly) {
  closeDeviceImage();
  Image& image = processImage();
  if (!image.open(path, error, readOnly)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

void closeDeviceImage() {
  closeSessionHandles();
  processImage().close();
}

}  // namespace store
