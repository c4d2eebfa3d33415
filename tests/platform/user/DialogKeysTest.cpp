// The keyboard of dialogs: the tab order, groups and arrows, Enter and the default button, Escape,
// WM_NEXTDLGCTL and the focus on activation (a control's own keys are ComboBoxTest's and the gallery's).
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
  void pressNow(UINT vk, bool shift = false) {
    press(vk, shift);
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

// One walk of the keys: where the focus goes, what is pressed, which button is the default.
TEST_F(DialogKeysTest, TabWalksTheTabStopsArrowsStayInTheGroupEnterPressesTheDefaultEscapeCancelsAndFocusReturns) {
  EXPECT_EQ(idOfFocus(), IDC_TEST_FIRST) << "the first tab stop";
  // "Second" has no tab stop, the label and the other radio buttons neither. defaultId: the button shown so.
  const struct { UINT vk; bool shift; int focus, command, defaultId; } steps[] = {
      {VK_TAB, false, IDC_TEST_THIRD, 0, IDC_TEST_THIRD},
      {VK_UP, false, IDC_TEST_SECOND, 0, IDC_TEST_SECOND},  // within the group, tab stop or not
      {VK_TAB, false, IDC_TEST_THIRD, 0, IDC_TEST_THIRD},
      {VK_TAB, false, IDC_TEST_RADIO1, 0, IDOK},  // off the push buttons: OK is the default again
      {VK_RETURN, false, IDC_TEST_RADIO1, IDOK, IDOK},
      {VK_TAB, false, IDC_TEST_AFTER, 0, IDC_TEST_AFTER},  // a push button with the focus is the default
      {VK_RETURN, false, IDC_TEST_AFTER, IDC_TEST_AFTER, IDC_TEST_AFTER},
      {VK_TAB, false, IDOK, 0, IDOK},
      {VK_TAB, false, IDCANCEL, 0, IDCANCEL},
      {VK_TAB, false, IDC_TEST_FIRST, 0, IDC_TEST_FIRST},
      {VK_TAB, true, IDCANCEL, 0, IDCANCEL},
      {VK_TAB, true, IDOK, 0, IDOK},
      {VK_TAB, true, IDC_TEST_AFTER, 0, IDC_TEST_AFTER},
      {VK_TAB, true, IDC_TEST_RADIO1, 0, IDOK},
      {VK_ESCAPE, false, IDC_TEST_RADIO1, IDCANCEL, IDOK},
      {VK_TAB, true, IDC_TEST_THIRD, 0, IDC_TEST_THIRD},
      {VK_TAB, true, IDC_TEST_FIRST, 0, IDC_TEST_FIRST},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << &s - steps);
    commands.clear();
    pressNow(s.vk, s.shift);
    EXPECT_EQ(idOfFocus(), s.focus);
    using Commands = std::vector<std::pair<WORD, HWND>>;
    EXPECT_EQ(commands, (s.command ? Commands{{WORD(s.command), item(s.command)}} : Commands{}));
    for (int id : {IDC_TEST_FIRST, IDC_TEST_THIRD, IDC_TEST_AFTER, IDOK, IDCANCEL})
      EXPECT_EQ(buttonType(id), DWORD(id == s.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)) << id;
  }
  // A disabled or hidden control is passed over, a disabled OK or Cancel not pressed.
  EnableWindow(item(IDC_TEST_THIRD), FALSE);
  ShowWindow(item(IDC_TEST_RADIO1), SW_HIDE);
  pressNow(VK_TAB);
  EXPECT_EQ(idOfFocus(), IDC_TEST_AFTER);
  SetFocus(item(IDC_TEST_RADIO2));
  EnableWindow(item(IDOK), FALSE);
  EnableWindow(item(IDCANCEL), FALSE);
  commands.clear();
  pressNow(VK_RETURN);
  pressNow(VK_ESCAPE);
  EXPECT_TRUE(commands.empty());

  EXPECT_TRUE(CheckDlgButton(dialog, IDC_TEST_RADIO2, BST_CHECKED));
  EXPECT_TRUE(GetWindowLongW(item(IDC_TEST_RADIO2), GWL_STYLE) & WS_TABSTOP) << "a checked radio button is Tab's stop";
  SendMessageW(item(IDC_TEST_RADIO3), BM_CLICK, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEST_RADIO2), BST_UNCHECKED) << "a click clears the rest of the group";
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TEST_RADIO3), BST_CHECKED);
  // WM_NEXTDLGCTL takes any control; activation gives the focus back where it was.
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_TEST_LABEL)), TRUE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_LABEL);
  SetActiveWindow(createTopLevel(WS_VISIBLE));
  SetActiveWindow(dialog);
  EXPECT_EQ(idOfFocus(), IDC_TEST_LABEL);
  SetFocus(dialog);
  EXPECT_EQ(idOfFocus(), IDC_TEST_LABEL);
}

}  // namespace
}  // namespace usertest
