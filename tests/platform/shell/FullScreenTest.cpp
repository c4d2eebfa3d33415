// Full-screen dialogs and windows that follow the input panel: SHInitDialog,
// SHHandleWMSettingChange and SHSipPreference on a 240 x 320 device with a
// 26-pixel navigation bar, a 26-pixel menu bar and an 80-pixel panel.
#include <gtest/gtest.h>

#include <aygshell.h>
#include <windows.h>

#include <vector>

#include "device/Device.h"

namespace {

constexpr RECT kAboveMenuBar{0, 26, 240, 294};
constexpr RECT kAbovePanel{0, 26, 240, 214};
const HWND kStale = reinterpret_cast<HWND>(0x7777);

// A DIALOG template with a caption, the OK button's style and a font, no controls.
const std::vector<uint16_t> kTemplate = {
    static_cast<uint16_t>(DS_SETFONT), static_cast<uint16_t>((WS_POPUP | WS_CAPTION) >> 16),
    static_cast<uint16_t>(WS_EX_CAPTIONOKBTN & 0xFFFF), static_cast<uint16_t>(WS_EX_CAPTIONOKBTN >> 16),
    0, 0, 0, 100, 60, 0, 0,
    u'P', u'r', u'o', u'p', u'e', u'r', u't', u'i', u'e', u's', 0, 8, u'T', u'a', u'h', u'o', u'm', u'a', 0};

DWORD initFlags = 0;
SHACTIVATEINFO activateInfo{};
std::vector<LPARAM> sizes;

INT_PTR CALLBACK fullScreenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog, initFlags};
      SHInitDialog(&info);
      return TRUE;
    }
    case WM_SETTINGCHANGE:
      activateInfo.cbSize = 12;  // as a program built for the device sets it
      SHHandleWMSettingChange(dialog, wParam, lParam, &activateInfo);
      return TRUE;
    case WM_SIZE:
      sizes.push_back(lParam);
      return FALSE;
    default:
      return FALSE;
  }
}

RECT windowRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

::testing::AssertionResult sameRect(const RECT& want, const RECT& got) {
  if (EqualRect(&want, &got)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "want {" << want.left << "," << want.top << "," << want.right << ","
                                       << want.bottom << "} got {" << got.left << "," << got.top << "," << got.right
                                       << "," << got.bottom << "}";
}

class FullScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activateInfo = SHACTIVATEINFO{};
    sizes.clear();
    device().setSipVisible(false);
  }
  void TearDown() override {
    while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
    device().setSipVisible(false);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  static device::Device& device() { return device::Device::instance(); }
  static LPCDLGTEMPLATEW dialogTemplate() { return reinterpret_cast<LPCDLGTEMPLATEW>(kTemplate.data()); }
  static HWND dialogWith(DWORD flags) {
    initFlags = flags;
    return CreateDialogIndirectParamW(nullptr, dialogTemplate(), nullptr, fullScreenProc, 0);
  }
};

TEST_F(FullScreenTest, DoneButtonSipDownAndFullScreenGiveTheDialogTheAreaBelowTheNavigationBar) {
  HWND owner = CreateWindowExW(0, u"static", u"main", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                               nullptr, nullptr);
  device().setSipVisible(true);
  initFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
  RECT during{}, client{};
  DWORD style = 0, exStyle = 0;
  bool sipDuring = true;
  WCHAR title[32] = {};
  HWND dialog = nullptr;
  device().script().add([&] {
    dialog = GetActiveWindow();
    during = windowRect(dialog);
    GetClientRect(dialog, &client);
    style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
    sipDuring = device().sipVisible();
    GetWindowTextW(dialog, title, 32);
    // What the navigation bar's OK button sends.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
  });
  device().script().add([&] { EndDialog(dialog, IDOK); });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, dialogTemplate(), owner, fullScreenProc, 0), IDOK);
  EXPECT_TRUE(sameRect(kAboveMenuBar, during));
  // The title and OK move to the navigation bar: the dialog keeps no caption.
  EXPECT_TRUE(sameRect({0, 0, 240, 294 - 26}, client));
  EXPECT_EQ(style & WS_CAPTION, 0u);
  EXPECT_EQ(exStyle & WS_EX_CAPTIONOKBTN, DWORD(WS_EX_CAPTIONOKBTN));
  EXPECT_EQ(std::u16string(title), u"Properties");
  EXPECT_FALSE(sipDuring);
}

TEST_F(FullScreenTest, EachSizingFlagGivesItsArea) {
  const struct {
    const char* what;
    DWORD flags;
    bool sipUp;
    RECT area;
  } table[] = {
      {"full screen whatever the panel does", SHIDIF_SIZEDLGFULLSCREEN, true, kAboveMenuBar},
      {"sized for the panel, panel down", SHIDIF_SIZEDLG, false, kAboveMenuBar},
      {"sized for the panel, panel up", SHIDIF_SIZEDLG, true, kAbovePanel},
      {"no menu bar", SHIDIF_FULLSCREENNOMENUBAR, false, {0, 26, 240, 320}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    device().setSipVisible(row.sipUp);
    HWND dialog = dialogWith(row.flags);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(sameRect(row.area, windowRect(dialog)));
    EXPECT_EQ(device().sipVisible(), row.sipUp);  // only SHIDIF_SIPDOWN lowers it
    DestroyWindow(dialog);
  }
}

TEST_F(FullScreenTest, WithoutItsMaskNothingIsSizedAndAStaleWindowIsRefused) {
  HWND plain = dialogWith(0);
  RECT before = windowRect(plain);
  SHINITDLGINFO noMask{0, plain, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_DONEBUTTON};
  EXPECT_TRUE(SHInitDialog(&noMask));
  EXPECT_TRUE(sameRect(before, windowRect(plain)));
  EXPECT_TRUE(GetWindowLongW(plain, GWL_STYLE) & WS_CAPTION);

  EXPECT_FALSE(SHInitDialog(nullptr));
  SHINITDLGINFO stale{SHIDIM_FLAGS, kStale, SHIDIF_SIZEDLGFULLSCREEN};
  EXPECT_FALSE(SHInitDialog(&stale));
}

TEST_F(FullScreenTest, SettingChangeSizesTheWindowToThePanelAndBack) {
  HWND dialog = dialogWith(SHIDIF_SIZEDLGFULLSCREEN);
  ASSERT_TRUE(sameRect(kAboveMenuBar, windowRect(dialog)));
  for (bool up : {true, false}) {
    SCOPED_TRACE(up ? "panel up" : "panel down");
    device().setSipVisible(up);
    EXPECT_TRUE(sameRect(up ? kAbovePanel : kAboveMenuBar, windowRect(dialog)));
    EXPECT_EQ(activateInfo.fSipUp, up ? 1u : 0u);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), MAKELPARAM(240, (up ? 214 : 294) - 26));
  }

  // Other setting changes leave the window alone.
  SetWindowPos(dialog, nullptr, 10, 40, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  SHACTIVATEINFO info{};
  info.cbSize = sizeof(SHACTIVATEINFO);
  EXPECT_TRUE(SHHandleWMSettingChange(dialog, SPI_GETWORKAREA, 0, &info));
  EXPECT_TRUE(sameRect({10, 40, 110, 140}, windowRect(dialog)));
  // A window that missed a change is sized right by the next one.
  EXPECT_TRUE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, &info));
  EXPECT_TRUE(sameRect(kAboveMenuBar, windowRect(dialog)));

  SHACTIVATEINFO wrong{};
  wrong.cbSize = 8;
  EXPECT_FALSE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, &wrong));
  EXPECT_FALSE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, nullptr));
  EXPECT_FALSE(SHHandleWMSettingChange(kStale, SPI_SETSIPINFO, 0, &info));
}

TEST_F(FullScreenTest, SipPreferenceRaisesAndLowersThePanelUnlessAnInputDialogKeepsIt) {
  HWND dialog = dialogWith(0);
  HWND other = dialogWith(0);
  const struct {
    HWND hwnd;
    SIPSTATE state;
    bool up;
  } steps[] = {
      {dialog, SIP_UP, true},       {dialog, SIP_DOWN, false},      {dialog, SIP_UP, true},
      {dialog, SIP_UNCHANGED, true}, {dialog, SIP_INPUTDIALOG, true}, {dialog, SIP_DOWN, true},
      {other, SIP_DOWN, false},     {dialog, SIP_UP, true},         {dialog, SIP_FORCEDOWN, false},
  };
  int n = 0;
  for (const auto& step : steps) {
    SCOPED_TRACE(n++);
    EXPECT_TRUE(SHSipPreference(step.hwnd, step.state));
    EXPECT_EQ(device().sipVisible(), step.up);
  }
  EXPECT_FALSE(SHSipPreference(kStale, SIP_UP));
  EXPECT_FALSE(SHSipPreference(dialog, static_cast<SIPSTATE>(9)));
}

}  // namespace
