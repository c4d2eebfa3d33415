// Menus as data: loading them from resources, building and changing them
// with the menu calls, and the handles that name them.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "user/MenuTemplate.h"

namespace {

constexpr UINT kTestMenu = 300;
constexpr UINT kNestedMenu = 301;
constexpr UINT kNone = 0xFFFFFFFF;

std::string textOf(HMENU menu, UINT item, UINT flags) {
  WCHAR buffer[64];
  int n = GetMenuStringW(menu, item, buffer, 64, flags);
  return std::string(buffer, buffer + n);
}

// Each item as "text=id", "text>" for a popup, "-" for a separator.
std::vector<std::string> describe(HMENU menu) {
  std::vector<std::string> out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    std::string text = textOf(menu, static_cast<UINT>(i), MF_BYPOSITION);
    UINT id = GetMenuItemID(menu, i);
    out.push_back(GetSubMenu(menu, i) ? text + ">" : id == 0 && text.empty() ? "-" : text + "=" + std::to_string(id));
  }
  return out;
}

using Lines = std::vector<std::string>;

// Nested popups are walked, grayed and checked items drawn in MenuTrackTest.
TEST(MenuResource, LoadsPopupsItemsAndSeparatorsAndDestroysEveryMenuBelowIt) {
  HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTestMenu));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(describe(bar), (Lines{"&File>", "&Edit>"}));
  EXPECT_EQ(describe(GetSubMenu(bar, 0)),
            (Lines{"&Open\tCtrl+O=101", "-", "&Save=102", "&Wrap lines=103", "E&xit=104"}));
  EXPECT_EQ(describe(GetSubMenu(bar, 1)), (Lines{"Cu&t=201", "&Copy=202"}));
  EXPECT_EQ(GetMenuItemID(bar, 0), kNone) << "a popup item has no command";
  EXPECT_EQ(GetMenuItemID(bar, -1), kNone);
  EXPECT_EQ(GetSubMenu(bar, 7), nullptr);
  WCHAR small[5];
  EXPECT_EQ(GetMenuStringW(bar, 0, small, 5, MF_BYPOSITION), 4) << "cut to the buffer";
  EXPECT_EQ(std::u16string(small), u"&Fil");
  EXPECT_EQ(GetMenuStringW(bar, 0, nullptr, 0, MF_BYPOSITION), 5) << "the length it needs";
  EXPECT_EQ(GetMenuStringW(bar, 99, small, 5, MF_BYCOMMAND), 0);
  EXPECT_TRUE(DestroyMenu(bar));
  SetLastError(0);
  EXPECT_EQ(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_NE(GetLastError(), 0u);

  bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kNestedMenu));
  HMENU top = GetSubMenu(bar, 0), more = GetSubMenu(top, 1), deeper = GetSubMenu(more, 1);
  ASSERT_NE(deeper, nullptr);
  ASSERT_TRUE(DestroyMenu(bar));
  for (HMENU gone : {bar, top, more, deeper, reinterpret_cast<HMENU>(GetDesktopWindow())}) {
    SetLastError(0);
    EXPECT_EQ(GetMenuItemCount(gone), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  }
  EXPECT_FALSE(DestroyMenu(bar)) << "a stale handle";
}

// A template written word by word.
std::vector<uint8_t> words(std::initializer_list<uint16_t> list) {
  std::vector<uint8_t> bytes;
  for (uint16_t w : list) {
    bytes.push_back(static_cast<uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  return bytes;
}

TEST(MenuTemplate, MalformedTemplatesAreRefusedWhole) {
  const uint16_t kPopup = MF_POPUP, kPopupEnd = MF_POPUP | MF_END, kEnd = MF_END;
  const struct { const char* what; std::vector<uint8_t> bytes; bool accepted; } cases[] = {
      {"one item", words({0, 0, kEnd, 7, 'A', 0}), true},
      {"header only: an empty menu", words({0, 0}), true},
      {"the header's offset is skipped", words({0, 2, 0xBEEF, kEnd, 7, 'A', 0}), true},
      {"a popup with one item", words({0, 0, kPopupEnd, 'P', 0, kEnd, 9, 'x', 0}), true},
      {"no header", {}, false},
      {"half a header", {0}, false},
      {"an extended menu", words({1, 4, 0, 0}), false},
      {"offset past the end", words({0, 40, kEnd, 7, 'A', 0}), false},
      {"text without its terminator", words({0, 0, kEnd, 7, 'A', 'B'}), false},
      {"no item ends the level", words({0, 0, 0, 7, 'A', 0}), false},
      {"a popup whose items never end", words({0, 0, kPopupEnd, 'P', 0, 0, 9, 'x', 0}), false},
      {"an odd byte after the id", {0, 0, 0, 0, 0x80, 0, 7, 0, 'A'}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(user::parseMenuTemplate(c.bytes.data(), c.bytes.size()).has_value(), c.accepted) << c.what;
  // A chain of popups deeper than a menu may go.
  std::vector<uint8_t> deep = words({0, 0});
  for (int i = 0; i <= 40; ++i) {
    auto level = i < 40 ? words({kPopup | kEnd, 'P', 0}) : words({kEnd, 1, 'x', 0});
    deep.insert(deep.end(), level.begin(), level.end());
  }
  EXPECT_FALSE(user::parseMenuTemplate(deep.data(), deep.size())) << "too deep";
}

}  // namespace
