// The scroll bar control: its numbers through its messages and the scroll
// bar calls, and what the stylus and keys on it tell the parent.
#include "Recorder.h"
#include "user/ScrollBarInfo.h"
#include "user/ScrollBarLayout.h"

namespace usertest {
namespace {

struct Heard {
  UINT msg;
  WORD code;
  WORD position;
  bool operator==(const Heard&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Heard& h) {
  return out << (h.msg == WM_VSCROLL ? "V" : "H") << h.code << "@" << h.position;
}

class ScrollBarControlTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent = createTopLevel(WS_VISIBLE);
    pump();
  }
  void make(DWORD style, RECT r, int min, int max, UINT page, int pos) {
    bar = createControl(parent, WC_SCROLLBAR, nullptr, style, 5, r);
    setInfo(min, max, page, pos);
  }
  void setInfo(int min, int max, UINT page, int pos) {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, min, max, page, pos, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
  }
  // The parent's WM_VSCROLL and WM_HSCROLL from the control.
  std::vector<Heard> heard() {
    pump();
    std::vector<Heard> out;
    for (const Entry& e : log().only({WM_VSCROLL, WM_HSCROLL})) {
      EXPECT_EQ(e.hwnd, parent);
      EXPECT_EQ(reinterpret_cast<HWND>(e.lParam), bar) << "the control names itself";
      out.push_back({e.msg, LOWORD(e.wParam), HIWORD(e.wParam)});
    }
    log().clear();
    return out;
  }
  // The bar's parts where the stylus finds them, on the screen.
  user::ScrollBarLayout layout(bool vertical) {
    user::ScrollBarInfo info;
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &si);
    info.apply(si);
    return user::ScrollBarLayout(screenRect(bar), vertical, info);
  }
  static POINT middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  HWND parent = nullptr;
  HWND bar = nullptr;
};

// Its numbers are those of a window's bar (WindowScrollBarTest); here what it tells its parent.
TEST_F(ScrollBarControlTest, TheStylusOnEachPartAndTheKeysWithTheFocusTellTheParentWhenThereIsSomethingToScroll) {
  make(SBS_VERT, {10, 10, 23, 150}, 0, 100, 10, 40);
  auto parts = layout(true);
  const std::pair<RECT, WORD> cases[] = {{parts.backArrow(), SB_LINEUP},
                                         {parts.forwardArrow(), SB_LINEDOWN},
                                         {parts.pageBack(), SB_PAGEUP},
                                         {parts.pageForward(), SB_PAGEDOWN}};
  for (auto [where, code] : cases) {
    tap(middle(where).x, middle(where).y);
    EXPECT_EQ(heard(), (std::vector<Heard>{{WM_VSCROLL, code, 0}, {WM_VSCROLL, SB_ENDSCROLL, 0}})) << code;
  }
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40) << "the parent moves the thumb, not the control";
  setInfo(0, 10, 20, 0);  // the page covers the range: nothing to scroll
  for (auto [where, code] : cases) tap(middle(where).x, middle(where).y);
  EXPECT_TRUE(heard().empty());
  EXPECT_TRUE(IsWindowVisible(bar)) << "a control does not hide itself";
  DestroyWindow(bar);

  make(SBS_HORZ | WS_TABSTOP, {10, 10, 170, 23}, 0, 100, 10, 50);
  SetFocus(bar);
  constexpr WORD kNothing = 0xFFFF;  // VK_UP: not a horizontal bar's key
  const std::pair<UINT, WORD> keys[] = {
      {VK_LEFT, SB_LINELEFT}, {VK_RIGHT, SB_LINERIGHT}, {VK_NEXT, SB_PAGERIGHT}, {VK_HOME, SB_TOP}, {VK_UP, kNothing}};
  for (auto [vk, code] : keys) {
    press(vk);
    std::vector<Heard> expected{{WM_HSCROLL, code, 0}, {WM_HSCROLL, SB_ENDSCROLL, 0}};
    EXPECT_EQ(heard(), code != kNothing ? expected : std::vector<Heard>{}) << vk;
  }
}

}  // namespace
}  // namespace usertest
