// The "button" control: push and default push buttons, check boxes, radio
// buttons (plain and automatic) and group boxes. A press shows the pushed
// state while the stylus is held (with capture); releasing inside clicks.
#pragma once

#include <windows.h>

#include "user/Window.h"

namespace user {

class ButtonControl : public Control {
 public:
  explicit ButtonControl(HWND hwnd) : hwnd_(hwnd) {}

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  DWORD type() const;
  bool isCheckable() const;
  bool isRadio() const;

  void stylusDown();
  void stylusMove(LPARAM lParam);
  void stylusUp(LPARAM lParam);
  void captureLost();
  void keyDown(WPARAM key);
  void keyUp(WPARAM key);
  void setCheck(WPARAM check);
  void setPushed(bool pushed);
  void setStyle(WPARAM style, bool redraw);
  void focusChanged(bool focused);
  void click();
  void checkInGroup();
  LRESULT dialogCode() const;
  void setFont(HFONT font, bool redraw);
  void paint();
  bool inside(LPARAM lParam) const;

  HWND hwnd_;
  UINT check_ = BST_UNCHECKED;
  bool pushed_ = false;
  bool focused_ = false;
  bool tracking_ = false;
  HFONT font_ = nullptr;
  HANDLE image_ = nullptr;
};

}  // namespace user
