// What the list view shows: a screenshot checked by regions (header,
// selected rows, a cut text's ellipsis, a right-aligned number).
#include "ListHarness.h"

#include "device/Device.h"

namespace listtest {
namespace {

uint32_t screenColor(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }
uint32_t pixel(int x, int y) { return device::Device::instance().backend().framebuffer().pixel(x, y); }

RECT screenCell(HWND list, int row, int column) {
  RECT r{LVIR_LABEL, column, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

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
  HWND list = createList(createParent(), LVS_SHOWSELALWAYS, {0, 0, 240, 200});
  addColumns(list, {{u"Name", 60}, {u"Note", 110}});
  LVCOLUMNW size{};
  size.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  size.fmt = LVCFMT_RIGHT;
  size.cx = 60;
  size.pszText = const_cast<WCHAR*>(u"Size");
  SendMessageW(list, LVM_INSERTCOLUMNW, 2, reinterpret_cast<LPARAM>(&size));
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
