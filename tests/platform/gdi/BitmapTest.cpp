// Bitmaps: DIB sections of every depth, bitmaps from resources, and
// monochrome bitmaps drawn in colour.
#include "RasterHelpers.h"

namespace rastertest {
namespace {

BITMAP describe(HGDIOBJ bitmap) {
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(bitmap, sizeof(bm), &bm), int(sizeof(bm)));
  return bm;
}

// A memory DC drawing on bitmap for the life of the object; the bitmap is
// deleted with it.
struct InDc {
  explicit InDc(HGDIOBJ b) : bitmap(b), dc(CreateCompatibleDC(nullptr)), old(SelectObject(dc, b)) {}
  ~InDc() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HGDIOBJ bitmap;
  HDC dc;
  HGDIOBJ old;
};

TEST(BitmapTest, DibSectionsOfEveryDepthExchangePixelsWithTheirCaller) {
  // Palette formats get black, red, green and white (1 bit: black and red).
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[4];
  } info{};
  const RGBQUAD palette[4] = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 255, 255, 0}};
  struct Case {
    WORD bits;
    uint32_t storedRed;    // the caller's value for pure red
    size_t bytesPerPixel;  // 0 for palette formats
  } const cases[] = {
      {1, 1, 0}, {2, 1, 0}, {4, 1, 0}, {8, 1, 0},
      {16, 0x7C00, 2},    // 5-5-5
      {24, 0xFF0000, 3},  // blue, green, red bytes
      {32, 0xFF0000, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    DWORD colours = c.bits == 1 ? 2 : c.bits <= 8 ? 4 : 0;
    info.header = {sizeof(BITMAPINFOHEADER), 4, 2, 1, c.bits, BI_RGB, 0, 0, 0, colours, 0};  // bottom-up
    std::copy(palette, palette + 4, info.colours);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    const size_t stride = ((4 * c.bits + 31) / 32) * 4;
    BITMAP bm = describe(bitmap);
    EXPECT_EQ(bm.bmBitsPixel, c.bits);
    EXPECT_EQ(size_t(bm.bmWidthBytes), stride);
    auto* bytes = static_cast<uint8_t*>(bits);
    InDc in(bitmap);
    // Drawing pure red on the bottom row writes red in the caller's format,
    // first in memory.
    SetPixel(in.dc, 0, 1, RGB(255, 0, 0));
    uint32_t first = 0;
    for (size_t i = 0; i < std::max<size_t>(c.bytesPerPixel, 1); ++i) first |= uint32_t(bytes[i]) << (8 * i);
    EXPECT_EQ(c.bytesPerPixel ? first : first >> (8 - c.bits), c.storedRed);
    // A neighbour in the same byte keeps its value.
    EXPECT_EQ(GetPixel(in.dc, 1, 1), RGB(0, 0, 0));
    // The caller's edit of the top row shows in drawing.
    if (c.bytesPerPixel == 0)
      bytes[stride] = static_cast<uint8_t>((colours - 1) << (8 - c.bits));
    else
      std::fill(bytes + stride, bytes + stride + 3, 0xFF);
    EXPECT_EQ(GetPixel(in.dc, 0, 0), c.bits == 1 ? RGB(255, 0, 0) : RGB(255, 255, 255));
  }
}

TEST(BitmapTest, LoadImageScalesBitmapsAndLoadsTwoBitsAndMonochrome) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  Canvas twoBits(6, 4);
  InDc grey(LoadBitmapW(module, MAKEINTRESOURCEW(201)));
  ASSERT_NE(grey.bitmap, nullptr);
  EXPECT_EQ(describe(grey.bitmap).bmHeight, 4);
  BitBlt(twoBits.dc(), 0, 0, 6, 4, grey.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(twoBits.picture({{0x000000, 'k'}, {0x808080, 'd'}, {0xC0C0C0, 'l'}, {0xFFFFFF, 'w'}}),
            (std::vector<std::string>{"kkkkkw", "ddddwd", "lllwll", "wwwwww"}));
  HBITMAP big = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(203), IMAGE_BITMAP, 6, 4, 0));
  ASSERT_NE(big, nullptr);
  Canvas canvas(6, 4);
  InDc colour(big);
  BitBlt(canvas.dc(), 0, 0, 6, 4, colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.picture({{0xFF0000, 'r'}, {0x00FF00, 'g'}, {0x0000FF, 'b'}, {kWhite, 'w'}, {kBlack, 'k'},
                            {0x0A141E, 'x'}}),
            (std::vector<std::string>{"rrggbb", "rrggbb", "wwkkxx", "wwkkxx"}));

  HBITMAP mono = LoadBitmapW(module, MAKEINTRESOURCEW(202));
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(describe(mono).bmBitsPixel, 1);
  InDc in(mono);
  // Monochrome to colour: black pixels take the text colour, white the
  // background colour of the destination.
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  BitBlt(canvas.dc(), 0, 0, 5, 3, in.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.picture({{0xFF0000, 'r'}, {0x0000FF, 'b'}, {kWhite, 'w'}, {kBlack, 'k'}, {0x0A141E, 'x'}}),
            (std::vector<std::string>{"rrrrrb", "rbbbrb", "rrrrrx", "wwkkxx"}));
}

}  // namespace
}  // namespace rastertest
