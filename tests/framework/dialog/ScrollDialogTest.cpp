// Dialog scrolling: bars from the client size against the content size, requests moving every control.
#include "DialogTestSupport.h"
#include "dialog_test_ids.h"
#include "framework/CeScrollDialog.h"

namespace dialogtest {
namespace {

struct ScrollProbe : CeScrollDialog {
  explicit ScrollProbe(int templateNumber = IDD_SCROLL) : CeScrollDialog(templateNumber) {}
  using CeScrollDialog::contentWidth, CeScrollDialog::contentHeight, CeScrollDialog::vertScrolling,
      CeScrollDialog::horzScrolling, CeScrollDialog::requestedWidth, CeScrollDialog::requestedHeight;
};

std::string BarText(int max, int page, int pos) {
  return "shown 0.." + std::to_string(max) + " page " + std::to_string(page) + " pos " + std::to_string(pos);
}

class ScrollDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    window = dialog.CreateModeless();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    initial = WindowRect(window);
    content = {dialog.contentWidth, dialog.contentHeight};
    top = GetDlgItem(window, IDC_SCROLL_TOP);
    ASSERT_NE(top, nullptr);
  }

  // The window made dw wider and dh taller than it was at initialisation.
  void Resize(int dw, int dh) {
    SetWindowPos(window, nullptr, 0, 0, initial.right - initial.left + dw, initial.bottom - initial.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Leaves room for the other bar, so that it does not take room as well.
  void ResizeHeight(int dh) { Resize(GetSystemMetrics(SM_CXVSCROLL), dh); }
  void ResizeWidth(int dw) { Resize(dw, GetSystemMetrics(SM_CYHSCROLL)); }

  bool Shown(int which) {
    return (GetWindowLongW(window, GWL_STYLE) & (which == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
  }
  SCROLLINFO Info(int which) {
    SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(window, which, &info);
    return info;
  }
  std::string Bar(int which) {
    const SCROLLINFO i = Info(which);
    return std::string(Shown(which) ? "shown " : "hidden ") + std::to_string(i.nMin) + ".." +
           std::to_string(i.nMax) + " page " + std::to_string(i.nPage) + " pos " + std::to_string(i.nPos);
  }

  void Scroll(UINT message, int code, int thumb = 0) {
    SendMessageW(window, message, MAKEWPARAM(code, WORD(thumb)), 0);
  }
  void ScrollTo(int pos) { Scroll(WM_VSCROLL, SB_THUMBTRACK, pos); }

  // Where the content's top-left corner is: the marker standing there.
  POINT Origin() { return {RectInParent(top).left, RectInParent(top).top}; }
  int ClientHeight() { return ClientRect(window).bottom; }
  int ClientWidth() { return ClientRect(window).right; }

  ScrollProbe dialog;
  HWND window = nullptr;
  HWND top = nullptr;
  RECT initial = {};
  SIZE content = {};
};

// Lower shows the vertical bar, lines stop at both ends, growing brings the content down; a page
// is the client height; maximising, minimising and early sizes change nothing; narrowing, or a
// vertical bar taking the width, shows the horizontal bar.
TEST_F(ScrollDialogTest, BarsFollowTheClientSizeAgainstTheContentAndRequestsMoveTheContent) {
  // A requested size resizes the window at initialisation; what is not requested
  // is the template's size and room for a bar.
  const int width = initial.right - initial.left + GetSystemMetrics(SM_CXVSCROLL);
  const int height = initial.bottom - initial.top + GetSystemMetrics(SM_CYHSCROLL);
  for (auto [w, h] : {std::pair{200, 0}, {0, 150}, {180, 160}}) {
    ScrollProbe probe;
    probe.requestedWidth = w;
    probe.requestedHeight = h;
    ASSERT_NE(probe.CreateModeless(), nullptr);
    const RECT r = WindowRect(probe.hwnd);
    // The content is what the template gave, whatever the new size.
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top, probe.contentHeight),
              std::make_tuple(initial.left, initial.top, w != 0 ? w : width, h != 0 ? h : height, content.cy))
        << w << "x" << h;
    DestroyWindow(probe.hwnd);
  }
  // The content is the client area at initialisation: no bars at first.
  EXPECT_EQ(std::make_tuple(content.cx, content.cy, Shown(SB_VERT), Shown(SB_HORZ)),
            std::make_tuple(ClientWidth(), ClientHeight(), false, false));

  ResizeHeight(-50);
  ASSERT_EQ(ClientHeight(), content.cy - 50);
  EXPECT_EQ(Bar(SB_VERT), BarText(content.cy - 1, content.cy - 50, 0));
  EXPECT_EQ(std::make_tuple(Shown(SB_HORZ), dialog.vertScrolling != 0, dialog.horzScrolling != 0, Origin().y),
            std::make_tuple(false, true, false, 0L));
  Scroll(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(Origin().y, -50);
  // Scrolled to the bottom, then 30 taller.
  ResizeHeight(-20);
  EXPECT_EQ(Origin().y, -20);
  EXPECT_EQ(Bar(SB_VERT), BarText(content.cy - 1, content.cy - 20, 20));

  // 50 lower again. From, request, then: by 10 not 20 up, nothing above the
  // top, limited by and then stopped at the last position.
  ResizeHeight(-50);
  const std::tuple<int, int, int> steps[] = {
      {10, SB_LINEUP, 0},   {0, SB_LINEUP, 0}, {0, SB_LINEDOWN, 20},        {40, SB_LINEDOWN, 50},
      {50, SB_LINEDOWN, 50}, {50, SB_TOP, 0},  {30, SB_THUMBPOSITION, 30}, {30, SB_ENDSCROLL, 30}};
  for (auto [from, code, expected] : steps) {
    SCOPED_TRACE("from " + std::to_string(from) + " code " + std::to_string(code));
    ScrollTo(from);
    ASSERT_EQ(Origin().y, -from);
    Scroll(WM_VSCROLL, code, from);
    EXPECT_EQ(std::make_tuple(Info(SB_VERT).nPos, Origin().y), std::make_tuple(expected, LONG(-expected)));
  }
  ScrollTo(40);
  EXPECT_EQ(Origin().y, -40);
  ResizeHeight(0);
  EXPECT_EQ(std::make_tuple(Origin().y, Shown(SB_VERT), dialog.vertScrolling), std::make_tuple(0L, false, 0));
  // Requests for a bar out of use are swallowed.
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_VSCROLL, SB_LINEDOWN, 0), TRUE);
  EXPECT_EQ(Origin().y, 0);

  const int page = 80;
  ResizeHeight(page - content.cy);
  ASSERT_EQ(ClientHeight(), page);
  const int last = content.cy - page;
  ASSERT_GT(last, 2 * page);
  for (int expected = page; expected < last + 2 * page; expected += page) {
    Scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(std::make_tuple(Info(SB_VERT).nPos, Origin().y),
              std::make_tuple(std::min(expected, last), LONG(-std::min(expected, last))));
  }
  Scroll(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(Info(SB_VERT).nPos, last - page);
  // A thumb dragged past the end stops at the last position.
  ScrollTo(content.cy);
  EXPECT_EQ(Info(SB_VERT).nPos, last);
  ResizeHeight(-50);
  ScrollTo(30);
  for (WPARAM type : {WPARAM(SIZE_MAXIMIZED), WPARAM(SIZE_MINIMIZED)}) {
    SendMessageW(window, WM_SIZE, type, MAKELPARAM(content.cx, content.cy + 100));
    EXPECT_EQ(Bar(SB_VERT), BarText(content.cy - 1, content.cy - 50, 30)) << type;
    EXPECT_EQ(Origin().y, -30) << type;
    bool handled = false;
    dialog.OnSize(type, content.cx, content.cy + 100, &handled);
    EXPECT_FALSE(handled) << type;
  }
  ScrollProbe fresh;
  bool handled = false;
  fresh.OnSize(SIZE_RESTORED, 10, 10, &handled);
  EXPECT_FALSE(handled);

  ResizeWidth(-40);
  ASSERT_EQ(ClientWidth(), content.cx - 40);
  EXPECT_EQ(Bar(SB_HORZ), BarText(content.cx - 1, content.cx - 40, 0));
  EXPECT_FALSE(Shown(SB_VERT));
  // Line right, page right (limited by the end), back to the left.
  for (auto [code, x] : {std::pair{SB_LINERIGHT, -20}, {SB_PAGERIGHT, -40}, {SB_LEFT, 0}}) {
    Scroll(WM_HSCROLL, code);
    EXPECT_EQ(std::make_tuple(Origin().x, Origin().y), std::make_tuple(LONG(x), 0L)) << code;
  }

  // Both bars, then full width again: only the horizontal offset comes back.
  Resize(-40, -50);
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 20);
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 30);
  EXPECT_EQ(Origin().x, -20);
  Resize(GetSystemMetrics(SM_CXVSCROLL), -50);
  EXPECT_EQ(std::make_tuple(Shown(SB_HORZ), Shown(SB_VERT), Origin().x, Origin().y),
            std::make_tuple(false, true, 0L, -30L));
  // The vertical bar's room leaves the client narrower than the content.
  Resize(0, -50);
  ASSERT_TRUE(Shown(SB_VERT));
  EXPECT_EQ(Bar(SB_HORZ), BarText(content.cx - 1, ClientWidth(), 0));
  EXPECT_TRUE(dialog.horzScrolling);
  EXPECT_EQ(int(Info(SB_VERT).nPage), ClientHeight());
  // The bar that shows answers: the content moves by the width it lacks.
  Scroll(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(Origin().x, ClientWidth() - content.cx);
}

// The thumb's place can pass what a scroll message's 16 bits carry.
TEST(ScrollDialogStylus, DraggingTheThumbToTheEndShowsTheEndOfTheContent) {
  for (auto [templateNumber, marker] : {std::pair{IDD_SCROLL, IDC_SCROLL_TOP}, {IDD_TALL, IDC_TALL_TOP}}) {
    ScrollProbe dialog(templateNumber);
    int last = -1, pos = -1, origin = 1;
    WhileModal([&, marker = marker] {
      HWND window = dialog.hwnd;
      const RECT frame = WindowRect(window);
      // 160 pixels of client height, and room for the vertical bar.
      RECT client = ClientRect(window);
      SetWindowPos(window, nullptr, 0, 30, frame.right - frame.left + GetSystemMetrics(SM_CXVSCROLL),
                   frame.bottom - frame.top - client.bottom + 160, SWP_NOZORDER);
      client = ClientRect(window);
      last = dialog.contentHeight - client.bottom;
      MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
      // The thumb starts just below the bar's upper arrow.
      const std::string x = std::to_string(client.right + GetSystemMetrics(SM_CXVSCROLL) / 2);
      WhileModalScript("drag " + x + " " + std::to_string(client.top + GetSystemMetrics(SM_CYVSCROLL) + 2) + " " + x +
                       " " + std::to_string(client.bottom + 40) + "\n");
      WhileModal([&, marker] {
        SCROLLINFO info = {sizeof(info), SIF_POS, 0, 0, 0, 0, 0};
        GetScrollInfo(dialog.hwnd, SB_VERT, &info);
        pos = info.nPos;
        origin = RectInParent(GetDlgItem(dialog.hwnd, marker)).top;
        EndDialog(dialog.hwnd, IDOK);
      });
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_GT(last, 0);
    EXPECT_EQ(std::make_tuple(pos, origin), std::make_tuple(last, -last)) << "template " << templateNumber;
  }
}

}  // namespace
}  // namespace dialogtest
