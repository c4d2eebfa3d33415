// FormatMessageW: a message text from the system table or the caller,
// with its escapes and inserts processed, into the caller's buffer or a
// LocalAlloc'd one.
#include <algorithm>
#include <string>
#include <vector>

#include <windows.h>

#include "kernel/MessageTable.h"
#include "kernel/Printf.h"
#include "kernel/Resources.h"
#include "kernel/SystemMessages.h"

namespace {

constexpr int kMaxInserts = 99;
constexpr DWORD kMaxAllocation = 32 * 1024;  // characters

bool languageKnown(DWORD language) {
  WORD primary = language & 0x3FF;
  return language == 0 || primary == LANG_NEUTRAL || primary == 0x09;  // English
}

// The insert number at p ("1".."99"), advancing past it; 0 when there is none.
int insertNumber(const WCHAR*& p) {
  if (*p < u'1' || *p > u'9') return 0;
  int n = *p++ - u'0';
  if (*p >= u'0' && *p <= u'9') n = n * 10 + (*p++ - u'0');
  return n;
}

// The printf directive of an insert: "%" and the text between '!' marks, or "%s".
std::u16string insertDirective(const WCHAR*& p) {
  std::u16string directive = u"%";
  if (*p == u'!') {
    const WCHAR* end = p + 1;
    while (*end && *end != u'!') ++end;
    if (*end == u'!') {
      directive.append(p + 1, end);
      p = end + 1;
      return directive;
    }
  }
  return directive + u's';
}

int highestInsert(const WCHAR* text) {
  int highest = 0;
  for (const WCHAR* p = text; *p; ++p) {
    if (*p != u'%') continue;
    const WCHAR* q = p + 1;
    if (int n = insertNumber(q); n > highest) highest = n;
    if (p[1]) ++p;
  }
  return highest;
}

class MessageBuilder {
 public:
  MessageBuilder(DWORD flags, const std::vector<uintptr_t>& arguments) : flags_(flags), arguments_(arguments) {}

  // False when an insert has no argument to take.
  bool build(const WCHAR* text) {
    bool regularBreaks = (flags_ & FORMAT_MESSAGE_MAX_WIDTH_MASK) == 0;
    for (const WCHAR* p = text; *p;) {
      if (!regularBreaks && (*p == u'\r' || *p == u'\n')) {
        // The text's own line breaks give way to the caller's width.
        p += p[0] == u'\r' && p[1] == u'\n' ? 2 : 1;
        out_ += u' ';
        continue;
      }
      if (*p != u'%') {
        out_ += *p++;
        continue;
      }
      const WCHAR* start = p++;
      if (int n = insertNumber(p)) {
        std::u16string directive = insertDirective(p);
        if (flags_ & FORMAT_MESSAGE_IGNORE_INSERTS) {
          out_.append(start, p);
        } else if (size_t(n) > arguments_.size()) {
          return false;
        } else {
          appendInsert(directive, n);
        }
        continue;
      }
      switch (*p) {
        case u'0':
          return true;  // the text ends here, without a line break
        case u'n':
          out_ += u"\r\n";
          break;
        case u'r':
          out_ += u'\r';
          break;
        case u't':
          out_ += u'\t';
          break;
        case u'b':
          out_ += u' ';
          break;
        case 0:
          out_ += u'%';
          return true;
        default:  // "%%", "%.", "%!", "% " and the like: the character itself
          out_ += *p;
          break;
      }
      ++p;
    }
    return true;
  }

  // Breaks lines longer than width at spaces; hard breaks (%n) stay.
  void wrap(size_t width) {
    std::u16string wrapped;
    size_t lineStart = 0;
    size_t lastSpace = std::u16string::npos;
    for (char16_t c : out_) {
      wrapped += c;
      if (c == u'\r') continue;
      if (c == u'\n') {
        lineStart = wrapped.size();
        lastSpace = std::u16string::npos;
        continue;
      }
      if (c == u' ') lastSpace = wrapped.size() - 1;
      if (wrapped.size() - lineStart > width && lastSpace != std::u16string::npos && lastSpace >= lineStart) {
        wrapped.replace(lastSpace, 1, u"\r\n");
        lineStart = lastSpace + 2;
        lastSpace = std::u16string::npos;
      }
    }
    out_ = std::move(wrapped);
  }

  const std::u16string& text() const { return out_; }

 private:
  void appendInsert(const std::u16string& directive, int n) {
    kernel::ArrayArguments args(arguments_.data() + n - 1, arguments_.size() - size_t(n - 1));
    WCHAR piece[kernel::kPrintfLimit];
    size_t length = kernel::formatWide(piece, kernel::kPrintfLimit, directive.c_str(), args);
    out_.append(piece, length);
  }

  DWORD flags_;
  const std::vector<uintptr_t>& arguments_;
  std::u16string out_;
};

}  // namespace

DWORD WINAPI FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                            DWORD size, va_list* arguments) {
  if (!buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WCHAR* text = nullptr;
  std::u16string moduleText;
  if (flags & FORMAT_MESSAGE_FROM_STRING) {
    text = static_cast<const WCHAR*>(source);
    if (!text) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    if (!(flags & (FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM))) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if (!languageKnown(languageId)) {
      SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
      return 0;
    }
    if (flags & FORMAT_MESSAGE_FROM_HMODULE) {
      auto module = reinterpret_cast<HMODULE>(const_cast<void*>(source));
      const kernel::ResourceIndex* resources = kernel::moduleResources(module);
      if (!resources && !(flags & FORMAT_MESSAGE_FROM_SYSTEM)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
      }
      if (auto found = resources ? kernel::findMessage(*resources, messageId) : std::nullopt) {
        moduleText = std::move(*found);
        text = moduleText.c_str();
      }
    }
    // A module's table comes first; the system's texts back it up when asked for.
    if (!text && (flags & FORMAT_MESSAGE_FROM_SYSTEM)) text = kernel::systemMessage(messageId);
    if (!text) {
      SetLastError(ERROR_MR_MID_NOT_FOUND);
      return 0;
    }
  }

  std::vector<uintptr_t> values;
  if (!(flags & FORMAT_MESSAGE_IGNORE_INSERTS) && arguments) {
    int count = highestInsert(text);
    if (count > kMaxInserts) count = kMaxInserts;
    if (flags & FORMAT_MESSAGE_ARGUMENT_ARRAY) {
      auto* array = reinterpret_cast<const uintptr_t*>(arguments);
      values.assign(array, array + count);
    } else {
      for (int i = 0; i < count; ++i) values.push_back(va_arg(*arguments, uintptr_t));
    }
  }
  MessageBuilder builder(flags, values);
  if (!builder.build(text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD width = flags & FORMAT_MESSAGE_MAX_WIDTH_MASK;
  if (width && width != FORMAT_MESSAGE_MAX_WIDTH_MASK) builder.wrap(width);
  const std::u16string& message = builder.text();
  DWORD length = static_cast<DWORD>(message.size());

  WCHAR* out = buffer;
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    // The caller's size is a minimum, within the system's 64 KB for a message.
    DWORD chars = std::max(length + 1, std::min(size, kMaxAllocation));
    out = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, SIZE_T(chars) * sizeof(WCHAR)));
    if (!out) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    *reinterpret_cast<WCHAR**>(buffer) = out;
  } else if (length + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  message.copy(out, length);
  out[length] = 0;
  return length;
}
