// The list box: its items, selection, scrolling with its window scroll bar,
// the notifications of LBS_NOTIFY and its lines in the window dump.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Recorder.h"
#include "device/Dump.h"
#include "user/ListBoxModel.h"

namespace usertest {
namespace {

constexpr int kListId = 77;

class ListBoxTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent = createTopLevel(WS_VISIBLE);
    pump();
  }
  HWND make(DWORD style, int height = 100) {
    list = CreateWindowExW(0, WC_LISTBOX, nullptr, WS_CHILD | WS_VISIBLE | style, 10, 20, 120, height, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(kListId)), GetModuleHandleW(nullptr), nullptr);
    return list;
  }
  void add(std::initializer_list<const char16_t*> texts) {
    for (const char16_t* t : texts) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  }
  void addNumbers(int count) {
    for (int i = 0; i < count; ++i) {
      std::u16string text = u"item " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  std::u16string textAt(int index) {
    WCHAR buffer[64] = {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  LRESULT selected() { return SendMessageW(list, LB_GETCURSEL, 0, 0); }
  LRESULT top() { return SendMessageW(list, LB_GETTOPINDEX, 0, 0); }
  int itemHeight() { return static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)); }
  std::vector<UINT> heard() {
    pump();
    std::vector<UINT> codes;
    for (const Entry& e : log().only({WM_COMMAND}))
      if (e.hwnd == parent && reinterpret_cast<HWND>(e.lParam) == list) codes.push_back(HIWORD(e.wParam));
    log().clear();
    return codes;
  }
  POINT itemPoint(int index) {
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 10, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
  }

  HWND parent = nullptr;
  HWND list = nullptr;
};

TEST_F(ListBoxTest, ItemsTextsAndDataByIndex) {
  make(WS_BORDER);
  add({u"delta", u"alpha", u"charlie"});
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(textAt(0), u"delta") << "unsorted: in the order added";
  EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(u"bravo")), 1);
  EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"echo")), 4);
  EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), LB_ERR);
  EXPECT_EQ(textAt(1), u"bravo");
  EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 4, 0), 4);
  EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 5, 0), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 5, reinterpret_cast<LPARAM>(u"")), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 2, 1234), 0);
  EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 1234) << "data goes with its item";
  EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 4, 0), LB_ERR);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, SortedSelectionAndSearch) {
  make(WS_BORDER | LBS_SORT);
  add({u"pear", u"Apple", u"plum", u"apricot", u"Peach"});  // Apple apricot Peach pear plum
  EXPECT_EQ(textAt(0), u"Apple");
  EXPECT_EQ(textAt(2), u"Peach");
  EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 3, 0), 3);
  EXPECT_EQ(SendMessageW(list, LB_GETSEL, 3, 0), 1);
  EXPECT_EQ(SendMessageW(list, LB_GETSEL, 2, 0), 0);
  // Adding before the selection moves it with its item.
  add({u"banana"});
  EXPECT_EQ(selected(), 4);
  EXPECT_EQ(textAt(4), u"pear");
  EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 4, reinterpret_cast<LPARAM>(u"P")), 5) << "after the start";
  EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 5, reinterpret_cast<LPARAM>(u"p")), 3) << "wrapping round";
  EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"PLUM")), 5);
  EXPECT_EQ(SendMessageW(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"ap")), 0);
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(SendMessageW(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"kiwi")), LB_ERR);
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(selected(), LB_ERR) << "-1 clears the selection";
  EXPECT_TRUE(heard().empty()) << "a program's selections are not announced";
}

TEST_F(ListBoxTest, ScrollsWithItsScrollBarWhenItemsDoNotFit) {
  make(WS_BORDER | WS_VSCROLL, 100);
  add({u"one", u"two"});
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) << "two items fit: no bar";
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  addNumbers(20);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  RECT client;
  GetClientRect(list, &client);
  int rows = client.bottom / itemHeight();
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 19);
  EXPECT_EQ(info.nPage, static_cast<UINT>(rows));

  struct Case {
    WORD code;
    LRESULT top;
  } cases[] = {
      {SB_LINEDOWN, 1}, {SB_LINEDOWN, 2}, {SB_LINEUP, 1}, {SB_PAGEDOWN, 1 + rows}, {SB_BOTTOM, 20 - rows},
      {SB_LINEDOWN, 20 - rows}, {SB_PAGEUP, 20 - 2 * rows}, {SB_TOP, 0}, {SB_LINEUP, 0},
  };
  for (const Case& c : cases) {
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(c.code, 0), 0);
    EXPECT_EQ(top(), c.top) << "scroll code " << c.code;
    EXPECT_EQ(GetScrollPos(list, SB_VERT), c.top) << "the bar follows";
  }
  // Selecting an item out of view brings it into view.
  SendMessageW(list, LB_SETCURSEL, 15, 0);
  EXPECT_EQ(top(), 16 - rows);
  SendMessageW(list, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(top(), 2);
  EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 5, 0), 0);
  EXPECT_EQ(top(), 5);
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.top, itemHeight()) << "rectangles count from the top item";
  EXPECT_EQ(item.right, client.right);

  // A tap on the bar's lower arrow scrolls a line.
  RECT window;
  GetWindowRect(list, &window);
  tap(window.right - 3, window.bottom - 4);
  pump();
  EXPECT_EQ(top(), 6);
}

TEST_F(ListBoxTest, NotifiesThePersonsChangesWithLbsNotify) {
  make(WS_BORDER | LBS_NOTIFY);
  add({u"one", u"two", u"three", u"four"});
  POINT second = itemPoint(1);
  tap(second.x, second.y);
  pump();
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_SETFOCUS, LBN_SELCHANGE}));
  tap(second.x, second.y);  // a second tap on the same item at once
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_DBLCLK}));

  key(VK_DOWN, true);
  key(VK_DOWN, false);
  key(VK_END, true);
  key(VK_END, false);
  key(VK_END, true);
  key(VK_END, false);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_SELCHANGE, LBN_SELCHANGE}));
  EXPECT_EQ(selected(), 3);

  key('T', true);
  key('T', false);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_SELCHANGE}));
  EXPECT_EQ(selected(), 1) << "typing selects by prefix, wrapping round";

  SendMessageW(list, LB_SETCURSEL, 0, 0);
  EXPECT_TRUE(heard().empty());
  SetFocus(parent);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_KILLFOCUS}));
}

TEST_F(ListBoxTest, WithoutLbsNotifyTheParentHearsNothing) {
  make(WS_BORDER);
  add({u"one", u"two"});
  POINT second = itemPoint(1);
  tap(second.x, second.y);
  key(VK_UP, true);
  key(VK_UP, false);
  EXPECT_TRUE(heard().empty());
  EXPECT_EQ(selected(), 0);
}

TEST_F(ListBoxTest, DumpShowsItemsAndTheSelection) {
  make(WS_BORDER);
  add({u"one", u"two"});
  SendMessageW(list, LB_SETITEMDATA, 0, 5);
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  std::string dump = device::dumpWindows();
  EXPECT_NE(dump.find("item \"one\" data=5\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("item \"two\" data=0 selected\n"), std::string::npos) << dump;
}

TEST(ListBoxKeys, KeysMoveTheSelectionWithinTheItems) {
  struct Case {
    UINT key;
    int current;
    int expected;
  } cases[] = {
      {VK_DOWN, -1, 0}, {VK_UP, -1, 0},   {VK_DOWN, 3, 4},  {VK_DOWN, 9, 9}, {VK_UP, 0, 0},
      {VK_NEXT, 2, 6},  {VK_NEXT, 8, 9},  {VK_PRIOR, 5, 1}, {VK_PRIOR, 2, 0}, {VK_HOME, 7, 0},
      {VK_END, 1, 9},   {VK_LEFT, 4, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(user::selectionAfterKey(c.key, c.current, 10, 4), c.expected) << c.key << " from " << c.current;
  EXPECT_EQ(user::selectionAfterKey(VK_DOWN, -1, 0, 4), -1) << "no items";
}

}  // namespace
}  // namespace usertest
