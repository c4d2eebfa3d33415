#include "gdi/FontMatcher.h"

#include <algorithm>
#include <cstdlib>

#include <fontconfig/fontconfig.h>

#include "kernel/Utf.h"

namespace gdi {

// Installed families that stand for a device face, the closest first: the
// condensed DejaVu faces are as narrow as the device's Tahoma and Times.
struct LookAlike {
  std::u16string_view preferred;
  std::u16string_view otherwise;
};

namespace {

constexpr LookAlike kNarrowSans{u"DejaVu Sans Condensed", u"DejaVu Sans"};
constexpr LookAlike kSans{u"DejaVu Sans", u"DejaVu Sans Condensed"};
constexpr LookAlike kMono{u"DejaVu Sans Mono", u"DejaVu Sans Mono"};
constexpr LookAlike kNarrowSerif{u"DejaVu Serif Condensed", u"DejaVu Serif"};

struct DeviceFace {
  std::u16string_view name;
  LookAlike lookAlike;
  bool listed;  // one of the device's own fonts, enumerated as a family
};

constexpr DeviceFace kDeviceFaces[] = {
    {u"Tahoma", kNarrowSans, true},
    {u"Frutiger Linotype", kSans, true},
    {u"Bookdings", kSans, true},
    {u"Courier New", kMono, true},
    {u"Times New Roman", kNarrowSerif, true},
    // Names programs written for other Windows devices ask for.
    {u"Arial", kSans, false},
    {u"Helvetica", kSans, false},
    {u"MS Sans Serif", kNarrowSans, false},
    {u"System", kNarrowSans, false},
    {u"Courier", kMono, false},
    {u"Lucida Console", kMono, false},
    {u"Times", kNarrowSerif, false},
};

// What draws a face nobody has: the system font's look-alike.
constexpr LookAlike kDefault = kNarrowSans;

constexpr unsigned kFixedPitch = 1;
constexpr unsigned kFamilyRoman = 1 << 4;
constexpr unsigned kFamilyModern = 3 << 4;

char16_t foldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

int normalWeight(int weight) { return weight <= 0 ? 400 : std::min(weight, 1000); }

// Every name a pattern lists for a property; the last is the most specific
// (for "DejaVu Sans,DejaVu Sans Condensed" the family of that file alone).
std::vector<std::u16string> names(FcPattern* pattern, const char* object) {
  std::vector<std::u16string> out;
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern, object, i, &value) == FcResultMatch; ++i)
    out.push_back(kernel::utf8ToUtf16(reinterpret_cast<const char*>(value)));
  return out;
}

std::vector<FontStyle> listInstalled() {
  std::vector<FontStyle> styles;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return styles;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcObjectSet* objects =
      FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FULLNAME, FC_WEIGHT, FC_SLANT, FC_FILE, FC_INDEX, nullptr);
  FcFontSet* set = FcFontList(config, pattern, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    auto families = names(font, FC_FAMILY);
    FcChar8* file = nullptr;
    if (families.empty() || FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
    FontStyle style;
    style.family = families.back();
    auto styleNames = names(font, FC_STYLE);
    style.style = styleNames.empty() ? u"Regular" : styleNames.back();
    auto fullNames = names(font, FC_FULLNAME);
    style.fullName = fullNames.empty() ? style.family + u" " + style.style : fullNames.front();
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    style.weight = FcWeightToOpenType(weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    style.italic = slant != FC_SLANT_ROMAN;
    style.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &style.index);
    styles.push_back(std::move(style));
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return styles;
}

const DeviceFace* deviceFace(std::u16string_view name) {
  for (const DeviceFace& face : kDeviceFaces)
    if (sameFaceName(face.name, name)) return &face;
  return nullptr;
}

}  // namespace

bool sameFaceName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return foldCase(x) == foldCase(y); });
}

bool faceNameLess(std::u16string_view a, std::u16string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return foldCase(x) < foldCase(y); });
}

FontMatcher& FontMatcher::instance() {
  static auto* matcher = new FontMatcher(listInstalled());
  return *matcher;
}

FontMatcher::FontMatcher(std::vector<FontStyle> installed) : installed_(std::move(installed)) {
  std::sort(installed_.begin(), installed_.end(), [](const FontStyle& a, const FontStyle& b) {
    if (!sameFaceName(a.family, b.family)) return faceNameLess(a.family, b.family);
    if (a.italic != b.italic) return !a.italic;
    if (a.weight != b.weight) return a.weight < b.weight;
    return a.path < b.path;
  });
  for (const FontStyle& style : installed_)
    if (families_.empty() || !sameFaceName(families_.back(), style.family)) families_.push_back(style.family);
  for (const DeviceFace& face : kDeviceFaces)
    if (face.listed && !lookAlike(face.lookAlike).empty() && !installedFamily(face.name))
      families_.emplace_back(face.name);
  std::sort(families_.begin(), families_.end(), faceNameLess);
}

bool FontMatcher::installedFamily(std::u16string_view family) const {
  return std::any_of(installed_.begin(), installed_.end(),
                     [&](const FontStyle& s) { return sameFaceName(s.family, family); });
}

std::u16string FontMatcher::resolveFamily(std::u16string_view face, unsigned pitchAndFamily) const {
  if (installed_.empty()) return {};
  if (!face.empty() && installedFamily(face)) {
    for (const FontStyle& s : installed_)
      if (sameFaceName(s.family, face)) return s.family;
  }
  LookAlike wanted = kDefault;
  if (const DeviceFace* device = deviceFace(face)) {
    wanted = device->lookAlike;
  } else if (face.empty()) {
    if ((pitchAndFamily & 0x03) == kFixedPitch || (pitchAndFamily & 0xF0) == kFamilyModern)
      wanted = kMono;
    else if ((pitchAndFamily & 0xF0) == kFamilyRoman)
      wanted = kNarrowSerif;
  }
  std::u16string_view found = lookAlike(wanted);
  if (found.empty()) found = lookAlike(kDefault);
  if (!found.empty()) return std::u16string(found);
  return installed_.front().family;
}

std::u16string_view FontMatcher::lookAlike(const LookAlike& candidates) const {
  if (installedFamily(candidates.preferred)) return candidates.preferred;
  if (installedFamily(candidates.otherwise)) return candidates.otherwise;
  return {};
}

const FontStyle* FontMatcher::find(std::u16string_view family, int weight, bool italic) const {
  const FontStyle* best = nullptr;
  int bestScore = 0;
  for (const FontStyle& s : installed_) {
    if (!sameFaceName(s.family, family)) continue;
    // A wrong slant costs more than any difference of weight.
    int score = std::abs(s.weight - weight) + (s.italic != italic ? 10000 : 0);
    if (!best || score < bestScore) {
      best = &s;
      bestScore = score;
    }
  }
  return best;
}

FontFile FontMatcher::match(std::u16string_view face, unsigned pitchAndFamily, int weight, bool italic) const {
  FontFile file;
  weight = normalWeight(weight);
  file.family = resolveFamily(face, pitchAndFamily);
  const FontStyle* style = find(file.family, weight, italic);
  if (!style) return file;
  file.path = style->path;
  file.index = style->index;
  file.embolden = weight >= 600 && style->weight < 600;
  file.oblique = italic && !style->italic;
  return file;
}

std::vector<FontStyle> FontMatcher::styles(std::u16string_view family) const {
  std::vector<FontStyle> out;
  std::u16string_view installedName = family;
  const DeviceFace* device = installedFamily(family) ? nullptr : deviceFace(family);
  if (device) {
    if (!device->listed) return out;
    installedName = lookAlike(device->lookAlike);
    if (installedName.empty()) return out;
  }
  for (const FontStyle& s : installed_) {
    if (!sameFaceName(s.family, installedName)) continue;
    FontStyle style = s;
    if (device) {
      style.family = std::u16string(device->name);
      bool regular = s.weight < 600 && !s.italic;
      style.fullName = regular ? style.family : style.family + u" " + style.style;
    }
    out.push_back(std::move(style));
  }
  return out;
}

}  // namespace gdi
