#include "TreeHarness.h"

#include <cstring>
#include <utility>

#include "device/Device.h"

namespace treetest {

namespace {

std::vector<Note> notes;

bool carriesItems(UINT code) {
  return code == TVN_SELCHANGINGW || code == TVN_SELCHANGEDW || code == TVN_ITEMEXPANDINGW ||
         code == TVN_ITEMEXPANDEDW || code == TVN_DELETEITEMW;
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_NOTIFY) return DefWindowProcW(hwnd, msg, wParam, lParam);
  const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
  // The tree tells who it is: its window and its id, also in wParam.
  EXPECT_EQ(wParam, header.idFrom);
  EXPECT_EQ(static_cast<int>(header.idFrom), GetDlgCtrlID(header.hwndFrom));
  Note n;
  n.code = header.code;
  if (carriesItems(header.code)) {
    const auto& tv = *reinterpret_cast<const NMTREEVIEWW*>(lParam);
    n = {header.code, tv.action, tv.itemOld.hItem, tv.itemNew.hItem, tv.itemOld.lParam, tv.itemNew.lParam};
  }
  if (header.code != TVN_GETDISPINFOW) notes.push_back(n);
  return 0;
}

}  // namespace

bool operator==(const Note& a, const Note& b) {
  return a.code == b.code && a.action == b.action && a.oldItem == b.oldItem && a.newItem == b.newItem;
}

void PrintTo(const Note& n, std::ostream* out) {
  *out << "code=" << static_cast<int>(n.code) << " action=" << n.action << " old=" << n.oldItem << " new=" << n.newItem;
}

Note note(UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem) { return {code, action, oldItem, newItem, 0, 0}; }

Notes operator+(Notes a, const Notes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
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

void TreeTest::SetUp() {
  device::Device::instance().configure(device::Options{}, nullptr);
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&init));
  WNDCLASSW wc{};
  wc.lpfnWndProc = parentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"TreeTestParent";
  RegisterClassW(&wc);  // already there from an earlier test: fine
  parent_ = CreateWindowExW(0, wc.lpszClassName, u"parent", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(parent_, nullptr);
  notes.clear();
}

void TreeTest::TearDown() {
  ctltest::cleanUp();
  notes.clear();
}

HWND TreeTest::makeTree(DWORD style) {
  if (tree_) DestroyWindow(tree_);
  tree_ = CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 240, 130, parent_,
                          reinterpret_cast<HMENU>(static_cast<intptr_t>(kTreeId)), GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(tree_, nullptr);
  notes.clear();
  return tree_;
}

void TreeTest::programTree(DWORD style) {
  makeTree(style);
  root_ = insert(TVI_ROOT, u"Databases", -1);
  a_ = insert(root_, u"Contacts", 1);
  b_ = insert(root_, u"Appointments", 2);
  c_ = insert(root_, u"Tasks", 3);
  take();
}

HTREEITEM TreeTest::insert(HTREEITEM parent, const char16_t* text, LPARAM data, HTREEITEM after) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<LPWSTR>(text);
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::vector<Note> TreeTest::take() {
  return std::exchange(notes, {});
}

LRESULT TreeTest::send(UINT msg, WPARAM wParam, HTREEITEM item) const {
  return SendMessageW(tree_, msg, wParam, reinterpret_cast<LPARAM>(item));
}

HTREEITEM TreeTest::next(UINT code, HTREEITEM item) const {
  return reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, code, item));
}

TVITEMW TreeTest::get(HTREEITEM item, UINT mask) const {
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

std::u16string TreeTest::text(HTREEITEM item) const { return get(item, TVIF_TEXT).pszText; }

RECT TreeTest::labelRect(HTREEITEM item) const {
  RECT r{};
  std::memcpy(&r, &item, sizeof item);
  if (!SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) ADD_FAILURE() << "no rectangle";
  return r;
}

POINT TreeTest::labelPoint(HTREEITEM item) const {
  RECT r = labelRect(item);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tree_, &p);
  return p;
}

}  // namespace treetest
