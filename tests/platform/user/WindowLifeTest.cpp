// Creation and destruction of windows: message sequences, failures, the dead
// handle, placement, z-order and the non-client area (activation is InputTest's; window
// words, procedures, text and classes the framework's, CeWndTest).
#include "Recorder.h"

namespace usertest {
namespace {

using LifeTest = UserTest;

TEST_F(LifeTest, CreationSendsNcCreateCreateSizeMoveWithTheCreationParameterAndAFailureInEitherLeavesNoWindow) {
  int token = 42;
  LPVOID seen = nullptr;
  reactOnCreate(WM_CREATE, [&](HWND, UINT, WPARAM, LPARAM l) {
    seen = reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams;
    return LRESULT(0);
  });
  // Size and position are the client area's, inside the border.
  HWND top = createTopLevel(WS_BORDER, {10, 40, 110, 140}, nullptr, kRecorderClass, &token);
  ASSERT_TRUE(top);
  EXPECT_EQ(seen, &token);
  EXPECT_TRUE(sameSequence({msg(top, WM_NCCREATE), msg(top, WM_CREATE),
                            msgWL(top, WM_SIZE, SIZE_RESTORED, MAKELPARAM(98, 98)),
                            msgWL(top, WM_MOVE, 0, MAKELPARAM(11, 41))},
                           log().entries()));

  // A failure from WM_CREATE or WM_NCCREATE leaves no window.
  HWND made = nullptr;
  for (LRESULT ncCreate : {TRUE, FALSE}) {
    reactOnCreate(WM_CREATE, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(-1); });
    reactOnCreate(WM_NCCREATE, [&, ncCreate](HWND h, UINT m, WPARAM w, LPARAM l) {
      made = h;
      return ncCreate ? DefWindowProcW(h, m, w, l) : LRESULT(FALSE);
    });
    log().clear();
    EXPECT_EQ(createTopLevel(), nullptr);
    EXPECT_FALSE(IsWindow(made));
    if (ncCreate) {
      EXPECT_TRUE(sameSequence({msg(made, WM_NCCREATE), msg(made, WM_CREATE), msg(made, WM_DESTROY),
                                msg(made, WM_NCDESTROY)}, log().entries()));
    } else {
      EXPECT_EQ(log().count(made, WM_CREATE), 0u);
    }
  }
}

TEST_F(LifeTest, DestroyGoesOwnedFirstThenParentBeforeChildrenThenNcDestroyChildrenFirst) {
  HWND top = createTopLevel();
  HWND owned = createTopLevel(WS_VISIBLE, {20, 40, 100, 100}, top);
  HWND a = createChild(top, 1, {0, 0, 50, 50});
  HWND a1 = createChild(a, 11, {0, 0, 10, 10});
  HWND b = createChild(top, 2, {60, 0, 100, 50});
  PostMessageW(a1, WM_USER, 0, 0);
  SetTimer(a1, 1, 0, nullptr);
  log().clear();
  EXPECT_TRUE(DestroyWindow(top));
  EXPECT_TRUE(sameSequence({msg(owned, WM_DESTROY), msg(owned, WM_NCDESTROY), msg(top, WM_DESTROY), msg(a, WM_DESTROY),
                            msg(a1, WM_DESTROY), msg(b, WM_DESTROY), msg(a1, WM_NCDESTROY), msg(a, WM_NCDESTROY),
                            msg(b, WM_NCDESTROY), msg(top, WM_NCDESTROY)},
                           log().only({WM_DESTROY, WM_NCDESTROY})));
  for (HWND h : {top, owned, a, a1, b}) EXPECT_FALSE(IsWindow(h));
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) << "their messages and timers die with them";

  // The dead handle fails every call and is not reused.
  RECT r;
  SetLastError(0);
  EXPECT_FALSE(GetWindowRect(top, &r));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageW(top, WM_USER, 0, 0));
  EXPECT_FALSE(DestroyWindow(top));
  EXPECT_NE(createTopLevel(), top);

  // Destroying itself from its own handlers, even twice, is safe.
  HWND self = createTopLevel();
  react(self, WM_DESTROY, [](HWND h, UINT, WPARAM, LPARAM) { return LRESULT(DestroyWindow(h)); });
  react(self, WM_USER, [](HWND h, UINT, WPARAM, LPARAM) {
    DestroyWindow(h);
    SetWindowTextW(h, u"gone");
    return LRESULT(7);
  });
  EXPECT_EQ(SendMessageW(self, WM_USER, 0, 0), 7);
  EXPECT_FALSE(IsWindow(self));
  EXPECT_EQ(log().count(self, WM_NCDESTROY), 1u);
}

TEST_F(LifeTest, PlacementAndNonClientPartsGiveTheClientArea) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  const struct { DWORD style, exStyle; int x, cx, cy; RECT window, client; } cases[] = {
      {0, 0, CW_USEDEFAULT, CW_USEDEFAULT, 0, {0, 26, cx, cy}, {0, 0, cx, cy - 26}},  // the visible desktop
      {0, 0, CW_USEDEFAULT, 100, 50, {0, 26, 100, 76}, {0, 0, 100, 50}},
      {WS_BORDER, 0, 0, 100, 100, {0, 30, 100, 130}, {0, 0, 98, 98}},
      {0, WS_EX_CLIENTEDGE, 0, 100, 100, {0, 30, 100, 130}, {0, 0, 96, 96}},
      {WS_VSCROLL, 0, 0, 100, 100, {0, 30, 100, 130}, {0, 0, 87, 100}},
      {WS_HSCROLL | WS_VSCROLL, 0, 0, 100, 100, {0, 30, 100, 130}, {0, 0, 87, 87}},
      {WS_POPUP | WS_CAPTION, 0, 0, 100, 100, {0, 30, 100, 130}, {0, 0, 98, 72}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << c.exStyle << " " << c.cx);
    HWND w = CreateWindowExW(c.exStyle, kRecorderClass, u"", c.style, c.x, c.x == 0 ? 30 : CW_USEDEFAULT, c.cx, c.cy,
                             nullptr, nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_TRUE(sameRect(c.window, screenRect(w)));
    EXPECT_TRUE(sameRect(c.client, client));
    DestroyWindow(w);
  }
}

TEST_F(LifeTest, SetWindowPosRestacksAmongSiblingsAndTheDesktopListsTheTopmostFirst) {
  HWND a = createTopLevel();
  HWND b = createTopLevel();
  HWND c = createTopLevel();
  const struct { HWND window, after; std::vector<HWND> order; } steps[] = {
      {c, HWND_BOTTOM, {b, a, c}}, {c, HWND_BOTTOM, {b, a, c}}, {a, b, {b, a, c}}, {b, c, {a, c, b}},
      {b, b, {a, c, b}}, {b, HWND_TOP, {b, a, c}}, {a, GetDesktopWindow(), {b, a, c}},  // not a sibling
  };
  for (const auto& s : steps) {
    EXPECT_TRUE(SetWindowPos(s.window, s.after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
    EXPECT_EQ(order, s.order) << &s - steps;
  }
  EXPECT_FALSE(SetWindowPos(GetDesktopWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace usertest
