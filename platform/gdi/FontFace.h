// One font file at one pixel size: its metrics and its rendered glyphs,
// rendered by FreeType on first use and kept.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "gdi/Glyph.h"

namespace gdi {

struct FaceMetrics {
  int ascent = 11;  // above the baseline, pixels
  int descent = 2;  // below it
  int emHeight = 11;
  int externalLeading = 0;
  int aveCharWidth = 5;
  int maxCharWidth = 11;
  int underlineOffset = 1;  // from the baseline down to the line's top
  int underlineThickness = 1;
  int strikeoutOffset = 4;  // from the baseline up to the line's top
  int strikeoutThickness = 1;

  int height() const { return ascent + descent; }
};

struct FaceKey {
  std::string path;
  int index = 0;
  int xPixels = 0;  // em width and height in pixels
  int yPixels = 0;
  bool embolden = false;
  bool oblique = false;

  auto operator<=>(const FaceKey&) const = default;
};

class FontFace {
 public:
  // Opens the file at the key's size. A file that cannot be opened gives a
  // face with nominal metrics and empty glyphs, so text still measures.
  explicit FontFace(FaceKey key);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FaceKey& key() const { return key_; }
  bool loaded() const { return face_ != nullptr; }
  bool fixedPitch() const { return fixedPitch_; }
  const FaceMetrics& metrics() const { return metrics_; }
  const Glyph& glyph(char32_t c);

 private:
  struct FreeTypeFace;
  void measure();
  Glyph render(char32_t c);

  FaceKey key_;
  std::unique_ptr<FreeTypeFace> face_;
  FaceMetrics metrics_;
  bool fixedPitch_ = false;
  std::map<char32_t, Glyph> glyphs_;
};

// Design units of a file that the em size is computed from (a positive
// LOGFONT height is a cell height); false when the file cannot be read.
struct FaceDesign {
  int unitsPerEm = 2048;
  int ascent = 1901;
  int descent = 483;
  int aveCharWidth = 1038;
};
bool readFaceDesign(const std::string& path, int index, FaceDesign& design);

}  // namespace gdi
