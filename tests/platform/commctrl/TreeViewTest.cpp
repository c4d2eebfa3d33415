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
  // The children's texts, read forwards; read backwards they must agree.
  std::vector<std::u16string> children(HTREEITEM parent) {
    std::vector<std::u16string> out;
    HTREEITEM last = nullptr;
    for (HTREEITEM c = next(TVGN_CHILD, parent); c; c = next(TVGN_NEXT, c)) out.push_back(text(last = c));
    std::vector<std::u16string> back;
    for (HTREEITEM c = last; c; c = next(TVGN_PREVIOUS, c)) back.insert(back.begin(), text(c));
    EXPECT_EQ(back, out) << "backwards";
    return out;
  }
};

TEST_F(TreeViewTest, ASuperclassOfTheTreeWorksLikeTheTree) {
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(nullptr, WC_TREEVIEWW, &wc));
  // A superclass forwards everything, creation included, to the tree's procedure.
  static WNDPROC base = wc.lpfnWndProc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return CallWindowProcW(base, h, m, w, l); };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = u"TreeTestSuper";
  RegisterClassW(&wc);
  tree_ = CreateWindowExW(0, u"TreeTestSuper", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent_,
                          reinterpret_cast<HMENU>(static_cast<intptr_t>(kTreeId)), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tree_, nullptr);
  EXPECT_EQ(text(insert(TVI_ROOT, u"one", 7)), u"one");
  EXPECT_EQ(count(), 1);
}

TEST_F(TreeViewTest, InsertsUnderTheRootInOrder) {
  makeTree();
  HTREEITEM b = insert(TVI_ROOT, u"b");
  HTREEITEM d = insert(TVI_ROOT, u"d");
  insert(TVI_ROOT, u"a", 0, TVI_FIRST);
  insert(TVI_ROOT, u"c", 0, b);  // after a sibling
  insert(TVI_ROOT, u"e", 0, TVI_LAST);
  insert(nullptr, u"f");  // no parent: the root
  EXPECT_EQ(children(TVI_ROOT), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"f"}));
  EXPECT_EQ(text(next(TVGN_ROOT)), u"a");
  EXPECT_EQ(count(), 6);
  EXPECT_EQ(next(TVGN_PARENT, d), nullptr);
  // Inserting makes no selection and notifies nothing.
  EXPECT_EQ(caret(), nullptr);
  EXPECT_TRUE(sameNotes({}, take()));
}

TEST_F(TreeViewTest, InsertsChildrenSortedAndRefusesForeignAndStaleHandles) {
  makeTree();
  HTREEITEM top = insert(TVI_ROOT, u"top");
  HTREEITEM other = insert(TVI_ROOT, u"other");
  for (const char16_t* t : {u"pear", u"Apple", u"fig", u"apricot"}) ASSERT_NE(insert(top, t, 0, TVI_SORT), nullptr);
  EXPECT_EQ(children(top), (std::vector<std::u16string>{u"Apple", u"apricot", u"fig", u"pear"}));

  // After an item that is no child of the parent, under a deleted parent,
  // under a handle that never was: refused.
  EXPECT_EQ(insert(top, u"x", 0, other), nullptr);
  HTREEITEM gone = insert(TVI_ROOT, u"gone");
  send(TVM_DELETEITEM, 0, gone);
  EXPECT_EQ(insert(gone, u"x"), nullptr);
  EXPECT_EQ(insert(reinterpret_cast<HTREEITEM>(uintptr_t{0x7777777}), u"x"), nullptr);
  EXPECT_EQ(count(), 6);

  // An item of another tree, or one deleted, is no item of this one.
  HTREEITEM mine = top;
  tree_ = nullptr;
  makeTree();
  HTREEITEM theirs = insert(TVI_ROOT, u"theirs");
  EXPECT_EQ(text(mine), u"<no item>");
  EXPECT_FALSE(send(TVM_SELECTITEM, TVGN_CARET, mine));
  EXPECT_FALSE(send(TVM_DELETEITEM, 0, mine));
  EXPECT_TRUE(send(TVM_DELETEITEM, 0, theirs));
  EXPECT_EQ(text(theirs), u"<no item>");
  EXPECT_EQ(next(TVGN_NEXT, theirs), nullptr);
}

TEST_F(TreeViewTest, SelectingByMessageNotifiesUnknownAndExpandsTheParent) {
  programTree();
  EXPECT_TRUE(send(TVM_SELECTITEM, TVGN_CARET, a_));
  std::vector<Note> got = take();
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_UNKNOWN, nullptr, a_), note(TVN_SELCHANGEDW, TVC_UNKNOWN, nullptr, a_),
                         note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        got));
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[1].newData, 1);
  EXPECT_EQ(caret(), a_);
  EXPECT_TRUE(expanded(root_));
  EXPECT_TRUE(state(a_) & TVIS_SELECTED);

  // The same item again changes nothing and says nothing.
  EXPECT_TRUE(send(TVM_SELECTITEM, TVGN_CARET, a_));
  EXPECT_TRUE(sameNotes({}, take()));

  // Another item: old and new both named; the root is already open.
  send(TVM_SELECTITEM, TVGN_CARET, c_);
  got = take();
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_UNKNOWN, a_, c_), note(TVN_SELCHANGEDW, TVC_UNKNOWN, a_, c_)}, got));
  EXPECT_EQ(got[1].oldData, 1);
  EXPECT_FALSE(state(a_) & TVIS_SELECTED);
}

TEST_F(TreeViewTest, ParentCanRefuseASelectionChangeOrDeleteTheTargetWhileAsked) {
  programTree();
  send(TVM_SELECTITEM, TVGN_CARET, a_);
  take();
  answer(TVN_SELCHANGINGW, [](const NMHDR&) { return TRUE; });
  EXPECT_FALSE(send(TVM_SELECTITEM, TVGN_CARET, b_));
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_UNKNOWN, a_, b_)}, take()));
  EXPECT_EQ(caret(), a_);

  HWND tree = tree_;
  HTREEITEM victim = b_;
  answer(TVN_SELCHANGINGW, [tree, victim](const NMHDR&) {
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(victim));
    return FALSE;
  });
  EXPECT_FALSE(send(TVM_SELECTITEM, TVGN_CARET, b_));
  EXPECT_EQ(caret(), a_);
  EXPECT_EQ(children(root_), (std::vector<std::u16string>{u"Contacts", u"Tasks"}));
}

TEST_F(TreeViewTest, ExpandByMessageNotifiesOnlyUntilExpandedOnce) {
  programTree();
  answer(TVN_ITEMEXPANDINGW, [](const NMHDR&) { return TRUE; });
  EXPECT_FALSE(send(TVM_EXPAND, TVE_EXPAND, root_)) << "the parent may refuse";
  EXPECT_TRUE(sameNotes({note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_)}, take()));
  EXPECT_FALSE(expanded(root_));
  answer(TVN_ITEMEXPANDINGW, [](const NMHDR&) { return FALSE; });

  EXPECT_TRUE(send(TVM_EXPAND, TVE_EXPAND, root_));
  EXPECT_TRUE(sameNotes({note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        take()));
  EXPECT_TRUE(state(root_) & TVIS_EXPANDEDONCE);
  // Expanding an open item succeeds quietly.
  EXPECT_TRUE(send(TVM_EXPAND, TVE_EXPAND, root_));
  EXPECT_TRUE(send(TVM_EXPAND, TVE_COLLAPSE, root_));
  EXPECT_FALSE(expanded(root_));
  EXPECT_FALSE(send(TVM_EXPAND, TVE_COLLAPSE, root_));
  EXPECT_TRUE(send(TVM_EXPAND, TVE_TOGGLE, root_));
  EXPECT_TRUE(expanded(root_));
  EXPECT_TRUE(sameNotes({}, take()));
  // An item without children cannot be expanded.
  EXPECT_FALSE(send(TVM_EXPAND, TVE_EXPAND, a_));

  // Collapsing hides the selection: it moves to the collapsed item, and
  // the hidden item has no rectangle.
  send(TVM_SELECTITEM, TVGN_CARET, b_);
  send(TVM_EXPAND, TVE_COLLAPSE, root_);
  EXPECT_EQ(caret(), root_);
  RECT hidden{};
  std::memcpy(&hidden, &b_, sizeof b_);
  EXPECT_FALSE(SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&hidden)));
  take();

  // Collapse with reset removes the children and notifies again next time.
  EXPECT_TRUE(send(TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, root_));
  EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, a_, nullptr), note(TVN_DELETEITEMW, 0, b_, nullptr),
                         note(TVN_DELETEITEMW, 0, c_, nullptr)},
                        take()));
  EXPECT_EQ(count(), 1);
  EXPECT_FALSE(state(root_) & TVIS_EXPANDEDONCE);
}

TEST_F(TreeViewTest, DeletingSelectedNodeSelectsNeighbour) {
  struct Case {
    const char* name;
    int deleted;   // index among the three children; 3: the only child of a second parent
    int expected;  // index of the new selection; -2: that second parent
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
    HTREEITEM items[] = {a_, b_, c_, only};
    HTREEITEM victim = items[c.deleted];
    HTREEITEM heir = c.expected == -2 ? lone : items[c.expected];
    send(TVM_SELECTITEM, TVGN_CARET, victim);
    take();
    EXPECT_TRUE(send(TVM_DELETEITEM, 0, victim));
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
  send(TVM_SELECTITEM, TVGN_CARET, grandchild);
  take();
  EXPECT_TRUE(send(TVM_DELETEITEM, 0, root_));
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
  EXPECT_EQ(count(), 1);
}

TEST_F(TreeViewTest, DeletingTheRootOrDestroyingTheTreeDeletesEveryItem) {
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
    EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, root_, nullptr), note(TVN_DELETEITEMW, 0, a_, nullptr),
                           note(TVN_DELETEITEMW, 0, b_, nullptr), note(TVN_DELETEITEMW, 0, c_, nullptr)},
                          take()));
    if (way == 2) continue;
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(next(TVGN_ROOT), nullptr);
    EXPECT_EQ(caret(), nullptr);
    EXPECT_EQ(next(TVGN_FIRSTVISIBLE), nullptr);
    // The tree is usable again at once.
    EXPECT_EQ(next(TVGN_ROOT), insert(TVI_ROOT, u"Databases", -1));
  }
}

TEST_F(TreeViewTest, ItemDataRoundTripsAsMinusOneAndAsA32BitIdentifier) {
  makeTree();
  for (LPARAM v : {LPARAM{-1}, static_cast<LPARAM>(0x80000001u), static_cast<LPARAM>(0x123456789ABCDEF0ll)}) {
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
    send(TVM_SELECTITEM, TVGN_CARET, item);
    std::vector<Note> got = take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().newData, ~v);
  }
}

TEST_F(TreeViewTest, TextLongerThanTheBufferIsCutAndTerminated) {
  makeTree();
  const std::u16string name = u"A database name of forty-one characters!!";
  HTREEITEM item = insert(TVI_ROOT, name.c_str());
  const int size = static_cast<int>(name.size());
  struct Case {
    int capacity;
    std::u16string expected;
  } cases[] = {{0, u"####"}, {1, u""}, {2, u"A"}, {size, name.substr(0, name.size() - 1)}, {size + 1, name}};
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
}

TEST_F(TreeViewTest, ChildrenFlagFollowsTheChildrenUnlessGiven) {
  makeTree();
  auto children = [&](HTREEITEM item) {
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tv.hItem = item;
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.cChildren;
  };
  // As the program inserts a database: children 0 given, and it cannot open.
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPWSTR>(u"db");
  auto db = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  EXPECT_EQ(children(db), 0);
  EXPECT_FALSE(send(TVM_EXPAND, TVE_EXPAND, db));
  // Not given, it follows the children.
  HTREEITEM parent = this->insert(TVI_ROOT, u"parent");
  send(TVM_DELETEITEM, 0, this->insert(parent, u"child"));
  EXPECT_EQ(children(parent), 0);
  this->insert(parent, u"child");
  EXPECT_EQ(children(parent), 1);
}

TEST_F(TreeViewTest, NextItemWalksFamilyAndVisibleOrder) {
  programTree();
  HTREEITEM deep = insert(b_, u"Deep");
  HTREEITEM second = insert(TVI_ROOT, u"Second");
  // Collapsed: the root's children are not visible.
  EXPECT_EQ(next(TVGN_NEXTVISIBLE, root_), second);
  EXPECT_EQ(next(TVGN_NEXTVISIBLE, a_), nullptr);
  send(TVM_EXPAND, TVE_EXPAND, root_);
  send(TVM_EXPAND, TVE_EXPAND, b_);
  std::vector<HTREEITEM> order;
  for (HTREEITEM i = next(TVGN_FIRSTVISIBLE); i; i = next(TVGN_NEXTVISIBLE, i)) order.push_back(i);
  EXPECT_EQ(order, (std::vector<HTREEITEM>{root_, a_, b_, deep, c_, second}));
  std::vector<HTREEITEM> back;
  for (HTREEITEM i = next(TVGN_LASTVISIBLE); i; i = next(TVGN_PREVIOUSVISIBLE, i)) back.insert(back.begin(), i);
  EXPECT_EQ(back, order);
  EXPECT_EQ(next(TVGN_PARENT, deep), b_);
  EXPECT_EQ(next(TVGN_CHILD, TVI_ROOT), root_);
}

TEST_F(TreeViewTest, ALargerFontMakesTallerRowsAndNoneBringsTheSystemFontBack) {
  makeTree();
  LOGFONTW lf{};
  lf.lfHeight = -24;
  HFONT big = CreateFontIndirectW(&lf);
  int before = static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0));
  SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_GT(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  SendMessageW(tree_, WM_SETFONT, 0, TRUE);
  EXPECT_EQ(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  DestroyWindow(tree_);
  tree_ = nullptr;
  DeleteObject(big);
}

}  // namespace
}  // namespace treetest
