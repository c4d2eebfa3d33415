// Edges, frame controls, focus rectangles and icons.
#include "RasterHelpers.h"

#include "kernel/Icons.h"

namespace rastertest {
namespace {

constexpr COLORREF kPaper = RGB(255, 0, 255);
constexpr uint32_t kPaperPixel = 0xFF00FF;

TEST(FrameControlsTest, PushButtonIsLitFromTheTopLeftAndPushedInverts) {
  // w highlight, l light, s shadow, k dark shadow, f face.
  const std::vector<std::pair<uint32_t, char>> legend = {
      {kPaperPixel, '.'},  {sysPixel(COLOR_3DHIGHLIGHT), 'w'}, {sysPixel(COLOR_3DLIGHT), 'l'},
      {sysPixel(COLOR_3DSHADOW), 's'}, {sysPixel(COLOR_3DDKSHADOW), 'k'}, {sysPixel(COLOR_BTNFACE), 'f'}};
  const std::vector<std::string> up = {"............", ".lllllllllk.", ".lwwwwwwwsk.", ".lwffffffsk.",
                                       ".lwffffffsk.", ".lwffffffsk.", ".lwffffffsk.", ".lssssssssk.",
                                       ".kkkkkkkkkk.", "............"};
  const std::vector<std::string> pushed = {"............", ".sssssssssw.", ".skkkkkkklw.", ".skfffffflw.",
                                           ".skfffffflw.", ".skfffffflw.", ".skfffffflw.", ".sllllllllw.",
                                           ".wwwwwwwwww.", "............"};
  for (bool down : {false, true}) {
    Canvas c(12, 10, kPaper);
    RECT r{1, 1, 11, 9};
    ASSERT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0)));
    EXPECT_EQ(c.picture(legend), down ? pushed : up);
    // The rectangle is unchanged unless asked to become the face.
    EXPECT_EQ(r, (RECT{1, 1, 11, 9}));
    DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(r, (RECT{3, 3, 9, 7}));
  }
}

TEST(FrameControlsTest, DrawEdgeDrawsEachKindOnTheAskedSides) {
  const uint32_t light = sysPixel(COLOR_3DLIGHT), white = sysPixel(COLOR_3DHIGHLIGHT);
  const uint32_t shadow = sysPixel(COLOR_3DSHADOW), dark = sysPixel(COLOR_3DDKSHADOW);
  const uint32_t face = sysPixel(COLOR_3DFACE);
  const uint32_t P = kPaperPixel;
  const struct { UINT edge, flags; uint32_t outerTop, innerTop, innerBottom, outerBottom, middle; RECT adjusted; } cases[] = {
      {EDGE_RAISED, BF_RECT, light, white, shadow, dark, P, {0, 0, 10, 10}},
      {EDGE_SUNKEN, BF_RECT, shadow, dark, light, white, P, {0, 0, 10, 10}},
      {EDGE_ETCHED, BF_RECT, shadow, white, shadow, white, P, {0, 0, 10, 10}},
      {BDR_RAISEDINNER, BF_RECT | BF_MIDDLE | BF_ADJUST, white, face, face, shadow, face, {1, 1, 9, 9}},
      {EDGE_SUNKEN, BF_RECT | BF_ADJUST, shadow, dark, light, white, P, {2, 2, 8, 8}},
      {EDGE_SUNKEN, BF_TOP | BF_ADJUST, shadow, dark, P, P, P, {0, 2, 10, 10}},
      {EDGE_SUNKEN, BF_BOTTOM | BF_ADJUST, P, P, light, white, P, {0, 0, 10, 8}},
  };
  for (const auto& k : cases) {
    Canvas c(10, 10, kPaper);
    RECT r{0, 0, 10, 10};
    ASSERT_TRUE(DrawEdge(c.dc(), &r, k.edge, k.flags));
    SCOPED_TRACE(testing::Message() << "edge " << k.edge << " flags " << std::hex << k.flags);
    EXPECT_EQ(c.at(5, 0), k.outerTop);
    EXPECT_EQ(c.at(5, 1), k.innerTop);
    EXPECT_EQ(c.at(5, 8), k.innerBottom);
    EXPECT_EQ(c.at(5, 9), k.outerBottom);
    EXPECT_EQ(c.at(5, 5), k.middle);
    EXPECT_EQ(r, k.adjusted);
  }
}

TEST(FrameControlsTest, CheckBoxesAndRadioButtonsShowTheirState) {
  const uint32_t ink = sysPixel(COLOR_WINDOWTEXT), window = sysPixel(COLOR_WINDOW);
  const uint32_t frame = sysPixel(COLOR_WINDOWFRAME), grey = sysPixel(COLOR_GRAYTEXT), P = kPaperPixel;
  constexpr uint32_t kAny = 0xFFFFFFFF;
  // Corner and centre (kAny: the mark's shape decides); a radio button is round.
  struct Case { UINT state; uint32_t markColour; bool marked; uint32_t corner, centre; } cases[] = {
      {DFCS_BUTTONCHECK, ink, false, frame, window}, {DFCS_BUTTONCHECK | DFCS_CHECKED, ink, true, frame, kAny},
      {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, grey, true, frame, kAny},
      {DFCS_BUTTONRADIO, ink, false, P, window}, {DFCS_BUTTONRADIO | DFCS_CHECKED, ink, true, P, ink},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << k.state);
    Canvas c(13, 13, kPaper);
    RECT r{0, 0, 13, 13};
    ASSERT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, k.state));
    int marks = 0;
    for (int y = 1; y < 12; ++y)
      for (int x = 1; x < 12; ++x) marks += c.at(x, y) == k.markColour;
    if (!(k.state & DFCS_BUTTONRADIO)) {
      EXPECT_EQ(marks > 8, k.marked) << marks;  // a radio button's outline is in the mark's colour
    }
    EXPECT_EQ(c.at(0, 0), k.corner);
    EXPECT_EQ(c.at(12, 12), k.corner);
    EXPECT_EQ(c.at(6, 0), frame);
    EXPECT_EQ(c.at(0, 6), frame);
    EXPECT_TRUE(k.centre == kAny || c.at(6, 6) == k.centre);
    EXPECT_TRUE(!(k.state & DFCS_BUTTONRADIO) || c.at(3, 6) == window);
  }
}

TEST(FrameControlsTest, ScrollArrowsPointTheirWay) {
  const uint32_t ink = sysPixel(COLOR_BTNTEXT);
  // tipFirst: the arrow's narrow end is at the top or left.
  const struct { UINT direction; bool vertical; bool tipFirst; } cases[] = {
      {DFCS_SCROLLUP, true, true}, {DFCS_SCROLLDOWN, true, false}, {DFCS_SCROLLLEFT, false, true},
      {DFCS_SCROLLRIGHT, false, false}, {DFCS_SCROLLCOMBOBOX, true, false}};
  for (const auto& k : cases) {
    Canvas c(16, 16, kPaper);
    RECT r{0, 0, 16, 16};
    ASSERT_TRUE(DrawFrameControl(c.dc(), &r, DFC_SCROLL, k.direction));
    // Ink per row (vertical arrows) or column inside the button's edges:
    // widths grow away from the tip.
    auto arrowInk = [&] {
      std::vector<int> widths;
      for (int i = 2; i < 14; ++i) {
        int n = 0;
        for (int j = 2; j < 14; ++j) n += (k.vertical ? c.at(j, i) : c.at(i, j)) == ink;
        if (n) widths.push_back(n);
      }
      return widths;
    };
    std::vector<int> widths = arrowInk();
    ASSERT_GE(widths.size(), 2u) << k.direction;
    if (k.tipFirst)
      EXPECT_LT(widths.front(), widths.back()) << k.direction;
    else
      EXPECT_GT(widths.front(), widths.back()) << k.direction;
    // An inactive arrow is grey.
    DrawFrameControl(c.dc(), &r, DFC_SCROLL, k.direction | DFCS_INACTIVE);
    EXPECT_TRUE(arrowInk().empty()) << k.direction;
  }
}

TEST(FrameControlsTest, FocusRectangleInvertsEveryOtherBorderPixelAndTwiceRestores) {
  Canvas c(8, 6, RGB(10, 200, 30));
  RECT r{1, 1, 7, 5};
  ASSERT_TRUE(DrawFocusRect(c.dc(), &r));
  EXPECT_EQ(c.picture({{0x0AC81E, '.'}, {0xF537E1, '#'}}),
            (std::vector<std::string>{"........", ".#.#.#..", "......#.", ".#......", "..#.#.#.", "........"}));
  DrawFocusRect(c.dc(), &r);
  EXPECT_EQ(c.count(0x0AC81E), 48);
}

TEST(FrameControlsTest, IconsBlendTheirAlphaOverTheDestination) {
  // Opaque red, transparent, half-transparent white, opaque blue.
  kernel::Icon source;
  source.width = 2;
  source.height = 2;
  source.pixels = {0xFFFF0000, 0x00123456, 0x80FFFFFF, 0xFF0000FF};
  HICON icon = kernel::addIcon(std::move(source));
  ASSERT_NE(icon, nullptr);
  Canvas c(4, 4, RGB(0, 0, 0));
  ASSERT_TRUE(DrawIcon(c.dc(), 1, 1, icon));
  EXPECT_EQ(c.at(1, 1), 0xFF0000u);
  EXPECT_EQ(c.at(2, 1), kBlack);
  EXPECT_EQ(c.at(1, 2), 0x808080u);
  EXPECT_EQ(c.at(2, 2), 0x0000FFu);
  EXPECT_EQ(c.at(0, 0), kBlack);
  EXPECT_EQ(c.at(3, 3), kBlack);
  // A flicker brush goes under the icon; the image alone ignores
  // transparency; the mask alone blacks out what the icon covers.
  const struct { UINT flags; HGDIOBJ flicker; uint32_t opaque, transparent; } ways[] = {
      {DI_NORMAL, GetStockObject(WHITE_BRUSH), 0xFF0000, kWhite}, {DI_IMAGE, nullptr, 0xFF0000, 0x123456},
      {DI_MASK, nullptr, kBlack, 0x00FF00}};
  for (const auto& way : ways) {
    Canvas under(2, 1, RGB(0, 255, 0));
    EXPECT_TRUE(DrawIconEx(under.dc(), 0, 0, icon, 0, 0, 0, static_cast<HBRUSH>(way.flicker), way.flags));
    EXPECT_EQ(std::pair(under.at(0, 0), under.at(1, 0)), std::pair(way.opaque, way.transparent)) << way.flags;
  }
  EXPECT_FALSE(DrawIconEx(c.dc(), 0, 0, icon, -1, 2, 0, nullptr, DI_NORMAL));
  EXPECT_FALSE(DrawIcon(c.dc(), 0, 0, nullptr));
  DestroyIcon(icon);
}

}  // namespace
}  // namespace rastertest
