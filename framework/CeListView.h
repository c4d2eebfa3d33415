// Texts in and out of a report list view, as the program's lists fill them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/CeString.h"

class CeListView {
 public:
  // A column with a header text only: default alignment and width.
  static void InsertTextColumn(HWND list, int index, const WCHAR* header);
  // A new last row with its first cell; the row's index.
  static int AppendRow(HWND list, const CeString& firstCell);
  static void SetCell(HWND list, int row, int column, const CeString& text);
};
