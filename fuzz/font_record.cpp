// A stored font record (92 bytes of LOGFONTW) comes back from the registry
// as it was found there, and text of any content is drawn with it: the font
// must be made, measured and drawn without fault, and measuring and drawing
// must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(LOGFONTW) + 4) return 0;
  LOGFONTW record;
  std::memcpy(&record, data, sizeof(record));
  data += sizeof(record);
  size -= sizeof(record);
  UINT format = 0;
  std::memcpy(&format, data, 4);
  data += 4;
  size -= 4;
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);

  HFONT font = CreateFontIndirectW(&record);
  if (!font) std::abort();
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, font);
  TEXTMETRICW tm{};
  if (!GetTextMetricsW(hdc, &tm) || tm.tmHeight <= 0) std::abort();
  SIZE extent{};
  GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &extent);
  if (extent.cx < 0 || extent.cy != tm.tmHeight) std::abort();

  UINT flags = format & 0xFFFF;
  RECT box{7, 9, 7 + static_cast<LONG>(format >> 24), 9 + static_cast<LONG>((format >> 16) & 0xFF)};
  RECT calc = box;
  int height = DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &calc, flags | DT_CALCRECT);
  if (!(flags & DT_TABSTOP) && (height < 0 || calc.bottom - calc.top != height)) std::abort();
  DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &box, flags);
  ExtTextOutW(hdc, -3, 5, ETO_CLIPPED | ETO_OPAQUE, &box, text.data(), static_cast<UINT>(text.size()), nullptr);

  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  DeleteObject(font);
  return 0;
}
