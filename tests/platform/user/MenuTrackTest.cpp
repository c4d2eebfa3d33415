// Menus: corrupt templates refused whole; popup menus loaded or built by calls, chosen by the stylus and the keys
// while the menu's own loop runs, submenus, dismissal and placement (the look is the gallery's and the "Tools" menu's).
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "Recorder.h"
#include "user/MenuLayout.h"
#include "user/MenuTemplate.h"
#include "user/MenuTracker.h"

namespace usertest {
namespace {

constexpr UINT kTestMenu = 300;

// The popup windows open, the topmost first.
std::vector<HWND> openPopups() {
  std::vector<HWND> found;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    WCHAR name[16] = {};
    GetClassNameW(w, name, 16);
    if (std::u16string(name) == u"#32768" && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

RECT itemOnScreen(const char16_t* text) {
  RECT r{};
  std::string why;
  if (!user::findOpenMenuItem(text, r, why)) ADD_FAILURE() << why;
  return r;
}

// Steps that run while the menu waits for the person.
using Step = std::function<void()>;
Step tapOn(const char16_t* text) {
  return [text] {
    RECT r = itemOnScreen(text);
    if (r.right <= r.left) return press(VK_ESCAPE);  // leave the loop whatever happened
    tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
}
Step keys(std::vector<UINT> list) {
  return [list] {
    for (UINT vk : list) press(vk);
  };
}

class MenuTrackTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    owner = createTopLevel(WS_VISIBLE);
    bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTestMenu));
    file = GetSubMenu(bar, 0);
    pump();
    log().clear();
  }
  void TearDown() override {
    DestroyMenu(bar);
    UserTest::TearDown();
  }

  // Runs the menu with the steps queued before; a menu the steps left open
  // is a failure, closed so that the run goes on.
  BOOL track(HMENU menu, UINT flags = 0) {
    whileModal([] {
      if (!user::menuIsOpen()) return;
      ADD_FAILURE() << "the menu is still open after the test's steps";
      press(VK_ESCAPE);
    });
    BOOL result = TrackPopupMenuEx(menu, flags, 20, 60, owner, nullptr);
    device::Device::instance().script().clear();  // the check above, when the menu had closed
    return result;
  }

  HWND owner = nullptr;
  HMENU bar = nullptr;
  HMENU file = nullptr;
};

TEST_F(MenuTrackTest, ChosenOrDismissedByStylusOrKeysPassingOverSeparatorsAndGrayedItemsAndEndedByQuitOrTheOwner) {
  using Type = display::InputEvent::Type;
  const Step drag = [] {  // pressed on Open, lifted on Exit
    RECT exit = itemOnScreen(u"Exit"), open = itemOnScreen(u"Open");
    stylus(Type::StylusDown, open.left + 4, open.top + 3);
    stylus(Type::StylusMove, open.left + 4, exit.top + 3);
    stylus(Type::StylusUp, open.left + 4, exit.top + 3);
  };
  const Step separator = [] {
    EXPECT_EQ(openPopups().size(), 1u) << "still open after the grayed item";
    RECT open = itemOnScreen(u"Open");
    tap(open.left + 5, open.bottom + 2);
  };
  const Step outside = [] {
    EXPECT_EQ(openPopups().size(), 1u) << "still open after the separator";
    tap(200, 300);
  };
  const struct { std::vector<Step> steps; UINT flags; BOOL result; std::vector<WPARAM> sent; } runs[] = {
      {{tapOn(u"Exit")}, 0, TRUE, {104}},
      {{drag}, TPM_RETURNCMD, 104, {}},  // returned, not sent
      {{tapOn(u"Save"), separator, outside}, TPM_RETURNCMD, 0, {}},  // Save is grayed
      {{keys({VK_ESCAPE})}, 0, TRUE, {}},  // a dismissed menu still succeeds
      {{keys({VK_DOWN, VK_RETURN})}, TPM_RETURNCMD, 101, {}},  // the first item
      {{keys({VK_DOWN, VK_DOWN, VK_RETURN})}, TPM_RETURNCMD, 103, {}},  // past the separator and Save
      {{keys({VK_UP, VK_RETURN})}, TPM_RETURNCMD, 104, {}},  // from nothing up: the last
      {{keys({VK_END, VK_DOWN, VK_RETURN})}, TPM_RETURNCMD, 101, {}},  // and around the bottom
      {{keys({VK_DOWN, VK_DOWN, VK_UP, VK_RETURN})}, TPM_RETURNCMD, 101, {}},
      {{keys({'X'})}, TPM_RETURNCMD, 104, {}},  // a mnemonic chooses at once
      {{keys({'S', VK_ESCAPE})}, TPM_RETURNCMD, 0, {}},  // a grayed item's mnemonic does nothing
      {{keys({VK_RETURN, VK_ESCAPE})}, TPM_RETURNCMD, 0, {}},  // Enter with nothing lit does nothing
  };
  // The menu bar reads its buttons' commands from the items; a popup item has none.
  EXPECT_EQ(std::make_pair(GetMenuItemID(file, 4), GetMenuItemID(bar, 0)), std::make_pair(104u, 0xFFFFFFFFu));
  for (const auto& run : runs) {
    SCOPED_TRACE(testing::Message() << "run " << &run - runs);
    for (const Step& step : run.steps) whileModal(step);
    EXPECT_EQ(track(file, run.flags), run.result);
    EXPECT_EQ(openPopups().size(), 0u) << "the popup is gone";
    // Only a tap outside is kept, for the menu bar; it is not passed on.
    bool outsideTap = run.steps.size() == 3;
    POINT dismissing = user::lastDismissingTap().value_or(POINT{-1, -1});
    EXPECT_EQ(std::make_pair(dismissing.x, dismissing.y), std::make_pair(outsideTap ? 200 : -1, outsideTap ? 300 : -1));
    pump();
    EXPECT_EQ(log().count(owner, WM_LBUTTONDOWN), 0u);
    std::vector<WPARAM> sent;
    for (const Entry& e : log().only({WM_COMMAND})) sent.push_back(e.wParam);
    EXPECT_EQ(sent, run.sent);
    log().clear();
  }
  // The loop ends on a quit, passing it on, and when its owner goes.
  whileModal([] { PostQuitMessage(7); });
  EXPECT_EQ(track(file, TPM_RETURNCMD), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(std::make_pair(msg.message, msg.wParam), std::make_pair(UINT(WM_QUIT), WPARAM(7))) << "posted again";
  whileModal([this] { DestroyWindow(owner); });
  EXPECT_TRUE(track(file));
}

TEST_F(MenuTrackTest, AMenuBuiltByCallsOpensItsSubmenusBesideTheirItemsAndRefusesWhatCannotBeAMenu) {
  HMENU top = CreatePopupMenu();
  HMENU more = CreatePopupMenu();
  HMENU deeper = CreateMenu();
  ASSERT_TRUE(AppendMenuW(deeper, MF_STRING, 421, u"Deepest"));
  ASSERT_TRUE(AppendMenuW(more, MF_STRING | MF_GRAYED, 411, u"Inner"));
  ASSERT_TRUE(AppendMenuW(more, MF_POPUP, reinterpret_cast<UINT_PTR>(deeper), u"Deeper"));
  ASSERT_TRUE(AppendMenuW(top, MF_STRING, 402, u"Last"));
  ASSERT_TRUE(InsertMenuW(top, 402, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(InsertMenuW(top, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(more), u"More"));
  ASSERT_TRUE(InsertMenuW(top, 0, MF_BYPOSITION, 401, u"First"));
  // A cycle, the menu itself, a window, an item not drawn here, no menu to add to, no item to insert before.
  for (auto [sub, flags] : {std::pair{top, MF_POPUP}, {deeper, MF_POPUP}, {HMENU(owner), MF_POPUP}, {more, MF_BITMAP}})
    EXPECT_FALSE(AppendMenuW(deeper, flags, reinterpret_cast<UINT_PTR>(sub), u"x"));
  EXPECT_FALSE(AppendMenuW(nullptr, MF_STRING, 1, u"x"));
  EXPECT_FALSE(InsertMenuW(top, 999, MF_BYCOMMAND, 5, u"x"));
  // States are found by command through the submenus and answer the previous one.
  EXPECT_EQ(EnableMenuItem(top, 411, MF_BYCOMMAND | MF_ENABLED), BOOL(MF_GRAYED));
  EXPECT_EQ(CheckMenuItem(top, 421, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(top, 421, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(top, 999, MF_BYCOMMAND), -1);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MENU_ITEM_NOT_FOUND));
  const Step beside = [this, top] {
    std::vector<HWND> popups = openPopups();
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(screenRect(popups[0]).left, screenRect(popups[1]).right - 1) << "over the first menu's border";
    EXPECT_EQ(screenRect(popups[0]).top, itemOnScreen(u"More").top - 1);
    EXPECT_FALSE(TrackPopupMenuEx(top, 0, 0, 0, owner, nullptr)) << "one menu at a time";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_POPUP_ALREADY_ACTIVE));
    keys({VK_ESCAPE, VK_ESCAPE})();  // the first closes the submenu only
  };
  const struct { std::vector<Step> steps; BOOL command; } runs[] = {
      {{keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_RETURN})}, 421},
      {{keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN})}, 402},  // past the separator
      {{tapOn(u"More"), tapOn(u"Deeper"), tapOn(u"Deepest")}, 421},
      {{tapOn(u"More"), beside}, 0},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(testing::Message() << "run " << &run - runs);
    for (const Step& step : run.steps) whileModal(step);
    EXPECT_EQ(track(top, TPM_RETURNCMD), run.command);
  }
  EXPECT_FALSE(TrackPopupMenuEx(top, 0, 0, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_TRUE(DestroyMenu(top));
  EXPECT_EQ(GetMenuItemCount(deeper), -1) << "destroyed with the menu above it";
}

TEST(MenuPlacement, AlignsToThePointAndAvoidsTheExcludedRectangle) {
  const RECT screenArea{0, 0, 240, 320};
  const SIZE size{100, 80};
  const RECT button{10, 294, 60, 320}, middle{0, 100, 240, 150};
  const struct { const char* what; UINT flags; POINT at; const RECT* exclude; RECT expected; } cases[] = {
      {"left top", TPM_LEFTALIGN | TPM_TOPALIGN, {20, 30}, nullptr, {20, 30, 120, 110}},
      {"flipped at the right edge", 0, {200, 30}, nullptr, {100, 30, 200, 110}},
      {"above the menu bar button", TPM_LEFTALIGN | TPM_BOTTOMALIGN, {10, 294}, &button, {10, 214, 110, 294}},
      {"moved above what it must not cover", 0, {20, 120}, &middle, {20, 20, 120, 100}},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(sameRect(c.expected, user::placePopup(size, c.at, c.flags, c.exclude, screenArea))) << c.what;
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
}  // namespace usertest
