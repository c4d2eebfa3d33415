// The "listbox" control: a column of texts with one selected, scrolled by
// its window scroll bar when they do not fit. The stylus selects (and, held,
// follows); the keys move the selection and typing selects by prefix. With
// LBS_NOTIFY the parent hears LBN_SELCHANGE for the person's changes (not
// for LB_SETCURSEL), LBN_DBLCLK, LBN_SETFOCUS and LBN_KILLFOCUS.
//
// A combo box's drop-down is the same control in a popup window
// ("ComboLBox"): it shows the combo box's items and tells its combo box,
// not a parent, what the stylus did.
#pragma once

#include <string>

#include <windows.h>

#include "user/ControlState.h"
#include "user/ListBoxModel.h"
#include "user/Window.h"

namespace user {

inline constexpr const char16_t* kComboListClassName = u"ComboLBox";

// What a drop-down list tells its combo box.
class ListBoxOwner {
 public:
  virtual ~ListBoxOwner() = default;
  // The stylus was lifted over an item.
  virtual void listChose(int index) = 0;
  // A tap outside the list, or the list lost the stylus.
  virtual void listDismissed() = 0;
};

// Typing selects the next item that begins with what was typed in the last
// moment; a pause starts a new prefix.
class TypeAhead {
 public:
  // The item to select for ch, given the one selected now; -1 for none.
  int next(const ListBoxModel& model, char16_t ch);
  static constexpr DWORD kPauseMs = 1000;

 private:
  std::u16string typed_;
  DWORD last_ = 0;
};

class ListBoxControl : public Control {
 public:
  explicit ListBoxControl(HWND hwnd) : hwnd_(hwnd) {}
  static ListBoxControl* of(HWND hwnd) { return existingControl<ListBoxControl>(hwnd); }

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  ListBoxModel& model() { return *model_; }
  // Selects without notifying, scrolling the item into view; -1 clears.
  void setSelection(int index);
  // The items changed under the control: scroll range and picture follow.
  void itemsChanged();
  int itemHeight() const;
  void setFont(HFONT font, bool redraw);
  // A drop-down list shows its combo box's items (the selection is the lit
  // item): owner hears of the stylus; holding says whether the stylus that
  // opened it is still down (lifting it over an item chooses).
  void startDropDown(ListBoxOwner* owner, ListBoxModel* items, bool holding);
  void endDropDown();
  // Moves the selection as the key would (Up, Down, PageUp, PageDown, Home,
  // End); false for other keys.
  bool moveSelection(UINT key);

  void dump(const std::string& indent, std::string& out) const;

 private:
  bool notifies() const;
  void notify(UINT code);
  int visibleRows() const;
  int maxTop() const;
  void scrollTo(int top);
  void ensureVisible(int index);
  void updateScrollBar();
  int itemAt(int y) const;
  RECT itemRect(int index) const;
  // The person's selection: LBN_SELCHANGE when it changes.
  void choose(int index);
  void onVScroll(WORD code);
  void stylusDown(LPARAM lParam, bool twice);
  void stylusMove(LPARAM lParam);
  void stylusUp(LPARAM lParam);
  void dropDownStylus(UINT msg, LPARAM lParam);
  void keyDown(WPARAM key);
  void character(char16_t ch);
  LRESULT textOf(int index, LPWSTR buffer) const;
  void paint();

  HWND hwnd_;
  ListBoxModel ownModel_;
  ListBoxModel* model_ = &ownModel_;
  int top_ = 0;
  HFONT font_ = nullptr;
  bool focused_ = false;
  bool tracking_ = false;
  bool wantsBar_ = false;  // made with WS_VSCROLL: the bar comes and goes with the items
  ListBoxOwner* owner_ = nullptr;
  TypeAhead typeAhead_;
};

void registerListBoxClasses();

}  // namespace user
