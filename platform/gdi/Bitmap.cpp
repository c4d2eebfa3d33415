#include "gdi/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "device/Device.h"
#include "gdi/GdiObject.h"
#include "gdi/Surface.h"
#include "kernel/Dib.h"
#include "kernel/Resources.h"

namespace gdi {

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

bool sizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width * height <= kMaxBitmapPixels;
}

HBITMAP addBitmap(std::shared_ptr<Bitmap> bitmap, bool permanent = false) {
  GdiObject object;
  object.kind = ObjectKind::Bitmap;
  object.bitmap = std::move(bitmap);
  object.permanent = permanent;
  return static_cast<HBITMAP>(addObject(std::move(object)));
}

// The colour a monochrome bitmap keeps for pixel: black or white by
// brightness.
uint32_t monochromeOf(uint32_t pixel) {
  uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return (r * 30 + g * 59 + b * 11) >= 128 * 100 ? kWhite : 0;
}

bool isDefaultRgb32(const DibFormat& f) {
  return f.bitsPerPixel == 32 && f.redMask == 0xFF0000 && f.greenMask == 0x00FF00 && f.blueMask == 0x0000FF;
}

}  // namespace

void* Bitmap::callerBits() {
  if (!dibSection) return nullptr;
  return dibBits.empty() ? static_cast<void*>(pixels.data()) : static_cast<void*>(dibBits.data());
}

int Bitmap::widthBytes() const {
  if (dibSection) return static_cast<int>(dibFormat.stride(width));
  // Device-dependent rows are padded to 16 bits.
  return ((width * bitsPerPixel + 15) / 16) * 2;
}

void Bitmap::pull() {
  if (!dibSection || dibBits.empty()) return;
  size_t stride = dibFormat.stride(width);
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = dibBits.data() + stride * static_cast<size_t>(y);
    uint32_t* dst = pixels.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) dst[x] = dibFormat.read(src, x);
  }
}

void Bitmap::commit(const RECT& rect) {
  RECT r = {std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min<LONG>(rect.right, width),
            std::min<LONG>(rect.bottom, height)};
  if (r.right <= r.left || r.bottom <= r.top) return;
  // Rows in storage order: bottom-up pixels and DIB bits share the order.
  auto storageRow = [&](int y) { return bottomUp ? height - 1 - y : y; };
  if (dibSection && !dibBits.empty()) {
    size_t stride = dibFormat.stride(width);
    for (int y = r.top; y < r.bottom; ++y) {
      int s = storageRow(y);
      uint8_t* dst = dibBits.data() + stride * static_cast<size_t>(s);
      uint32_t* src = pixels.data() + static_cast<size_t>(s) * width;
      for (int x = r.left; x < r.right; ++x) {
        dibFormat.write(dst, x, src[x]);
        src[x] = dibFormat.read(dst, x);  // what the bits can hold
      }
    }
  } else if (monochrome()) {
    for (int y = r.top; y < r.bottom; ++y) {
      uint32_t* p = pixels.data() + static_cast<size_t>(storageRow(y)) * width;
      for (int x = r.left; x < r.right; ++x) p[x] = monochromeOf(p[x]);
    }
  }
}

Bitmap* bitmapFromHandle(HGDIOBJ handle) {
  GdiObject* object = objectFromHandle(handle);
  if (!object || object->kind != ObjectKind::Bitmap) return nullptr;
  return object->bitmap.get();
}

HBITMAP createBitmap(int width, int height, int bitsPerPixel, uint32_t fill) {
  if (!sizeAcceptable(width, height)) return nullptr;
  auto bitmap = std::make_shared<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->bitsPerPixel = bitsPerPixel;
  bitmap->pixels.assign(static_cast<size_t>(width) * height, bitsPerPixel == 1 ? monochromeOf(fill) : fill);
  return addBitmap(std::move(bitmap));
}

HBITMAP createDibSection(const BITMAPINFO& info, void** bits) {
  DibFormat format;
  if (!dibFormatOf(info, format)) return nullptr;
  int64_t width = info.bmiHeader.biWidth;
  int64_t height = info.bmiHeader.biHeight;
  bool bottomUp = height > 0;
  if (height < 0) height = -height;
  if (!sizeAcceptable(width, height)) return nullptr;
  auto bitmap = std::make_shared<Bitmap>();
  bitmap->width = static_cast<int>(width);
  bitmap->height = static_cast<int>(height);
  bitmap->bitsPerPixel = format.bitsPerPixel;
  bitmap->bottomUp = bottomUp;
  bitmap->dibSection = true;
  bitmap->pixels.assign(static_cast<size_t>(width * height), 0);
  if (!isDefaultRgb32(format)) bitmap->dibBits.assign(format.stride(bitmap->width) * static_cast<size_t>(height), 0);
  bitmap->dibFormat = std::move(format);
  if (!bitmap->dibBits.empty()) bitmap->pull();
  Bitmap& b = *bitmap;
  HBITMAP handle = addBitmap(std::move(bitmap));
  if (handle && bits) *bits = b.callerBits();
  return handle;
}

HBITMAP defaultBitmap() {
  static HBITMAP bitmap = [] {
    auto b = std::make_shared<Bitmap>();
    b->width = 1;
    b->height = 1;
    b->bitsPerPixel = 1;
    b->pixels.assign(1, 0);
    return addBitmap(std::move(b), true);
  }();
  return bitmap;
}

HANDLE loadBitmapResource(HINSTANCE instance, LPCWSTR name, int width, int height, UINT flags) {
  if (instance && !kernel::moduleResources(instance)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto bytes = kernel::findResourceBytes(instance, RT_BITMAP, name);
  if (!bytes) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  kernel::DibImage image;
  if (!kernel::decodeDib(bytes->data(), bytes->size(), image)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  if (width <= 0) width = image.width;
  if (height <= 0) height = image.height;
  if (!sizeAcceptable(width, height)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = std::make_shared<Bitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bool mono = image.bitsPerPixel == 1 || (flags & LR_MONOCHROME);
  bitmap->bitsPerPixel = mono ? 1 : device::Device::instance().bitsPerPixel();  // a bitmap of the screen's depth
  bitmap->pixels.resize(static_cast<size_t>(width) * height);
  // Scaled to the requested size by nearest neighbour.
  for (int y = 0; y < height; ++y) {
    int sy = static_cast<int>(static_cast<int64_t>(y) * image.height / height);
    for (int x = 0; x < width; ++x) {
      int sx = static_cast<int>(static_cast<int64_t>(x) * image.width / width);
      bitmap->pixels[static_cast<size_t>(y) * width + x] =
          image.pixels[static_cast<size_t>(sy) * image.width + sx] & 0x00FFFFFF;
    }
  }
  bitmap->commit({0, 0, width, height});
  HBITMAP handle = addBitmap(std::move(bitmap));
  if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

}  // namespace gdi
