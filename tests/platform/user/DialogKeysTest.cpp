// The keyboard of dialogs and their controls by id: the tab order, groups
// and arrows, Enter and the default button, Escape, the keys a control
// asks for, WM_NEXTDLGCTL, and the texts, numbers and checks of controls.
#include <climits>

#include "DialogTestSupport.h"
#include "Recorder.h"
#include "dialog_templates.h"

namespace usertest {
namespace {

std::vector<std::pair<WORD, HWND>> commands;

INT_PTR CALLBACK keysProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) {
    commands.push_back({LOWORD(wParam), reinterpret_cast<HWND>(lParam)});
    return TRUE;
  }
  return msg == WM_INITDIALOG;
}

class DialogKeysTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    commands.clear();
    dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_KEYS), nullptr, keysProc, 0);
    ASSERT_TRUE(dialog);
    ShowWindow(dialog, SW_SHOW);
  }

  HWND item(int id) const { return GetDlgItem(dialog, id); }

  // Presses a key as a person would and lets the dialog take it.
  void press(UINT vk, bool shift = false) {
    key(vk, true, shift);
    key(vk, false, shift);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(dialog, &m)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
    }
  }

  int idOfFocus() const { return GetDlgCtrlID(GetFocus()); }
  DWORD buttonType(int id) const { return GetWindowLongW(item(id), GWL_STYLE) & BS_TYPEMASK; }

  HWND dialog = nullptr;
};

TEST_F(DialogKeysTest, FocusStartsOnTheFirstTabStopAndTabWalksTheTabStopsBothWays) {
  EXPECT_EQ(idOfFocus(), IDC_TEST_FIRST);
  // "Second" has no tab stop, the label and the other radio buttons neither.
  const int forward[] = {IDC_TEST_THIRD, IDC_TEST_RADIO1, IDC_TEST_AFTER, IDOK, IDCANCEL, IDC_TEST_FIRST};
  for (int id : forward) {
    press(VK_TAB);
    EXPECT_EQ(idOfFocus(), id);
  }
  const int backward[] = {IDCANCEL, IDOK, IDC_TEST_AFTER, IDC_TEST_RADIO1, IDC_TEST_THIRD, IDC_TEST_FIRST};
  for (int id : backward) {
    press(VK_TAB, true);
    EXPECT_EQ(idOfFocus(), id);
  }
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), item(IDC_TEST_FIRST));
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, TRUE), item(IDCANCEL));
  // A disabled or hidden control is passed over.
  EnableWindow(item(IDC_TEST_THIRD), FALSE);
  ShowWindow(item(IDC_TEST_RADIO1), SW_HIDE);
  EXPECT_EQ(GetNextDlgTabItem(dialog, item(IDC_TEST_FIRST), FALSE), item(IDC_TEST_AFTER));
  EXPECT_TRUE(commands.empty());
}

TEST_F(DialogKeysTest, ArrowsMoveWithinTheGroupAndCheckRadioButtons) {
  SetFocus(item(IDC_TEST_RADIO1));
  press(VK_DOWN);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO2);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEST_RADIO2), UINT(BST_CHECKED));
  press(VK_RIGHT);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO3);
  press(VK_DOWN);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1);  // wraps within the group
  press(VK_UP);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO3);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEST_RADIO1), UINT(BST_UNCHECKED));

  // Groups run from one WS_GROUP control to the next.
  EXPECT_EQ(GetNextDlgGroupItem(dialog, item(IDC_TEST_FIRST), FALSE), item(IDC_TEST_FIRST));
  EXPECT_EQ(GetNextDlgGroupItem(dialog, item(IDC_TEST_THIRD), TRUE), item(IDC_TEST_SECOND));
  EXPECT_EQ(GetNextDlgGroupItem(dialog, item(IDC_TEST_THIRD), FALSE), item(IDC_TEST_LABEL));
  EXPECT_EQ(GetNextDlgGroupItem(dialog, item(IDCANCEL), FALSE), item(IDC_TEST_AFTER));
}

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonWhichFollowsThePushButtonWithTheFocus) {
  SetFocus(item(IDC_TEST_RADIO1));
  press(VK_RETURN);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], std::make_pair(WORD(IDOK), item(IDOK)));

  // A push button that takes the focus shows as the default and Enter is its.
  press(VK_TAB);
  EXPECT_EQ(idOfFocus(), IDC_TEST_AFTER);
  EXPECT_EQ(buttonType(IDC_TEST_AFTER), DWORD(BS_DEFPUSHBUTTON));
  EXPECT_EQ(buttonType(IDOK), DWORD(BS_PUSHBUTTON));
  press(VK_RETURN);
  EXPECT_EQ(commands.back().first, IDC_TEST_AFTER);
  press(VK_TAB, true);  // back to the radio buttons: OK is the default again
  EXPECT_EQ(buttonType(IDC_TEST_AFTER), DWORD(BS_PUSHBUTTON));
  EXPECT_EQ(buttonType(IDOK), DWORD(BS_DEFPUSHBUTTON));

  // DM_SETDEFID changes the dialog's default.
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  SendMessageW(dialog, DM_SETDEFID, IDC_TEST_THIRD, 0);
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDC_TEST_THIRD, DC_HASDEFID));
  EXPECT_EQ(buttonType(IDC_TEST_THIRD), DWORD(BS_DEFPUSHBUTTON));
  EXPECT_EQ(buttonType(IDOK), DWORD(BS_PUSHBUTTON));
  press(VK_RETURN);
  EXPECT_EQ(commands.back().first, IDC_TEST_THIRD);
  // A disabled default button is not pressed.
  EnableWindow(item(IDC_TEST_THIRD), FALSE);
  size_t before = commands.size();
  press(VK_RETURN);
  EXPECT_EQ(commands.size(), before);
}

TEST_F(DialogKeysTest, EscapeIsCancelUnlessCancelIsDisabled) {
  press(VK_ESCAPE);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], std::make_pair(WORD(IDCANCEL), item(IDCANCEL)));
  EnableWindow(item(IDCANCEL), FALSE);
  press(VK_ESCAPE);
  EXPECT_EQ(commands.size(), 1u);
}

TEST_F(DialogKeysTest, ControlsThatAskForKeysGetThem) {
  HWND editor = CreateWindowExW(0, kRecorderClass, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 60, 40, 20, dialog,
                                reinterpret_cast<HMENU>(500), GetModuleHandleW(nullptr), nullptr);
  react(editor, WM_GETDLGCODE, [](HWND, UINT, WPARAM, LPARAM lParam) -> LRESULT {
    auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
    return DLGC_WANTTAB | DLGC_WANTARROWS;
  });
  SetFocus(editor);
  log().clear();
  press(VK_TAB);
  press(VK_DOWN);
  press(VK_RETURN);
  EXPECT_EQ(GetFocus(), editor);
  EXPECT_TRUE(commands.empty());
  auto keys = log().only({WM_KEYDOWN});
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].wParam, WPARAM(VK_TAB));
  EXPECT_EQ(keys[1].wParam, WPARAM(VK_DOWN));
  EXPECT_EQ(keys[2].wParam, WPARAM(VK_RETURN));
  // Escape it does not ask for.
  press(VK_ESCAPE);
  EXPECT_EQ(commands.size(), 1u);
}

TEST_F(DialogKeysTest, NextDialogControlTakesAWindowOrAStep) {
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_TEST_LABEL)), TRUE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_LABEL);  // any control, tab stop or not
  SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_THIRD);
  SendMessageW(dialog, WM_NEXTDLGCTL, 1, FALSE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_FIRST);
  HWND stranger = createTopLevel(WS_VISIBLE);
  SetFocus(item(IDC_TEST_FIRST));
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stranger), TRUE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_FIRST);
}

TEST_F(DialogKeysTest, ActivationGivesTheFocusBackWhereItWas) {
  press(VK_TAB);
  press(VK_TAB);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1);
  HWND other = createTopLevel(WS_VISIBLE);
  EXPECT_EQ(GetActiveWindow(), other);
  SetActiveWindow(dialog);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1);
  SetFocus(dialog);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1);
}

TEST_F(DialogKeysTest, TextsNumbersAndChecksOfControlsById) {
  EXPECT_TRUE(SetDlgItemTextW(dialog, IDC_TEST_LABEL, u"Records:"));
  WCHAR text[6];
  EXPECT_EQ(GetDlgItemTextW(dialog, IDC_TEST_LABEL, text, 6), 5u);
  EXPECT_EQ(std::u16string(text), u"Recor");
  EXPECT_EQ(GetDlgItemTextW(dialog, 4242, text, 6), 0u);
  EXPECT_EQ(text[0], 0);
  EXPECT_FALSE(SetDlgItemTextW(dialog, 4242, u"x"));

  const struct {
    const char16_t* text;
    BOOL isSigned;
    UINT value;
    BOOL translated;
  } numbers[] = {
      {u"42", FALSE, 42, TRUE},
      {u"  -17 ", TRUE, UINT(-17), TRUE},
      {u"-17", FALSE, 0, FALSE},
      {u"12a", FALSE, 0, FALSE},
      {u"", TRUE, 0, FALSE},
      {u"4294967295", FALSE, UINT_MAX, TRUE},
      {u"4294967296", FALSE, 0, FALSE},
      {u"2147483648", TRUE, 0, FALSE},
      {u"-2147483648", TRUE, UINT(INT_MIN), TRUE},
  };
  for (const auto& n : numbers) {
    SetDlgItemTextW(dialog, IDC_TEST_LABEL, n.text);
    BOOL translated = !n.translated;
    EXPECT_EQ(GetDlgItemInt(dialog, IDC_TEST_LABEL, &translated, n.isSigned), n.value) << std::u16string(n.text).size();
    EXPECT_EQ(translated, n.translated);
  }
  SetDlgItemInt(dialog, IDC_TEST_LABEL, UINT(-5), TRUE);
  GetDlgItemTextW(dialog, IDC_TEST_LABEL, text, 6);
  EXPECT_EQ(std::u16string(text), u"-5");
  WCHAR wide[16];
  SetDlgItemInt(dialog, IDC_TEST_LABEL, UINT(-5), FALSE);
  GetDlgItemTextW(dialog, IDC_TEST_LABEL, wide, 16);
  EXPECT_EQ(std::u16string(wide), u"4294967291");

  EXPECT_TRUE(CheckDlgButton(dialog, IDC_TEST_RADIO2, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEST_RADIO2), UINT(BST_CHECKED));
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_TEST_RADIO2, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(CheckDlgButton(dialog, 4242, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 4242), 0u);
  EXPECT_EQ(SendDlgItemMessageW(dialog, 4242, BM_GETCHECK, 0, 0), 0);
}

}  // namespace
}  // namespace usertest
