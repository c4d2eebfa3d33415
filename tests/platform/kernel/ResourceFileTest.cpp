// Resource data as the module carries it: the .res records, the string
// blocks and icon groups in them, and the packed DIBs of bitmaps and icons.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "kernel/Dib.h"
#include "kernel/IconResources.h"
#include "kernel/ResourceFile.h"
#include "kernel/StringTable.h"

extern "C" {
extern const unsigned char vantor_module_res_start[] __attribute__((weak));
extern const unsigned char vantor_module_res_end[] __attribute__((weak));
}

namespace {

// Writes .res records as the resource compiler does.
class ResWriter {
 public:
  ResWriter() { add(0, u"", 0, u"", {}); }  // the leading empty record

  ResWriter& add(WORD typeOrdinal, std::u16string typeName, WORD nameOrdinal, std::u16string name,
                 const std::vector<uint8_t>& data, WORD language = 0x0409) {
    std::vector<uint8_t> header;
    auto put16 = [&](uint16_t v) { header.insert(header.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto put32 = [&](uint32_t v) { put16(uint16_t(v)), put16(uint16_t(v >> 16)); };
    auto putName = [&](WORD ordinal, const std::u16string& text) {
      if (text.empty()) {
        put16(0xFFFF);
        put16(ordinal);
      } else {
        for (char16_t c : text) put16(c);
        put16(0);
      }
    };
    put32(uint32_t(data.size()));
    put32(0);  // header size, patched below
    putName(typeOrdinal, typeName);
    putName(nameOrdinal, name);
    while (header.size() % 4) header.push_back(0);
    put32(0);  // data version
    put16(0x1030);
    put16(language);
    put32(0);
    put32(0);
    uint32_t headerSize = uint32_t(header.size());
    std::memcpy(header.data() + 4, &headerSize, 4);
    bytes_.insert(bytes_.end(), header.begin(), header.end());
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    while (bytes_.size() % 4) bytes_.push_back(0);
    return *this;
  }

  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

kernel::ResourceName ordinal(WORD n) {
  kernel::ResourceName r;
  r.ordinal = n;
  return r;
}

TEST(ResourceFile, UnalignedBytesAreCopiedFirst) {
  ResWriter w;
  w.add(6, u"", 1, u"", {2, 0, 'h', 0, 'i', 0});
  std::vector<uint8_t> shifted(w.bytes().size() + 1);
  std::memcpy(shifted.data() + 1, w.bytes().data(), w.bytes().size());
  kernel::ResourceIndex index(shifted.data() + 1, w.bytes().size());
  ASSERT_EQ(index.entries().size(), 1u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(index.entries()[0].data) % 4, 0u);
  auto s = kernel::findString(index, 0);
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(std::u16string(s->text, s->length), u"hi");
}

TEST(ResourceFile, EveryCutOfTheModuleKeepsTheRecordsBeforeIt) {
  ASSERT_NE(vantor_module_res_start, nullptr);
  size_t size = size_t(vantor_module_res_end - vantor_module_res_start);
  kernel::ResourceIndex full(vantor_module_res_start, size);
  ASSERT_TRUE(full.complete());
  ASSERT_GT(full.entries().size(), 5u);
  for (size_t n = 0; n < size; ++n) {
    kernel::ResourceIndex cut(vantor_module_res_start, n);
    ASSERT_LE(cut.entries().size(), full.entries().size());
    for (size_t i = 0; i < cut.entries().size(); ++i) {
      ASSERT_EQ(cut.entries()[i].type, full.entries()[i].type) << n;
      ASSERT_EQ(cut.entries()[i].data, full.entries()[i].data) << n;
    }
    // The resources that survive a cut still load without reading past it.
    for (UINT id : {1u, 17u, 40u}) kernel::findString(cut, id);
    kernel::loadIconResource(cut, ordinal(301), 16, 16);
  }
}

TEST(ResourceFile, CorruptRecordsEndTheIndex) {
  // offset: into the second record (the first real one).
  struct Corruption { const char* what; size_t offset; std::vector<uint8_t> bytes; } corruptions[] = {
      {"data size past the end", 0, {0xFF, 0xFF, 0xFF, 0x7F}},
      {"data size at the maximum", 0, {0xFF, 0xFF, 0xFF, 0xFF}}, {"header size too small", 4, {8, 0, 0, 0}},
      {"header size not a DWORD multiple", 4, {0x22, 0, 0, 0}}, {"header size past the end", 4, {0xF0, 0xFF, 0, 0}},
      {"header size at the maximum", 4, {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Corruption& c : corruptions) {
    ResWriter w;
    w.add(10, u"", 1, u"", {1, 2, 3, 4}).add(10, u"", 2, u"", {5});
    std::memcpy(w.bytes().data() + 32 + c.offset, c.bytes.data(), c.bytes.size());
    kernel::ResourceIndex index(w.bytes().data(), w.bytes().size());
    EXPECT_FALSE(index.complete()) << c.what;
    EXPECT_TRUE(index.entries().empty()) << c.what;
  }

  // A name that runs to the end of its header, without a terminator.
  ResWriter w;
  w.add(10, u"", 1, u"", {7}).add(0, u"ABCDEFGHIJKLMNOP", 0, u"Q", {});
  std::vector<uint8_t>& b = w.bytes();
  size_t second = 32 + 32 + 4;
  for (size_t i = second + 8; i < b.size(); i += 2) b[i] = 'X', b[i + 1] = 0;
  kernel::ResourceIndex index(b.data(), b.size());
  EXPECT_FALSE(index.complete());
  ASSERT_EQ(index.entries().size(), 1u);
  EXPECT_EQ(index.entries()[0].data[0], 7);

  kernel::ResourceIndex none(nullptr, 100);
  EXPECT_TRUE(none.entries().empty());
}

TEST(ResourceFile, CorruptStringBlocksAndIconGroupsFindNothing) {
  ResWriter w;
  // Block 1: "ab" then a length that runs past the block.
  w.add(6, u"", 1, u"", {2, 0, 'a', 0, 'b', 0, 0xFF, 0x7F, 'c', 0});
  // A group that promises 60000 images of 16x16, naming missing or broken ones.
  std::vector<uint8_t> group = {0, 0, 1, 0, 0x60, 0xEA};
  for (WORD id : {7, 8}) group.insert(group.end(), {16, 16, 0, 0, 1, 0, 32, 0, 40, 0, 0, 0, uint8_t(id), 0});
  w.add(14, u"", 1, u"", group);
  w.add(3, u"", 8, u"", {40, 0, 0, 0, 16, 0, 0, 0, 32});  // a DIB header cut short
  // A group of the wrong kind (cursors).
  w.add(14, u"", 2, u"", {0, 0, 2, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 40, 0, 0, 0, 8, 0});
  kernel::ResourceIndex index(w.bytes().data(), w.bytes().size());
  ASSERT_TRUE(index.complete());

  auto first = kernel::findString(index, 0);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(std::u16string(first->text, first->length), u"ab");
  EXPECT_FALSE(kernel::findString(index, 1).has_value());
  EXPECT_FALSE(kernel::findString(index, 2).has_value());
  EXPECT_FALSE(kernel::findString(index, 16).has_value());
  EXPECT_FALSE(kernel::findString(index, 0x10000).has_value());

  EXPECT_FALSE(kernel::loadIconResource(index, ordinal(1), 16, 16).has_value());
  EXPECT_FALSE(kernel::loadIconResource(index, ordinal(2), 16, 16).has_value());
  EXPECT_FALSE(kernel::loadIconResource(index, ordinal(3), 16, 16).has_value());
}

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
  // bytes: rows bottom first unless the height is negative, each padded to 4 bytes.
  struct Case { const char* what; std::vector<uint8_t> bytes; std::vector<uint32_t> pixels; bool alpha; } cases[] = {
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

  struct Variant { const char* what; DibBuilder builder; } variants[] = {
      {"huge", {100000, 100000, 1}}, {"huge negative height", {1, INT32_MIN, 8}}, {"zero width", {0, 4, 8}},
      {"negative width", {-4, 4, 8}}, {"odd depth", {4, 4, 7}}, {"compressed", {4, 4, 8, 1}},
      {"too many colours", {4, 4, 8, 0, std::vector<uint32_t>(300, 0)}}, {"bit fields at 8 bpp", {4, 4, 8, 3}},
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
