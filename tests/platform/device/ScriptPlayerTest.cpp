#include <fstream>
#include <sstream>

#include "TestWindows.h"
#include "device/ScriptPlayer.h"
#include "platform/display/EventText.h"

namespace device::testing {
namespace {

using display::InputEvent;
using Type = InputEvent::Type;

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

  std::vector<InputEvent> input() {
    std::vector<InputEvent> events;
    InputEvent e;
    while (Device::instance().backend().pollEvent(e)) events.push_back(e);
    return events;
  }
};

TEST_F(ScriptPlayerTest, TapIsDownAndUpAtThePointAndDragMovesInSmallSteps) {
  load("tap 12 34\ndrag 10 300 110 250\n");
  EXPECT_EQ(runAll(), "");
  auto events = input();
  ASSERT_GE(events.size(), 5u);
  EXPECT_EQ(display::describe(events[0]) + " " + display::describe(events[1]), "down 12,34 up 12,34");
  events.erase(events.begin(), events.begin() + 2);
  EXPECT_EQ(display::describe(events.front()), "down 10,300");
  EXPECT_EQ(display::describe(events[events.size() - 2]) + " " + display::describe(events.back()),
            "move 110,250 up 110,250");
  for (size_t i = 1; i + 1 < events.size(); ++i) {
    EXPECT_EQ(events[i].type, Type::StylusMove);
    EXPECT_TRUE(std::abs(events[i].x - events[i - 1].x) <= 4 && std::abs(events[i].y - events[i - 1].y) <= 4) << i;
  }
}

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
    input();
  }
}

TEST_F(ScriptPlayerTest, CodeStepsRunInOrderWithScriptStepsThatChangeTheDevice) {
  std::vector<std::string> order;
  player().add([&] { order.push_back("first"); });
  load("sip on\nrotate\n");
  player().add([&] { order.push_back(std::to_string(Device::instance().screenWidth())); });
  EXPECT_EQ(runAll(), "");
  EXPECT_EQ(order, (std::vector<std::string>{"first", "320"}));
  EXPECT_TRUE(Device::instance().sipVisible());
  EXPECT_TRUE(player().finished());
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

TEST_F(ScriptPlayerTest, DumpWritesTheWindowTreeAndClosePostsCloseToTheForegroundWindow) {
  HWND main = topLevel(u"Dumped", {0, 26, 240, 320});
  SetForegroundWindow(main);
  std::string path = std::string(VANTOR_TEST_BINARY_DIR) + "/device-player-dump.txt";
  load(("dump \"" + path + "\"\nclose\n").c_str());
  EXPECT_EQ(runAll(), "");
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  EXPECT_EQ(text.str().rfind("screen=240x320 sip=off", 0), 0u);
  EXPECT_NE(text.str().find("text=\"Dumped\""), std::string::npos);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, main);
  EXPECT_EQ(msg.message, UINT{WM_CLOSE});
}

TEST_F(ScriptPlayerTest, CodeStepRunsWhenTheMessageLoopIdles) {
  int ranWithNothingQueued = 0;
  player().add([&] {
    MSG peek;
    if (!PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) ++ranWithNothingQueued;
    PostQuitMessage(5);
  });
  MSG msg{};
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, WPARAM{5});
  EXPECT_EQ(ranWithNothingQueued, 1);
}

TEST_F(ScriptPlayerTest, ExhaustedScriptEndsTheRunWithItsCode) {
  auto playOneStepThenIdle = [this] {
    player().add([] {});
    Device::instance().idle(-1);
    Device::instance().idle(-1);
  };
  EXPECT_EXIT(playOneStepThenIdle(), ::testing::ExitedWithCode(Device::kExitScriptEnded),
              "script ended; the program is still running");
  EXPECT_EXIT(Device::instance().idle(-1), ::testing::ExitedWithCode(Device::kExitScriptEnded),
              "no script to play");
}

TEST_F(ScriptPlayerTest, FailedStepEndsTheRunAndWritesTheDump) {
  Options options;
  options.dumpPath = std::string(VANTOR_TEST_BINARY_DIR) + "/device-failed-step-dump.txt";
  std::remove(options.dumpPath.c_str());
  Device::instance().configure(options, nullptr);
  load("\n\ntap 999 1\n");
  EXPECT_EXIT(Device::instance().idle(-1), ::testing::ExitedWithCode(Device::kExitStepFailed),
              "test.script:3: \\(999,1\\) is off the 240x320 screen");
  std::ifstream in(options.dumpPath);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "screen=240x320 sip=off cursor=arrow");
}

}  // namespace
}  // namespace device::testing
