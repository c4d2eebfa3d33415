// The "static" control: a label (left, centred or right aligned), an icon
// (SS_ICON) or a filled rectangle; with SS_NOTIFY a tap tells the parent.
#pragma once

#include <windows.h>

#include "user/Window.h"

namespace user {

class StaticControl : public Control {
 public:
  explicit StaticControl(HWND hwnd) : hwnd_(hwnd) {}

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT create(const CREATESTRUCTW* cs);
  LRESULT setText(UINT msg, WPARAM wParam, LPARAM lParam);
  HICON setIcon(HICON icon);
  void tap(UINT code);
  void enable(bool enabled);
  void setFont(HFONT font, bool redraw);
  void paint();
  void paintIcon(HDC hdc, const RECT& area);
  UINT textFormat() const;
  HBRUSH backgroundBrush(HDC hdc);
  DWORD type() const;

  HWND hwnd_;
  HICON icon_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace user
