// Full-screen dialogs and windows that follow the input panel: SHInitDialog,
// SHHandleWMSettingChange and SHSipPreference on a 240 x 320 device with a
// 26-pixel navigation bar, a 26-pixel menu bar and an 80-pixel panel.
#include <gtest/gtest.h>

#include <aygshell.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "device/Device.h"

namespace {

constexpr RECT kAboveMenuBar{0, 26, 240, 294};
constexpr RECT kAbovePanel{0, 26, 240, 214};
constexpr RECT kWholeBelowNavBar{0, 26, 240, 320};

// A DIALOG template with a caption and a font, no controls.
class Template {
 public:
  explicit Template(DWORD style) {
    dword(style | DS_SETFONT).dword(WS_EX_CAPTIONOKBTN).word(0).word(0).word(0).word(100).word(60);
    word(0).word(0).text(u"Properties").word(8).text(u"Tahoma");
  }
  LPCDLGTEMPLATEW get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

 private:
  Template& word(uint16_t v) {
    words_.push_back(v);
    return *this;
  }
  Template& dword(uint32_t v) { return word(uint16_t(v & 0xFFFF)).word(uint16_t(v >> 16)); }
  Template& text(std::u16string_view s) {
    for (char16_t c : s) word(c);
    return word(0);
  }
  std::vector<uint16_t> words_;
};

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
  if (want.left == got.left && want.top == got.top && want.right == got.right && want.bottom == got.bottom)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "want {" << want.left << "," << want.top << "," << want.right << ","
                                       << want.bottom << "} got {" << got.left << "," << got.top << "," << got.right
                                       << "," << got.bottom << "}";
}

class FullScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initFlags = 0;
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

  HWND dialogWith(DWORD flags, DWORD style = WS_POPUP | WS_CAPTION) {
    initFlags = flags;
    return CreateDialogIndirectParamW(nullptr, template_(style).get(), nullptr, fullScreenProc, 0);
  }
  static Template template_(DWORD style) { return Template(style); }
};

TEST_F(FullScreenTest, DoneButtonSipDownAndFullScreenGiveTheDialogTheAreaBelowTheNavigationBar) {
  HWND owner = CreateWindowExW(0, u"static", u"main", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                               nullptr, nullptr);
  device().setSipVisible(true);
  initFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
  RECT during{}, client{};
  DWORD style = 0, exStyle = 0;
  bool sipDuring = true;
  std::u16string title;
  HWND dialog = nullptr;
  Template t(WS_POPUP | WS_CAPTION);
  device().script().add([&] {
    dialog = GetActiveWindow();
    during = windowRect(dialog);
    GetClientRect(dialog, &client);
    style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
    sipDuring = device().sipVisible();
    WCHAR text[32];
    GetWindowTextW(dialog, text, 32);
    title = text;
    // What the navigation bar's OK button sends.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
  });
  device().script().add([&] { EndDialog(dialog, IDOK); });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, t.get(), owner, fullScreenProc, 0), IDOK);
  EXPECT_TRUE(sameRect(kAboveMenuBar, during));
  // The title and OK move to the navigation bar: the dialog keeps no caption.
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 294 - 26);
  EXPECT_EQ(style & WS_CAPTION, 0u);
  EXPECT_EQ(exStyle & WS_EX_CAPTIONOKBTN, DWORD(WS_EX_CAPTIONOKBTN));
  EXPECT_EQ(title, u"Properties");
  EXPECT_FALSE(sipDuring);
}

TEST_F(FullScreenTest, EachSizingFlagGivesItsArea) {
  const struct {
    const char* what;
    DWORD flags;
    bool sipUp;
    RECT area;
  } table[] = {
      {"full screen leaves room for the menu bar", SHIDIF_SIZEDLGFULLSCREEN, false, kAboveMenuBar},
      {"full screen whatever the panel does", SHIDIF_SIZEDLGFULLSCREEN, true, kAboveMenuBar},
      {"sized for the panel, panel down", SHIDIF_SIZEDLG, false, kAboveMenuBar},
      {"sized for the panel, panel up", SHIDIF_SIZEDLG, true, kAbovePanel},
      {"no menu bar", SHIDIF_FULLSCREENNOMENUBAR, false, kWholeBelowNavBar},
  };
  for (const auto& row : table) {
    device().setSipVisible(row.sipUp);
    HWND dialog = dialogWith(row.flags);
    ASSERT_TRUE(dialog) << row.what;
    EXPECT_TRUE(sameRect(row.area, windowRect(dialog))) << row.what;
    EXPECT_EQ(device().sipVisible(), row.sipUp) << row.what;  // only SHIDIF_SIPDOWN lowers it
    DestroyWindow(dialog);
  }
}

TEST_F(FullScreenTest, WithoutItsMaskOrForAChildNothingIsSized) {
  HWND plain = dialogWith(0);
  RECT before = windowRect(plain);
  SHINITDLGINFO noMask{0, plain, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_DONEBUTTON};
  EXPECT_TRUE(SHInitDialog(&noMask));
  EXPECT_TRUE(sameRect(before, windowRect(plain)));
  EXPECT_TRUE(GetWindowLongW(plain, GWL_STYLE) & WS_CAPTION);

  HWND child = CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, plain, nullptr, nullptr,
                               nullptr);
  SHINITDLGINFO forChild{SHIDIM_FLAGS, child, SHIDIF_SIZEDLGFULLSCREEN};
  EXPECT_TRUE(SHInitDialog(&forChild));
  EXPECT_TRUE(sameRect({5, 5, 55, 55}, [&] {
    RECT r = windowRect(child);
    MapWindowPoints(nullptr, plain, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }()));

  EXPECT_FALSE(SHInitDialog(nullptr));
  SHINITDLGINFO stale{SHIDIM_FLAGS, reinterpret_cast<HWND>(0x7777), SHIDIF_SIZEDLGFULLSCREEN};
  EXPECT_FALSE(SHInitDialog(&stale));
}

TEST_F(FullScreenTest, SettingChangeSizesTheWindowToThePanelAndBack) {
  HWND dialog = dialogWith(SHIDIF_SIZEDLGFULLSCREEN);
  ASSERT_TRUE(sameRect(kAboveMenuBar, windowRect(dialog)));
  sizes.clear();
  device().setSipVisible(true);
  EXPECT_TRUE(sameRect(kAbovePanel, windowRect(dialog)));
  EXPECT_EQ(activateInfo.fSipUp, 1u);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back(), MAKELPARAM(240, 214 - 26));
  device().setSipVisible(false);
  EXPECT_TRUE(sameRect(kAboveMenuBar, windowRect(dialog)));
  EXPECT_EQ(activateInfo.fSipUp, 0u);
  EXPECT_EQ(sizes.back(), MAKELPARAM(240, 294 - 26));

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
  EXPECT_FALSE(SHHandleWMSettingChange(reinterpret_cast<HWND>(0x7777), SPI_SETSIPINFO, 0, &info));
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
    EXPECT_TRUE(SHSipPreference(step.hwnd, step.state)) << n;
    EXPECT_EQ(device().sipVisible(), step.up) << "step " << n;
    ++n;
  }
  EXPECT_FALSE(SHSipPreference(reinterpret_cast<HWND>(0x7777), SIP_UP));
  EXPECT_FALSE(SHSipPreference(dialog, static_cast<SIPSTATE>(9)));
}

}  // namespace
