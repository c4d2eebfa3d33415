// The dialog object: binding, OK and Cancel, labels, results, the exception guard, runs and owners.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "DialogTestSupport.h"
#include "dialog_test_ids.h"
#include "framework/CeApp.h"
#include "framework/CeDialog.h"

namespace dialogtest {
namespace {

constexpr LRESULT kAnswer = 0x5A5A;
constexpr LONG_PTR kUntouched = 0x1234;
constexpr WORD kThrowingCommand = 777;

// Records what reaches its handlers. Commands, notifications and `answered` messages are
// handled as `handles` says and answered with kAnswer; the rest go to the dialog manager.
class ProbeDialog : public CeDialog {
 public:
  explicit ProbeDialog(int templateNumber = IDD_PROBE) : CeDialog(templateNumber) {}

  std::vector<std::string> calls;
  std::vector<UINT> answered;
  bool handles = true;
  std::function<void(ProbeDialog&)> afterInit;

  BOOL OnInitDialog() override {
    calls.push_back("OnInitDialog");
    const BOOL result = CeDialog::OnInitDialog();
    if (afterInit) afterInit(*this);
    return result;
  }
  void OnOK() override { calls.push_back("OnOK"), CeDialog::OnOK(); }
  void OnCancel() override { calls.push_back("OnCancel"), CeDialog::OnCancel(); }
  LRESULT OnCommand(WPARAM idAndCode, HWND, bool* handled) override {
    calls.push_back("OnCommand " + std::to_string(LOWORD(idAndCode)));
    *handled = handles;
    if (LOWORD(idAndCode) == kThrowingCommand) throw std::runtime_error("command failed");
    return kAnswer;
  }
  LRESULT OnNotify(WPARAM, NMHDR*, bool* handled) override { return *handled = handles, kAnswer; }
  LRESULT OnMessage(UINT message, WPARAM, LPARAM, bool* handled) override {
    if (message == WM_SETFONT) calls.push_back("WM_SETFONT");
    if (std::find(answered.begin(), answered.end(), message) == answered.end()) return 0;
    return *handled = handles, kAnswer;
  }
  void Attach(HWND window) override { calls.push_back(std::string("Attach") + (window == hwnd ? " bound" : "")); }
  void Detach(HWND window) override {
    calls.push_back(std::string("Detach") + (hwnd == nullptr ? " unbound" : " bound") +
                    (GetWindowLongPtrW(window, DWLP_USER) == 0 ? " cleared" : " kept"));
  }
  int Count(const std::string& call) const { return int(std::count(calls.begin(), calls.end(), call)); }
};

// The device's work area: below the navigation bar, above the menu bar.
constexpr RECT kWorkArea = {0, 26, 240, 294};

// A popup owned by parent, or with WS_CHILD a child of it.
HWND MakeWindow(const RECT& r = kWorkArea, DWORD style = WS_POPUP | WS_VISIBLE, HWND parent = nullptr) {
  return CreateWindowExW(0, u"static", u"window", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         nullptr, nullptr, nullptr);
}

HWND ChildOf(HWND parent) { return MakeWindow({5, 5, 55, 25}, WS_CHILD | WS_VISIBLE, parent); }

using DialogProc = DialogTest;

// WM_INITDIALOG binds the object before its handler; unbound messages get 0. A label's tap moves
// the focus past it, other label notifications are swallowed. Handled messages that answer directly
// return the result; the others return TRUE and leave it in DWLP_MSGRESULT.
TEST_F(DialogProc, BindingATapOnALabelAndHandledResultsReturnedDirectlyOnlyWhereTheMessageSaysSo) {
  ProbeDialog dialog;
  LONG_PTR userWord = 0;
  dialog.afterInit = [&](ProbeDialog& d) { userWord = GetWindowLongPtrW(d.hwnd, DWLP_USER); };
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(userWord, reinterpret_cast<LONG_PTR>(&dialog));
  // hwnd is set after Attach; WM_SETFONT came before any object was there.
  ASSERT_GE(dialog.calls.size(), 2u);
  EXPECT_EQ(std::make_tuple(dialog.calls[0], dialog.calls[1], dialog.Count("WM_SETFONT")),
            std::make_tuple("Attach", "OnInitDialog", 0));
  HWND plain = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SMALL), nullptr,
                                  [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(plain, nullptr);
  // WM_INITDIALOG without an object binds nothing.
  EXPECT_EQ(CeDialog::CeDialogProc(plain, WM_INITDIALOG, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(plain, DWLP_USER), 0);

  ShowWindow(window, SW_SHOW);
  SetActiveWindow(window);
  HWND first = GetWindow(window, GW_CHILD), last = GetWindow(first, GW_HWNDLAST);
  HWND field = GetDlgItem(window, IDC_PROBE_FIELD), other = GetDlgItem(window, IDC_PROBE_OTHER);
  ASSERT_EQ(GetDlgCtrlID(first), 0xFFFF);
  for (auto [label, code, focus] : {std::tuple{first, STN_CLICKED, field}, {first, STN_DBLCLK, other},
                                    {last, STN_CLICKED, other}, {HWND(nullptr), STN_CLICKED, other}}) {
    SetFocus(other);
    EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(0xFFFF, code), LPARAM(label)), TRUE);
    EXPECT_EQ(GetFocus(), focus) << "label " << (label == first) << " code " << code;
  }
  for (const std::string& call : dialog.calls) EXPECT_EQ(call.find("OnCommand"), std::string::npos) << call;

  NMHDR header = {window, 1, 0};
  const std::pair<UINT, bool> cases[] = {
      {WM_VKEYTOITEM, true},     {WM_CHARTOITEM, true},      {WM_QUERYDRAGICON, true},      {WM_COMPAREITEM, true},
      {WM_CTLCOLORMSGBOX, true}, {WM_CTLCOLOREDIT, true},    {WM_CTLCOLORLISTBOX, true},    {WM_CTLCOLORBTN, true},
      {WM_CTLCOLORDLG, true},    {WM_CTLCOLORSCROLLBAR, true}, {WM_CTLCOLORSTATIC, true},   {WM_NOTIFY, false},
      {WM_USER + 7, false},      {WM_CTLCOLORSTATIC + 1, false}, {WM_VKEYTOITEM - 1, false},
  };
  for (auto [message, direct] : cases) dialog.answered.push_back(message);
  for (auto [target, handles] : {std::pair{window, true}, {window, false}, {plain, false}}) {
    dialog.handles = handles;
    for (auto [message, direct] : cases) {
      SCOPED_TRACE("message " + std::to_string(message) + (handles ? " handled" : " unhandled") +
                   (target == plain ? " unbound" : ""));
      SetWindowLongPtrW(target, DWLP_MSGRESULT, kUntouched);
      EXPECT_EQ(CeDialog::CeDialogProc(target, message, 0, LPARAM(&header)), !handles ? 0 : direct ? kAnswer : TRUE);
      EXPECT_EQ(GetWindowLongPtrW(target, DWLP_MSGRESULT), handles && !direct ? kAnswer : kUntouched);
    }
  }
  // Commands other than OK, Cancel and labels are the handler's to take.
  EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(IDC_PROBE_OTHER, BN_CLICKED), 0), FALSE);
  EXPECT_EQ(dialog.calls.back(), "OnCommand " + std::to_string(IDC_PROBE_OTHER));
  // Through the dialog manager both kinds give the handler's result, a command 0;
  // not modal, OK and Cancel are handled and nothing happens.
  dialog.handles = true;
  EXPECT_EQ(SendMessageW(window, WM_CTLCOLORSTATIC, 0, 0), kAnswer);
  EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 1, LPARAM(&header)), kAnswer);
  for (WORD id : {WORD(IDOK), WORD(IDCANCEL), WORD(500)}) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
    EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0), TRUE) << id;
    EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), 0) << id;
  }
  EXPECT_EQ(std::make_tuple(IsWindowVisible(window), dialog.Count("OnOK"), dialog.Count("OnCancel")),
            std::make_tuple(TRUE, 1, 1));
}

TEST_F(DialogProc, AThrowingHandlerShowsTheFatalBoxAndTheDialogStaysOpenUntilCancelled) {
  ProbeDialog dialog;
  dialog.afterInit = [](ProbeDialog& d) { PostMessageW(d.hwnd, WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0); };
  FatalBox box;
  AnswerTheNextFatalBox(&box);
  bool openAfterBox = false;
  int registeredWhileOpen = -1;
  WhileModal([&] {
    openAfterBox = IsWindowVisible(dialog.hwnd);
    registeredWhileOpen = g_modelessMap.Count();
  });
  WhileModalScript("press \"Cancel\"\n");
  EXPECT_EQ(dialog.RunModal(nullptr, MakeWindow()), IDCANCEL);
  EXPECT_EQ(std::make_tuple(box.caption, box.text, openAfterBox),
            std::make_tuple(u"Fatal", u"Window message termainated abnormally by an exception", true));
  // Cancel ended the run, which was never a modeless dialog's.
  EXPECT_EQ(std::make_tuple(dialog.Count("OnCancel"), dialog.calls.back(), registeredWhileOpen),
            std::make_tuple(1, "Detach unbound cleared", 0));

  // The answer is the handled flag as the handler left it; the result word
  // stays as it was, since the message never finished.
  dialog.afterInit = nullptr;
  HWND window = dialog.CreateModeless();
  ASSERT_NE(window, nullptr);
  for (bool handles : {true, false}) {
    dialog.handles = handles;
    box = FatalBox();
    AnswerTheNextFatalBox(&box);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, kUntouched);
    EXPECT_EQ(CeDialog::CeDialogProc(window, WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0), handles ? 1 : 0);
    EXPECT_EQ(std::make_tuple(box.caption, GetWindowLongPtrW(window, DWLP_MSGRESULT), dialog.hwnd),
              std::make_tuple(u"Fatal", kUntouched, window));
  }
}

// The owner: a child's top-level window (through owners too), else the main window, else the
// active one; an unknown template fails with the platform's value and leaves the owner enabled.
TEST_F(DialogProc, ARunTakesItsTemplateAndTheTopLevelOwnerEndsWithOkAndFailsForAnUnknownTemplate) {
  HWND owner = MakeWindow();
  ProbeDialog missing(IDD_MISSING);
  EXPECT_EQ(missing.RunModal(nullptr, owner), -1);
  EXPECT_EQ(ProbeDialog(0).RunModal(nullptr, owner), -1);
  EXPECT_EQ(CeDialog(u"NO_SUCH_DIALOG").RunModal(nullptr, owner), -1);
  EXPECT_EQ(missing.CreateModeless(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner));

  // A name given to the run; the number's low 16 bits and a child of an owned window; no owner
  // given: the main window rather than the active one.
  HWND other = MakeWindow({10, 40, 110, 140});
  ASSERT_NE(g_app, nullptr);
  g_app->mainWindowHandle = owner;
  SetActiveWindow(other);
  const std::tuple<int, LPCWSTR, HWND> runs[] = {
      {IDD_MISSING, MAKEINTRESOURCEW(IDD_PROBE), ChildOf(ChildOf(owner))},
      {0x10000 + IDD_PROBE, nullptr, ChildOf(MakeWindow({0, 26, 100, 126}, WS_POPUP | WS_VISIBLE, owner))},
      {IDD_PROBE, nullptr, nullptr}};
  for (auto [number, name, given] : runs) {
    std::u16string caption;
    HWND ownerSeen = nullptr;
    BOOL ownerEnabled = TRUE;
    ProbeDialog dialog(number);
    dialog.afterInit = [&, owner = owner](ProbeDialog& d) {
      caption = CeString(d.hwnd).Text();
      ownerSeen = GetWindow(d.hwnd, GW_OWNER);
      ownerEnabled = IsWindowEnabled(owner);
      PostMessageW(d.hwnd, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.RunModal(name, given), IDOK) << number;
    EXPECT_EQ(std::make_tuple(caption, ownerSeen, ownerEnabled, IsWindowEnabled(owner), dialog.Count("OnOK")),
              std::make_tuple(u"Probe", owner, FALSE, TRUE, 1))
        << number;
  }
  g_app->mainWindowHandle = nullptr;
  SetActiveWindow(other);
  EXPECT_EQ(CeDialog::DefaultOwner(), other);
}


using CenterOnOwner = DialogTest;

// An owner centred beyond an edge of the work area pulls the dialog's side back to that edge;
// the other direction still follows the owner's centre. A hidden owner counts as none.
TEST_F(CenterOnOwner, ADialogIsCentredOverAVisibleOwnerInsideTheWorkAreaOrInItOrInsideItsParent) {
  const struct {
    const char* what;
    RECT owner;
    DWORD style;
    LONG RECT::*side;  // the dialog's side that meets the work area's
  } cases[] = {
      {"visible", {30, 70, 210, 250}, WS_POPUP | WS_VISIBLE, nullptr},
      {"hidden", {-200, 200, -100, 300}, WS_POPUP, nullptr},
      {"left", {-220, 100, -20, 200}, WS_POPUP | WS_VISIBLE, &RECT::left},
      {"right", {200, 100, 420, 200}, WS_POPUP | WS_VISIBLE, &RECT::right},
      {"top", {40, -150, 200, 30}, WS_POPUP | WS_VISIBLE, &RECT::top},
      {"bottom", {40, 260, 200, 460}, WS_POPUP | WS_VISIBLE, &RECT::bottom},
  };
  RECT r = {};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProbeDialog dialog(IDD_SMALL);
    // Ends the run once initialised (and centred), noting where it was put.
    dialog.afterInit = [&r](ProbeDialog& d) {
      r = WindowRect(d.hwnd);
      PostMessageW(d.hwnd, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(dialog.RunModal(nullptr, MakeWindow(c.owner, c.style)), IDOK);
    const int x = (c.owner.left + c.owner.right) / 2, y = (c.owner.top + c.owner.bottom) / 2;
    if (c.side == nullptr) {
      EXPECT_EQ(OffCentre(r, 120, 160), "");
    } else {
      EXPECT_EQ(r.*c.side, kWorkArea.*c.side) << Describe(r);
      const bool across = c.side == &RECT::left || c.side == &RECT::right;
      EXPECT_EQ(across ? r.top : r.left, across ? y - (r.bottom - r.top) / 2 : x - (r.right - r.left) / 2);
    }
  }
  // Asked, a modeless dialog centres in the work area or over a window given; a child dialog
  // inside its parent, pulled back inside it over a sibling near the parent's corner.
  ProbeDialog lone(IDD_SMALL);
  HWND window = lone.CreateModeless();
  ASSERT_NE(window, nullptr);
  lone.CenterOnOwner();
  EXPECT_EQ(OffCentre(WindowRect(window), 120, 160), "");
  lone.CenterOnOwner(MakeWindow({100, 150, 200, 250}));
  EXPECT_EQ(OffCentre(WindowRect(window), 150, 200), "");

  HWND parent = MakeWindow();
  HWND corner = MakeWindow({200, 230, 240, 268}, WS_CHILD | WS_VISIBLE, parent);
  ProbeDialog child(IDD_CHILD);
  ASSERT_NE(child.CreateModeless(nullptr, parent), nullptr);
  ASSERT_EQ(GetParent(child.hwnd), parent);
  child.CenterOnOwner();
  EXPECT_EQ(OffCentre(RectInParent(child.hwnd), 120, 134), "");
  child.CenterOnOwner(corner);
  r = RectInParent(child.hwnd);
  EXPECT_EQ(std::make_tuple(r.right, r.bottom), std::make_tuple(240L, 268L)) << Describe(r);
}

}  // namespace
}  // namespace dialogtest
