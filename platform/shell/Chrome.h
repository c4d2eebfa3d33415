// The device's chrome, drawn by the shell over the windows: the navigation
// bar at the top (the foreground window's title, a clock, and the "ok"
// button for a window with WS_EX_CAPTIONOKBTN), the menu-bar strip at the
// bottom with the input-panel button at its right, and the input panel's
// keyboard above the strip while it shows.
//
// A menu bar is a window of its own placed in the strip (at
// Device::menuBarRect()): windows in the strip show there, and the chrome
// draws the rest of the strip around them. The bar, the panel and the
// input-panel button stay above every window but popup menus and windows
// that ask to be topmost, which show above everything, as the shell's own
// menus do.
//
// The chrome draws only what changed (the title, the clock's minute, a
// pressed button or key, the panel shown or hidden, a turned screen) and
// what a window drew over; the stylus on it is its own, before the windows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "display/Backend.h"
#include "gdi/Region.h"
#include "shell/ChromeKeyboard.h"
#include "shell/ChromePainter.h"

namespace shell {

class Chrome {
 public:
  // The "ok" button's WM_COMMAND: IDOK with this notification code, which
  // tells it from a button whose id is IDOK.
  static constexpr WORD kOkNotification = 1;

  Chrome();
  ~Chrome();

  // Draws what changed since the last call; now is the clock's time.
  void update(const SYSTEMTIME& now);
  // True when the event is the chrome's: a stylus pressed on it, until lifted.
  bool takeStylus(const display::InputEvent& event);

  // The "ok" button's command to the foreground window, or WM_CLOSE when it
  // has no such button; with no window left, the program is asked to quit.
  // Closing the host window does this.
  static void closeForeground();
  static int msUntilNextMinute(const SYSTEMTIME& now);

  // The panel's keys where they lie on the screen now.
  std::vector<PlacedKey> panelKeys() const;
  bool shiftOn() const { return shift_; }

 private:
  enum class Part { None, Bar, Ok, SipButton, Key };
  struct Hit {
    Part part = Part::None;
    int key = -1;
    bool operator==(const Hit&) const = default;
  };

  // A visible top-level window where it lies on the screen.
  struct Cover {
    RECT rect{};
    bool above = false;  // shows above the chrome
    bool operator==(const Cover& o) const;
  };

  static std::vector<Cover> covers();
  Hit hitAt(POINT point) const;
  void act(const Hit& hit);
  void typeKey(const PanelKey& key);
  NavBarLook navBarLook(const SYSTEMTIME& now) const;
  void updateNavBar(const gdi::Region& damage, bool reshaped, const SYSTEMTIME& now);
  void updateMenuStrip(const gdi::Region& damage, bool reshaped);
  void updatePanel(const gdi::Region& damage, bool reshaped);
  // The chrome's part of area: without the windows above it, and in the
  // strip without any window.
  void clipToChrome(gdi::Region& area, bool underWindows) const;
  bool pressing(Part part) const { return pressedShown_ && pressed_.part == part; }

  ChromeFonts fonts_;
  Hit pressed_;               // what the stylus went down on
  bool holding_ = false;      // the stylus went down on the chrome and is not lifted
  bool pressedShown_ = false; // ...and is still over what it went down on
  bool shift_ = false;

  // What the screen shows now.
  RECT drawnScreen_{};
  std::vector<Cover> drawnCovers_;
  NavBarLook drawnNavBar_;
  SipButtonLook drawnSipButton_;
  bool panelDrawn_ = false;
  int drawnKey_ = -1;
  bool drawnShift_ = false;
};

}  // namespace shell
