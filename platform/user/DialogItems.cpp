// A dialog's controls by id: their texts, numbers, check marks and
// messages.
#include <climits>
#include <cstdint>
#include <string>

#include <windows.h>

namespace {

// Longer than any number with blanks around it that a person would type.
constexpr int kMaxNumberText = 64;

std::u16string decimal(uint64_t magnitude, bool negative) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude);
  if (negative) digits.insert(digits.begin(), u'-');
  return digits;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Blanks around the number are allowed; anything else spoils it.
bool parseInt(const std::u16string& text, bool isSigned, int64_t& value) {
  size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (isSigned && i < text.size() && text[i] == u'-') {
    negative = true;
    ++i;
  }
  uint64_t magnitude = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(text[i] - u'0');
    if (magnitude > UINT_MAX) return false;
  }
  while (i < text.size() && isBlank(text[i])) ++i;
  if (!digits || i != text.size()) return false;
  if (isSigned && magnitude > (negative ? uint64_t(INT_MAX) + 1 : uint64_t(INT_MAX))) return false;
  value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace

BOOL WINAPI SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextW(control, text) : FALSE;
}

UINT WINAPI GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (text && maxCount > 0) text[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(control, text, maxCount));
}

BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  bool negative = isSigned && static_cast<int>(value) < 0;
  uint64_t magnitude = negative ? uint64_t(-int64_t(static_cast<int>(value))) : value;
  return SetDlgItemTextW(dialog, id, decimal(magnitude, negative).c_str());
}

UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  int length = GetWindowTextLengthW(control);
  if (length > kMaxNumberText) return 0;
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  int64_t value = 0;
  if (!parseInt(text, isSigned != FALSE, value)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(value);
}

LRESULT WINAPI SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageW(control, msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return FALSE;
  SendMessageW(control, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}
