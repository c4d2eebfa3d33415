// Creating, selecting, describing and deleting brushes, pens and fonts.
#include <cstring>

#include "gdi/Bitmap.h"
#include "gdi/DeviceContext.h"
#include "gdi/GdiObject.h"

using gdi::GdiObject;
using gdi::ObjectKind;

HGDIOBJ WINAPI GetStockObject(int index) { return gdi::stockObject(index); }

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  GdiObject brush;
  brush.kind = ObjectKind::Brush;
  brush.style = BS_SOLID;
  brush.color = color & 0x00FFFFFF;
  return static_cast<HBRUSH>(gdi::addObject(brush));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* description) {
  if (!description || (description->lbStyle != BS_SOLID && description->lbStyle != BS_NULL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject brush;
  brush.kind = ObjectKind::Brush;
  brush.style = description->lbStyle;
  brush.color = description->lbColor & 0x00FFFFFF;
  return static_cast<HBRUSH>(gdi::addObject(brush));
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_DASH && style != PS_NULL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject pen;
  pen.kind = ObjectKind::Pen;
  pen.style = static_cast<UINT>(style);
  pen.width = width < 1 ? 1 : width;
  pen.color = color & 0x00FFFFFF;
  return static_cast<HPEN>(gdi::addObject(pen));
}

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* description) {
  if (!description) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GdiObject font;
  font.kind = ObjectKind::Font;
  font.font = *description;
  font.font.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(gdi::addObject(font));
}

HFONT WINAPI CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                         DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                         DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
  LOGFONTW f{};
  f.lfHeight = height;
  f.lfWidth = width;
  f.lfEscapement = escapement;
  f.lfOrientation = orientation;
  f.lfWeight = weight;
  f.lfItalic = static_cast<BYTE>(italic);
  f.lfUnderline = static_cast<BYTE>(underline);
  f.lfStrikeOut = static_cast<BYTE>(strikeOut);
  f.lfCharSet = static_cast<BYTE>(charSet);
  f.lfOutPrecision = static_cast<BYTE>(outPrecision);
  f.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  f.lfQuality = static_cast<BYTE>(quality);
  f.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  for (int i = 0; faceName && faceName[i] && i < LF_FACESIZE - 1; ++i) f.lfFaceName[i] = faceName[i];
  return CreateFontIndirectW(&f);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return nullptr;
  HGDIOBJ previous = dc->select(object);
  if (!previous) SetLastError(ERROR_INVALID_HANDLE);
  return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  gdi::DeviceContext* dc = gdi::dcFromHandle(hdc);
  return dc ? dc->selected(type) : nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  GdiObject* o = gdi::objectFromHandle(object);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (o->permanent) return TRUE;
  // Deleting what a device context still holds would leave it dangling.
  if (o->selections > 0) return FALSE;
  gdi::objectTable().remove(object);
  return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ object) {
  if (gdi::DeviceContext* dc = gdi::dcFromHandle(static_cast<HDC>(object))) return dc->isMemory() ? OBJ_MEMDC : OBJ_DC;
  GdiObject* o = gdi::objectFromHandle(object);
  if (!o) return 0;
  switch (o->kind) {
    case ObjectKind::Brush:
      return OBJ_BRUSH;
    case ObjectKind::Pen:
      return OBJ_PEN;
    case ObjectKind::Font:
      return OBJ_FONT;
    case ObjectKind::Bitmap:
      return OBJ_BITMAP;
  }
  return 0;
}

int WINAPI GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  GdiObject* o = gdi::objectFromHandle(object);
  if (!o) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  auto copyOut = [&](const void* data, int bytes) {
    if (!buffer) return bytes;
    if (size < bytes) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    std::memcpy(buffer, data, static_cast<size_t>(bytes));
    return bytes;
  };
  switch (o->kind) {
    case ObjectKind::Brush: {
      LOGBRUSH b{o->style, o->color, 0};
      return copyOut(&b, sizeof(b));
    }
    case ObjectKind::Pen: {
      LOGPEN p{o->style, {o->width, 0}, o->color};
      return copyOut(&p, sizeof(p));
    }
    case ObjectKind::Font:
      return copyOut(&o->font, sizeof(o->font));
    case ObjectKind::Bitmap: {
      gdi::Bitmap& b = *o->bitmap;
      BITMAP bm{0, b.width, b.height, b.widthBytes(), 1, static_cast<WORD>(b.bitsPerPixel), b.callerBits()};
      return copyOut(&bm, sizeof(bm));
    }
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}
