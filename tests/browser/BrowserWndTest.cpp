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

TEST(BrowserWnd, OnlyCloseAndTheOkButtonsCommandDestroyTheWindowAndEndTheLoopWithZero) {
  struct Case {
    UINT message;
    WORD id;
    WORD code;
    bool closes;
  };
  const Case cases[] = {{WM_CLOSE, 0, 0, true},          {WM_COMMAND, IDOK, 1, true},  {WM_COMMAND, IDOK, 0xFFFF, true},
                        {WM_COMMAND, IDOK, 0, false},    {WM_COMMAND, IDCANCEL, 1, false},
                        {WM_COMMAND, 40001, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.message) + " " + std::to_string(c.id) + "/" + std::to_string(c.code));
    BrowserWnd window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, 240, 268, u"main", WS_VISIBLE,
                              WS_EX_CAPTIONOKBTN, nullptr, nullptr));
    HWND handle = window.hwnd;
    EXPECT_EQ(SendMessageW(handle, c.message, MAKEWPARAM(c.id, c.code), 0), 0);
    EXPECT_EQ(!IsWindow(handle), c.closes);
    EXPECT_EQ(window.hwnd == nullptr, c.closes);
    EXPECT_EQ(QuitZeroWasPosted(), c.closes);
  }
}

}  // namespace
