// Fonts: what CreateFontIndirectW keeps, how requests are matched to the
// installed faces, the metrics they give, and the enumeration of families.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "gdi/FontCache.h"
#include "gdi/FontMatcher.h"

namespace {

LOGFONTW describe(const char16_t* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0) {
  LOGFONTW f{};
  f.lfHeight = height;
  f.lfWeight = weight;
  f.lfItalic = italic;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) f.lfFaceName[i] = face[i];
  return f;
}

// Selects a font into a screen DC for the life of the object.
class Selected {
 public:
  explicit Selected(HFONT font) : font_(font), hdc_(GetDC(nullptr)), old_(SelectObject(hdc_, font)) {}
  explicit Selected(const LOGFONTW& f) : Selected(CreateFontIndirectW(&f)) {}
  ~Selected() {
    SelectObject(hdc_, old_);
    ReleaseDC(nullptr, hdc_);
    DeleteObject(font_);
  }
  HDC dc() const { return hdc_; }
  SIZE extent(std::u16string_view text) const {
    SIZE s{};
    EXPECT_TRUE(GetTextExtentPoint32W(hdc_, text.data(), static_cast<int>(text.size()), &s));
    return s;
  }
  TEXTMETRICW metrics() const {
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(hdc_, &tm));
    return tm;
  }

 private:
  HFONT font_;
  HDC hdc_;
  HGDIOBJ old_;
};

TEST(FontTest, GetObjectReturnsTheLogfontAsCreated) {
  LOGFONTW f{-17, 7, 10, 20, FW_BOLD, 1, 1, 1, ANSI_CHARSET, 3, 2, ANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN, u"Courier New"};
  // The same record through CreateFontW.
  HFONT again = CreateFontW(-17, 7, 10, 20, FW_BOLD, 1, 1, 1, ANSI_CHARSET, 3, 2, ANTIALIASED_QUALITY,
                            FIXED_PITCH | FF_MODERN, u"Courier New");
  for (HFONT font : {CreateFontIndirectW(&f), again}) {
    EXPECT_EQ(GetObjectW(font, 0, nullptr), 92);
    unsigned char bytes[96];
    std::memset(bytes, 0xAB, sizeof(bytes));
    ASSERT_EQ(GetObjectW(font, sizeof(bytes), bytes), 92);
    EXPECT_EQ(std::memcmp(bytes, &f, 92), 0);
    EXPECT_EQ(bytes[92], 0xAB) << "wrote past the record";
    DeleteObject(font);
  }
}

TEST(FontTest, BoldTenPointMeasuresWiderThanRegular) {
  // 10 points at 96 dots per inch. (A monospaced face keeps its pitch.)
  for (const char16_t* face : {u"Tahoma", u"Times New Roman"}) {
    Selected regular(describe(face, -13, FW_NORMAL));
    Selected bold(describe(face, -13, FW_BOLD));
    std::u16string_view text = u"Database Properties";
    EXPECT_GT(bold.extent(text).cx, regular.extent(text).cx) << std::u16string(face).size();
    EXPECT_EQ(bold.metrics().tmWeight, FW_BOLD);
    EXPECT_EQ(regular.metrics().tmWeight, FW_NORMAL);
  }
}

TEST(FontTest, HeightIsTheCharacterHeightWhenNegativeAndTheCellWhenPositiveAndTheSystemFontIsTahoma) {
  for (const char16_t* face : {u"Tahoma", u"Courier New", u"Times New Roman"}) {
    for (LONG pixels : {8, 11, 13, 16, 24, 40}) {
      Selected character(describe(face, -pixels));
      TEXTMETRICW tm = character.metrics();
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, pixels);
      EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
      EXPECT_EQ(character.extent(u"Ag").cy, tm.tmHeight);

      Selected cell(describe(face, pixels));
      EXPECT_NEAR(cell.metrics().tmHeight, pixels, 1);
    }
  }
  // The system font, which a fresh DC draws with, is Tahoma at 8 points.
  LOGFONTW system{};
  ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(system), &system), 92);
  EXPECT_EQ(std::u16string(system.lfFaceName), u"Tahoma");
  EXPECT_EQ(system.lfHeight, -11);
}

TEST(FontTest, UnknownFaceFallsBackToTheDefaultAndKeepsItsName) {
  LOGFONTW unknown = describe(u"No Such Face 42", -13);
  HFONT font = CreateFontIndirectW(&unknown);
  LOGFONTW back{};
  ASSERT_EQ(GetObjectW(font, sizeof(back), &back), 92);
  EXPECT_EQ(std::u16string(back.lfFaceName), u"No Such Face 42");

  std::u16string_view text = u"The quick brown fox, 0123456789";
  int fallback = Selected(font).extent(text).cx;
  EXPECT_EQ(fallback, Selected(describe(u"Tahoma", -13)).extent(text).cx);
  EXPECT_NE(fallback, Selected(describe(u"Courier New", -13)).extent(text).cx);
}

TEST(FontTest, HostileRecordsGiveUsableFonts) {
  // A stored record is read back from the registry as it was found there.
  LOGFONTW records[3] = {describe(u"", INT_MIN, -5), describe(u"", INT_MAX, INT_MAX, 0xFF), describe(u"\xD800", 0)};
  for (int i : {0, 1}) {
    records[i].lfWidth = records[i].lfHeight;
    for (WCHAR& c : records[i].lfFaceName) c = u'Z';  // no terminator
  }
  for (const LOGFONTW& record : records) {
    HFONT font = CreateFontIndirectW(&record);
    ASSERT_NE(font, nullptr);
    LOGFONTW back{};
    GetObjectW(font, sizeof(back), &back);
    EXPECT_EQ(back.lfFaceName[LF_FACESIZE - 1], 0);
    Selected s(font);
    TEXTMETRICW tm = s.metrics();
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_LE(tm.tmHeight, 2 * gdi::kMaxEmPixels);
    EXPECT_GE(s.extent(u"x").cx, 0);
    RECT r{0, 0, 50, 20};
    DrawTextW(s.dc(), u"Hostile", -1, &r, DT_SINGLELINE);
  }
}

// --- Enumeration ---------------------------------------------------------

struct Recorder { std::vector<std::u16string> names; size_t stopAfter = SIZE_MAX; };

int CALLBACK record(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lParam) {
  auto* r = reinterpret_cast<Recorder*>(lParam);
  auto* e = reinterpret_cast<const ENUMLOGFONTW*>(font);
  EXPECT_EQ(std::u16string(e->elfLogFont.lfFaceName), std::u16string(e->elfFullName));
  r->names.push_back(e->elfFullName);
  return r->names.size() >= r->stopAfter ? 0 : 1;
}

TEST(FontEnumerationTest, ListsEachFamilyOnceInAlphabeticalOrderAndStopsWhenTold) {
  HDC hdc = GetDC(nullptr);
  Recorder r;
  EXPECT_EQ(EnumFontFamiliesW(hdc, nullptr, record, reinterpret_cast<LPARAM>(&r)), 1);
  ASSERT_GE(r.names.size(), 3u);
  for (size_t i = 1; i < r.names.size(); ++i) EXPECT_TRUE(gdi::faceNameLess(r.names[i - 1], r.names[i])) << i;
  for (const char16_t* expected : {u"Tahoma", u"Courier New", u"Times New Roman", u"DejaVu Sans"})
    EXPECT_NE(std::find(r.names.begin(), r.names.end(), expected), r.names.end()) << r.names.size();
  // A callback that returns 0 stops the enumeration, and its 0 is the result.
  Recorder stopped;
  stopped.stopAfter = 2;
  EXPECT_EQ(EnumFontFamiliesW(hdc, nullptr, record, reinterpret_cast<LPARAM>(&stopped)), 0);
  EXPECT_EQ(stopped.names.size(), 2u);
  ReleaseDC(nullptr, hdc);
}

// --- Matching over a given set of installed fonts ----------------------------

gdi::FontStyle installed(const char16_t* family, const char16_t* style, int weight, bool italic) {
  gdi::FontStyle s;
  s.family = family;
  s.style = style;
  s.fullName = std::u16string(family) + u" " + style;
  s.weight = weight;
  s.italic = italic;
  s.path = "/fonts/" + std::to_string(weight) + (italic ? "i" : "") + std::to_string(std::u16string(family).size());
  return s;
}

TEST(FontMatcherTest, DeviceFacesResolveToLookAlikesAndUnknownOnesToTheDefault) {
  gdi::FontMatcher plain({installed(u"DejaVu Sans", u"Book", 400, false),
                          installed(u"DejaVu Sans Mono", u"Book", 400, false), installed(u"Zapf", u"Regular", 400, false)});
  gdi::FontMatcher narrow({installed(u"DejaVu Sans", u"Book", 400, false),
                           installed(u"DejaVu Sans Condensed", u"Book", 400, false),
                           installed(u"DejaVu Serif", u"Book", 400, false),
                           installed(u"DejaVu Serif Condensed", u"Bold", 700, false)});
  struct Case { const gdi::FontMatcher& matcher; const char16_t* face; unsigned pitchAndFamily; const char16_t* family; } cases[] = {
      {plain, u"Tahoma", 0, u"DejaVu Sans"}, {plain, u"tAHOMA", 0, u"DejaVu Sans"}, {plain, u"Courier New", 0, u"DejaVu Sans Mono"},
      {plain, u"Times New Roman", 0, u"DejaVu Sans"},  // no serif installed: the default
      {plain, u"zapf", 0, u"Zapf"},                     // installed: by its own name
      {plain, u"Nowhere", FIXED_PITCH, u"DejaVu Sans"}, {plain, u"", FIXED_PITCH, u"DejaVu Sans Mono"},
      {plain, u"", FF_MODERN, u"DejaVu Sans Mono"}, {plain, u"", 0, u"DejaVu Sans"},
      // Narrow device faces prefer the condensed look-alikes.
      {narrow, u"Tahoma", 0, u"DejaVu Sans Condensed"}, {narrow, u"Frutiger Linotype", 0, u"DejaVu Sans"},
      {narrow, u"Times New Roman", 0, u"DejaVu Serif Condensed"}, {narrow, u"No Such Face", 0, u"DejaVu Sans Condensed"}};
  for (const Case& c : cases)
    EXPECT_EQ(c.matcher.resolveFamily(c.face, c.pitchAndFamily), c.family) << std::u16string_view(c.face).size();
  // Listed: installed families and the device faces that have a look-alike.
  std::vector<std::u16string> expected = {u"Bookdings",   u"Courier New",      u"DejaVu Sans",
                                          u"DejaVu Sans Mono", u"Frutiger Linotype", u"Tahoma", u"Zapf"};
  EXPECT_EQ(plain.families(), expected);
}

TEST(FontMatcherTest, MissingWeightsAndSlantsAreMadeFromTheNearestFile) {
  gdi::FontMatcher m({installed(u"Plain", u"Regular", 400, false), installed(u"Full", u"Regular", 400, false),
                      installed(u"Full", u"Bold", 700, false), installed(u"Full", u"Italic", 400, true),
                      installed(u"Full", u"Light", 300, false)});
  gdi::FontFile boldItalicPlain = m.match(u"Plain", 0, FW_BOLD, true);
  EXPECT_TRUE(boldItalicPlain.embolden);
  EXPECT_TRUE(boldItalicPlain.oblique);
  gdi::FontFile bold = m.match(u"Full", 0, FW_BOLD, false);
  EXPECT_FALSE(bold.embolden);
  EXPECT_EQ(bold.path, installed(u"Full", u"", 700, false).path);
  // Italic and bold together: the italic file, emboldened (slant counts more).
  gdi::FontFile both = m.match(u"Full", 0, FW_BOLD, true);
  EXPECT_EQ(both.path, installed(u"Full", u"", 400, true).path);
  EXPECT_TRUE(both.embolden);
  // No default face installed: the first family stands in; nothing installed: no file.
  EXPECT_EQ(m.resolveFamily(u"Tahoma"), u"Full");
  EXPECT_TRUE(gdi::FontMatcher({}).match(u"Tahoma", 0, 400, false).path.empty());
}

}  // namespace
