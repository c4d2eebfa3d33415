#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "device/Files.h"
#include "display/Png.h"

namespace display {
namespace {

// Reads a file with libpng's own reader, apart from the module's decoder.
struct LibpngImage {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::vector<png_byte> rgb;
};

bool readWithLibpng(const std::string& path, LibpngImage& out) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  out.width = image.width;
  out.height = image.height;
  out.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

std::string tempPath(const char* name) { return std::string(VANTOR_TEST_BINARY_DIR) + "/" + name; }

TEST(Png, ScreenshotIsAPngOfTheScreensSizeAndColoursWrittenInPlaceOfTheOldFile) {
  Framebuffer screen(320, 240);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) screen.row(y)[x] = static_cast<uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
  std::string bytes, error;
  ASSERT_TRUE(encodePng(screen, bytes, error)) << error;
  // Written over an older file, with no temporary left behind.
  std::string path = tempPath("device-screen.png");
  ASSERT_TRUE(device::writeFileAtomically(path, "older", error)) << error;
  ASSERT_TRUE(device::writeFileAtomically(path, bytes, error)) << error;
  EXPECT_FALSE(std::ifstream(path + ".tmp-" + std::to_string(getpid())).good());

  LibpngImage image;
  ASSERT_TRUE(readWithLibpng(path, image));
  ASSERT_EQ(std::pair(image.width, image.height), std::pair(320u, 240u));
  std::vector<uint32_t> read;
  for (size_t i = 0; i + 2 < image.rgb.size(); i += 3)
    read.push_back(uint32_t{image.rgb[i]} << 16 | uint32_t{image.rgb[i + 1]} << 8 | image.rgb[i + 2]);
  EXPECT_TRUE(read == screen.pixels()) << "as libpng reads it";

  auto back = decodePng(bytes, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->width(), 320);
  EXPECT_TRUE(back->pixels() == screen.pixels());
}

}  // namespace
}  // namespace display
