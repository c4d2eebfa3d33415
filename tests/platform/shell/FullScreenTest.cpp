// SHInitDialog, SHHandleWMSettingChange and SHSipPreference on a 240 x 320 device with
// 26-pixel navigation and menu bars and an 80-pixel panel.
#include <aygshell.h>

#include <array>

#include "ChromeHarness.h"

namespace chrometest {
namespace {

constexpr RECT kAbovePanel{0, 26, 240, 214};

// A DIALOG template with a caption, the OK button's style and a font, no controls.
const std::vector<uint16_t> kTemplate = {
    static_cast<uint16_t>(DS_SETFONT), static_cast<uint16_t>((WS_POPUP | WS_CAPTION) >> 16),
    static_cast<uint16_t>(WS_EX_CAPTIONOKBTN & 0xFFFF), static_cast<uint16_t>(WS_EX_CAPTIONOKBTN >> 16),
    0, 0, 0, 100, 60, 0, 0,
    u'P', u'r', u'o', u'p', u'e', u'r', u't', u'i', u'e', u's', 0, 8, u'T', u'a', u'h', u'o', u'm', u'a', 0};

DWORD initFlags = 0;
SHACTIVATEINFO activateInfo{};

INT_PTR CALLBACK fullScreenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog, initFlags};
    SHInitDialog(&info);
  } else if (msg == WM_SETTINGCHANGE) {
    activateInfo.cbSize = 12;  // as a program built for the device sets it
    SHHandleWMSettingChange(dialog, wParam, lParam, &activateInfo);
  }
  return msg == WM_INITDIALOG || msg == WM_SETTINGCHANGE;
}

using Box = std::array<LONG, 4>;  // a rectangle gtest can compare and print
Box box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
Box windowBox(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return box(r);
}

HWND dialogWith(DWORD flags) {
  initFlags = flags;
  return CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(kTemplate.data()), nullptr, fullScreenProc, 0);
}

using FullScreenTest = ChromeTest;

TEST_F(FullScreenTest, EachSizingFlagGivesItsAreaOnlyAPanelChangeResizesItAndPreferencesMoveThePanel) {
  const struct { const char* what; DWORD flags; bool sipBefore, sipAfter; RECT area; } table[] = {
      {"the program's: the panel goes down first", SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN, true,
       false, kAboveMenuBar},
      {"full screen whatever the panel does", SHIDIF_SIZEDLGFULLSCREEN, true, true, kAboveMenuBar},
      {"above the panel", SHIDIF_SIZEDLG, true, true, kAbovePanel},
      {"no menu bar", SHIDIF_FULLSCREENNOMENUBAR, false, false, {0, 26, 240, 320}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.what);
    dev().setSipVisible(row.sipBefore);
    HWND dialog = dialogWith(row.flags);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(windowBox(dialog), box(row.area));
    EXPECT_EQ(dev().sipVisible(), row.sipAfter);
    // The title and OK move to the navigation bar: the dialog keeps no caption.
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(box(client), box({0, 0, row.area.right, row.area.bottom - row.area.top}));
    EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION, 0);
    DestroyWindow(dialog);
  }

  HWND dialog = dialogWith(SHIDIF_SIZEDLGFULLSCREEN);
  dev().setSipVisible(true);
  EXPECT_EQ(windowBox(dialog), box(kAbovePanel));
  EXPECT_EQ(activateInfo.fSipUp, 1u);
  dev().setSipVisible(false);
  // Other setting changes leave the window alone; a window that missed a
  // change is sized right by the next one.
  SetWindowPos(dialog, nullptr, 10, 40, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  SHACTIVATEINFO info{};
  info.cbSize = sizeof(SHACTIVATEINFO);
  EXPECT_TRUE(SHHandleWMSettingChange(dialog, SPI_GETWORKAREA, 0, &info));
  EXPECT_EQ(windowBox(dialog), box({10, 40, 110, 140}));
  EXPECT_TRUE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, &info));
  EXPECT_EQ(windowBox(dialog), box(kAboveMenuBar));

  // A preference moves the panel unless an input dialog keeps it; stale windows are refused.
  HWND other = dialogWith(0);
  HWND child = CreateWindowExW(0, u"BUTTON", u"", WS_CHILD, 0, 0, 10, 10, dialog, nullptr, nullptr, nullptr);
  const struct { HWND hwnd; SIPSTATE state; bool up; } steps[] = {
      {dialog, SIP_UP, true},        {dialog, SIP_DOWN, false},       {dialog, SIP_UP, true},
      {dialog, SIP_UNCHANGED, true}, {child, SIP_INPUTDIALOG, true},  {dialog, SIP_DOWN, true},
      {other, SIP_DOWN, false},      {child, SIP_UP, true},           {child, SIP_FORCEDOWN, false},
  };
  for (const auto& step : steps) {
    EXPECT_TRUE(SHSipPreference(step.hwnd, step.state));
    EXPECT_EQ(dev().sipVisible(), step.up) << &step - steps;
  }
  EXPECT_FALSE(SHSipPreference(dialog, static_cast<SIPSTATE>(9)));
  DestroyWindow(other);
  EXPECT_FALSE(SHSipPreference(other, SIP_UP));
  info.cbSize = 0;
  EXPECT_FALSE(SHHandleWMSettingChange(dialog, SPI_SETSIPINFO, 0, &info)) << "no size";
  info.cbSize = sizeof info;
  EXPECT_FALSE(SHHandleWMSettingChange(other, SPI_SETSIPINFO, 0, &info));
  SHINITDLGINFO init{SHIDIM_FLAGS, other, SHIDIF_SIZEDLG};
  EXPECT_FALSE(SHInitDialog(&init));
  EXPECT_FALSE(SHInitDialog(nullptr));
  EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, nullptr, 0));
  EXPECT_FALSE(SHSipInfo(0, 0, nullptr, 0));
}

}  // namespace
}  // namespace chrometest
