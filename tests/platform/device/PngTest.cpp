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

TEST(Png, ScreenshotIsAPngOfTheScreensSizeAndColours) {
  Framebuffer screen(240, 320);
  screen.fill({0, 0, 240, 26}, 0x000080);    // a navy navigation bar
  screen.fill({10, 100, 11, 101}, 0xFF8040);  // one odd pixel
  std::string bytes, error;
  ASSERT_TRUE(encodePng(screen, bytes, error)) << error;
  std::string path = tempPath("device-screen.png");
  ASSERT_TRUE(device::writeFileAtomically(path, bytes, error)) << error;

  LibpngImage image;
  ASSERT_TRUE(readWithLibpng(path, image));
  EXPECT_EQ(image.width, 240u);
  EXPECT_EQ(image.height, 320u);
  auto at = [&](int x, int y) {
    const png_byte* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
  };
  EXPECT_EQ(at(0, 0), 0x000080u);
  EXPECT_EQ(at(239, 25), 0x000080u);
  EXPECT_EQ(at(0, 26), 0xFFFFFFu);
  EXPECT_EQ(at(10, 100), 0xFF8040u);
  EXPECT_EQ(at(11, 100), 0xFFFFFFu);
}

TEST(Png, DecoderGivesBackWhatWasEncoded) {
  Framebuffer screen(320, 240);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) screen.row(y)[x] = static_cast<uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
  std::string bytes, error;
  ASSERT_TRUE(encodePng(screen, bytes, error));
  auto back = decodePng(bytes, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->width(), 320);
  EXPECT_EQ(back->height(), 240);
  EXPECT_EQ(back->pixels(), screen.pixels());
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
