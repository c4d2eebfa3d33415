// The tree view's harness: a parent recording the tree's notifications, and
// a fixture leaving no window or input behind.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "ControlInput.h"

namespace treetest {

using ctltest::key;
using ctltest::pump;
using ctltest::tap;

struct Note {
  UINT code = 0;
  UINT action = 0;
  HTREEITEM oldItem = nullptr;
  HTREEITEM newItem = nullptr;
  LPARAM oldData = 0;
  LPARAM newData = 0;
};

// The data travel along but are not compared; gtest prints both sequences on a mismatch.
bool operator==(const Note& a, const Note& b);
void PrintTo(const Note& n, std::ostream* out);
Note note(UINT code, UINT action = 0, HTREEITEM oldItem = nullptr, HTREEITEM newItem = nullptr);
using Notes = std::vector<Note>;
Notes operator+(Notes a, const Notes& b);
// The pairs a change of selection or of expansion sends; one deletion each.
Notes selection(UINT action, HTREEITEM from, HTREEITEM to);
Notes expansion(UINT action, HTREEITEM item);
Notes deletion(std::initializer_list<HTREEITEM> items);

class TreeTest : public ::testing::Test {
 protected:
  static constexpr int kTreeId = 100;
  static constexpr DWORD kProgramStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                                         TVS_SHOWSELALWAYS;

  void SetUp() override;
  void TearDown() override;

  // Creates the tree (replacing one made before) in the parent's client area.
  HWND makeTree(DWORD style = kProgramStyle);
  // The program's tree: "Databases" (data -1) with "Contacts", "Appointments"
  // and "Tasks" (data 1, 2, 3) below it, nothing selected or open.
  void programTree(DWORD style = kProgramStyle);

  HTREEITEM insert(HTREEITEM parent, const char16_t* text, LPARAM data = 0, HTREEITEM after = TVI_LAST);
  // The notifications received since the last call, then forgets them.
  std::vector<Note> take();
  LRESULT send(UINT msg, WPARAM wParam, HTREEITEM item) const;

  HTREEITEM caret() const { return next(TVGN_CARET); }
  HTREEITEM next(UINT code, HTREEITEM item = nullptr) const;
  // The item's fields for the mask (text: up to 259 units, "<no item>" when refused).
  TVITEMW get(HTREEITEM item, UINT mask) const;
  std::u16string text(HTREEITEM item) const;
  LPARAM data(HTREEITEM item) const { return get(item, TVIF_PARAM).lParam; }
  UINT state(HTREEITEM item) const { return get(item, TVIF_STATE).state; }
  bool expanded(HTREEITEM item) const { return (state(item) & TVIS_EXPANDED) != 0; }
  int count() const { return static_cast<int>(SendMessageW(tree_, TVM_GETCOUNT, 0, 0)); }
  RECT labelRect(HTREEITEM item) const;
  // The centre of an item's label on the screen.
  POINT labelPoint(HTREEITEM item) const;

  HWND parent_ = nullptr;
  HWND tree_ = nullptr;
  HTREEITEM root_ = nullptr, a_ = nullptr, b_ = nullptr, c_ = nullptr;
  mutable WCHAR buffer_[260] = {};
};

}  // namespace treetest
