// Message boxes: built from the platform's windows, answered by their
// buttons, Enter and Escape; the owner is disabled while they run; a quit
// request ends them and is passed on.
#include "Recorder.h"

#include "device/Device.h"

namespace usertest {
namespace {

using MessageBoxTest = UserTest;

// What a step does while the box waits; runs from a timer procedure.
std::function<void(HWND box)> whileOpen;
HWND seenBox = nullptr;

void CALLBACK onBoxOpen(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  seenBox = FindWindowW(u"Dialog", u"Vantor");
  if (whileOpen) whileOpen(seenBox);
}

int runBox(HWND owner, const char16_t* text, UINT type, std::function<void(HWND)> action) {
  whileOpen = std::move(action);
  seenBox = nullptr;
  SetTimer(nullptr, 0, 0, onBoxOpen);
  int answer = MessageBoxW(owner, text, u"Vantor", type);
  whileOpen = nullptr;
  return answer;
}

void press(UINT vk) {
  key(vk, true);
  key(vk, false);
}

TEST_F(MessageBoxTest, OkButtonAnswersAndTheOwnerIsDisabledMeanwhile) {
  HWND owner = createTopLevel(WS_VISIBLE);
  bool ownerEnabledDuring = true;
  HWND activeDuring = nullptr;
  int answer = runBox(owner, u"Delete the database?", MB_OK | MB_ICONEXCLAMATION, [&](HWND box) {
    ownerEnabledDuring = IsWindowEnabled(owner) != FALSE;
    activeDuring = GetActiveWindow();
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(answer, IDOK);
  ASSERT_TRUE(seenBox);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_EQ(activeDuring, seenBox);
  EXPECT_FALSE(IsWindow(seenBox));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(MessageBoxTest, BoxHoldsIconTextAndTheButtonsOfItsType) {
  HWND owner = createTopLevel(WS_VISIBLE);
  std::vector<std::u16string> texts;
  std::vector<int> ids;
  HWND defaultButton = nullptr;
  DWORD style = 0;
  RECT box{};
  bool hasIcon = false;
  std::u16string caption, text;
  runBox(owner, u"Save changes?", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, [&](HWND dialog) {
    style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    GetWindowRect(dialog, &box);
    WCHAR buffer[64];
    GetWindowTextW(dialog, buffer, 64);
    caption = buffer;
    GetWindowTextW(GetDlgItem(dialog, 0xFFFF), buffer, 64);
    text = buffer;
    HWND icon = GetDlgItem(dialog, 20);
    hasIcon = icon && (GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      WCHAR cls[16];
      GetClassNameW(c, cls, 16);
      if (std::u16string(cls) != u"button") continue;
      GetWindowTextW(c, buffer, 64);
      texts.push_back(buffer);
      ids.push_back(GetDlgCtrlID(c));
      if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) defaultButton = c;
    }
    EXPECT_EQ(GetFocus(), defaultButton);
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION), DWORD(WS_POPUP | WS_CAPTION));
  EXPECT_EQ(caption, u"Vantor");
  EXPECT_EQ(text, u"Save changes?");
  EXPECT_TRUE(hasIcon);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Yes", u"No", u"Cancel"}));
  EXPECT_EQ(ids, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  ASSERT_TRUE(defaultButton);
  // Centred on the work area and inside it.
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_GE(box.left, work.left);
  EXPECT_LE(box.right, work.right);
  EXPECT_GE(box.top, work.top);
  EXPECT_LE(box.bottom, work.bottom);
  EXPECT_LE(std::abs((box.left + box.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((box.top + box.bottom) - (work.top + work.bottom)), 1);
}

TEST_F(MessageBoxTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
  HWND owner = createTopLevel(WS_VISIBLE);
  EXPECT_EQ(runBox(owner, u"Sure?", MB_YESNO | MB_DEFBUTTON2, [](HWND) { press(VK_RETURN); }), IDNO);
  EXPECT_EQ(runBox(owner, u"Sure?", MB_YESNO, [](HWND) { press(VK_RETURN); }), IDYES);
  EXPECT_EQ(runBox(owner, u"Sure?", MB_OKCANCEL, [](HWND) { press(VK_ESCAPE); }), IDCANCEL);
  EXPECT_EQ(runBox(owner, u"Done.", MB_OK, [](HWND) { press(VK_ESCAPE); }), IDOK);
  // Tab moves to the next button, which Enter then presses.
  EXPECT_EQ(runBox(owner, u"Sure?", MB_YESNOCANCEL, [](HWND) {
              press(VK_TAB);
              press(VK_RETURN);
            }),
            IDNO);
  // Without a Cancel button Escape does nothing; the box waits for a button.
  EXPECT_EQ(runBox(owner, u"Sure?", MB_YESNO, [](HWND box) {
              press(VK_ESCAPE);
              PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
            }),
            IDNO);
}

TEST_F(MessageBoxTest, TappingAButtonOnTheScreenAnswers) {
  HWND owner = createTopLevel(WS_VISIBLE);
  std::string error;
  ASSERT_TRUE(device::Device::instance().script().loadText("press \"Cancel\"\n", "message-box", error)) << error;
  EXPECT_EQ(MessageBoxW(owner, u"Delete all records?", u"Vantor", MB_OKCANCEL), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, QuitDuringTheBoxEndsItAndIsPassedOn) {
  HWND owner = createTopLevel(WS_VISIBLE);
  EXPECT_EQ(runBox(owner, u"Sure?", MB_OKCANCEL, [](HWND) { PostQuitMessage(5); }), IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, UINT(WM_QUIT));
  EXPECT_EQ(m.wParam, 5u);
}

TEST_F(MessageBoxTest, DestroyingTheOwnerEndsTheBox) {
  HWND owner = createTopLevel(WS_VISIBLE);
  EXPECT_EQ(runBox(owner, u"Sure?", MB_YESNO, [&](HWND) { DestroyWindow(owner); }), IDNO);
  EXPECT_FALSE(IsWindow(seenBox));
}

TEST_F(MessageBoxTest, LongTextWrapsInsideTheScreen) {
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"record ";
  RECT box{};
  RECT label{};
  runBox(nullptr, text.c_str(), MB_OK, [&](HWND dialog) {
    GetWindowRect(dialog, &box);
    GetWindowRect(GetDlgItem(dialog, 0xFFFF), &label);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(label.bottom - label.top, 3 * 13);  // several lines
  EXPECT_LE(label.right, box.right);
}

}  // namespace
}  // namespace usertest
