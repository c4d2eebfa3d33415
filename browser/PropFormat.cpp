#include "browser/PropFormat.h"

#include <climits>

namespace {

constexpr int kDateTimeChars = 32;
constexpr int kLastShownYear = 9999;

bool AppendDateOrTime(bool date, const SYSTEMTIME& time, CeString* text) {
  CeString part;
  WCHAR* buffer = part.BufferForWrite(kDateTimeChars);
  if (buffer == nullptr) return false;
  if (date)
    GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, kDateTimeChars);
  else
    GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, &time, nullptr, buffer, kDateTimeChars);
  part.CommitBuffer();
  text->Append(part);
  return true;
}

// The first property of the record with this number, whatever its type; -1
// when it has none.
int FindPropByNumber(const CachedRecord& record, WORD number) {
  if (record.props == nullptr) return -1;
  for (int i = 0; i < record.propCount; ++i)
    if (HIWORD(record.props[i].propid) == number) return i;
  return -1;
}

// The store's double and boolean get names of their own in a column's head,
// which the type names used elsewhere do not give them.
const WCHAR* ColumnTypeName(WORD type) {
  if (type == CEVT_R8) return u"Double";
  if (type == CEVT_BOOL) return u"Boolean";
  return PropTypeName(type);
}

}  // namespace

CeString FileTimeText(const FILETIME& time) {
  CeString text;
  SYSTEMTIME converted = {};
  if (!FileTimeToSystemTime(&time, &converted) || converted.wYear > kLastShownYear) return text;
  AppendDateOrTime(true, converted, &text);
  text.Append(u" ");
  AppendDateOrTime(false, converted, &text);
  return text;
}

CeString HexBytes(DWORD count, const BYTE* bytes) {
  static constexpr WCHAR kDigits[] = u"0123456789ABCDEF";
  CeString text;
  // An empty blob must not write through the shared empty text.
  if (count == 0 || bytes == nullptr || count > DWORD(INT_MAX / 3)) return text;
  WCHAR* out = text.BufferForWrite(int(count) * 3);
  if (out == nullptr) return text;
  for (DWORD i = 0; i < count; ++i) {
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 0xF];
    *out++ = u' ';
  }
  *out = 0;
  text.CommitBuffer();
  return text;
}

bool FormatProp(const CachedRecord& record, int position, CeString* text) {
  if (position < 0 || position >= record.propCount || record.props == nullptr) {
    text->Empty();
    return false;
  }
  const PropValue& prop = record.props[position];
  switch (TypeFromPropID(prop.propid)) {
    case CEVT_I2:
      text->SetInt16(prop.val.iVal, 10);
      return true;
    case CEVT_I4:
      text->SetInt32(prop.val.lVal, 10);
      return true;
    case CEVT_R8:
      text->SetFixed(prop.val.dblVal, 3);
      return true;
    case CEVT_BOOL:
      *text = prop.val.boolVal != 0 ? u"true" : u"false";
      return true;
    case CEVT_UI2:
      text->SetUInt32(prop.val.uiVal, 10);
      return true;
    case CEVT_UI4:
      text->SetUInt32(prop.val.ulVal, 10);
      return true;
    case CEVT_LPWSTR:
      *text = prop.val.lpwstr;
      return true;
    case CEVT_FILETIME:
      *text = FileTimeText(prop.val.filetime);
      return true;
    case CEVT_BLOB:
      *text = HexBytes(prop.val.blob.dwCount, prop.val.blob.lpb);
      return true;
    default:
      return false;
  }
}

void FormatCell(const CachedRecord& record, CEPROPID id, CeString* text) {
  text->Empty();
  FormatProp(record, FindPropByNumber(record, HIWORD(id)), text);
}

CeString ColumnHeader(CEPROPID id) {
  CeString header;
  header.Format(u"0x%04hx (%s)", HIWORD(id), ColumnTypeName(TypeFromPropID(id)));
  return header;
}

const WCHAR* PropTypeName(WORD type) {
  switch (type) {
    case 0:
      return u"Unspecified";
    case CEVT_I2:
      return u"Short";
    case CEVT_I4:
      return u"Int";
    case CEVT_UI2:
      return u"UShort";
    case CEVT_UI4:
      return u"UInt";
    case CEVT_LPWSTR:
      return u"String";
    case CEVT_FILETIME:
      return u"FileTime";
    case CEVT_BLOB:
      return u"Blob";
    default:
      return u"???";
  }
}
