// The menu bar from the program's resource 101: its buttons and look, the popups and commands
// reached with the stylus or the `menu` script step, and the foreground it follows.
#include <aygshell.h>

#include <algorithm>
#include <optional>

#include "ChromeHarness.h"
#include "resources/resource.h"
#include "shell/MenuBar.h"
#include "shell/MenuBarResource.h"
#include "user/MenuTracker.h"

namespace chrometest {
namespace {

using Type = display::InputEvent::Type;

// Runs code once the loop that starts next (a popup menu's) waits.
void whileWaiting(std::function<void()> step) { dev().script().add(std::move(step)); }

RECT itemOnScreen(const char16_t* text) {
  RECT r{};
  std::string why;
  if (!user::findOpenMenuItem(text, r, why)) ADD_FAILURE() << why;
  return r;
}


bool dark(uint32_t p) { return ((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80; }

template <typename Test>
long count(const RECT& r, Test test) {
  const std::vector<uint32_t> all = pixels(r);
  return std::count_if(all.begin(), all.end(), test);
}

class MenuBarTest : public ChromeTest {
 protected:
  void SetUp() override {
    ChromeTest::SetUp();
    owner = window(u"Vantor", kAboveMenuBar, RGB(255, 255, 255));
    pump();
    received.clear();
  }
  SHMENUBARINFO info(UINT id = IDM_MAIN) {
    SHMENUBARINFO mbi{};
    mbi.cbSize = sizeof(mbi);
    mbi.hwndParent = owner;
    mbi.nToolBarId = id;
    mbi.hInstRes = GetModuleHandleW(nullptr);
    mbi.nBmpId = IDB_MENUBAR_COLOUR;
    mbi.cBmpImages = MENUBAR_IMAGE_COUNT;
    return mbi;
  }
  void createBar() {
    SHMENUBARINFO mbi = info();
    EXPECT_TRUE(SHCreateMenuBar(&mbi)) << "error " << GetLastError();
    bar = mbi.hwndMB;
    pump();
  }
  const std::vector<shell::MenuBarButton>& buttons() { return shell::MenuBar::of(bar)->buttons(); }
  RECT button(const char16_t* text) {
    auto r = shell::MenuBar::of(bar)->buttonOnScreen(text);
    if (!r) ADD_FAILURE() << "no button";
    return r.value_or(RECT{});
  }
  RECT imageButton(int image) {  // they follow the two text buttons
    RECT r = buttons().at(2 + image).rect;
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // The commands the owner received since the last look.
  std::vector<WPARAM> commands() {
    pump();
    std::vector<WPARAM> out;
    for (const Received& r : receivedOf(WM_COMMAND))
      if (r.hwnd == owner) out.push_back(r.wParam);
    received.clear();
    return out;
  }

  HWND owner = nullptr;
  HWND bar = nullptr;
};

TEST_F(MenuBarTest, ResourceOneHundredOneGivesButtonsThatSendTheirCommandsWhileItsOwnerIsInFrontAndTheMenuStepSaysWhyNot) {
  createBar();
  ASSERT_NE(shell::MenuBar::of(bar), nullptr);
  std::vector<std::string> seen;
  for (const shell::MenuBarButton& b : buttons())
    seen.push_back((b.image == I_IMAGENONE ? std::string(b.text.begin(), b.text.end()) : "image " + std::to_string(b.image)) +
                   " " + std::to_string(b.command) + (b.popup ? " popup" : ""));
  EXPECT_EQ(seen, (std::vector<std::string>{"Tools 1 popup", "View 2 popup", "image 0 40004", "image 1 40003",
                                           "image 2 40002"}));
  // It fills the strip left of the input-panel button, owned by the window
  // it serves, which keeps the foreground; text buttons come first.
  RECT r, expected = dev().menuBarRect();
  GetWindowRect(bar, &r);
  EXPECT_TRUE(EqualRect(&r, &expected));
  EXPECT_EQ(GetWindow(bar, GW_OWNER), owner);
  EXPECT_EQ(GetForegroundWindow(), owner);
  EXPECT_LE(button(u"Tools").right, button(u"View").left);
  EXPECT_LE(button(u"View").right, imageButton(0).left);

  // The image shows, and dark text on the face.
  const RECT tools = button(u"Tools");
  EXPECT_GT(count(imageButton(0), [](uint32_t p) { return p != 0xC0C0C0u; }), 20);
  EXPECT_GT(count(tools, dark), 10);

  // Tools, then About: the popup stands on the bar above its button, shown pressed; white
  // items with dark text, grey lines between groups; the owner prepares it and gets the command.
  whileWaiting([&] {
    const RECT first = itemOnScreen(u"Delete Database"), last = itemOnScreen(u"Close");
    EXPECT_EQ(last.bottom + 1, expected.top);
    EXPECT_EQ(first.left - 1, tools.left);
    EXPECT_GT(count(RECT{tools.left, tools.top + 1, tools.right, tools.bottom}, dark),
              (tools.right - tools.left) * (tools.bottom - tools.top - 1) / 2);
    for (const char16_t* item : {u"Delete Database", u"Delete Record", u"About Vantor...", u"Close"}) {
      const RECT r = itemOnScreen(item);
      EXPECT_GT(count(r, dark), 15) << "text of an item";
      EXPECT_EQ(pixel(r.right - 2, r.top + 1), 0xFFFFFFu) << "white behind it";
    }
    EXPECT_EQ(pixel(first.left + 20, itemOnScreen(u"Delete Record").bottom + 3), 0x808080u) << "the separator";
    tap(centre(itemOnScreen(u"About Vantor...")));
  });
  tap(centre(tools));
  pump();
  dev().script().clear();
  EXPECT_EQ(receivedOf(WM_INITMENUPOPUP).size(), 1u);
  EXPECT_EQ(commands(), (std::vector<WPARAM>{IDM_ABOUT}));
  // A tap on the open popup's own button closes it.
  whileWaiting([this] { tap(centre(button(u"Tools"))); });
  tap(centre(button(u"Tools")));
  pump();
  dev().script().clear();
  EXPECT_FALSE(user::menuIsOpen());
  EXPECT_TRUE(commands().empty());

  // Image buttons send their commands, from the bar, when lifted on them.
  for (int image : {0, 1, 2}) tap(centre(imageButton(image)));
  pump();
  for (const Received& m : receivedOf(WM_COMMAND)) EXPECT_EQ(reinterpret_cast<HWND>(m.lParam), bar);
  EXPECT_EQ(commands(), (std::vector<WPARAM>{IDM_DATABASE_PROPERTIES, IDM_DELETE_RECORD, IDM_DELETE_DATABASE}));
  stylus(Type::StylusDown, centre(imageButton(0)));
  stylus(Type::StylusMove, centre(imageButton(2)));
  stylus(Type::StylusUp, centre(imageButton(2)));
  EXPECT_TRUE(commands().empty());

  // The `menu` step says why it cannot tap; buttonFirst: the button's tap runs, not yet taken by the bar.
  auto& script = dev().script();
  std::string error;
  auto fails = [&](const char* step, bool buttonFirst = false) {
    script.clear();
    EXPECT_TRUE(script.loadText(step, "test.script", error) && (!buttonFirst || script.runNext(error))) << error;
    EXPECT_FALSE(script.runNext(error));
    return error;
  };
  EXPECT_EQ(fails("menu \"File\" \"Open\"\n"), "test.script:1: menu \"File\" \"Open\": the menu bar has no button \"File\"");
  EXPECT_EQ(fails("menu \"Tools\" \"Nothing\"\n", true), "test.script:1: menu \"Tools\" \"Nothing\": no menu is open");
  script.clear();
  display::InputEvent dropped;
  while (dev().backend().pollEvent(dropped)) {
  }
  // It shows while its owner is the foreground window.
  window(u"Other", kAboveMenuBar, RGB(255, 255, 255));
  pump();
  EXPECT_FALSE(IsWindowVisible(bar)) << "another window in front";
  EXPECT_EQ(fails("menu \"Tools\" \"Close\"\n"),
            "test.script:1: menu \"Tools\" \"Close\": the foreground window has no menu bar");
  SetForegroundWindow(owner);
  pump();
  EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(MenuBarTest, MissingOrBrokenResourcesFailWithAnError) {
  struct Case { const char* what; UINT id; int bitmap; DWORD error; } cases[] = {
      {"no such resource", 999, IDB_MENUBAR_COLOUR, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"fewer words than buttons", 200, IDB_MENUBAR_COLOUR, ERROR_INVALID_DATA},
      {"a popup the menu lacks", 201, IDB_MENUBAR_COLOUR, ERROR_INVALID_DATA},
      {"an image the strip lacks", 202, IDB_MENUBAR_COLOUR, ERROR_INVALID_DATA},
      {"a menu that does not exist", 203, IDB_MENUBAR_COLOUR, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"a bitmap that does not exist", IDM_MAIN, 999, ERROR_RESOURCE_NAME_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SHMENUBARINFO mbi = info(c.id);
    mbi.nBmpId = c.bitmap;
    SetLastError(0);
    EXPECT_FALSE(SHCreateMenuBar(&mbi));
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(mbi.hwndMB, nullptr);
  }
  EXPECT_EQ(GetWindow(owner, GW_HWNDPREV), nullptr) << "no bar was made";
}

TEST(MenuBarResource, ButtonsAreReadAsCountedOrRefused) {
  // The words of a resource, how many of its bytes there are, and each button
  // read as image, command, state, style, string, popup; nullopt: refused.
  struct Case { const char* what; std::vector<uint16_t> words; size_t size; std::optional<std::vector<int>> read; };
  const Case cases[] = {
      {"a text button", {101, 1, 0xFFFE, 1, 4, 0x18, 1015, 0, 0}, 18,
       std::vector<int>{I_IMAGENONE, 1, TBSTATE_ENABLED, 0x18, 1015, 0}},
      {"no popup, then padding", {101, 1, 2, 40002, 4, 0, 0, 0, NOMENU, 0}, 20, std::vector<int>{2, 40002, 4, 0, 0, -1}},
      {"no buttons", {101, 0}, 4, std::vector<int>{}},
      {"counted buttons that do not fit", {101, 2, 0xFFFE, 1, 4, 0x18, 1015, 0, 0, 1}, 20, std::nullopt},
      {"a huge count", {101, 0xFFFF}, 4, std::nullopt},
      {"cut short", {101, 1}, 3, std::nullopt},
      {"nothing", {}, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes;
    for (uint16_t w : c.words) bytes.insert(bytes.end(), {uint8_t(w & 0xFF), uint8_t(w >> 8)});
    auto parsed = shell::parseMenuBarResource(bytes.empty() ? nullptr : bytes.data(), c.size);
    ASSERT_EQ(parsed.has_value(), c.read.has_value());
    if (!parsed) continue;
    EXPECT_EQ(parsed->menuId, 101);
    std::vector<int> read;
    for (const auto& b : parsed->buttons) read.insert(read.end(), {b.image, b.command, b.state, b.style, b.stringId, b.popup});
    EXPECT_EQ(read, *c.read);
  }
}

}  // namespace
}  // namespace chrometest
