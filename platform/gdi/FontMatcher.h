// Which installed font file draws a requested face. The device's own faces
// ("Tahoma", "Courier New", ...) stand for installed look-alikes, any
// installed family answers to its own name, and anything else is drawn with
// the default face. The installed fonts are listed through fontconfig.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gdi {

struct LookAlike;

// One installed style of a family: a file (and the face inside it).
struct FontStyle {
  std::u16string family;
  std::u16string style;     // "Book", "Bold", "Oblique", ...
  std::u16string fullName;  // "DejaVu Sans Bold"
  int weight = 400;         // FW_* scale
  bool italic = false;
  std::string path;
  int index = 0;
};

// The file that draws a request, and what must be made of its glyphs
// because the family has no file of the requested weight or slant.
struct FontFile {
  std::u16string family;  // the installed family actually used
  std::string path;
  int index = 0;
  bool embolden = false;
  bool oblique = false;
};

class FontMatcher {
 public:
  // The matcher over the fonts fontconfig lists on this host.
  static FontMatcher& instance();
  // A matcher over a given list, for tests and for hosts without fontconfig.
  explicit FontMatcher(std::vector<FontStyle> installed);

  // Installed families and the device's faces whose look-alike is installed,
  // each once, in alphabetical order (case-insensitive).
  const std::vector<std::u16string>& families() const { return families_; }
  // The installed family that draws a face; pitchAndFamily picks the default
  // for an empty name (fixed pitch or modern: monospaced; roman: serif).
  // Empty when nothing at all is installed.
  std::u16string resolveFamily(std::u16string_view face, unsigned pitchAndFamily = 0) const;
  // The best file of that family for a weight (FW_*; 0 is normal) and slant.
  // An empty path when nothing is installed.
  FontFile match(std::u16string_view face, unsigned pitchAndFamily, int weight, bool italic) const;
  // The styles of one enumerated family (a device face lists its
  // look-alike's styles under its own name); empty for an unknown family.
  std::vector<FontStyle> styles(std::u16string_view family) const;

 private:
  const FontStyle* find(std::u16string_view family, int weight, bool italic) const;
  bool installedFamily(std::u16string_view family) const;
  // The first of the candidates that is installed; empty when none is.
  std::u16string_view lookAlike(const LookAlike& candidates) const;

  std::vector<FontStyle> installed_;
  std::vector<std::u16string> families_;
};

// Case-insensitive comparison of face names (ASCII letters fold).
bool sameFaceName(std::u16string_view a, std::u16string_view b);
bool faceNameLess(std::u16string_view a, std::u16string_view b);

}  // namespace gdi
