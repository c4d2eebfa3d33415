// The list view's harness: a parent recording each WM_NOTIFY as a line of
// text and answering as a program would; a fixture leaving nothing behind.
#pragma once

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ControlInput.h"

namespace listtest {

using ctltest::drag;
using ctltest::key;
using ctltest::pump;
using ctltest::tap;

struct Note { UINT code = 0; HWND from = nullptr; std::string text; };

struct Answers {
  // LVN_GETDISPINFOW's text, cut to the buffer.
  std::function<std::u16string(int row, int subItem)> cell = [](int, int) { return std::u16string(u"cell"); };
  std::function<LRESULT(int start, const std::u16string& text)> find = [](int, const std::u16string&) { return -1; };
};

inline Answers answers;
inline std::vector<Note> notes;

inline std::string format(const char* pattern, int a = 0, int b = 0, unsigned c = 0, unsigned d = 0) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, a, b, c, d);
  return text;
}

// The descriptions of notes, as the recorder writes them and expected ones are spelled.
inline std::string changed(int row, UINT now, UINT was) {
  return format("changed item=%d new=0x%x old=0x%x", row, int(now), was);
}
inline std::string odChanged(int first, int last, UINT newState, UINT oldState) {
  return format("odstate from=%d to=%d new=0x%x old=0x%x", first, last, newState, oldState);
}
inline std::string hint(int first, int last) { return format("hint %d..%d", first, last); }
inline std::string dispInfo(int row, int subItem) { return format("dispinfo row=%d sub=%d", row, subItem); }
inline std::string click(int row, int subItem) { return format("click item=%d sub=%d", row, subItem); }
inline std::string columnClick(int subItem) { return format("columnclick sub=%d", subItem); }
inline std::string findItem(int start, const std::u16string& text) {
  return format("find start=%d text=", start) + std::string(text.begin(), text.end());  // ASCII in these tests
}

// What the recorder writes for a notification, answering it as a program would.
inline std::string describe(NMHDR* header, LRESULT& result) {
  static const std::map<UINT, const char*> headerCodes = {
      {HDN_BEGINTRACKW, "hdn-begintrack"},     {HDN_TRACKW, "hdn-track"},
      {HDN_ENDTRACKW, "hdn-endtrack"},         {HDN_ITEMCHANGINGW, "hdn-itemchanging"},
      {HDN_ITEMCHANGEDW, "hdn-itemchanged"},
  };
  if (auto found = headerCodes.find(header->code); found != headerCodes.end()) {
    auto* info = reinterpret_cast<NMHEADERW*>(header);
    std::string text = std::string(found->second) + " item=" + std::to_string(info->iItem);
    if (info->pitem && (info->pitem->mask & HDI_WIDTH)) text += " width=" + std::to_string(info->pitem->cxy);
    return text;
  }
  auto* list = reinterpret_cast<NMLISTVIEW*>(header);
  switch (header->code) {
    case LVN_ITEMCHANGED:
      return changed(list->iItem, list->uNewState, list->uOldState);
    case LVN_ODSTATECHANGED: {
      auto* info = reinterpret_cast<NMLVODSTATECHANGE*>(header);
      return odChanged(info->iFrom, info->iTo, info->uNewState, info->uOldState);
    }
    case LVN_ODCACHEHINT:
      return hint(reinterpret_cast<NMLVCACHEHINT*>(header)->iFrom, reinterpret_cast<NMLVCACHEHINT*>(header)->iTo);
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      std::string text = dispInfo(item.iItem, item.iSubItem);
      if (item.mask & LVIF_TEXT) {
        text += " capacity=" + std::to_string(item.cchTextMax);
        // As a program does: the text, cut to the buffer and terminated.
        std::u16string cell = answers.cell(item.iItem, item.iSubItem);
        if (item.pszText && item.cchTextMax > 0) {
          size_t n = std::min(cell.size(), static_cast<size_t>(item.cchTextMax - 1));
          std::copy_n(cell.data(), n, item.pszText);
          item.pszText[n] = 0;
        }
      }
      return text;
    }
    case LVN_ODFINDITEMW: {
      auto* info = reinterpret_cast<NMLVFINDITEMW*>(header);
      std::u16string text = info->lvfi.psz ? std::u16string(info->lvfi.psz) : std::u16string();
      result = answers.find(info->iStart, text);
      return findItem(info->iStart, text) + format(" flags=0x%x", static_cast<int>(info->lvfi.flags));
    }
    case NM_CLICK:
      return click(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem, reinterpret_cast<NMITEMACTIVATE*>(header)->iSubItem);
    case LVN_COLUMNCLICK:
      return columnClick(list->iSubItem);
    case LVN_INSERTITEM:
      return format("insert item=%d", list->iItem);
    case LVN_DELETEITEM:
      return format("delete item=%d param=%d", list->iItem, static_cast<int>(list->lParam));
    case LVN_DELETEALLITEMS:
      return "deleteall";
    default:
      return format("code=%d", static_cast<int>(header->code));
  }
}

inline LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_NOTIFY) return DefWindowProcW(hwnd, msg, wParam, lParam);
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  LRESULT result = 0;
  notes.push_back({header->code, header->hwndFrom, describe(header, result)});
  return result;
}

// The descriptions of the notes with one of these codes, in order.
inline std::vector<std::string> logged(std::initializer_list<UINT> codes) {
  std::vector<std::string> out;
  for (const Note& note : notes)
    if (std::find(codes.begin(), codes.end(), note.code) != codes.end()) out.push_back(note.text);
  return out;
}

inline HWND createParent() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = parentProc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"ListTestParent";
  RegisterClassW(&wc);  // already there from an earlier test: fine
  return CreateWindowExW(0, wc.lpszClassName, u"parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                         nullptr, nullptr);
}

inline HWND createList(HWND parent, DWORD style, RECT r = {0, 0, 240, 200}) {
  return CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | style, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(101), nullptr, nullptr);
}

inline HWND headerOf(HWND list) { return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)); }

// width < 0: text only.
inline int insertColumn(HWND list, int index, const char16_t* text, int width, int format = LVCFMT_LEFT) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0);
  column.fmt = format;
  column.pszText = const_cast<WCHAR*>(text);
  column.cx = width;
  return static_cast<int>(SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

inline void addColumns(HWND list, std::initializer_list<std::pair<const char16_t*, int>> columns) {
  for (const auto& [text, width] : columns) insertColumn(list, 0x7FFF, text, width);  // past the end: appended
}

inline int addRow(HWND list, std::initializer_list<const char16_t*> cells) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (const char16_t* text : cells) {
    item.pszText = const_cast<WCHAR*>(text);
    if (item.iSubItem == 0)
      item.iItem = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    else
      SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ++item.iSubItem;
  }
  return item.iItem;
}

inline std::u16string itemText(HWND list, int row, int subItem, int capacity = 260) {
  std::vector<WCHAR> buffer(static_cast<size_t>(capacity) + 1, u'#');
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = buffer.data();
  item.cchTextMax = capacity;
  int length = static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
  std::u16string text(buffer.data());
  EXPECT_EQ(static_cast<int>(text.size()), length);
  return text;
}

inline std::vector<int> selectedRows(HWND list) {
  std::vector<int> rows;
  for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;) {
    rows.push_back(row);
    if (rows.size() > 100000) break;
  }
  return rows;
}

inline int focusedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}
inline int topRow(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }
inline int pageRows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)); }

// A cell's label on the screen, and its centre.
inline RECT screenCell(HWND list, int row, int column) {
  RECT r{LVIR_LABEL, column, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
inline POINT cellPoint(HWND list, int row, int column) {
  RECT r = screenCell(list, row, column);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    answers = Answers();
    notes.clear();
  }
  void TearDown() override {
    ctltest::cleanUp();
    notes.clear();
    answers = Answers();
  }
};

}  // namespace listtest
