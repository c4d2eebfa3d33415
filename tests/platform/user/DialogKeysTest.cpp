// The keyboard of dialogs and their controls by id: the tab order, groups
// and arrows, Enter and the default button, Escape, WM_NEXTDLGCTL, and the
// texts and checks of controls.
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

TEST_F(DialogKeysTest, FocusStartsOnTheFirstTabStopAndTabWalksTheTabStopsBothWays) {
  EXPECT_EQ(idOfFocus(), IDC_TEST_FIRST);
  // "Second" has no tab stop, the label and the other radio buttons neither.
  const int order[] = {IDC_TEST_FIRST, IDC_TEST_THIRD, IDC_TEST_RADIO1, IDC_TEST_AFTER, IDOK, IDCANCEL, IDC_TEST_FIRST};
  for (size_t i = 1; i < std::size(order); ++i) {
    pressNow(VK_TAB);
    EXPECT_EQ(idOfFocus(), order[i]);
  }
  for (size_t i = std::size(order) - 1; i-- > 0;) {
    pressNow(VK_TAB, true);
    EXPECT_EQ(idOfFocus(), order[i]);
  }
  // A disabled or hidden control is passed over.
  EnableWindow(item(IDC_TEST_THIRD), FALSE);
  ShowWindow(item(IDC_TEST_RADIO1), SW_HIDE);
  pressNow(VK_TAB);
  EXPECT_EQ(idOfFocus(), IDC_TEST_AFTER);
  EXPECT_TRUE(commands.empty());
}

// The program has no radio buttons; arrows move within a group of push buttons.
TEST_F(DialogKeysTest, ArrowsMoveWithinTheGroupWhateverTheTabStops) {
  SetFocus(item(IDC_TEST_THIRD));
  pressNow(VK_UP);
  EXPECT_EQ(idOfFocus(), IDC_TEST_SECOND);
}

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonWhichFollowsThePushButtonWithTheFocusEscapeCancels) {
  SetFocus(item(IDC_TEST_RADIO1));
  pressNow(VK_RETURN);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], std::make_pair(WORD(IDOK), item(IDOK)));

  // A push button that takes the focus shows as the default and Enter is its.
  pressNow(VK_TAB);
  EXPECT_EQ(idOfFocus(), IDC_TEST_AFTER);
  EXPECT_EQ(buttonType(IDC_TEST_AFTER), DWORD(BS_DEFPUSHBUTTON));
  EXPECT_EQ(buttonType(IDOK), DWORD(BS_PUSHBUTTON));
  pressNow(VK_RETURN);
  EXPECT_EQ(commands.back().first, IDC_TEST_AFTER);
  pressNow(VK_TAB, true);  // back to the radio buttons: OK is the default again
  EXPECT_EQ(buttonType(IDC_TEST_AFTER), DWORD(BS_PUSHBUTTON));
  EXPECT_EQ(buttonType(IDOK), DWORD(BS_DEFPUSHBUTTON));

  EnableWindow(item(IDOK), FALSE);  // a disabled default button is not pressed
  size_t before = commands.size();
  pressNow(VK_RETURN);
  EXPECT_EQ(commands.size(), before);

  pressNow(VK_ESCAPE);
  EXPECT_EQ(commands.back(), std::make_pair(WORD(IDCANCEL), item(IDCANCEL))) << "Escape is Cancel";
  EnableWindow(item(IDCANCEL), FALSE);
  pressNow(VK_ESCAPE);
  EXPECT_EQ(commands.size(), before + 1) << "unless Cancel is disabled";
}

// The keys a control asks for: the combo box's and the list box's in ComboBoxTest and the gallery's test.
TEST_F(DialogKeysTest, NextDialogControlAndActivationMoveTheFocusAndControlsAreReachedById) {
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_TEST_LABEL)), TRUE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_LABEL) << "any control, tab stop or not";
  HWND stranger = createTopLevel(WS_VISIBLE);
  SetActiveWindow(dialog);
  SetFocus(item(IDC_TEST_RADIO1));
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(stranger), TRUE);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1) << "not another window's";
  SetActiveWindow(stranger);
  SetActiveWindow(dialog);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1) << "activation gives the focus back where it was";
  SetFocus(dialog);
  EXPECT_EQ(idOfFocus(), IDC_TEST_RADIO1);

  EXPECT_TRUE(SetDlgItemTextW(dialog, IDC_TEST_LABEL, u"Records:"));
  EXPECT_EQ(GetWindowTextLengthW(item(IDC_TEST_LABEL)), 8);
  EXPECT_TRUE(CheckDlgButton(dialog, IDC_TEST_RADIO2, BST_CHECKED));
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_TEST_RADIO2, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(SetDlgItemTextW(dialog, 4242, u"x"));
  EXPECT_FALSE(CheckDlgButton(dialog, 4242, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 4242), 0u);
  EXPECT_EQ(SendDlgItemMessageW(dialog, 4242, BM_GETCHECK, 0, 0), 0);
}

}  // namespace
}  // namespace usertest
