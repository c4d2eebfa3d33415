// What a person sees of the tree view: the screen checked by regions (not
// whole images, so that glyph details do not matter).
#include <algorithm>
#include <fstream>

#include "TreeHarness.h"
#include "device/Device.h"
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

TEST_F(TreeTest, ScreenshotShowsTheSelectedNodeIconsButtonsAndDottedLines) {
  // A red icon with a transparent top row.
  kernel::Icon icon;
  icon.width = icon.height = 16;
  icon.pixels.assign(256, 0xFFFF0000);
  std::fill_n(icon.pixels.begin(), 16, 0);
  HICON red = kernel::addIcon(std::move(icon));
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 1, 1);
  ImageList_ReplaceIcon(images, -1, red);
  // The program's tree with its icon, "Appointments" selected.
  auto fill = [&](DWORD style) {
    programTree(style);
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    send(TVM_SELECTITEM, TVGN_CARET, b_);
    pump();
  };
  auto screenLabel = [&](HTREEITEM item) {
    RECT r = labelRect(item);
    MapWindowPoints(tree_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  fill(kProgramStyle);
  SetFocus(tree_);
  pump();
  std::string png, error;
  ASSERT_TRUE(display::encodePng(screen(), png, error)) << error;
  std::ofstream(std::string(VANTOR_TEST_BINARY_DIR) + "/tree_selected.png", std::ios::binary) << png;

  // The selected label is lit, its text in the (light) highlight text colour.
  RECT selected = screenLabel(b_), plain = screenLabel(a_);
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
  RECT root = screenLabel(root_);
  int indent = static_cast<int>(SendMessageW(tree_, TVM_GETINDENT, 0, 0));
  int cx = indent / 2, cy = (root.top + root.bottom) / 2;
  EXPECT_EQ(at(cx - 4, cy), sysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(at(cx + 4, cy - 4), sysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(at(cx - 2, cy), sysPixel(COLOR_WINDOWTEXT));
  EXPECT_EQ(at(cx, cy - 2), sysPixel(COLOR_WINDOW));
  // The children's line runs down the second indentation level, dotted:
  // about every other pixel.
  int lineX = indent + indent / 2;
  RECT line{lineX, plain.top, lineX + 1, selected.bottom};
  int dots = pixelsOf(line, sysPixel(COLOR_BTNSHADOW));
  EXPECT_GE(dots, area(line) / 2 - 1);
  EXPECT_LE(dots, area(line) / 2 + 1);

  // Without the focus the selection stays visible, grey, only when asked to.
  SetFocus(parent_);
  pump();
  EXPECT_EQ(pixelsOf(selected, sysPixel(COLOR_HIGHLIGHT)), 0);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_BTNFACE)), area(selected) / 2);
  fill(kProgramStyle & ~(TVS_SHOWSELALWAYS | TVS_HASLINES));
  SetFocus(parent_);
  pump();
  EXPECT_EQ(pixelsOf(selected, sysPixel(COLOR_BTNFACE)), 0);
  EXPECT_GT(pixelsOf(selected, sysPixel(COLOR_WINDOW)), area(selected) / 2);
  EXPECT_EQ(pixelsOf(line, sysPixel(COLOR_BTNSHADOW)), 0) << "no lines without TVS_HASLINES";
  send(TVM_EXPAND, TVE_COLLAPSE, root_);
  pump();
  EXPECT_EQ(at(cx, cy - 2), sysPixel(COLOR_WINDOWTEXT)) << "a plus when closed";

  DestroyWindow(tree_);
  ImageList_Destroy(images);
  DestroyIcon(red);
}

}  // namespace
}  // namespace treetest
