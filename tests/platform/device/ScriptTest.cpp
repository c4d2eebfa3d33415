// Scripts: how their lines are read and refused, and how the player does
// their steps on the device.
#include <tuple>

#include "TestWindows.h"
#include "device/Script.h"
#include "device/ScriptPlayer.h"
#include "platform/display/EventText.h"

namespace device::testing {
namespace {

std::vector<Step> parseOk(std::string_view text) {
  ScriptError error;
  auto steps = parseScript(text, error);
  EXPECT_TRUE(steps) << "line " << error.line << ": " << error.reason;
  return steps ? *steps : std::vector<Step>{};
}

TEST(ScriptParse, DecodesEscapesAndUtf8InTextsAndKeyNames) {
  struct Case { const char* script; std::u16string text; } cases[] = {
      {R"(type "say \"hi\"")", u"say \"hi\""},
      {R"(type "back\\slash")", u"back\\slash"},
      {R"(type "a\nb\tc")", u"a\nb\tc"},
      {R"(type "\x41\x7e")", u"A~"},
      {R"(type "\u00e9\u20AC")", u"\u00e9\u20ac"},
      {"type \"caf\xc3\xa9 \xe2\x82\xac\"", u"caf\u00e9 \u20ac"},
      {"type \"\xf0\x9f\x98\x80\"", u"\U0001F600"},
      {R"(type "\ud83d\ude00")", u"\U0001F600"},
      {R"(type "# not a comment")", u"# not a comment"},
      {R"(type "")", u""},
      {"type \"tab\"\t# comment after a tab", u"tab"},
  };
  for (const Case& c : cases) {
    auto steps = parseOk(c.script);
    ASSERT_EQ(steps.size(), 1u) << c.script;
    EXPECT_EQ(steps[0].text, c.text) << c.script;
  }
  // Key names become virtual keys or characters.
  struct Key { const char* name; uint32_t vk; bool shift; char16_t ch; bool control = false; } keys[] = {
      {"Up", VK_UP, false, 0},        {"PageUp", VK_PRIOR, false, 0}, {"PageDown", VK_NEXT, false, 0},
      {"Delete", VK_DELETE, false, 0}, {"Backspace", VK_BACK, false, 0}, {"F12", VK_F1 + 11, false, 0},
      {"a", 'A', false, 0},           {"Z", 'Z', true, 0},            {"7", '7', false, 0},
      {".", 0, false, u'.'},          {"\"#\"", 0, false, u'#'},      {"\xc3\xa9", 0, false, u'\u00e9'},
      {"\"\\u00fc\"", 0, false, u'\u00fc'},
      // Modifiers come first; a '+' that ends the name is the key.
      {"Shift+End", VK_END, true, 0},   {"Ctrl+Space", VK_SPACE, false, 0, true},
      {"shift+a", 'A', true, 0},        {"ctrl+Shift+Home", VK_HOME, true, 0, true},
      {"Ctrl++", 0, false, u'+', true}, {"\"Ctrl+#\"", 0, false, u'#', true},
  };
  for (const Key& c : keys) {
    auto steps = parseOk(std::string("key ") + c.name);
    ASSERT_EQ(steps.size(), 1u) << c.name;
    EXPECT_EQ(std::tuple(steps[0].key, steps[0].shift, steps[0].ch, steps[0].control),
              std::tuple(c.vk, c.shift, c.ch, c.control))
        << c.name;
  }
}

TEST(ScriptParse, RefusesMalformedLinesNamingTheLine) {
  struct Case { const char* script; int line; const char* reasonHas; } cases[] = {
      {"jump 1 2", 1, "unknown step \"jump\""},
      {"rotate\ntap 1", 2, "tap needs 2 arguments"},
      {"tap 1 2 Shift Ctrl", 1, "tap takes 2 arguments and its modifiers (Shift, Ctrl or Ctrl+Shift)"},
      {"tap 1 2 alt", 1, "\"alt\" is not a modifier: Shift, Ctrl or Ctrl+Shift"},
      {"key Alt+F4", 1, "\"Alt\" is not a modifier"},
      {"key Ctrl+ctrl+a", 1, "ctrl is given twice"},
      {"tap x 2", 1, "\"x\" is not a coordinate"},
      {"tap 99999999999 2", 1, "not a coordinate"},
      {"drag 1 2 3", 1, "drag needs 4 arguments"},
      {"\n\nkey Foo", 3, "unknown key \"Foo\""},
      {"key F13", 1, "unknown key"},
      {"key enter", 1, "unknown key"},
      {"key", 1, "key needs 1 argument"},
      {"type abc", 1, "expected a text in double quotes"},
      {"type \"abc", 1, "unterminated text"},
      {"type \"a\\qb\"", 1, "unknown escape \\q"},
      {"type \"\\x4\"", 1, "\\x needs 2 hex digits"},
      {"type \"\\u12G4\"", 1, "\\u needs 4 hex digits"},
      {"type \"\\ud800\"", 1, "lone surrogate"},
      {"type \"\\x00\"", 1, "NUL"},
      {"type \"\xc3\"", 1, "not valid UTF-8"},
      {"type \"a\"b", 1, "followed by a space"},
      {"type a\"b\"", 1, "quote inside a word"},
      {"press \"\"", 1, "the text is empty"},
      {"menu \"File\"", 1, "menu needs 2 arguments"},
      {"sip maybe", 1, "sip takes on or off"},
      {"rotate 90", 1, "rotate takes no arguments"},
      {"wait -1", 1, "wait takes milliseconds"},
      {"wait 3600001", 1, "wait takes milliseconds"},
      {"screenshot shot.png", 1, "expected a text in double quotes"},
      {"dump \"\"", 1, "the text is empty"},
      {"\"tap\" 1 2", 1, "starts with a step name"},
      {"tap 1 2\r\ntap 3 4\r\nbogus\r\n", 3, "unknown step"},
  };
  for (const Case& c : cases) {
    ScriptError error;
    EXPECT_FALSE(parseScript(c.script, error)) << c.script;
    EXPECT_EQ(error.line, c.line) << c.script;
    EXPECT_NE(error.reason.find(c.reasonHas), std::string::npos) << c.script << " gave: " << error.reason;
  }
}

using ScriptPlayerTest = DeviceFixture;

// Loads the script and does its steps; the first failure's message, or "".
std::string play(const char* text) {
  ScriptPlayer& player = Device::instance().script();
  std::string error;
  player.clear();
  if (!player.loadText(text, "test.script", error)) return "not loaded: " + error;
  while (player.pendingSteps())
    if (!player.runNext(error)) return error;
  return "";
}

TEST_F(ScriptPlayerTest, KeysTypedTextAndTheStylusComeAsTheDeviceSendsThemAndThePanelFollows) {
  EXPECT_EQ(play("# keys\nkey a\nkey A\nkey Escape\nkey .\ntype \"b1 \\u00e9\\n\"\nkey Ctrl+Shift+Home\ntap 12 34 ctrl\n"
                 "drag 1 2 3 4 shift+CTRL  # a comment\nsip off\nsip on\n"),
            "");
  EXPECT_TRUE(Device::instance().sipVisible());
  // Modifiers, in either case, are pressed before their step and released after it.
  EXPECT_EQ(display::drainText(Device::instance().backend()),
            "keydown 41 keyup 41 keydown 10+shift keydown 41+shift keyup 41+shift keyup 10 keydown 1b keyup 1b "
            "char 2e keydown 42 keyup 42 keydown 31 keyup 31 keydown 20 keyup 20 char e9 keydown d keyup d "
            "keydown 11+ctrl keydown 10+shift+ctrl keydown 24+shift+ctrl keyup 24+shift+ctrl keyup 10+ctrl keyup 11 "
            "keydown 11+ctrl down 12,34+ctrl up 12,34+ctrl keyup 11 keydown 11+ctrl keydown 10+shift+ctrl "
            "down 1,2+shift+ctrl move 3,4+shift+ctrl up 3,4+shift+ctrl keyup 10+ctrl keyup 11");
}

TEST_F(ScriptPlayerTest, StepsThatCannotBeDoneSayWhereAndWhy) {
  struct Case { const char* script; const char* error; } cases[] = {
      {"rotate\nrotate\ntap 240 10\n", "test.script:3: (240,10) is off the 240x320 screen"},
      {"drag 0 0 10 -1\n", "test.script:1: (10,-1) is off the 240x320 screen"},
      {"\nmenu \"Tools\" \"About\"\n", "test.script:2: menu \"Tools\" \"About\": the device has no menu bar"},
      {"close\n", "test.script:1: close: there is no foreground window"},
      {"press \"OK\"\n", "test.script:1: press \"OK\": there is no foreground window"},
      {"dump \"/nonexistent-dir/tree.txt\"\n", "test.script:1: /nonexistent-dir/tree.txt: No such file or directory"},
      {"screenshot \"/nonexistent-dir/s.png\"\n", "test.script:1: /nonexistent-dir/s.png: No such file or directory"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(play(c.script), c.error) << c.script;
    display::drainText(Device::instance().backend());
  }
}

}  // namespace
}  // namespace device::testing
