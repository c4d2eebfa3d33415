// The framework's one string type: UTF-16 text in a reference-counted,
// exact-fit block shared between copies (copy on write).
#pragma once

#include <windows.h>

// The block a CeString points into. The string's text pointer points at the
// characters, so the length is the word just before the text and the count
// the word before that. A block holds exactly its text and a terminator.
struct CeStringData {
  LONG refs;    // CeString objects pointing here; 0 for the shared empty block
  LONG length;  // characters, without the terminator
  // WCHAR characters[length + 1] follow
};

// When the heap cannot supply a block, an operation leaves the string as it
// was and says so through its result where it has one (Assign and
// LoadFromResource return 0, BufferForWrite returns null). A string is always
// valid, and its text never null.
class CeString {
 public:
  CeString();
  // A non-null value below 0x10000 is a string-table identifier
  // (MAKEINTRESOURCE) loaded from the program's module; anything else is a
  // NUL-terminated text to copy. A null pointer gives the empty string.
  CeString(const WCHAR* textOrId);
  explicit CeString(HWND window);
  CeString(const CeString& other);
  CeString(CeString&& other) noexcept;
  virtual ~CeString();

  CeString& operator=(const CeString& other);
  CeString& operator=(CeString&& other) noexcept;

  const WCHAR* Text() const { return text; }
  int Length() const { return Header()->length; }

  void Empty();
  void Assign(const CeString& other);
  // count -1 (any negative count) means up to the terminator. Returns the
  // number of characters taken.
  int Assign(const WCHAR* source, int count = -1);
  // The text of a fixed-size field of capacity characters, which need not be
  // terminated within it (a stored name). Returns the characters taken.
  int AssignField(const WCHAR* field, int capacity);
  int AssignWindowText(HWND window);
  // module null means the program's own module. Returns the entry's length;
  // a missing entry returns 0 and keeps the string as it was.
  int LoadFromResource(UINT id, HINSTANCE module = nullptr);

  void SetInt16(SHORT value, int radix = 10);
  void SetInt32(LONG value, int radix = 10);
  void SetUInt32(ULONG value, int radix = 10);
  static CeString FromUInt32(ULONG value, int radix = 10);
  void SetFixed(double value, int decimals);
  void SetSystemError(DWORD code);
  void Format(const WCHAR* format, ...);

  void Append(const WCHAR* source, int count = -1);
  void Append(const CeString& other);

  // Gives the string a block of its own; false only when the heap failed.
  bool MakeUnique();
  // A buffer for up to n characters and a terminator, owned by this string;
  // null when no block could be had. n 0 returns the current text, which
  // must not be written.
  WCHAR* BufferForWrite(int n);
  // Takes the length of what was written into the buffer.
  void CommitBuffer();

 private:
  CeStringData* Header() const { return reinterpret_cast<CeStringData*>(text) - 1; }
  bool IsSharedEmpty() const { return text == emptyText; }
  void Install(WCHAR* blockText);
  static WCHAR* AllocData(int n);
  static void Release(WCHAR* blockText);

  WCHAR* text;

  static WCHAR* const emptyText;
};
