// The icon and the menu bar strips, decoded from the module and compared with
// the pixel maps they are drawn from.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "ResourceReader.h"
#include "resources/resource.h"

namespace resources_test {
namespace {

constexpr Rgb kButtonFace{0xC0, 0xC0, 0xC0};

// The maps' legend: the 16-colour palette and the four greys.
const std::map<char, Rgb> kLegend = {
    {'K', {0x00, 0x00, 0x00}}, {'r', {0x80, 0x00, 0x00}}, {'g', {0x00, 0x80, 0x00}}, {'o', {0x80, 0x80, 0x00}},
    {'n', {0x00, 0x00, 0x80}}, {'p', {0x80, 0x00, 0x80}}, {'t', {0x00, 0x80, 0x80}}, {'s', {0xC0, 0xC0, 0xC0}},
    {'d', {0x80, 0x80, 0x80}}, {'R', {0xFF, 0x00, 0x00}}, {'G', {0x00, 0xFF, 0x00}}, {'Y', {0xFF, 0xFF, 0x00}},
    {'B', {0x00, 0x00, 0xFF}}, {'M', {0xFF, 0x00, 0xFF}}, {'C', {0x00, 0xFF, 0xFF}}, {'W', {0xFF, 0xFF, 0xFF}},
};

std::vector<std::string> readMap(const std::string& name) {
  std::ifstream file(std::string(VANTOR_SOURCE_DIR) + "/resources/art/" + name);
  EXPECT_TRUE(file.good()) << name;
  std::vector<std::string> rows;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::erase(line, ' ');
    rows.push_back(line);
  }
  return rows;
}

std::string rgbText(Rgb c) {
  char text[16];
  snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

// Compares a decoded image with its map, reporting the first differing pixels.
void expectMatchesMap(const Dib& dib, const std::string& mapName, bool isIcon) {
  std::vector<std::string> map = readMap(mapName);
  ASSERT_EQ(map.size(), static_cast<size_t>(dib.height)) << mapName;
  int differences = 0;
  for (int y = 0; y < dib.height; ++y) {
    ASSERT_EQ(map[y].size(), static_cast<size_t>(dib.width)) << mapName << " row " << y;
    for (int x = 0; x < dib.width && differences < 5; ++x) {
      char pixel = map[y][x];
      bool shouldBeTransparent = isIcon && pixel == '.';
      Rgb expected = pixel == '.' ? kButtonFace : kLegend.at(pixel);
      bool differs = dib.transparentAt(x, y) != shouldBeTransparent ||
                     (!shouldBeTransparent && !(dib.colourAt(x, y) == expected));
      if (differs) {
        ++differences;
        ADD_FAILURE() << mapName << " (" << x << ", " << y << "): map has '" << pixel << "', image has "
                      << (dib.transparentAt(x, y) ? "transparent" : rgbText(dib.colourAt(x, y)));
      }
    }
  }
}

std::optional<Dib> loadDib(LPCWSTR type, int id, bool isIcon) {
  auto bytes = loadResource(type, id);
  if (!bytes) return std::nullopt;
  return parseDib(*bytes, isIcon);
}

TEST(ProgramIcon, HoldsA16And32PixelImageOf16Colours) {
  auto group = loadResource(RT_GROUP_ICON, IDI_VANTOR);
  ASSERT_TRUE(group);
  auto entries = parseIconGroup(*group);
  ASSERT_TRUE(entries);
  std::set<int> sizes;
  for (const IconEntry& entry : *entries) {
    SCOPED_TRACE("icon image " + std::to_string(entry.iconId));
    sizes.insert(entry.width);
    EXPECT_EQ(entry.width, entry.height);
    EXPECT_EQ(entry.colourCount, 16);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bitCount, 4);
    auto image = loadResource(RT_ICON, entry.iconId);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), entry.bytesInResource);
    auto dib = parseDib(*image, true);
    ASSERT_TRUE(dib) << "not a complete icon image";
    EXPECT_EQ(dib->width, entry.width);
    EXPECT_EQ(dib->storedHeight, 2u * entry.height) << "colour bits and mask";
    EXPECT_EQ(dib->bitCount, entry.bitCount);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST(ProgramIcon, ImagesAreTheDrawnDatabaseGlyph) {
  auto group = loadResource(RT_GROUP_ICON, IDI_VANTOR);
  ASSERT_TRUE(group);
  auto entries = parseIconGroup(*group);
  ASSERT_TRUE(entries);
  for (const IconEntry& entry : *entries) {
    auto dib = loadDib(RT_ICON, entry.iconId, true);
    ASSERT_TRUE(dib);
    expectMatchesMap(*dib, entry.width == 16 ? "icon16.txt" : "icon32.txt", true);
  }
}

TEST(ProgramIcon, LoadsAtBothSizesTheProgramAsksFor) {
  for (int size : {16, 32}) {
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, size, size, 0);
    ASSERT_NE(icon, nullptr) << size << " x " << size << ", error " << GetLastError();
    EXPECT_TRUE(DestroyIcon(static_cast<HICON>(icon)));
  }
}

struct StripCase {
  int id;
  uint16_t bitCount;
  const char* map;
};

void PrintTo(const StripCase& c, std::ostream* os) { *os << "bitmap " << c.id; }

class MenuBarStrip : public testing::TestWithParam<StripCase> {};

TEST_P(MenuBarStrip, IsARowOfSixteenPixelImagesAtItsDepth) {
  auto dib = loadDib(RT_BITMAP, GetParam().id, false);
  ASSERT_TRUE(dib) << "bitmap " << GetParam().id << " is missing or incomplete";
  EXPECT_EQ(dib->bitCount, GetParam().bitCount);
  EXPECT_EQ(dib->width, 16 * MENUBAR_IMAGE_COUNT);
  EXPECT_EQ(dib->height, 16);
}

TEST_P(MenuBarStrip, ImagesAreTheDrawnButtons) {
  auto dib = loadDib(RT_BITMAP, GetParam().id, false);
  ASSERT_TRUE(dib);
  expectMatchesMap(*dib, GetParam().map, false);
}

TEST_P(MenuBarStrip, EachImageStandsOnTheButtonFaceAndDiffersFromTheOthers) {
  auto dib = loadDib(RT_BITMAP, GetParam().id, false);
  ASSERT_TRUE(dib);
  std::set<std::vector<std::string>> distinct;
  for (int image = 0; image < MENUBAR_IMAGE_COUNT; ++image) {
    std::vector<std::string> pixels;
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = image * 16; x < image * 16 + 16; ++x) {
        pixels.push_back(rgbText(dib->colourAt(x, y)));
        drawn += !(dib->colourAt(x, y) == kButtonFace);
      }
    EXPECT_TRUE(dib->colourAt(image * 16, 15) == kButtonFace) << "image " << image << " corner";
    EXPECT_GT(drawn, 40) << "image " << image << " is nearly empty";
    distinct.insert(pixels);
  }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(MENUBAR_IMAGE_COUNT));
}

INSTANTIATE_TEST_SUITE_P(Resources, MenuBarStrip,
                         testing::Values(StripCase{IDB_MENUBAR_GREY, 2, "menubar_grey.txt"},
                                         StripCase{IDB_MENUBAR_COLOUR, 4, "menubar_colour.txt"}),
                         [](const testing::TestParamInfo<StripCase>& info) {
                           return "Bitmap" + std::to_string(info.param.id);
                         });

TEST(MenuBarStrip, GreyStripHoldsFourGreys) {
  auto dib = loadDib(RT_BITMAP, IDB_MENUBAR_GREY, false);
  ASSERT_TRUE(dib);
  std::set<int> levels;
  for (Rgb c : dib->palette) {
    EXPECT_TRUE(c.r == c.g && c.g == c.b) << rgbText(c);
    levels.insert(c.r);
  }
  EXPECT_EQ(levels, (std::set<int>{0x00, 0x80, 0xC0, 0xFF}));
}

}  // namespace
}  // namespace resources_test
