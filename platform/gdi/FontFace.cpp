#include "gdi/FontFace.h"

#include <algorithm>
#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace gdi {

namespace {

FT_Library library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) return static_cast<FT_Library>(nullptr);
    return l;
  }();
  return lib;
}

FT_Face openFace(const std::string& path, int index) {
  if (!library() || path.empty()) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library(), path.c_str(), index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return face;
}

int scaled(long units, int pixels, int unitsPerEm) {
  return static_cast<int>(std::lround(static_cast<double>(units) * pixels / unitsPerEm));
}

FaceDesign designOf(FT_Face face) {
  FaceDesign d;
  d.unitsPerEm = face->units_per_EM;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    d.ascent = os2->usWinAscent;
    d.descent = os2->usWinDescent;
  } else {
    d.ascent = face->ascender;
    d.descent = -face->descender;
  }
  d.aveCharWidth = os2 && os2->version != 0xFFFF ? os2->xAvgCharWidth : 0;
  return d;
}

}  // namespace

struct FontFace::FreeTypeFace {
  explicit FreeTypeFace(FT_Face f) : face(f) {}
  ~FreeTypeFace() { FT_Done_Face(face); }
  FT_Face face;
};

bool readFaceDesign(const std::string& path, int index, FaceDesign& design) {
  FT_Face face = openFace(path, index);
  if (!face) return false;
  design = designOf(face);
  FT_Done_Face(face);
  return true;
}

FontFace::FontFace(FaceKey key) : key_(std::move(key)) {
  metrics_.emHeight = key_.yPixels;
  FT_Face face = openFace(key_.path, key_.index);
  if (!face) return;
  if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(key_.xPixels), static_cast<FT_UInt>(key_.yPixels)) != 0) {
    FT_Done_Face(face);
    return;
  }
  face_ = std::make_unique<FreeTypeFace>(face);
  fixedPitch_ = FT_IS_FIXED_WIDTH(face);
  measure();
}

FontFace::~FontFace() = default;

void FontFace::measure() {
  FT_Face face = face_->face;
  FaceDesign d = designOf(face);
  int em = d.unitsPerEm;
  int x = key_.xPixels;
  int y = key_.yPixels;
  FaceMetrics& m = metrics_;
  m.ascent = std::max(1, scaled(d.ascent, y, em));
  m.descent = std::max(0, scaled(d.descent, y, em));
  m.emHeight = y;
  // Space the family asks for between lines beyond its cell.
  long gap = 0;
  if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA)))
    gap = hhea->Line_Gap - ((d.ascent + d.descent) - (hhea->Ascender - hhea->Descender));
  m.externalLeading = std::max(0, scaled(gap, y, em));
  m.maxCharWidth = std::max(1, scaled(face->max_advance_width, x, em));
  m.aveCharWidth = d.aveCharWidth > 0 ? scaled(d.aveCharWidth, x, em) : glyph(U'x').advance;
  if (key_.embolden) {
    // Emboldening widens every glyph by the stroke it adds (see render()).
    long strength = FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / 24;
    int extra = static_cast<int>((strength + 32) >> 6);
    m.aveCharWidth += extra;
    m.maxCharWidth += extra;
  }
  m.aveCharWidth = std::max(1, m.aveCharWidth);

  int thickness = std::max(1, scaled(face->underline_thickness, y, em));
  int position = scaled(-face->underline_position, y, em) - thickness / 2;
  m.underlineThickness = thickness;
  m.underlineOffset = std::clamp(position, 1, std::max(1, m.descent - thickness));
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    m.strikeoutThickness = std::max(1, scaled(os2->yStrikeoutSize, y, em));
    m.strikeoutOffset = std::max(m.strikeoutThickness, scaled(os2->yStrikeoutPosition, y, em));
  } else {
    m.strikeoutThickness = thickness;
    m.strikeoutOffset = std::max(thickness, m.ascent * 3 / 10);
  }
}

const Glyph& FontFace::glyph(char32_t c) {
  auto found = glyphs_.find(c);
  if (found != glyphs_.end()) return found->second;
  return glyphs_.emplace(c, render(c)).first->second;
}

Glyph FontFace::render(char32_t c) {
  Glyph g;
  // Control characters (tabs, line breaks) take no room and show nothing.
  if (c < 0x20) return g;
  if (!face_) {
    g.advance = metrics_.aveCharWidth;
    return g;
  }
  FT_Face face = face_->face;
  if (FT_Load_Char(face, c, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return g;
  FT_GlyphSlot slot = face->glyph;
  if (key_.oblique) FT_GlyphSlot_Oblique(slot);
  if (key_.embolden) FT_GlyphSlot_Embolden(slot);
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return g;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bitmap.width);
  g.rows = static_cast<int>(bitmap.rows);
  g.coverage.resize(static_cast<size_t>(g.width) * g.rows);
  int levels = std::max(2, static_cast<int>(bitmap.num_grays));
  for (int row = 0; row < g.rows; ++row) {
    // A negative pitch stores the rows bottom up.
    const unsigned char* src = bitmap.pitch >= 0 ? bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch
                                                 : bitmap.buffer + static_cast<ptrdiff_t>(g.rows - 1 - row) * -bitmap.pitch;
    for (int col = 0; col < g.width; ++col)
      g.coverage[static_cast<size_t>(row) * g.width + col] = static_cast<uint8_t>(src[col] * 255 / (levels - 1));
  }
  return g;
}

}  // namespace gdi
