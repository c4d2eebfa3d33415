#include "display/Png.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace display {

namespace {

constexpr int kMaxSide = 16384;

}  // namespace

bool encodePng(const Framebuffer& framebuffer, std::string& bytes, std::string& error) {
  const int width = framebuffer.width();
  const int height = framebuffer.height();
  if (width <= 0 || height <= 0) {
    error = "the screen has no pixels";
    return false;
  }
  std::vector<png_byte> rgb(static_cast<size_t>(width) * height * 3);
  size_t i = 0;
  for (uint32_t stored : framebuffer.pixels()) {
    const uint32_t pixel = shownPixel(stored, framebuffer.bitsPerPixel());
    rgb[i++] = static_cast<png_byte>(pixel >> 16);
    rgb[i++] = static_cast<png_byte>(pixel >> 8);
    rgb[i++] = static_cast<png_byte>(pixel);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
    error = std::string("cannot encode PNG: ") + image.message;
    return false;
  }
  bytes.resize(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr)) {
    error = std::string("cannot encode PNG: ") + image.message;
    return false;
  }
  bytes.resize(size);
  return true;
}

std::optional<Framebuffer> decodePng(std::string_view bytes, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    error = std::string("not a PNG image: ") + image.message;
    return std::nullopt;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    error = "PNG image of unsupported size";
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    error = std::string("damaged PNG image: ") + image.message;
    return std::nullopt;
  }
  Framebuffer framebuffer(static_cast<int>(image.width), static_cast<int>(image.height));
  size_t i = 0;
  for (int y = 0; y < framebuffer.height(); ++y) {
    uint32_t* row = framebuffer.row(y);
    for (int x = 0; x < framebuffer.width(); ++x, i += 3)
      row[x] = (uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
  }
  return framebuffer;
}

}  // namespace display
