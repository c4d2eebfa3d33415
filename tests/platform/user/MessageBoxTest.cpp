// Message boxes: built from the platform's windows, answered by their
// buttons, Enter and Escape; the owner is disabled while they run; a quit
// request or the owner's end ends them.
#include "Recorder.h"

#include "device/Device.h"

namespace usertest {
namespace {

using MessageBoxTest = UserTest;

TEST_F(MessageBoxTest, BoxHoldsIconTextAndTheButtonsOfItsTypeAndDisablesItsOwner) {
  HWND owner = createTopLevel(WS_VISIBLE);
  std::vector<std::u16string> texts;
  std::vector<int> ids;
  HWND box = nullptr;
  bool ownerEnabled = true;
  std::u16string text;
  int answer = runMessageBox(owner, u"Save changes?", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, [&](HWND b) {
    box = b;
    HWND defaultButton = nullptr;
    ownerEnabled = IsWindowEnabled(owner) != FALSE;
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(DWORD(GetWindowLongW(box, GWL_STYLE)) & (WS_POPUP | WS_CAPTION), DWORD(WS_POPUP | WS_CAPTION));
    WCHAR buffer[64];
    GetWindowTextW(GetDlgItem(box, 0xFFFF), buffer, 64);
    text = buffer;
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, 20), GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      GetClassNameW(c, buffer, 64);
      if (std::u16string(buffer) != u"button") continue;
      GetWindowTextW(c, buffer, 64);
      texts.push_back(buffer);
      ids.push_back(GetDlgCtrlID(c));
      if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defaultButton = c;
    }
    EXPECT_EQ(GetFocus(), defaultButton);
    EXPECT_EQ(GetDlgCtrlID(defaultButton), IDNO);
    // Centred on the work area and inside it.
    RECT r = screenRect(box), work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(r.left >= work.left && r.right <= work.right && r.top >= work.top && r.bottom <= work.bottom);
    EXPECT_LE(std::abs((r.left + r.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) - (work.top + work.bottom)), 1);
    PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(answer, IDCANCEL);
  ASSERT_TRUE(box);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(text, u"Save changes?");
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Yes", u"No", u"Cancel"}));
  EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(MessageBoxTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
  HWND owner = createTopLevel(WS_VISIBLE);
  const struct { UINT type; std::vector<UINT> keys; int answer; } cases[] = {
      {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
      {MB_YESNO, {VK_RETURN}, IDYES},
      {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
      {MB_OK, {VK_ESCAPE}, IDOK},
      {MB_YESNOCANCEL, {VK_TAB, VK_RETURN}, IDNO},  // Tab moves to the next button
      {MB_YESNO, {VK_ESCAPE, VK_RETURN}, IDYES},  // without Cancel, Escape does nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runMessageBox(owner, u"Sure?", c.type, [&](HWND) {
                for (UINT vk : c.keys) press(vk);
              }),
              c.answer)
        << std::hex << c.type;
  }
}

TEST_F(MessageBoxTest, TappingAButtonOnTheScreenAnswers) {
  HWND owner = createTopLevel(WS_VISIBLE);
  std::string error;
  ASSERT_TRUE(device::Device::instance().script().loadText("press \"Cancel\"\n", "message-box", error)) << error;
  EXPECT_EQ(MessageBoxW(owner, u"Delete all records?", u"Vantor", MB_OKCANCEL), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, QuitOrTheOwnersEndEndsTheBox) {
  HWND owner = createTopLevel(WS_VISIBLE);
  EXPECT_EQ(runMessageBox(owner, u"Sure?", MB_OKCANCEL, [](HWND) { PostQuitMessage(5); }), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_QUIT)) << "and the quit is passed on";
  EXPECT_EQ(m.wParam, 5u);

  HWND box = nullptr;
  EXPECT_EQ(runMessageBox(owner, u"Sure?", MB_YESNO, [&](HWND b) {
              box = b;
              DestroyWindow(owner);
            }),
            IDNO);
  EXPECT_FALSE(IsWindow(box));
}

TEST_F(MessageBoxTest, LongTextWrapsInsideTheScreen) {
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"record ";
  RECT box{}, label{};
  runMessageBox(nullptr, text.c_str(), MB_OK, [&](HWND dialog) {
    box = screenRect(dialog);
    label = screenRect(GetDlgItem(dialog, 0xFFFF));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(label.bottom - label.top, 3 * 13);  // several lines
  EXPECT_LE(label.right, box.right);
}

}  // namespace
}  // namespace usertest
