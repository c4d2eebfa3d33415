// Commands whose dialogs are not written yet: they do nothing.
#include "browser/BrowserWnd.h"

void BrowserWnd::OnDatabaseProperties() {}
void BrowserWnd::OnOptions() {}
void BrowserWnd::OnAbout() {}
void BrowserWnd::ApplyFont(HFONT) {}
void BrowserWnd::LoadFont() {}
void BrowserWnd::SaveFont() { PostQuitMessage(0); }
