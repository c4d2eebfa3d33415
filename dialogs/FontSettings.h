// The pane font as the registry keeps it: one LOGFONTW record of exactly 92
// bytes, value "Font" (REG_BINARY) of the key Software\Tarniwell\Vantor under
// HKEY_LOCAL_MACHINE. The main window's LoadFont, SaveFont and ApplyFont live
// with it.
#pragma once

#include <windows.h>

class FontSettings {
 public:
  static constexpr DWORD kRecordSize = sizeof(LOGFONTW);

  // Creates the key when it is missing. True when the value was there with
  // exactly kRecordSize bytes; the record is untrusted bytes all the same.
  bool Load();
  void Save() const;

  // The size in points of a font height in pixels (either sign), rounded to
  // the nearest point.
  static int PointsFromHeight(LONG height, int pixelsPerInch);
  // The display's pixels per logical inch, vertically.
  static int DisplayPixelsPerInch();

  LOGFONTW record = {};
};
