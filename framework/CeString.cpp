#include "framework/CeString.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

// Every empty string points here. It lives in read-only storage: its count
// stays 0 and nothing ever writes it.
struct EmptyBlock {
  CeStringData header;
  WCHAR terminator;
};
constexpr EmptyBlock kEmptyBlock = {{0, 0}, 0};

// Number conversions need at most 32 binary digits, a sign and a terminator.
constexpr int kNumberBufferSize = 34;
constexpr int kFormatBufferSize = 1024;
// Longest fixed-point text accepted: a double has at most 309 integer digits,
// so only a runtime fault could ask for more.
constexpr int kMaxFixedLength = 4096;

CeStringData* HeaderOf(WCHAR* text) {
  return reinterpret_cast<CeStringData*>(reinterpret_cast<char*>(text) - sizeof(CeStringData));
}

// Length of a NUL-terminated text, or -1 when it cannot be a string's length.
int TextLength(const WCHAR* text) {
  const size_t length = wcslen(text);
  return length > size_t(INT_MAX - 8) ? -1 : int(length);
}

}  // namespace

constinit WCHAR* const CeString::emptyText = const_cast<WCHAR*>(&kEmptyBlock.terminator);

CeString::CeString() : text(emptyText) {}

CeString::CeString(const WCHAR* textOrId) : text(emptyText) {
  if (textOrId != nullptr && IS_INTRESOURCE(textOrId))
    LoadFromResource(LOWORD(reinterpret_cast<UINT_PTR>(textOrId)));
  else
    Assign(textOrId, -1);
}

CeString::CeString(HWND window) : text(emptyText) { AssignWindowText(window); }

CeString::CeString(const CeString& other) : text(other.text) {
  if (!IsSharedEmpty()) InterlockedIncrement(&Header()->refs);
}

CeString::CeString(CeString&& other) noexcept : text(other.text) { other.text = emptyText; }

CeString::~CeString() { Empty(); }

CeString& CeString::operator=(const CeString& other) {
  Assign(other);
  return *this;
}

CeString& CeString::operator=(CeString&& other) noexcept {
  if (this != &other) {
    WCHAR* taken = other.text;
    other.text = emptyText;
    Install(taken);
  }
  return *this;
}

WCHAR* CeString::AllocData(int n) {
  auto* header = static_cast<CeStringData*>(std::malloc((size_t(n) + 5) * sizeof(WCHAR)));
  if (header == nullptr) return nullptr;
  header->refs = 1;
  header->length = n;
  auto* characters = reinterpret_cast<WCHAR*>(header + 1);
  characters[n] = 0;
  return characters;
}

void CeString::Release(WCHAR* blockText) {
  if (blockText == emptyText) return;
  CeStringData* header = HeaderOf(blockText);
  if (InterlockedDecrement(&header->refs) < 1) std::free(header);
}

// The new block is in place before the old one is let go, so the new content
// may have been built from the old.
void CeString::Install(WCHAR* blockText) {
  WCHAR* old = text;
  text = blockText;
  Release(old);
}

void CeString::Empty() { Install(emptyText); }

void CeString::Assign(const CeString& other) {
  if (text == other.text) return;
  if (other.text != emptyText) InterlockedIncrement(&HeaderOf(other.text)->refs);
  Install(other.text);
}

int CeString::AssignField(const WCHAR* field, int capacity) {
  int length = 0;
  while (field != nullptr && length < capacity && field[length] != 0) ++length;
  return Assign(field, length);
}

int CeString::Assign(const WCHAR* source, int count) {
  if (source == nullptr) {
    Empty();
    return 0;
  }
  if (count < 0) count = TextLength(source);
  if (count < 0) return 0;
  if (count == 0) {
    Empty();
    return 0;
  }
  WCHAR* block = AllocData(count);
  if (block == nullptr) return 0;
  std::memcpy(block, source, size_t(count) * sizeof(WCHAR));
  Install(block);
  return count;
}

int CeString::AssignWindowText(HWND window) {
  Empty();
  if (window == nullptr || !IsWindow(window)) return 0;
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return 0;
  WCHAR* block = AllocData(length);
  if (block == nullptr) return 0;
  block[0] = 0;
  const int copied = std::clamp(GetWindowTextW(window, block, length + 1), 0, length);
  block[copied] = 0;
  Install(block);
  // The length the window announced is only an upper bound.
  if (copied != length) CommitBuffer();
  return copied;
}

int CeString::LoadFromResource(UINT id, HINSTANCE module) {
  if (module == nullptr) module = GetModuleHandleW(nullptr);
  // With a null buffer the string table hands out its own counted text: not
  // terminated, its length in the word before it.
  const auto* entry = reinterpret_cast<const WCHAR*>(LoadStringW(module, id, nullptr, 0));
  if (entry == nullptr) return 0;
  const int length = reinterpret_cast<const WORD*>(entry)[-1];
  return Assign(entry, length);
}

void CeString::SetInt16(SHORT value, int radix) {
  WCHAR buffer[kNumberBufferSize] = {};
  _itow(value, buffer, radix);
  buffer[kNumberBufferSize - 1] = 0;
  Assign(buffer, -1);
}

void CeString::SetInt32(LONG value, int radix) {
  WCHAR buffer[kNumberBufferSize] = {};
  _ltow(value, buffer, radix);
  buffer[kNumberBufferSize - 1] = 0;
  Assign(buffer, -1);
}

CeString CeString::FromUInt32(ULONG value, int radix) {
  CeString text;
  text.SetUInt32(value, radix);
  return text;
}

void CeString::SetUInt32(ULONG value, int radix) {
  WCHAR buffer[kNumberBufferSize] = {};
  _ultow(value, buffer, radix);
  buffer[kNumberBufferSize - 1] = 0;
  Assign(buffer, -1);
}

// The text is measured first and built in a block of exactly that size, so
// huge values, infinities and NaN (which the runtime renders as digits with a
// '#') are shown whole and never overrun anything.
void CeString::SetFixed(double value, int decimals) {
  int point = 0;
  int sign = 0;
  const char* digits = _fcvt(value, decimals, &point, &sign);
  if (digits == nullptr) {
    Empty();
    return;
  }
  long long digitCount = 0;
  while (digitCount <= kMaxFixedLength && digits[digitCount] != 0) ++digitCount;
  const long long integerDigits = point > 0 ? point : 0;
  const long long fractionDigits = point > 0 ? std::max(0LL, digitCount - point) : digitCount - point;
  const long long length =
      (sign != 0 ? 1 : 0) + std::max(1LL, integerDigits) + (fractionDigits > 0 ? 1 + fractionDigits : 0);
  if (digitCount > kMaxFixedLength || length > kMaxFixedLength) {
    Empty();
    return;
  }
  WCHAR* block = AllocData(int(length));
  if (block == nullptr) return;
  WCHAR* out = block;
  if (sign != 0) *out++ = u'-';
  if (point > 0) {
    for (long long i = 0; i < point; ++i) *out++ = i < digitCount ? WCHAR(digits[i]) : u'0';
    if (fractionDigits > 0) {
      *out++ = u'.';
      for (long long i = point; i < digitCount; ++i) *out++ = WCHAR(digits[i]);
    }
  } else {
    *out++ = u'0';
    if (fractionDigits > 0) {
      *out++ = u'.';
      for (long long i = 0; i < -point; ++i) *out++ = u'0';
      for (long long i = 0; i < digitCount; ++i) *out++ = WCHAR(digits[i]);
    }
  }
  Install(block);
}

void CeString::SetSystemError(DWORD code) {
  WCHAR* systemText = nullptr;
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
                                      reinterpret_cast<LPWSTR>(&systemText), 0, nullptr);
  if (length > 0 && length <= DWORD(INT_MAX - 8) && systemText != nullptr)
    Assign(systemText, int(length));
  else
    Format(u"Error %d occured", code);
  if (systemText != nullptr) LocalFree(systemText);
}

void CeString::Format(const WCHAR* format, ...) {
  if (format == nullptr) {
    Empty();
    return;
  }
  WCHAR buffer[kFormatBufferSize];
  va_list args;
  va_start(args, format);
  const int written = wvsprintfW(buffer, format, args);
  va_end(args);
  // The runtime never writes more than the buffer holds; the count is
  // clamped all the same so a fault there cannot make this read past it.
  Assign(buffer, std::clamp(written, 0, kFormatBufferSize - 1));
}

void CeString::Append(const WCHAR* source, int count) {
  if (source == nullptr) return;
  if (count < 0) count = TextLength(source);
  if (count <= 0) return;
  if (IsSharedEmpty()) {
    Assign(source, count);
    return;
  }
  const int length = Length();
  if (count > INT_MAX - 8 - length) return;
  WCHAR* block = AllocData(length + count);
  if (block == nullptr) return;
  std::memcpy(block, text, size_t(length) * sizeof(WCHAR));
  std::memcpy(block + length, source, size_t(count) * sizeof(WCHAR));
  Install(block);
}

void CeString::Append(const CeString& other) { Append(other.text, other.Length()); }

bool CeString::MakeUnique() {
  if (IsSharedEmpty() || Header()->refs <= 1) return true;
  const int length = Length();
  WCHAR* block = AllocData(length);
  if (block == nullptr) return false;
  std::memcpy(block, text, size_t(length + 1) * sizeof(WCHAR));
  Install(block);
  return true;
}

WCHAR* CeString::BufferForWrite(int n) {
  if (n < 0) return nullptr;
  if (n == 0) {
    MakeUnique();
    return text;
  }
  if (n == Length()) return MakeUnique() ? text : nullptr;
  WCHAR* block = AllocData(n);
  if (block == nullptr) return nullptr;
  block[0] = 0;
  Install(block);
  return text;
}

void CeString::CommitBuffer() {
  if (IsSharedEmpty()) return;
  CeStringData* header = Header();
  const int stored = header->length;
  // What was written is measured within the block only: a writer that lost
  // the terminator cannot make this read beyond it.
  int written = 0;
  while (written < stored && text[written] != 0) ++written;
  if (written == stored) {
    if (header->refs == 1) text[stored] = 0;
    return;
  }
  if (written == 0) {
    Empty();
    return;
  }
  WCHAR* block = AllocData(written);
  if (block == nullptr) {
    // Keep the roomier block, still a valid string of the written length.
    if (header->refs == 1) header->length = written;
    return;
  }
  std::memcpy(block, text, size_t(written) * sizeof(WCHAR));
  Install(block);
}
