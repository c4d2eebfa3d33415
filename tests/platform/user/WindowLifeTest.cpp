// Creation and destruction of windows: message sequences, failure from
// WM_NCCREATE and WM_CREATE, the dead handle, default placement, the
// non-client area and activation.
#include "Recorder.h"

namespace usertest {
namespace {

using LifeTest = UserTest;

TEST_F(LifeTest, CreationSendsNcCreateCreateSizeMoveWithTheCreationParameter) {
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
}

TEST_F(LifeTest, FailureFromCreateOrNcCreateLeavesNoWindow) {
  HWND made = nullptr;
  reactOnCreate(WM_CREATE, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(-1); });
  reactOnCreate(WM_NCCREATE, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    made = h;
    return DefWindowProcW(h, m, w, l);
  });
  EXPECT_EQ(createTopLevel(), nullptr);
  EXPECT_FALSE(IsWindow(made));
  EXPECT_TRUE(sameSequence(
      {msg(made, WM_NCCREATE), msg(made, WM_CREATE), msg(made, WM_DESTROY), msg(made, WM_NCDESTROY)}, log().entries()));

  reactOnCreate(WM_NCCREATE, [&](HWND h, UINT, WPARAM, LPARAM) {
    made = h;
    return LRESULT(FALSE);
  });
  log().clear();
  EXPECT_EQ(createTopLevel(), nullptr);
  EXPECT_FALSE(IsWindow(made));
  EXPECT_EQ(log().count(made, WM_CREATE), 0u);

  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(createTopLevel(WS_CHILD), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_TLW_WITH_WSCHILD));
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
}

TEST_F(LifeTest, DeadHandleFailsEveryCallAndIsNotReused) {
  HWND top = createTopLevel();
  ASSERT_TRUE(DestroyWindow(top));
  RECT r;
  SetLastError(0);
  EXPECT_FALSE(GetWindowRect(top, &r));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PostMessageW(top, WM_USER, 0, 0));
  EXPECT_FALSE(DestroyWindow(top));
  EXPECT_NE(createTopLevel(), top);
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(LifeTest, DestroyingItselfFromItsOwnHandlersIsSafe) {
  HWND top = createTopLevel();
  react(top, WM_DESTROY, [](HWND h, UINT, WPARAM, LPARAM) {
    DestroyWindow(h);  // again, while being destroyed
    return LRESULT(0);
  });
  react(top, WM_USER, [](HWND h, UINT, WPARAM, LPARAM) {
    DestroyWindow(h);
    SetWindowTextW(h, u"gone");  // the handle is dead; nothing happens
    return LRESULT(7);
  });
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 7);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(log().count(top, WM_NCDESTROY), 1u);
}

TEST_F(LifeTest, DefaultPlacementFillsTheVisibleDesktop) {
  const struct { int cx, cy; RECT want; } cases[] = {
      {CW_USEDEFAULT, 0, {0, 26, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}},
      {100, 50, {0, 26, 100, 76}}};
  for (const auto& c : cases) {
    HWND top = CreateWindowExW(0, kRecorderClass, u"", 0, CW_USEDEFAULT, CW_USEDEFAULT, c.cx, c.cy, nullptr, nullptr,
                               nullptr, nullptr);
    RECT r = screenRect(top);
    EXPECT_TRUE(EqualRect(&r, &c.want)) << c.cx;
  }
}

TEST_F(LifeTest, NonClientPartsTakeTheirPixelsFromTheClientArea) {
  const struct { DWORD style, exStyle; RECT client; } cases[] = {  // client: of a 100 x 100 window
      {0, 0, {0, 0, 100, 100}},
      {WS_BORDER, 0, {0, 0, 98, 98}},
      {0, WS_EX_CLIENTEDGE, {0, 0, 96, 96}},
      {WS_VSCROLL, 0, {0, 0, 87, 100}},
      {WS_HSCROLL | WS_VSCROLL, 0, {0, 0, 87, 87}},
      {WS_POPUP | WS_CAPTION, 0, {0, 0, 98, 72}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << c.exStyle);
    HWND w = CreateWindowExW(c.exStyle, kRecorderClass, u"", c.style, 0, 30, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    RECT r;
    GetClientRect(w, &r);
    EXPECT_TRUE(EqualRect(&r, &c.client)) << r.right << "x" << r.bottom;
    DestroyWindow(w);
  }
}

TEST_F(LifeTest, AVisibleTopLevelWindowIsActivatedAndDestroyingItActivatesItsOwner) {
  HWND main = createTopLevel();
  HWND other = createTopLevel();
  EXPECT_EQ(GetFocus(), other);
  createTopLevel(0);
  EXPECT_EQ(GetActiveWindow(), other) << "a hidden window is not activated";
  HWND popup = createTopLevel(WS_VISIBLE | WS_POPUP, {20, 40, 100, 100}, main);
  ASSERT_EQ(GetActiveWindow(), popup);
  DestroyWindow(popup);
  EXPECT_EQ(GetActiveWindow(), main);
  DestroyWindow(main);
  EXPECT_EQ(GetActiveWindow(), other);
  DestroyWindow(other);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace
}  // namespace usertest
