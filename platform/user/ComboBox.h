// The "combobox" control as a drop-down list (CBS_DROPDOWNLIST; the other
// kinds behave the same, having no edit control): a field showing the
// selected item, with an arrow button that drops a list of the items below
// the field, or above it when the screen has no room below.
//
// Its window text is the selected item's text, empty without a selection.
// The person changes the selection with the list (a tap on an item), with
// Up, Down, Home, End, PageUp and PageDown on the closed field, or by typing
// the start of an item; F4 and Alt+Down drop the list, Enter (or F4) takes
// the lit item and Escape keeps the old one. The parent hears
// CBN_SETFOCUS, CBN_KILLFOCUS, CBN_DROPDOWN before the list shows, and when
// it closes CBN_SELENDOK (or CBN_SELENDCANCEL), CBN_CLOSEUP and then
// CBN_SELCHANGE if the selection changed. A program's own changes
// (CB_SETCURSEL, CB_SELECTSTRING) are not announced.
#pragma once

#include <string>

#include <windows.h>

#include "user/ControlState.h"
#include "user/ListBox.h"

namespace user {

class ComboBoxControl : public Control, public ListBoxOwner {
 public:
  explicit ComboBoxControl(HWND hwnd) : hwnd_(hwnd) {}
  static ComboBoxControl* of(HWND hwnd) { return existingControl<ComboBoxControl>(hwnd); }

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  void listChose(int index) override;
  void listDismissed() override;

  int fieldHeight() const;
  // Where the list shows when dropped, on the screen.
  RECT dropRect() const;
  bool dropped() const { return list_ != nullptr; }
  void dump(const std::string& indent, std::string& out) const;

 private:
  void notify(UINT code);
  int itemHeight() const;
  void drop();
  void closeUp(bool take);
  // The selection (and the window text); byPerson announces a change.
  void select(int index, bool byPerson);
  void itemsChanged();
  void setText(const std::u16string& text);
  LRESULT setWindowText(LPCWSTR text);
  void adjustSize(WINDOWPOS& pos);
  void setFont(HFONT font, bool redraw);
  void focusChanged(bool focused);
  void keyDown(WPARAM key, bool alt);
  void character(char16_t ch);
  LRESULT dialogCode() const;
  void paint();

  HWND hwnd_;
  ListBoxModel items_;   // while dropped, the list's selection is the lit item
  int selected_ = -1;    // what the field shows
  HWND list_ = nullptr;  // the drop-down, while it shows
  int requestedHeight_ = 0;  // field and list together, as the control was sized
  HFONT font_ = nullptr;
  bool focused_ = false;
  bool listScrolls_ = false;  // made with WS_VSCROLL
  TypeAhead typeAhead_;
};

void registerComboBoxClass();

}  // namespace user
