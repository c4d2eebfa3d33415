// The tree view under the stylus and the keys: what the parent hears, in
// order, and where the selection and the view end up.
#include "TreeHarness.h"

namespace treetest {
namespace {

class TreeInputTest : public TreeTest {
 protected:
  // The program's tree, open, and a second top-level item.
  void fill() {
    programTree();
    second_ = insert(TVI_ROOT, u"Second", 4);
    send(TVM_EXPAND, TVE_EXPAND, root_);
    pump();
    take();
  }
  HTREEITEM second_ = nullptr;
};

TEST_F(TreeInputTest, StylusTapSelectsByMouse) {
  fill();
  // Below the items a tap selects nothing.
  RECT client{};
  GetClientRect(tree_, &client);
  POINT below{20, client.bottom - 3};
  ClientToScreen(tree_, &below);
  tap(below);
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_CLICK)}, take()));
  EXPECT_EQ(caret(), nullptr);
  EXPECT_EQ(GetFocus(), tree_);

  tap(labelPoint(b_));
  EXPECT_TRUE(sameNotes({note(NM_CLICK), note(TVN_SELCHANGINGW, TVC_BYMOUSE, nullptr, b_),
                         note(TVN_SELCHANGEDW, TVC_BYMOUSE, nullptr, b_)},
                        take()));
  tap(labelPoint(c_));
  EXPECT_TRUE(sameNotes({note(NM_CLICK), note(TVN_SELCHANGINGW, TVC_BYMOUSE, b_, c_),
                         note(TVN_SELCHANGEDW, TVC_BYMOUSE, b_, c_)},
                        take()));
  // Tapped again at once, it is a double tap: on a leaf it changes nothing,
  // on a parent it toggles it.
  tap(labelPoint(c_));
  EXPECT_TRUE(sameNotes({note(NM_DBLCLK)}, take()));
  EXPECT_EQ(caret(), c_);
  tap(labelPoint(root_));
  take();
  tap(labelPoint(root_));
  EXPECT_TRUE(sameNotes({note(NM_DBLCLK), note(TVN_ITEMEXPANDINGW, TVE_COLLAPSE, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_COLLAPSE, nullptr, root_)},
                        take()));
  EXPECT_FALSE(expanded(root_));
  EXPECT_EQ(caret(), root_);
}

TEST_F(TreeInputTest, KeysMoveTheSelectionByKeyboardAndFocusAndEnterAreTold) {
  fill();
  send(TVM_EXPAND, TVE_COLLAPSE, root_);
  SetFocus(tree_);
  SetFocus(parent_);
  SetFocus(tree_);
  key(VK_RETURN);
  EXPECT_TRUE(sameNotes({note(NM_SETFOCUS), note(NM_KILLFOCUS), note(NM_SETFOCUS), note(NM_RETURN)}, take()));
  EXPECT_EQ(SendMessageW(tree_, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  // The first key without a selection selects the first item.
  key(VK_DOWN);
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_BYKEYBOARD, nullptr, root_),
                         note(TVN_SELCHANGEDW, TVC_BYKEYBOARD, nullptr, root_)},
                        take()));
  key(VK_DOWN);
  EXPECT_TRUE(sameNotes({note(TVN_SELCHANGINGW, TVC_BYKEYBOARD, root_, second_),
                         note(TVN_SELCHANGEDW, TVC_BYKEYBOARD, root_, second_)},
                        take()));
  key(VK_UP);
  take();
  // Right opens a closed item as the user's expansion.
  key(VK_RIGHT);
  EXPECT_TRUE(sameNotes({note(TVN_ITEMEXPANDINGW, TVE_EXPAND, nullptr, root_),
                         note(TVN_ITEMEXPANDEDW, TVE_EXPAND, nullptr, root_)},
                        take()));
  struct Step { UINT key; HTREEITEM* caret; bool rootOpen; } steps[] = {
      {VK_RIGHT, &a_, true},    {VK_DOWN, &b_, true},      {VK_DOWN, &c_, true},       {VK_DOWN, &second_, true},
      {VK_DOWN, &second_, true}, {VK_UP, &c_, true},       {VK_LEFT, &root_, true},    {VK_LEFT, &root_, false},
      {VK_END, &second_, false}, {VK_HOME, &root_, false}, {VK_ADD, &root_, true},     {VK_NEXT, &second_, true},
      {VK_PRIOR, &root_, true},  {VK_SUBTRACT, &root_, false},
  };
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(i++);
    key(s.key);
    EXPECT_EQ(caret(), *s.caret);
    EXPECT_EQ(expanded(root_), s.rootOpen);
  }
  for (const Note& n : take()) EXPECT_TRUE(n.code != TVN_SELCHANGEDW || n.action == TVC_BYKEYBOARD);
}

TEST_F(TreeInputTest, TheViewFollowsTheSelectionAndTheScrollBar) {
  makeTree();
  root_ = insert(TVI_ROOT, u"Databases", -1);
  a_ = insert(root_, u"Database", 0);
  send(TVM_EXPAND, TVE_EXPAND, root_);
  pump();
  EXPECT_FALSE(GetWindowLongW(tree_, GWL_STYLE) & WS_VSCROLL) << "what fits needs no scroll bar";
  std::vector<HTREEITEM> items{a_};
  for (int i = 1; i < 30; ++i) items.push_back(insert(root_, u"Database", i));
  pump();
  ASSERT_TRUE(GetWindowLongW(tree_, GWL_STYLE) & WS_VSCROLL);
  const int rows = static_cast<int>(SendMessageW(tree_, TVM_GETVISIBLECOUNT, 0, 0));
  const int last = 31 - rows;  // the top row when the last item is at the bottom
  auto topIndex = [&] {
    int index = 0;
    for (HTREEITEM i = next(TVGN_ROOT); i && i != next(TVGN_FIRSTVISIBLE); i = next(TVGN_NEXTVISIBLE, i)) ++index;
    EXPECT_EQ(GetScrollPos(tree_, SB_VERT), index);
    return index;
  };
  auto shown = [&](HTREEITEM item) {
    RECT r = labelRect(item), client{};
    GetClientRect(tree_, &client);
    return r.top >= 0 && r.bottom <= client.bottom;
  };
  send(TVM_SELECTITEM, TVGN_CARET, items.back());
  EXPECT_TRUE(shown(items.back()));
  EXPECT_EQ(topIndex(), last) << "not scrolled into empty rows";
  send(TVM_ENSUREVISIBLE, 0, items[0]);
  EXPECT_EQ(topIndex(), 1);
  for (auto [code, top] : {std::pair<WPARAM, int>{SB_LINEDOWN, 2}, {SB_LINEUP, 1}, {SB_PAGEDOWN, rows},
                            {SB_BOTTOM, last}, {SB_LINEDOWN, last}, {SB_TOP, 0}, {SB_LINEUP, 0}}) {
    SendMessageW(tree_, WM_VSCROLL, code, 0);
    EXPECT_EQ(topIndex(), top) << code;
  }
}

}  // namespace
}  // namespace treetest
