// The faces fonts are drawn with. A LOGFONTW is matched to a file once;
// each file is opened once per pixel size (one FontFace, with its glyphs),
// and faces live as long as the process.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include <windows.h>

#include "gdi/FontFace.h"
#include "gdi/FontMatcher.h"

namespace gdi {

// The em height of a LOGFONTW with height 0, and the largest em drawn.
constexpr int kDefaultEmHeight = 11;
constexpr int kMaxEmPixels = 512;

// A font as a device context draws with it: a face at its size, and what
// the LOGFONTW adds on top of the face.
struct Font {
  FontFace* face = nullptr;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  BYTE pitchAndFamily = 0;
  BYTE charSet = DEFAULT_CHARSET;

  const FaceMetrics& metrics() const { return face->metrics(); }
  int height() const { return face->metrics().height(); }
  TEXTMETRICW textMetrics() const;
};

class FontCache {
 public:
  static FontCache& instance();
  explicit FontCache(const FontMatcher& matcher);

  Font fontFor(const LOGFONTW& description);
  // The font a device context holds: its selected font, else the system font.
  Font fontForHandle(HFONT font);

 private:
  using Request = std::tuple<std::u16string, BYTE, LONG, bool, LONG, LONG>;
  FaceKey resolve(const LOGFONTW& description);
  const FaceDesign& design(const std::string& path, int index);

  const FontMatcher& matcher_;
  std::map<Request, FaceKey> resolved_;
  std::map<std::pair<std::string, int>, FaceDesign> designs_;
  std::map<FaceKey, std::unique_ptr<FontFace>> faces_;
};

}  // namespace gdi
