// Message boxes: built from the platform's windows, answered by their buttons, Enter, Escape and a script's tap;
// the owner is disabled while they run; a quit request or the owner's end ends them.
#include "Recorder.h"
#include "device/Device.h"

namespace usertest {
namespace {

using MessageBoxTest = UserTest;

// Runs a message box captioned "Vantor", calling whileOpen with it once it waits
// for input: from a timer, as the device's script would end a run it outlives.
std::function<void(HWND)> whileBoxOpen;
int runMessageBox(HWND owner, const char16_t* text, UINT type, std::function<void(HWND box)> whileOpen) {
  whileBoxOpen = std::move(whileOpen);
  SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    whileBoxOpen(FindWindowW(u"Dialog", u"Vantor"));
  });
  return MessageBoxW(owner, text, u"Vantor", type);
}

// Each type's buttons and answers by a tap are the gallery's (GalleryTest).
TEST_F(MessageBoxTest, KeysAScriptAQuitOrTheOwnersEndAnswerTheCentredBoxWhichDisablesItsOwner) {
  HWND owner = createTopLevel(WS_VISIBLE);
  std::u16string asked;
  for (int i = 0; i < 40; ++i) asked += u"record ";
  RECT window{};
  RECT label{};
  auto look = [&](HWND box) {
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), box);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, 20), GWL_STYLE) & SS_TYPEMASK, SS_ICON);
    window = screenRect(box);
    label = screenRect(GetDlgItem(box, 0xFFFF));
    press(VK_ESCAPE);
  };
  auto keys = [](std::vector<UINT> list) {
    return [list](HWND) {
      for (UINT vk : list) press(vk);
    };
  };
  const struct { const char16_t* text; UINT type; std::function<void(HWND)> action; int answer; } cases[] = {
      {asked.c_str(), MB_OKCANCEL | MB_ICONQUESTION, look, IDCANCEL},
      {u"Sure?", MB_YESNO | MB_DEFBUTTON2, keys({VK_RETURN}), IDNO},
      {u"Sure?", MB_YESNO, keys({VK_RETURN}), IDYES},
      {u"Sure?", MB_OK, keys({VK_ESCAPE}), IDOK},
      {u"Sure?", MB_YESNOCANCEL, keys({VK_TAB, VK_RETURN}), IDNO},  // Tab moves to the next button
      {u"Sure?", MB_YESNO, keys({VK_ESCAPE, VK_RETURN}), IDYES},    // without Cancel, Escape does nothing
      {u"Sure?", MB_OKCANCEL, [](HWND) { PostQuitMessage(5); }, IDCANCEL},  // last: the quit is passed on
  };
  for (const auto& c : cases) EXPECT_EQ(runMessageBox(owner, c.text, c.type, c.action), c.answer) << c.type;
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(std::make_pair(m.message, m.wParam), std::make_pair(UINT(WM_QUIT), WPARAM(5)));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 1);
  EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 1);
  EXPECT_GT(label.bottom - label.top, 3 * 13) << "the text wraps on several lines";
  EXPECT_LE(label.right, window.right);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);

  std::string error;
  ASSERT_TRUE(device::Device::instance().script().loadText("press \"Cancel\"\n", "message-box", error)) << error;
  EXPECT_EQ(MessageBoxW(owner, u"Delete all records?", u"Vantor", MB_OKCANCEL), IDCANCEL);
  HWND box = nullptr;
  EXPECT_EQ(runMessageBox(owner, u"Sure?", MB_YESNO, [&](HWND b) {
    box = b;
    DestroyWindow(owner);
  }), IDNO);
  EXPECT_FALSE(IsWindow(box));
}

}  // namespace
}  // namespace usertest
