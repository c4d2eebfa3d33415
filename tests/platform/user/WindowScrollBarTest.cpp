// A window's own scroll bars: shown and hidden by their numbers, read back,
// driven by the stylus (the program's scrolling dialog drives them too,
// ScrollDialogTest); ScrollWindowEx; and what the stylus and keys on a
// scroll bar control tell its parent.
#include "Recorder.h"
#include "user/ScrollBarTracker.h"

namespace usertest {
namespace {

using WindowScrollBarTest = UserTest;
using Type = display::InputEvent::Type;

constexpr int kBar = 13;  // the device's scroll bar breadth

uint32_t pixelAt(int x, int y) { return screen().pixel(x, y); }

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
Requests requests(HWND hwnd, UINT msg = WM_VSCROLL) {
  Requests out;
  for (const Entry& e : log().only({msg}))
    if (e.hwnd == hwnd) out.push_back({LOWORD(e.wParam), HIWORD(e.wParam)});
  return out;
}

// A window at (0, 26) without a frame, 200 x 200, with a vertical bar over
// 0..299 showing a page of 100.
HWND scrolledWindow() {
  HWND hwnd = createTopLevel(WS_VISIBLE | WS_POPUP, {0, 26, 200, 226});
  SCROLLINFO info = infoOf(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 299, 100, 0);
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  pump();
  return hwnd;
}

// Screen points of the vertical bar of scrolledWindow().
constexpr int kBarX = 200 - kBar / 2 - 1;
constexpr int kTop = 26;
constexpr int kHeight = 200;
constexpr int kTrack = kHeight - 2 * kBar;
constexpr int kThumb = 100 * kTrack / 300;
constexpr int kTravel = kTrack - kThumb;

TEST_F(WindowScrollBarTest, PageCoveringTheRangeHidesTheBarAndTheClientTakesItsRoomBack) {
  HWND hwnd = createTopLevel(WS_VISIBLE | WS_POPUP, {0, 26, 200, 226});
  EXPECT_EQ(clientWidth(hwnd), 200);
  log().clear();
  SCROLLINFO info = infoOf(SIF_RANGE | SIF_PAGE, 0, 299, 100, 0);
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(clientWidth(hwnd), 200 - kBar);
  EXPECT_TRUE(sameSequence({msgWL(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200 - kBar, 200))}, log().only({WM_SIZE})));

  const struct { const char* what; SCROLLINFO info; bool shown; } table[] = {
      {"page covers the range", infoOf(SIF_PAGE, 0, 0, 300, 0), false},
      {"page one short of it", infoOf(SIF_PAGE, 0, 0, 299, 0), true},
      {"no positions to move through", infoOf(SIF_RANGE | SIF_PAGE, 5, 5, 0, 0), false},
      {"range without a page", infoOf(SIF_RANGE, 0, 10, 0, 0), true},
      {"range and page", infoOf(SIF_RANGE | SIF_PAGE, 0, 9, 5, 0), true},
      {"position alone changes nothing", infoOf(SIF_POS, 0, 0, 0, 3), true},
      {"covered again", infoOf(SIF_PAGE, 0, 0, 50, 0), false},
  };
  for (const auto& row : table) {
    SetScrollInfo(hwnd, SB_VERT, &row.info, TRUE);
    EXPECT_EQ((GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL) != 0, row.shown) << row.what;
    EXPECT_EQ(clientWidth(hwnd), row.shown ? 200 - kBar : 200) << row.what;
  }
  SCROLLINFO read = infoOf(SIF_ALL, 0, 0, 0, 0);
  ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &read));
  EXPECT_EQ(read.nMax * 100 + int(read.nPage), 9 * 100 + 10) << "hidden, the bar keeps its numbers";
}

TEST_F(WindowScrollBarTest, NumbersAreKeptWithinTheRangeAndReadBack) {
  HWND plain = createTopLevel(WS_VISIBLE | WS_POPUP);
  SCROLLINFO read = infoOf(SIF_ALL, 0, 0, 0, 0);
  SetLastError(0);
  EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, &read));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_SCROLLBARS));
  HWND styled = createTopLevel(WS_VISIBLE | WS_POPUP | WS_HSCROLL);
  ASSERT_TRUE(GetScrollInfo(styled, SB_HORZ, &read));
  EXPECT_EQ(read.nMax, 100) << "a bar made by its style";

  const struct { SCROLLINFO set; int min, max; UINT page; int pos; } table[] = {
      {infoOf(SIF_ALL, 0, 99, 10, 95), 0, 99, 10, 90},      // the last position shows a whole page
      {infoOf(SIF_POS, 0, 0, 0, -5), 0, 99, 10, 0},
      {infoOf(SIF_PAGE, 0, 0, 500, 0), 0, 99, 100, 0},      // a page is at most the range
      {infoOf(SIF_RANGE | SIF_POS, 10, 20, 0, 15), 10, 20, 11, 10},
      {infoOf(SIF_ALL, 30, 10, 0, 25), 30, 30, 0, 30},      // an inverted range is empty
  };
  for (const auto& row : table) {
    SetScrollInfo(styled, SB_HORZ, &row.set, FALSE);
    read = infoOf(SIF_ALL, 0, 0, 0, 0);
    ASSERT_TRUE(GetScrollInfo(styled, SB_HORZ, &read));
    // The track position is the position while nothing is being dragged.
    EXPECT_EQ(std::vector<int>({read.nMin, read.nMax, int(read.nPage), read.nPos, read.nTrackPos}),
              std::vector<int>({row.min, row.max, int(row.page), row.pos, row.pos}));
  }

  SCROLLINFO bad = infoOf(SIF_ALL, 0, 0, 0, 0);
  bad.cbSize = 7;
  EXPECT_FALSE(GetScrollInfo(styled, SB_HORZ, &bad));
  EXPECT_EQ(SetScrollInfo(styled, SB_HORZ, &bad, FALSE), 0);
  EXPECT_FALSE(GetScrollInfo(reinterpret_cast<HWND>(0x7777), SB_VERT, &read));
}

TEST_F(WindowScrollBarTest, ArrowsStepAndTheTrackPagesRepeatingWhileHeldAndEndOnTheLift) {
  HWND hwnd = scrolledWindow();
  log().clear();
  tap(kBarX, kTop + kHeight - 3);  // down arrow
  tap(kBarX, kTop + 3);            // up arrow
  pump();
  EXPECT_EQ(requests(hwnd), (Requests{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(log().count(hwnd, WM_LBUTTONDOWN), 0u);

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

TEST_F(WindowScrollBarTest, AChildReachingUnderTheBarLeavesItsTapsToTheBar) {
  HWND hwnd = scrolledWindow();
  // Scrolled content can stick out of the client area; it is not shown there.
  HWND wide = createChild(hwnd, 7, {100, 0, 260, 60}, WS_VISIBLE);
  pump();
  log().clear();
  tap(kBarX, kTop + 3);
  tap(150, kTop + 10);
  pump();
  EXPECT_EQ(requests(hwnd), (Requests{{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
  EXPECT_TRUE(
      sameSequence({msgWL(wide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10))}, log().only({WM_LBUTTONDOWN})));
}

// Dragging the thumb is the program's scrolling dialog's (ScrollDialogStylus); here the track position.
TEST_F(WindowScrollBarTest, DraggingTheThumbTracksItsPositionUntilTheLift) {
  HWND hwnd = scrolledWindow();
  SCROLLINFO during = infoOf(SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0);
  react(hwnd, WM_VSCROLL, [&](HWND h, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    if (LOWORD(wParam) == SB_THUMBTRACK) GetScrollInfo(h, SB_VERT, &during);
    return 0;
  });
  int grab = kTop + kBar + kThumb / 2;
  stylus(Type::StylusDown, kBarX, grab);
  stylus(Type::StylusMove, kBarX + 30, grab + kTravel + 40);  // beyond the end, and off the bar
  stylus(Type::StylusUp, kBarX + 30, grab + kTravel + 40);
  log().clear();
  pump();
  EXPECT_EQ(requests(hwnd), (Requests{{SB_THUMBTRACK, 200}, {SB_THUMBPOSITION, 200}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(during.nPos, 0) << "the window has not moved the bar itself";
  EXPECT_EQ(during.nTrackPos, 200);
  SCROLLINFO after = infoOf(SIF_TRACKPOS, 0, 0, 0, 0);
  GetScrollInfo(hwnd, SB_VERT, &after);
  EXPECT_EQ(after.nTrackPos, 0);
}

TEST_F(WindowScrollBarTest, ScrollWindowMovesPixelsAndChildrenAndInvalidatesTheUncoveredStrip) {
  HWND hwnd = createTopLevel(WS_VISIBLE | WS_POPUP, {0, 26, 200, 226});
  HWND child = createChild(hwnd, 1, {10, 50, 60, 70}, WS_VISIBLE);
  pump();
  // A mark in the client area, drawn straight to the screen.
  HDC hdc = GetDC(hwnd);
  RECT mark{100, 100, 110, 110};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(hdc, &mark, red);
  ReleaseDC(hwnd, hdc);
  ASSERT_EQ(pixelAt(105, 26 + 105), 0xFF0000u);

  log().clear();
  RECT update{}, invalid{};
  int kind = ScrollWindowEx(hwnd, 0, -20, nullptr, nullptr, nullptr, &update,
                            SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  EXPECT_EQ(kind, SIMPLEREGION);
  EXPECT_TRUE(sameRect({0, 180, 200, 200}, update));
  EXPECT_TRUE(GetUpdateRect(hwnd, &invalid, FALSE));
  EXPECT_TRUE(sameRect(update, invalid));
  EXPECT_EQ(pixelAt(105, 26 + 85), 0xFF0000u);  // moved up with the content
  EXPECT_EQ(screenRect(child).top, 26 + 30);
  EXPECT_EQ(log().count(child, WM_MOVE), 1u);

  // Without SW_SCROLLCHILDREN the children stay, and a scroll rectangle
  // limits what moves.
  pump();
  RECT part{100, 0, 200, 100};
  ScrollWindowEx(hwnd, 0, 10, &part, nullptr, nullptr, &update, SW_INVALIDATE);
  EXPECT_EQ(screenRect(child).top, 26 + 30);
  EXPECT_TRUE(sameRect({100, 0, 200, 10}, update));
  DeleteObject(red);
}

// A scroll bar control's numbers are those of a window's bar; here what it tells its parent.
TEST_F(WindowScrollBarTest, AControlTellsItsParentWhatTheStylusAndTheKeysAskWhenThereIsSomethingToScroll) {
  HWND parent = createTopLevel(WS_VISIBLE);  // client at (0, 26)
  auto make = [&](DWORD style, RECT r, int pos) {
    HWND bar = createControl(parent, WC_SCROLLBAR, nullptr, style, 5, r);
    SCROLLINFO info = infoOf(SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, pos);
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    pump();
    return bar;
  };
  auto heard = [&](HWND bar, UINT msg) {
    pump();
    for (const Entry& e : log().only({msg})) EXPECT_EQ(reinterpret_cast<HWND>(e.lParam), bar) << "it names itself";
    Requests got = requests(parent, msg);
    log().clear();
    return got;
  };
  HWND bar = make(SBS_VERT, {10, 10, 23, 150}, 40);  // on the screen 36 to 176 high, the thumb 40% down
  const std::pair<int, WORD> taps[] = {{42, SB_LINEUP}, {169, SB_LINEDOWN}, {53, SB_PAGEUP}, {160, SB_PAGEDOWN}};
  for (auto [y, code] : taps) {
    tap(16, y);
    EXPECT_EQ(heard(bar, WM_VSCROLL), (Requests{{code, 0}, {SB_ENDSCROLL, 0}})) << code;
  }
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40) << "the parent moves the thumb, not the control";
  SCROLLINFO covered = infoOf(SIF_RANGE | SIF_PAGE, 0, 10, 20, 0);  // the page covers the range
  SetScrollInfo(bar, SB_CTL, &covered, TRUE);
  for (auto [y, code] : taps) tap(16, y);
  EXPECT_TRUE(heard(bar, WM_VSCROLL).empty()) << "nothing to scroll";
  EXPECT_TRUE(IsWindowVisible(bar)) << "a control does not hide itself";

  bar = make(SBS_HORZ | WS_TABSTOP, {10, 10, 170, 23}, 50);
  SetFocus(bar);
  constexpr WORD kNothing = 0xFFFF;  // VK_UP: not a horizontal bar's key
  const std::pair<UINT, WORD> keys[] = {
      {VK_LEFT, SB_LINELEFT}, {VK_RIGHT, SB_LINERIGHT}, {VK_NEXT, SB_PAGERIGHT}, {VK_HOME, SB_TOP}, {VK_UP, kNothing}};
  for (auto [vk, code] : keys) {
    press(vk);
    EXPECT_EQ(heard(bar, WM_HSCROLL), (code != kNothing ? Requests{{code, 0}, {SB_ENDSCROLL, 0}} : Requests{})) << vk;
  }
}

}  // namespace
}  // namespace usertest
