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
  std::string out;
  for (int i = 0; i < n; ++i) out.push_back(static_cast<char>(buffer[i]));
  return out;
}

// Each item as "text=id", "text>" for a popup, "-" for a separator, with
// the state marks [g] grayed and [c] checked.
std::vector<std::string> describe(HMENU menu) {
  std::vector<std::string> out;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    std::string text = textOf(menu, static_cast<UINT>(i), MF_BYPOSITION);
    UINT id = GetMenuItemID(menu, i);
    std::string line;
    if (GetSubMenu(menu, i))
      line = text + ">";
    else if (id == 0 && text.empty())
      line = "-";
    else
      line = text + "=" + std::to_string(id);
    UINT state = static_cast<UINT>(EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_ENABLED));
    EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | state);
    DWORD check = CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_UNCHECKED);
    CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | check);
    if (state & MF_GRAYED) line += "[g]";
    if (check & MF_CHECKED) line += "[c]";
    out.push_back(line);
  }
  return out;
}

using Lines = std::vector<std::string>;

// Nested popups are walked in MenuTrackTest.
TEST(MenuResource, LoadsPopupsItemsSeparatorsAndStates) {
  HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTestMenu));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(describe(bar), (Lines{"&File>", "&Edit>"}));
  EXPECT_EQ(describe(GetSubMenu(bar, 0)),
            (Lines{"&Open\tCtrl+O=101", "-", "&Save=102[g]", "&Wrap lines=103[c]", "E&xit=104"}));
  EXPECT_EQ(describe(GetSubMenu(bar, 1)), (Lines{"Cu&t=201", "&Copy=202"}));
  EXPECT_TRUE(DestroyMenu(bar));

  SetLastError(0);
  EXPECT_EQ(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_NE(GetLastError(), 0u);
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

// describe() reads every state through the previous state EnableMenuItem and CheckMenuItem answer.
TEST(MenuCalls, ItemQueriesAtTheEdges) {
  HMENU bar = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuW(bar, MF_STRING, 3, u"Three&&Four");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), u"Sub");
  EXPECT_EQ(GetMenuItemID(bar, 1), kNone) << "a popup item has no command";
  EXPECT_EQ(GetMenuItemID(bar, -1), kNone);
  EXPECT_EQ(GetSubMenu(bar, 7), nullptr);
  EXPECT_EQ(textOf(bar, static_cast<UINT>(reinterpret_cast<uintptr_t>(popup)), MF_BYCOMMAND), "Sub")
      << "a popup item answers to its menu's handle as its command";
  WCHAR small[5];
  EXPECT_EQ(GetMenuStringW(bar, 3, small, 5, MF_BYCOMMAND), 4) << "cut to the buffer";
  EXPECT_EQ(std::u16string(small), u"Thre");
  EXPECT_EQ(GetMenuStringW(bar, 3, nullptr, 0, MF_BYCOMMAND), 11) << "the length it needs";
  EXPECT_EQ(GetMenuStringW(bar, 99, small, 5, MF_BYCOMMAND), 0);
  DestroyMenu(bar);
}

TEST(MenuCalls, DestroyingAMenuDestroysEveryMenuBelowItAndOtherHandlesAreRefused) {
  HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kNestedMenu));
  HMENU top = GetSubMenu(bar, 0), more = GetSubMenu(top, 1), deeper = GetSubMenu(more, 1);
  ASSERT_NE(deeper, nullptr);
  ASSERT_TRUE(DestroyMenu(bar));
  for (HMENU gone : {bar, top, more, deeper, reinterpret_cast<HMENU>(GetDesktopWindow())}) {
    SetLastError(0);
    EXPECT_EQ(GetMenuItemCount(gone), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  }
  EXPECT_FALSE(DestroyMenu(bar)) << "a stale handle";
  EXPECT_FALSE(AppendMenuW(nullptr, MF_STRING, 1, u"x"));
}

TEST(MenuCalls, RefusesAMenuThatWouldContainItself) {
  HMENU a = CreatePopupMenu();
  HMENU b = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(a, MF_POPUP, reinterpret_cast<UINT_PTR>(b), u"B"));
  SetLastError(0);
  EXPECT_FALSE(AppendMenuW(b, MF_POPUP, reinterpret_cast<UINT_PTR>(a), u"A")) << "a cycle through b";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(AppendMenuW(a, MF_POPUP, reinterpret_cast<UINT_PTR>(a), u"self"));
  EXPECT_FALSE(AppendMenuW(a, MF_POPUP, reinterpret_cast<UINT_PTR>(static_cast<uintptr_t>(0x05001201)), u"none"));
  EXPECT_FALSE(AppendMenuW(a, MF_OWNERDRAW, 1, nullptr)) << "not drawn by the platform";
  EXPECT_TRUE(DestroyMenu(a));
  EXPECT_EQ(GetMenuItemCount(b), -1);
}

}  // namespace
