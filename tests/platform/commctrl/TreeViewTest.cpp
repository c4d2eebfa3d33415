// The tree view as a program drives it: items, selection and expansion with their notifications,
// deletion, data and texts, the stylus and the keys; the screen by regions, whatever the glyphs.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ControlInput.h"
#include "device/Device.h"
#include "kernel/Icons.h"

namespace treetest {
namespace {

using ctltest::key;
using ctltest::pump;
using ctltest::tap;

// A notification as the parent received it; the data travel along but are
// not compared, and gtest prints both sequences on a mismatch.
struct Note {
  UINT code = 0; UINT action = 0; HTREEITEM oldItem = nullptr; HTREEITEM newItem = nullptr;
  LPARAM oldData = 0; LPARAM newData = 0;
  bool operator==(const Note& o) const {
    return code == o.code && action == o.action && oldItem == o.oldItem && newItem == o.newItem;
  }
};
void PrintTo(const Note& n, std::ostream* out) {
  *out << "code=" << static_cast<int>(n.code) << " action=" << n.action << " old=" << n.oldItem << " new=" << n.newItem;
}
using Notes = std::vector<Note>;
Notes received;

Note note(UINT code, UINT action = 0, HTREEITEM oldItem = nullptr, HTREEITEM newItem = nullptr) {
  return {code, action, oldItem, newItem, 0, 0};
}
Notes operator+(Notes a, const Notes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// The pairs a change of selection or of expansion sends; one deletion each.
Notes selection(UINT action, HTREEITEM from, HTREEITEM to) {
  return {note(TVN_SELCHANGINGW, action, from, to), note(TVN_SELCHANGEDW, action, from, to)};
}
Notes expansion(UINT action, HTREEITEM item) {
  return {note(TVN_ITEMEXPANDINGW, action, nullptr, item), note(TVN_ITEMEXPANDEDW, action, nullptr, item)};
}
Notes deletion(std::initializer_list<HTREEITEM> items) {
  Notes out;
  for (HTREEITEM item : items) out.push_back(note(TVN_DELETEITEMW, 0, item, nullptr));
  return out;
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_NOTIFY) return DefWindowProcW(hwnd, msg, wParam, lParam);
  const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
  // The tree tells who it is: its window and its id, also in wParam.
  EXPECT_EQ(wParam, header.idFrom);
  EXPECT_EQ(static_cast<int>(header.idFrom), GetDlgCtrlID(header.hwndFrom));
  const auto& tv = *reinterpret_cast<const NMTREEVIEWW*>(lParam);
  switch (header.code) {
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGEDW:
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
    case TVN_DELETEITEMW:
      received.push_back({header.code, tv.action, tv.itemOld.hItem, tv.itemNew.hItem, tv.itemOld.lParam, tv.itemNew.lParam});
      break;
    case TVN_GETDISPINFOW:
      break;
    default:
      received.push_back(note(header.code));
  }
  return 0;
}

// A parent window recording the tree's notifications; nothing is left behind.
class TreeViewTest : public ::testing::Test {
 protected:
  static constexpr DWORD kProgramStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                                         TVS_SHOWSELALWAYS;

  void SetUp() override {
    device::Device::instance().configure(device::Options{}, nullptr);
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    WNDCLASSW wc{};
    wc.lpfnWndProc = parentProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = u"TreeTestParent";
    RegisterClassW(&wc);  // already there from an earlier test: fine
    parent_ = CreateWindowExW(0, wc.lpszClassName, u"parent", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    received.clear();
  }
  void TearDown() override {
    ctltest::cleanUp();
    received.clear();
  }

  // Creates the tree (replacing one made before) in the parent's client area.
  void makeTree() {
    if (tree_) DestroyWindow(tree_);
    tree_ = CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE | kProgramStyle, 0, 0, 240, 130, parent_,
                            reinterpret_cast<HMENU>(100), nullptr, nullptr);
    EXPECT_NE(tree_, nullptr);
    received.clear();
  }
  // The program's tree: "Databases" (data -1) with "Contacts", "Appointments"
  // and "Tasks" (data 1, 2, 3) below it, nothing selected or open.
  void programTree() {
    makeTree();
    root_ = insert(TVI_ROOT, u"Databases", -1);
    a_ = insert(root_, u"Contacts", 1);
    b_ = insert(root_, u"Appointments", 2);
    c_ = insert(root_, u"Tasks", 3);
    take();
  }
  HTREEITEM insert(HTREEITEM parent, const char16_t* text, LPARAM data = 0, HTREEITEM after = TVI_LAST) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<LPWSTR>(text);
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  // The notifications received since the last call, then forgets them.
  Notes take() { return std::exchange(received, {}); }
  LRESULT send(UINT msg, WPARAM wParam, HTREEITEM item) const {
    return SendMessageW(tree_, msg, wParam, reinterpret_cast<LPARAM>(item));
  }
  HTREEITEM caret() const { return next(TVGN_CARET); }
  HTREEITEM next(UINT code, HTREEITEM item = nullptr) const {
    return reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, code, item));
  }
  // The item's fields for the mask (text: up to 259 units, "<no item>" when refused).
  TVITEMW get(HTREEITEM item, UINT mask) const {
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | mask;
    tv.hItem = item;
    tv.stateMask = 0xFFFF;
    tv.pszText = buffer_;
    tv.cchTextMax = 260;
    std::memcpy(buffer_, u"<no item>", sizeof u"<no item>");
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return tv;
  }
  std::u16string text(HTREEITEM item) const { return get(item, TVIF_TEXT).pszText; }
  LPARAM data(HTREEITEM item) const { return get(item, TVIF_PARAM).lParam; }
  UINT state(HTREEITEM item) const { return get(item, TVIF_STATE).state; }
  bool expanded(HTREEITEM item) const { return (state(item) & TVIS_EXPANDED) != 0; }
  int count() const { return static_cast<int>(SendMessageW(tree_, TVM_GETCOUNT, 0, 0)); }
  RECT labelRect(HTREEITEM item) const {
    RECT r{};
    std::memcpy(&r, &item, sizeof item);
    if (!SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) ADD_FAILURE() << "no rectangle";
    MapWindowPoints(tree_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  POINT labelPoint(HTREEITEM item) const {
    RECT r = labelRect(item);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  HWND parent_ = nullptr;
  HWND tree_ = nullptr;
  HTREEITEM root_ = nullptr, a_ = nullptr, b_ = nullptr, c_ = nullptr;
  mutable WCHAR buffer_[260] = {};
};

TEST_F(TreeViewTest, ItemsGoInOrderKeepTheirDataTextsAndChildrenFlagsAndStaleHandlesAreRefused) {
  makeTree();
  HTREEITEM b = insert(TVI_ROOT, u"b");
  HTREEITEM d = insert(TVI_ROOT, u"d");
  insert(TVI_ROOT, u"a", 0, TVI_FIRST);
  insert(TVI_ROOT, u"c", 0, b);  // after a sibling
  insert(nullptr, u"e");  // no parent: the root
  std::u16string forwards;
  for (HTREEITEM c = next(TVGN_CHILD, TVI_ROOT); c; c = next(TVGN_NEXT, c)) forwards += text(c);
  EXPECT_EQ(forwards, u"abcde");
  EXPECT_EQ(text(next(TVGN_ROOT)), u"a");
  EXPECT_EQ(count(), 5);
  // Inserting makes no selection and notifies nothing.
  EXPECT_EQ(caret(), nullptr);
  EXPECT_EQ(take(), Notes{});
  // After an item that is no child of the parent, or with a deleted item: refused.
  EXPECT_EQ(insert(b, u"x", 0, d), nullptr);
  send(TVM_DELETEITEM, 0, b);
  EXPECT_EQ(insert(b, u"x"), nullptr);
  EXPECT_EQ(text(b), u"<no item>");
  EXPECT_FALSE(send(TVM_SELECTITEM, TVGN_CARET, b));
  EXPECT_FALSE(send(TVM_DELETEITEM, 0, b));
  EXPECT_EQ(count(), 4);
  // Item data round trips, and the selection's notification carries it.
  for (LPARAM v : {LPARAM{-1}, static_cast<LPARAM>(0x80000001u), static_cast<LPARAM>(0x123456789ABCDEF0ll)}) {
    SCOPED_TRACE(v);
    HTREEITEM item = insert(TVI_ROOT, u"x", v);
    EXPECT_EQ(data(item), v);
    send(TVM_SELECTITEM, TVGN_CARET, item);
    std::vector<Note> got = take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().newData, v);
  }
  // A name longer than the caller's buffer.
  const std::u16string name = u"A database name of forty-one characters!!";
  HTREEITEM item = insert(TVI_ROOT, name.c_str());
  const int size = static_cast<int>(name.size());
  struct Case { int capacity; std::u16string expected; } cases[] = {
      {0, u"####"}, {1, u""}, {2, u"A"}, {size, name.substr(0, name.size() - 1)}, {size + 1, name}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    // Four guard units past the capacity, then a terminator of the test's own.
    std::vector<WCHAR> buffer(static_cast<size_t>(c.capacity) + 4, u'#');
    buffer.push_back(0);
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer.data();
    tv.cchTextMax = c.capacity;
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    EXPECT_EQ(std::u16string(buffer.data()), c.expected);
    for (size_t i = static_cast<size_t>(c.capacity); i + 1 < buffer.size(); ++i) EXPECT_EQ(buffer[i], u'#') << i;
  }
  // Children 0 given, as for a database: it cannot open; else the flag follows the children.
  TVINSERTSTRUCTW noChildren{TVI_ROOT, TVI_LAST, {}};
  noChildren.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  noChildren.item.pszText = const_cast<LPWSTR>(u"db");
  auto db = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&noChildren)));
  EXPECT_EQ(get(db, TVIF_CHILDREN).cChildren, 0);
  EXPECT_FALSE(send(TVM_EXPAND, TVE_EXPAND, db));
  HTREEITEM parent = insert(TVI_ROOT, u"parent");
  insert(parent, u"child");
  EXPECT_EQ(get(parent, TVIF_CHILDREN).cChildren, 1);
  // A larger font makes taller rows; none brings the system font back.
  HFONT big = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  const LRESULT before = SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0);
  SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_GT(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  SendMessageW(tree_, WM_SETFONT, 0, TRUE);
  EXPECT_EQ(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  DeleteObject(big);
}

TEST_F(TreeViewTest, SelectingAndDeletingNotifyInOrderAndANeighbourTakesTheSelectionUntilTheTreeIsEmpty) {
  programTree();
  HTREEITEM lone = insert(TVI_ROOT, u"Other");
  HTREEITEM only = insert(lone, u"Only child", 0x2001);
  take();
  auto select = [this](HTREEITEM item) { return [this, item] { return send(TVM_SELECTITEM, TVGN_CARET, item); }; };
  auto remove = [this](HTREEITEM item) { return [this, item] { return send(TVM_DELETEITEM, 0, item); }; };
  struct Step { const char* what; std::function<LRESULT()> act; Notes expected; HTREEITEM caret; };
  const Step steps[] = {
      {"selected: unknown, the parent opened", select(a_), selection(TVC_UNKNOWN, nullptr, a_) + expansion(TVE_EXPAND, root_), a_},
      {"the same again: nothing", select(a_), {}, a_},
      {"another: old and new named", select(c_), selection(TVC_UNKNOWN, a_, c_), c_},
      {"the middle one", select(b_), selection(TVC_UNKNOWN, c_, b_), b_},
      {"deleted: the next sibling", remove(b_), deletion({b_}) + selection(TVC_UNKNOWN, nullptr, c_), c_},
      {"deleted when last: the previous", remove(c_), deletion({c_}) + selection(TVC_UNKNOWN, nullptr, a_), a_},
      {"an only child", select(only), selection(TVC_UNKNOWN, a_, only) + expansion(TVE_EXPAND, lone), only},
      {"deleted when alone: the parent", remove(only), deletion({only}) + selection(TVC_UNKNOWN, nullptr, lone), lone},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const HTREEITEM before = caret();
    EXPECT_TRUE(s.act());
    EXPECT_EQ(take(), s.expected);
    EXPECT_EQ(caret(), s.caret);
    EXPECT_TRUE(state(s.caret) & TVIS_SELECTED);
    if (before != s.caret && text(before) != u"<no item>") {
      EXPECT_FALSE(state(before) & TVIS_SELECTED);
    }
  }
  EXPECT_TRUE(expanded(root_));

  // Deleting a parent of the selection tells of every item below, with its
  // data for the parent to release, and the neighbour takes the selection.
  programTree();
  HTREEITEM second = insert(TVI_ROOT, u"Second", 5);
  HTREEITEM grandchild = insert(b_, u"Deep", 6);
  send(TVM_SELECTITEM, TVGN_CARET, grandchild);
  take();
  EXPECT_TRUE(send(TVM_DELETEITEM, 0, root_));
  std::vector<Note> got = take();
  EXPECT_EQ(got, deletion({root_, a_, b_, grandchild, c_}) + selection(TVC_UNKNOWN, nullptr, second));
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0].oldData * 10 + got[3].oldData, -10 + 6);
  EXPECT_EQ(count(), 1);

  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way == 0 ? "TVI_ROOT" : way == 1 ? "null" : "destroyed");
    programTree();
    send(TVM_SELECTITEM, TVGN_CARET, b_);
    take();
    if (way == 2) {
      DestroyWindow(tree_);
      tree_ = nullptr;
    } else {
      EXPECT_TRUE(send(TVM_DELETEITEM, 0, way == 0 ? TVI_ROOT : nullptr));
    }
    EXPECT_EQ(take(), deletion({root_, a_, b_, c_}));
    if (way == 2) continue;
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(next(TVGN_FIRSTVISIBLE), nullptr);
    // The tree is usable again at once.
    EXPECT_EQ(next(TVGN_ROOT), insert(TVI_ROOT, u"Databases", -1));
  }
}

TEST_F(TreeViewTest, SetItemChangesWhatItsMaskNamesAndACollapseByStateTakesTheSelectionUp) {
  programTree();
  send(TVM_SELECTITEM, TVGN_CARET, b_);
  struct Set { UINT mask; const char16_t* text; int image, selected; LPARAM data; int children; UINT state, stateMask; };
  using Fields = std::tuple<std::u16string, int, int, LPARAM, int, UINT, HTREEITEM>;  // read back, and the selection
  const UINT open = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  const UINT closed = TVIS_BOLD | TVIS_EXPANDEDONCE | TVIS_SELECTED;
  const UINT bold = TVIS_BOLD;
  const UINT both = closed | open;
  const std::pair<Set, Fields> changes[] = {
      {{TVIF_TEXT, u"Names", 0, 0, 0, 0, 0, 0}, {u"Names", 0, 0, -1, 1, open, b_}},
      {{TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, nullptr, 3, 4, 77, 0, 0, 0}, {u"Names", 3, 4, 77, 1, open, b_}},
      {{TVIF_CHILDREN, nullptr, 0, 0, 0, 0, 0, 0}, {u"Names", 3, 4, 77, 0, open, b_}},
      {{TVIF_STATE, nullptr, 0, 0, 0, 0, bold, bold | TVIS_EXPANDED}, {u"Names", 3, 4, 77, 0, closed, root_}},
      {{TVIF_STATE, nullptr, 0, 0, 0, 0, TVIS_EXPANDED, TVIS_EXPANDED | TVIS_SELECTED}, {u"Names", 3, 4, 77, 0, both, root_}},
      {{TVIF_TEXT, LPSTR_TEXTCALLBACKW, 0, 0, 0, 0, 0, 0}, {u"", 3, 4, 77, 0, both, root_}},
  };
  for (const auto& [c, expected] : changes) {
    LPWSTR text = const_cast<LPWSTR>(c.text);
    TVITEMW tv{c.mask, root_, c.state, c.stateMask, text, 0, c.image, c.selected, c.children, c.data};
    EXPECT_TRUE(SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
    TVITEMW got = get(root_, TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE);
    Fields fields(got.pszText, got.iImage, got.iSelectedImage, got.lParam, got.cChildren, got.state, caret());
    EXPECT_EQ(fields, expected) << c.mask;
  }
  // The collapse and the expansion by state are not notified.
  EXPECT_EQ(take(), selection(TVC_UNKNOWN, nullptr, b_) + expansion(TVE_EXPAND, root_));
  // Neighbours and the drop target as asked.
  send(TVM_SELECTITEM, TVGN_DROPHILITE, c_);
  const std::tuple<UINT, HTREEITEM, HTREEITEM> neighbours[] = {
      {TVGN_PARENT, a_, root_},           {TVGN_PARENT, root_, nullptr},       {TVGN_PREVIOUS, c_, b_},
      {TVGN_NEXTVISIBLE, root_, a_},      {TVGN_PREVIOUSVISIBLE, a_, root_},   {TVGN_LASTVISIBLE, nullptr, c_},
      {TVGN_DROPHILITE, nullptr, c_},     {TVGN_NEXT, c_, nullptr},            {0xFF, a_, nullptr},
  };
  for (const auto& [code, from, expected] : neighbours) EXPECT_EQ(next(code, from), expected) << code;
  // The indent is at least one pixel; only the normal and state image lists exist.
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  const LRESULT list = reinterpret_cast<LRESULT>(images);
  const std::tuple<UINT, WPARAM, LPARAM, LRESULT> messages[] = {
      {TVM_SETINDENT, 0, 0, 0}, {TVM_GETINDENT, 0, 0, 1}, {TVM_SETIMAGELIST, TVSIL_NORMAL, list, 0},
      {TVM_GETIMAGELIST, TVSIL_NORMAL, 0, list}, {TVM_SETIMAGELIST, 5, list, 0},
      {TVM_SETIMAGELIST, TVSIL_NORMAL, 0, list},
      {WM_GETDLGCODE, 0, 0, DLGC_WANTARROWS | DLGC_WANTCHARS}, {WM_NOTIFYFORMAT, 0, 0, NFR_UNICODE},
  };
  for (const auto& [msg, wParam, lParam, expected] : messages)
    EXPECT_EQ(SendMessageW(tree_, msg, wParam, lParam), expected) << std::hex << msg;
  ImageList_Destroy(images);
}


TEST_F(TreeViewTest, KeysSelectByKeyboardAndStylusTapsByMouse) {
  programTree();
  HTREEITEM second = insert(TVI_ROOT, u"Second", 4);
  SetFocus(tree_);
  take();
  key(VK_RETURN);
  EXPECT_EQ(take(), Notes{note(NM_RETURN)});
  // The first key without a selection selects the first item.
  key(VK_DOWN);
  EXPECT_EQ(take(), selection(TVC_BYKEYBOARD, nullptr, root_));
  key(VK_DOWN);
  EXPECT_EQ(take(), selection(TVC_BYKEYBOARD, root_, second));
  key(VK_UP);
  // Right opens a closed item as the user's expansion, then goes in.
  struct Step { UINT key; HTREEITEM* caret; bool rootOpen; } steps[] = {
      {VK_RIGHT, &root_, true}, {VK_RIGHT, &a_, true},  {VK_DOWN, &b_, true},       {VK_DOWN, &c_, true},
      {VK_DOWN, &second, true}, {VK_DOWN, &second, true}, {VK_UP, &c_, true},       {VK_LEFT, &root_, true},
      {VK_LEFT, &root_, false}, {VK_END, &second, false}, {VK_HOME, &root_, false}, {VK_ADD, &root_, true},
      {VK_NEXT, &second, true}, {VK_PRIOR, &root_, true}, {VK_SUBTRACT, &root_, false}, {VK_ADD, &root_, true},
  };
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(i++);
    key(s.key);
    EXPECT_EQ(caret(), *s.caret);
    EXPECT_EQ(expanded(root_), s.rootOpen);
  }
  for (const Note& n : take()) EXPECT_TRUE(n.code != TVN_SELCHANGEDW || n.action == TVC_BYKEYBOARD);

  tap(labelPoint(b_));
  EXPECT_EQ(take(), Notes{note(NM_CLICK)} + selection(TVC_BYMOUSE, root_, b_));
  tap(labelPoint(c_));
  EXPECT_EQ(take(), Notes{note(NM_CLICK)} + selection(TVC_BYMOUSE, b_, c_));
  // Tapped again at once, a double tap: a leaf stays, a parent toggles.
  tap(labelPoint(c_));
  EXPECT_EQ(take(), Notes{note(NM_DBLCLK)});
  EXPECT_EQ(caret(), c_);
  tap(labelPoint(root_));
  take();
  tap(labelPoint(root_));
  EXPECT_EQ(take(), Notes{note(NM_DBLCLK)} + expansion(TVE_COLLAPSE, root_));
  EXPECT_FALSE(expanded(root_));
  // Below the items a tap selects nothing.
  RECT client{};
  GetClientRect(tree_, &client);
  POINT below{20, client.bottom - 3};
  ClientToScreen(tree_, &below);
  tap(below);
  EXPECT_EQ(take(), Notes{note(NM_CLICK)});
  EXPECT_EQ(caret(), root_);
}

TEST_F(TreeViewTest, TheViewFollowsTheSelectionAndTheScrollBar) {
  makeTree();
  std::vector<HTREEITEM> items;
  for (int i = 0; i < 30; ++i) items.push_back(insert(TVI_ROOT, u"Database", i));
  pump();
  ASSERT_TRUE(GetWindowLongW(tree_, GWL_STYLE) & WS_VSCROLL);
  const int rows = static_cast<int>(SendMessageW(tree_, TVM_GETVISIBLECOUNT, 0, 0));
  auto topIndex = [&] {
    const int index = static_cast<int>(data(next(TVGN_FIRSTVISIBLE)));
    EXPECT_EQ(GetScrollPos(tree_, SB_VERT), index);
    return index;
  };
  // The selection is brought into view, on the last row, not further.
  send(TVM_SELECTITEM, TVGN_CARET, items.back());
  EXPECT_EQ(topIndex(), 30 - rows);
  send(TVM_ENSUREVISIBLE, 0, items[0]);
  EXPECT_EQ(topIndex(), 0);
  for (auto [code, top] : {std::pair<WPARAM, int>{SB_LINEDOWN, 1}, {SB_PAGEDOWN, rows}, {SB_BOTTOM, 30 - rows},
                            {SB_LINEDOWN, 30 - rows}, {SB_LINEUP, 29 - rows}, {SB_TOP, 0}, {SB_LINEUP, 0}}) {
    SendMessageW(tree_, WM_VSCROLL, code, 0);
    EXPECT_EQ(topIndex(), top) << code;
  }
}

uint32_t sysPixel(int index) {
  COLORREF c = GetSysColor(index);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
const display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }
uint32_t at(int x, int y) { return screen().pixel(x, y) & 0x00FFFFFF; }
int area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

template <typename Test>
int countIf(const RECT& r, Test test) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += test(at(x, y)) ? 1 : 0;
  return n;
}
int pixelsOf(const RECT& r, uint32_t color) { return countIf(r, [color](uint32_t p) { return p == color; }); }
// By brightness, so that anti-aliased glyphs count whatever their edges.
int countBrightness(const RECT& r, bool light) {
  return countIf(r, [light](uint32_t p) {
    int sum = static_cast<int>((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF));
    return light ? sum > 3 * 0xA0 : sum < 3 * 0x60;
  });
}

TEST_F(TreeViewTest, ScreenshotShowsTheSelectedNodeIconsButtonsAndDottedLines) {
  // A red icon with a transparent top row.
  kernel::Icon icon;
  icon.width = icon.height = 16;
  icon.pixels.assign(256, 0xFFFF0000);
  std::fill_n(icon.pixels.begin(), 16, 0);
  HICON red = kernel::addIcon(std::move(icon));
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  ImageList_ReplaceIcon(images, -1, red);
  // The program's tree with its icon, "Appointments" selected.
  programTree();
  SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  send(TVM_SELECTITEM, TVGN_CARET, b_);

  SetFocus(tree_);
  pump();

  // The selected label is lit, its text in the (light) highlight text colour.
  RECT selected = labelRect(b_), plain = labelRect(a_);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_HIGHLIGHT)), area(selected) / 2);
  EXPECT_GT(countBrightness(selected, true), 10);
  EXPECT_EQ(pixelsOf(plain, sysPixel(COLOR_HIGHLIGHT)), 0);
  EXPECT_GT(countBrightness(plain, false), 10);
  EXPECT_GT(pixelsOf(plain, sysPixel(COLOR_WINDOW)), area(plain) / 2);

  // The icon just left of the label: red, its transparent top row showing the window.
  int iconLeft = plain.left - 17, iconTop = (plain.top + plain.bottom) / 2 - 8;
  EXPECT_EQ(at(iconLeft + 8, iconTop + 8), 0xFF0000u);
  EXPECT_EQ(at(iconLeft + 8, iconTop), sysPixel(COLOR_WINDOW));

  // The root's button: a framed box with a minus (it is open), then a plus.
  RECT root = labelRect(root_);
  int indent = static_cast<int>(SendMessageW(tree_, TVM_GETINDENT, 0, 0));
  int cx = indent / 2, cy = (root.top + root.bottom) / 2;
  EXPECT_EQ(at(cx - 4, cy), sysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(at(cx + 4, cy - 4), sysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(at(cx - 2, cy), sysPixel(COLOR_WINDOWTEXT));
  EXPECT_EQ(at(cx, cy - 2), sysPixel(COLOR_WINDOW));
  // The children's line down the second indentation level, every other pixel.
  int lineX = indent + indent / 2;
  RECT line{lineX, plain.top, lineX + 1, selected.bottom};
  int dots = pixelsOf(line, sysPixel(COLOR_BTNSHADOW));
  EXPECT_GE(dots, area(line) / 2 - 1);
  EXPECT_LE(dots, area(line) / 2 + 1);

  // Without the focus the selection stays visible, grey.
  SetFocus(parent_);
  pump();
  EXPECT_EQ(pixelsOf(selected, sysPixel(COLOR_HIGHLIGHT)), 0);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_BTNFACE)), area(selected) / 2);
  send(TVM_EXPAND, TVE_COLLAPSE, root_);
  pump();
  EXPECT_EQ(at(cx, cy - 2), sysPixel(COLOR_WINDOWTEXT)) << "a plus when closed";

  DestroyWindow(tree_);
  ImageList_Destroy(images);
  DestroyIcon(red);
}

}  // namespace
}  // namespace treetest
