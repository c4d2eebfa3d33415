// The icon and the menu bar strips, decoded from the module and compared with
// the pixel maps they are drawn from.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <tuple>

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

TEST(ProgramIcon, HoldsTheDrawnGlyphAt16And32PixelsIn16Colours) {
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
    EXPECT_EQ(dib->storedHeight, 2u * entry.height) << "colour bits and mask";
    EXPECT_EQ(dib->bitCount, entry.bitCount);
    expectMatchesMap(*dib, entry.width == 16 ? "icon16.txt" : "icon32.txt", true);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32}));
  // The platform loads it at both sizes the program asks for.
  for (int size : {16, 32}) {
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, size, size, 0);
    ASSERT_NE(icon, nullptr) << size << " x " << size << ", error " << GetLastError();
    EXPECT_TRUE(DestroyIcon(static_cast<HICON>(icon)));
  }
}

TEST(MenuBarStrips, AreRowsOfTheDrawnSixteenPixelButtonsAtTheirDepths) {
  const std::tuple<int, uint16_t, const char*> strips[] = {{IDB_MENUBAR_GREY, 2, "menubar_grey.txt"},
                                                           {IDB_MENUBAR_COLOUR, 4, "menubar_colour.txt"}};
  for (auto [id, bitCount, map] : strips) {
    SCOPED_TRACE("bitmap " + std::to_string(id));
    auto bytes = loadResource(RT_BITMAP, id);
    ASSERT_TRUE(bytes);
    auto dib = parseDib(*bytes, false);
    ASSERT_TRUE(dib) << "incomplete";
    EXPECT_EQ(dib->bitCount, bitCount);
    EXPECT_EQ(dib->width, 16 * MENUBAR_IMAGE_COUNT);
    expectMatchesMap(*dib, map, false);
  }
}

}  // namespace
}  // namespace resources_test
