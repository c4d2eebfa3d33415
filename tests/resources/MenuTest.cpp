// The menu behind the menu bar and the menu bar resource the shell builds it from.
#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>


#include "ResourceReader.h"
#include "resources/resource.h"

namespace resources_test {
namespace {

std::vector<MenuItem> loadMainMenu() {
  auto bytes = loadResource(RT_MENU, IDM_MAIN);
  if (!bytes) ADD_FAILURE() << "menu " << IDM_MAIN << " is missing";
  auto menu = bytes ? parseMenu(*bytes) : std::nullopt;
  if (bytes && !menu) ADD_FAILURE() << "menu " << IDM_MAIN << " does not end where it should";
  return menu.value_or(std::vector<MenuItem>{});
}

MenuBar loadMenuBar() {
  auto bytes = loadResource(RT_RCDATA, IDM_MAIN);
  if (!bytes) ADD_FAILURE() << "menu bar " << IDM_MAIN << " is missing";
  auto bar = bytes ? parseMenuBar(*bytes) : std::nullopt;
  if (bytes && !bar) ADD_FAILURE() << "menu bar " << IDM_MAIN << " holds other than the buttons it counts";
  return bar.value_or(MenuBar{});
}

// Items start enabled and unchecked, and only the last of each level ends it.
std::string describe(const MenuItem& item, bool last) {
  std::string text = (item.flags & MF_POPUP)                   ? "popup " + narrow(item.text)
                     : (item.id == 0 && item.text.empty()) ? "separator"
                                                               : narrow(item.text) + " = " + std::to_string(item.id);
  if (item.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) text += " (not plain)";
  if (((item.flags & MF_END) != 0) != last) text += last ? " (no end)" : " (ends early)";
  return text;
}

TEST(MainMenu, ToolsAndViewPopupsHoldTheCommandsInOrder) {
  std::vector<MenuItem> menu = loadMainMenu();
  std::vector<std::vector<std::string>> actual;
  for (const MenuItem& popup : menu) {
    actual.push_back({describe(popup, &popup == &menu.back())});
    for (const MenuItem& item : popup.children) actual.back().push_back(describe(item, &item == &popup.children.back()));
  }
  std::vector<std::vector<std::string>> expected = {
      {"popup Tools", "Delete Database = 40002", "Delete Record = 40003", "separator",
       "Database Properties... = 40004", "About Vantor... = 40007", "separator", "Close = 40001"},
      {"popup View", "Refresh = 40005", "Options... = 40006"},
  };
  EXPECT_EQ(actual, expected);
}

TEST(MenuBar, DescribesTwoDropDownsAndThreeImageButtonsOverTheMainMenu) {
  MenuBar bar = loadMenuBar();
  EXPECT_EQ(bar.menuId, IDM_MAIN);
  const uint16_t noImage = static_cast<uint16_t>(I_IMAGENONE);
  const uint16_t dropDown = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
  struct Expected {
    uint16_t image, command, style, stringId, popup;
  } expected[] = {
      {noImage, IDM_MENUBAR_TOOLS, dropDown, IDS_TOOLS, 0},
      {noImage, IDM_MENUBAR_VIEW, dropDown, IDS_VIEW, 1},
      {0, IDM_DATABASE_PROPERTIES, TBSTYLE_BUTTON, 0, NOMENU},
      {1, IDM_DELETE_RECORD, TBSTYLE_BUTTON, 0, NOMENU},
      {2, IDM_DELETE_DATABASE, TBSTYLE_BUTTON, 0, NOMENU},
  };
  ASSERT_EQ(bar.buttons.size(), std::size(expected));
  for (size_t i = 0; i < bar.buttons.size(); ++i) {
    const MenuBarButton& button = bar.buttons[i];
    SCOPED_TRACE("button " + std::to_string(i));
    EXPECT_EQ(button.image, expected[i].image);
    EXPECT_EQ(button.command, expected[i].command);
    EXPECT_EQ(button.state, TBSTATE_ENABLED);
    EXPECT_EQ(button.style, expected[i].style);
    EXPECT_EQ(button.stringId, expected[i].stringId);
    EXPECT_EQ(button.reserved, 0);
    EXPECT_EQ(button.popup, expected[i].popup);
  }
}

}  // namespace
}  // namespace resources_test
