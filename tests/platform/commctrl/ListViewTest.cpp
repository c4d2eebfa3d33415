// A normal list view: columns, items and sub-items, fonts, scrolling, and
// messages that must fail without their structure.
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
  struct Expected { const char16_t* text; int width, subItem, format; const char16_t* cell; };
  const Expected expected[] = {
      {u"Name", 60, 0, LVCFMT_LEFT, u"alpha"}, {u"Type", 40, 1, LVCFMT_RIGHT, u""}, {u"Size", 50, 2, LVCFMT_LEFT, u"12"}};
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

  // Deleting the first column brings the next one's cells to the front; the
  // rows stay when the last column goes and the call then fails.
  ASSERT_TRUE(SendMessageW(list, LVM_DELETECOLUMN, 0, 0));
  EXPECT_EQ(columnText(list, 0), u"Type");
  EXPECT_EQ(itemText(list, 0, 1), u"12");
  int deleted = 1;
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) ++deleted;
  EXPECT_EQ(deleted, 4);
  EXPECT_EQ(columnText(list, 0), u"<none>");
  EXPECT_EQ(SendMessageW(headerOf(list), HDM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(ListTest, AutoSizeFitsTheContentsOrTheHeadingAndTheLastColumnTakesTheRest) {
  HWND list = createList(createParent(), 0, {0, 0, 240, 150});
  addColumns(list, {{u"Name", -1}, {u"Records", -1}, {u"Size", -1}});
  // Text-only columns are still wide enough for their headings.
  EXPECT_GE(columnWidth(list, 1), stringWidth(list, u"Records"));
  addRow(list, {u"Contacts Database", u"7", u"1024"});
  addRow(list, {u"Tasks", u"12", u"88"});
  // The width travels as 0xFFFE in the low 16 bits, as a program sends it.
  for (int column = 0; column < 3; ++column)
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(0xFFFE, 0)));
  int name = columnWidth(list, 0), records = columnWidth(list, 1);
  EXPECT_GE(name, stringWidth(list, u"Contacts Database"));
  EXPECT_LT(name, stringWidth(list, u"Contacts Database") + 20);
  EXPECT_GE(records, stringWidth(list, u"Records"));
  EXPECT_LT(records, stringWidth(list, u"Records") + 20);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(columnWidth(list, 2), client.right - name - records);
  EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(0xFFF0, 0)));
  EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 7, 50));

  // A font sets the row height and the header's; rows start under the header.
  auto heights = [list](int& row, int& header) {
    RECT r{LVIR_BOUNDS, 0, 0, 0}, h{};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    GetWindowRect(headerOf(list), &h);
    EXPECT_EQ(r.top, h.bottom - h.top);
    row = r.bottom - r.top;
    header = h.bottom - h.top;
  };
  int row = 0, header = 0, bigRow = 0, bigHeader = 0;
  heights(row, header);
  HFONT big = CreateFontW(-28, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(SendMessageW(headerOf(list), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  heights(bigRow, bigHeader);
  EXPECT_GT(bigRow, row + 8);
  EXPECT_GT(bigHeader, header + 8);
  DestroyWindow(GetParent(list));
  DeleteObject(big);
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
  struct Cell { int row, subItem, capacity; const char16_t* text; };
  for (const Cell& c : {Cell{1, 0, 260, u"beta"}, Cell{2, 1, 260, u"3"}, Cell{1, 1, 260, u""}, Cell{0, 0, 4, u"alp"}})
    EXPECT_EQ(itemText(list, c.row, c.subItem, c.capacity), c.text) << c.row << "," << c.subItem;
  LVITEMW asked{};
  asked.mask = LVIF_PARAM;
  asked.iItem = 1;
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&asked)));
  EXPECT_EQ(asked.lParam, 42);
  // Sub-items carry text only.
  asked.iSubItem = 1;
  EXPECT_FALSE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&asked)));

  notes().clear();
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 1, 0));
  EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 2, 0));
  EXPECT_EQ(itemText(list, 1, 0), u"gamma");
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(logged({LVN_DELETEALLITEMS, LVN_DELETEITEM}),
            (std::vector<std::string>{"delete item=1 param=42", "deleteall", "delete item=0 param=0",
                                      "delete item=1 param=0"}));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListTest, TheScrollBarMovesWholeRowsNoFurtherThanTheLastPage) {
  HWND list = createList(createParent(), 0, {0, 0, 200, 150});
  addColumns(list, {{u"Name", 100}});
  for (int i = 0; i < 60; ++i) addRow(list, {u"row"});
  pump();
  ASSERT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL);  // the column fits
  int page = pageRows(list);
  ASSERT_GT(page, 1);
  // The thumb dragged down: the rows follow the bar's tracking position.
  RECT window{};
  GetWindowRect(list, &window);
  const POINT thumb{window.right - 4, window.top + GetSystemMetrics(SM_CYVSCROLL) + 2};
  stylus(display::InputEvent::Type::StylusDown, thumb);
  stylus(display::InputEvent::Type::StylusMove, {thumb.x, thumb.y + 40});
  SCROLLINFO tracked{sizeof tracked, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &tracked));
  EXPECT_GT(tracked.nTrackPos, 0);
  EXPECT_EQ(topRow(list), tracked.nTrackPos);
  stylus(display::InputEvent::Type::StylusUp, {thumb.x, thumb.y + 40});
  // The arrows and the track.
  for (auto [code, top] : {std::pair<WORD, int>{SB_TOP, 0}, {SB_LINEDOWN, 1}, {SB_PAGEDOWN, 1 + page},
                           {SB_LINEUP, page}, {SB_BOTTOM, 60 - page}, {SB_LINEDOWN, 60 - page},
                           {SB_PAGEUP, 60 - 2 * page}, {SB_LINEUP, 59 - 2 * page}}) {
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
    EXPECT_EQ(topRow(list), top) << code;
    EXPECT_EQ(GetScrollPos(list, SB_VERT), top) << code;
  }
}

TEST_F(ListTest, MessagesWithoutTheirStructureOrWithRowsThatDoNotExistFailCleanly) {
  HWND list = createList(createParent(), 0);
  addColumns(list, {{u"Name", 80}});
  addRow(list, {u"a"});
  HWND header = headerOf(list);
  struct Case { HWND to; UINT msg; WPARAM wParam; LRESULT expected; };
  const WPARAM none = static_cast<WPARAM>(-1);
  const Case cases[] = {
      {list, LVM_INSERTCOLUMNW, 0, -1},     {list, LVM_INSERTITEMW, 0, -1},   {list, LVM_GETITEMW, 0, FALSE},
      {list, LVM_SETITEMW, 0, FALSE},       {list, LVM_GETCOLUMNW, 0, FALSE}, {list, LVM_SETCOLUMNW, 0, FALSE},
      {list, LVM_SETITEMSTATE, 0, FALSE},   {list, LVM_GETITEMRECT, 0, FALSE}, {list, LVM_GETSUBITEMRECT, 0, FALSE},
      {list, LVM_HITTEST, 0, -1},           {list, LVM_SUBITEMHITTEST, 0, -1}, {list, LVM_FINDITEMW, none, -1},
      {list, LVM_GETITEMTEXTW, 0, 0},       {list, LVM_SETITEMTEXTW, 0, FALSE}, {list, LVM_GETSTRINGWIDTHW, 0, 0},
      {list, LVM_ENSUREVISIBLE, 5, FALSE},  {list, LVM_DELETEITEM, none, FALSE}, {header, HDM_INSERTITEMW, 0, -1},
      {header, HDM_GETITEMW, 0, FALSE},     {header, HDM_SETITEMW, 0, FALSE},  {header, HDM_LAYOUT, 0, FALSE},
      {header, HDM_GETITEMRECT, 0, FALSE},  {header, HDM_HITTEST, 0, -1},
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
