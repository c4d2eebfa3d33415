// Creation and destruction of windows: message sequences, failure from
// WM_NCCREATE and WM_CREATE, the dead handle, default placement and the
// non-client area.
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
  HWND top = createTopLevel(0, {10, 40, 110, 140}, nullptr, kRecorderClass, &token);
  ASSERT_TRUE(top);
  EXPECT_EQ(seen, &token);
  EXPECT_TRUE(sameSequence({msg(top, WM_NCCREATE), msg(top, WM_CREATE), msgWL(top, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100)),
                            msgWL(top, WM_MOVE, 0, MAKELPARAM(10, 40))},
                           log().entries()));
  WCHAR text[16];
  EXPECT_EQ(GetWindowTextW(top, text, 16), 3);
  EXPECT_EQ(std::u16string(text), u"top");
}

TEST_F(LifeTest, CreateResultMinusOneDestroysTheWindowAndFails) {
  reactOnCreate(WM_CREATE, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(-1); });
  HWND made = nullptr;
  reactOnCreate(WM_NCCREATE, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    made = h;
    return DefWindowProcW(h, m, w, l);
  });
  EXPECT_EQ(createTopLevel(), nullptr);
  ASSERT_TRUE(made);
  EXPECT_FALSE(IsWindow(made));
  EXPECT_TRUE(sameSequence({msg(made, WM_NCCREATE), msg(made, WM_CREATE), msg(made, WM_DESTROY), msg(made, WM_NCDESTROY)},
                           log().entries()));
}

TEST_F(LifeTest, FalseFromNcCreateFailsWithoutCreate) {
  HWND made = nullptr;
  reactOnCreate(WM_NCCREATE, [&](HWND h, UINT, WPARAM, LPARAM) {
    made = h;
    return LRESULT(FALSE);
  });
  EXPECT_EQ(createTopLevel(), nullptr);
  EXPECT_FALSE(IsWindow(made));
  EXPECT_EQ(log().count(made, WM_CREATE), 0u);
}

TEST_F(LifeTest, UnknownClassAndChildWithoutParentFail) {
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(CreateWindowExW(0, kRecorderClass, u"", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_TLW_WITH_WSCHILD));
}

TEST_F(LifeTest, DestroyGoesOwnedFirstThenParentBeforeChildrenThenNcDestroyChildrenFirst) {
  HWND top = createTopLevel();
  HWND owned = createTopLevel(WS_VISIBLE, {20, 40, 100, 100}, top);
  HWND a = createChild(top, 1, {0, 0, 50, 50});
  HWND a1 = createChild(a, 11, {0, 0, 10, 10});
  HWND b = createChild(top, 2, {60, 0, 100, 50});
  log().clear();
  EXPECT_TRUE(DestroyWindow(top));
  EXPECT_TRUE(sameSequence({msg(owned, WM_DESTROY), msg(owned, WM_NCDESTROY), msg(top, WM_DESTROY), msg(a, WM_DESTROY),
                            msg(a1, WM_DESTROY), msg(b, WM_DESTROY), msg(a1, WM_NCDESTROY), msg(a, WM_NCDESTROY),
                            msg(b, WM_NCDESTROY), msg(top, WM_NCDESTROY)},
                           log().only({WM_DESTROY, WM_NCDESTROY})));
  for (HWND h : {top, owned, a, a1, b}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(LifeTest, DeadHandleFailsEveryCallAndSecondDestroyIsHarmless) {
  HWND top = createTopLevel();
  ASSERT_TRUE(DestroyWindow(top));
  RECT r;
  SetLastError(0);
  EXPECT_FALSE(GetWindowRect(top, &r));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(PostMessageW(top, WM_USER, 0, 0));
  EXPECT_FALSE(DestroyWindow(top));
  // A new window does not take over the old handle.
  HWND next = createTopLevel();
  EXPECT_NE(next, top);
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

TEST_F(LifeTest, PostedMessagesAndTimersOfADestroyedWindowDie) {
  HWND top = createTopLevel(0);
  PostMessageW(top, WM_USER, 0, 0);
  SetTimer(top, 1, 0, nullptr);
  DestroyWindow(top);
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(LifeTest, DefaultPlacementFillsTheVisibleDesktop) {
  HWND top = CreateWindowExW(0, kRecorderClass, u"", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0, nullptr,
                             nullptr, nullptr, nullptr);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 26);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  HWND sized = CreateWindowExW(0, kRecorderClass, u"", 0, CW_USEDEFAULT, CW_USEDEFAULT, 100, 50, nullptr, nullptr,
                               nullptr, nullptr);
  GetWindowRect(sized, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 26);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 76);
}

TEST_F(LifeTest, NonClientPartsTakeTheirPixelsFromTheClientArea) {
  struct Case {
    DWORD style;
    DWORD exStyle;
    RECT client;  // for a 100 x 100 window
  };
  const Case cases[] = {
      {0, 0, {0, 0, 100, 100}},
      {WS_BORDER, 0, {0, 0, 98, 98}},
      {0, WS_EX_CLIENTEDGE, {0, 0, 96, 96}},
      {WS_BORDER, WS_EX_CLIENTEDGE, {0, 0, 94, 94}},
      {WS_VSCROLL, 0, {0, 0, 87, 100}},
      {WS_HSCROLL | WS_VSCROLL, 0, {0, 0, 87, 87}},
      {WS_POPUP | WS_CAPTION, 0, {0, 0, 98, 72}},
  };
  for (const Case& c : cases) {
    HWND w = CreateWindowExW(c.exStyle, kRecorderClass, u"", c.style, 0, 30, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    RECT r;
    GetClientRect(w, &r);
    EXPECT_TRUE(EqualRect(&r, &c.client)) << std::hex << c.style << " " << c.exStyle << ": " << r.right << "x"
                                          << r.bottom;
    RECT adjusted = c.client;
    AdjustWindowRectEx(&adjusted, c.style & ~(WS_VSCROLL | WS_HSCROLL), FALSE, c.exStyle);
    if (!(c.style & (WS_VSCROLL | WS_HSCROLL))) {
      EXPECT_EQ(adjusted.right - adjusted.left, 100);
    }
    DestroyWindow(w);
  }
}

TEST_F(LifeTest, VisibleTopLevelWindowIsShownAndActivated) {
  HWND top = createTopLevel(WS_VISIBLE);
  EXPECT_TRUE(IsWindowVisible(top));
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetForegroundWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  HWND hidden = createTopLevel(0);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(LifeTest, DestroyingTheActiveWindowActivatesItsOwner) {
  HWND main = createTopLevel();
  HWND other = createTopLevel();
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
