// The menu behind the menu bar, the menu bar resource the shell builds it from
// and its texts, and the program's version.
#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "ResourceReader.h"
#include "resources/resource.h"
#include "shell/MenuBarResource.h"
#include "user/MenuTemplate.h"

namespace resources_test {
namespace {

constexpr size_t kMenuBarHeader = 4;
constexpr size_t kMenuBarButton = 14;
constexpr size_t kReservedWord = 10;

// Items start enabled and unchecked. A level ended early shows as its
// remaining items moved up a level; one never ended makes the menu run past
// its end.
std::string describe(const user::MenuTemplateItem& item) {
  std::string text = item.popup()       ? "popup " + narrow(item.text)
                     : item.separator() ? "separator"
                                        : narrow(item.text) + " = " + std::to_string(item.id);
  if (item.options & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) text += " (not plain)";
  return text;
}

// The menu, then the menu bar over it: two drop-downs and three image buttons,
// then the bar's texts alone in their block of the string table.
TEST(MenuBar, DropDownsOfTheMainMenuAndImageButtonsWithTheirTextsAloneInTheirBlock) {
  auto bytes = loadResource(RT_MENU, IDM_MAIN);
  ASSERT_TRUE(bytes) << "menu " << IDM_MAIN << " is missing";
  auto menu = user::parseMenuTemplate(bytes->data(), bytes->size());
  ASSERT_TRUE(menu) << "menu " << IDM_MAIN << " runs past its end";
  std::vector<std::vector<std::string>> actual;
  for (const user::MenuTemplateItem& popup : *menu) {
    actual.push_back({describe(popup)});
    for (const user::MenuTemplateItem& item : popup.children) actual.back().push_back(describe(item));
  }
  EXPECT_EQ(actual, (std::vector<std::vector<std::string>>{
                        {"popup Tools", "Delete Database = 40002", "Delete Record = 40003", "separator",
                         "Database Properties... = 40004", "About Vantor... = 40007", "separator", "Close = 40001"},
                        {"popup View", "Refresh = 40005", "Options... = 40006"}}));

  bytes = loadResource(RT_RCDATA, IDM_MAIN);
  ASSERT_TRUE(bytes) << "menu bar " << IDM_MAIN << " is missing";
  auto bar = shell::parseMenuBarResource(bytes->data(), bytes->size());
  ASSERT_TRUE(bar) << "shorter than the buttons it counts";
  EXPECT_EQ(bar->menuId, IDM_MAIN);
  // The shell reads only the buttons counted and passes over each one's
  // reserved word, so neither may hide anything.
  EXPECT_EQ(bytes->size(), kMenuBarHeader + kMenuBarButton * bar->buttons.size())
      << "holds other than the buttons it counts";
  const BYTE dropDown = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
  // Image, command, state, style, string, popup (NOMENU reads as -1), reserved word.
  using Button = std::tuple<int, int, int, int, int, int, int>;
  const Button expected[] = {
      {I_IMAGENONE, IDM_MENUBAR_TOOLS, TBSTATE_ENABLED, dropDown, IDS_TOOLS, 0, 0},
      {I_IMAGENONE, IDM_MENUBAR_VIEW, TBSTATE_ENABLED, dropDown, IDS_VIEW, 1, 0},
      {0, IDM_DATABASE_PROPERTIES, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1, 0},
      {1, IDM_DELETE_RECORD, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1, 0},
      {2, IDM_DELETE_DATABASE, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1, 0},
  };
  ASSERT_EQ(bar->buttons.size(), std::size(expected));
  for (size_t i = 0; i < bar->buttons.size(); ++i) {
    const shell::MenuBarResourceButton& b = bar->buttons[i];
    const size_t reserved = kMenuBarHeader + kMenuBarButton * i + kReservedWord;
    EXPECT_EQ(Button(b.image, b.command, b.state, b.style, b.stringId, b.popup,
                     (*bytes)[reserved] | (*bytes)[reserved + 1]),
              expected[i])
        << "button " << i;
  }
  WCHAR text[64];
  for (UINT id = IDS_TOOLS / 16 * 16; id < IDS_TOOLS / 16 * 16 + 16; ++id) {
    const auto length = LoadStringW(GetModuleHandleW(nullptr), id, text, 64);
    EXPECT_EQ(std::u16string(text, length > 0 ? size_t(length) : 0),
              id == IDS_TOOLS ? u"Tools" : id == IDS_VIEW ? u"View" : u"") << id;
  }
}

// Nothing on the device reads the version: its fixed part is found by its
// signature and its texts as UTF-16 words, each value right after its key.
TEST(Version, Says0Point96ForFileAndProductInUsEnglish) {
  auto bytes = loadResource(RT_VERSION, VS_VERSION_INFO);
  ASSERT_TRUE(bytes);
  const uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE};
  auto at = std::search(bytes->begin(), bytes->end(), std::begin(signature), std::end(signature));
  ASSERT_GE(bytes->end() - at, static_cast<ptrdiff_t>(sizeof(VS_FIXEDFILEINFO)));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, &*at, sizeof fixed);
  // File and product version 0.96.0.0 of an application for Windows CE.
  EXPECT_EQ(std::vector<DWORD>({fixed.dwFileVersionMS, fixed.dwFileVersionLS, fixed.dwProductVersionMS,
                                fixed.dwProductVersionLS, fixed.dwFileType, fixed.dwFileOS}),
            std::vector<DWORD>({96, 0, 96, 0, VFT_APP, VOS_WINCE}));
  EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask & VS_FF_DEBUG, 0u) << "a release";

  std::u16string words(bytes->size() / 2, u'\0');
  std::memcpy(words.data(), bytes->data(), words.size() * 2);
  const std::pair<std::u16string, std::u16string> texts[] = {
      {u"VS_VERSION_INFO", u""}, {u"StringFileInfo", u""},      {u"040904B0", u""},
      {u"FileVersion", u"0.96"}, {u"ProductVersion", u"0.96"}, {u"ProductName", u"Vantor"},
      {u"VarFileInfo", u""},     {u"Translation", std::u16string(u"\x0409\x04B0", 2)}};
  for (const auto& [key, value] : texts) {
    const size_t k = words.find(key + u'\0');
    ASSERT_NE(k, std::u16string::npos) << narrow(key);
    EXPECT_LE(words.find(value, k + key.size()) - k - key.size(), 2u) << narrow(key) << " is followed by another value";
  }
}

}  // namespace
}  // namespace resources_test
