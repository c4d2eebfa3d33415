// The window dump scripts and tests read: its lines and its quoting.
#include <cstdio>

#include "TestWindows.h"
#include "device/Dump.h"

namespace device::testing {
namespace {

using DumpTest = DeviceFixture;

std::string hex(HWND hwnd) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
  return text;
}

HWND child(HWND parent, const char16_t* cls, const char16_t* text, int id, RECT r, DWORD style) {
  return CreateWindowExW(0, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
}

TEST_F(DumpTest, KnownTreeInZOrderWithChildrenIndentedAndTextsQuotedWithCEscapesAndUtf8) {
  HWND back = topLevel(u"Back", {0, 26, 240, 294}, WS_POPUP);
  HWND front = topLevel(u"Front \"quoted\"", {0, 26, 240, 320}, WS_POPUP | WS_VISIBLE, 0x80000000);
  HWND panel = child(front, kTestClass, u"", 7, {0, 0, 240, 100}, WS_VISIBLE);
  HWND ok = child(panel, kTestClass, u"O&K", 1, {10, 10, 90, 40}, WS_VISIBLE);
  HWND off = child(panel, kTestClass, u"Caf\u00e9\n\t\x01\\", 2, {100, 10, 180, 40}, WS_VISIBLE | WS_DISABLED);
  ASSERT_TRUE(back && front && panel && ok && off);
  SetForegroundWindow(front);
  SetFocus(ok);

  // A new top-level window lies on top; children lie in the order they were
  // made, as a dialog's controls do.
  std::string expected =
      "screen=240x320 sip=off cursor=arrow\n"
      "hwnd=" + hex(front) + " class=\"DeviceTestWnd\" id=0 text=\"Front \\\"quoted\\\"\" rect=(0,26,240,320) "
      "style=0x90000000 exstyle=0x80000000 visible foreground\n"
      "  hwnd=" + hex(panel) + " class=\"DeviceTestWnd\" id=7 text=\"\" rect=(0,26,240,126) "
      "style=0x50000000 exstyle=0x00000000 visible\n"
      "    hwnd=" + hex(ok) + " class=\"DeviceTestWnd\" id=1 text=\"O&K\" rect=(10,36,90,66) "
      "style=0x50000000 exstyle=0x00000000 visible focus\n"
      "    hwnd=" + hex(off) + " class=\"DeviceTestWnd\" id=2 text=\"Caf\xc3\xa9\\n\\t\\x01\\\\\" "
      "rect=(100,36,180,66) style=0x58000000 exstyle=0x00000000 visible disabled\n"
      "hwnd=" + hex(back) + " class=\"DeviceTestWnd\" id=0 text=\"Back\" rect=(0,26,240,294) "
      "style=0x80000000 exstyle=0x00000000\n";
  EXPECT_EQ(dumpWindows(), expected);
  // The header follows the cursor.
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(dumpWindows().substr(0, dumpWindows().find('\n')), "screen=240x320 sip=off cursor=wait");
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  // Texts are quoted with C escapes and UTF-8.
  struct Case { std::u16string text; const char* quoted; } cases[] = {
      {u"", "\"\""},
      {u"plain", "\"plain\""},
      {u"a\"b\\c", "\"a\\\"b\\\\c\""},
      {u"\r\n\t", "\"\\r\\n\\t\""},
      {std::u16string(u"\x01\x1f\x7f", 3), "\"\\x01\\x1F\\x7F\""},
      {u"\u0085", "\"\\u0085\""},
      {u"\u00e9\u20ac", "\"\xc3\xa9\xe2\x82\xac\""},
      {u"\U0001F600", "\"\xf0\x9f\x98\x80\""},
      {std::u16string(1, char16_t(0xD800)) + u"x", "\"\\uD800x\""},
      {std::u16string(1, char16_t(0xDC00)), "\"\\uDC00\""},
  };
  for (const Case& c : cases) EXPECT_EQ(quoteText(c.text), c.quoted);
}

}  // namespace
}  // namespace device::testing
