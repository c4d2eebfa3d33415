// The icon and the menu bar strips, decoded from the module and compared with
// the pixel maps they are drawn from.
#include <gtest/gtest.h>

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

// Compares a decoded image (ARGB, top row first, alpha 0 where an icon's mask
// lets the background through) with its map, reporting the first differences.
void expectMatchesMap(int width, int height, const std::vector<uint32_t>& pixels, const std::string& mapName,
                      bool isIcon) {
  std::ifstream file(std::string(VANTOR_SOURCE_DIR) + "/resources/art/" + mapName);
  ASSERT_TRUE(file.good()) << mapName;
  std::vector<std::string> map;
  for (std::string line; std::getline(file, line);) {
    std::erase(line, ' ');
    if (!line.empty() && line[0] != '#') map.push_back(line);
  }
  ASSERT_EQ(map.size(), static_cast<size_t>(height)) << mapName;
  ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height) << mapName;
  int differences = 0;
  for (int y = 0; y < height; ++y) {
    ASSERT_EQ(map[y].size(), static_cast<size_t>(width)) << mapName << " row " << y;
    for (int x = 0; x < width; ++x) {
      const char pixel = map[y][x];
      const uint32_t argb = pixels[static_cast<size_t>(y) * width + x];
      const bool clear = isIcon && pixel == '.';
      if ((argb >> 24 == 0) != clear || (!clear && (argb & 0xFFFFFF) != kLegend.at(pixel == '.' ? 's' : pixel)))
        if (++differences <= 5)
          ADD_FAILURE() << mapName << " (" << x << ", " << y << "): map has '" << pixel << "', image has "
                        << std::hex << argb;
    }
  }
}

TEST(Images, TheIconAt16And32PixelsAndTheMenuBarStripsAreTheDrawnMaps) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(std::to_string(size) + " x " + std::to_string(size));
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, size, size, 0);
    ASSERT_NE(icon, nullptr) << "error " << GetLastError();
    const kernel::Icon* loaded = kernel::iconFromHandle(static_cast<HICON>(icon));
    ASSERT_NE(loaded, nullptr);
    expectMatchesMap(loaded->width, loaded->height, loaded->pixels, size == 16 ? "icon16.txt" : "icon32.txt", true);
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
    expectMatchesMap(dib.width, dib.height, dib.pixels, map, false);
  }
}

}  // namespace
}  // namespace resources_test
