// How the chrome looks: the dark blue navigation bar with the title in bold
// white, the clock and the "ok" button; the grey menu-bar strip with the
// input-panel button; the panel's keyboard. Everything is drawn with GDI on
// a screen DC whose clip says which part is drawn again.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "gdi/Region.h"
#include "shell/ChromeKeyboard.h"
#include "shell/ChromeLayout.h"

namespace shell {

constexpr COLORREF kNavBarColor = RGB(16, 52, 132);
constexpr COLORREF kNavTextColor = RGB(255, 255, 255);

struct ChromeFonts {
  ChromeFonts();
  ~ChromeFonts();
  ChromeFonts(const ChromeFonts&) = delete;
  ChromeFonts& operator=(const ChromeFonts&) = delete;
  HFONT title;
  HFONT clock;
  HFONT ok;
  HFONT key;
};

// A DC on the screen that draws only within clip (screen coordinates).
class ScreenCanvas {
 public:
  explicit ScreenCanvas(gdi::Region clip);
  ~ScreenCanvas();
  ScreenCanvas(const ScreenCanvas&) = delete;
  ScreenCanvas& operator=(const ScreenCanvas&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
};

struct NavBarLook {
  std::u16string title;
  std::u16string clock;
  bool ok = false;
  bool okPressed = false;
  bool operator==(const NavBarLook&) const = default;
};

struct SipButtonLook {
  bool panelShown = false;
  bool pressed = false;
  bool operator==(const SipButtonLook&) const = default;
};

void paintNavBar(HDC dc, const RECT& bar, const NavBarLook& look, const ChromeFonts& fonts);
void paintMenuStrip(HDC dc, const RECT& strip);
void paintSipButton(HDC dc, const RECT& button, const SipButtonLook& look);
// pressed: index in keys of the key held down (-1: none); shift: the shift
// key is on, and the keys show what they type with it.
void paintPanel(HDC dc, const RECT& panel, const std::vector<PlacedKey>& keys, int pressed, bool shift,
                const ChromeFonts& fonts);

}  // namespace shell
