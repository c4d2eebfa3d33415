// The gallery's main window.
#pragma once

#include <windows.h>

constexpr const WCHAR* kGalleryClassName = u"GalleryWnd";
// The menu bar strip at the bottom of the screen.
constexpr int kMenuBarHeight = 26;

// Registers the class and makes the window; null when either fails.
HWND CreateGalleryWindow();
