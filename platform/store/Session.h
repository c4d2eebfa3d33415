// The process's device image, as the database and registry calls reach it.
#pragma once

#include "store/Image.h"

namespace store {

// The open image, or nullptr before openDeviceImage.
Image* currentImage();
Image& processImage();

// Handles that belong to the image being closed: open databases,
// enumerations and registry keys. Each kind registers how it drops them.
using SessionCloser = void (*)();
void registerSessionCloser(SessionCloser closer);
void closeSessionHandles();

}  // namespace store
