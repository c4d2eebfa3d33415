#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(WideString, CopyConcatenateAndMeasure) {
  WCHAR buffer[16];
  EXPECT_EQ(wcscpy(buffer, u"abc"), buffer);
  EXPECT_EQ(wcscat(buffer, u"def"), buffer);
  EXPECT_EQ(std::u16string(buffer), u"abcdef");
  EXPECT_EQ(wcslen(buffer), 6u);
  EXPECT_EQ(wcslen(u""), 0u);

  WCHAR padded[6] = {1, 1, 1, 1, 1, 1};
  wcsncpy(padded, u"ab", 5);
  EXPECT_EQ(std::u16string(padded, 6), std::u16string(u"ab\0\0\0\x01", 6));
  wcsncpy(padded, u"abcdefgh", 3);
  EXPECT_EQ(padded[2], u'c');
  EXPECT_EQ(padded[3], 0);
}

TEST(WideString, ComparisonsOrderByCodeUnit) {
  EXPECT_EQ(wcscmp(u"abc", u"abc"), 0);
  EXPECT_LT(wcscmp(u"abc", u"abd"), 0);
  EXPECT_GT(wcscmp(u"abc", u"ab"), 0);
  EXPECT_GT(wcscmp(u"\u00e9", u"z"), 0);
  EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 3), 0);
  EXPECT_EQ(_wcsicmp(u"Hello W\u00c9LT", u"hello w\u00e9lt"), 0);
  EXPECT_LT(_wcsicmp(u"apple", u"BANANA"), 0);
  EXPECT_EQ(_wcsnicmp(u"DATAbase", u"dataBANK", 6), 0);
  EXPECT_NE(_wcsnicmp(u"DATAbase", u"dataBANK", 7), 0);
}

TEST(WideString, Searching) {
  const WCHAR* s = u"a/b/c";
  EXPECT_EQ(wcschr(s, u'/'), s + 1);
  EXPECT_EQ(wcsrchr(s, u'/'), s + 3);
  EXPECT_EQ(wcschr(s, u'x'), nullptr);
  EXPECT_EQ(wcschr(s, 0), s + 5);
  EXPECT_EQ(wcsstr(s, u"b/c"), s + 2);
  EXPECT_EQ(wcsstr(s, u"c/"), nullptr);
  EXPECT_EQ(wcsstr(s, u""), s);
}

TEST(CaseMapping, LettersOfSeveralAlphabetsMapBothWays) {
  struct Pair {
    WCHAR upper;
    WCHAR lower;
  } pairs[] = {{u'A', u'a'},           {u'Z', u'z'},           {0x00C0, 0x00E0}, {0x00DE, 0x00FE},
               {0x0178, 0x00FF},       {0x0100, 0x0101},       {0x017D, 0x017E}, {0x0391, 0x03B1},
               {0x03A3, 0x03C3},       {0x0401, 0x0451},       {0x042F, 0x044F}, {0x0462, 0x0463},
               {0x0531, 0x0561},       {0x1E00, 0x1E01},       {0xFF21, 0xFF41}, {0x01F4, 0x01F5}};
  for (const Pair& p : pairs) {
    EXPECT_EQ(towlower(p.upper), p.lower) << std::hex << int(p.upper);
    EXPECT_EQ(towupper(p.lower), p.upper) << std::hex << int(p.lower);
  }
  // Characters without a case, and the ones between the runs, stay.
  for (WCHAR c : {u'0', u'@', u'[', WCHAR(0x00D7), WCHAR(0x00F7), WCHAR(0x00DF), WCHAR(0x4E2D), WCHAR(0xFFFF)}) {
    EXPECT_EQ(towlower(c), c) << std::hex << int(c);
    EXPECT_EQ(towupper(c), c) << std::hex << int(c);
  }
  EXPECT_EQ(towupper(WCHAR(0x03C2)), WCHAR(0x03A3));  // final sigma
  EXPECT_EQ(towupper(u'i'), u'I');
  EXPECT_EQ(towlower(u'I'), u'i');
}

TEST(Interlocked, ReturnsTheNewValueAndExchangeTheOld) {
  LONG volatile count = 1;
  EXPECT_EQ(InterlockedIncrement(&count), 2);
  EXPECT_EQ(InterlockedDecrement(&count), 1);
  EXPECT_EQ(InterlockedDecrement(&count), 0);
  EXPECT_EQ(InterlockedExchange(&count, 7), 0);
  EXPECT_EQ(count, 7);
}

}  // namespace
