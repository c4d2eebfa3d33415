// The shell's menu bar: a window in the menu-bar strip at the bottom of the
// screen (left of the input-panel button) with a row of buttons. A text
// button that names a popup opens that popup of the bar's menu above the
// bar; the chosen command reaches the bar's parent as WM_COMMAND. Other
// buttons (images from the bar's bitmap strip, or texts) send their
// command to the parent when tapped. The bar belongs to its parent's
// top-level window: it shows while that window is the foreground window and
// goes with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "user/ControlState.h"
#include "user/Window.h"

namespace shell {

inline constexpr const char16_t* kMenuBarClassName = u"menu_worker";

struct MenuBarButton {
  int image = I_IMAGENONE;  // in the bitmap strip
  UINT command = 0;
  BYTE state = TBSTATE_ENABLED;
  BYTE style = TBSTYLE_BUTTON;
  std::u16string text;
  HMENU popup = nullptr;  // the popup it opens; null: it sends its command
  RECT rect{};            // in the bar's client area

  bool enabled() const { return (state & TBSTATE_ENABLED) != 0; }
  bool shown() const { return !(state & TBSTATE_HIDDEN) && !(style & TBSTYLE_SEP); }
};

// What a bar shows; the bar owns the menu and the bitmap.
struct MenuBarContent {
  HMENU menu = nullptr;
  HBITMAP images = nullptr;
  int imageCount = 0;
  int imagesId = 0;  // the bitmap resource of the strip, for the dump
  std::vector<MenuBarButton> buttons;
};

constexpr int kMenuBarImageSize = 16;
constexpr int kMenuBarImageButtonWidth = 24;
constexpr int kMenuBarTextPadding = 8;  // each side of a text button's text
constexpr int kMenuBarSeparatorWidth = 6;

class MenuBar : public user::Control {
 public:
  explicit MenuBar(HWND hwnd) : hwnd_(hwnd) {}
  ~MenuBar() override;
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  static MenuBar* of(HWND hwnd) { return user::existingControl<MenuBar>(hwnd); }

  // wholeStrip: the bar also takes the input-panel button's place.
  void setup(HWND parent, MenuBarContent content, bool wholeStrip, bool shownByProgram);
  HWND parent() const { return parent_; }
  const std::vector<MenuBarButton>& buttons() const { return content_.buttons; }
  // Where the bar lies on the screen.
  RECT placement() const;
  // Shows the bar while its owner is the foreground window, else hides it.
  void followOwner();
  // The shown button with this text as a person reads it, on the screen.
  std::optional<RECT> buttonOnScreen(std::u16string_view text) const;
  void dump(const std::string& indent, std::string& out) const;

 LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void layout();
  int buttonAt(POINT point) const;
  RECT onScreen(int index) const;
  void stylusDown(POINT point);
  void stylusMove(POINT point);
  void stylusUp(POINT point);
  // Opens the button's popup; a tap on another popup's button that closes
  // it opens that one in turn.
  void openPopups(int index);
  void setPressed(int index);
  void release();
  void paint();
  void paintButton(HDC hdc, const MenuBarButton& button, bool pressed) const;

  HWND hwnd_;
  HWND parent_ = nullptr;
  MenuBarContent content_;
  bool wholeStrip_ = false;
  bool shownByProgram_ = true;
  int pressed_ = -1;    // a button held down, or whose popup is open
  int holding_ = -1;    // a command button the stylus went down on
};

// The bar of a top-level window; null when it has none.
HWND menuBarOf(HWND topLevel);
// The device's `menu` script step taps the bars' buttons and the items of
// their popups; installed with the first bar.
void installMenuChooser();

}  // namespace shell
