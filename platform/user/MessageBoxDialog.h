// MessageBoxW: a modal box built from the platform's own windows (a
// "Dialog" popup with an icon, the text and push buttons), run in a nested
// loop while its owner is disabled.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace user {

class MessageBoxDialog {
 public:
  MessageBoxDialog(HWND owner, std::u16string text, std::u16string caption, UINT type);
  int run();

  struct Button {
    int id;
    const char16_t* text;
  };
  // The buttons for the MB_TYPEMASK part of a type, left to right.
  static std::vector<Button> buttonsFor(UINT type);

  static constexpr int kMargin = 8;
  static constexpr int kIconSize = 32;
  static constexpr int kButtonHeight = 20;
  static constexpr int kButtonMinWidth = 56;
  static constexpr int kButtonGap = 6;
  static constexpr int kIconId = 20;
  static constexpr int kTextId = 0xFFFF;

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool create();
  void createButtons(int clientWidth, int top);
  bool command(int id);
  // Escape's answer, 0 when Escape does nothing (no Cancel button).
  int escapeAnswer() const;
  // The answer when the box is ended from outside (quit, owner gone).
  int forcedAnswer() const;
  LPCWSTR iconName() const;
  // The border and the caption strip with the title.
  void paintFrame() const;

  HWND owner_;
  std::u16string text_;
  std::u16string caption_;
  UINT type_;
  HWND box_ = nullptr;
  HWND defaultButton_ = nullptr;
  bool done_ = false;
  int result_ = 0;
};

}  // namespace user
