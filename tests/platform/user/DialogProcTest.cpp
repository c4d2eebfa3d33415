// The dialog procedure protocol and modal runs: what a procedure sees
// before and at WM_INITDIALOG, how its results become answers, a run that
// disables its owner and ends with EndDialog's value, quitting, and input
// reaching a modal dialog.
#include <map>

#include "DialogTestSupport.h"
#include "Recorder.h"
#include "dialog_templates.h"

namespace usertest {
namespace {

// What the test's dialog procedure saw, and how it answers.
Log seen;
std::map<UINT, std::function<INT_PTR(HWND, WPARAM, LPARAM)>> answers;

INT_PTR CALLBACK scriptedProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  seen.add({dialog, msg, wParam, lParam});
  auto found = answers.find(msg);
  if (found != answers.end()) return found->second(dialog, wParam, lParam);
  return msg == WM_INITDIALOG;
}

class ScriptedDialogTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    seen.clear();
    answers.clear();
  }
  void TearDown() override {
    answers.clear();
    UserTest::TearDown();
  }
};

Expect command(HWND dialog, WORD id, WORD code) { return msgW(dialog, WM_COMMAND, MAKEWPARAM(id, code)); }

void tapCentreOf(HWND hwnd) {
  RECT r = screenRect(hwnd);
  tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST_F(ScriptedDialogTest, FontComesBeforeInitDialogWhichCarriesTheParameterAndTheFirstTabStop) {
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), nullptr, scriptedProc, 0xC0FFEE);
  ASSERT_TRUE(dialog);
  // The procedure takes over once the window exists: creation is not its.
  EXPECT_TRUE(sameSequence({msgW(dialog, WM_SETFONT, static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0))),
                            msgWL(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_TEST_BUTTON)),
                                  0xC0FFEE)},
                           seen.only({WM_NCCREATE, WM_CREATE, WM_SETFONT, WM_INITDIALOG})));
  DestroyWindow(dialog);
}

TEST_F(ScriptedDialogTest, ResultsAreAnswersForSomeMessagesAndTheMessageResultForOthers) {
  HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
  answers[WM_CTLCOLORSTATIC] = [&](HWND, WPARAM, LPARAM) { return reinterpret_cast<INT_PTR>(brush); };
  answers[WM_QUERYDRAGICON] = [](HWND, WPARAM, LPARAM) { return INT_PTR(77); };
  answers[WM_COMPAREITEM] = [](HWND, WPARAM, LPARAM) { return INT_PTR(-1); };
  answers[WM_NOTIFY] = [](HWND dialog, WPARAM, LPARAM) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1234);
    return INT_PTR(TRUE);
  };
  answers[WM_USER + 7] = [](HWND dialog, WPARAM, LPARAM) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 99);  // not handled: ignored
    return INT_PTR(FALSE);
  };
  answers[DM_GETDEFID] = [](HWND, WPARAM, LPARAM) { return INT_PTR(FALSE); };
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), nullptr, scriptedProc, 0);
  ASSERT_TRUE(dialog);
  HDC hdc = GetDC(dialog);
  const struct { UINT msg; WPARAM wParam; LRESULT answer; } table[] = {
      {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LRESULT>(brush)},
      {WM_QUERYDRAGICON, 0, 77},
      {WM_COMPAREITEM, 0, -1},
      {WM_NOTIFY, 0, 1234},
      {WM_USER + 7, 0, 0},
      {DM_GETDEFID, 0, MAKELRESULT(IDOK, DC_HASDEFID)},  // the default processing answers
  };
  for (const auto& row : table)
    EXPECT_EQ(SendMessageW(dialog, row.msg, row.wParam, 0), row.answer) << std::hex << row.msg;
  ReleaseDC(dialog, hdc);
  DestroyWindow(dialog);
}

TEST_F(ScriptedDialogTest, ModalRunDisablesTheOwnerAndEndsWithEndDialogsValue) {
  HWND owner = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  HWND field = createChild(owner, 5, {10, 10, 100, 30}, WS_VISIBLE);
  SetFocus(field);
  bool ownerEnabled = true, visible = false;
  HWND active = nullptr, focus = nullptr, dialog = nullptr, firstTabStop = nullptr;
  whileModal([&] {
    dialog = GetActiveWindow();
    firstTabStop = GetDlgItem(dialog, IDC_TEST_BUTTON);
    ownerEnabled = IsWindowEnabled(owner) != FALSE;
    visible = IsWindowVisible(dialog) != FALSE;
    active = GetActiveWindow();
    focus = GetFocus();
    EndDialog(dialog, 42);
  });
  INT_PTR result = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), field, scriptedProc, 0);
  EXPECT_EQ(result, 42);
  ASSERT_TRUE(dialog);
  EXPECT_NE(dialog, owner);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(visible);
  EXPECT_EQ(active, dialog);
  EXPECT_EQ(focus, firstTabStop);  // WM_INITDIALOG said TRUE
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);  // a child given as owner stands for its top-level window
  EXPECT_EQ(GetFocus(), field);
}

TEST_F(ScriptedDialogTest, EndingInInitDialogReturnsWithoutShowingAndQuitEndsTheRun) {
  HWND owner = createTopLevel(WS_VISIBLE);
  answers[WM_INITDIALOG] = [](HWND dialog, WPARAM, LPARAM) {
    EndDialog(dialog, 7);
    return INT_PTR(TRUE);
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_KEYS), owner, scriptedProc, 0), 7);
  EXPECT_TRUE(seen.only({WM_SHOWWINDOW}).empty());
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);

  answers.clear();
  HWND dialog = nullptr;
  whileModal([&] {
    dialog = GetActiveWindow();
    PostQuitMessage(5);
  });
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_KEYS), owner, scriptedProc, 0), 0);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT)) << "the quit is posted again";
  EXPECT_EQ(msg.wParam, 5u);
  EXPECT_FALSE(EndDialog(owner, 1)) << "not a dialog";
  EXPECT_FALSE(EndDialog(dialog, 1)) << "a dialog gone";
}

TEST_F(ScriptedDialogTest, StylusReachesTheDialogButNotItsDisabledOwner) {
  HWND owner = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  answers[WM_COMMAND] = [](HWND dialog, WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
    return INT_PTR(TRUE);
  };
  HWND dialog = nullptr;
  whileModal([&] {
    dialog = GetActiveWindow();
    // Taps on the owner, then on the static labels, the unnamed one after the check box, then OK.
    tap(236, 290);
    tapCentreOf(GetDlgItem(dialog, IDC_TEST_NOTIFY));
    tapCentreOf(GetWindow(GetDlgItem(dialog, IDC_TEST_CHECK), GW_HWNDNEXT));
    tapCentreOf(GetDlgItem(dialog, IDOK));
  });
  log().clear();
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), owner, scriptedProc, 0), IDOK);
  EXPECT_EQ(log().count(owner, WM_LBUTTONDOWN), 0u);
  EXPECT_TRUE(sameSequence({command(dialog, IDC_TEST_NOTIFY, STN_CLICKED), command(dialog, 0xFFFF, STN_CLICKED),
                            command(dialog, IDOK, BN_CLICKED)},
                           seen.only({WM_COMMAND})));
}

TEST_F(ScriptedDialogTest, EnterEscapeAndCloseReachTheProcedureAsCommands) {
  HWND owner = createTopLevel(WS_VISIBLE);
  answers[WM_COMMAND] = [](HWND, WPARAM, LPARAM) { return INT_PTR(TRUE); };
  HWND dialog = nullptr;
  whileModal([&] {
    dialog = GetActiveWindow();
    SetFocus(GetDlgItem(dialog, IDC_TEST_CHECK));  // not a push button
    press(VK_RETURN);
    press(VK_ESCAPE);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  whileModal([&] { EndDialog(dialog, 3); });
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), owner, scriptedProc, 0), 3);
  // Close, posted, comes before the keys' input; it and Escape are Cancel, Enter the default push button's.
  EXPECT_TRUE(sameSequence({command(dialog, IDCANCEL, BN_CLICKED), command(dialog, IDOK, BN_CLICKED),
                            command(dialog, IDCANCEL, BN_CLICKED)},
                           seen.only({WM_COMMAND})));
}

TEST_F(ScriptedDialogTest, NestedRunGivesTheOuterDialogItsFocusBack) {
  HWND owner = createTopLevel(WS_VISIBLE);
  HWND outer = nullptr, inner = nullptr, outerFocusAfter = nullptr, check = nullptr;
  bool outerEnabledDuring = true;
  whileModal([&] {
    outer = GetActiveWindow();
    check = GetDlgItem(outer, IDC_TEST_CHECK);
    SetFocus(check);
    whileModal([&] {
      inner = GetActiveWindow();
      outerEnabledDuring = IsWindowEnabled(outer) != FALSE;
      EndDialog(inner, 2);
    });
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_KEYS), outer, scriptedProc, 0);
    outerFocusAfter = GetFocus();
    EndDialog(outer, 1);
  });
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), owner, scriptedProc, 0), 1);
  EXPECT_NE(inner, outer);
  EXPECT_FALSE(outerEnabledDuring);
  EXPECT_EQ(outerFocusAfter, check);
  EXPECT_EQ(GetActiveWindow(), owner);
}

}  // namespace
}  // namespace usertest
