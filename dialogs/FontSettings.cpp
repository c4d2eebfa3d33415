#include "dialogs/FontSettings.h"

#include <cstdint>

#include "browser/BrowserWnd.h"
#include "framework/CeRegKey.h"

namespace {

const WCHAR kKeyPath[] = u"Software\\Tarniwell\\Vantor";
const WCHAR kValueName[] = u"Font";
constexpr int kPointsPerInch = 72;

void CreateKey(CeRegKey* key) {
  key->Create(HKEY_LOCAL_MACHINE, kKeyPath, nullptr, 0, KEY_ALL_ACCESS, nullptr);
}

}  // namespace

bool FontSettings::Load() {
  CeRegKey key;
  CreateKey(&key);
  DWORD size = kRecordSize;
  const bool accepted = key.QueryValue(&record, kValueName, &size) == ERROR_SUCCESS && size == kRecordSize;
  key.Close();
  return accepted;
}

void FontSettings::Save() const {
  CeRegKey key;
  CreateKey(&key);
  key.SetBinaryValue(&record, kRecordSize, kValueName);
  key.Close();
}

int FontSettings::PointsFromHeight(LONG height, int pixelsPerInch) {
  if (pixelsPerInch <= 0) return 0;
  // A stored height may be anything, the most negative number included.
  const int64_t pixels = height < 0 ? -int64_t(height) : int64_t(height);
  return int((pixels * kPointsPerInch * 2 + pixelsPerInch) / (int64_t(pixelsPerInch) * 2));
}

int FontSettings::DisplayPixelsPerInch() {
  HDC screen = GetDC(nullptr);
  const int pixels = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The size the font dialog opens with comes from the stored height, so that
// OK without changes keeps the stored font.
void BrowserWnd::LoadFont() {
  FontSettings settings;
  if (!settings.Load()) return;
  HFONT font = CreateFontIndirectW(&settings.record);
  ApplyFont(font);
  if (font != nullptr) DeleteObject(font);
  listPointSize = FontSettings::PointsFromHeight(settings.record.lfHeight, FontSettings::DisplayPixelsPerInch());
}

void BrowserWnd::SaveFont() {
  FontSettings settings;
  if (listFont != nullptr && GetObjectW(listFont, sizeof(settings.record), &settings.record) != 0) settings.Save();
  PostQuitMessage(0);
}

// The panes get the new font before the old one is deleted, and the default
// font back (no font) rather than a deleted one when there is none.
void BrowserWnd::ApplyFont(HFONT font) {
  HFONT previous = listFont;
  listFont = nullptr;
  LOGFONTW record;
  if (font != nullptr && GetObjectW(font, sizeof(record), &record) == sizeof(record))
    listFont = CreateFontIndirectW(&record);
  SendMessageW(treeView, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), TRUE);
  SendMessageW(listView, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), TRUE);
  if (previous != nullptr) DeleteObject(previous);
}
