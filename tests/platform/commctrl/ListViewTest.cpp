// A normal list view: columns, items and sub-items, sizes, hit testing,
// extended styles, fonts and scrolling.
#include "ListHarness.h"

namespace listtest {
namespace {

int columnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

std::u16string columnText(HWND list, int column, int* subItem = nullptr, int* format = nullptr) {
  WCHAR text[64] = {};
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_SUBITEM | LVCF_FMT;
  c.pszText = text;
  c.cchTextMax = 64;
  if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c))) return u"<none>";
  if (subItem) *subItem = c.iSubItem;
  if (format) *format = c.fmt;
  return text;
}

int stringWidth(HWND list, const char16_t* text) {
  return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

TEST_F(ListTest, ARightAlignedColumnInsertedBetweenOthersKeepsEveryCellUnderItsColumn) {
  HWND list = createList(createParent(), LVS_SHOWSELALWAYS);
  addColumns(list, {{u"Name", 60}, {u"Size", 50}});
  addRow(list, {u"alpha", u"12"});
  LVCOLUMNW type{};
  type.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  type.fmt = LVCFMT_RIGHT;
  type.cx = 40;
  type.pszText = const_cast<WCHAR*>(u"Type");
  EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&type)), 1);

  struct Expected {
    const char16_t* text;
    int width;
    int subItem;
    int format;
    const char16_t* cell;
  };
  const Expected expected[] = {
      {u"Name", 60, 0, LVCFMT_LEFT, u"alpha"},
      {u"Type", 40, 1, LVCFMT_RIGHT, u""},
      {u"Size", 50, 2, LVCFMT_LEFT, u"12"},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    int subItem = -1, format = -1;
    EXPECT_EQ(columnText(list, i, &subItem, &format), expected[i].text);
    EXPECT_EQ(columnWidth(list, i), expected[i].width);
    EXPECT_EQ(subItem, expected[i].subItem);
    EXPECT_EQ(format, expected[i].format);
    EXPECT_EQ(itemText(list, 0, subItem), expected[i].cell);
  }
  // The header shows the same heading, aligned the same way.
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_WIDTH;
  ASSERT_TRUE(SendMessageW(headerOf(list), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_RIGHT);
  EXPECT_EQ(item.cxy, 40);

  // Past the end appends; a negative index is refused.
  EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 99, reinterpret_cast<LPARAM>(&type)), 3);
  EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&type)), -1);
}

TEST_F(ListTest, DeletingColumnZeroAgainAndAgainEmptiesTheListUntilTheCallFails) {
  HWND list = createList(createParent(), 0);
  addColumns(list, {{u"A", 30}, {u"B", 30}, {u"C", 30}});
  addRow(list, {u"a", u"b", u"c"});
  // Deleting the first column brings the next one's cells to the front.
  ASSERT_TRUE(SendMessageW(list, LVM_DELETECOLUMN, 0, 0));
  EXPECT_EQ(columnText(list, 0), u"B");
  EXPECT_EQ(itemText(list, 0, 0), u"b");
  int deleted = 1;
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) ++deleted;
  EXPECT_EQ(deleted, 3);
  EXPECT_EQ(columnText(list, 0), u"<none>");
  EXPECT_EQ(SendMessageW(headerOf(list), HDM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);  // the rows stay
}

TEST_F(ListTest, AutoSizeFitsTheContentsOrTheHeadingAndTheLastColumnTakesTheRest) {
  HWND list = createList(createParent(), 0, {0, 0, 240, 150});
  addColumns(list, {{u"Name", -1}, {u"Records", -1}, {u"Size", -1}});
  // Text-only columns are still wide enough for their headings.
  EXPECT_GE(columnWidth(list, 1), stringWidth(list, u"Records"));
  addRow(list, {u"Contacts Database", u"7", u"1024"});
  addRow(list, {u"Tasks", u"12", u"88"});

  // The width travels as 0xFFFF / 0xFFFE in the low 16 bits, as a program sends it.
  ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(0xFFFF, 0)));  // contents only
  EXPECT_GE(columnWidth(list, 1), stringWidth(list, u"12"));
  EXPECT_LT(columnWidth(list, 1), stringWidth(list, u"Records"));
  for (int column = 0; column < 3; ++column)
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(0xFFFE, 0)));
  int name = columnWidth(list, 0);
  int records = columnWidth(list, 1);
  EXPECT_GE(name, stringWidth(list, u"Contacts Database"));
  EXPECT_LT(name, stringWidth(list, u"Contacts Database") + 20);
  EXPECT_GE(records, stringWidth(list, u"Records"));
  EXPECT_LT(records, stringWidth(list, u"Records") + 20);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(columnWidth(list, 2), client.right - name - records);
  // Other negative widths are refused; a missing column too.
  EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(0xFFF0, 0)));
  EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 7, 50));
}

TEST_F(ListTest, ItemsAndSubItemsAreStoredCutToTheCallersBufferAndDeletedWithNotice) {
  HWND list = createList(createParent(), 0);
  addColumns(list, {{u"Name", 80}, {u"Size", 50}});
  EXPECT_EQ(addRow(list, {u"alpha", u"1"}), 0);
  EXPECT_EQ(addRow(list, {u"gamma", u"3"}), 1);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = 1;
  item.pszText = const_cast<WCHAR*>(u"beta");
  item.lParam = 42;
  EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 1);
  EXPECT_EQ(logged({LVN_INSERTITEM}), (std::vector<std::string>{"insert item=0", "insert item=1", "insert item=1"}));
  EXPECT_EQ(itemText(list, 1, 0), u"beta");
  EXPECT_EQ(itemText(list, 2, 1), u"3");
  EXPECT_EQ(itemText(list, 1, 1), u"");
  EXPECT_EQ(itemText(list, 0, 0, 4), u"alp");  // cut and terminated
  // A callback text is asked of the parent each time it is wanted.
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.mask = LVIF_TEXT;
  item.iItem = 3;
  ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 3);
  notes().clear();
  EXPECT_EQ(itemText(list, 3, 0), u"R3C0");
  EXPECT_EQ(itemText(list, 3, 0), u"R3C0");
  EXPECT_EQ(logged({LVN_GETDISPINFOW}).size(), 2u);
  SendMessageW(list, LVM_DELETEITEM, 3, 0);

  LVITEMW asked{};
  asked.mask = LVIF_PARAM;
  asked.iItem = 1;
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&asked)));
  EXPECT_EQ(asked.lParam, 42);
  // Sub-items carry text only.
  LVITEMW sub{};
  sub.mask = LVIF_PARAM;
  sub.iSubItem = 1;
  EXPECT_FALSE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&sub)));
  sub.mask = LVIF_TEXT;
  sub.pszText = const_cast<WCHAR*>(u"2");
  ASSERT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&sub)));
  EXPECT_EQ(itemText(list, 1, 1), u"2");

  notes().clear();
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 1, 0));
  EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 2, 0));
  EXPECT_EQ(logged({LVN_DELETEITEM}), (std::vector<std::string>{"delete item=1 param=42"}));
  EXPECT_EQ(itemText(list, 1, 0), u"gamma");
  notes().clear();
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(logged({LVN_DELETEALLITEMS, LVN_DELETEITEM}),
            (std::vector<std::string>{"deleteall", "delete item=0 param=0", "delete item=1 param=0"}));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListTest, SortedListPutsRowsInTheirPlace) {
  HWND list = createList(createParent(), LVS_SORTASCENDING);
  addColumns(list, {{u"Name", 80}});
  for (const char16_t* name : {u"pear", u"Apple", u"fig", u"banana"}) addRow(list, {name});
  std::vector<std::u16string> rows;
  for (int row = 0; row < 4; ++row) rows.push_back(itemText(list, row, 0));
  EXPECT_EQ(rows, (std::vector<std::u16string>{u"Apple", u"banana", u"fig", u"pear"}));
}

TEST_F(ListTest, HitTestsFindRowsAndCellsAndSayWhereAPointLies) {
  HWND list = createList(createParent(), 0, {0, 0, 200, 150});
  addColumns(list, {{u"Name", 60}, {u"Size", 50}});
  for (int i = 0; i < 3; ++i) addRow(list, {u"x", u"1"});
  RECT row1{LVIR_BOUNDS, 0, 0, 0};
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row1)));
  int y = (row1.top + row1.bottom) / 2;
  struct Case {
    POINT point;
    bool fullRow;
    bool subItems;
    int item;
    int subItem;
    UINT flags;
  };
  const Case cases[] = {
      {{10, y}, false, false, 1, 0, LVHT_ONITEMLABEL},
      {{80, y}, false, false, -1, 0, LVHT_NOWHERE},  // the second column is not the item
      {{80, y}, true, false, 1, 0, LVHT_ONITEMLABEL},
      {{80, y}, false, true, 1, 1, LVHT_ONITEMLABEL},
      {{150, y}, true, true, -1, 0, LVHT_NOWHERE},  // right of the last column
      {{10, 140}, false, false, -1, 0, LVHT_NOWHERE},  // below the last row
      {{10, 1}, false, false, -1, 0, LVHT_ABOVE},      // on the header
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.point.x << "," << c.point.y << (c.fullRow ? " full row" : ""));
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, c.fullRow ? LVS_EX_FULLROWSELECT : 0);
    LVHITTESTINFO hit{};
    hit.pt = c.point;
    EXPECT_EQ(SendMessageW(list, c.subItems ? LVM_SUBITEMHITTEST : LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)),
              c.item);
    EXPECT_EQ(hit.iItem, c.item);
    EXPECT_EQ(hit.flags, c.flags);
    EXPECT_EQ(c.subItems ? hit.iSubItem : c.subItem, c.subItem);
  }
  RECT cell{LVIR_LABEL, 1, 0, 0};
  ASSERT_TRUE(SendMessageW(list, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&cell)));
  EXPECT_EQ(cell.left, 60);
  EXPECT_EQ(cell.right, 110);
  EXPECT_EQ(cell.bottom - cell.top, row1.bottom - row1.top);
}

TEST_F(ListTest, FontSetsTheRowHeightAndTheHeaderHeight) {
  HWND list = createList(createParent(), 0);
  addColumns(list, {{u"Name", 80}});
  addRow(list, {u"a"});
  auto rowAndHeader = [list](RECT& row, RECT& header) {
    row = RECT{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    GetWindowRect(headerOf(list), &header);
    EXPECT_EQ(row.top, header.bottom - header.top) << "rows start right under the header";
  };
  RECT small{}, header{};
  rowAndHeader(small, header);
  HFONT big = CreateFontW(-28, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(SendMessageW(headerOf(list), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  RECT large{}, bigHeader{};
  rowAndHeader(large, bigHeader);
  EXPECT_GT(large.bottom - large.top, small.bottom - small.top + 8);
  EXPECT_GT(bigHeader.bottom - bigHeader.top, header.bottom - header.top + 8);
  DestroyWindow(GetParent(list));
  DeleteObject(big);
}

TEST_F(ListTest, ScrollMessagesMoveRowsWholeAndColumnsByPixels) {
  HWND list = createList(createParent(), 0, {0, 0, 200, 150});
  addColumns(list, {{u"Name", 150}, {u"Size", 150}});
  for (int i = 0; i < 60; ++i) addRow(list, {u"row", u"1"});
  int page = pageRows(list);
  ASSERT_GT(page, 1);
  struct Step {
    WORD code;
    int expectedTop;
  };
  const Step steps[] = {
      {SB_LINEDOWN, 1}, {SB_PAGEDOWN, 1 + page}, {SB_LINEUP, page}, {SB_BOTTOM, 60 - page},
      {SB_LINEDOWN, 60 - page},  // no further than the last page
      {SB_PAGEUP, 60 - 2 * page}, {SB_TOP, 0}, {SB_LINEUP, 0},
  };
  for (const Step& step : steps) {
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(step.code, 0), 0);
    EXPECT_EQ(topRow(list), step.expectedTop) << "code " << step.code;
  }
  // LVM_ENSUREVISIBLE scrolls as little as it can.
  ASSERT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 30, FALSE));
  EXPECT_EQ(topRow(list), 30 - page + 1);
  ASSERT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 5, FALSE));
  EXPECT_EQ(topRow(list), 5);
  // LVM_SCROLL far beyond either end stops at the end.
  ASSERT_TRUE(SendMessageW(list, LVM_SCROLL, 0, 0x7FFFFFFF));
  EXPECT_EQ(topRow(list), 60 - page);
  ASSERT_TRUE(SendMessageW(list, LVM_SCROLL, 0, static_cast<LPARAM>(-0x7FFFFFFF)));
  EXPECT_EQ(topRow(list), 0);

  // Columns move by pixels, the header with them, no further than the last
  // column's edge at the list's edge.
  RECT before{LVIR_LABEL, 1, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, 5, reinterpret_cast<LPARAM>(&before));
  SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
  RECT after{LVIR_LABEL, 1, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, 5, reinterpret_cast<LPARAM>(&after));
  int moved = before.left - after.left;
  EXPECT_GT(moved, 0);
  RECT header{};
  GetWindowRect(headerOf(list), &header);
  EXPECT_EQ(header.left, -moved);
  SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
  RECT client{};
  GetClientRect(list, &client);
  RECT last{LVIR_LABEL, 1, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, 5, reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(last.right, client.right);
}

TEST_F(ListTest, TheStylusOnTheScrollBarScrollsTheRows) {
  HWND list = createList(createParent(), 0, {0, 0, 200, 150});
  addColumns(list, {{u"Name", 100}});
  for (int i = 0; i < 60; ++i) addRow(list, {u"row"});
  pump();
  ASSERT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL);  // the column fits
  RECT window{};
  GetWindowRect(list, &window);
  // The thumb, at the top of its track, dragged down: the rows follow the
  // tracking position the bar holds.
  const POINT thumb{window.right - 4, window.top + GetSystemMetrics(SM_CYVSCROLL) + 2};
  stylus(display::InputEvent::Type::StylusDown, thumb);
  stylus(display::InputEvent::Type::StylusMove, {thumb.x, thumb.y + 40});
  SCROLLINFO tracked{};
  tracked.cbSize = sizeof tracked;
  tracked.fMask = SIF_TRACKPOS;
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &tracked));
  EXPECT_GT(tracked.nTrackPos, 0);
  EXPECT_EQ(topRow(list), tracked.nTrackPos);
  stylus(display::InputEvent::Type::StylusUp, {thumb.x, thumb.y + 40});
  SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
  ASSERT_EQ(topRow(list), 0);
  tap({window.right - 4, window.bottom - 4});  // the arrow at the bottom
  EXPECT_EQ(topRow(list), 1);
  tap({window.right - 4, window.bottom - 30});  // the track below the thumb
  EXPECT_EQ(topRow(list), 1 + pageRows(list));
  EXPECT_EQ(GetScrollPos(list, SB_VERT), 1 + pageRows(list));
}

TEST_F(ListTest, MessagesWithoutTheirStructureOrWithRowsThatDoNotExistFailCleanly) {
  HWND list = createList(createParent(), 0);
  addColumns(list, {{u"Name", 80}});
  addRow(list, {u"a"});
  HWND header = headerOf(list);
  struct Case {
    HWND to;
    UINT msg;
    WPARAM wParam;
    LRESULT expected;
  };
  const Case cases[] = {
      {list, LVM_INSERTCOLUMNW, 0, -1},        {list, LVM_INSERTITEMW, 0, -1},
      {list, LVM_GETITEMW, 0, FALSE},          {list, LVM_SETITEMW, 0, FALSE},
      {list, LVM_GETCOLUMNW, 0, FALSE},        {list, LVM_SETCOLUMNW, 0, FALSE},
      {list, LVM_SETITEMSTATE, 0, FALSE},      {list, LVM_GETITEMRECT, 0, FALSE},
      {list, LVM_GETSUBITEMRECT, 0, FALSE},    {list, LVM_HITTEST, 0, -1},
      {list, LVM_SUBITEMHITTEST, 0, -1},       {list, LVM_FINDITEMW, static_cast<WPARAM>(-1), -1},
      {list, LVM_GETITEMTEXTW, 0, 0},          {list, LVM_SETITEMTEXTW, 0, FALSE},
      {list, LVM_GETSTRINGWIDTHW, 0, 0},       {list, LVM_ENSUREVISIBLE, 5, FALSE},
      {list, LVM_DELETEITEM, static_cast<WPARAM>(-1), FALSE},
      {header, HDM_INSERTITEMW, 0, -1},        {header, HDM_GETITEMW, 0, FALSE},
      {header, HDM_SETITEMW, 0, FALSE},        {header, HDM_LAYOUT, 0, FALSE},
      {header, HDM_GETITEMRECT, 0, FALSE},     {header, HDM_HITTEST, 0, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(SendMessageW(c.to, c.msg, c.wParam, 0), c.expected) << std::hex << c.msg;
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_STATE;
  item.iItem = 7;
  item.stateMask = LVIS_SELECTED;
  EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_FALSE(SendMessageW(list, LVM_SETITEMSTATE, 7, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 0x7FFFFFFF, LVNI_ALL), -1);
  // A text wanted without a buffer comes back as nothing, not as a crash.
  item.iItem = 0;
  item.pszText = nullptr;
  item.cchTextMax = 50;
  EXPECT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

}  // namespace
}  // namespace listtest
