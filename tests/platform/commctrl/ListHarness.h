// The list view's harness: a parent recording each WM_NOTIFY as a line of
// text and answering as a program would; a fixture leaving nothing behind.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <commctrl.h>

#include "ControlInput.h"

namespace listtest {

using ctltest::drag;
using ctltest::key;
using ctltest::pump;
using ctltest::stylus;
using ctltest::tap;

struct Note {
  UINT code = 0;
  HWND from = nullptr;
  std::string text;
};

struct Answers {
  // LVN_GETDISPINFOW's text, cut to the buffer.
  std::function<std::u16string(int row, int subItem)> cell = [](int, int) { return std::u16string(u"cell"); };
  std::function<LRESULT(int start, const std::u16string& text)> find = [](int, const std::u16string&) { return -1; };
  std::map<UINT, LRESULT> results;  // for other codes
};

Answers& answers();
std::vector<Note>& notes();
// The descriptions of the notes with one of these codes, in order, and
// expected ones spelled alike.
std::vector<std::string> logged(std::initializer_list<UINT> codes);
std::string changed(int row, UINT newState, UINT oldState);
std::string odChanged(int first, int last, UINT newState, UINT oldState);
std::string hint(int first, int last);
std::string dispInfo(int row, int subItem);
std::string click(int row, int subItem);
std::string columnClick(int subItem);
std::string findItem(int start, const std::u16string& text);

HWND createParent();
HWND createList(HWND parent, DWORD style, RECT rect = {0, 0, 240, 200}, int id = 101);
HWND headerOf(HWND list);
// width < 0: text only.
int insertColumn(HWND list, int index, const char16_t* text, int width, int format = LVCFMT_LEFT);
void addColumns(HWND list, std::initializer_list<std::pair<const char16_t*, int>> columns);
int addRow(HWND list, std::initializer_list<const char16_t*> cells);
std::u16string itemText(HWND list, int row, int subItem, int capacity = 260);
std::vector<int> selectedRows(HWND list);
int focusedRow(HWND list);
int topRow(HWND list);
int pageRows(HWND list);
POINT cellPoint(HWND list, int row, int column);

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace listtest
