// How a button looks: push buttons (the default one with a black frame)
// with raised edges that sink while pressed, check boxes and radio buttons
// with their label beside the box, group boxes with the title on the frame.
#pragma once

#include <string>

#include <windows.h>

namespace user {

struct ButtonLook {
  DWORD style = 0;
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool enabled = true;
  HANDLE image = nullptr;  // BS_ICON / BS_BITMAP
  std::u16string text;
};

// Side of the box of a check box or radio button, and the gap to its label.
constexpr int kCheckBoxSize = 13;
constexpr int kCheckLabelGap = 4;

// Paints the whole client area (area) on hdc, which holds the button's font.
// The parent is asked for its colours first: WM_CTLCOLORBTN for a push
// button, WM_CTLCOLORSTATIC for the others.
void paintButton(HWND button, HDC hdc, const RECT& area, const ButtonLook& look);

}  // namespace user
