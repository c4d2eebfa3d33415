// Dialog scrolling: the bars follow the client size against the content
// size recorded at initialisation, and scroll requests move every control.
#include "DialogTestSupport.h"
#include "dialog_test_ids.h"
#include "framework/CeScrollDialog.h"

namespace dialogtest {
namespace {

class ScrollProbe : public CeScrollDialog {
 public:
  explicit ScrollProbe(int templateNumber = IDD_SCROLL) : CeScrollDialog(templateNumber) {}
  int ContentWidth() const { return contentWidth; }
  int ContentHeight() const { return contentHeight; }
  bool VertScrolling() const { return vertScrolling != 0; }
  bool HorzScrolling() const { return horzScrolling != 0; }
  void Request(int width, int height) {
    requestedWidth = width;
    requestedHeight = height;
  }
};

struct Bar {
  bool shown = false;
  int min = 0, max = 0, page = 0, pos = 0;
};

std::string DescribeBar(const Bar& b) {
  return std::string(b.shown ? "shown" : "hidden") + " " + std::to_string(b.min) + ".." + std::to_string(b.max) +
         " page " + std::to_string(b.page) + " pos " + std::to_string(b.pos);
}

class ScrollDialogTest : public DialogTest {
 protected:
  void SetUp() override {
    window = dialog.CreateModeless();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    initial = WindowRect(window);
    content = {dialog.ContentWidth(), dialog.ContentHeight()};
    top = GetDlgItem(window, IDC_SCROLL_TOP);
    ASSERT_NE(top, nullptr);
  }

  // The window made dw wider and dh taller than it was at initialisation.
  void Resize(int dw, int dh) {
    SetWindowPos(window, nullptr, 0, 0, initial.right - initial.left + dw, initial.bottom - initial.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Leaves room for the vertical bar, so that it does not make the content
  // too wide as well.
  void ResizeHeight(int dh) { Resize(GetSystemMetrics(SM_CXVSCROLL), dh); }
  void ResizeWidth(int dw) { Resize(dw, GetSystemMetrics(SM_CYHSCROLL)); }

  Bar BarOf(int which) {
    Bar bar;
    bar.shown = (GetWindowLongW(window, GWL_STYLE) & (which == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (GetScrollInfo(window, which, &info)) {
      bar.min = info.nMin;
      bar.max = info.nMax;
      bar.page = int(info.nPage);
      bar.pos = info.nPos;
    }
    return bar;
  }

  void Scroll(UINT message, int code, int thumb = 0) {
    SendMessageW(window, message, MAKEWPARAM(code, WORD(thumb)), 0);
  }
  void ScrollTo(int pos) { Scroll(WM_VSCROLL, SB_THUMBTRACK, pos); }

  // Where the content's top-left corner is: the marker standing there.
  POINT ContentOrigin() {
    const RECT r = RectInParent(top);
    return {r.left, r.top};
  }
  int ClientHeight() { return ClientRect(window).bottom; }
  int ClientWidth() { return ClientRect(window).right; }

  ScrollProbe dialog;
  HWND window = nullptr;
  HWND top = nullptr;
  RECT initial = {};
  SIZE content = {};
};

TEST_F(ScrollDialogTest, FiftyPixelsLowerShowsTheVerticalBarAndGrowingBringsScrolledContentDown) {
  // The content is the client area at initialisation: no bars at first.
  EXPECT_EQ(content.cx, ClientWidth());
  EXPECT_EQ(content.cy, ClientHeight());
  EXPECT_FALSE(BarOf(SB_VERT).shown);
  EXPECT_FALSE(BarOf(SB_HORZ).shown);

  ResizeHeight(-50);
  ASSERT_EQ(ClientHeight(), content.cy - 50);
  EXPECT_EQ(DescribeBar(BarOf(SB_VERT)), DescribeBar(Bar{true, 0, content.cy - 1, content.cy - 50, 0}));
  EXPECT_FALSE(BarOf(SB_HORZ).shown);
  EXPECT_TRUE(dialog.VertScrolling());
  EXPECT_FALSE(dialog.HorzScrolling());
  EXPECT_EQ(ContentOrigin().y, 0);
  Scroll(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(ContentOrigin().y, -50);
  // Scrolled to the bottom, then 30 taller.
  ResizeHeight(-20);
  EXPECT_EQ(ContentOrigin().y, -20);
  EXPECT_EQ(DescribeBar(BarOf(SB_VERT)), DescribeBar(Bar{true, 0, content.cy - 1, content.cy - 20, 20}));

  ResizeHeight(-50);
  ScrollTo(40);
  EXPECT_EQ(ContentOrigin().y, -40);
  ResizeHeight(0);
  EXPECT_EQ(ContentOrigin().y, 0);
  EXPECT_FALSE(BarOf(SB_VERT).shown);
  EXPECT_FALSE(dialog.VertScrolling());
  // Requests for a bar out of use are swallowed.
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_VSCROLL, SB_LINEDOWN, 0), TRUE);
  EXPECT_EQ(ContentOrigin().y, 0);
}

TEST_F(ScrollDialogTest, LineStepsStopAtBothEnds) {
  ResizeHeight(-50);
  struct Step {
    int from;
    int code;
    int expected;
  };
  const Step steps[] = {
      {10, SB_LINEUP, 0},     // by 10, not 20
      {0, SB_LINEUP, 0},      // nothing above the top
      {0, SB_LINEDOWN, 20},   //
      {40, SB_LINEDOWN, 50},  // limited by the last position
      {50, SB_LINEDOWN, 50},  // nothing below the bottom
      {50, SB_TOP, 0},        //
      {30, SB_THUMBPOSITION, 30},
      {30, SB_ENDSCROLL, 30},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE("from " + std::to_string(s.from) + " code " + std::to_string(s.code));
    ScrollTo(s.from);
    ASSERT_EQ(ContentOrigin().y, -s.from);
    Scroll(WM_VSCROLL, s.code, s.from);
    EXPECT_EQ(BarOf(SB_VERT).pos, s.expected);
    EXPECT_EQ(ContentOrigin().y, -s.expected);
  }
}

TEST_F(ScrollDialogTest, APageIsTheClientHeightAndMaximisingMinimisingAndEarlySizesAreLeftAlone) {
  const int page = 80;
  ResizeHeight(page - content.cy);
  ASSERT_EQ(ClientHeight(), page);
  const int last = content.cy - page;
  ASSERT_GT(last, 2 * page);
  for (int expected = page; expected < last + page; expected += page) {
    Scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(BarOf(SB_VERT).pos, std::min(expected, last));
    EXPECT_EQ(ContentOrigin().y, -std::min(expected, last));
  }
  Scroll(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(BarOf(SB_VERT).pos, last);
  Scroll(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(BarOf(SB_VERT).pos, last - page);
  // A thumb dragged past the end stops at the last position.
  ScrollTo(content.cy);
  EXPECT_EQ(BarOf(SB_VERT).pos, last);
  ResizeHeight(-50);
  ScrollTo(30);
  for (WPARAM type : {WPARAM(SIZE_MAXIMIZED), WPARAM(SIZE_MINIMIZED)}) {
    SendMessageW(window, WM_SIZE, type, MAKELPARAM(content.cx, content.cy + 100));
    EXPECT_EQ(DescribeBar(BarOf(SB_VERT)), DescribeBar(Bar{true, 0, content.cy - 1, content.cy - 50, 30})) << type;
    EXPECT_EQ(ContentOrigin().y, -30) << type;
    bool handled = false;
    dialog.OnSize(type, content.cx, content.cy + 100, &handled);
    EXPECT_FALSE(handled) << type;
  }
  ScrollProbe fresh;
  bool handled = false;
  fresh.OnSize(SIZE_RESTORED, 10, 10, &handled);
  EXPECT_FALSE(handled);
}

TEST_F(ScrollDialogTest, NarrowingShowsTheHorizontalBarAndAVerticalBarThatTakesTheWidthBringsItToo) {
  ResizeWidth(-40);
  ASSERT_EQ(ClientWidth(), content.cx - 40);
  EXPECT_EQ(DescribeBar(BarOf(SB_HORZ)), DescribeBar(Bar{true, 0, content.cx - 1, content.cx - 40, 0}));
  EXPECT_FALSE(BarOf(SB_VERT).shown);
  Scroll(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(ContentOrigin().x, -20);
  EXPECT_EQ(ContentOrigin().y, 0);
  Scroll(WM_HSCROLL, SB_PAGERIGHT);
  EXPECT_EQ(ContentOrigin().x, -40);
  Scroll(WM_HSCROLL, SB_LEFT);
  EXPECT_EQ(ContentOrigin().x, 0);

  // Both bars, then full width again: only the horizontal offset comes back.
  Resize(-40, -50);
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 20);
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 30);
  EXPECT_EQ(ContentOrigin().x, -20);
  Resize(GetSystemMetrics(SM_CXVSCROLL), -50);
  EXPECT_FALSE(BarOf(SB_HORZ).shown);
  EXPECT_TRUE(BarOf(SB_VERT).shown);
  EXPECT_EQ(ContentOrigin().x, 0);
  EXPECT_EQ(ContentOrigin().y, -30);
  // The vertical bar's room leaves the client narrower than the content.
  Resize(0, -50);
  ASSERT_TRUE(BarOf(SB_VERT).shown);
  EXPECT_EQ(DescribeBar(BarOf(SB_HORZ)), DescribeBar(Bar{true, 0, content.cx - 1, ClientWidth(), 0}));
  EXPECT_TRUE(dialog.HorzScrolling());
  EXPECT_EQ(BarOf(SB_VERT).page, ClientHeight());
  // The bar that shows answers: the content moves by the width it lacks.
  Scroll(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(ContentOrigin().x, ClientWidth() - content.cx);
}

TEST(ScrollDialogRequest, ARequestedSizeResizesTheWindowAtInitialisation) {
  struct Case {
    int width, height;
  };
  for (const Case& c : {Case{200, 0}, Case{0, 150}, Case{180, 160}}) {
    ScrollProbe plain;
    HWND unsized = plain.CreateModeless();
    ASSERT_NE(unsized, nullptr);
    const RECT template_ = WindowRect(unsized);
    ScrollProbe probe;
    probe.Request(c.width, c.height);
    HWND window = probe.CreateModeless();
    ASSERT_NE(window, nullptr);
    const RECT r = WindowRect(window);
    const int width = c.width != 0 ? c.width : template_.right - template_.left + GetSystemMetrics(SM_CXVSCROLL);
    const int height = c.height != 0 ? c.height : template_.bottom - template_.top + GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(r.right - r.left, width) << c.width << "x" << c.height;
    EXPECT_EQ(r.bottom - r.top, height) << c.width << "x" << c.height;
    EXPECT_EQ(r.left, template_.left);
    EXPECT_EQ(r.top, template_.top);
    // The content is what the template gave, whatever the new size.
    EXPECT_EQ(probe.ContentHeight(), plain.ContentHeight());
  }
}

TEST(ScrollDialogStylus, DraggingTheThumbToTheEndShowsTheEndOfTheContent) {
  struct Case {
    int templateNumber;
    int marker;
  };
  for (const Case& c : {Case{IDD_SCROLL, IDC_SCROLL_TOP}, Case{IDD_TALL, IDC_TALL_TOP}}) {
    ScrollProbe dialog(c.templateNumber);
    int last = -1;
    int pos = -1;
    int origin = 1;
    WhileModal([&] {
      HWND window = dialog.hwnd;
      const RECT frame = WindowRect(window);
      // 160 pixels of client height, and room for the vertical bar.
      RECT client = ClientRect(window);
      SetWindowPos(window, nullptr, 0, 30, frame.right - frame.left + GetSystemMetrics(SM_CXVSCROLL),
                   frame.bottom - frame.top - client.bottom + 160, SWP_NOZORDER);
      client = ClientRect(window);
      last = dialog.ContentHeight() - client.bottom;
      MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
      // The thumb starts just below the bar's upper arrow.
      const int x = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
      const int y = client.top + GetSystemMetrics(SM_CYVSCROLL) + 2;
      WhileModalScript("drag " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(x) + " " +
                       std::to_string(client.bottom + 40) + "\n");
      WhileModal([&] {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_POS;
        GetScrollInfo(dialog.hwnd, SB_VERT, &info);
        pos = info.nPos;
        origin = RectInParent(GetDlgItem(dialog.hwnd, c.marker)).top;
        EndDialog(dialog.hwnd, IDOK);
      });
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_GT(last, 0);
    EXPECT_EQ(pos, last) << "template " << c.templateNumber;
    EXPECT_EQ(origin, -last) << "template " << c.templateNumber;
  }
}

}  // namespace
}  // namespace dialogtest
