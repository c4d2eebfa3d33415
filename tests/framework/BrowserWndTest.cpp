#include <gtest/gtest.h>
#include <windows.h>

#include "browser/BrowserWnd.h"

namespace {

// Takes what is queued; true when a quit message with code 0 was among it.
bool QuitZeroWasPosted() {
  MSG msg;
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT)
      quit = quit || msg.wParam == 0;
    else
      DispatchMessageW(&msg);
  }
  return quit;
}

bool CreateMain(BrowserWnd& window) {
  return window.Create(nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, 240, 268, u"main", WS_VISIBLE,
                       WS_EX_CAPTIONOKBTN, nullptr, nullptr);
}

TEST(BrowserWnd, CloseDestroysTheWindowAndEndsTheLoopWithZero) {
  BrowserWnd window;
  ASSERT_TRUE(CreateMain(window));
  HWND handle = window.hwnd;
  EXPECT_EQ(SendMessageW(handle, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(window.hwnd, nullptr);
  EXPECT_TRUE(QuitZeroWasPosted());
}

TEST(BrowserWnd, OnlyTheOkButtonsCommandCloses) {
  struct Case {
    WORD id;
    WORD code;
    bool closes;
  };
  const Case cases[] = {{IDOK, 1, true}, {IDOK, 0xFFFF, true}, {IDOK, 0, false}, {IDCANCEL, 1, false},
                        {40001, 1, false}};
  for (const Case& c : cases) {
    BrowserWnd window;
    ASSERT_TRUE(CreateMain(window));
    HWND handle = window.hwnd;
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(c.id, c.code), 0);
    EXPECT_EQ(!IsWindow(handle), c.closes) << c.id << "/" << c.code;
    EXPECT_EQ(QuitZeroWasPosted(), c.closes) << c.id << "/" << c.code;
  }
}

}  // namespace
