#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kernel/Dib.h"

namespace {

// Builds packed DIBs: a BITMAPINFOHEADER, an optional colour table or masks,
// then rows that the test writes.
struct DibBuilder {
  int32_t width;
  int32_t height;
  uint16_t bpp;
  uint32_t compression = 0;
  std::vector<uint32_t> colors = {};  // 0x00RRGGBB
  std::vector<uint32_t> masks = {};

  std::vector<uint8_t> build(const std::vector<uint8_t>& bits) const {
    std::vector<uint8_t> out(40);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(out.data() + at, &v, 4); };
    put32(0, 40);
    put32(4, uint32_t(width));
    put32(8, uint32_t(height));
    uint16_t planes = 1;
    std::memcpy(out.data() + 12, &planes, 2);
    std::memcpy(out.data() + 14, &bpp, 2);
    put32(16, compression);
    put32(32, uint32_t(colors.size()));
    for (uint32_t m : masks) out.insert(out.end(), {uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24)});
    for (uint32_t c : colors) out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0});
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
  }
};

bool decode(const std::vector<uint8_t>& bytes, kernel::DibImage& image, kernel::DibKind kind = kernel::DibKind::Bitmap) {
  return kernel::decodeDib(bytes.data(), bytes.size(), image, kind);
}

constexpr uint32_t grey(uint32_t i) { return 0xFF000000u | i * 0x010101u; }

TEST(Dib, EveryDepthBottomUpOrTopDown) {
  auto paletted = [](uint16_t bpp) {  // 3x2, a grey palette
    DibBuilder b{3, 2, bpp};
    for (uint32_t i = 0; i < (1u << bpp); ++i) b.colors.push_back(i * 0x010101u);
    return b;
  };
  DibBuilder rgb565{1, 1, 16, 3, {}, {0xF800, 0x07E0, 0x001F}};
  std::vector<uint8_t> core = {12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0,  // 2x1, 1 bpp
                               0, 0, 0, 0xFF, 0xFF, 0xFF,            // black, white
                               0b01000000, 0, 0, 0};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;  // rows bottom first unless the height is negative, each padded to 4 bytes
    std::vector<uint32_t> pixels;
    bool alpha;
  } cases[] = {
      {"1 bpp", paletted(1).build({0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0}),
       {grey(1), grey(0), grey(1), grey(0), grey(1), grey(0)}, false},
      {"2 bpp", paletted(2).build({0b00110000, 0, 0, 0, 0b11000000, 0, 0, 0}),
       {grey(3), grey(0), grey(0), grey(0), grey(3), grey(0)}, false},
      {"4 bpp", paletted(4).build({0x0F, 0x00, 0, 0, 0xF0, 0x00, 0, 0}),
       {grey(15), grey(0), grey(0), grey(0), grey(15), grey(0)}, false},
      {"8 bpp", paletted(8).build({0, 200, 0, 0, 255, 0, 0, 0}),
       {grey(255), grey(0), grey(0), grey(0), grey(200), grey(0)}, false},
      {"24 bpp top-down", DibBuilder{2, -1, 24}.build({0x30, 0x20, 0x10, 0x03, 0x02, 0x01, 0, 0}),
       {0xFF102030u, 0xFF010203u}, false},
      {"16 bpp red and blue", DibBuilder{2, 1, 16}.build({0x00, 0x7C, 0x1F, 0x00}), {0xFFFF0000u, 0xFF0000FFu}, false},
      {"5-6-5 green", rgb565.build({0xE0, 0x07, 0, 0}), {0xFF00FF00u}, false},
      {"opaque 32 bpp", DibBuilder{1, 1, 32}.build({0x33, 0x22, 0x11, 0x00}), {0xFF112233u}, false},
      {"32 bpp with alpha", DibBuilder{2, 1, 32}.build({0x33, 0x22, 0x11, 0x80, 0, 0, 0, 0}),
       {0x80112233u, 0x00000000u}, true},
      {"core header, three-byte colours", core, {0xFF000000u, 0xFFFFFFFFu}, false},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    kernel::DibImage image;
    ASSERT_TRUE(decode(c.bytes, image));
    EXPECT_EQ(image.pixels, c.pixels);
    EXPECT_EQ(image.hasAlpha, c.alpha);
  }
}

TEST(Dib, CorruptHeadersAndShortDataAreRefused) {
  DibBuilder good{4, 4, 8};
  good.colors.assign(256, 0x123456);
  std::vector<uint8_t> bits(16, 7);
  std::vector<uint8_t> bytes = good.build(bits);
  kernel::DibImage image;
  ASSERT_TRUE(decode(bytes, image));

  // Every truncation fails and leaves the image as it was.
  for (size_t n = 0; n < bytes.size(); ++n) {
    kernel::DibImage untouched;
    untouched.width = 77;
    EXPECT_FALSE(kernel::decodeDib(bytes.data(), n, untouched)) << n;
    EXPECT_EQ(untouched.width, 77);
  }

  struct Variant {
    const char* what;
    DibBuilder builder;
  } variants[] = {
      {"huge", {100000, 100000, 1}},
      {"huge negative height", {1, INT32_MIN, 8}},
      {"zero width", {0, 4, 8}},
      {"negative width", {-4, 4, 8}},
      {"odd depth", {4, 4, 7}},
      {"compressed", {4, 4, 8, 1}},
      {"too many colours", {4, 4, 8, 0, std::vector<uint32_t>(300, 0)}},
      {"bit fields at 8 bpp", {4, 4, 8, 3}},
  };
  for (const Variant& v : variants)
    EXPECT_FALSE(decode(v.builder.build(std::vector<uint8_t>(64, 0)), image)) << v.what;

  // An icon's height counts its image and its mask: without the mask it is too short.
  DibBuilder tall = good;
  tall.height = 8;
  EXPECT_FALSE(decode(tall.build(bits), image, kernel::DibKind::Icon));

  std::vector<uint8_t> badHeader = bytes;
  badHeader[0] = 200;  // header larger than the data
  EXPECT_FALSE(decode(badHeader, image));
  badHeader[0] = 20;   // neither a core nor an info header
  EXPECT_FALSE(decode(badHeader, image));
  EXPECT_FALSE(kernel::decodeDib(nullptr, 100, image));
}

}  // namespace
