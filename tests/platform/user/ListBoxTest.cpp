// The list box: selection, scrolling with its window scroll bar and the
// notifications of LBS_NOTIFY (its lines in the window dump are the gallery's).
#include "Recorder.h"

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
  void make(DWORD style, std::initializer_list<const char16_t*> texts) {
    list = createControl(parent, WC_LISTBOX, nullptr, WS_VISIBLE | WS_BORDER | style, kListId, {10, 20, 130, 120});
    add(texts);
  }
  void add(std::initializer_list<const char16_t*> texts) {
    for (const char16_t* t : texts) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  }
  LRESULT selected() { return SendMessageW(list, LB_GETCURSEL, 0, 0); }
  LRESULT top() { return SendMessageW(list, LB_GETTOPINDEX, 0, 0); }
  int itemHeight() { return static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)); }
  std::vector<UINT> heard() { return heardFrom(parent, list); }
  void tapItem(int index) {
    RECT r = screenRect(list);  // items start at the top of the client area, inside the border
    tap(r.left + 10, r.top + 1 + index * itemHeight() + itemHeight() / 2);
  }

  HWND parent = nullptr;
  HWND list = nullptr;
};

// Its items, sorting and searching are the combo box list's too (ComboBoxTest).
TEST_F(ListBoxTest, ScrollsWithItsScrollBarWhenItemsDoNotFit) {
  make(WS_VSCROLL, {u"one", u"two"});
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) << "two items fit: no bar";
  for (int i = 2; i < 20; ++i) add({u"more"});
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  RECT client;
  GetClientRect(list, &client);
  int rows = client.bottom / itemHeight();
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 19);
  EXPECT_EQ(info.nPage, static_cast<UINT>(rows));

  const std::pair<WORD, LRESULT> cases[] = {
      {SB_LINEDOWN, 1}, {SB_LINEDOWN, 2}, {SB_LINEUP, 1}, {SB_PAGEDOWN, 1 + rows}, {SB_BOTTOM, 20 - rows},
      {SB_LINEDOWN, 20 - rows}, {SB_PAGEUP, 20 - 2 * rows}, {SB_TOP, 0}, {SB_LINEUP, 0},
  };
  for (auto [code, expected] : cases) {
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
    EXPECT_EQ(top(), expected) << "scroll code " << code;
    EXPECT_EQ(GetScrollPos(list, SB_VERT), expected) << "the bar follows";
  }
  // Selecting an item out of view brings it into view.
  SendMessageW(list, LB_SETCURSEL, 15, 0);
  EXPECT_EQ(top(), 16 - rows);
  SendMessageW(list, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(top(), 2);
  // A tap on the bar's lower arrow scrolls a line.
  RECT window = screenRect(list);
  tap(window.right - 3, window.bottom - 4);
  pump();
  EXPECT_EQ(top(), 3);
}

TEST_F(ListBoxTest, NotifiesThePersonsChangesOnly) {
  make(LBS_NOTIFY, {u"one", u"two", u"three", u"four"});
  tapItem(1);
  pump();
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_SETFOCUS, LBN_SELCHANGE}));
  tapItem(1);  // a second tap on the same item at once
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_DBLCLK}));
  for (UINT vk : {VK_DOWN, VK_END, VK_END}) press(vk);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_SELCHANGE, LBN_SELCHANGE}));
  EXPECT_EQ(selected(), 3);
  press('T');
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_SELCHANGE}));
  EXPECT_EQ(selected(), 1) << "typing selects by prefix, wrapping round";
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  EXPECT_TRUE(heard().empty());
  SetFocus(parent);
  EXPECT_EQ(heard(), (std::vector<UINT>{LBN_KILLFOCUS}));
}

}  // namespace
}  // namespace usertest
