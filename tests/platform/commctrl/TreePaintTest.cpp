// What a person sees of the tree view: the screen checked by regions (not
// whole images, so that glyph details do not matter), and the window dump.
#include <cstdio>
#include <fstream>

#include "TreeHarness.h"
#include "device/Device.h"
#include "device/Dump.h"
#include "display/Png.h"
#include "kernel/Icons.h"

namespace treetest {
namespace {

uint32_t sysPixel(int index) {
  COLORREF c = GetSysColor(index);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

const display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }
uint32_t at(int x, int y) { return screen().pixel(x, y) & 0x00FFFFFF; }
int area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

// Pixels of r that pass the test.
template <typename Test>
int countIf(const RECT& r, Test test) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += test(at(x, y)) ? 1 : 0;
  return n;
}
int pixelsOf(const RECT& r, uint32_t color) {
  return countIf(r, [color](uint32_t p) { return p == color; });
}
// By brightness, so that anti-aliased glyphs count whatever their edges.
int countBrightness(const RECT& r, bool light) {
  return countIf(r, [light](uint32_t p) {
    int sum = static_cast<int>((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF));
    return light ? sum > 3 * 0xA0 : sum < 3 * 0x60;
  });
}

class TreePaintTest : public TreeTest {
 protected:
  void SetUp() override {
    TreeTest::SetUp();
    kernel::Icon icon;
    icon.width = icon.height = 16;
    icon.pixels.assign(256, 0xFFFF0000);
    for (int i = 0; i < 16; ++i) icon.pixels[static_cast<size_t>(i)] = 0;  // a transparent top row
    icon_ = kernel::addIcon(std::move(icon));
    images_ = ImageList_Create(16, 16, ILC_MASK, 1, 1);
    ImageList_ReplaceIcon(images_, -1, icon_);
  }
  void TearDown() override {
    TreeTest::TearDown();
    ImageList_Destroy(images_);
    DestroyIcon(icon_);
  }
  // The program's tree with its icon, "Appointments" selected.
  void fill(DWORD style = kProgramStyle) {
    programTree(style);
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
    send(TVM_SELECTITEM, TVGN_CARET, b_);
    pump();
  }
  RECT screenLabel(HTREEITEM item) const {
    RECT r = labelRect(item);
    MapWindowPoints(tree_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HICON icon_ = nullptr;
  HIMAGELIST images_ = nullptr;
};

TEST_F(TreePaintTest, SelectedNodeIsHighlightedWithTheFocusAndGreyOrPlainWithout) {
  fill();
  SetFocus(tree_);
  pump();
  std::string png, error;
  ASSERT_TRUE(display::encodePng(screen(), png, error)) << error;
  std::ofstream(std::string(VANTOR_TEST_BINARY_DIR) + "/tree_selected.png", std::ios::binary) << png;

  RECT selected = screenLabel(b_);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_HIGHLIGHT)), area(selected) / 2);
  // The text shows in the (light) highlight text colour over it.
  EXPECT_GT(countBrightness(selected, true), 10);
  RECT plain = screenLabel(a_);
  EXPECT_EQ(pixelsOf(plain, sysPixel(COLOR_HIGHLIGHT)), 0);
  EXPECT_GT(countBrightness(plain, false), 10);
  EXPECT_GT(pixelsOf(plain, sysPixel(COLOR_WINDOW)), area(plain) / 2);

  // Without the focus the selection stays visible, grey, only when asked to.
  SetFocus(parent_);
  pump();
  EXPECT_EQ(pixelsOf(selected, sysPixel(COLOR_HIGHLIGHT)), 0);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_BTNFACE)), area(selected) / 2);
  fill(kProgramStyle & ~TVS_SHOWSELALWAYS);
  SetFocus(parent_);
  pump();
  EXPECT_EQ(pixelsOf(selected, sysPixel(COLOR_BTNFACE)), 0);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_WINDOW)), area(selected) / 2);
}

TEST_F(TreePaintTest, IconsButtonsAndDottedLines) {
  fill();
  RECT label = screenLabel(a_);
  // The icon just left of the label: red, with its transparent top row
  // showing the window's colour.
  int iconLeft = label.left - 17;
  int iconTop = (label.top + label.bottom) / 2 - 8;
  EXPECT_EQ(at(iconLeft + 8, iconTop + 8), 0xFF0000u);
  EXPECT_EQ(at(iconLeft + 8, iconTop), sysPixel(COLOR_WINDOW));

  // The root's button: a framed box with a minus (it is open), then a plus.
  RECT root = screenLabel(root_);
  int indent = static_cast<int>(SendMessageW(tree_, TVM_GETINDENT, 0, 0));
  int cx = indent / 2;
  int cy = (root.top + root.bottom) / 2;
  EXPECT_EQ(at(cx - 4, cy), sysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(at(cx + 4, cy - 4), sysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(at(cx - 2, cy), sysPixel(COLOR_WINDOWTEXT));
  EXPECT_EQ(at(cx, cy - 2), sysPixel(COLOR_WINDOW));
  send(TVM_EXPAND, TVE_COLLAPSE, root_);
  pump();
  EXPECT_EQ(at(cx, cy - 2), sysPixel(COLOR_WINDOWTEXT));
  send(TVM_EXPAND, TVE_EXPAND, root_);
  pump();

  // The children's line runs down the second indentation level, dotted:
  // about every other pixel. Without TVS_HASLINES there is none.
  int lineX = indent + indent / 2;
  RECT line{lineX, screenLabel(a_).top, lineX + 1, screenLabel(b_).bottom};
  int dots = pixelsOf(line, sysPixel(COLOR_BTNSHADOW));
  EXPECT_GE(dots, area(line) / 2 - 1);
  EXPECT_LE(dots, area(line) / 2 + 1);
  fill(kProgramStyle & ~TVS_HASLINES);
  EXPECT_EQ(pixelsOf(line, sysPixel(COLOR_BTNSHADOW)), 0);
}

TEST_F(TreePaintTest, DumpListsEveryNodeUnderItsWindow) {
  fill();
  send(TVM_EXPAND, TVE_COLLAPSE, root_);
  insert(c_, u"Tab\there \"quoted\"", 0x80000001u);
  std::string dump = device::dumpWindows();
  char handle[40];
  std::snprintf(handle, sizeof handle, "hwnd=0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(tree_)));
  size_t line = dump.find(handle);
  ASSERT_NE(line, std::string::npos) << dump;
  // The tree's line is indented one level (it is a child); its nodes two
  // more, and each level of nodes two more again. Collapsed children are
  // listed too; the collapse moved the selection to the root.
  std::string expected =
      "    node \"Databases\" data=-1 selected\n"
      "      node \"Contacts\" data=1\n"
      "      node \"Appointments\" data=2\n"
      "      node \"Tasks\" data=3\n"
      "        node \"Tab\\there \\\"quoted\\\"\" data=2147483649\n";
  EXPECT_EQ(dump.substr(dump.find('\n', line) + 1, expected.size()), expected) << dump;
  send(TVM_SELECTITEM, TVGN_CARET, b_);
  dump = device::dumpWindows();
  EXPECT_NE(dump.find("    node \"Databases\" data=-1 expanded\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("      node \"Appointments\" data=2 selected\n"), std::string::npos) << dump;
}

}  // namespace
}  // namespace treetest
