// The tree view driven by its messages, as a program drives it: items in
// order, selection and expansion with their notifications, deletion, item
// data and texts.
#include "TreeHarness.h"

namespace treetest {
namespace {

using TreeViewTest = TreeTest;

TEST_F(TreeViewTest, InsertsUnderTheRootInOrderAndRefusesForeignAndStaleHandles) {
  makeTree();
  HTREEITEM b = insert(TVI_ROOT, u"b");
  HTREEITEM d = insert(TVI_ROOT, u"d");
  insert(TVI_ROOT, u"a", 0, TVI_FIRST);
  insert(TVI_ROOT, u"c", 0, b);  // after a sibling
  insert(TVI_ROOT, u"e", 0, TVI_LAST);
  insert(nullptr, u"f");  // no parent: the root
  // Read forwards and backwards, the children agree.
  std::u16string forwards, backwards;
  HTREEITEM last = nullptr;
  for (HTREEITEM c = next(TVGN_CHILD, TVI_ROOT); c; c = next(TVGN_NEXT, c)) forwards += text(last = c);
  for (HTREEITEM c = last; c; c = next(TVGN_PREVIOUS, c)) backwards = text(c) + backwards;
  EXPECT_EQ(forwards, u"abcdef");
  EXPECT_EQ(backwards, forwards);
  EXPECT_EQ(text(next(TVGN_ROOT)), u"a");
  EXPECT_EQ(count(), 6);
  EXPECT_EQ(next(TVGN_PARENT, d), nullptr);
  // Inserting makes no selection and notifies nothing.
  EXPECT_EQ(caret(), nullptr);
  EXPECT_TRUE(sameNotes({}, take()));

  // After an item that is no child of the parent, under a deleted parent,
  // under a handle that never was: refused.
  EXPECT_EQ(insert(b, u"x", 0, d), nullptr);
  HTREEITEM gone = insert(TVI_ROOT, u"gone");
  send(TVM_DELETEITEM, 0, gone);
  EXPECT_EQ(insert(gone, u"x"), nullptr);
  EXPECT_EQ(insert(reinterpret_cast<HTREEITEM>(uintptr_t{0x7777777}), u"x"), nullptr);
  EXPECT_EQ(count(), 6);
  // An item of another tree, or one deleted, is no item of this one.
  tree_ = nullptr;
  makeTree();
  HTREEITEM theirs = insert(TVI_ROOT, u"theirs");
  EXPECT_EQ(text(b), u"<no item>");
  EXPECT_FALSE(send(TVM_SELECTITEM, TVGN_CARET, b));
  EXPECT_FALSE(send(TVM_DELETEITEM, 0, b));
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

TEST_F(TreeViewTest, DeletingSelectedNodeSelectsNeighbour) {
  struct Case {
    const char* name;
    int deleted;   // index among the three children; 3: the only child of a second parent
    int expected;  // index of the new selection; -2: that second parent
  } cases[] = {{"next sibling", 1, 2}, {"previous sibling when last", 2, 1}, {"parent when alone", 3, -2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    programTree();
    HTREEITEM lone = insert(TVI_ROOT, u"Other");
    HTREEITEM items[] = {a_, b_, c_, insert(lone, u"Only child", 0x2001)};
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

TEST_F(TreeViewTest, DeletingTheRootOrDestroyingTheTreeDeletesEveryItem) {
  // A parent of the selection: every item below is told of, with its data
  // for the parent to release, and the neighbour takes the selection.
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
    EXPECT_TRUE(sameNotes({note(TVN_DELETEITEMW, 0, root_, nullptr), note(TVN_DELETEITEMW, 0, a_, nullptr),
                           note(TVN_DELETEITEMW, 0, b_, nullptr), note(TVN_DELETEITEMW, 0, c_, nullptr)},
                          take()));
    if (way == 2) continue;
    EXPECT_EQ(count(), 0);
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
    // The selection's notification carries it too.
    send(TVM_SELECTITEM, TVGN_CARET, item);
    std::vector<Note> got = take();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().newData, v);
  }
}

TEST_F(TreeViewTest, TextLongerThanTheBufferIsCutAndTerminated) {
  makeTree();
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
}

TEST_F(TreeViewTest, ChildrenFlagGivenAsZeroKeepsANodeClosedAndOtherwiseFollowsTheChildren) {
  makeTree();
  // As the program inserts a database: children 0 given, and it cannot open.
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPWSTR>(u"db");
  auto db = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  EXPECT_EQ(get(db, TVIF_CHILDREN).cChildren, 0);
  EXPECT_FALSE(send(TVM_EXPAND, TVE_EXPAND, db));
  HTREEITEM parent = this->insert(TVI_ROOT, u"parent");
  send(TVM_DELETEITEM, 0, this->insert(parent, u"child"));
  EXPECT_EQ(get(parent, TVIF_CHILDREN).cChildren, 0);
  this->insert(parent, u"child");
  EXPECT_EQ(get(parent, TVIF_CHILDREN).cChildren, 1);
}

TEST_F(TreeViewTest, ALargerFontMakesTallerRowsAndNoneBringsTheSystemFontBack) {
  makeTree();
  LOGFONTW lf{};
  lf.lfHeight = -24;
  HFONT big = CreateFontIndirectW(&lf);
  int before = static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0));
  SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_GT(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  SendMessageW(tree_, WM_SETFONT, 0, TRUE);  // none: the system font again
  EXPECT_EQ(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0), before);
  DestroyWindow(tree_);
  tree_ = nullptr;
  DeleteObject(big);
}

}  // namespace
}  // namespace treetest
