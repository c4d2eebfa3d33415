// The tree view under the stylus and the keys: what the parent hears, in
// order, and where the selection and the view end up.
#include <cstring>

#include "TreeHarness.h"

namespace treetest {
namespace {

class TreeInputTest : public TreeTest {
 protected:
  // "Databases" (open) with three databases, and a second top-level item.
  void fill() {
    makeTree();
    root_ = insert(TVI_ROOT, u"Databases", -1);
    a_ = insert(root_, u"Contacts", 1);
    b_ = insert(root_, u"Appointments", 2);
    c_ = insert(root_, u"Tasks", 3);
    second_ = insert(TVI_ROOT, u"Second", 4);
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
    pump();
    take();
  }
  HTREEITEM root_ = nullptr, a_ = nullptr, b_ = nullptr, c_ = nullptr, second_ = nullptr;
};

TEST_F(TreeInputTest, StylusTapSelectsByMouse) {
  fill();
  tap(labelPoint(b_));
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_CLICK), note(TVN_SELCHANGINGW, TVC_BYMOUSE, nullptr, b_),
                         note(TVN_SELCHANGEDW, TVC_BYMOUSE, nullptr, b_)},
                        take()));
  EXPECT_EQ(caret(), b_);
  EXPECT_EQ(GetFocus(), tree_);

  tap(labelPoint(c_));
  EXPECT_TRUE(sameNotes({note(NM_CLICK), note(TVN_SELCHANGINGW, TVC_BYMOUSE, b_, c_),
                         note(TVN_SELCHANGEDW, TVC_BYMOUSE, b_, c_)},
                        take()));
  // Tapped again at once, it is a double tap: on a leaf it changes nothing.
  tap(labelPoint(c_));
  EXPECT_TRUE(sameNotes({note(NM_DBLCLK)}, take()));
  EXPECT_EQ(caret(), c_);
}

TEST_F(TreeInputTest, DoubleTapOnAParentTogglesIt) {
  fill();
  tap(labelPoint(root_));
  take();
  tap(labelPoint(root_));
  EXPECT_TRUE(sameNotes({note(NM_DBLCLK), note(TVN_ITEMEXPANDINGW, TVE_COLLAPSE, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_COLLAPSE, nullptr, root_)},
                        take()));
  EXPECT_FALSE(expanded(root_));
  EXPECT_EQ(caret(), root_);
}

TEST_F(TreeInputTest, ParentKeepsTheSelectionByAnsweringTheClick) {
  fill();
  answer(NM_CLICK, [](const NMHDR&) { return TRUE; });
  tap(labelPoint(b_));
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_CLICK)}, take()));
  EXPECT_EQ(caret(), nullptr);
}

TEST_F(TreeInputTest, StylusOnTheButtonTogglesExpansion) {
  fill();
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(second_));
  take();
  tap(buttonPoint(root_));
  // The user's collapse is always told, even after the first expansion.
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_CLICK), note(TVN_ITEMEXPANDINGW, TVE_COLLAPSE, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_COLLAPSE, nullptr, root_)},
                        take()));
  EXPECT_FALSE(expanded(root_));
  tap(buttonPoint(root_));
  EXPECT_TRUE(sameNotes({note(NM_CLICK), note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        take()));
  EXPECT_TRUE(expanded(root_));
  // The button changes no selection.
  EXPECT_EQ(caret(), second_);
}

TEST_F(TreeInputTest, CollapsingAroundTheSelectionByStylusMovesItAsTheUsersChange) {
  fill();
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b_));
  take();
  tap(buttonPoint(root_));
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_CLICK), note(TVN_ITEMEXPANDINGW, TVE_COLLAPSE, nullptr, root_),
                         note(TVN_SELCHANGINGW, TVC_BYMOUSE, b_, root_), note(TVN_SELCHANGEDW, TVC_BYMOUSE, b_, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_COLLAPSE, nullptr, root_)},
                        take()));
  EXPECT_EQ(caret(), root_);
}

TEST_F(TreeInputTest, TapBelowTheItemsSelectsNothing) {
  fill();
  RECT client{};
  GetClientRect(tree_, &client);
  POINT p{20, client.bottom - 3};
  ClientToScreen(tree_, &p);
  tap(p);
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_CLICK)}, take()));
  EXPECT_EQ(caret(), nullptr);
}

TEST_F(TreeInputTest, KeysMoveTheSelectionByKeyboard) {
  fill();
  SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root_));
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root_));
  SetFocus(tree_);
  take();

  key(VK_DOWN);
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_BYKEYBOARD, root_, second_),
                         note(TVN_SELCHANGEDW, TVC_BYKEYBOARD, root_, second_)},
                        take()));

  struct Step {
    UINT key;
    HTREEITEM* caret;
    bool rootOpen;
  } steps[] = {
      {VK_UP, &root_, false},   {VK_RIGHT, &root_, true}, {VK_RIGHT, &a_, true},  {VK_DOWN, &b_, true},
      {VK_DOWN, &c_, true},     {VK_DOWN, &second_, true}, {VK_DOWN, &second_, true}, {VK_UP, &c_, true},
      {VK_LEFT, &root_, true},  {VK_LEFT, &root_, false}, {VK_END, &second_, false}, {VK_HOME, &root_, false},
      {VK_ADD, &root_, true},   {VK_NEXT, &second_, true}, {VK_PRIOR, &root_, true}, {VK_SUBTRACT, &root_, false},
  };
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(i++);
    key(s.key);
    EXPECT_EQ(caret(), *s.caret);
    EXPECT_EQ(expanded(root_), s.rootOpen);
  }
  // Every change came from the keys.
  for (const Note& n : take()) {
    if (n.code == TVN_SELCHANGEDW) {
      EXPECT_EQ(n.action, static_cast<UINT>(TVC_BYKEYBOARD));
    }
  }
}

TEST_F(TreeInputTest, RightExpandsByTheUserWithNotifications) {
  fill();
  SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root_));
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root_));
  SetFocus(tree_);
  take();
  key(VK_RIGHT);
  EXPECT_TRUE(sameNotes({note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        take()));
}

TEST_F(TreeInputTest, FirstKeyWithoutSelectionSelectsTheFirstItem) {
  fill();
  SetFocus(tree_);
  take();
  key(VK_DOWN);
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_BYKEYBOARD, nullptr, root_),
                         note(TVN_SELCHANGEDW, TVC_BYKEYBOARD, nullptr, root_)},
                        take()));
}

TEST_F(TreeInputTest, TypingALetterSelectsTheNextItemStartingWithIt) {
  fill();
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root_));
  SetFocus(tree_);
  SendMessageW(tree_, WM_CHAR, u't', 0);
  EXPECT_EQ(caret(), c_);
  SendMessageW(tree_, WM_CHAR, u'D', 0);  // from the top again after the last
  EXPECT_EQ(caret(), root_);
  SendMessageW(tree_, WM_CHAR, u'z', 0);
  EXPECT_EQ(caret(), root_);
}

TEST_F(TreeInputTest, FocusIsToldToTheParent) {
  fill();
  SetFocus(tree_);
  SetFocus(parent_);
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_KILLFOCUS)}, take()));
  SetFocus(tree_);
  key(VK_RETURN);
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_RETURN)}, take()));
  EXPECT_EQ(SendMessageW(tree_, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(TreeInputTest, HitTestNamesThePartOfTheRow) {
  fill();
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  RECT label = labelRect(b_);
  RECT client{};
  GetClientRect(tree_, &client);
  int middle = (label.top + label.bottom) / 2;
  struct Case {
    POINT at;
    UINT flags;
    HTREEITEM item;
  } cases[] = {
      {{(label.left + label.right) / 2, middle}, TVHT_ONITEMLABEL, b_},
      {{label.left - 8, middle}, TVHT_ONITEMICON, b_},
      {{label.right + 5, middle}, TVHT_ONITEMRIGHT, b_},
      {{3, middle}, TVHT_ONITEMINDENT, b_},
      {{3, 5}, TVHT_ONITEMBUTTON, root_},
      {{20, client.bottom - 2}, TVHT_NOWHERE, nullptr},
      {{20, -5}, TVHT_ABOVE, nullptr},
      {{20, client.bottom + 5}, TVHT_BELOW, nullptr},
      {{-5, middle}, TVHT_TOLEFT, nullptr},
      {{client.right + 5, middle}, TVHT_TORIGHT, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.at.x << "," << c.at.y);
    TVHITTESTINFO info{};
    info.pt = c.at;
    auto got = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(got, c.item);
    EXPECT_EQ(info.hItem, c.item);
    EXPECT_EQ(info.flags, c.flags);
  }
  DestroyWindow(tree_);
  tree_ = nullptr;
  ImageList_Destroy(images);
}

TEST_F(TreeInputTest, ItemRectsFollowRowsAndHiddenItemsHaveNone) {
  fill();
  RECT a = labelRect(a_);
  RECT b = labelRect(b_);
  int height = static_cast<int>(SendMessageW(tree_, TVM_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(b.top - a.top, height);
  RECT root = labelRect(root_);
  // Children are indented past their parent.
  EXPECT_EQ(a.left - root.left, SendMessageW(tree_, TVM_GETINDENT, 0, 0));
  RECT whole{};
  std::memcpy(&whole, &b_, sizeof b_);
  ASSERT_TRUE(SendMessageW(tree_, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&whole)));
  RECT client{};
  GetClientRect(tree_, &client);
  EXPECT_EQ(whole.left, 0);
  EXPECT_EQ(whole.right, client.right);
  EXPECT_EQ(whole.top, b.top);
  SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root_));
  RECT hidden{};
  std::memcpy(&hidden, &b_, sizeof b_);
  EXPECT_FALSE(SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&hidden)));
}

class TreeScrollTest : public TreeTest {
 protected:
  void fillMany(int count) {
    makeTree();
    items_.clear();
    root_ = insert(TVI_ROOT, u"Databases", -1);
    for (int i = 0; i < count; ++i) {
      std::u16string name = u"Database " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
      items_.push_back(insert(root_, name.c_str(), i));
    }
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
    pump();
    take();
  }
  int rows() const { return static_cast<int>(SendMessageW(tree_, TVM_GETVISIBLECOUNT, 0, 0)); }
  bool shown(HTREEITEM item) const {
    RECT r = labelRect(item);
    RECT client{};
    GetClientRect(tree_, &client);
    return r.top >= 0 && r.bottom <= client.bottom;
  }
  HTREEITEM root_ = nullptr;
  std::vector<HTREEITEM> items_;
};

TEST_F(TreeScrollTest, SelectingScrollsTheItemIntoView) {
  fillMany(30);
  ASSERT_GT(rows(), 2);
  ASSERT_LT(rows(), 31);
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items_.back()));
  pump();
  EXPECT_TRUE(shown(items_.back()));
  // The view ends with the last item at the bottom, not in empty rows.
  EXPECT_EQ(next(TVGN_FIRSTVISIBLE), items_[static_cast<size_t>(31 - rows() - 1)]);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(tree_, SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 30);
  EXPECT_EQ(info.nPage, static_cast<UINT>(rows()));
  EXPECT_EQ(info.nPos, 31 - rows());

  SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(items_[0]));
  EXPECT_TRUE(shown(items_[0]));
  EXPECT_EQ(next(TVGN_FIRSTVISIBLE), items_[0]);
}

TEST_F(TreeScrollTest, ScrollBarMovesTheView) {
  fillMany(30);
  int last = 31 - rows();
  struct Step {
    WPARAM code;
    int top;
  } steps[] = {
      {SB_LINEDOWN, 1}, {SB_LINEDOWN, 2}, {SB_LINEUP, 1}, {SB_PAGEDOWN, 1 + rows() - 1},
      {SB_BOTTOM, last}, {SB_LINEDOWN, last}, {SB_TOP, 0}, {SB_LINEUP, 0},
  };
  auto topIndex = [&]() {
    HTREEITEM top = next(TVGN_FIRSTVISIBLE);
    int index = 0;
    for (HTREEITEM i = next(TVGN_ROOT); i && i != top; i = next(TVGN_NEXTVISIBLE, i)) ++index;
    return index;
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.code);
    SendMessageW(tree_, WM_VSCROLL, s.code, 0);
    EXPECT_EQ(topIndex(), s.top);
    EXPECT_EQ(GetScrollPos(tree_, SB_VERT), s.top);
  }
}

TEST_F(TreeScrollTest, ItemsThatFitNeedNoScrollBar) {
  fillMany(2);
  EXPECT_FALSE(GetWindowLongW(tree_, GWL_STYLE) & WS_VSCROLL);
  fillMany(40);
  EXPECT_TRUE(GetWindowLongW(tree_, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(TreeScrollTest, PageDownWalksAPageAndKeepsTheSelectionInView) {
  fillMany(30);
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root_));
  SetFocus(tree_);
  key(VK_NEXT);
  EXPECT_EQ(caret(), items_[static_cast<size_t>(rows() - 2)]);
  key(VK_END);
  EXPECT_EQ(caret(), items_.back());
  EXPECT_TRUE(shown(items_.back()));
}

}  // namespace
}  // namespace treetest
