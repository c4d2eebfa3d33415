// What the gallery's pieces share: the main window's status line, and the
// table of commands that open a page of the gallery (a dialog, a message
// box, a window of controls).
#pragma once

#include <windows.h>

// The line at the top of the main window saying what happened last; scripts
// read it from the window dump.
void SetStatus(HWND main, const WCHAR* text);
// The same, formatted as wsprintfW formats.
void SetStatusF(HWND main, const WCHAR* format, ...);

// Opens a page; command is the menu command that asked for it.
using PageOpener = void (*)(HWND main, UINT command);

// A page declares its command at start-up, one static object per command,
// in the page's own file:
//
//   static GalleryPage treePage(ID_CONTROLS_TREE, &OpenTreeWindow);
class GalleryPage {
 public:
  GalleryPage(UINT command, PageOpener open);
  GalleryPage(const GalleryPage&) = delete;
  GalleryPage& operator=(const GalleryPage&) = delete;

  // Opens the page of a command; false when no page has that command.
  static bool Open(HWND main, UINT command);

 private:
  UINT command_;
  PageOpener open_;
  GalleryPage* next_;
  // Zero before any constructor runs, so pages may register in any order.
  static GalleryPage* first_;
};

// The module's instance, for loading resources.
HINSTANCE GalleryInstance();

// Opens a window of controls over the main window, with the "ok" button in
// the navigation bar; its class is registered on first use. Null on failure.
HWND OpenPageWindow(HWND main, WNDPROC proc, const WCHAR* className, const WCHAR* title);
