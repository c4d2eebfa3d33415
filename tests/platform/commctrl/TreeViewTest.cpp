// The tree view driven by its messages, as a program drives it: items in
// order, selection and expansion with their notifications, deletion, item
// data and texts.
#include <algorithm>
#include <cstring>

#include "TreeHarness.h"

namespace treetest {
namespace {

class TreeViewTest : public TreeTest {
 protected:
  std::vector<std::u16string> children(HTREEITEM parent) {
    std::vector<std::u16string> out;
    for (HTREEITEM c = next(TVGN_CHILD, parent); c; c = next(TVGN_NEXT, c)) out.push_back(text(c));
    return out;
  }
  // Sibling order read backwards must agree with the forward order.
  std::vector<std::u16string> childrenBackwards(HTREEITEM parent) {
    HTREEITEM last = nullptr;
    for (HTREEITEM c = next(TVGN_CHILD, parent); c; c = next(TVGN_NEXT, c)) last = c;
    std::vector<std::u16string> out;
    for (HTREEITEM c = last; c; c = next(TVGN_PREVIOUS, c)) out.insert(out.begin(), text(c));
    return out;
  }
  // The program's tree: "Databases" with three databases below it.
  void programTree() {
    makeTree();
    root_ = insert(TVI_ROOT, u"Databases", -1);
    a_ = insert(root_, u"Contacts", 0x1001);
    b_ = insert(root_, u"Appointments", 0x1002);
    c_ = insert(root_, u"Tasks", 0x1003);
    take();
  }
  HTREEITEM root_ = nullptr, a_ = nullptr, b_ = nullptr, c_ = nullptr;
};

TEST_F(TreeViewTest, ClassIsGlobalAndCanBeSuperclassed) {
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(nullptr, WC_TREEVIEWW, &wc));
  ASSERT_NE(wc.lpfnWndProc, nullptr);
  // A superclass forwards everything, creation included, to the tree's procedure.
  static WNDPROC base = wc.lpfnWndProc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return CallWindowProcW(base, h, m, w, l); };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = u"TreeTestSuper";
  RegisterClassW(&wc);
  tree_ = CreateWindowExW(0, u"TreeTestSuper", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent_,
                          reinterpret_cast<HMENU>(static_cast<intptr_t>(kTreeId)), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tree_, nullptr);
  HTREEITEM item = insert(TVI_ROOT, u"one", 7);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(text(item), u"one");
  EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 1);
}

TEST_F(TreeViewTest, InsertsUnderTheRootInOrder) {
  makeTree();
  HTREEITEM b = insert(TVI_ROOT, u"b");
  HTREEITEM d = insert(TVI_ROOT, u"d");
  insert(TVI_ROOT, u"a", 0, TVI_FIRST);
  insert(TVI_ROOT, u"c", 0, b);  // after a sibling
  insert(TVI_ROOT, u"e", 0, TVI_LAST);
  insert(nullptr, u"f");  // no parent: the root
  std::vector<std::u16string> expected = {u"a", u"b", u"c", u"d", u"e", u"f"};
  EXPECT_EQ(children(TVI_ROOT), expected);
  EXPECT_EQ(childrenBackwards(TVI_ROOT), expected);
  EXPECT_EQ(text(next(TVGN_ROOT)), u"a");
  EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(next(TVGN_PARENT, d), nullptr);
  // Inserting makes no selection and notifies nothing.
  EXPECT_EQ(caret(), nullptr);
  EXPECT_TRUE(sameNotes({}, take()));
}

TEST_F(TreeViewTest, InsertsChildrenSortedAndRefusesStrangers) {
  makeTree();
  HTREEITEM top = insert(TVI_ROOT, u"top");
  HTREEITEM other = insert(TVI_ROOT, u"other");
  for (const char16_t* t : {u"pear", u"Apple", u"fig", u"apricot"}) ASSERT_NE(insert(top, t, 0, TVI_SORT), nullptr);
  EXPECT_EQ(children(top), (std::vector<std::u16string>{u"Apple", u"apricot", u"fig", u"pear"}));
  HTREEITEM fig = next(TVGN_NEXT, next(TVGN_NEXT, next(TVGN_CHILD, top)));
  EXPECT_EQ(next(TVGN_PARENT, fig), top);

  // After an item that is no child of the parent, under a deleted parent,
  // under a handle that never was: refused.
  EXPECT_EQ(insert(top, u"x", 0, other), nullptr);
  HTREEITEM gone = insert(TVI_ROOT, u"gone");
  SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(gone));
  EXPECT_EQ(insert(gone, u"x"), nullptr);
  EXPECT_EQ(insert(reinterpret_cast<HTREEITEM>(uintptr_t{0x7777777}), u"x"), nullptr);
  EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 6);
}

TEST_F(TreeViewTest, HandlesOfAnotherTreeOrDeletedItemsAreRefused) {
  makeTree();
  HTREEITEM mine = insert(TVI_ROOT, u"mine");
  HWND first = tree_;
  tree_ = nullptr;
  makeTree();
  HWND second = tree_;
  HTREEITEM theirs = insert(TVI_ROOT, u"theirs");
  TVITEMW tv{};
  tv.mask = TVIF_HANDLE | TVIF_PARAM;
  tv.hItem = mine;
  EXPECT_FALSE(SendMessageW(second, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_FALSE(SendMessageW(second, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(mine)));
  EXPECT_FALSE(SendMessageW(second, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(mine)));
  EXPECT_EQ(SendMessageW(second, TVM_GETCOUNT, 0, 0), 1);
  EXPECT_TRUE(SendMessageW(second, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(theirs)));
  tv.hItem = theirs;
  EXPECT_FALSE(SendMessageW(second, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_FALSE(SendMessageW(second, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_EQ(next(TVGN_NEXT, theirs), nullptr);
  DestroyWindow(first);
}

TEST_F(TreeViewTest, SelectingByMessageNotifiesUnknownAndExpandsTheParent) {
  programTree();
  ASSERT_FALSE(expanded(root_));
  EXPECT_TRUE(SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a_)));
  std::vector<Note> got = take();
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_UNKNOWN, nullptr, a_), note(TVN_SELCHANGEDW, TVC_UNKNOWN, nullptr, a_),
                         note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        got));
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[1].newData, 0x1001);
  EXPECT_EQ(caret(), a_);
  EXPECT_TRUE(expanded(root_));
  EXPECT_TRUE(state(a_) & TVIS_SELECTED);

  // The same item again changes nothing and says nothing.
  EXPECT_TRUE(SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a_)));
  EXPECT_TRUE(sameNotes({}, take()));

  // Another item: old and new both named; the root is already open.
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(c_));
  got = take();
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_UNKNOWN, a_, c_), note(TVN_SELCHANGEDW, TVC_UNKNOWN, a_, c_)}, got));
  EXPECT_EQ(got[1].oldData, 0x1001);
  EXPECT_FALSE(state(a_) & TVIS_SELECTED);
}

TEST_F(TreeViewTest, ParentCanRefuseASelectionChange) {
  programTree();
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a_));
  take();
  answer(TVN_SELCHANGINGW, [](const NMHDR&) { return TRUE; });
  EXPECT_FALSE(SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b_)));
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_UNKNOWN, a_, b_)}, take()));
  EXPECT_EQ(caret(), a_);
}

TEST_F(TreeViewTest, ParentDeletingTheTargetWhileAskedLeavesSelectionAlone) {
  programTree();
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a_));
  take();
  HWND tree = tree_;
  HTREEITEM victim = b_;
  answer(TVN_SELCHANGINGW, [tree, victim](const NMHDR&) {
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(victim));
    return FALSE;
  });
  EXPECT_FALSE(SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b_)));
  EXPECT_EQ(caret(), a_);
  EXPECT_EQ(children(root_), (std::vector<std::u16string>{u"Contacts", u"Tasks"}));
}

TEST_F(TreeViewTest, ExpandByMessageNotifiesOnlyUntilExpandedOnce) {
  programTree();
  EXPECT_TRUE(SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_)));
  EXPECT_TRUE(sameNotes({note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        take()));
  EXPECT_TRUE(state(root_) & TVIS_EXPANDEDONCE);
  // Expanding an open item succeeds quietly.
  EXPECT_TRUE(SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_)));
  EXPECT_TRUE(SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root_)));
  EXPECT_FALSE(expanded(root_));
  EXPECT_FALSE(SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root_)));
  EXPECT_TRUE(SendMessageW(tree_, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(root_)));
  EXPECT_TRUE(expanded(root_));
  EXPECT_TRUE(sameNotes({}, take()));
  // An item without children cannot be expanded.
  EXPECT_FALSE(SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a_)));
  // Collapse with reset removes the children and notifies again next time.
  EXPECT_TRUE(SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(root_)));
  EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, a_, nullptr), note(TVN_DELETEITEMW, 0, b_, nullptr),
                         note(TVN_DELETEITEMW, 0, c_, nullptr)},
                        take()));
  EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 1);
  EXPECT_FALSE(state(root_) & TVIS_EXPANDEDONCE);
}

TEST_F(TreeViewTest, ParentCanRefuseAnExpansion) {
  programTree();
  answer(TVN_ITEMEXPANDINGW, [](const NMHDR&) { return TRUE; });
  EXPECT_FALSE(SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_)));
  EXPECT_TRUE(sameNotes({note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_)}, take()));
  EXPECT_FALSE(expanded(root_));
}

TEST_F(TreeViewTest, CollapsingMovesAHiddenSelectionToTheCollapsedItem) {
  programTree();
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b_));
  SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root_));
  EXPECT_EQ(caret(), root_);
}

TEST_F(TreeViewTest, DeletingSelectedNodeSelectsNeighbour) {
  struct Case {
    const char* name;
    int deleted;   // index among the three children; 3: the only child of a second parent
    int expected;  // index of the new selection; -1: the root node
  } cases[] = {
      {"next sibling", 1, 2},
      {"previous sibling when last", 2, 1},
      {"parent when alone", 3, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    programTree();
    HTREEITEM lone = insert(TVI_ROOT, u"Other");
    HTREEITEM only = insert(lone, u"Only child", 0x2001);
    take();
    HTREEITEM items[] = {a_, b_, c_, only};
    HTREEITEM victim = items[c.deleted];
    HTREEITEM heir = c.expected == -2 ? lone : items[c.expected];
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(victim));
    take();
    EXPECT_TRUE(SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(victim)));
    EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, victim, nullptr), note(TVN_SELCHANGINGW, TVC_UNKNOWN, nullptr, heir),
                           note(TVN_SELCHANGEDW, TVC_UNKNOWN, nullptr, heir)},
                          take()));
    EXPECT_EQ(caret(), heir);
  }
}

TEST_F(TreeViewTest, DeletingAParentOfTheSelectionNotifiesEveryItemAndSelectsItsNeighbour) {
  programTree();
  HTREEITEM second = insert(TVI_ROOT, u"Second", 5);
  HTREEITEM grandchild = insert(b_, u"Deep", 6);
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(grandchild));
  take();
  EXPECT_TRUE(SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(root_)));
  std::vector<Note> got = take();
  EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, root_, nullptr), note(TVN_DELETEITEMW, 0, a_, nullptr),
                         note(TVN_DELETEITEMW, 0, b_, nullptr), note(TVN_DELETEITEMW, 0, grandchild, nullptr),
                         note(TVN_DELETEITEMW, 0, c_, nullptr), note(TVN_SELCHANGINGW, TVC_UNKNOWN, nullptr, second),
                         note(TVN_SELCHANGEDW, TVC_UNKNOWN, nullptr, second)},
                        got));
  // Each deletion carries the item's data for the parent to release.
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0].oldData, -1);
  EXPECT_EQ(got[3].oldData, 6);
  EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 1);
}

TEST_F(TreeViewTest, DeletingTheRootEmptiesTheTree) {
  for (HTREEITEM all : {TVI_ROOT, static_cast<HTREEITEM>(nullptr)}) {
    programTree();
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b_));
    take();
    EXPECT_TRUE(SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(all)));
    EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, root_, nullptr), note(TVN_DELETEITEMW, 0, a_, nullptr),
                           note(TVN_DELETEITEMW, 0, b_, nullptr), note(TVN_DELETEITEMW, 0, c_, nullptr)},
                          take()));
    EXPECT_EQ(SendMessageW(tree_, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(next(TVGN_ROOT), nullptr);
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(next(TVGN_FIRSTVISIBLE), nullptr);
    // The tree is usable again at once.
    HTREEITEM fresh = insert(TVI_ROOT, u"Databases", -1);
    EXPECT_EQ(next(TVGN_ROOT), fresh);
  }
}

TEST_F(TreeViewTest, DestroyingTheTreeReportsEveryItemDeleted) {
  programTree();
  DestroyWindow(tree_);
  tree_ = nullptr;
  EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, root_, nullptr), note(TVN_DELETEITEMW, 0, a_, nullptr),
                         note(TVN_DELETEITEMW, 0, b_, nullptr), note(TVN_DELETEITEMW, 0, c_, nullptr)},
                        take()));
}

TEST_F(TreeViewTest, ItemDataRoundTrips) {
  makeTree();
  const LPARAM values[] = {-1, 0, 0x1001, 0x7FFFFFFF, static_cast<LPARAM>(0x80000001u), static_cast<LPARAM>(0xFFFFFFFEu),
                           static_cast<LPARAM>(0x123456789ABCDEF0ll)};
  for (LPARAM v : values) {
    SCOPED_TRACE(v);
    HTREEITEM item = insert(TVI_ROOT, u"x", v);
    EXPECT_EQ(data(item), v);
    // A database identifier read back into 32 bits is the identifier again.
    EXPECT_EQ(static_cast<uint32_t>(data(item)), static_cast<uint32_t>(v));
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_PARAM;
    tv.hItem = item;
    tv.lParam = ~v;
    EXPECT_TRUE(SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_EQ(data(item), ~v);
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    std::vector<Note> got = take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().newData, ~v);
  }
}

TEST_F(TreeViewTest, TextLongerThanTheBufferIsCutAndTerminated) {
  makeTree();
  const std::u16string name = u"A database name of forty-one characters!!";
  HTREEITEM item = insert(TVI_ROOT, name.c_str());
  struct Case {
    int capacity;
    std::u16string expected;
  } cases[] = {
      {1, u""},
      {2, u"A"},
      {32, name.substr(0, 31)},
      {static_cast<int>(name.size()), name.substr(0, name.size() - 1)},
      {static_cast<int>(name.size()) + 1, name},
      {100, name},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    std::vector<WCHAR> buffer(static_cast<size_t>(c.capacity) + 4, u'#');
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer.data();
    tv.cchTextMax = c.capacity;
    ASSERT_TRUE(SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
    EXPECT_EQ(std::u16string(buffer.data()), c.expected);
    // Nothing lands beyond the capacity given.
    for (size_t i = static_cast<size_t>(c.capacity); i < buffer.size(); ++i) EXPECT_EQ(buffer[i], u'#') << i;
  }
  // No capacity: nothing is written at all.
  WCHAR untouched[2] = {u'#', u'#'};
  TVITEMW tv{};
  tv.mask = TVIF_HANDLE | TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = untouched;
  tv.cchTextMax = 0;
  SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  EXPECT_EQ(untouched[0], u'#');
}

TEST_F(TreeViewTest, SetItemChangesTextImagesChildrenAndState) {
  makeTree();
  HTREEITEM item = insert(TVI_ROOT, u"before");
  TVITEMW tv{};
  tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
  tv.hItem = item;
  tv.pszText = const_cast<LPWSTR>(u"after");
  tv.iImage = 3;
  tv.iSelectedImage = 4;
  tv.cChildren = 1;
  tv.state = TVIS_BOLD | TVIS_SELECTED;
  tv.stateMask = TVIS_BOLD | TVIS_SELECTED;
  ASSERT_TRUE(SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_EQ(text(item), u"after");
  TVITEMW out{};
  out.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
  out.hItem = item;
  out.stateMask = 0xFFFF;
  ASSERT_TRUE(SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&out)));
  EXPECT_EQ(out.iImage, 3);
  EXPECT_EQ(out.iSelectedImage, 4);
  EXPECT_EQ(out.cChildren, 1);
  // The selection is the caret's alone: setting the state bit selects nothing.
  EXPECT_EQ(out.state, static_cast<UINT>(TVIS_BOLD));
  EXPECT_EQ(caret(), nullptr);
}

TEST_F(TreeViewTest, ChildrenFlagFollowsTheChildrenUnlessGiven) {
  makeTree();
  HTREEITEM parent = insert(TVI_ROOT, u"parent");
  auto children = [&](HTREEITEM item) {
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tv.hItem = item;
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.cChildren;
  };
  EXPECT_EQ(children(parent), 0);
  HTREEITEM child = insert(parent, u"child");
  EXPECT_EQ(children(parent), 1);
  SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
  EXPECT_EQ(children(parent), 0);
  // As the program inserts a database: children 0 given.
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPWSTR>(u"db");
  insert.item.cChildren = 0;
  insert.item.lParam = 42;
  auto db = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  EXPECT_EQ(children(db), 0);
  EXPECT_FALSE(SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(db)));
}

TEST_F(TreeViewTest, NextItemWalksFamilyAndVisibleOrder) {
  programTree();
  HTREEITEM deep = insert(b_, u"Deep");
  HTREEITEM second = insert(TVI_ROOT, u"Second");
  // Collapsed: the root's children are not visible.
  EXPECT_EQ(next(TVGN_NEXTVISIBLE, root_), second);
  EXPECT_EQ(next(TVGN_NEXTVISIBLE, a_), nullptr);
  EXPECT_EQ(next(TVGN_LASTVISIBLE), second);
  SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
  SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(b_));
  std::vector<HTREEITEM> order;
  for (HTREEITEM i = next(TVGN_FIRSTVISIBLE); i; i = next(TVGN_NEXTVISIBLE, i)) order.push_back(i);
  EXPECT_EQ(order, (std::vector<HTREEITEM>{root_, a_, b_, deep, c_, second}));
  std::vector<HTREEITEM> back;
  for (HTREEITEM i = next(TVGN_LASTVISIBLE); i; i = next(TVGN_PREVIOUSVISIBLE, i)) back.insert(back.begin(), i);
  EXPECT_EQ(back, order);
  EXPECT_EQ(next(TVGN_PARENT, deep), b_);
  EXPECT_EQ(next(TVGN_CHILD, b_), deep);
  EXPECT_EQ(next(TVGN_CHILD, a_), nullptr);
  EXPECT_EQ(next(TVGN_CHILD, TVI_ROOT), root_);
  EXPECT_EQ(next(TVGN_PREVIOUS, a_), nullptr);
}

TEST_F(TreeViewTest, TextsFromTheParentWhenAskedFor) {
  makeTree();
  answer(TVN_GETDISPINFOW, [](const NMHDR& h) {
    auto& info = const_cast<NMTVDISPINFOW&>(reinterpret_cast<const NMTVDISPINFOW&>(h));
    if (info.item.mask & TVIF_TEXT) {
      const char16_t text[] = u"from the parent";
      int n = std::min<int>(info.item.cchTextMax - 1, 15);
      std::memcpy(info.item.pszText, text, static_cast<size_t>(n) * sizeof(WCHAR));
      info.item.pszText[n] = 0;
    }
    return 0;
  });
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = LPSTR_TEXTCALLBACKW;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(text(item), u"from the parent");
}

TEST_F(TreeViewTest, FontRoundTripsAndNoneMeansTheSystemFont) {
  makeTree();
  EXPECT_EQ(SendMessageW(tree_, WM_GETFONT, 0, 0), 0);
  LOGFONTW lf{};
  lf.lfHeight = -24;
  HFONT big = CreateFontIndirectW(&lf);
  int before = static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0));
  SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(tree_, WM_GETFONT, 0, 0)), big);
  // Rows grow with a larger font.
  EXPECT_GT(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  SendMessageW(tree_, WM_SETFONT, 0, TRUE);
  EXPECT_EQ(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  DestroyWindow(tree_);
  tree_ = nullptr;
  DeleteObject(big);
}

TEST_F(TreeViewTest, ImageListsAreKeptPerKind) {
  makeTree();
  HIMAGELIST normal = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  HIMAGELIST states = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  EXPECT_EQ(SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(normal)), 0);
  EXPECT_EQ(SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(states)), 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tree_, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), normal);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tree_, TVM_GETIMAGELIST, TVSIL_STATE, 0)), states);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, 0)), normal);
  ImageList_Destroy(normal);
  ImageList_Destroy(states);
}

}  // namespace
}  // namespace treetest
