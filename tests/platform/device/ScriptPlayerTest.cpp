#include "TestWindows.h"
#include "device/ScriptPlayer.h"
#include "platform/display/EventText.h"

namespace device::testing {
namespace {

class ScriptPlayerTest : public DeviceFixture {
 protected:
  ScriptPlayer& player() { return Device::instance().script(); }

  void load(const char* text) {
    std::string error;
    ASSERT_TRUE(player().loadText(text, "test.script", error)) << error;
  }

  // Runs every queued step; the first failure's message, or "".
  std::string runAll() {
    std::string error;
    while (player().pendingSteps())
      if (!player().runNext(error)) return error;
    return "";
  }
};

TEST_F(ScriptPlayerTest, KeysAndTypedTextComeAsAKeyboardSendsThem) {
  load("key a\nkey A\nkey Escape\nkey .\ntype \"b1 \\u00e9\\n\"\nkey Ctrl+Shift+Home\ntap 12 34 ctrl\n");
  EXPECT_EQ(runAll(), "");
  // Modifiers are pressed before their step and released after it.
  EXPECT_EQ(display::drainText(Device::instance().backend()),
            "keydown 41 keyup 41 keydown 10+shift keydown 41+shift keyup 41+shift keyup 10 keydown 1b keyup 1b "
            "char 2e keydown 42 keyup 42 keydown 31 keyup 31 keydown 20 keyup 20 char e9 keydown d keyup d "
            "keydown 11+ctrl keydown 10+shift+ctrl keydown 24+shift+ctrl keyup 24+shift+ctrl keyup 10+ctrl keyup 11 "
            "keydown 11+ctrl down 12,34+ctrl up 12,34+ctrl keyup 11");
}

TEST_F(ScriptPlayerTest, StepsThatCannotBeDoneSayWhereAndWhy) {
  struct Case {
    const char* script;
    const char* error;
  } cases[] = {
      {"rotate\nrotate\ntap 240 10\n", "test.script:3: (240,10) is off the 240x320 screen"},
      {"drag 0 0 10 -1\n", "test.script:1: (10,-1) is off the 240x320 screen"},
      {"\nmenu \"Tools\" \"About\"\n", "test.script:2: menu \"Tools\" \"About\": the device has no menu bar"},
      {"close\n", "test.script:1: close: there is no foreground window"},
      {"press \"OK\"\n", "test.script:1: press \"OK\": there is no foreground window"},
      {"dump \"/nonexistent-dir/tree.txt\"\n", "test.script:1: /nonexistent-dir/tree.txt: No such file or directory"},
      {"screenshot \"/nonexistent-dir/s.png\"\n", "test.script:1: /nonexistent-dir/s.png: No such file or directory"},
  };
  for (const Case& c : cases) {
    player().clear();
    load(c.script);
    EXPECT_EQ(runAll(), c.error) << c.script;
    display::drainText(Device::instance().backend());
  }
}

TEST_F(ScriptPlayerTest, PressTapsTheCentreOfTheVisibleButtonWithThatText) {
  HWND dialog = topLevel(u"Question", {0, 26, 240, 320});
  auto button = [&](const char16_t* text, RECT r, DWORD style) {
    return CreateWindowExW(0, u"BUTTON", text, WS_CHILD | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
  };
  ASSERT_TRUE(button(u"&Yes", {10, 200, 70, 230}, 0));  // hidden: a person cannot tap it
  ASSERT_TRUE(button(u"&Yes", {20, 250, 80, 280}, WS_VISIBLE));
  ASSERT_TRUE(button(u"No", {120, 250, 180, 280}, WS_VISIBLE));
  SetForegroundWindow(dialog);

  load("press \"Yes\"\npress \"N&o\"\n");
  EXPECT_EQ(runAll(), "");
  EXPECT_EQ(display::drainText(Device::instance().backend()), "down 50,291 up 50,291 down 150,291 up 150,291");

  load("press \"Maybe\"\n");
  EXPECT_EQ(runAll(), "test.script:1: press \"Maybe\": no such button in \"Question\"");
}

}  // namespace
}  // namespace device::testing
