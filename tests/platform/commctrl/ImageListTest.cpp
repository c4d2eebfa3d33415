// Image lists: creation, adding and replacing icons and bitmap strips,
// scaling, and drawing with and without the mask and the selected blend.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "kernel/Icons.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// An icon of size x size in one colour; colour(x, y) may say otherwise (0: transparent).
HICON makeIcon(int size, std::function<uint32_t(int x, int y)> colour) {
  kernel::Icon icon;
  icon.width = icon.height = size;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) icon.pixels.push_back(colour(x, y));
  return kernel::addIcon(std::move(icon));
}

// Opaque colour with a transparent border of one pixel.
HICON framedIcon(uint32_t color) {
  return makeIcon(16, [color](int x, int y) { return x == 0 || y == 0 || x == 15 || y == 15 ? 0 : color; });
}

// A 32-bit top-down bitmap and its pixels (0x00RRGGBB).
HBITMAP dib(int width, int height, uint32_t fill, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* raw = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
  *bits = static_cast<uint32_t*>(raw);
  for (int i = 0; i < width * height; ++i) (*bits)[i] = fill;
  return bitmap;
}

// A surface to draw on.
class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill) : width_(width), bitmap_(dib(width, height, fill, &bits_)) {
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0x00FFFFFF; }

 private:
  int width_;
  uint32_t* bits_ = nullptr;
  HBITMAP bitmap_;
  HDC dc_ = CreateCompatibleDC(nullptr);
  HGDIOBJ old_ = nullptr;
};

TEST(ImageListTest, CreationChecksItsArguments) {
  struct Case {
    int cx, cy, initial, grow;
    bool ok;
  } cases[] = {
      {16, 16, 0, 0, true},   {32, 8, 4, 4, true},    {0, 16, 1, 1, false},
      {16, -1, 1, 1, false}, {16, 16, -1, 1, false}, {100000, 16, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.cx << "x" << c.cy << " " << c.initial << "/" << c.grow);
    HIMAGELIST list = ImageList_Create(c.cx, c.cy, ILC_MASK | ILC_COLOR32, c.initial, c.grow);
    EXPECT_EQ(list != nullptr, c.ok);
    if (!list) continue;
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx * 1000 + cy, c.cx * 1000 + c.cy);
    EXPECT_TRUE(ImageList_Destroy(list));
  }
}

TEST(ImageListTest, IconsAreAppendedWithMinusOneReplacedInRangeAndADestroyedListIsRefused) {
  // Initial room for one image, growing by one: appending goes on regardless.
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  HICON red = framedIcon(kRed);
  HICON blue = framedIcon(kBlue);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), 0);
  EXPECT_EQ(ImageList_AddIcon(list, red), 1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), 2);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, blue), 1);
  for (int bad : {3, -2}) EXPECT_EQ(ImageList_ReplaceIcon(list, bad, blue), -1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, nullptr), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);

  Canvas canvas(48, 16, 0x00FFFFFF);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(ImageList_Draw(list, i, canvas.dc(), i * 16, 0, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.at(8, 8), 0xFF0000u);
  EXPECT_EQ(canvas.at(24, 8), 0x0000FFu);
  EXPECT_EQ(canvas.at(40, 8), 0xFF0000u);
  EXPECT_FALSE(ImageList_Draw(list, 3, canvas.dc(), 0, 0, ILD_NORMAL));
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 2);

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
}

TEST(ImageListTest, LargerIconsAreScaledToTheListSizeAndDrawingIsClipped) {
  // 32 x 32: left half red, right half blue, the top two rows transparent.
  HICON icon = makeIcon(32, [](int x, int y) { return y < 2 ? 0 : x < 16 ? kRed : kBlue; });
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  ASSERT_EQ(ImageList_ReplaceIcon(list, -1, icon), 0);
  Canvas canvas(16, 16, 0x0000FF00);
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(0, 0), 0x00FF00u);  // transparent: the canvas shows
  EXPECT_EQ(canvas.at(3, 8), 0xFF0000u);
  EXPECT_EQ(canvas.at(12, 15), 0x0000FFu);
  // Partly off the surface, up and left: only what lands on it is drawn.
  Canvas small(8, 8, 0x00FFFFFF);
  EXPECT_TRUE(ImageList_Draw(list, 0, small.dc(), -4, -4, ILD_TRANSPARENT));
  EXPECT_EQ(small.at(0, 0), 0xFF0000u);
  EXPECT_EQ(small.at(7, 7), 0x0000FFu);
  ImageList_Destroy(list);
  DestroyIcon(icon);
}

TEST(ImageListTest, DrawingStyles) {
  HICON icon = framedIcon(kRed);
  COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
  uint32_t highlight = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  struct Case {
    const char* name;
    UINT flags;
    COLORREF bk;
    UINT style;
    uint32_t corner;  // a transparent pixel of the icon
    bool pureRed;     // the middle keeps the icon's colour
  } cases[] = {
      {"transparent", ILC_MASK, CLR_NONE, ILD_TRANSPARENT, 0x00FF00, true},
      {"normal without background", ILC_MASK, CLR_NONE, ILD_NORMAL, 0x00FF00, true},
      {"normal on the list's background", ILC_MASK, RGB(0, 0, 255), ILD_NORMAL, 0x0000FF, true},
      {"transparent asked over a background", ILC_MASK, RGB(0, 0, 255), ILD_TRANSPARENT, 0x00FF00, true},
      {"selected blends", ILC_MASK, CLR_NONE, ILD_SELECTED | ILD_TRANSPARENT, 0x00FF00, false},
      {"no mask: opaque", ILC_COLOR32, CLR_NONE, ILD_TRANSPARENT, 0x000000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HIMAGELIST list = ImageList_Create(16, 16, c.flags, 1, 1);
    ImageList_SetBkColor(list, c.bk);
    ASSERT_EQ(ImageList_ReplaceIcon(list, -1, icon), 0);
    Canvas canvas(20, 20, 0x0000FF00);
    ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 2, 2, c.style));
    EXPECT_EQ(canvas.at(2, 2), c.corner);
    EXPECT_EQ(canvas.at(1, 1), 0x00FF00u);  // outside the image: untouched
    EXPECT_EQ(canvas.at(18, 18), 0x00FF00u);
    uint32_t middle = canvas.at(10, 10);
    if (c.pureRed) {
      EXPECT_EQ(middle, 0xFF0000u);
    } else {
      // Half way between the icon and the highlight colour.
      EXPECT_NE(middle, 0xFF0000u);
      EXPECT_NEAR(static_cast<int>(middle >> 16), (0xFF + static_cast<int>(highlight >> 16)) / 2, 2);
    }
    ImageList_Destroy(list);
  }
  DestroyIcon(icon);
}

TEST(ImageListTest, StripsBecomeOneImageEachMaskedByColourOrByAMaskBitmap) {
  // A strip of three 16 x 16 images: red, blue, red, each with a magenta corner.
  uint32_t* bits = nullptr;
  HBITMAP strip = dib(48, 16, 0x00FF0000, &bits);
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) bits[y * 48 + x] = 0x000000FF;
  for (int i = 0; i < 3; ++i) bits[i * 16] = 0x00FF00FF;

  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 3, 3);
  HICON blue = framedIcon(kBlue);
  ImageList_AddIcon(list, blue);
  EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 1);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  Canvas canvas(64, 16, 0x0000FF00);
  for (int i = 0; i < 4; ++i) ImageList_Draw(list, i, canvas.dc(), i * 16, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(16, 0), 0x00FF00u);  // the magenta corner is transparent
  EXPECT_EQ(canvas.at(17, 0), 0xFF0000u);
  EXPECT_EQ(canvas.at(40, 5), 0x0000FFu);
  EXPECT_EQ(canvas.at(56, 5), 0xFF0000u);

  // With a mask bitmap instead: white marks the transparent pixels, and
  // magenta is an ordinary colour.
  uint32_t* maskBits = nullptr;
  HBITMAP mask = dib(48, 16, 0, &maskBits);
  maskBits[48 + 1] = 0x00FFFFFF;
  HIMAGELIST plain = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  EXPECT_EQ(ImageList_Add(plain, strip, mask), 0);
  EXPECT_EQ(ImageList_GetImageCount(plain), 3);
  Canvas drawn(16, 16, 0x0000FF00);
  ImageList_Draw(plain, 0, drawn.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(drawn.at(1, 1), 0x00FF00u);
  EXPECT_EQ(drawn.at(0, 0), 0xFF00FFu);
  EXPECT_EQ(drawn.at(2, 2), 0xFF0000u);
  // A bitmap narrower than one image adds nothing.
  HBITMAP narrow = CreateCompatibleBitmap(nullptr, 8, 16);
  EXPECT_EQ(ImageList_AddMasked(plain, narrow, RGB(0, 0, 0)), -1);
  EXPECT_EQ(ImageList_GetImageCount(plain), 3);
  for (HBITMAP b : {narrow, strip, mask}) DeleteObject(b);
  ImageList_Destroy(plain);
  ImageList_Destroy(list);
  DestroyIcon(blue);
}

}  // namespace
