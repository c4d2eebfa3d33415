// Image lists as the program and the tree use them: created, 
// icons appended or replaced and scaled, drawn with their mask.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "kernel/Icons.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// An icon of size x size, colour(x, y) at each pixel (0: transparent).
HICON makeIcon(int size, std::function<uint32_t(int x, int y)> colour) {
  kernel::Icon icon;
  icon.width = icon.height = size;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) icon.pixels.push_back(colour(x, y));
  return kernel::addIcon(std::move(icon));
}

// A 32-bit surface to draw on, filled with one colour.
struct Canvas {
  Canvas(int w, int h, uint32_t fill) : width(w) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    std::fill(bits, bits + w * h, fill);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  uint32_t at(int x, int y) const { return bits[y * width + x] & 0x00FFFFFF; }
  int width;
  uint32_t* bits = nullptr;
  HBITMAP bitmap = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = nullptr;
};

TEST(ImageListTest, IconsAreAppendedWithMinusOneReplacedInRangeAndADestroyedListIsRefused) {
  // Initial room for one image, growing by one: appending goes on regardless.
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  // Opaque colours with a transparent border of one pixel.
  auto framed = [](uint32_t c) { return makeIcon(16, [c](int x, int y) { return x % 15 && y % 15 ? c : 0; }); };
  HICON red = framed(kRed), blue = framed(kBlue);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), i);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, blue), 1);
  for (int bad : {3, -2}) EXPECT_EQ(ImageList_ReplaceIcon(list, bad, blue), -1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, nullptr), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);

  // Drawn with the mask: the border shows the surface, and nothing is drawn
  // outside the image.
  Canvas canvas(50, 18, 0x0000FF00);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(ImageList_Draw(list, i, canvas.dc, 1 + i * 16, 1, ILD_TRANSPARENT));
  const uint32_t expected[][3] = {{8, 8, 0xFF0000}, {24, 8, 0x0000FF}, {40, 8, 0xFF0000},
                                  {1, 1, 0x00FF00}, {0, 0, 0x00FF00}, {49, 17, 0x00FF00}};
  for (const auto& e : expected) EXPECT_EQ(canvas.at(static_cast<int>(e[0]), static_cast<int>(e[1])), e[2]) << e[0];
  EXPECT_FALSE(ImageList_Draw(list, 3, canvas.dc, 0, 0, ILD_TRANSPARENT));
  // A larger icon (left half red, right half blue, top rows transparent) is
  // scaled to the list's size; drawn partly off the surface, it is clipped.
  HICON large = makeIcon(32, [](int x, int y) { return y < 2 ? 0 : x < 16 ? kRed : kBlue; });
  ASSERT_EQ(ImageList_ReplaceIcon(list, 2, large), 2);
  Canvas small(8, 8, 0x00FFFFFF);
  EXPECT_TRUE(ImageList_Draw(list, 2, small.dc, -4, -4, ILD_TRANSPARENT));
  EXPECT_EQ(small.at(0, 0), 0xFF0000u);
  EXPECT_EQ(small.at(7, 7), 0x0000FFu);
  EXPECT_TRUE(ImageList_Draw(list, 2, canvas.dc, 33, 1, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.at(40, 1), 0x00FF00u) << "transparent: the surface shows";
  EXPECT_EQ(canvas.at(35, 8), 0xFF0000u);

  ASSERT_TRUE(ImageList_Destroy(list));
  SetLastError(0);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), -1);
  EXPECT_FALSE(ImageList_Destroy(list));
  // Not an image list at all: an icon handle.
  EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(red)), 0);
  DestroyIcon(red);
  DestroyIcon(blue);
  DestroyIcon(large);
}

TEST(ImageListTest, StripsAreCutIntoImagesMaskedByAColourOrABitmapAndRemovedOneOrAll) {
  // Red, blue and red images, each with a magenta top-left pixel; the mask is white at (1, 1) only.
  Canvas strip(48, 16, 0xFF0000);
  Canvas mask(48, 16, 0);
  for (int y = 0; y < 16; ++y) std::fill(strip.bits + y * 48 + 16, strip.bits + y * 48 + 32, 0x0000FF);
  for (int i = 0; i < 3; ++i) strip.bits[i * 16] = 0xFF00FF;
  mask.bits[48 + 1] = 0xFFFFFF;
  HIMAGELIST keyed = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  HIMAGELIST masked = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  HIMAGELIST opaque = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  Canvas narrow(8, 16, 0);
  const COLORREF kMagenta = RGB(255, 0, 255);
  // In turn: two strips keyed by magenta, one masked by a bitmap, one on a list without a mask; a strip narrower
  // than one image and no bitmap add nothing; the blue image goes (red, red, red, blue, red), one past the end cannot.
  const std::vector<int> results = {
      ImageList_AddMasked(keyed, strip.bitmap, kMagenta), ImageList_AddMasked(keyed, strip.bitmap, kMagenta),
      ImageList_Add(masked, strip.bitmap, mask.bitmap),   ImageList_Add(opaque, strip.bitmap, mask.bitmap),
      ImageList_AddMasked(keyed, narrow.bitmap, 0),       ImageList_Add(keyed, nullptr, nullptr),
      ImageList_Remove(keyed, 1),                         ImageList_Remove(keyed, 5)};
  EXPECT_EQ(results, (std::vector<int>{0, 3, 0, 0, -1, -1, TRUE, FALSE}));
  EXPECT_EQ(ImageList_SetBkColor(masked, RGB(0, 0, 255)), CLR_NONE);
  EXPECT_EQ(ImageList_GetBkColor(masked), RGB(0, 0, 255));
  struct Draw { HIMAGELIST list; int index; UINT style; int x, y; uint32_t expected; };
  const Draw draws[] = {
      {keyed, 0, ILD_TRANSPARENT, 0, 0, 0x00FF00},  {keyed, 0, ILD_TRANSPARENT, 1, 1, 0xFF0000},
      {keyed, 1, ILD_TRANSPARENT, 5, 5, 0xFF0000},  {keyed, 3, ILD_TRANSPARENT, 5, 5, 0x0000FF},
      {masked, 0, ILD_TRANSPARENT, 1, 1, 0x00FF00}, {masked, 0, ILD_TRANSPARENT, 0, 0, 0xFF00FF},
      {masked, 0, ILD_NORMAL, 1, 1, 0x0000FF},      {masked, 1, ILD_NORMAL, 5, 5, 0x0000FF},
      {opaque, 0, ILD_TRANSPARENT, 1, 1, 0xFF0000}, {opaque, 2, ILD_TRANSPARENT, 0, 0, 0xFF00FF},
  };
  for (const Draw& d : draws) {
    Canvas canvas(16, 16, 0x00FF00);
    EXPECT_TRUE(ImageList_Draw(d.list, d.index, canvas.dc, 0, 0, d.style));
    EXPECT_EQ(canvas.at(d.x, d.y), d.expected) << "row " << &d - draws;
  }
  EXPECT_FALSE(ImageList_Draw(keyed, 0, nullptr, 0, 0, ILD_NORMAL));
  EXPECT_EQ(ImageList_GetImageCount(keyed), 5);
  EXPECT_TRUE(ImageList_Remove(keyed, -1));
  EXPECT_EQ(ImageList_GetImageCount(keyed), 0);
  for (HIMAGELIST list : {keyed, masked, opaque}) ImageList_Destroy(list);
}

}  // namespace
