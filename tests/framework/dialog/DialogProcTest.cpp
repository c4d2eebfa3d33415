// The dialog object: binding at WM_INITDIALOG, OK and Cancel, taps on
// labels, the results of the dialog procedure, the exception guard, modal
// runs and their owners, and the registry of modeless dialogs.
#include <algorithm>
#include <stdexcept>

#include "DialogTestSupport.h"
#include "dialog_test_ids.h"
#include "framework/CeApp.h"
#include "framework/CeDialog.h"

namespace dialogtest {
namespace {

constexpr LRESULT kAnswer = 0x5A5A;
constexpr LONG_PTR kUntouched = 0x1234;
constexpr WORD kThrowingCommand = 777;

// Records what reaches its handlers. Commands, notifications and the
// messages in `answered` are marked handled (unless `handles` is cleared)
// and answered with kAnswer; everything else goes on to the dialog manager.
class ProbeDialog : public CeDialog {
 public:
  explicit ProbeDialog(int templateNumber = IDD_PROBE) : CeDialog(templateNumber) {}

  std::vector<std::string> calls;
  std::vector<UINT> messages;  // those that reached OnMessage
  std::vector<UINT> answered;
  bool handles = true;
  std::function<void(ProbeDialog&)> afterInit;

  BOOL OnInitDialog() override {
    calls.push_back("OnInitDialog");
    const BOOL result = CeDialog::OnInitDialog();
    if (afterInit) afterInit(*this);
    return result;
  }
  void OnOK() override {
    calls.push_back("OnOK");
    CeDialog::OnOK();
  }
  void OnCancel() override {
    calls.push_back("OnCancel");
    CeDialog::OnCancel();
  }
  LRESULT OnCommand(WPARAM idAndCode, HWND, bool* handled) override {
    calls.push_back("OnCommand " + std::to_string(LOWORD(idAndCode)));
    *handled = handles;
    if (LOWORD(idAndCode) == kThrowingCommand) throw std::runtime_error("command failed");
    return kAnswer;
  }
  LRESULT OnNotify(WPARAM, NMHDR*, bool* handled) override {
    *handled = handles;
    return kAnswer;
  }
  LRESULT OnMessage(UINT message, WPARAM, LPARAM, bool* handled) override {
    messages.push_back(message);
    if (std::find(answered.begin(), answered.end(), message) == answered.end()) return 0;
    *handled = handles;
    return kAnswer;
  }
  void Attach(HWND window) override { calls.push_back(std::string("Attach") + (window == hwnd ? " bound" : "")); }
  void Detach(HWND window) override {
    const bool userWordCleared = GetWindowLongPtrW(window, DWLP_USER) == 0;
    calls.push_back(std::string("Detach") + (hwnd == nullptr ? " unbound" : " bound") +
                    (userWordCleared ? " cleared" : " kept"));
  }

  bool Saw(UINT message) const { return std::find(messages.begin(), messages.end(), message) != messages.end(); }
};

HWND MakeOwner(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE) {
  return CreateWindowExW(0, u"static", u"owner", style, x, y, width, height, nullptr, nullptr, nullptr, nullptr);
}

HWND ChildOf(HWND parent) {
  return CreateWindowExW(0, u"static", u"child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, parent, nullptr, nullptr,
                         nullptr);
}

using DialogProc = DialogTest;

TEST_F(DialogProc, OkEndsAModalRunWithOneAndCancelWithTwo) {
  struct Case {
    const char* button;
    INT_PTR result;
    const char* handler;
  };
  const Case cases[] = {{"OK", IDOK, "OnOK"}, {"Cancel", IDCANCEL, "OnCancel"}};
  for (const Case& c : cases) {
    HWND owner = MakeOwner(0, 26, 240, 268);
    ProbeDialog dialog;
    WhileModalScript(std::string("press \"") + c.button + "\"\n");
    EXPECT_EQ(dialog.RunModal(nullptr, owner), c.result) << c.button;
    EXPECT_TRUE(dialog.IsModal());
    ASSERT_FALSE(dialog.calls.empty());
    EXPECT_EQ(dialog.calls.back(), "Detach unbound cleared") << c.button;
    EXPECT_NE(std::find(dialog.calls.begin(), dialog.calls.end(), c.handler), dialog.calls.end()) << c.button;
    EXPECT_EQ(dialog.hwnd, nullptr);
    DestroyWindow(owner);
  }
}

TEST_F(DialogProc, OkAndCancelOfADialogThatIsNotModalAreHandledAndDoNothing) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  for (WORD id : {WORD(IDOK), WORD(IDCANCEL)}) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
    EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0), TRUE) << id;
    EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), 0) << id;
  }
  // And through the dialog manager, as a tap would send them.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(std::count(dialog.calls.begin(), dialog.calls.end(), "OnOK"), 2);
  EXPECT_EQ(std::count(dialog.calls.begin(), dialog.calls.end(), "OnCancel"), 2);
}

TEST_F(DialogProc, InitDialogBindsTheObjectBeforeItsHandlerRuns) {
  ProbeDialog dialog;
  HWND seenInInit = nullptr;
  LONG_PTR userWord = 0;
  dialog.afterInit = [&](ProbeDialog& d) {
    seenInInit = d.hwnd;
    userWord = GetWindowLongPtrW(d.hwnd, DWLP_USER);
  };
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(seenInInit, window);
  EXPECT_EQ(userWord, reinterpret_cast<LONG_PTR>(&dialog));
  ASSERT_GE(dialog.calls.size(), 2u);
  EXPECT_EQ(dialog.calls[0], "Attach");  // hwnd is set after Attach
  EXPECT_EQ(dialog.calls[1], "OnInitDialog");
  // WM_SETFONT came before WM_INITDIALOG: no object was there to see it.
  EXPECT_FALSE(dialog.Saw(WM_SETFONT));
}

TEST_F(DialogProc, MessagesBeforeInitDialogAreAnsweredWithZero) {
  // A dialog of the test's own whose procedure never bound an object.
  HWND plain = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SMALL), nullptr,
                                  [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(plain, nullptr);
  const UINT messages[] = {WM_SETFONT, WM_CTLCOLORSTATIC, WM_NOTIFY, WM_COMMAND, WM_USER + 3};
  for (UINT message : messages) {
    SetWindowLongPtrW(plain, DWLP_MSGRESULT, kUntouched);
    EXPECT_EQ(CeDialog::CeDialogProc(plain, message, 0, 0), 0) << message;
    EXPECT_EQ(GetWindowLongPtrW(plain, DWLP_MSGRESULT), kUntouched) << message;
  }
  // WM_INITDIALOG without an object binds nothing.
  EXPECT_EQ(CeDialog::CeDialogProc(plain, WM_INITDIALOG, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(plain, DWLP_USER), 0);
}

TEST_F(DialogProc, HandledResultsAreReturnedDirectlyOnlyForTheMessagesThatAnswerSo) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  NMHDR header = {window, 1, 0};
  struct Case {
    UINT message;
    LPARAM lParam;
    bool direct;
  };
  const Case cases[] = {
      {WM_VKEYTOITEM, 0, true},        {WM_CHARTOITEM, 0, true},        {WM_QUERYDRAGICON, 0, true},
      {WM_COMPAREITEM, 0, true},       {WM_CTLCOLORMSGBOX, 0, true},    {WM_CTLCOLOREDIT, 0, true},
      {WM_CTLCOLORLISTBOX, 0, true},   {WM_CTLCOLORBTN, 0, true},       {WM_CTLCOLORDLG, 0, true},
      {WM_CTLCOLORSCROLLBAR, 0, true}, {WM_CTLCOLORSTATIC, 0, true},    {WM_NOTIFY, LPARAM(&header), false},
      {WM_USER + 7, 0, false},         {WM_CTLCOLORSTATIC + 1, 0, false}, {WM_VKEYTOITEM - 1, 0, false},
  };
  for (const Case& c : cases) dialog.answered.push_back(c.message);
  for (const Case& c : cases) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
    const INT_PTR answer = CeDialog::CeDialogProc(window, c.message, 0, c.lParam);
    if (c.direct) {
      EXPECT_EQ(answer, kAnswer) << "message " << c.message;
      EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), kUntouched) << "message " << c.message;
    } else {
      EXPECT_EQ(answer, TRUE) << "message " << c.message;
      EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), kAnswer) << "message " << c.message;
    }
  }
  // Through the dialog manager both come back as the handler's result.
  EXPECT_EQ(SendMessageW(window, WM_CTLCOLORSTATIC, 0, 0), kAnswer);
  EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 1, LPARAM(&header)), kAnswer);
  // A command's result is 0 whatever its handler answered.
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(500, 0), 0), TRUE);
  EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), 0);
}

TEST_F(DialogProc, UnhandledMessagesReturnZeroAndLeaveTheResultWord) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  dialog.handles = false;
  dialog.answered = {WM_CTLCOLORSTATIC, WM_USER + 7};
  NMHDR header = {window, 1, 0};
  for (UINT message : {UINT(WM_NOTIFY), UINT(WM_CTLCOLORSTATIC), UINT(WM_USER + 7)}) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
    EXPECT_EQ(CeDialog::CeDialogProc(window, message, 0, LPARAM(&header)), 0) << message;
    EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), kUntouched) << message;
  }
  // Commands other than OK, Cancel and labels are the handler's to take.
  SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(IDC_PROBE_OTHER, BN_CLICKED), 0), FALSE);
  EXPECT_EQ(dialog.calls.back(), "OnCommand " + std::to_string(IDC_PROBE_OTHER));
}

TEST_F(DialogProc, ATapOnALabelGivesTheFocusToTheControlAfterIt) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  ProbeDialog dialog;
  HWND label = nullptr;
  HWND field = nullptr;
  HWND focusAfterTap = nullptr;
  HWND focusAfterDoubleTap = nullptr;
  int labelId = 0;
  WhileModal([&] {
    label = GetWindow(dialog.hwnd, GW_CHILD);
    labelId = GetDlgCtrlID(label);
    field = GetDlgItem(dialog.hwnd, IDC_PROBE_FIELD);
    SetFocus(GetDlgItem(dialog.hwnd, IDC_PROBE_OTHER));
    const POINT at = CentreOf(label);
    WhileModalScript("tap " + std::to_string(at.x) + " " + std::to_string(at.y) + "\n");
    WhileModal([&] {
      focusAfterTap = GetFocus();
      // Any other notification from a label is swallowed.
      SetFocus(GetDlgItem(dialog.hwnd, IDC_PROBE_OTHER));
      SendMessageW(dialog.hwnd, WM_COMMAND, MAKEWPARAM(0xFFFF, STN_DBLCLK), LPARAM(label));
      focusAfterDoubleTap = GetFocus();
      EndDialog(dialog.hwnd, 9);
    });
  });
  EXPECT_EQ(dialog.RunModal(nullptr, owner), 9);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(labelId, 0xFFFF);
  EXPECT_EQ(focusAfterTap, field);
  EXPECT_NE(focusAfterDoubleTap, field);
  // Labels never reach the command handler.
  for (const std::string& call : dialog.calls) EXPECT_EQ(call.find("OnCommand"), std::string::npos) << call;
}

TEST_F(DialogProc, ALabelWithNothingAfterItMovesNoFocus) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  SetActiveWindow(window);
  HWND last = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST);
  ASSERT_EQ(GetWindow(last, GW_HWNDNEXT), nullptr);
  HWND other = GetDlgItem(window, IDC_PROBE_OTHER);
  SetFocus(other);
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(0xFFFF, STN_CLICKED), LPARAM(last)), TRUE);
  EXPECT_EQ(GetFocus(), other);
  // A label's command from nowhere moves nothing either.
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(0xFFFF, STN_CLICKED), 0), TRUE);
  EXPECT_EQ(GetFocus(), other);
}

TEST_F(DialogProc, AThrowingHandlerShowsTheFatalBoxAndTheDialogStaysOpen) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  ProbeDialog dialog;
  dialog.afterInit = [](ProbeDialog& d) { PostMessageW(d.hwnd, WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0); };
  FatalBox box;
  AnswerTheNextFatalBox(&box);
  bool openAfterBox = false;
  WhileModal([&] { openAfterBox = IsWindow(dialog.hwnd) && IsWindowVisible(dialog.hwnd); });
  WhileModalScript("press \"Cancel\"\n");
  EXPECT_EQ(dialog.RunModal(nullptr, owner), IDCANCEL);
  EXPECT_TRUE(box.seen);
  EXPECT_EQ(box.caption, u"Fatal");
  EXPECT_EQ(box.text, u"Window message termainated abnormally by an exception");
  EXPECT_TRUE(openAfterBox);
}

TEST_F(DialogProc, AThrowingHandlerAnswersWithTheFlagItHadSet) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  for (bool handles : {true, false}) {
    dialog.handles = handles;
    FatalBox box;
    AnswerTheNextFatalBox(&box);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
    EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0), handles ? 1 : 0);
    EXPECT_TRUE(box.seen);
    // The result word is left as it was: the message never finished.
    EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), kUntouched);
    EXPECT_EQ(dialog.hwnd, window);
  }
}

TEST_F(DialogProc, DestroyUnbindsTheObject) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(g_modelessMap.Lookup(window), &dialog);
  ASSERT_TRUE(DestroyWindow(window));
  EXPECT_EQ(dialog.hwnd, nullptr);
  EXPECT_EQ(dialog.calls.back(), "Detach unbound cleared");
  // A modeless dialog's key goes with its window.
  EXPECT_EQ(g_modelessMap.Lookup(window), nullptr);
  EXPECT_EQ(g_modelessMap.Count(), 0);
}

// Stands for a dialog procedure that was there before the object took over.
std::vector<UINT> previousSaw;
INT_PTR CALLBACK PreviousProc(HWND, UINT message, WPARAM, LPARAM) {
  previousSaw.push_back(message);
  return 42;
}

class TakeoverDialog : public CeDialog {
 public:
  TakeoverDialog() : CeDialog(IDD_PROBE) {}
  LONG_PTR procAtDetach = 0;
  LRESULT defaultAnswer = 0;
  BOOL OnInitDialog() override {
    prevProc = reinterpret_cast<WNDPROC>(&PreviousProc);
    return CeDialog::OnInitDialog();
  }
  LRESULT OnMessage(UINT message, WPARAM, LPARAM, bool* handled) override {
    if (message != WM_USER + 9) return 0;
    *handled = true;
    defaultAnswer = DefaultProc();
    return 0;
  }
  void Detach(HWND window) override { procAtDetach = GetWindowLongPtrW(window, DWLP_DLGPROC); }
};

TEST_F(DialogProc, ATakenOverProcedureGetsDefaultProcessingAndIsPutBackAtTheEnd) {
  previousSaw.clear();
  TakeoverDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_USER + 9, 0, 0);
  EXPECT_EQ(dialog.defaultAnswer, 42);
  ASSERT_EQ(previousSaw.size(), 1u);
  EXPECT_EQ(previousSaw[0], UINT(WM_USER + 9));
  DestroyWindow(window);
  EXPECT_EQ(dialog.procAtDetach, reinterpret_cast<LONG_PTR>(&PreviousProc));
}

TEST_F(DialogProc, AModelessDialogIsRegisteredUntilItsObjectGoes) {
  HWND first = nullptr;
  HWND second = nullptr;
  {
    ProbeDialog one;
    ProbeDialog two(IDD_SMALL);
    first = one.CreateModeless();
    second = two.CreateModeless();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(g_modelessMap.Count(), 2);
    EXPECT_EQ(g_modelessMap.Lookup(first), &one);
    EXPECT_EQ(g_modelessMap.Lookup(second), &two);
  }
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(g_modelessMap.Count(), 0);
}

TEST_F(DialogProc, TheMessageLoopGivesARegisteredModelessDialogItsKeys) {
  ProbeDialog dialog;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  SetActiveWindow(window);
  SetFocus(GetDlgItem(window, IDC_PROBE_FIELD));
  HWND focusAfterTab = nullptr;
  WhileModalScript("key Tab\n");
  WhileModal([&] {
    focusAfterTab = GetFocus();
    PostQuitMessage(0);
  });
  ASSERT_NE(g_app, nullptr);
  g_app->Run();
  EXPECT_EQ(focusAfterTab, GetDlgItem(window, IDC_PROBE_OTHER));
}

TEST_F(DialogProc, AModalRunLeavesTheRegistryAlone) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  ProbeDialog dialog;
  int countWhileOpen = -1;
  WhileModal([&] {
    countWhileOpen = g_modelessMap.Count();
    EndDialog(dialog.hwnd, IDOK);
  });
  EXPECT_EQ(dialog.RunModal(nullptr, owner), IDOK);
  EXPECT_EQ(countWhileOpen, 0);
}

TEST_F(DialogProc, AnUnknownTemplateMakesTheRunFailWithThePlatformsValue) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  ProbeDialog missing(IDD_MISSING);
  EXPECT_EQ(missing.RunModal(nullptr, owner), -1);
  ProbeDialog none(0);
  EXPECT_EQ(none.RunModal(nullptr, owner), -1);
  CeDialog named(u"NO_SUCH_DIALOG");
  EXPECT_EQ(named.RunModal(nullptr, owner), -1);
  EXPECT_EQ(missing.CreateModeless(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogProc, TheTemplateGivenToTheRunWinsOverTheObjects) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  ProbeDialog dialog(IDD_MISSING);
  std::u16string caption;
  dialog.afterInit = [&](ProbeDialog& d) {
    caption = CeString(d.hwnd).Text();
    PostMessageW(d.hwnd, WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(dialog.RunModal(MAKEINTRESOURCEW(IDD_PROBE), owner), IDOK);
  EXPECT_EQ(caption, u"Probe");
}

TEST_F(DialogProc, TheNumberConstructorKeepsTheLow16Bits) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  ProbeDialog dialog(0x10000 + IDD_PROBE);
  dialog.afterInit = [](ProbeDialog& d) { PostMessageW(d.hwnd, WM_COMMAND, IDOK, 0); };
  EXPECT_EQ(dialog.RunModal(nullptr, owner), IDOK);
}

TEST_F(DialogProc, AChildGivenAsOwnerIsReplacedByItsTopLevelWindow) {
  HWND owner = MakeOwner(0, 26, 240, 268);
  HWND child = ChildOf(owner);
  HWND grandchild = ChildOf(child);
  ProbeDialog dialog;
  HWND ownerSeen = nullptr;
  BOOL ownerEnabled = TRUE;
  dialog.afterInit = [&](ProbeDialog& d) {
    ownerSeen = GetWindow(d.hwnd, GW_OWNER);
    ownerEnabled = IsWindowEnabled(owner);
    PostMessageW(d.hwnd, WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(dialog.RunModal(nullptr, grandchild), IDOK);
  EXPECT_EQ(ownerSeen, owner);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(owner));

  // A child of an owned window: the chain goes on through the owners.
  HWND owned = CreateWindowExW(0, u"static", u"owned", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100, owner, nullptr,
                               nullptr, nullptr);
  ProbeDialog again;
  again.afterInit = dialog.afterInit;
  EXPECT_EQ(again.RunModal(nullptr, ChildOf(owned)), IDOK);
  EXPECT_EQ(ownerSeen, owner);
}

TEST_F(DialogProc, WithoutAnOwnerTheApplicationsMainWindowOwnsTheDialog) {
  HWND main = MakeOwner(0, 26, 240, 268);
  HWND other = MakeOwner(10, 40, 100, 100);
  ASSERT_NE(g_app, nullptr);
  g_app->mainWindowHandle = main;
  SetActiveWindow(other);
  ProbeDialog dialog;
  HWND ownerSeen = nullptr;
  dialog.afterInit = [&](ProbeDialog& d) {
    ownerSeen = GetWindow(d.hwnd, GW_OWNER);
    PostMessageW(d.hwnd, WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(dialog.RunModal(), IDOK);
  g_app->mainWindowHandle = nullptr;
  EXPECT_EQ(ownerSeen, main);

  // With no main window, the active window.
  SetActiveWindow(other);
  ASSERT_EQ(GetActiveWindow(), other);
  EXPECT_EQ(CeDialog::DefaultOwner(), other);
}

TEST_F(DialogProc, TopLevelOfClimbsParentsThenOwners) {
  HWND root = MakeOwner(0, 26, 240, 268);
  HWND owned = CreateWindowExW(0, u"static", u"owned", WS_POPUP, 0, 0, 50, 50, root, nullptr, nullptr, nullptr);
  HWND child = ChildOf(owned);
  HWND grandchild = ChildOf(child);
  EXPECT_EQ(CeDialog::TopLevelOf(grandchild), root);
  EXPECT_EQ(CeDialog::TopLevelOf(owned), root);
  EXPECT_EQ(CeDialog::TopLevelOf(root), root);
}

}  // namespace
}  // namespace dialogtest
