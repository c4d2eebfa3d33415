// The dialog procedure protocol and modal runs: what a procedure sees before and at WM_INITDIALOG (its answers are
// the framework's, DialogProcTest), keys and taps during a run, and a quit ending it.
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
};

Expect command(HWND dialog, WORD id, WORD code) { return msgW(dialog, WM_COMMAND, MAKEWPARAM(id, code)); }

TEST_F(ScriptedDialogTest, InitDialogFollowsTheFontAndARunTurnsKeysIntoCommandsKeepsTapsFromTheOwnerAndEndsOnQuit) {
  HWND owner = createTopLevel(WS_VISIBLE);
  HWND made = nullptr;
  HWND firstTabStop = nullptr;
  WPARAM font = 0;
  answers[WM_INITDIALOG] = [&](HWND dialog, WPARAM, LPARAM) {
    made = dialog;
    firstTabStop = GetDlgItem(dialog, IDC_TEST_BUTTON);
    font = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    EndDialog(dialog, 7);
    return INT_PTR(TRUE);
  };
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), owner, scriptedProc, 0xC0FFEE), 7);
  // The procedure takes over once the window exists: creation is not its.
  EXPECT_TRUE(sameSequence({msgW(made, WM_SETFONT, font),
                            msgWL(made, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), 0xC0FFEE)},
                           seen.only({WM_NCCREATE, WM_CREATE, WM_SETFONT, WM_INITDIALOG, WM_SHOWWINDOW})));

  // In a run Close, Enter and Escape come as commands, taps miss the owner, and a quit ends it giving the
  // focus back (disabling the owner and EndDialog's value are the framework's DialogProc test).
  answers.clear();
  HWND field = createChild(owner, 5, {10, 10, 100, 30}, WS_VISIBLE);
  SetFocus(field);
  answers[WM_COMMAND] = [](HWND, WPARAM, LPARAM) { return INT_PTR(TRUE); };
  HWND dialog = nullptr;
  whileModal([&] {
    dialog = GetActiveWindow();
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_TEST_BUTTON)) << "WM_INITDIALOG said TRUE: the first tab stop";
    tap(236, 290);  // on the owner; taps on labels are the framework's DialogProcTest
    SetFocus(GetDlgItem(dialog, IDC_TEST_CHECK));  // not a push button
    press(VK_RETURN);
    press(VK_ESCAPE);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  whileModal([] { PostQuitMessage(5); });
  log().clear();
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), field, scriptedProc, 0), 0);
  EXPECT_EQ(log().count(owner, WM_LBUTTONDOWN), 0u);
  // Close, posted, comes before the input; it and Escape are Cancel, Enter the default push button's.
  EXPECT_TRUE(sameSequence({command(dialog, IDCANCEL, BN_CLICKED), command(dialog, IDOK, BN_CLICKED),
                            command(dialog, IDCANCEL, BN_CLICKED)},
                           seen.only({WM_COMMAND})));
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetFocus(), field);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(std::make_pair(msg.message, msg.wParam), std::make_pair(UINT(WM_QUIT), WPARAM(5))) << "posted again";
}

}  // namespace
}  // namespace usertest
