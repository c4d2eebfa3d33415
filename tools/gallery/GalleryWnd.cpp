// The gallery's main window: a status line, a hint, the menu bar, and a
// popup menu wherever the stylus taps the rest of the window.
#include <aygshell.h>

#include "Gallery.h"
#include "GalleryWnd.h"
#include "gallery_ids.h"

namespace {

constexpr int kMargin = 4;
constexpr int kStatusHeight = 32;
constexpr int kHintHeight = 44;

// Follows the input panel as Vantor's main window does.
SHACTIVATEINFO activateInfo = {};

HWND MakeLine(HWND main, int id, int top, int height, const WCHAR* text) {
  RECT client = {};
  GetClientRect(main, &client);
  return CreateWindowExW(0, u"static", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin, top,
                         client.right - 2 * kMargin, height, main, reinterpret_cast<HMENU>(UINT_PTR(id)),
                         GalleryInstance(), nullptr);
}

bool MakeMenuBar(HWND main) {
  SHMENUBARINFO info = {};
  info.cbSize = sizeof(info);
  info.hwndParent = main;
  info.nToolBarId = IDM_GALLERY;
  info.hInstRes = GalleryInstance();
  return SHCreateMenuBar(&info) != FALSE;
}

// The popup menu of the gallery at a screen point. With returnCommand the
// choice comes back as the result; otherwise it arrives as WM_COMMAND.
void TrackPopup(HWND main, POINT at, bool returnCommand) {
  HMENU menu = LoadMenuW(GalleryInstance(), MAKEINTRESOURCEW(IDM_GALLERY_POPUP));
  if (menu == nullptr) {
    SetStatus(main, u"LoadMenuW failed");
    return;
  }
  HMENU popup = GetSubMenu(menu, 0);
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | (returnCommand ? TPM_RETURNCMD : 0);
  const BOOL chosen = TrackPopupMenuEx(popup, flags, at.x, at.y, main, nullptr);
  if (returnCommand) SetStatusF(main, u"Popup menu returned %d", chosen);
  DestroyMenu(menu);
}

// Close ends the gallery: its window goes, and its WM_DESTROY ends the loop.
void CloseGallery(HWND main) { DestroyWindow(main); }

void OnCreate(HWND main) {
  MakeLine(main, IDC_STATUS, kMargin, kStatusHeight, u"Ready");
  MakeLine(main, IDC_HINT, kMargin + kStatusHeight, kHintHeight,
           u"The menu bar opens dialogs, message boxes and controls. Tap below for a popup menu.");
  if (!MakeMenuBar(main)) SetStatus(main, u"SHCreateMenuBar Failed");
}

void OnCommand(HWND main, UINT command) {
  switch (command) {
    case ID_CLOSE:
      CloseGallery(main);
      return;
    case ID_POPUP_MENU: {
      RECT client = {};
      GetClientRect(main, &client);
      POINT centre = {client.right / 2, client.bottom / 2};
      ClientToScreen(main, &centre);
      TrackPopup(main, centre, true);
      return;
    }
    case ID_POPUP_FIRST:
    case ID_POPUP_SECOND:
    case ID_POPUP_DISABLED:
    case ID_POPUP_CHECKED:
      SetStatusF(main, u"Popup menu sent %d", command);
      return;
    default:
      if (!GalleryPage::Open(main, command)) SetStatusF(main, u"Command %d", command);
      return;
  }
}

LRESULT CALLBACK GalleryProc(HWND main, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(main);
      return 0;
    case WM_COMMAND:
      OnCommand(main, LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN: {
      POINT at = {SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))};
      ClientToScreen(main, &at);
      TrackPopup(main, at, false);
      return 0;
    }
    case WM_SETTINGCHANGE:
      activateInfo.cbSize = sizeof(activateInfo);
      SHHandleWMSettingChange(main, wParam, lParam, &activateInfo);
      return 0;
    case WM_CLOSE:
      CloseGallery(main);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(main, message, wParam, lParam);
  }
}

}  // namespace

void SetStatus(HWND main, const WCHAR* text) { SetDlgItemTextW(main, IDC_STATUS, text); }

void SetStatusF(HWND main, const WCHAR* format, ...) {
  WCHAR text[256];
  va_list args;
  va_start(args, format);
  wvsprintfW(text, format, args);
  va_end(args);
  SetStatus(main, text);
}

HWND CreateGalleryWindow() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &GalleryProc;
  wc.hInstance = GalleryInstance();
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kGalleryClassName;
  if (RegisterClassW(&wc) == 0) return nullptr;

  // The visible desktop, less the menu bar unless the input panel covers it.
  SIPINFO sip = {};
  sip.cbSize = sizeof(sip);
  RECT area = {0, 0, CW_USEDEFAULT, CW_USEDEFAULT};
  int height = CW_USEDEFAULT;
  if (SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0)) {
    area = sip.rcVisibleDesktop;
    height = area.bottom - area.top - ((sip.fdwFlags & SIPF_ON) != 0 ? 0 : kMenuBarHeight);
  }
  return CreateWindowExW(0, kGalleryClassName, u"Gallery", WS_VISIBLE, area.left, area.top,
                         area.right - area.left, height, nullptr, nullptr, GalleryInstance(), nullptr);
}
