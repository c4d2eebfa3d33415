#include <gtest/gtest.h>
#include <windows.h>

#include "kernel/Icons.h"
#include "kernel/Resources.h"

namespace {

// The pixels of the test icon follow the formulas of data/make_images.py.
uint32_t smallIconPixel(int x, int y) {
  if (x < 2) return 0;
  uint32_t i = uint32_t(x + y) % 16;
  return 0xFF000000u | (i * 16) << 16 | (255 - i * 16) << 8 | i * 8;
}
uint32_t bigIconPixel(int x, int y) { return uint32_t(8 * x) << 24 | uint32_t(8 * y) << 16 | 100 << 8 | 200; }

HICON loadTestIcon(int width, int height, UINT flags = 0, HINSTANCE module = GetModuleHandleW(nullptr)) {
  return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(301), IMAGE_ICON, width, height, flags));
}

TEST(Icons, LoadsTheImageOfTheRequestedSizeOrScalesTheNearestLarger) {
  // Two 32x32 images: the 32-bit one wins over the 8-bit one. 24 scales it down, 64 up, 8 halves the 16x16 one.
  for (int size : {16, 32, 24, 64, 8}) {
    SCOPED_TRACE(size);
    HICON handle = loadTestIcon(size, size);
    const kernel::Icon* icon = kernel::iconFromHandle(handle);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->width, size);
    ASSERT_EQ(icon->height, size);
    ASSERT_EQ(icon->pixels.size(), size_t(size * size));
    if (size == 16 || size == 32) {
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          ASSERT_EQ(icon->pixels[size_t(y * size + x)], size == 16 ? smallIconPixel(x, y) : bigIconPixel(x, y))
              << x << "," << y;
    } else if (size == 8) {
      EXPECT_EQ(icon->pixels[0], 0u);  // the transparent left columns
    } else {
      // The colour of the 32-bit image survives scaling; its alpha grows to the right.
      uint32_t left = icon->pixels[size_t(size / 2) * size_t(size) + 1];
      uint32_t right = icon->pixels[size_t(size / 2) * size_t(size) + size_t(size) - 1];
      EXPECT_EQ(right & 0xFFFF, 0x64C8u);
      EXPECT_LT(left >> 24, right >> 24);
    }
    EXPECT_TRUE(DestroyIcon(handle));
    EXPECT_EQ(kernel::iconFromHandle(handle), nullptr);
    EXPECT_FALSE(DestroyIcon(handle));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  }
}

TEST(Icons, DefaultSizeSharedLoadsAndFailures) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  HICON byDefault = loadTestIcon(0, 0, LR_DEFAULTSIZE);
  ASSERT_NE(kernel::iconFromHandle(byDefault), nullptr);
  EXPECT_EQ(kernel::iconFromHandle(byDefault)->width, 32);

  HICON shared = LoadIconW(module, MAKEINTRESOURCEW(301));
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(LoadIconW(module, u"#301"), shared);
  EXPECT_TRUE(DestroyIcon(shared));
  EXPECT_NE(kernel::iconFromHandle(shared), nullptr);  // shared icons stay

  struct Case {
    const char* what;
    HANDLE handle;
  } cases[] = {
      {"no instance: the system's icons only", LoadIconW(nullptr, u"#301")},
      {"negative size", loadTestIcon(-1, 16)},
      {"foreign module", loadTestIcon(16, 16, 0, reinterpret_cast<HINSTANCE>(uintptr_t(0x20000)))},
      {"unknown system icon", LoadIconW(nullptr, MAKEINTRESOURCEW(32600))},
      {"unknown system cursor", LoadCursorW(nullptr, MAKEINTRESOURCEW(1))},
  };
  for (const Case& c : cases) EXPECT_EQ(c.handle, nullptr) << c.what;
  EXPECT_EQ(loadTestIcon(100000, 100000), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadImageW(module, MAKEINTRESOURCEW(302), IMAGE_ICON, 16, 16, 0), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(kernel::iconFromHandle(reinterpret_cast<HICON>(uintptr_t(0x04FFFF01))), nullptr);
}

TEST(Icons, SystemIconsAndCursorsAreDrawnAtTheirSizeAndShared) {
  struct Case {
    LPCWSTR id;
    int x, y;
    uint32_t colour;  // of that pixel of the 32x32 icon
  } cases[] = {{IDI_APPLICATION, 16, 7, 0xFF2060C8u}, {IDI_HAND, 16, 6, 0xFFD42020u},
               {IDI_HAND, 16, 16, 0xFFFFFFFFu},        {IDI_EXCLAMATION, 16, 12, 0xFF000000u},
               {IDI_EXCLAMATION, 10, 26, 0xFFF0C020u}, {IDI_ASTERISK, 8, 16, 0xFF2060C8u}};
  for (const Case& c : cases) {
    HICON icon = LoadIconW(nullptr, c.id);
    const kernel::Icon* image = kernel::iconFromHandle(icon);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->pixels[size_t(c.y * 32 + c.x)], c.colour) << LOWORD(c.id) << " " << c.x << "," << c.y;
    EXPECT_EQ(image->pixels[0] >> 24, 0u) << LOWORD(c.id);  // the corner is transparent
    EXPECT_EQ(LoadIconW(nullptr, c.id), icon);
  }
  EXPECT_NE(LoadIconW(nullptr, IDI_QUESTION), LoadIconW(nullptr, IDI_ASTERISK));
  auto small = static_cast<HICON>(LoadImageW(nullptr, IDI_HAND, IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(kernel::iconFromHandle(small), nullptr);
  EXPECT_EQ(kernel::iconFromHandle(small)->width, 16);
  EXPECT_EQ(LoadImageW(nullptr, IDI_HAND, IMAGE_ICON, 16, 16, 0), small);

  // The cursors the browser sets are checked by its own test.
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  for (LPCWSTR id : {IDC_WAIT, IDC_IBEAM, IDC_CROSS, IDC_SIZEWE, IDC_SIZENS, IDC_NO}) {
    EXPECT_NE(LoadCursorW(nullptr, id), nullptr);
    EXPECT_NE(LoadCursorW(nullptr, id), arrow);
  }
  EXPECT_TRUE(DestroyIcon(arrow));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);  // system cursors outlive DestroyIcon
}

}  // namespace
