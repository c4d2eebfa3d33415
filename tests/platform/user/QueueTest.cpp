// The message queue: delivery order (posted, input, paint, timer), filters,
// PM_NOREMOVE, the quit message, timers and their procedures.
#include "Recorder.h"

namespace usertest {
namespace {

using QueueTest = UserTest;

int timerProcCalls = 0;
void CALLBACK countingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++timerProcCalls; }

TEST_F(QueueTest, DeliversPostedThenInputThenPaintThenTimer) {
  HWND top = createTopLevel();
  UpdateWindow(top);  // nothing left to paint from creation
  SetTimer(top, 5, 0, nullptr);
  InvalidateRect(top, nullptr, FALSE);
  stylus(display::InputEvent::Type::StylusMove, 50, 60);
  PostMessageW(top, WM_USER, 1, 0);
  PostMessageW(top, WM_USER, 2, 0);

  std::vector<UINT> order;
  std::vector<WPARAM> params;
  MSG m;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    order.push_back(m.message);
    params.push_back(m.wParam);
    if (m.message == WM_PAINT) ValidateRect(m.hwnd, nullptr);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
  EXPECT_EQ(params[0], 1u);
  EXPECT_EQ(params[1], 2u);
  EXPECT_EQ(params[4], 5u);
  EXPECT_EQ(m.hwnd, top);
  KillTimer(top, 5);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, NoRemoveLeavesTheMessageAndFiltersSelect) {
  HWND a = createTopLevel(0);
  HWND b = createTopLevel(0);
  HWND child = createChild(a, 3, {0, 0, 10, 10}, 0);
  PostMessageW(a, WM_USER, 0, 0);
  PostMessageW(b, WM_USER + 1, 0, 0);
  PostMessageW(child, WM_USER + 2, 0, 0);
  PostMessageW(nullptr, WM_USER + 3, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, UINT(WM_USER));
  ASSERT_TRUE(PeekMessageW(&m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_USER + 1));
  ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_USER + 3));
  EXPECT_EQ(m.hwnd, nullptr);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(m.hwnd, child);
  // The filter window's children match too.
  PostMessageW(child, WM_USER + 4, 0, 0);
  ASSERT_TRUE(PeekMessageW(&m, a, WM_USER + 4, WM_USER + 4, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_USER));
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, QuitComesAfterWhatWasPostedBeforeIt) {
  HWND top = createTopLevel(0);
  PostMessageW(top, WM_USER, 0, 0);
  PostQuitMessage(3);
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, UINT(WM_USER));
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, UINT(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, DispatchCallsTheTimerProcedureInsteadOfTheWindow) {
  HWND top = createTopLevel(0);
  timerProcCalls = 0;
  UINT_PTR id = SetTimer(top, 9, 0, countingTimerProc);
  EXPECT_EQ(id, 9u);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  DispatchMessageW(&m);
  EXPECT_EQ(timerProcCalls, 1);
  EXPECT_EQ(log().count(top, WM_TIMER), 0u);
  KillTimer(top, 9);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(QueueTest, ThreadTimersGetTheirOwnIdsAndReplaceByIdOnWindows) {
  UINT_PTR first = SetTimer(nullptr, 0, 0, countingTimerProc);
  UINT_PTR second = SetTimer(nullptr, 0, 0, countingTimerProc);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_TRUE(KillTimer(nullptr, first));
  EXPECT_TRUE(KillTimer(nullptr, second));
  EXPECT_FALSE(KillTimer(nullptr, second));

  HWND top = createTopLevel(0);
  SetTimer(top, 1, 100000, nullptr);
  SetTimer(top, 1, 0, nullptr);  // replaces: due now
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, top, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(m.wParam, 1u);
  KillTimer(top, 1);
}

TEST_F(QueueTest, APostedTimerMessageCannotCallAnArbitraryAddress) {
  MSG m{};
  m.message = WM_TIMER;
  m.lParam = 0x1234;
  EXPECT_EQ(DispatchMessageW(&m), 0);
}

TEST_F(QueueTest, SendCallsTheProcedureDirectlyAndInvalidWindowFails) {
  HWND top = createTopLevel(0);
  react(top, WM_USER, [](HWND, UINT, WPARAM w, LPARAM l) { return LRESULT(w + l); });
  EXPECT_EQ(SendMessageW(top, WM_USER, 2, 3), 5);
  SetLastError(0);
  EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(0x1234), WM_USER, 2, 3), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(QueueTest, GetMessageTimeAndPosComeFromTheLastMessage) {
  HWND top = createTopLevel();
  UpdateWindow(top);
  stylus(display::InputEvent::Type::StylusMove, 33, 77);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.pt.x, 33);
  EXPECT_EQ(m.pt.y, 77);
  EXPECT_EQ(GetMessagePos(), DWORD(MAKELONG(33, 77)));
  EXPECT_EQ(GetMessageTime(), LONG(m.time));
}

}  // namespace
}  // namespace usertest
