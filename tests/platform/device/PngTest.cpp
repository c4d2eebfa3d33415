#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <fstream>
#include <sstream>

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

TEST(Png, ScreenshotIsAPngOfTheScreensSizeAndColoursThatTheDecoderGivesBack) {
  Framebuffer screen(320, 240);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) screen.row(y)[x] = static_cast<uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
  std::string bytes, error;
  ASSERT_TRUE(encodePng(screen, bytes, error)) << error;
  std::string path = tempPath("device-screen.png");
  ASSERT_TRUE(device::writeFileAtomically(path, bytes, error)) << error;

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

TEST(Png, DamagedImagesAreRefusedWithAReason) {
  Framebuffer screen(16, 16);
  std::string bytes, error;
  ASSERT_TRUE(encodePng(screen, bytes, error));
  std::string truncated = bytes.substr(0, bytes.size() / 2);
  std::string flipped = bytes;
  flipped[bytes.size() / 2] ^= 0x55;
  for (const std::string& damaged : {std::string(), std::string("not a png at all"), truncated, flipped}) {
    error.clear();
    EXPECT_FALSE(decodePng(damaged, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(Png, ReplacingAFileKeepsNoTemporaryBehind) {
  std::string path = tempPath("device-replace.txt");
  std::string error;
  ASSERT_TRUE(device::writeFileAtomically(path, "first", error));
  ASSERT_TRUE(device::writeFileAtomically(path, "second", error));
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "second");
  EXPECT_FALSE(std::ifstream(path + ".tmp-" + std::to_string(getpid())).good());
}

}  // namespace
}  // namespace display
