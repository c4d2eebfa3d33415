// The module: its name and path, its resources by ordinal, name and number
// text, strings from its string table, and icons, its own and the system's.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "kernel/Icons.h"
#include "kernel/Resources.h"

namespace {

TEST(Resources, FoundByOrdinalByNameAndByNumberTextAndMissingOnesRefused) {
  HMODULE module = GetModuleHandleW(nullptr);
  ASSERT_NE(module, nullptr);
  HRSRC byOrdinal = FindResourceW(module, MAKEINTRESOURCEW(201), RT_RCDATA);
  ASSERT_NE(byOrdinal, nullptr);
  EXPECT_EQ(SizeofResource(module, byOrdinal), 6u);  // "abc\0" and one WORD
  auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, byOrdinal)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::memcmp(bytes, "abc\0\x34\x12", 6), 0);
  EXPECT_EQ(FindResourceW(module, u"#201", RT_RCDATA), byOrdinal);
  EXPECT_EQ(FindResourceW(nullptr, u"#201", u"#10"), byOrdinal);

  HRSRC byName = FindResourceW(module, u"BLOB", RT_RCDATA);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(SizeofResource(module, byName), 5u);
  EXPECT_EQ(std::string(static_cast<const char*>(LockResource(LoadResource(module, byName))), 5), "named");
  // Missing names and types are refused with their error.
  struct Case { const WCHAR* name; const WCHAR* type; DWORD error; } cases[] = {
      {MAKEINTRESOURCEW(999), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
      {MAKEINTRESOURCEW(201), RT_MENU, ERROR_RESOURCE_TYPE_NOT_FOUND},
      {u"#70000", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},  // number text too large
      {u"BLOBS", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindResourceW(module, c.name, c.type), nullptr);
    EXPECT_EQ(GetLastError(), c.error) << c.error;
  }
}

TEST(Modules, TheProgramIsNamedByItsPathOrFileAndItsPathIsCutToTheBuffer) {
  HMODULE self = GetModuleHandleW(nullptr);
  WCHAR path[1024];
  std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  ASSERT_EQ(std::u16string(path, GetModuleFileNameW(self, path, 1024)), std::u16string(exe.begin(), exe.end()));
  std::u16string file = std::u16string(path).substr(exe.rfind('/') + 1);
  for (std::u16string name : {std::u16string(path), file, file + u".EXE"}) EXPECT_EQ(GetModuleHandleW(name.c_str()), self);
  WCHAR cut[4];
  EXPECT_TRUE(GetModuleFileNameW(nullptr, cut, 4) == 4 && GetLastError() == ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(cut), std::u16string(path, 3)) << "cut and terminated";
  EXPECT_TRUE(!GetModuleHandleW(u"coredll.dll") && GetLastError() == ERROR_MOD_NOT_FOUND);
  EXPECT_TRUE(!GetModuleFileNameW(reinterpret_cast<HMODULE>(0x20000), path, 1024) && GetLastError() == ERROR_MOD_NOT_FOUND);
}

// The counted string itself, as a null buffer gives it.
std::u16string counted(UINT id) {
  auto* text = reinterpret_cast<const WCHAR*>(LoadStringW(nullptr, id, nullptr, 0));
  if (!text) return u"<none>";
  const WCHAR* viaBuffer = nullptr;  // the desktop form: the buffer receives the pointer
  EXPECT_EQ(LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(&viaBuffer), 0), reinterpret_cast<const WORD*>(text)[-1]);
  EXPECT_EQ(viaBuffer, text);
  return std::u16string(text, reinterpret_cast<const WORD*>(text)[-1]);
}

TEST(LoadString, EmptyEntryIsFoundAndMissingOneIsNot) {
  const std::pair<UINT, const char16_t*> cases[] = {
      {1, u"One"},
      {2, u""},  // an empty entry is found
      {3, u"Three"}, {17, u"Seventeen"}, {1015, u"Tools"},
      {40, u"A string that is longer than the small buffers of the tests"},
      {500, u"<none>"},  // no block holds 500
  };
  for (auto [id, text] : cases) EXPECT_EQ(counted(id), text) << id;
  const WCHAR* untouched = u"x";
  EXPECT_EQ(LoadStringW(nullptr, 500, reinterpret_cast<LPWSTR>(&untouched), 0), 0);
  EXPECT_EQ(std::u16string(untouched), u"x");
  EXPECT_NE(LoadStringW(GetModuleHandleW(nullptr), 1015, nullptr, 0), 0);
}

// The pixels of the test icon follow the formulas of data/make_images.py.
uint32_t smallIconPixel(int x, int y) {
  if (x < 2) return 0;
  uint32_t i = uint32_t(x + y) % 16;
  return 0xFF000000u | (i * 16) << 16 | (255 - i * 16) << 8 | i * 8;
}
uint32_t bigIconPixel(int x, int y) { return uint32_t(8 * x) << 24 | uint32_t(8 * y) << 16 | 100 << 8 | 200; }

HICON loadTestIcon(int width, int height, WORD id = 301) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0));
}

TEST(Icons, LoadsTheImageOfTheRequestedSizeAndSharedOnesStay) {
  // Two 32x32 images: the 32-bit one wins over the 8-bit one.
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    HICON handle = loadTestIcon(size, size);
    const kernel::Icon* icon = kernel::iconFromHandle(handle);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->width, size);
    ASSERT_EQ(icon->height, size);
    ASSERT_EQ(icon->pixels.size(), size_t(size * size));
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        ASSERT_EQ(icon->pixels[size_t(y * size + x)], size == 16 ? smallIconPixel(x, y) : bigIconPixel(x, y))
            << x << "," << y;
    EXPECT_TRUE(DestroyIcon(handle));
    EXPECT_EQ(kernel::iconFromHandle(handle), nullptr);
  }
  // An icon loaded as shared stays; a missing one is refused.
  HICON shared = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(301));
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), u"#301"), shared);
  EXPECT_TRUE(DestroyIcon(shared));
  EXPECT_NE(kernel::iconFromHandle(shared), nullptr);
  EXPECT_EQ(loadTestIcon(16, 16, 302), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(Icons, SystemIconsAndCursorsAreDrawnAndShared) {
  // colour: of that pixel of the 32x32 icon.
  struct Case { LPCWSTR id; int x, y; uint32_t colour; } cases[] = {
      {IDI_HAND, 16, 6, 0xFFD42020u}, {IDI_HAND, 16, 16, 0xFFFFFFFFu}, {IDI_EXCLAMATION, 16, 12, 0xFF000000u},
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

  // System cursors outlive DestroyIcon.
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  EXPECT_NE(wait, LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_TRUE(DestroyIcon(wait));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), wait);
}

}  // namespace
