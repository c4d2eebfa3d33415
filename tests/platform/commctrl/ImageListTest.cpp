// Image lists: creation, adding and replacing icons and bitmap strips,
// scaling, and drawing with and without the mask and the selected blend.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "kernel/Icons.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// An icon of size x size: opaque colour except a transparent border of one pixel.
HICON framedIcon(int size, uint32_t color) {
  kernel::Icon icon;
  icon.width = icon.height = size;
  icon.pixels.assign(static_cast<size_t>(size) * static_cast<size_t>(size), color);
  for (int i = 0; i < size; ++i) {
    icon.pixels[static_cast<size_t>(i)] = 0;
    icon.pixels[static_cast<size_t>((size - 1) * size + i)] = 0;
    icon.pixels[static_cast<size_t>(i * size)] = 0;
    icon.pixels[static_cast<size_t>(i * size + size - 1)] = 0;
  }
  return kernel::addIcon(std::move(icon));
}

// A 32-bit top-down surface to draw on, and its pixels (0x00RRGGBB).
class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = fill;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0x00FFFFFF; }
  void set(int x, int y, uint32_t p) { bits_[y * width_ + x] = p; }

 private:
  int width_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

uint32_t pixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST(ImageListTest, CreationChecksItsArguments) {
  struct Case {
    int cx, cy, initial, grow;
    bool ok;
  } cases[] = {
      {16, 16, 1, 1, true}, {16, 16, 0, 0, true},   {32, 8, 4, 4, true},  {0, 16, 1, 1, false},
      {16, -1, 1, 1, false}, {16, 16, -1, 1, false}, {16, 16, 1, -2, false}, {100000, 16, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.cx << "x" << c.cy << " " << c.initial << "/" << c.grow);
    HIMAGELIST list = ImageList_Create(c.cx, c.cy, ILC_MASK | ILC_COLOR32, c.initial, c.grow);
    EXPECT_EQ(list != nullptr, c.ok);
    if (!list) continue;
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, c.cx);
    EXPECT_EQ(cy, c.cy);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_TRUE(ImageList_Destroy(list));
  }
}

TEST(ImageListTest, ADestroyedListIsRefused) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  HICON icon = framedIcon(16, kRed);
  ASSERT_EQ(ImageList_ReplaceIcon(list, -1, icon), 0);
  ASSERT_TRUE(ImageList_Destroy(list));
  SetLastError(0);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), -1);
  EXPECT_FALSE(ImageList_Destroy(list));
  // Not an image list at all: an icon handle.
  EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(icon)), 0);
  DestroyIcon(icon);
}

TEST(ImageListTest, ReplaceIconAppendsWithMinusOneAndReplacesInRange) {
  // Initial room for one image, growing by one: appending goes on regardless.
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  HICON red = framedIcon(16, kRed);
  HICON blue = framedIcon(16, kBlue);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), 0);
  EXPECT_EQ(ImageList_AddIcon(list, red), 1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), 2);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, blue), 1);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 3, blue), -1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -2, blue), -1);
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
  EXPECT_TRUE(ImageList_RemoveAll(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  ImageList_Destroy(list);
  DestroyIcon(red);
  DestroyIcon(blue);
}

TEST(ImageListTest, LargerIconsAreScaledToTheListSize) {
  // 32 x 32: left half red, right half blue, the top row transparent.
  kernel::Icon big;
  big.width = big.height = 32;
  big.pixels.resize(32 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) big.pixels[static_cast<size_t>(y * 32 + x)] = y < 2 ? 0 : (x < 16 ? kRed : kBlue);
  HICON icon = kernel::addIcon(std::move(big));
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  ASSERT_EQ(ImageList_ReplaceIcon(list, -1, icon), 0);
  Canvas canvas(16, 16, 0x0000FF00);
  ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(0, 0), 0x00FF00u);  // transparent: the canvas shows
  EXPECT_EQ(canvas.at(3, 8), 0xFF0000u);
  EXPECT_EQ(canvas.at(12, 8), 0x0000FFu);
  EXPECT_EQ(canvas.at(12, 15), 0x0000FFu);
  ImageList_Destroy(list);
  DestroyIcon(icon);
}

TEST(ImageListTest, DrawingStyles) {
  HICON icon = framedIcon(16, kRed);
  uint32_t highlight = pixelOf(GetSysColor(COLOR_HIGHLIGHT));
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
    EXPECT_EQ(ImageList_GetBkColor(list), c.bk);
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
      EXPECT_NE(middle, highlight);
      int red = static_cast<int>(middle >> 16);
      int expectedRed = (0xFF + static_cast<int>(highlight >> 16)) / 2;
      EXPECT_NEAR(red, expectedRed, 2);
    }
    ImageList_Destroy(list);
  }
  DestroyIcon(icon);
}

TEST(ImageListTest, DrawingIsClippedToTheTargetAndAcceptsNegativePlaces) {
  HICON icon = framedIcon(16, kRed);
  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  ImageList_AddIcon(list, icon);
  Canvas canvas(8, 8, 0x00FFFFFF);
  EXPECT_TRUE(ImageList_Draw(list, 0, canvas.dc(), -8, -8, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.at(0, 0), 0xFF0000u);
  EXPECT_EQ(canvas.at(7, 7), 0xFFFFFFu);  // the icon's transparent border
  ImageList_Destroy(list);
  DestroyIcon(icon);
}

TEST(ImageListTest, MaskedStripsBecomeOneImageEach) {
  // A strip of three 16 x 16 images: red, blue, red, each with a magenta corner.
  Canvas strip(48, 16, 0x00FF0000);
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) strip.set(x, y, 0x000000FF);
  for (int i = 0; i < 3; ++i) strip.set(i * 16, 0, 0x00FF00FF);
  // The bitmap may not be drawn from while selected elsewhere: copy it out.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 48;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, 48, 16, strip.dc(), 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);

  HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 3, 3);
  HICON blue = framedIcon(16, kBlue);
  ImageList_AddIcon(list, blue);
  EXPECT_EQ(ImageList_AddMasked(list, bitmap, RGB(255, 0, 255)), 1);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  Canvas canvas(64, 16, 0x0000FF00);
  for (int i = 0; i < 4; ++i) ImageList_Draw(list, i, canvas.dc(), i * 16, 0, ILD_TRANSPARENT);
  EXPECT_EQ(canvas.at(16, 0), 0x00FF00u);  // the magenta corner is transparent
  EXPECT_EQ(canvas.at(17, 0), 0xFF0000u);
  EXPECT_EQ(canvas.at(40, 5), 0x0000FFu);
  EXPECT_EQ(canvas.at(56, 5), 0xFF0000u);

  // With a mask bitmap instead: white marks the transparent pixels, and
  // magenta is an ordinary colour.
  Canvas mask(48, 16, 0x00000000);
  mask.set(1, 1, 0x00FFFFFF);
  HIMAGELIST plain = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  EXPECT_EQ(ImageList_Add(plain, bitmap, mask.bitmap()), 0);
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
  DeleteObject(narrow);
  ImageList_Destroy(plain);
  ImageList_Destroy(list);
  DeleteObject(bitmap);
  DestroyIcon(blue);
}

}  // namespace
