#include <gtest/gtest.h>

#include "kernel/Utf.h"

namespace {

struct Case {
  const char* name;
  std::string utf8;
  std::u16string lenient;
  bool strictAccepts;
};

// Host text crosses into the device's UTF-16 here: options, scripts, files.
TEST(Utf8ToUtf16, LenientReplacesWhatStrictRefuses) {
  const Case cases[] = {
      {"ascii", "abc", u"abc", true},
      {"two-byte", "\xC3\xA9", u"\u00E9", true},
      {"astral", "\xF0\x9F\x98\x80", u"\U0001F600", true},
      {"overlong", "\xC0\xAF", u"\uFFFD\uFFFD", false},
      {"surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
      {"truncated", "a\xE2\x82", u"a\uFFFD\uFFFD", false},
      {"stray continuation", "\x80x", u"\uFFFDx", false},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(kernel::utf8ToUtf16(c.utf8), c.lenient);
    auto strict = kernel::utf8ToUtf16Strict(c.utf8);
    EXPECT_EQ(strict.has_value(), c.strictAccepts);
    if (strict) {
      EXPECT_EQ(*strict, c.lenient);
    }
  }
}

TEST(Utf16ToUtf8, PairsJoinAndLoneSurrogatesAreReplaced) {
  EXPECT_EQ(kernel::utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(kernel::utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(kernel::utf16ToUtf8(u"\u00E9"), "\xC3\xA9");
}

}  // namespace
