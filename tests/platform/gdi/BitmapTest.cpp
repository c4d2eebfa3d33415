// Bitmaps: memory DCs and compatible bitmaps, DIB sections of every depth,
// bitmaps from resources, transfers between colour and monochrome, and how
// every kind of object describes itself.
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

TEST(BitmapTest, MemoryDcsHoldOneBitmapAtATimeAndColourTurnsMonochromeByTheBackground) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HDC other = CreateCompatibleDC(nullptr);
  // A memory DC starts with a one-pixel monochrome bitmap; a compatible bitmap has its depth.
  BITMAP initial = describe(GetCurrentObject(memory, OBJ_BITMAP));
  EXPECT_EQ(initial.bmWidth * initial.bmHeight * initial.bmBitsPixel, 1);
  HBITMAP mono = CreateCompatibleBitmap(memory, 3, 1);
  HBITMAP colour = CreateCompatibleBitmap(screen, 8, 2);
  EXPECT_EQ(describe(mono).bmBitsPixel, 1);
  EXPECT_EQ(describe(colour).bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
  // A bitmap is drawn on by one DC at a time and is not deleted meanwhile;
  // window DCs are released, not deleted, and memory DCs deleted once.
  const std::pair<bool, bool> calls[] = {
      {SelectObject(memory, colour) == GetCurrentObject(other, OBJ_BITMAP), true},  // the shared default bitmap
      {SelectObject(other, colour) != nullptr, false}, {DeleteObject(colour), false},
      {SelectObject(screen, mono) != nullptr, false}, {DeleteDC(screen), false}, {DeleteDC(memory), true},
      {DeleteDC(memory), false}, {DeleteObject(colour), true}, {DeleteDC(other), true},
      {CreateCompatibleBitmap(screen, 100000, 100000) != nullptr, false}};
  for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i].first, calls[i].second) << "call " << i;
  ReleaseDC(nullptr, screen);
  // Colour to monochrome: the source's background colour turns white, all else black; so does drawing.
  Canvas source(3, 1);
  source.set(0, 0, 0x123456);
  SetBkColor(source.dc(), RGB(0x12, 0x34, 0x56));
  InDc in(mono);
  EXPECT_TRUE(BitBlt(in.dc, 0, 0, 3, 1, source.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(std::vector<COLORREF>({GetPixel(in.dc, 0, 0), GetPixel(in.dc, 1, 0), SetPixel(in.dc, 1, 0, RGB(200, 200, 200)),
                                   SetPixel(in.dc, 2, 0, RGB(0, 0, 100))}),
            std::vector<COLORREF>({RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}));
}

TEST(BitmapTest, ObjectsDescribeTheirKindAndValuesAndTheDcNamesWhatItHolds) {
  Canvas c(2, 2);
  LOGBRUSH brushes[] = {{BS_SOLID, RGB(1, 2, 3), 0}, {2, 0, 0}};  // solid, hatched
  LOGFONTW tahoma{};
  EXPECT_TRUE(!CreateBrushIndirect(&brushes[1]) && !CreatePen(2, 1, 0) && !CreateFontIndirectW(nullptr)) << "hatched, dotted, none";
  // The description's second field: a brush's colour, a pen's width (at least 1), a font's or bitmap's width.
  const struct { HGDIOBJ object; DWORD type; int size; uint32_t second; } objects[] = {
      {CreateBrushIndirect(&brushes[0]), OBJ_BRUSH, sizeof(LOGBRUSH), RGB(1, 2, 3)},
      {CreatePen(PS_DASH, 0, RGB(4, 5, 6)), OBJ_PEN, sizeof(LOGPEN), 1},
      {CreateFontIndirectW(&tahoma), OBJ_FONT, sizeof(LOGFONTW), 0},
      {CreateCompatibleBitmap(c.dc(), 3, 2), OBJ_BITMAP, sizeof(BITMAP), 3}};
  for (const auto& o : objects) {
    uint32_t description[32] = {};
    EXPECT_EQ(GetObjectType(o.object), o.type);
    EXPECT_EQ(GetObjectW(o.object, 0, nullptr), o.size) << "no buffer asks the size";
    EXPECT_TRUE(!GetObjectW(o.object, o.size - 1, description) && GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetObjectW(o.object, sizeof(description), description), o.size);
    EXPECT_EQ(description[1], o.second) << o.type;
    HGDIOBJ old = SelectObject(c.dc(), o.object);
    EXPECT_EQ(GetCurrentObject(c.dc(), o.type), o.object);
    SelectObject(c.dc(), old);
    EXPECT_TRUE(DeleteObject(o.object) && !DeleteObject(o.object) && !GetObjectW(o.object, 0, nullptr)) << "deleted once";
  }
  EXPECT_EQ(GetObjectType(c.dc()), DWORD(OBJ_MEMDC));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_DC), nullptr);
}

TEST(BitmapTest, DibSectionsOfEveryDepthExchangePixelsWithTheirCaller) {
  // Palette formats get black, red, green and white (1 bit: black and red).
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[4];
  } info{};
  const RGBQUAD palette[4] = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 255, 255, 0}};
  // storedRed: the caller's value for pure red; bytesPerPixel: 0 for palette formats.
  struct Case { WORD bits; uint32_t storedRed; size_t bytesPerPixel; } const cases[] = {
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
