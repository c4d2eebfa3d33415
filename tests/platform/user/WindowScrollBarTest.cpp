// A window's own scroll bars: shown and hidden by their numbers, read back, driven by the stylus (the program's
// scrolling dialog also drags the thumb, ScrollDialogTest); what the stylus on a scroll bar control tells its parent.
#include "Recorder.h"
#include "user/ScrollBarTracker.h"

namespace usertest {
namespace {

using WindowScrollBarTest = UserTest;
using Type = display::InputEvent::Type;

constexpr int kBar = 13;  // the device's scroll bar breadth

SCROLLINFO infoOf(UINT mask, int min, int max, UINT page, int pos) {
  return SCROLLINFO{sizeof(SCROLLINFO), mask, min, max, page, pos, 0};
}

int clientWidth(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r.right;
}

using Requests = std::vector<std::pair<WORD, WORD>>;

// The scroll requests a window received, as (code, position) pairs.
Requests requests(HWND hwnd) {
  Requests out;
  for (const Entry& e : log().only({WM_VSCROLL}))
    if (e.hwnd == hwnd) out.push_back({LOWORD(e.wParam), HIWORD(e.wParam)});
  return out;
}

// Screen points of the vertical bar of a window at (0, 26) without a frame, 200 x 200.
constexpr int kBarX = 200 - kBar / 2 - 1;
constexpr int kTop = 26;
constexpr int kHeight = 200;

TEST_F(WindowScrollBarTest, NumbersAreKeptInRangeABarWithNothingToScrollIsHiddenAndTheStylusStepsPagesAndEnds) {
  HWND hwnd = createTopLevel(WS_VISIBLE | WS_POPUP, {0, 26, 200, 226});
  SCROLLINFO read = infoOf(SIF_ALL, 0, 0, 0, 0);
  log().clear();
  const struct { SCROLLINFO set; bool shown; int min, max; UINT page; int pos; } rows[] = {
      {infoOf(SIF_RANGE | SIF_PAGE, 0, 299, 100, 0), true, 0, 299, 100, 0},
      {infoOf(SIF_PAGE, 0, 0, 300, 0), false, 0, 299, 300, 0},  // the page covers the range
      {infoOf(SIF_PAGE, 0, 0, 299, 0), true, 0, 299, 299, 0},
      {infoOf(SIF_RANGE | SIF_PAGE, 5, 5, 0, 0), false, 5, 5, 0, 5},  // no positions to move through
      {infoOf(SIF_RANGE, 0, 10, 0, 0), true, 0, 10, 0, 5},
      {infoOf(SIF_ALL, 0, 99, 10, 95), true, 0, 99, 10, 90},  // the last position shows a whole page
      {infoOf(SIF_POS, 0, 0, 0, -5), true, 0, 99, 10, 0},
      {infoOf(SIF_PAGE, 0, 0, 500, 0), false, 0, 99, 100, 0},  // a page is at most the range
      {infoOf(SIF_RANGE | SIF_POS, 10, 20, 0, 15), false, 10, 20, 11, 10},
      {infoOf(SIF_ALL, 30, 10, 0, 25), false, 30, 30, 0, 30},  // an inverted range is empty
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &row - rows);
    SetScrollInfo(hwnd, SB_VERT, &row.set, TRUE);
    EXPECT_EQ((GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL) != 0, row.shown);
    EXPECT_EQ(clientWidth(hwnd), row.shown ? 200 - kBar : 200) << "the client takes the room back";
    read = infoOf(SIF_ALL, 0, 0, 0, 0);
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &read));
    // The track position is the position while nothing is being dragged.
    EXPECT_EQ(std::vector<int>({read.nMin, read.nMax, int(read.nPage), read.nPos, read.nTrackPos}),
              std::vector<int>({row.min, row.max, int(row.page), row.pos, row.pos}));
  }
  EXPECT_EQ(log().only({WM_SIZE}).front().lParam, MAKELPARAM(200 - kBar, 200));

  // The stylus: arrows step, the track pages repeating while held, and the lift ends.
  SCROLLINFO info = infoOf(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 299, 100, 0);
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  // Scrolled content can stick out under the bar; the bar keeps its taps.
  HWND wide = createChild(hwnd, 7, {100, 0, 260, 60}, WS_VISIBLE);
  pump();
  log().clear();
  tap(kBarX, kTop + kHeight - 3);  // down arrow
  tap(kBarX, kTop + 3);            // up arrow
  tap(150, kTop + 10);
  pump();
  EXPECT_EQ(requests(hwnd), (Requests{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_TRUE(
      sameSequence({msgWL(wide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10))}, log().only({WM_LBUTTONDOWN})));

  auto& tracker = user::ScrollBarTracker::instance();
  // Held on the track, it pages until the thumb reaches the stylus, as the window scrolls as asked.
  react(hwnd, WM_VSCROLL, [](HWND h, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    int step = LOWORD(wParam) == SB_PAGEDOWN ? 100 : LOWORD(wParam) == SB_PAGEUP ? -100 : 0;
    SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) + step, TRUE);
    return 0;
  });
  log().clear();
  stylus(Type::StylusDown, kBarX, kTop + kHeight - kBar - 2);  // near the track's end
  pump();
  for (int i = 0; i < 5; ++i) tracker.repeat();
  stylus(Type::StylusUp, kBarX, kTop + kHeight - kBar - 2);
  tap(kBarX, kTop + kBar + 2);
  pump();
  EXPECT_EQ(requests(hwnd),
            (Requests{{SB_PAGEDOWN, 0}, {SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 100);
}

TEST_F(WindowScrollBarTest, AControlTellsItsParentWhatTheStylusAsks) {
  HWND parent = createTopLevel(WS_VISIBLE);  // client at (0, 26)
  HWND bar = createControl(parent, WC_SCROLLBAR, nullptr, WS_VISIBLE | SBS_VERT, 5, {10, 10, 23, 150});  // 36 to 176
  SCROLLINFO info = infoOf(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 40);  // the thumb 40% down
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  pump();
  log().clear();
  const std::pair<int, WORD> taps[] = {{42, SB_LINEUP}, {169, SB_LINEDOWN}, {53, SB_PAGEUP}, {160, SB_PAGEDOWN}};
  for (auto [y, code] : taps) {
    tap(16, y);
    pump();
    for (const Entry& e : log().only({WM_VSCROLL})) EXPECT_EQ(reinterpret_cast<HWND>(e.lParam), bar) << "names itself";
    EXPECT_EQ(requests(parent), (Requests{{code, 0}, {SB_ENDSCROLL, 0}})) << code;
    log().clear();
  }
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40) << "the parent moves the thumb, not the control";
}

}  // namespace
}  // namespace usertest
