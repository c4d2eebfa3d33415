#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>

namespace {

TEST(WideString, ComparisonsOrderByCodeUnit) {
  struct Case {
    int (*compare)(const WCHAR*, const WCHAR*);
    const WCHAR* a;
    const WCHAR* b;
    int sign;
  } cases[] = {
      {wcscmp, u"abc", u"abc", 0},           {wcscmp, u"abc", u"abd", -1},
      {wcscmp, u"abc", u"ab", 1},            {wcscmp, u"\u00e9", u"z", 1},
      {_wcsicmp, u"Hello W\u00c9LT", u"hello w\u00e9lt", 0}, {_wcsicmp, u"apple", u"BANANA", -1},
      {[](const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, 6); }, u"DATAbase", u"dataBANK", 0},
      {[](const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, 7); }, u"DATAbase", u"dataBANK", 1},
      {[](const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, 7); }, u"DATABANK", u"database", -1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    int r = cases[i].compare(cases[i].a, cases[i].b);
    EXPECT_EQ((r > 0) - (r < 0), cases[i].sign) << "case " << i;
  }
}

TEST(CaseMapping, LettersOfSeveralAlphabetsMapBothWays) {
  struct Pair {
    WCHAR upper;
    WCHAR lower;
  } pairs[] = {{u'A', u'a'},     {0x00C0, 0x00E0}, {0x0178, 0x00FF}, {0x0100, 0x0101}, {0x0391, 0x03B1},
               {0x0401, 0x0451}, {0x0462, 0x0463}, {0x0531, 0x0561}, {0x1E00, 0x1E01}, {0xFF21, 0xFF41},
               // characters without a case map to themselves
               {u'@', u'@'},     {0x00D7, 0x00D7}, {0x00DF, 0x00DF}, {0x4E2D, 0x4E2D}};
  for (const Pair& p : pairs) {
    EXPECT_EQ(towlower(p.upper), p.lower) << std::hex << int(p.upper);
    EXPECT_EQ(towupper(p.lower), p.upper) << std::hex << int(p.lower);
  }
  EXPECT_EQ(towupper(WCHAR(0x03C2)), WCHAR(0x03A3));  // final sigma
}

}  // namespace
