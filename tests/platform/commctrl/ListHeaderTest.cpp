// The header control on its own and under a list view: clicking a heading
// and dragging a divider.
#include "ListHarness.h"

namespace listtest {
namespace {

using Type = display::InputEvent::Type;

HWND createHeader(HWND parent, DWORD style) {
  return CreateWindowExW(0, WC_HEADERW, nullptr, WS_CHILD | WS_VISIBLE | style, 0, 0, 240, 20, parent,
                         reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
}

int insertHeading(HWND header, int index, const char16_t* text, int width) {
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = const_cast<WCHAR*>(text);
  item.cxy = width;
  item.fmt = HDF_LEFT | HDF_STRING;
  return static_cast<int>(SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int headingWidth(HWND header, int index) {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return -1;
  return item.cxy;
}

void drag(POINT from, POINT to) {
  stylus(Type::StylusDown, from);
  stylus(Type::StylusMove, {(from.x + to.x) / 2, to.y});
  stylus(Type::StylusMove, to);
  stylus(Type::StylusUp, to);
}

TEST_F(ListTest, DraggingAListsHeaderDividerResizesItsColumnUnlessTheParentRefuses) {
  HWND list = createList(createParent(), 0, {0, 0, 240, 200});
  addColumns(list, {{u"Name", 80}, {u"Size", 50}});
  addRow(list, {u"a", u"b"});
  HWND header = headerOf(list);
  RECT r{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINT divider{r.right + 1, (r.top + r.bottom) / 2};
  ClientToScreen(header, &divider);
  notes().clear();
  drag(divider, {divider.x + 40, divider.y});
  // The list's parent hears of its header's drag, from the header, as the stylus moves.
  EXPECT_EQ(logged({HDN_BEGINTRACKW, HDN_TRACKW, HDN_ITEMCHANGINGW, HDN_ITEMCHANGEDW, HDN_ENDTRACKW, HDN_ITEMCLICKW}),
            (std::vector<std::string>{"hdn-begintrack item=0 width=80", "hdn-track item=0 width=100",
                                      "hdn-itemchanging item=0 width=100", "hdn-itemchanged item=0 width=100",
                                      "hdn-track item=0 width=120", "hdn-itemchanging item=0 width=120",
                                      "hdn-itemchanged item=0 width=120", "hdn-endtrack item=0 width=120"}));
  EXPECT_EQ(notes().back().from, header);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 120);
  RECT cell{LVIR_LABEL, 1, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  EXPECT_EQ(cell.left, 120);

  answers().results[HDN_BEGINTRACKW] = TRUE;
  notes().clear();
  drag({divider.x + 40, divider.y}, divider);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 120);
  EXPECT_EQ(logged({HDN_TRACKW, HDN_ENDTRACKW, HDN_ITEMCHANGEDW}), std::vector<std::string>{});
  // Widths the program sets reach the header without a word to the parent.
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, 70);
  EXPECT_EQ(headingWidth(header, 1), 70);
  EXPECT_TRUE(logged({HDN_ITEMCHANGINGW, HDN_ITEMCHANGEDW}).empty());
}

TEST_F(ListTest, ClickingAButtonHeadingTellsTheParentOnlyWhenReleasedOnIt) {
  HWND parent = createParent();
  HWND buttons = createHeader(parent, HDS_BUTTONS);
  insertHeading(buttons, 0, u"Name", 80);
  insertHeading(buttons, 1, u"Size", 50);
  tap({100, 10});
  drag({100, 10}, {30, 10});
  EXPECT_EQ(logged({HDN_ITEMCLICKW}), std::vector<std::string>{"hdn-itemclick item=1"});
  DestroyWindow(buttons);
  // Plain headings are not buttons.
  insertHeading(createHeader(parent, 0), 0, u"Name", 80);
  tap({30, 10});
  EXPECT_EQ(logged({HDN_ITEMCLICKW}).size(), 1u);
}

}  // namespace
}  // namespace listtest
