#include "Gallery.h"

GalleryPage* GalleryPage::first_ = nullptr;

GalleryPage::GalleryPage(UINT command, PageOpener open) : command_(command), open_(open), next_(first_) {
  first_ = this;
}

bool GalleryPage::Open(HWND main, UINT command) {
  for (GalleryPage* page = first_; page != nullptr; page = page->next_) {
    if (page->command_ != command) continue;
    page->open_(main, command);
    return true;
  }
  return false;
}

HINSTANCE GalleryInstance() { return GetModuleHandleW(nullptr); }

HWND OpenPageWindow(HWND main, WNDPROC proc, const WCHAR* className, const WCHAR* title) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GalleryInstance();
  wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = className;
  RegisterClassW(&wc);  // already registered when the page was opened before
  RECT area = {};
  GetWindowRect(main, &area);
  return CreateWindowExW(WS_EX_CAPTIONOKBTN, className, title, WS_VISIBLE, area.left, area.top,
                         area.right - area.left, area.bottom - area.top, main, nullptr, GalleryInstance(), nullptr);
}
