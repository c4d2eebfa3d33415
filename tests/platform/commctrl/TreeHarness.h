// Test harness for the tree view: a parent window that records every
// WM_NOTIFY it receives from the tree (code, action, old and new items and
// their data), optional answers to chosen notifications, and a fixture
// that makes a tree and leaves no window or input behind.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace treetest {

struct Note {
  UINT code = 0;
  UINT action = 0;
  HTREEITEM oldItem = nullptr;
  HTREEITEM newItem = nullptr;
  LPARAM oldData = 0;
  LPARAM newData = 0;
};

// An expected notification; the items and action are compared only for
// codes that carry them (the NMTREEVIEWW ones).
Note note(UINT code, UINT action = 0, HTREEITEM oldItem = nullptr, HTREEITEM newItem = nullptr);
std::string codeName(UINT code);

// Compares, printing both sequences on a mismatch.
::testing::AssertionResult sameNotes(const std::vector<Note>& expected, const std::vector<Note>& actual);

// What the parent answers to a notification; it may also act on the tree.
using Answer = std::function<LRESULT(const NMHDR&)>;

class TreeTest : public ::testing::Test {
 protected:
  static constexpr int kTreeId = 100;
  static constexpr DWORD kProgramStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                                         TVS_SHOWSELALWAYS;

  void SetUp() override;
  void TearDown() override;

  // Creates the tree (replacing one made before) in the parent's client area.
  HWND makeTree(DWORD style = kProgramStyle, RECT rect = {0, 0, 240, 130});

  HTREEITEM insert(HTREEITEM parent, const char16_t* text, LPARAM data = 0, HTREEITEM after = TVI_LAST);
  // The notifications received since the last call, then forgets them.
  std::vector<Note> take();
  void answer(UINT code, Answer answer);

  HTREEITEM caret() const;
  HTREEITEM next(UINT code, HTREEITEM item = nullptr) const;
  std::u16string text(HTREEITEM item) const;
  LPARAM data(HTREEITEM item) const;
  UINT state(HTREEITEM item) const;
  bool expanded(HTREEITEM item) const { return (state(item) & TVIS_EXPANDED) != 0; }
  RECT labelRect(HTREEITEM item) const;
  // The centre of an item's label, or of its button, on the screen.
  POINT labelPoint(HTREEITEM item) const;
  POINT buttonPoint(HTREEITEM item) const;

  // Input as a person gives it, delivered through the message loop.
  void tap(POINT screen);
  void key(UINT vk);
  void pump();

  HWND parent_ = nullptr;
  HWND tree_ = nullptr;
};

}  // namespace treetest
