// Owner-data lists: the parent holds the rows; the list hints which rows it will draw, asks
// for their cells, keeps the selection as ranges and asks the parent to find a typed row.
#include "ListHarness.h"

namespace listtest {
namespace {

constexpr DWORD kOwnerData = LVS_OWNERDATA | LVS_SHOWSELALWAYS;

HWND ownerDataList(int rows) {
  HWND list = createList(createParent(), kOwnerData);
  addColumns(list, {{u"Id", 60}, {u"Name", 90}, {u"Size", 60}});
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
  SetFocus(list);
  pump();
  notes.clear();
  return list;
}

// The last row that shows, even partly, with row 0 at the top.
int lastShown(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  int last = 0;
  for (int row = 0; row < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); last = row++) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    if (r.top >= client.bottom) break;
  }
  return last;
}

// What drawing rows first..last asks: the hint, then every cell in order.
std::vector<std::string> drawing(int first, int last, int columns) {
  std::vector<std::string> expected{hint(first, last)};
  for (int row = first; row <= last; ++row)
    for (int sub = 0; sub < columns; ++sub) expected.push_back(dispInfo(row, sub) + " capacity=260");
  return expected;
}

std::vector<std::string> drawn() { return logged({LVN_ODCACHEHINT, LVN_GETDISPINFOW}); }

TEST_F(ListTest, OwnerDataHintsOnlyTheVisibleRowsThenAsksForTheirCells) {
  HWND list = ownerDataList(65535);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  int last = lastShown(list), page = pageRows(list);
  ASSERT_GT(last, 3);
  EXPECT_LE(last, page);
  EXPECT_EQ(drawn(), drawing(0, last, 3));
  // Scrolling to the end asks for the last page only.
  notes.clear();
  key(VK_END);
  EXPECT_EQ(topRow(list), 65535 - page);
  EXPECT_EQ(drawn(), drawing(65535 - page, 65534, 3));

  // Page Down goes to the bottom of the page, then a page further.
  key(VK_HOME);
  key(VK_NEXT);
  key(VK_NEXT);
  int focus = 2 * (page - 1);
  EXPECT_EQ(selectedRows(list), std::vector<int>{focus});
  EXPECT_EQ(topRow(list), focus - page + 1);
  key(VK_PRIOR);
  EXPECT_EQ(focusedRow(list), focus - page + 1);
  // The scroll bar moves whole rows, no further than the last page.
  for (auto [code, top] : {std::pair<WORD, int>{SB_TOP, 0}, {SB_LINEDOWN, 1}, {SB_PAGEDOWN, 1 + page}, {SB_LINEUP, page},
                           {SB_BOTTOM, 65535 - page}, {SB_LINEDOWN, 65535 - page}, {SB_PAGEUP, 65535 - 2 * page}}) {
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
    EXPECT_EQ(topRow(list), top) << code;
    EXPECT_EQ(GetScrollPos(list, SB_VERT), top) << code;
  }

  // With redrawing off nothing is asked until it is turned back on.
  key(VK_HOME);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  notes.clear();
  SendMessageW(list, LVM_SETITEMCOUNT, 40, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
  pump();
  EXPECT_TRUE(drawn().empty());
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  pump();
  EXPECT_EQ(drawn(), drawing(0, lastShown(list), 3));
}

TEST_F(ListTest, OwnerDataSelectionOfThreeToFiveAndNineWithShiftAndCtrlComesBackInOrder) {
  for (DWORD mode : {static_cast<DWORD>(kOwnerData), static_cast<DWORD>(LVS_SHOWSELALWAYS)}) {
    SCOPED_TRACE(mode & LVS_OWNERDATA ? "owner data" : "normal");
    HWND list = createList(createParent(), mode, {0, 0, 240, 260});
    addColumns(list, {{u"Id", 60}, {u"Name", 90}});
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    if (mode & LVS_OWNERDATA)
      SendMessageW(list, LVM_SETITEMCOUNT, 65535, 0);
    else
      for (int i = 0; i < 12; ++i) addRow(list, {u"row", u"cell"});
    pump();
    notes.clear();
    tap(cellPoint(list, 3, 1));
    tap(cellPoint(list, 5, 0), true);
    tap(cellPoint(list, 9, 1), false, true);
    EXPECT_EQ(selectedRows(list), (std::vector<int>{3, 4, 5, 9}));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    EXPECT_EQ(focusedRow(list), 9);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 4, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED);
    UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    // In an owner-data list the rows between the ends change as one range.
    bool od = mode & LVS_OWNERDATA;
    std::vector<std::string> expected{
        changed(3, both, 0), click(3, 1), changed(3, LVIS_SELECTED, both),
        od ? odChanged(4, 5, LVIS_SELECTED, 0) : changed(4, LVIS_SELECTED, 0), changed(5, both, od ? LVIS_SELECTED : 0),
        click(5, 0), changed(5, LVIS_SELECTED, both), changed(9, both, 0), click(9, 1)};
    EXPECT_EQ(logged({LVN_ITEMCHANGED, LVN_ODSTATECHANGED, NM_CLICK}), expected);

    // Ctrl on a selected row takes it out; Shift+Down extends from the anchor, Down selects one
    // row, Ctrl+Down moves the focus alone and Ctrl+Space adds the row.
    struct Step { bool isTap; UINT keyOrRow; bool shift, control; std::vector<int> rows; };  // a row tapped or a key
    const Step steps[] = {{true, 4, false, true, {3, 5, 9}}, {false, VK_DOWN, true, false, {4, 5}},
                          {false, VK_DOWN, false, false, {6}}, {false, VK_DOWN, false, true, {6}},
                          {false, VK_DOWN, false, true, {6}},  {false, VK_SPACE, false, true, {6, 8}}};
    for (const Step& s : steps) {
      if (s.isTap)
        tap(cellPoint(list, static_cast<int>(s.keyOrRow), 0), s.shift, s.control);
      else
        key(s.keyOrRow, s.shift, s.control);
      EXPECT_EQ(selectedRows(list), s.rows) << s.keyOrRow;
    }
    // A smaller count keeps the selected rows that remain; none clears them.
    if (od) {
      SendMessageW(list, LVM_SETITEMCOUNT, 7, 0);
      EXPECT_EQ(selectedRows(list), std::vector<int>{6});
      SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
      SendMessageW(list, LVM_SETITEMCOUNT, 12, 0);
      EXPECT_EQ(selectedRows(list), std::vector<int>{});
      EXPECT_EQ(focusedRow(list), -1);
    }
    DestroyWindow(GetParent(list));
  }
}

TEST_F(ListTest, AListRecreatedAsOwnerDataInPlaceAsksTheParentForTypedRows) {
  // As the program switches kinds: destroy the list, create it again in its place.
  HWND parent = createParent();
  HWND normal = createList(parent, LVS_SHOWSELALWAYS);
  addColumns(normal, {{u"Name", 80}});
  addRow(normal, {u"a"});
  pump();
  notes.clear();
  DestroyWindow(normal);
  EXPECT_EQ(logged({LVN_DELETEALLITEMS, LVN_DELETEITEM}), (std::vector<std::string>{"deleteall", "delete item=0 param=0"}));
  HWND list = createList(parent, kOwnerData);
  EXPECT_EQ(GetDlgItem(parent, 101), list);
  addColumns(list, {{u"Id", 60}, {u"0x0001 (Int)", 80}});
  SendMessageW(list, LVM_SETITEMCOUNT, 100, 0);
  notes.clear();
  pump();
  EXPECT_EQ(drawn(), drawing(0, lastShown(list), 2));

  auto type = [list](const char16_t* typed) {
    for (; *typed; ++typed) SendMessageW(list, WM_CHAR, *typed, 1);
  };
  tap(cellPoint(list, 2, 0));
  notes.clear();
  type(u"ab");
  EXPECT_EQ(logged({LVN_ODFINDITEMW}),
            (std::vector<std::string>{findItem(3, u"a") + " flags=0x2a", findItem(2, u"ab") + " flags=0x2a"}));
  // No row found: the selection stays; a row found is selected and shown.
  EXPECT_EQ(selectedRows(list), std::vector<int>{2});
  answers.find = [](int, const std::u16string& typed) { return typed == u"abc" ? 60 : -1; };
  type(u"c");
  EXPECT_EQ(selectedRows(list), std::vector<int>{60});
  EXPECT_LE(topRow(list), 60);
  EXPECT_GT(topRow(list) + pageRows(list), 60);
}

TEST_F(ListTest, AMillionRowsSelectedAtOnceAreOneRangeTextsAreCutAndOnlyAHeadingTapReleasedOnItClicks) {
  HWND list = ownerDataList(1000000);
  LVITEMW all{};
  all.stateMask = all.state = LVIS_SELECTED;
  ASSERT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all)));
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1000000);
  EXPECT_EQ(logged({LVN_ITEMCHANGED, LVN_ODSTATECHANGED}), std::vector<std::string>{changed(-1, LVIS_SELECTED, 0)});
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 999998, LVNI_SELECTED), 999999);
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 999999, LVNI_SELECTED), -1);
  // A tap keeps one row: the rest go as two ranges.
  notes.clear();
  tap(cellPoint(list, 4, 0));
  EXPECT_EQ(logged({LVN_ITEMCHANGED, LVN_ODSTATECHANGED}),
            (std::vector<std::string>{odChanged(0, 3, 0, LVIS_SELECTED), odChanged(5, 999999, 0, LVIS_SELECTED),
                                      changed(4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED)}));
  // The parent's text, longer than the buffer, is cut and terminated.
  std::u16string longText(300, u'x');
  answers.cell = [&](int, int) { return longText; };
  EXPECT_EQ(itemText(list, 2, 1, 260), longText.substr(0, 259));
  EXPECT_EQ(itemText(list, 2, 1, 10), longText.substr(0, 9));
  // A heading tapped is a column click; one slid off before lifting is none.
  RECT r{};
  SendMessageW(headerOf(list), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(headerOf(list), nullptr, reinterpret_cast<POINT*>(&r), 2);
  const POINT name{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  tap(name);
  drag(name, {r.left - 30, name.y});
  EXPECT_EQ(logged({HDN_ITEMCLICKW, LVN_COLUMNCLICK}), std::vector<std::string>{columnClick(1)});
}

}  // namespace
}  // namespace listtest
