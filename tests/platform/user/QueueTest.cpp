// The message queue: delivery order (posted, input, paint, timer; a quit comes
// after what was posted before it in CeAppRun), filters, PM_NOREMOVE, timers.
#include "Recorder.h"

namespace usertest {
namespace {

using QueueTest = UserTest;

int timerProcCalls = 0;
void CALLBACK countingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++timerProcCalls; }

TEST_F(QueueTest, DeliversPostedThenInputThenPaintThenTimerAndFiltersSelect) {
  HWND top = createTopLevel();
  UpdateWindow(top);  // nothing left to paint from creation
  SetTimer(top, 5, 0, nullptr);
  InvalidateRect(top, nullptr, FALSE);
  stylus(display::InputEvent::Type::StylusMove, 50, 60);
  PostMessageW(top, WM_USER, 1, 0);
  PostMessageW(top, WM_USER, 2, 0);

  std::vector<std::pair<UINT, WPARAM>> order;
  MSG m;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    order.push_back({m.message, m.message == WM_MOUSEMOVE || m.message == WM_PAINT ? 0 : m.wParam});
    if (m.message == WM_PAINT) ValidateRect(m.hwnd, nullptr);
  }
  EXPECT_EQ(order, (std::vector<std::pair<UINT, WPARAM>>{
                       {WM_USER, 1}, {WM_USER, 2}, {WM_MOUSEMOVE, 0}, {WM_PAINT, 0}, {WM_TIMER, 5}}));
  EXPECT_EQ(m.hwnd, top);
  KillTimer(top, 5);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));

  // PM_NOREMOVE leaves the message; filters select by window and range.
  HWND b = createTopLevel(0);
  HWND child = createChild(top, 3, {0, 0, 10, 10}, 0);
  PostMessageW(top, WM_USER, 0, 0);
  PostMessageW(b, WM_USER + 1, 0, 0);
  PostMessageW(child, WM_USER + 2, 0, 0);
  PostMessageW(nullptr, WM_USER + 3, 0, 0);
  const struct { HWND filter; UINT min, max, flags, message; HWND hwnd; } steps[] = {
      {nullptr, 0, 0, PM_NOREMOVE, WM_USER, top},
      {b, 0, 0, PM_REMOVE, WM_USER + 1, b},
      {reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE, WM_USER + 3, nullptr},  // -1: messages for no window
      {top, WM_USER + 2, WM_USER + 2, PM_REMOVE, WM_USER + 2, child},       // children match their parent
      {nullptr, 0, 0, PM_REMOVE, WM_USER, top},
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(PeekMessageW(&m, s.filter, s.min, s.max, s.flags)) << s.message;
    EXPECT_EQ(std::make_pair(m.message, m.hwnd), std::make_pair(s.message, s.hwnd));
  }
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, TimersReplaceByIdAndDispatchCallsTheirProcedureInsteadOfTheWindow) {
  HWND top = createTopLevel(0);
  timerProcCalls = 0;
  SetTimer(top, 9, 100000, nullptr);
  EXPECT_EQ(SetTimer(top, 9, 0, countingTimerProc), 9u) << "replaces: due now";
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  DispatchMessageW(&m);
  EXPECT_EQ(timerProcCalls, 1);
  EXPECT_EQ(log().count(top, WM_TIMER), 0u);
  KillTimer(top, 9);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));

  MSG forged{};  // a posted WM_TIMER must not call an address it names
  forged.message = WM_TIMER;
  forged.lParam = 0x1234;
  EXPECT_EQ(DispatchMessageW(&forged), 0);
}

}  // namespace
}  // namespace usertest
