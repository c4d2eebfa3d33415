#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "framework/CeString.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own query (its header ships with clang only).
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* p);
// Allocations above 1 GiB fail instead of ending the run, so that a heap
// that cannot supply a block is an ordinary test case.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=1024"; }
#endif

namespace {

std::u16string Str(const CeString& s) { return std::u16string(s.Text()); }

// The block header lies just before the text: count, then length.
LONG RefCount(const CeString& s) { return reinterpret_cast<const LONG*>(s.Text())[-2]; }
LONG LengthWord(const CeString& s) { return reinterpret_cast<const LONG*>(s.Text())[-1]; }

const WCHAR* EmptyText() {
  static CeString empty;
  return empty.Text();
}

// Bytes of the heap block behind a string, where the sanitizer can tell.
bool BlockBytes(const CeString& s, size_t* bytes) {
#if defined(__SANITIZE_ADDRESS__)
  const void* block = reinterpret_cast<const char*>(s.Text()) - 2 * sizeof(LONG);
  *bytes = __sanitizer_get_allocated_size(block);
  return true;
#else
  (void)s;
  (void)bytes;
  return false;
#endif
}

TEST(CeString, EmptyStringsShareOneBlockWhoseCountStaysZero) {
  CeString a;
  CeString b(a);
  CeString c(static_cast<const WCHAR*>(nullptr));
  CeString d(u"");
  c = a;
  CeString moved(static_cast<CeString&&>(b));
  {
    CeString temporary(a);
    temporary.Empty();
    temporary.Append(u"");
    temporary.Append(a);
  }
  for (const CeString* s : {&a, &b, &c, &d, &moved}) {
    EXPECT_EQ(s->Text(), EmptyText());
    EXPECT_EQ(s->Length(), 0);
    EXPECT_EQ(s->Text()[0], 0);
    EXPECT_EQ(RefCount(*s), 0);
  }
}

TEST(CeString, CopiesShareOneBlockCountedPerSharer) {
  CeString a(u"abc");
  EXPECT_EQ(RefCount(a), 1);
  EXPECT_EQ(LengthWord(a), 3);
  {
    CeString b(a);
    CeString c;
    c = b;
    EXPECT_EQ(b.Text(), a.Text());
    EXPECT_EQ(c.Text(), a.Text());
    EXPECT_EQ(RefCount(a), 3);
    // Assigning a string that already shares the block changes nothing.
    c = a;
    c.Assign(b);
    EXPECT_EQ(RefCount(a), 3);
    c = c;
    EXPECT_EQ(RefCount(a), 3);
  }
  EXPECT_EQ(RefCount(a), 1);
  EXPECT_EQ(Str(a), u"abc");
}

TEST(CeString, MovesHandTheBlockOverWithoutCounting) {
  CeString a(u"abc");
  const WCHAR* block = a.Text();
  CeString b(static_cast<CeString&&>(a));
  EXPECT_EQ(b.Text(), block);
  EXPECT_EQ(RefCount(b), 1);
  EXPECT_EQ(a.Text(), EmptyText());

  CeString sharer(b);
  CeString c(u"xyz");
  c = static_cast<CeString&&>(b);
  EXPECT_EQ(c.Text(), block);
  EXPECT_EQ(RefCount(c), 2);
  // Moving a string onto one that shares its block drops the mover's share.
  sharer = static_cast<CeString&&>(c);
  EXPECT_EQ(RefCount(sharer), 1);
  EXPECT_EQ(Str(sharer), u"abc");
}

TEST(CeString, BlocksHoldExactlyTheirText) {
  CeString s(u"hello");
  size_t bytes = 0;
  if (!BlockBytes(s, &bytes)) GTEST_SKIP() << "needs the address sanitizer to see block sizes";
  EXPECT_EQ(bytes, (5u + 5u) * 2u);
  s.Append(u", world");
  ASSERT_TRUE(BlockBytes(s, &bytes));
  EXPECT_EQ(bytes, (12u + 5u) * 2u);
}

TEST(CeString, AssignTakesCountedTextWithoutItsTerminator) {
  CeString s;
  EXPECT_EQ(s.Assign(u"abcdef", 3), 3);
  EXPECT_EQ(Str(s), u"abc");
  EXPECT_EQ(s.Assign(u"abcdef", 0), 0);
  EXPECT_EQ(s.Text(), EmptyText());
  EXPECT_EQ(s.Assign(u"abcdef", -1), 6);
  EXPECT_EQ(s.Assign(nullptr, 4), 0);
  EXPECT_EQ(s.Text(), EmptyText());
}

TEST(CeString, AssignFromItsOwnTextReadsNoFreedMemory) {
  CeString s(u"hello world");
  EXPECT_EQ(s.Assign(s.Text() + 6, -1), 5);
  EXPECT_EQ(Str(s), u"world");
  EXPECT_EQ(s.Assign(s.Text(), 3), 3);
  EXPECT_EQ(Str(s), u"wor");
  s.Format(u"[%s|%s]", s.Text(), s.Text());
  EXPECT_EQ(Str(s), u"[wor|wor]");
}

TEST(CeString, AppendBuildsNewBlocksAndLeavesEmptyAppendsAlone) {
  CeString s(u"ab");
  const WCHAR* block = s.Text();
  s.Append(u"");
  s.Append(CeString());
  s.Append(nullptr);
  s.Append(u"xyz", 0);
  EXPECT_EQ(s.Text(), block);

  CeString sharer(s);
  s.Append(u"cdef", 2);
  EXPECT_EQ(Str(s), u"abcd");
  EXPECT_EQ(Str(sharer), u"ab");
  EXPECT_EQ(RefCount(sharer), 1);

  CeString empty;
  empty.Append(sharer);
  EXPECT_NE(empty.Text(), sharer.Text());
  EXPECT_EQ(RefCount(empty), 1);
  EXPECT_EQ(Str(empty), u"ab");
}

TEST(CeString, AppendToItselfDoubles) {
  CeString s(u"abc");
  s.Append(s);
  EXPECT_EQ(Str(s), u"abcabc");
  s.Append(s.Text() + 3, -1);
  EXPECT_EQ(Str(s), u"abcabcabc");
  EXPECT_EQ(s.Length(), 9);
}

TEST(CeString, ConvertsNumbersInTheirRadix) {
  struct Case {
    const char* name;
    void (*convert)(CeString&);
    const char16_t* expected;
  };
  const Case cases[] = {
      {"int16 -1", [](CeString& s) { s.SetInt16(-1, 10); }, u"-1"},
      {"int16 min", [](CeString& s) { s.SetInt16(SHRT_MIN, 10); }, u"-32768"},
      {"int16 -1 hex widens its sign", [](CeString& s) { s.SetInt16(-1, 16); }, u"ffffffff"},
      {"int32 abcd", [](CeString& s) { s.SetInt32(0xABCD, 16); }, u"abcd"},
      {"int32 min", [](CeString& s) { s.SetInt32(INT_MIN, 10); }, u"-2147483648"},
      {"int32 zero", [](CeString& s) { s.SetInt32(0, 10); }, u"0"},
      {"uint32 max", [](CeString& s) { s.SetUInt32(0xFFFFFFFF, 10); }, u"4294967295"},
      {"uint32 max binary", [](CeString& s) { s.SetUInt32(0xFFFFFFFF, 2); }, u"11111111111111111111111111111111"},
      {"uint32 radix 36", [](CeString& s) { s.SetUInt32(35, 36); }, u"z"},
  };
  for (const Case& c : cases) {
    CeString s(u"previous");
    c.convert(s);
    EXPECT_EQ(Str(s), c.expected) << c.name;
    EXPECT_EQ(s.Length(), int(std::u16string(c.expected).size())) << c.name;
  }
}

TEST(CeString, SetFixedRendersTheDecimalsAsked) {
  struct Case {
    double value;
    int decimals;
    const char16_t* expected;
  };
  const Case cases[] = {
      {2.5, 3, u"2.500"},       {-2.5, 3, u"-2.500"},      {0.05, 3, u"0.050"},  {0.0, 3, u"0.000"},
      {1234.5678, 3, u"1234.568"}, {-0.0004, 3, u"-0.000"}, {0.9996, 3, u"1.000"}, {123.0, 0, u"123"},
  };
  for (const Case& c : cases) {
    CeString s;
    s.SetFixed(c.value, c.decimals);
    EXPECT_EQ(Str(s), c.expected) << c.value;
  }
}

TEST(CeString, SetFixedShowsHugeAndSpecialValuesWhole) {
  CeString s;
  s.SetFixed(1e30, 3);
  EXPECT_EQ(Str(s), u"1000000000000000000000000000000.000");

  s.SetFixed(-1e308, 3);
  ASSERT_EQ(s.Length(), 1 + 309 + 1 + 3);
  EXPECT_EQ(Str(s).substr(0, 3), u"-10");
  EXPECT_EQ(Str(s).substr(310), u".000");

  const double specials[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
  for (double value : specials) {
    s.SetFixed(value, 3);
    const std::u16string text = Str(s);
    EXPECT_NE(text.find(u"1.#"), std::u16string::npos) << value;
    EXPECT_LE(text.size(), 6u) << value;
    EXPECT_EQ(text[0] == u'-', value < 0) << value;
  }
}

TEST(CeString, SystemErrorUsesTheSystemTextOrNamesTheCode) {
  CeString s;
  s.SetSystemError(1234);
  EXPECT_EQ(Str(s), u"Error 1234 occured");

  s.SetSystemError(ERROR_FILE_NOT_FOUND);
  const std::u16string text = Str(s);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
  EXPECT_EQ(s.Length(), int(text.size()));
  EXPECT_EQ(text.find(u"Error 2 occured"), std::u16string::npos);
}

TEST(CeString, FormatIsBoundedToItsBuffer) {
  CeString s;
  s.Format(u"%s=%d (0x%04hx)", u"id", -7, 0x12345);
  EXPECT_EQ(Str(s), u"id=-7 (0x2345)");

  const std::u16string longText(3000, u'x');
  s.Format(u"%s", longText.c_str());
  EXPECT_EQ(s.Length(), 1023);
  EXPECT_EQ(Str(s), longText.substr(0, 1023));

  s.Format(u"");
  EXPECT_EQ(s.Text(), EmptyText());
}

TEST(CeString, BufferForWriteOnASharedBlockLeavesTheSharersAlone) {
  CeString original(u"abcd");
  CeString sharer(original);
  WCHAR* buffer = sharer.BufferForWrite(4);
  ASSERT_NE(buffer, nullptr);
  EXPECT_NE(buffer, original.Text());
  wcscpy(buffer, u"wxyz");
  sharer.CommitBuffer();
  EXPECT_EQ(Str(sharer), u"wxyz");
  EXPECT_EQ(Str(original), u"abcd");
  EXPECT_EQ(RefCount(original), 1);
  EXPECT_EQ(RefCount(sharer), 1);
}

TEST(CeString, CommitBufferFitsTheBlockToWhatWasWritten) {
  CeString s(u"old");
  CeString sharer(s);
  WCHAR* buffer = s.BufferForWrite(32);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(Str(sharer), u"old");
  wcscpy(buffer, u"0123456789");
  s.CommitBuffer();
  EXPECT_EQ(Str(s), u"0123456789");
  EXPECT_EQ(LengthWord(s), 10);
  EXPECT_EQ(RefCount(s), 1);
  size_t bytes = 0;
  if (BlockBytes(s, &bytes)) {
    EXPECT_EQ(bytes, (10u + 5u) * 2u);
  }

  buffer = s.BufferForWrite(32);
  ASSERT_NE(buffer, nullptr);
  buffer[0] = 0;
  s.CommitBuffer();
  EXPECT_EQ(s.Text(), EmptyText());
}

TEST(CeString, CommitBufferStaysInsideTheBlockWhenTheTerminatorWasLost) {
  CeString s;
  WCHAR* buffer = s.BufferForWrite(4);
  ASSERT_NE(buffer, nullptr);
  for (int i = 0; i <= 4; ++i) buffer[i] = u'a' + i;  // the terminator slot too
  s.CommitBuffer();
  EXPECT_EQ(s.Length(), 4);
  EXPECT_EQ(Str(s), u"abcd");
}

TEST(CeString, BufferForWriteOfNothingHandsOutTheTextUnchanged) {
  CeString empty;
  EXPECT_EQ(empty.BufferForWrite(0), EmptyText());
  CeString s(u"abc");
  CeString sharer(s);
  const WCHAR* text = s.BufferForWrite(0);
  EXPECT_EQ(Str(s), u"abc");
  EXPECT_EQ(text, s.Text());
  EXPECT_NE(text, sharer.Text());
  EXPECT_EQ(s.BufferForWrite(-1), nullptr);
}

TEST(CeString, LoadsStringTableEntries) {
  CeString fromId(MAKEINTRESOURCEW(100));
  EXPECT_EQ(Str(fromId), u"First");
  EXPECT_EQ(fromId.Length(), 5);

  CeString s(u"kept");
  EXPECT_EQ(s.LoadFromResource(102), 27);
  EXPECT_EQ(Str(s), u"Third, after an empty entry");
  EXPECT_EQ(s.LoadFromResource(2000, GetModuleHandleW(nullptr)), 22);
  EXPECT_EQ(Str(s), u"Entry of another block");
}

TEST(CeString, AnEmptyEntryGivesTheEmptyStringAndAMissingOneKeepsTheText) {
  CeString s(u"kept");
  EXPECT_EQ(s.LoadFromResource(5000), 0);
  EXPECT_EQ(Str(s), u"kept");

  EXPECT_EQ(s.LoadFromResource(101), 0);
  EXPECT_EQ(s.Text(), EmptyText());

  CeString fromEmptyEntry(MAKEINTRESOURCEW(101));
  EXPECT_EQ(fromEmptyEntry.Text(), EmptyText());
  CeString fromMissingEntry(MAKEINTRESOURCEW(5000));
  EXPECT_EQ(fromMissingEntry.Text(), EmptyText());
}

TEST(CeString, TakesTheTextOfAWindowAndNothingFromAHandleThatIsNone) {
  HWND labelled = CreateWindowExW(0, u"static", u"Hello", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND blank = CreateWindowExW(0, u"static", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(labelled, nullptr);
  ASSERT_NE(blank, nullptr);
  CeString fromWindow(labelled);
  EXPECT_EQ(Str(fromWindow), u"Hello");
  EXPECT_EQ(LengthWord(fromWindow), 5);

  CeString s(u"kept?");
  EXPECT_EQ(s.AssignWindowText(labelled), 5);
  EXPECT_EQ(Str(s), u"Hello");
  EXPECT_EQ(s.AssignWindowText(blank), 0);
  EXPECT_EQ(s.Text(), EmptyText());

  DestroyWindow(labelled);
  DestroyWindow(blank);
  s = u"kept?";
  EXPECT_EQ(s.AssignWindowText(labelled), 0);
  EXPECT_EQ(s.Text(), EmptyText());
  EXPECT_EQ(CeString(static_cast<HWND>(nullptr)).Text(), EmptyText());
}

TEST(CeString, AFailedAllocationLeavesTheStringAsItWas) {
#if !defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "needs the address sanitizer's allocation limit";
#else
  constexpr int kTooMany = INT_MAX - 16;
  CeString s(u"abc");
  CeString sharer(s);
  EXPECT_EQ(s.BufferForWrite(kTooMany), nullptr);
  EXPECT_EQ(s.Assign(u"xyz", kTooMany), 0);
  s.Append(u"xyz", kTooMany);
  EXPECT_EQ(Str(s), u"abc");
  EXPECT_EQ(s.Text(), sharer.Text());
  EXPECT_EQ(RefCount(s), 2);
#endif
}

}  // namespace
