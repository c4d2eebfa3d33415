#include "gdi/FontCache.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gdi/GdiObject.h"

namespace gdi {

namespace {

constexpr size_t kMaxRequests = 1024;

std::u16string faceName(const LOGFONTW& f) {
  std::u16string name;
  for (int i = 0; i < LF_FACESIZE && f.lfFaceName[i]; ++i) name.push_back(f.lfFaceName[i]);
  return name;
}

int clampPixels(long long pixels) { return static_cast<int>(std::clamp<long long>(pixels, 1, kMaxEmPixels)); }

}  // namespace

TEXTMETRICW Font::textMetrics() const {
  const FaceMetrics& m = metrics();
  TEXTMETRICW tm{};
  tm.tmHeight = m.height();
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = std::max(0, m.height() - m.emHeight);
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = weight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = italic ? 1 : 0;
  tm.tmUnderlined = underline ? 1 : 0;
  tm.tmStruckOut = strikeOut ? 1 : 0;
  BYTE family = pitchAndFamily & 0xF0;
  if (family == FF_DONTCARE) family = face->fixedPitch() ? FF_MODERN : FF_SWISS;
  // The low bit set means a variable-pitch font.
  tm.tmPitchAndFamily = static_cast<BYTE>(family | TMPF_VECTOR | TMPF_TRUETYPE |
                                          (face->fixedPitch() ? 0 : TMPF_FIXED_PITCH));
  tm.tmCharSet = charSet == SYMBOL_CHARSET ? SYMBOL_CHARSET : ANSI_CHARSET;
  return tm;
}

FontCache& FontCache::instance() {
  static auto* cache = new FontCache(FontMatcher::instance());
  return *cache;
}

FontCache::FontCache(const FontMatcher& matcher) : matcher_(matcher) {}

const FaceDesign& FontCache::design(const std::string& path, int index) {
  auto key = std::make_pair(path, index);
  auto found = designs_.find(key);
  if (found != designs_.end()) return found->second;
  FaceDesign d;
  readFaceDesign(path, index, d);
  return designs_.emplace(key, d).first->second;
}

FaceKey FontCache::resolve(const LOGFONTW& f) {
  std::u16string name = faceName(f);
  std::u16string folded = name;
  for (char16_t& c : folded)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  Request request{folded, f.lfPitchAndFamily, f.lfWeight, f.lfItalic != 0, f.lfHeight, f.lfWidth};
  auto found = resolved_.find(request);
  if (found != resolved_.end()) return found->second;

  FontFile file = matcher_.match(name, f.lfPitchAndFamily, f.lfWeight, f.lfItalic != 0);
  const FaceDesign& d = design(file.path, file.index);
  FaceKey key{file.path, file.index, 0, 0, file.embolden, file.oblique};
  long long height = f.lfHeight;
  if (height < 0)
    key.yPixels = clampPixels(-height);
  else if (height > 0)  // a cell height: the em is the part of it the design gives the em
    key.yPixels = clampPixels(std::llround(static_cast<double>(height) * d.unitsPerEm / std::max(1, d.ascent + d.descent)));
  else
    key.yPixels = kDefaultEmHeight;
  key.xPixels = key.yPixels;
  if (f.lfWidth != 0) {
    double natural = static_cast<double>(d.aveCharWidth > 0 ? d.aveCharWidth : d.unitsPerEm / 2) * key.yPixels /
                     std::max(1, d.unitsPerEm);
    long long width = std::llabs(static_cast<long long>(f.lfWidth));
    key.xPixels = clampPixels(std::llround(key.yPixels * static_cast<double>(width) / std::max(natural, 0.5)));
  }
  if (resolved_.size() >= kMaxRequests) resolved_.clear();
  resolved_.emplace(request, key);
  return key;
}

Font FontCache::fontFor(const LOGFONTW& description) {
  FaceKey key = resolve(description);
  auto found = faces_.find(key);
  if (found == faces_.end()) found = faces_.emplace(key, std::make_unique<FontFace>(key)).first;
  Font font;
  font.face = found->second.get();
  font.weight = description.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(description.lfWeight, 1000);
  font.italic = description.lfItalic != 0;
  font.underline = description.lfUnderline != 0;
  font.strikeOut = description.lfStrikeOut != 0;
  font.pitchAndFamily = description.lfPitchAndFamily;
  font.charSet = description.lfCharSet;
  return font;
}

Font FontCache::fontForHandle(HFONT handle) {
  GdiObject* object = objectFromHandle(handle);
  if (object && object->kind == ObjectKind::Font) return fontFor(object->font);
  return fontFor(systemFontDescription());
}

}  // namespace gdi
