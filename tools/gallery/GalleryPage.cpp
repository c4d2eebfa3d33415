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
