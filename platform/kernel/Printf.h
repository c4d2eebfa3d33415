// The runtime's printf-style formatter behind wsprintfW and the inserts of
// FormatMessageW. Arguments come from a va_list or from an array of
// pointer-sized values; either way they are read one directive at a time.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include <windef.h>

namespace kernel {

class PrintfArguments {
 public:
  virtual ~PrintfArguments() = default;
  virtual int32_t nextInt() = 0;
  virtual const void* nextPointer() = 0;
};

class VaListArguments : public PrintfArguments {
 public:
  explicit VaListArguments(va_list args) { va_copy(args_, args); }
  ~VaListArguments() override { va_end(args_); }
  int32_t nextInt() override { return va_arg(args_, int32_t); }
  const void* nextPointer() override { return va_arg(args_, const void*); }

 private:
  va_list args_;
};

// Values the caller packed one per pointer-sized slot.
class ArrayArguments : public PrintfArguments {
 public:
  ArrayArguments(const uintptr_t* values, size_t count) : values_(values), count_(count) {}
  int32_t nextInt() override { return static_cast<int32_t>(next()); }
  const void* nextPointer() override { return reinterpret_cast<const void*>(next()); }

 private:
  uintptr_t next() { return index_ < count_ ? values_[index_++] : 0; }
  const uintptr_t* values_;
  size_t count_;
  size_t index_ = 0;
};

// The most wvsprintfW writes, terminator included.
constexpr size_t kPrintfLimit = 1024;

// Writes at most capacity - 1 characters and a terminator (nothing when
// capacity is 0); returns the count written without the terminator.
size_t formatWide(WCHAR* out, size_t capacity, const WCHAR* format, PrintfArguments& args);

}  // namespace kernel
