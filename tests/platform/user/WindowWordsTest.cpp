// Window words, class words and window text; superclassing a global class is
// the framework's (CeWndTest).
#include <cstring>

#include "Recorder.h"

namespace usertest {
namespace {

using WordsTest = UserTest;

TEST_F(WordsTest, PointerSizedWordsRoundTripAndStayWithinTheExtraBytes) {
  HWND top = createTopLevel(0);  // 16 extra bytes
  auto pointer = static_cast<LONG_PTR>(0x7FEDCBA987654321);
  EXPECT_EQ(SetWindowLongPtrW(top, GWLP_USERDATA, pointer), 0);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), pointer);
  EXPECT_EQ(GetWindowLongW(top, GWL_USERDATA), LONG(0x87654321)) << "the 32-bit form sees the low half";
  SetWindowLongPtrW(top, 8, static_cast<LONG_PTR>(0x1122334455667788));
  EXPECT_EQ(GetWindowLongW(top, 8), LONG(0x55667788));
  EXPECT_EQ(GetWindowLongW(top, 12), LONG(0x11223344));
  for (int index : {13, -99, GWL_WNDPROC}) {  // past the end, before the start, a pointer in 32 bits
    SetLastError(0);
    EXPECT_EQ(GetWindowLongW(top, index), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX)) << index;
  }
  EXPECT_EQ(SetWindowLongPtrW(top, 13, 1), 0);

  // A replaced procedure chains to the old one.
  WNDPROC replacement = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    return msg == WM_USER ? 99 : DefWindowProcW(hwnd, msg, wParam, lParam);
  };
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement)));
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 99);
  log().clear();
  CallWindowProcW(old, top, WM_USER + 1, 0, 0);
  EXPECT_EQ(log().count(top, WM_USER + 1), 1u);
}

TEST_F(WordsTest, TextIsBoundedAndTerminatedAndClassNamesIgnoreCase) {
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

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"WordsLocal";
  ATOM atom = RegisterClassW(&wc);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
  WNDCLASSW found{};
  EXPECT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"WORDSLOCAL", &found));
  EXPECT_FALSE(GetClassInfoW(nullptr, u"WordsLocal", &found)) << "a null instance looks among the global classes";
  HWND w = CreateWindowExW(0, MAKEINTATOM(atom), u"", 0, 0, 26, 10, 10, nullptr, nullptr, nullptr, nullptr);
  WCHAR name[32];
  EXPECT_EQ(GetClassNameW(w, name, 32), 10);
  EXPECT_EQ(std::u16string(name), u"WordsLocal");
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassW(u"WordsLocal", nullptr));
}

}  // namespace
}  // namespace usertest
