// The standard controls of this stage ("static" and "button"), dialog
// keyboard handling, default processing and the tree of windows.
#include "Recorder.h"

namespace usertest {
namespace {

using ControlsTest = UserTest;

HWND control(HWND parent, const char16_t* cls, const char16_t* text, DWORD style, int id, RECT r) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

std::vector<Entry> commands() { return log().only({WM_COMMAND}); }

TEST_F(ControlsTest, StaticWithNotifyReportsTapsAndPaintsWithTheParentsColour) {
  HWND top = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  HWND label = control(top, WC_STATIC, u"Name:", SS_NOTIFY, 0xFFFF, {10, 10, 100, 30});
  HWND plain = control(top, WC_STATIC, u"Size:", 0, 9, {10, 40, 100, 60});
  pump();
  log().clear();
  tap(20, 46);  // label
  tap(20, 76);  // plain
  pump();
  EXPECT_TRUE(sameSequence({msgWL(top, WM_COMMAND, MAKEWPARAM(0xFFFF, STN_CLICKED), reinterpret_cast<LPARAM>(label))},
                           commands()));
  log().clear();
  InvalidateRect(plain, nullptr, TRUE);
  UpdateWindow(plain);
  auto asked = log().only({WM_CTLCOLORSTATIC});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].hwnd, top);
  EXPECT_EQ(asked[0].lParam, reinterpret_cast<LPARAM>(plain));
  WCHAR text[16];
  GetWindowTextW(label, text, 16);
  EXPECT_EQ(std::u16string(text), u"Name:");
  EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(ControlsTest, StaticKeepsItsIconAndFont) {
  HWND top = createTopLevel(WS_VISIBLE);
  HWND icon = control(top, WC_STATIC, nullptr, SS_ICON, 1, {0, 0, 32, 32});
  auto first = reinterpret_cast<HICON>(0x4001);
  auto second = reinterpret_cast<HICON>(0x4002);
  EXPECT_EQ(SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(first), 0), 0);
  EXPECT_EQ(SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(second), 0), reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(SendMessageW(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(second));
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  SendMessageW(icon, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(SendMessageW(icon, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  DestroyWindow(top);
  DeleteObject(font);
}

TEST_F(ControlsTest, PushButtonShowsPushedWhileHeldAndClicksOnlyWhenReleasedInside) {
  HWND top = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  HWND button = control(top, WC_BUTTON, u"OK", BS_PUSHBUTTON, IDOK, {10, 10, 70, 30});
  pump();
  log().clear();
  stylus(display::InputEvent::Type::StylusDown, 20, 40);
  pump();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(GetFocus(), button);
  stylus(display::InputEvent::Type::StylusMove, 200, 200);  // off the button: shown released
  pump();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  stylus(display::InputEvent::Type::StylusUp, 200, 200);
  pump();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(GetCapture(), nullptr);
  tap(20, 40);
  pump();
  EXPECT_TRUE(sameSequence({msgWL(top, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button))},
                           commands()));
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_FOCUS);
  EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  // Space presses it too.
  log().clear();
  key(VK_SPACE, true);
  key(VK_SPACE, false);
  pump();
  EXPECT_EQ(commands().size(), 1u);
}

TEST_F(ControlsTest, CheckBoxesAndRadioGroupsKeepTheirState) {
  HWND top = createTopLevel(WS_VISIBLE);
  HWND check = control(top, WC_BUTTON, u"Bold", BS_AUTOCHECKBOX, 1, {0, 0, 80, 20});
  HWND manual = control(top, WC_BUTTON, u"Manual", BS_CHECKBOX, 2, {0, 20, 80, 40});
  HWND r1 = control(top, WC_BUTTON, u"A", BS_AUTORADIOBUTTON | WS_GROUP, 3, {0, 40, 80, 60});
  HWND r2 = control(top, WC_BUTTON, u"B", BS_AUTORADIOBUTTON, 4, {0, 60, 80, 80});
  HWND r3 = control(top, WC_BUTTON, u"C", BS_AUTORADIOBUTTON, 5, {0, 80, 80, 100});
  HWND other = control(top, WC_BUTTON, u"X", BS_AUTORADIOBUTTON | WS_GROUP, 6, {0, 100, 80, 120});
  HWND push = control(top, WC_BUTTON, u"Go", BS_DEFPUSHBUTTON, 7, {100, 0, 160, 20});

  SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(manual, BM_CLICK, 0, 0);  // a plain check box only reports the click
  EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(manual, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_CHECKED);

  SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(r1, BM_CLICK, 0, 0);
  SendMessageW(r3, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(r1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(r2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(r3, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), BST_CHECKED);  // another group
  EXPECT_TRUE(GetWindowLongW(r3, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongW(r1, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(SendMessageW(r1, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);

  EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  SendMessageW(push, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongW(push, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  SendMessageW(push, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  EnableWindow(push, FALSE);
  log().clear();
  SendMessageW(push, BM_CLICK, 0, 0);  // a disabled button does not click
  EXPECT_TRUE(commands().empty());
}

TEST_F(ControlsTest, DialogMessagesAreOnlyTakenForTheDialogAndItsControls) {
  HWND dialog = createTopLevel(WS_VISIBLE);
  HWND first = control(dialog, WC_BUTTON, u"One", BS_PUSHBUTTON | WS_TABSTOP, 10, {0, 0, 50, 20});
  control(dialog, WC_STATIC, u"label", 0, 11, {0, 30, 50, 50});
  HWND third = control(dialog, WC_BUTTON, u"Two", BS_DEFPUSHBUTTON | WS_TABSTOP, 12, {0, 60, 50, 80});
  HWND elsewhere = createTopLevel(WS_VISIBLE);
  MSG m{elsewhere, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageW(dialog, &m));

  SetFocus(first);
  log().clear();
  MSG tab{first, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &tab));
  EXPECT_EQ(GetFocus(), third);
  EXPECT_TRUE(IsDialogMessageW(dialog, &tab));
  EXPECT_EQ(GetFocus(), first);  // wraps around
  SetFocus(nullptr);
  MSG enter{dialog, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
  MSG escape{dialog, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &escape));
  EXPECT_TRUE(sameSequence({msgWL(dialog, WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), reinterpret_cast<LPARAM>(third)),
                            msgWL(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0)},
                           commands()));
  // Without a default button Enter means IDOK.
  DestroyWindow(third);
  log().clear();
  EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
  EXPECT_TRUE(sameSequence({msgWL(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0)}, commands()));
  // Anything else is dispatched to its window.
  log().clear();
  MSG user{first, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &user));
  EXPECT_EQ(GetDlgItem(dialog, 10), first);
  EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
}

TEST_F(ControlsTest, DefaultProcessingClosesErasesAndColours) {
  HWND top = createTopLevel(WS_VISIBLE);
  HDC hdc = GetDC(top);
  EXPECT_EQ(DefWindowProcW(top, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), 0),
            reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_STATIC)));
  EXPECT_EQ(GetTextColor(hdc), GetSysColor(COLOR_STATICTEXT));
  EXPECT_EQ(DefWindowProcW(top, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), 0),
            reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
  EXPECT_EQ(DefWindowProcW(top, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0), 1);
  ReleaseDC(top, hdc);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(DefWindowProcW(top, WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.top + 5)), HTCLIENT);
  EXPECT_EQ(DefWindowProcW(top, WM_NCHITTEST, 0, MAKELPARAM(r.right + 5, r.top + 5)), HTNOWHERE);
  HWND child = createChild(top, 1, {0, 0, 10, 10});
  react(top, WM_MOUSEACTIVATE, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(MA_NOACTIVATE); });
  EXPECT_EQ(DefWindowProcW(child, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  SendMessageW(top, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(top));

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"NoBrush";
  RegisterClassW(&wc);
  HWND bare = CreateWindowExW(0, u"NoBrush", u"", WS_VISIBLE, 0, 26, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HDC bareDc = GetDC(bare);
  EXPECT_EQ(DefWindowProcW(bare, WM_ERASEBKGND, reinterpret_cast<WPARAM>(bareDc), 0), 0);
  ReleaseDC(bare, bareDc);
  DestroyWindow(bare);
  UnregisterClassW(u"NoBrush", nullptr);
}

TEST_F(ControlsTest, ZOrderIsEnumeratedFromTheDesktopAndChangedBySetWindowPos) {
  HWND a = createTopLevel(WS_VISIBLE);
  HWND b = createTopLevel(WS_VISIBLE);
  HWND c = createTopLevel(WS_VISIBLE);
  std::vector<HWND> order;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
  EXPECT_EQ(order, (std::vector<HWND>{c, b, a}));
  SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  std::vector<HWND> enumerated;
  EnumWindows(
      [](HWND w, LPARAM p) {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&enumerated));
  EXPECT_EQ(enumerated, (std::vector<HWND>{b, a, c}));
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
  EXPECT_EQ(GetWindow(c, GW_HWNDFIRST), b);
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), b);
  BringWindowToTop(c);
  EXPECT_EQ(GetTopWindow(nullptr), c);
  // Children keep their creation order.
  HWND first = createChild(a, 1, {0, 0, 5, 5});
  HWND second = createChild(a, 2, {0, 0, 5, 5});
  EXPECT_EQ(GetWindow(a, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_TRUE(IsChild(a, second));
  EXPECT_FALSE(IsChild(b, second));
  EXPECT_EQ(FindWindowW(kRecorderClass, u"top"), c);
  SetWindowTextW(a, u"Vantor");
  EXPECT_EQ(FindWindowW(u"RECORDER", u"Vantor"), a);
}

}  // namespace
}  // namespace usertest
