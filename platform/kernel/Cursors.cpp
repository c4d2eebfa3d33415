#include "kernel/Cursors.h"

#include <windows.h>

#include "kernel/Icons.h"

namespace {

struct SystemCursor {
  WORD id;
  const char* name;
};

constexpr SystemCursor kSystemCursors[] = {
    {32512, "arrow"}, {32513, "ibeam"},  {32514, "wait"},    {32515, "cross"},
    {32644, "sizewe"}, {32645, "sizens"}, {32646, "sizeall"}, {32648, "no"},
};
constexpr int kCursorCount = sizeof kSystemCursors / sizeof kSystemCursors[0];

// The system cursors are created once, on first use, and live for the run.
HCURSOR systemCursor(int index) {
  static HCURSOR* handles = [] {
    static HCURSOR table[kCursorCount];
    for (int i = 0; i < kCursorCount; ++i) {
      // The stylus has no pointer on screen: a system cursor is its name.
      kernel::Icon cursor;
      cursor.cursorName = kSystemCursors[i].name;
      cursor.shared = true;
      table[i] = kernel::addIcon(std::move(cursor));
    }
    return table;
  }();
  return handles[index];
}

HCURSOR& currentCursor() {
  // The device starts with the arrow, as the shell leaves it.
  static HCURSOR cursor = systemCursor(0);
  return cursor;
}

}  // namespace

namespace kernel {

const char* cursorName() {
  HCURSOR cursor = currentCursor();
  if (!cursor) return "none";
  const Icon* icon = iconFromHandle(cursor);
  return icon && icon->cursorName ? icon->cursorName : "custom";
}

}  // namespace kernel

HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  if (!instance && IS_INTRESOURCE(name)) {
    for (int i = 0; i < kCursorCount; ++i)
      if (kSystemCursors[i].id == LOWORD(name)) return systemCursor(i);
  }
  // Cursor resources of a module are not among the program's resources.
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  if (cursor && !kernel::iconFromHandle(cursor)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HCURSOR previous = currentCursor();
  currentCursor() = cursor;
  return previous;
}

HCURSOR WINAPI GetCursor() { return currentCursor(); }
