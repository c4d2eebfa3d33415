// A normal list view and its header: columns, items and sub-items, fonts,
// a divider's drag, and a screenshot checked by regions.
#include "ListHarness.h"

#include "device/Device.h"

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

TEST_F(ListTest, ColumnsKeepEveryCellUnderThemAutoSizeToTheirContentsAndFollowTheFont) {
  HWND list = createList(createParent(), LVS_SHOWSELALWAYS);
  addColumns(list, {{u"Name", 60}, {u"Size", 50}});
  addRow(list, {u"alpha", u"12"});
  EXPECT_EQ(insertColumn(list, 1, u"Type", 40, LVCFMT_RIGHT), 1);
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

  // Deleting the first column brings the next one's cells to the front; the
  // rows stay when the last column goes and the call then fails.
  ASSERT_TRUE(SendMessageW(list, LVM_DELETECOLUMN, 0, 0));
  EXPECT_EQ(columnText(list, 0), u"Type");
  EXPECT_EQ(itemText(list, 0, 1), u"12");
  int deleted = 1;
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) ++deleted;
  EXPECT_EQ(deleted, 3);
  EXPECT_EQ(columnText(list, 0), u"<none>");
  EXPECT_EQ(SendMessageW(headerOf(list), HDM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);

  // Auto-sized columns fit the contents or the heading; the last takes the rest.
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

  // A font sets the row height and the header's; rows start under the header.
  auto heights = [list] {
    RECT r{LVIR_BOUNDS, 0, 0, 0}, h{};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    GetWindowRect(headerOf(list), &h);
    EXPECT_EQ(r.top, h.bottom - h.top);
    return std::pair(r.bottom - r.top, h.bottom - h.top);
  };
  const auto [row, header] = heights();
  HFONT big = CreateFontW(-28, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(SendMessageW(headerOf(list), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  const auto [bigRow, bigHeader] = heights();
  EXPECT_GT(bigRow, row + 8);
  EXPECT_GT(bigHeader, header + 8);
  DestroyWindow(GetParent(list));
  DeleteObject(big);
}

TEST_F(ListTest, ItemsAndColumnsAreStoredChangedResizedAndDeletedWithNoticeAndTheSelectionFollows) {
  HWND list = createList(createParent(), 0);
  // Colours, image lists and the callback mask: each setter answers, its getter gives the value back.
  const std::tuple<UINT, WPARAM, LPARAM, LRESULT> messages[] = {
      {LVM_SETBKCOLOR, 0, 0x123456, TRUE}, {LVM_GETBKCOLOR, 0, 0, 0x123456}, {LVM_SETTEXTCOLOR, 0, 0x654321, TRUE},
      {LVM_GETTEXTCOLOR, 0, 0, 0x654321}, {LVM_SETTEXTBKCOLOR, 0, 0xABCDEF, TRUE}, {LVM_GETTEXTBKCOLOR, 0, 0, 0xABCDEF},
      {LVM_SETIMAGELIST, LVSIL_SMALL, 77, 0}, {LVM_SETIMAGELIST, LVSIL_SMALL, 0, 77}, {LVM_SETIMAGELIST, 3, 77, 0},
      {LVM_GETIMAGELIST, 3, 0, 0}, {LVM_SETCALLBACKMASK, LVIS_CUT, 0, TRUE}, {LVM_GETCALLBACKMASK, 0, 0, LVIS_CUT},
      {LVM_SETCALLBACKMASK, 0, 0, TRUE},
  };
  for (const auto& [msg, wParam, lParam, expected] : messages)
    EXPECT_EQ(SendMessageW(list, msg, wParam, lParam), expected) << std::hex << msg;
  addColumns(list, {{u"Name", 80}, {u"Size", 50}});
  EXPECT_EQ(addRow(list, {u"alpha", u"1"}), 0);
  // Dragging the header's divider resizes the column; the list's parent hears
  // of it from the header as the stylus moves.
  HWND header = headerOf(list);
  RECT r{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINT divider{r.right + 1, (r.top + r.bottom) / 2};
  ClientToScreen(header, &divider);
  drag(divider, {divider.x + 40, divider.y});
  EXPECT_EQ(logged({HDN_BEGINTRACKW, HDN_TRACKW, HDN_ITEMCHANGEDW, HDN_ENDTRACKW, HDN_ITEMCLICKW}),
            (std::vector<std::string>{"hdn-begintrack item=0 width=80", "hdn-track item=0 width=100",
                                      "hdn-itemchanged item=0 width=100", "hdn-track item=0 width=120",
                                      "hdn-itemchanged item=0 width=120", "hdn-endtrack item=0 width=120"}));
  EXPECT_EQ(notes.back().from, header);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(columnWidth(list, 0), 120);
  RECT cell{LVIR_LABEL, 1, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  EXPECT_EQ(cell.left, 120);
  // Widths the program sets reach the header.
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, 70);
  HDITEMW heading{};
  heading.mask = HDI_WIDTH;
  ASSERT_TRUE(SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&heading)));
  EXPECT_EQ(heading.cxy, 70);
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

  // A cell's text and a heading changed in place; rows and columns that do not exist are refused.
  LVITEMW text{};
  text.iSubItem = 1;
  text.pszText = const_cast<WCHAR*>(u"two");
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&text)));
  EXPECT_FALSE(SendMessageW(list, LVM_SETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&text)));
  EXPECT_EQ(itemText(list, 1, 1), u"two");
  LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH | LVCF_FMT, LVCFMT_RIGHT, 66, const_cast<WCHAR*>(u"Bytes"), 0, 0, 0, 0};
  EXPECT_TRUE(SendMessageW(list, LVM_SETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column)));
  int alignment = 0;
  EXPECT_EQ(columnText(list, 1, nullptr, &alignment), u"Bytes");
  EXPECT_EQ(alignment, LVCFMT_RIGHT);
  EXPECT_EQ(columnWidth(list, 1), 66);

  // Deleting rows: the selection, focus and mark below them move up, on them they go.
  for (const char16_t* name : {u"delta", u"epsilon", u"zeta"}) addRow(list, {name});
  auto setState = [list](int row, UINT state) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = state;
    return SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  };
  for (int row : {1, 3, 4}) EXPECT_TRUE(setState(row, LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_EQ(SendMessageW(list, LVM_SETSELECTIONMARK, 0, 4), -1);
  struct Deletion { int row; std::vector<int> selected; int focus, mark; };
  const Deletion deletions[] = {{3, {1, 3}, 3, 3}, {0, {0, 2}, 2, 2}, {2, {0}, -1, -1}};
  for (const Deletion& d : deletions) {
    notes.clear();
    EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(d.row), 0));
    EXPECT_EQ(logged({LVN_DELETEITEM}), std::vector<std::string>{format("delete item=%d param=0", d.row)});
    EXPECT_EQ(selectedRows(list), d.selected) << d.row;
    EXPECT_EQ(focusedRow(list), d.focus) << d.row;
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), d.mark) << d.row;
  }
  EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 3, 0));
  EXPECT_EQ(itemText(list, 1, 0), u"gamma");

  // States other than selection and focus, set on one row or on every row.
  EXPECT_TRUE(setState(0, LVIS_CUT));
  EXPECT_EQ(logged({LVN_ITEMCHANGED}).back(), changed(0, LVIS_CUT | LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(setState(-1, LVIS_CUT));
  for (WPARAM row : {0, 1, 2}) EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_CUT), LVIS_CUT) << row;

  notes.clear();
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(logged({LVN_DELETEALLITEMS, LVN_DELETEITEM}),
            (std::vector<std::string>{"deleteall", "delete item=0 param=42", "delete item=1 param=0",
                                      "delete item=2 param=0"}));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

uint32_t screenColor(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }
uint32_t pixel(int x, int y) { return device::Device::instance().backend().framebuffer().pixel(x, y); }

// The pixels of a region that are not the background, and their bounds.
struct Ink {
  int left = 100000, top = 100000, right = -1, bottom = -1, count = 0;
};

Ink inkIn(const RECT& r, uint32_t background) {
  Ink ink;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (pixel(x, y) != background)
        ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x), std::max(ink.bottom, y), ink.count + 1};
  return ink;
}

// The percentage of a region's pixels in one colour.
int share(const RECT& r, uint32_t color) {
  int all = (r.right - r.left) * (r.bottom - r.top);
  return all > 0 ? (all - inkIn(r, color).count) * 100 / all : 0;
}

TEST_F(ListTest, ScreenshotShowsHeaderSelectedRowsAnEllipsisAndARightAlignedNumber) {
  HWND list = createList(createParent(), LVS_SHOWSELALWAYS);
  addColumns(list, {{u"Name", 60}, {u"Note", 110}});
  insertColumn(list, 2, u"Size", 60, LVCFMT_RIGHT);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  std::u16string tall(60, u'l');
  addRow(list, {u"alpha", tall.c_str(), u"1"});
  addRow(list, {u"beta", u"x", u"22"});
  addRow(list, {u"gamma", u"y", u"333"});
  tap(cellPoint(list, 1, 0));
  tap(cellPoint(list, 2, 0), true);
  SetFocus(list);
  pump();

  uint32_t window = screenColor(GetSysColor(COLOR_WINDOW));
  uint32_t highlight = screenColor(GetSysColor(COLOR_HIGHLIGHT));
  uint32_t face = screenColor(GetSysColor(COLOR_BTNFACE));
  ASSERT_NE(window, highlight);

  // The header: headings on the button face.
  RECT strip{};
  GetWindowRect(headerOf(list), &strip);
  ASSERT_GT(strip.bottom - strip.top, 8);
  EXPECT_GT(share(strip, face), 50);
  EXPECT_GT(inkIn({strip.left + 2, strip.top + 2, strip.left + 58, strip.bottom - 2}, face).count, 0);  // "Name"

  // Selected rows are lit across every column, the first row is not.
  for (int row : {1, 2}) {
    RECT note = screenCell(list, row, 1);
    RECT blank{note.left + 30, note.top + 1, note.right - 2, note.bottom - 1};
    EXPECT_EQ(share(blank, highlight), 100) << "row " << row;
  }
  RECT first = screenCell(list, 0, 0);
  EXPECT_EQ(share({first.right - 8, first.top, first.right, first.bottom}, window), 100);

  // A text too long for its cell ends in an ellipsis: in its last pixels
  // only dots near the baseline, none of the tall letters' height.
  RECT cut = screenCell(list, 0, 1);
  Ink letters = inkIn({cut.left, cut.top, cut.left + 40, cut.bottom}, window);
  ASSERT_GT(letters.count, 0);
  int height = letters.bottom - letters.top + 1;
  ASSERT_GT(height, 6);
  Ink tail = inkIn({cut.right - 10, cut.top, cut.right, cut.bottom}, window);
  ASSERT_GT(tail.count, 0);
  EXPECT_GT(tail.top, letters.top + height / 2) << "letters reach up to the end of the cell";
  EXPECT_LE(tail.bottom, letters.bottom + 1);
  // Nothing spills into the next column's margin.
  EXPECT_EQ(inkIn({cut.right, cut.top, cut.right + 3, cut.bottom}, window).count, 0);

  // The right-aligned number sits against its cell's right margin.
  RECT number = screenCell(list, 0, 2);
  Ink digits = inkIn(number, window);
  ASSERT_GT(digits.count, 0);
  EXPECT_GT(digits.left, (number.left + number.right) / 2);
  EXPECT_GE(digits.right, number.right - 8);
}

}  // namespace
}  // namespace listtest
