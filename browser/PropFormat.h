// The text of one property value of a cached record, as a cell shows it.
#pragma once

#include <windows.h>

#include "browser/RecordCache.h"
#include "framework/CeString.h"

// Sets *text to the property at position of the record. A position the
// record does not have empties the text and returns false; a type without a
// rendering returns false and leaves the text alone. A date that cannot be
// shown is an empty text (and true).
bool FormatProp(const CachedRecord& record, int position, CeString* text);

// The text of the column of property id for the record: the record's first
// property with that number, whatever its type; empty when it has none.
void FormatCell(const CachedRecord& record, CEPROPID id, CeString* text);

// The head of the column of property id: its number and type, "0x3a11 (String)".
CeString ColumnHeader(CEPROPID id);

// "01 AB " for the bytes 0x01, 0xAB: two upper-case digits and a space each.
CeString HexBytes(DWORD count, const BYTE* bytes);

// The date and time of a stored time as the device's short date, a space
// and the time without seconds; empty when it does not convert or lies
// past the year 9999. No time zone is applied.
CeString FileTimeText(const FILETIME& time);

// The name of a property type, "???" for one without a name.
const WCHAR* PropTypeName(WORD type);
