// The main window made in-process on an image built for the test: how it
// routes commands and notifications, and what its record cache costs the
// store, counted call by call.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "browser/BrowserWnd.h"
#include "device/Device.h"
#include "framework/CeApp.h"
#include "harness/ImageBuilder.h"
#include "kernel/Cursors.h"
#include "kernel/Utf.h"
#include "store/CallCounts.h"
#include "store/DeviceImage.h"

namespace {

using harness::ImageBuilder;
using harness::Prop;

constexpr int kRecords = 60;

// Records the cursor while the list takes its rows.
class ProbeWnd : public BrowserWnd {
 public:
  std::vector<std::string> cursors;
  LRESULT OnNotify(WPARAM id, NMHDR* header, bool* handled) override {
    if (id == kListId && header->code == LVN_INSERTITEM) cursors.push_back(kernel::cursorName());
    return BrowserWnd::OnNotify(id, header, handled);
  }
};

class BrowserWndTest : public ::testing::Test {
 protected:
  // The image is built once; each test gets a copy of its own.
  static void SetUpTestSuite() {
    std::filesystem::remove(Built());
    ImageBuilder image(Built());
    records = image.Database(u"Numbers");
    image.Records(records, kRecords, [](int i) { return Prop::UI4(1, ULONG(i) * 1000); });
    image.Database(u"Empty");
  }
  static void TearDownTestSuite() { std::filesystem::remove(Built()); }
  static std::string Built() {
    return std::string(VANTOR_TEST_BINARY_DIR) + "/browser-built-" + std::to_string(getpid()) + ".cedb";
  }

  void SetUp() override {
    path = std::string(VANTOR_TEST_BINARY_DIR) + "/browser-" + std::to_string(getpid()) + ".cedb";
    std::filesystem::copy_file(Built(), path, std::filesystem::copy_options::overwrite_existing);
    std::string error;
    ASSERT_TRUE(store::openDeviceImage(path, error)) << error;
    device::Device::instance().configure(device::Options{}, nullptr);
    g_instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 26, 240, 268, u"Vantor", WS_VISIBLE, WS_EX_CAPTIONOKBTN, nullptr,
                              nullptr));
  }
  void TearDown() override {
    if (window.hwnd != nullptr) DestroyWindow(window.hwnd);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    store::closeDeviceImage();
    std::filesystem::remove(path);
  }

  LRESULT Notify(int id, UINT code, NMHDR* header, bool* handled) {
    header->idFrom = UINT_PTR(id);
    header->code = code;
    *handled = false;
    return window.Dispatch(WM_NOTIFY, WPARAM(id), reinterpret_cast<LPARAM>(header), handled);
  }
  void Hint(int from, int to) {
    NMLVCACHEHINT hint = {};
    hint.iFrom = from;
    hint.iTo = to;
    bool handled = false;
    Notify(BrowserWnd::kListId, LVN_ODCACHEHINT, &hint.hdr, &handled);
  }
  // The text the list gets for a row's first cell, in a buffer of capacity
  // characters; what lies beyond the buffer must stay untouched.
  std::string Cell(int row, int capacity = 64) {
    char16_t buffer[80];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    NMLVDISPINFOW info = {};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.pszText = buffer;
    info.item.cchTextMax = capacity;
    buffer[0] = 0;
    bool handled = false;
    Notify(BrowserWnd::kListId, LVN_GETDISPINFOW, &info.hdr, &handled);
    EXPECT_EQ(buffer[capacity], u'#') << "written past the buffer";
    return kernel::utf16ToUtf8(std::u16string(buffer, std::find(buffer, buffer + capacity, u'\0')));
  }
  // The record identifier the list gets as the row's item data.
  CEOID ItemData(int row) {
    NMLVDISPINFOW info = {};
    info.item.mask = LVIF_PARAM;
    info.item.iItem = row;
    bool handled = false;
    Notify(BrowserWnd::kListId, LVN_GETDISPINFOW, &info.hdr, &handled);
    return CEOID(info.item.lParam);
  }

  std::string path;
  static inline CEOID records = 0;
  ProbeWnd window;
};

TEST_F(BrowserWndTest, CommandsWithACodeOnlyCloseForIdOneAndUnknownIdsGoToDefaultProcessing) {
  struct Case {
    WORD id;
    WORD code;
    bool handled;
    bool closes;
  };
  const Case cases[] = {{40003, 0, true, false}, {40005, 0, true, false}, {1, 0, false, false},
                        {40000, 0, false, false}, {40008, 0, false, false}, {40005, 1, false, false},
                        {1, 0xFFFF, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + "/" + std::to_string(c.code));
    bool handled = false;
    window.Dispatch(WM_COMMAND, MAKEWPARAM(c.id, c.code), 0, &handled);
    EXPECT_EQ(handled, c.handled);
    EXPECT_EQ(window.hwnd == nullptr, c.closes);
  }
}

TEST_F(BrowserWndTest, OnlyTheUsersTreeSelectionsRefreshAndTheListAnswersEveryNotification) {
  struct Case {
    int id;
    UINT code;
    UINT action;
    LRESULT result;
    bool handled;
    uint64_t opens;
  };
  const Case cases[] = {
      {BrowserWnd::kTreeId, TVN_SELCHANGEDW, TVC_BYMOUSE, 0, false, 1},
      {BrowserWnd::kTreeId, TVN_SELCHANGEDW, TVC_BYKEYBOARD, 0, false, 1},
      {BrowserWnd::kTreeId, TVN_SELCHANGEDW, TVC_UNKNOWN, 0, false, 0},
      {BrowserWnd::kTreeId, TVN_SELCHANGINGW, TVC_BYMOUSE, 0, false, 0},
      {BrowserWnd::kListId, LVN_ODFINDITEMW, 0, -1, true, 0},
      {BrowserWnd::kListId, LVN_COLUMNCLICK, 0, 0, true, 1},
      {BrowserWnd::kListId, LVN_ITEMCHANGED, 0, 0, true, 0},
      {102, LVN_COLUMNCLICK, 0, 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " " + std::to_string(int(c.code)) + " " + std::to_string(c.action));
    NMTREEVIEWW header = {};  // large enough for every notification here
    header.action = c.action;
    const uint64_t opens = store::callCounts().opens;
    bool handled = false;
    EXPECT_EQ(Notify(c.id, c.code, &header.hdr, &handled), c.result);
    EXPECT_EQ(handled, c.handled);
    EXPECT_EQ(store::callCounts().opens - opens, c.opens);
  }
}

TEST_F(BrowserWndTest, TheCacheLoadsAtMostFortyRowsOnceAndAnswersForThemWithTheirRecords) {
  struct Case {
    int from, to;
    uint64_t reads;
    int windowStart, windowCount;
  };
  const Case cases[] = {
      {10, 49, 40, 10, 40},  // a full window
      {10, 50, 0, 10, 40},   // 41 rows: refused, the earlier rows stay
      {12, 20, 0, 10, 40},   // inside the window: nothing read
      {11, 50, 40, 11, 40},  // one row past it: read again
      {55, 59, 5, 55, 5},
      {58, 59, 0, 55, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    const uint64_t reads = store::callCounts().reads;
    Hint(c.from, c.to);
    EXPECT_EQ(store::callCounts().reads - reads, c.reads);
    EXPECT_EQ(window.cache.windowStart, c.windowStart);
    EXPECT_EQ(window.cache.windowCount, c.windowCount);
  }
  // Rows hold their records in order; outside the window there is none.
  Hint(10, 49);
  EXPECT_NE(ItemData(10), 0u);
  EXPECT_EQ(ItemData(11), window.cache.RecordOidAt(11));
  EXPECT_EQ(ItemData(49) - ItemData(10), window.cache.rowOids[39] - window.cache.rowOids[0]);
  EXPECT_EQ(window.cache.RecordOidAt(9), 0u);
  EXPECT_EQ(window.cache.RecordOidAt(50), 0u);
  EXPECT_EQ(ItemData(50), 0u);
}

// The window lies at (0,26), 240 x 268: the bar is client rows 131 to 136.
TEST_F(BrowserWndTest, TheStackedBarStaysInsideTheWindowAndIsBlackOnlyWhileDragged) {
  const auto barPixel = [&](int y) {
    UpdateWindow(window.hwnd);
    return device::Device::instance().backend().framebuffer().pixel(120, y);
  };
  const auto panes = [&] {
    RECT tree = {}, list = {};
    GetWindowRect(window.treeView, &tree);
    GetWindowRect(window.listView, &list);
    return std::to_string(tree.bottom) + " " + std::to_string(list.top) + "-" + std::to_string(list.bottom);
  };
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t facePixel = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
  EXPECT_EQ(barPixel(26 + 133), facePixel);
  SendMessageW(window.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 133));
  EXPECT_EQ(barPixel(26 + 133), 0u);
  struct Move {
    int y;
    std::string panes;
  };
  const Move moves[] = {{100, "122 127-294"}, {3, "122 127-294"},  {4, "26 31-294"},
                        {267, "289 294-294"}, {268, "289 294-294"}, {-5, "289 294-294"}};
  for (const Move& m : moves) {
    SendMessageW(window.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, m.y));
    EXPECT_EQ(panes(), m.panes) << m.y;
  }
  EXPECT_EQ(barPixel(291), 0u);
  SendMessageW(window.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(120, 200));
  EXPECT_EQ(barPixel(291), facePixel);
}

TEST_F(BrowserWndTest, ASideBySideDragPastEitherEdgeLeavesOnePaneWithoutWidth) {
  DestroyWindow(window.hwnd);
  device::Options landscape;
  landscape.screenWidth = 320;
  landscape.screenHeight = 240;
  device::Device::instance().configure(landscape, nullptr);
  BrowserWnd wide;
  ASSERT_TRUE(wide.Create(nullptr, nullptr, 0, 26, 320, 188, u"Vantor", WS_VISIBLE, 0, nullptr, nullptr));
  const auto widths = [&] {
    RECT tree = {}, list = {};
    GetWindowRect(wide.treeView, &tree);
    GetWindowRect(wide.listView, &list);
    return std::to_string(tree.right - tree.left) + " " + std::to_string(list.right - list.left);
  };
  EXPECT_EQ(widths(), "125 189");
  SendMessageW(wide.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(128, 100));
  SendMessageW(wide.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 100));
  EXPECT_EQ(widths(), "0 339");
  SendMessageW(wide.hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(340, 100));
  EXPECT_EQ(widths(), "336 0");
  SendMessageW(wide.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(340, 100));
}

// A row the last fill did not read is empty and names no record, so that
// deleting it can delete nothing else.
TEST_F(BrowserWndTest, RowsTheLastFillCouldNotReadAreEmptyAndNameNoRecord) {
  Hint(0, 39);
  Hint(55, 70);  // the database ends at row 59
  EXPECT_EQ(Cell(59), "59000");
  EXPECT_NE(ItemData(59), 0u);
  EXPECT_EQ(Cell(60), "");
  EXPECT_EQ(ItemData(60), 0u);
  Hint(100, 105);  // the first seek fails
  EXPECT_EQ(Cell(100), "");
  EXPECT_EQ(ItemData(100), 0u);
  Hint(10, 20);
  EXPECT_EQ(Cell(12, 3), "12");  // cut to the buffer and terminated
}

TEST_F(BrowserWndTest, ARebuildShowsTheWaitCursorAndPutsThePreviousOneBack) {
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  SetCursor(arrow);
  HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageW(window.treeView, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageW(window.treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
  window.cursors.clear();
  window.RefreshList();
  ASSERT_EQ(window.cursors.size(), 2u);  // one summary row per database
  EXPECT_EQ(window.cursors[0], "wait");
  EXPECT_EQ(std::string(kernel::cursorName()), "arrow");
}

TEST_F(BrowserWndTest, ARefreshOpensTheFirstDatabaseOnceThoughTheTreeSelectsIt) {

  const uint64_t opens = store::callCounts().opens;
  bool handled = false;
  window.Dispatch(WM_COMMAND, MAKEWPARAM(40005, 0), 0, &handled);
  EXPECT_EQ(store::callCounts().opens - opens, 1u);
  EXPECT_EQ(window.currentOid, records);
}

}  // namespace
