// The icon and the menu bar strips, decoded from the module and compared with
// the pixel maps they are drawn from.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <tuple>

#include "ResourceReader.h"
#include "kernel/Dib.h"
#include "kernel/Icons.h"
#include "resources/resource.h"

namespace resources_test {
namespace {

// The maps' legend: the 16-colour palette and the four greys, as 0xRRGGBB.
const std::map<char, uint32_t> kLegend = {
    {'K', 0x000000}, {'r', 0x800000}, {'g', 0x008000}, {'o', 0x808000}, {'n', 0x000080}, {'p', 0x800080},
    {'t', 0x008080}, {'s', 0xC0C0C0}, {'d', 0x808080}, {'R', 0xFF0000}, {'G', 0x00FF00}, {'Y', 0xFFFF00},
    {'B', 0x0000FF}, {'M', 0xFF00FF}, {'C', 0x00FFFF}, {'W', 0xFFFFFF},
};

// A decoded image (ARGB, top row first, alpha 0 where an icon's mask lets the
// background through) in the maps' letters: '.' clear, '?' outside the legend.
std::vector<std::string> inLetters(int width, const std::vector<uint32_t>& pixels) {
  std::vector<std::string> rows;
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (i % width == 0) rows.emplace_back();
    char letter = pixels[i] >> 24 == 0 ? '.' : '?';
    for (const auto& [name, rgb] : kLegend)
      if (letter == '?' && (pixels[i] & 0xFFFFFF) == rgb) letter = name;
    rows.back() += letter;
  }
  return rows;
}

// A map's rows; in the menu bar strips '.' is the light grey of the button face.
std::vector<std::string> mapRows(const std::string& mapName, bool isIcon) {
  std::ifstream file(std::string(VANTOR_SOURCE_DIR) + "/resources/art/" + mapName);
  EXPECT_TRUE(file.good()) << mapName;
  std::vector<std::string> rows;
  for (std::string line; std::getline(file, line);) {
    std::erase(line, ' ');
    if (!isIcon) std::replace(line.begin(), line.end(), '.', 's');
    if (!line.empty() && line[0] != '#') rows.push_back(line);
  }
  return rows;
}

TEST(Images, TheIconAt16And32PixelsAndTheMenuBarStripsAreTheDrawnMaps) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(std::to_string(size) + " x " + std::to_string(size));
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, size, size, 0);
    ASSERT_NE(icon, nullptr) << "error " << GetLastError();
    const kernel::Icon* loaded = kernel::iconFromHandle(static_cast<HICON>(icon));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(inLetters(loaded->width, loaded->pixels), mapRows(size == 16 ? "icon16.txt" : "icon32.txt", true));
    EXPECT_TRUE(DestroyIcon(static_cast<HICON>(icon)));
  }
  // The menu bar strips: rows of sixteen-pixel buttons at their depths.
  const std::tuple<int, int, const char*> strips[] = {{IDB_MENUBAR_GREY, 2, "menubar_grey.txt"},
                                                           {IDB_MENUBAR_COLOUR, 4, "menubar_colour.txt"}};
  for (auto [id, bitCount, map] : strips) {
    SCOPED_TRACE("bitmap " + std::to_string(id));
    auto bytes = loadResource(RT_BITMAP, id);
    kernel::DibImage dib;
    ASSERT_TRUE(bytes && kernel::decodeDib(bytes->data(), bytes->size(), dib)) << "missing or incomplete";
    EXPECT_EQ(std::pair(dib.bitsPerPixel, dib.width), std::pair(bitCount, 16 * MENUBAR_IMAGE_COUNT));
    EXPECT_EQ(inLetters(dib.width, dib.pixels), mapRows(map, false));
  }
}

}  // namespace
}  // namespace resources_test
