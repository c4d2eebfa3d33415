// Window words, class words, window text and superclassing a global class.
#include <cstring>

#include "Recorder.h"

namespace usertest {
namespace {

using WordsTest = UserTest;

TEST_F(WordsTest, SixtyFourBitPointerRoundTripsThroughUserData) {
  HWND top = createTopLevel(0);
  auto pointer = static_cast<LONG_PTR>(0x7FEDCBA987654321);
  EXPECT_EQ(SetWindowLongPtrW(top, GWLP_USERDATA, pointer), 0);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), pointer);
  // The 32-bit form sees and sets the low 32 bits only.
  EXPECT_EQ(GetWindowLongW(top, GWL_USERDATA), LONG(0x87654321));
  SetWindowLongW(top, GWL_USERDATA, 5);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), 5);
}

TEST_F(WordsTest, ExtraBytesHoldPointerSizedAndLongWordsWithinTheirBounds) {
  HWND top = createTopLevel(0);  // 16 extra bytes
  auto value = static_cast<LONG_PTR>(0x1122334455667788);
  SetWindowLongPtrW(top, 8, value);
  EXPECT_EQ(GetWindowLongPtrW(top, 8), value);
  EXPECT_EQ(GetWindowLongW(top, 8), LONG(0x55667788));
  EXPECT_EQ(GetWindowLongW(top, 12), LONG(0x11223344));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(top, 9), 0);  // would read past the end
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
  SetLastError(0);
  EXPECT_EQ(SetWindowLongW(top, 13, 1), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(top, -99), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
}

TEST_F(WordsTest, StandardWordsDescribeTheWindow) {
  HWND top = createTopLevel(WS_VISIBLE | WS_BORDER);
  HWND child = createChild(top, 77, {0, 0, 10, 10});
  HWND popup = createTopLevel(WS_POPUP, {0, 26, 10, 36}, child);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_ID), 77);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(top));
  // A popup's owner is the top-level window of the window it was given.
  EXPECT_EQ(GetWindowLongPtrW(popup, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(top));
  EXPECT_EQ(GetParent(popup), top);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetWindowLongW(top, GWL_STYLE), LONG(WS_VISIBLE | WS_BORDER));
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_HINSTANCE), reinterpret_cast<LONG_PTR>(GetModuleHandleW(nullptr)));
  // A procedure's address does not fit the 32-bit form on this host.
  SetLastError(0);
  EXPECT_EQ(GetWindowLongW(top, GWL_WNDPROC), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
  EXPECT_NE(GetWindowLongPtrW(top, GWLP_WNDPROC), 0);
}

TEST_F(WordsTest, StyleChangesAreAnnounced) {
  HWND top = createTopLevel(0);
  log().clear();
  EXPECT_EQ(SetWindowLongW(top, GWL_STYLE, WS_BORDER), 0);
  EXPECT_TRUE(sameSequence({msgW(top, WM_STYLECHANGING, WPARAM(GWL_STYLE)), msgW(top, WM_STYLECHANGED, WPARAM(GWL_STYLE))},
                           log().entries()));
  EXPECT_EQ(GetWindowLongW(top, GWL_STYLE), LONG(WS_BORDER));
}

LRESULT CALLBACK replacementProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return 99;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(WordsTest, ReplacedProcedureReceivesMessagesAndCallWindowProcReachesTheOldOne) {
  HWND top = createTopLevel(0);
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacementProc)));
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 99);
  log().clear();
  CallWindowProcW(old, top, WM_USER + 1, 0, 0);
  EXPECT_EQ(log().count(top, WM_USER + 1), 1u);
}

TEST_F(WordsTest, TextIsBoundedAndTerminated) {
  HWND top = createTopLevel(0);
  SetWindowTextW(top, u"Database");
  EXPECT_EQ(GetWindowTextLengthW(top), 8);
  WCHAR small[5];
  std::memset(small, 0x55, sizeof(small));
  EXPECT_EQ(GetWindowTextW(top, small, 5), 4);
  EXPECT_EQ(std::u16string(small), u"Data");
  WCHAR one[1] = {u'x'};
  EXPECT_EQ(GetWindowTextW(top, one, 1), 0);
  EXPECT_EQ(one[0], 0);
  SetWindowTextW(top, nullptr);
  EXPECT_EQ(GetWindowTextLengthW(top), 0);
}

TEST_F(WordsTest, SmallAndBigIconsAreKeptPerWindow) {
  HWND top = createTopLevel(0);
  auto small = reinterpret_cast<HICON>(0x1001);
  auto big = reinterpret_cast<HICON>(0x1002);
  EXPECT_EQ(SendMessageW(top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(SendMessageW(top, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
  EXPECT_EQ(SendMessageW(top, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(big)), reinterpret_cast<LRESULT>(small));
  EXPECT_EQ(SendMessageW(top, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
}

TEST_F(WordsTest, ClassesAreLocalOrGlobalAndNamesIgnoreCase) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"WordsLocal";
  ATOM atom = RegisterClassW(&wc);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
  WNDCLASSW found{};
  EXPECT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"WORDSLOCAL", &found));
  EXPECT_EQ(found.lpfnWndProc, DefWindowProcW);
  // A null instance looks among the global classes only.
  EXPECT_FALSE(GetClassInfoW(nullptr, u"WordsLocal", &found));
  EXPECT_TRUE(GetClassInfoW(nullptr, u"STATIC", &found));
  EXPECT_TRUE(GetClassInfoW(nullptr, u"Button", &found));
  // A window made from it by atom, and the class cannot go while it lives.
  HWND w = CreateWindowExW(0, MAKEINTATOM(atom), u"", 0, 0, 26, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  WCHAR name[32];
  EXPECT_EQ(GetClassNameW(w, name, 32), 10);
  EXPECT_EQ(std::u16string(name), u"WordsLocal");
  EXPECT_FALSE(UnregisterClassW(u"WordsLocal", nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassW(u"WordsLocal", nullptr));
  EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), u"WordsLocal", &found));
}

WNDPROC buttonProc = nullptr;
LRESULT CALLBACK superButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  log().add({hwnd, msg, wParam, lParam});
  return CallWindowProcW(buttonProc, hwnd, msg, wParam, lParam);
}

TEST_F(WordsTest, SuperclassOfAGlobalClassBehavesAsTheBaseClass) {
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(nullptr, WC_BUTTON, &wc));
  buttonProc = wc.lpfnWndProc;
  wc.lpfnWndProc = superButtonProc;
  wc.lpszClassName = u"CeWnd:button";
  wc.style &= ~CS_GLOBALCLASS;
  wc.hInstance = GetModuleHandleW(nullptr);
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND top = createTopLevel();
  HWND check = CreateWindowExW(0, u"CeWnd:button", u"Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0, 50, 20,
                               top, reinterpret_cast<HMENU>(5), GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(check);
  SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_GE(log().count(check, WM_LBUTTONUP), 1u);
  EXPECT_TRUE(sameSequence({msgWL(top, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(check))},
                           log().only({WM_COMMAND})));
  DestroyWindow(top);
  UnregisterClassW(u"CeWnd:button", nullptr);
}

}  // namespace
}  // namespace usertest
