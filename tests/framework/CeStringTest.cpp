#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <limits>
#include <string>
#include <tuple>

#include "framework/CeString.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own query (its header ships with clang only).
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* p);
// Allocations above 1 GiB fail instead of ending the run: a heap that cannot supply a block is a test case.
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

// A block holds exactly its text, terminator and header; only the sanitizer
// can tell a block's size.
void ExpectExactFit(const CeString& s) {
#if defined(__SANITIZE_ADDRESS__)
  const void* block = reinterpret_cast<const char*>(s.Text()) - 2 * sizeof(LONG);
  EXPECT_EQ(__sanitizer_get_allocated_size(block), (size_t(s.Length()) + 5) * 2) << "block of " << s.Length();
#else
  (void)s;
#endif
}

// What a test checks of a string at once: text, length word, share count.
std::tuple<std::u16string, LONG, LONG> State(const CeString& s) { return {Str(s), LengthWord(s), RefCount(s)}; }
std::tuple<std::u16string, LONG, LONG> State(const char16_t* text, LONG refs) {
  return {text, LONG(std::u16string(text).size()), refs};
}

TEST(CeString, EmptyStringsShareOneBlockWhoseCountStaysZero) {
  CeString a, b(a), c(static_cast<const WCHAR*>(nullptr)), d(u"");
  c = a;
  CeString moved(static_cast<CeString&&>(b));
  {
    CeString temporary(a);
    temporary.Empty();
    temporary.Append(u"");
    temporary.Append(a);
  }
  for (const CeString* s : {&a, &b, &c, &d, &moved})
    EXPECT_EQ(std::make_tuple(s->Text(), s->Length(), RefCount(*s)), std::make_tuple(EmptyText(), 0, 0));
}

TEST(CeString, CopiesShareOneBlockCountedPerSharerAndMovesHandItOver) {
  CeString a(u"abc");
  const WCHAR* block = a.Text();
  {
    CeString b(a), c;
    c = b;
    EXPECT_EQ(std::make_tuple(c.Text(), RefCount(a)), std::make_tuple(block, 3));
    // Assigning a string that already shares the block changes nothing.
    c = a;
    c.Assign(b);
    c = c;
    EXPECT_EQ(RefCount(a), 3);
  }
  EXPECT_EQ(RefCount(a), 1);

  CeString b(static_cast<CeString&&>(a));
  EXPECT_EQ(std::make_tuple(b.Text(), RefCount(b), a.Text()), std::make_tuple(block, 1, EmptyText()));
  CeString sharer(b), c(u"xyz");
  c = static_cast<CeString&&>(b);
  EXPECT_EQ(RefCount(c), 2);
  // Moving a string onto one that shares its block drops the mover's share.
  sharer = static_cast<CeString&&>(c);
  EXPECT_EQ(State(sharer), State(u"abc", 1));
}

TEST(CeString, AssignTakesCountedTextEvenFromItsOwnBlockAndFormatIsBoundedToItsBuffer) {
  CeString s;
  EXPECT_EQ(s.Assign(u"abcdef", 3), 3);
  EXPECT_EQ(State(s), State(u"abc", 1));
  EXPECT_EQ(s.Assign(u"abcdef", 0), 0);
  EXPECT_EQ(s.Text(), EmptyText());
  EXPECT_EQ(s.Assign(nullptr, 4), 0);
  EXPECT_EQ(s.Text(), EmptyText());

  s = u"hello world";
  EXPECT_EQ(s.Assign(s.Text() + 6, -1), 5);
  EXPECT_EQ(Str(s), u"world");
  EXPECT_EQ(s.Assign(s.Text(), 3), 3);
  EXPECT_EQ(Str(s), u"wor");
  s.Format(u"[%s|%s]", s.Text(), s.Text());
  EXPECT_EQ(Str(s), u"[wor|wor]");
  s.Format(u"%s=%d (0x%04hx)", u"id", -7, 0x12345);
  EXPECT_EQ(Str(s), u"id=-7 (0x2345)");
  const std::u16string longText(3000, u'x');
  s.Format(u"%s", longText.c_str());
  EXPECT_EQ(Str(s), longText.substr(0, 1023));
  s.Format(u"");
  EXPECT_EQ(s.Text(), EmptyText());
}

TEST(CeString, AppendBuildsAnExactBlockOfItsOwnEvenFromItself) {
  CeString s(u"ab");
  const WCHAR* block = s.Text();
  s.Append(u"");
  s.Append(CeString());
  s.Append(nullptr);
  s.Append(u"xyz", 0);
  EXPECT_EQ(s.Text(), block);

  CeString sharer(s);
  s.Append(u"cdef", 2);
  EXPECT_EQ(std::make_tuple(State(s), State(sharer)), std::make_tuple(State(u"abcd", 1), State(u"ab", 1)));
  ExpectExactFit(s);

  CeString empty;
  empty.Append(sharer);
  EXPECT_NE(empty.Text(), sharer.Text());
  EXPECT_EQ(RefCount(empty), 1);

  s.Append(s);
  EXPECT_EQ(Str(s), u"abcdabcd");
  s.Append(s.Text() + 6, -1);
  EXPECT_EQ(State(s), State(u"abcdabcdcd", 1));
  ExpectExactFit(s);
}

TEST(CeString, RendersNumbersInTheirRadixFixedDecimalsAndSystemErrors) {
  const std::tuple<char, int64_t, int, const char16_t*> cases[] = {  // 'h' SetInt16, 'i' SetInt32, 'u' SetUInt32
      {'h', -1, 10, u"-1"}, {'h', -1, 16, u"ffffffff"}, {'i', 0xABCD, 16, u"abcd"}, {'i', INT_MIN, 10, u"-2147483648"},
      {'i', 0, 10, u"0"},   {'u', 0xFFFFFFFF, 10, u"4294967295"},
      {'u', 0xFFFFFFFF, 2, u"11111111111111111111111111111111"},
  };
  for (auto [kind, value, radix, expected] : cases) {
    CeString s(u"previous");
    if (kind == 'h') s.SetInt16(short(value), radix);
    if (kind == 'i') s.SetInt32(int(value), radix);
    if (kind == 'u') s.SetUInt32(DWORD(value), radix);
    EXPECT_EQ(State(s), State(expected, 1)) << kind << value;
  }
  // Fixed decimals as asked, huge values whole.
  const std::tuple<double, int, const char16_t*> fixed[] = {
      {2.5, 3, u"2.500"},  {-2.5, 3, u"-2.500"}, {0.05, 3, u"0.050"}, {-0.0004, 3, u"-0.000"},
      {0.9996, 3, u"1.000"}, {123.0, 0, u"123"}, {1e30, 3, u"1000000000000000000000000000000.000"}};
  CeString s;
  for (auto [value, decimals, expected] : fixed) {
    s.SetFixed(value, decimals);
    EXPECT_EQ(Str(s), expected) << value;
  }
  s.SetFixed(-1e308, 3);
  ASSERT_EQ(s.Length(), 1 + 309 + 1 + 3);
  EXPECT_EQ(Str(s).substr(0, 3) + Str(s).substr(310), u"-10.000");

  for (double value : {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
    s.SetFixed(value, 3);
    const std::u16string text = Str(s);
    EXPECT_NE(text.find(u"1.#"), std::u16string::npos) << value;
    EXPECT_LE(text.size(), 6u) << value;
    EXPECT_EQ(text[0] == u'-', value < 0) << value;
  }
  // A system error: the system's text, or the code named.
  s.SetSystemError(1234);
  EXPECT_EQ(Str(s), u"Error 1234 occured");

  s.SetSystemError(ERROR_FILE_NOT_FOUND);
  const std::u16string text = Str(s);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
  EXPECT_EQ(s.Length(), int(text.size()));
  EXPECT_EQ(text.find(u"Error 2 occured"), std::u16string::npos);
}

TEST(CeString, BufferForWriteOnASharedBlockLeavesTheSharersAloneAndCommitFitsTheBlock) {
  CeString original(u"abcd"), s(original);
  WCHAR* buffer = s.BufferForWrite(32);
  ASSERT_NE(buffer, nullptr);
  EXPECT_NE(buffer, original.Text());
  wcscpy(buffer, u"0123456789");
  s.CommitBuffer();
  EXPECT_EQ(std::make_tuple(State(s), State(original)), std::make_tuple(State(u"0123456789", 1), State(u"abcd", 1)));
  ExpectExactFit(s);

  // A writer that lost the terminator: the text stops at the buffer's end.
  buffer = s.BufferForWrite(4);
  ASSERT_NE(buffer, nullptr);
  for (int i = 0; i <= 4; ++i) buffer[i] = u'a' + i;
  s.CommitBuffer();
  EXPECT_EQ(Str(s), u"abcd");

  buffer = s.BufferForWrite(32);
  ASSERT_NE(buffer, nullptr);
  buffer[0] = 0;
  s.CommitBuffer();
  EXPECT_EQ(s.Text(), EmptyText());

  // A buffer of nothing is the text itself, made unique.
  EXPECT_EQ(s.BufferForWrite(0), EmptyText());
  CeString sharer(original);
  const WCHAR* text = original.BufferForWrite(0);
  EXPECT_EQ(std::make_tuple(text, State(original)), std::make_tuple(original.Text(), State(u"abcd", 1)));
  EXPECT_NE(text, sharer.Text());
  EXPECT_EQ(original.BufferForWrite(-1), nullptr);
}

TEST(CeString, LoadsStringTableEntriesAndWindowTextsAndAnEmptyOneGivesTheEmptyString) {
  EXPECT_EQ(State(CeString(MAKEINTRESOURCEW(100))), State(u"First", 1));
  // Each load: its number, its module, the answer and the text then held.
  const std::tuple<UINT, HINSTANCE, int, const char16_t*> loads[] = {
      {5000, nullptr, 0, u"kept"},
      {102, nullptr, 27, u"Third, after an empty entry"},
      {2000, GetModuleHandleW(nullptr), 22, u"Entry of another block"},
      {101, nullptr, 0, u""}};
  CeString s(u"kept");
  for (auto [id, module, length, text] : loads) {
    EXPECT_EQ(s.LoadFromResource(id, module), length) << id;
    EXPECT_EQ(Str(s), text) << id;
  }
  EXPECT_EQ(s.Text(), EmptyText());
  EXPECT_EQ(CeString(MAKEINTRESOURCEW(101)).Text(), EmptyText());
  EXPECT_EQ(CeString(MAKEINTRESOURCEW(5000)).Text(), EmptyText());

  // The text of a window, and nothing from a handle that is none.
  HWND labelled = CreateWindowExW(0, u"static", u"Hello", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(labelled, nullptr);
  EXPECT_EQ(State(CeString(labelled)), State(u"Hello", 1));
  // An empty text, then a window that has gone.
  for (bool destroy : {false, true}) {
    SetWindowTextW(labelled, u"");
    if (destroy) DestroyWindow(labelled);
    CeString s(u"kept?");
    EXPECT_EQ(s.AssignWindowText(labelled), 0);
    EXPECT_EQ(s.Text(), EmptyText());
  }
  EXPECT_EQ(CeString(static_cast<HWND>(nullptr)).Text(), EmptyText());
}

TEST(CeString, AFailedAllocationLeavesTheStringAsItWas) {
#if !defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "needs the address sanitizer's allocation limit";
#else
  constexpr int kTooMany = INT_MAX - 16;
  CeString s(u"abc"), sharer(s);
  EXPECT_EQ(s.BufferForWrite(kTooMany), nullptr);
  EXPECT_EQ(s.Assign(u"xyz", kTooMany), 0);
  s.Append(u"xyz", kTooMany);
  EXPECT_EQ(std::make_tuple(State(s), s.Text()), std::make_tuple(State(u"abc", 2), sharer.Text()));
#endif
}

}  // namespace
