// Screenshots: the framebuffer as an 8-bit RGB PNG of what the screen shows
// (greys on a grey-scale screen), and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "display/Framebuffer.h"

namespace display {

bool encodePng(const Framebuffer& framebuffer, std::string& bytes, std::string& error);
// Reads an RGB or RGBA PNG (any bit depth libpng can reduce to 8) into a
// framebuffer; alpha is dropped. Damaged files are refused with a reason.
std::optional<Framebuffer> decodePng(std::string_view bytes, std::string& error);

}  // namespace display
