// LoadImageW and LoadIconW. Shared icons (LR_SHARED, LoadIconW) are loaded
// once per name and size and live for the run.
#include <map>
#include <tuple>

#include <windows.h>

#include "kernel/IconResources.h"
#include "kernel/Images.h"
#include "kernel/Resources.h"
#include "kernel/SystemIcons.h"

namespace kernel {
namespace {

// The device's SM_CXICON; its small icons (SM_CXSMICON) are 16.
constexpr int kIconSize = 32;
// Larger requests are refused rather than scaled into gigabytes.
constexpr int kMaxImageSide = 4096;

BitmapLoader& bitmapLoader() {
  static BitmapLoader loader = nullptr;
  return loader;
}

using SharedKey = std::tuple<HMODULE, WORD, std::u16string, int, int>;

std::map<SharedKey, HICON>& sharedIcons() {
  static auto* icons = new std::map<SharedKey, HICON>;
  return *icons;
}

// Without an instance the name is one of the system's icons, which are
// always shared.
HICON loadIcon(HINSTANCE instance, LPCWSTR name, int width, int height, UINT flags) {
  const ResourceIndex* resources = instance ? moduleResources(instance) : nullptr;
  if (instance && !resources) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto group = ResourceName::fromArgument(name);
  if (!group) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if ((flags & LR_DEFAULTSIZE) || !instance) {
    if (width == 0) width = kIconSize;
    if (height == 0) height = kIconSize;
  }
  if (!instance) flags |= LR_SHARED;
  SharedKey key{instance, group->ordinal, group->name, width, height};
  if (flags & LR_SHARED) {
    auto it = sharedIcons().find(key);
    if (it != sharedIcons().end()) return it->second;
  }
  std::optional<Icon> icon;
  if (!instance) {
    if (group->name.empty() && width == height) icon = drawSystemIcon(group->ordinal, width);
  } else {
    icon = loadIconResource(*resources, *group, width, height);
  }
  if (!icon) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  icon->shared = (flags & LR_SHARED) != 0;
  HICON handle = addIcon(std::move(*icon));
  if (!handle) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & LR_SHARED) sharedIcons()[key] = handle;
  return handle;
}

}  // namespace

void setBitmapLoader(BitmapLoader loader) { bitmapLoader() = loader; }

}  // namespace kernel

HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
  if (cx < 0 || cy < 0 || cx > kernel::kMaxImageSide || cy > kernel::kMaxImageSide) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (flags & LR_LOADFROMFILE) {
    // The device's programs load their images from their own resources.
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  switch (type) {
    case IMAGE_ICON:
      return kernel::loadIcon(instance, name, cx, cy, flags);
    case IMAGE_BITMAP:
      if (kernel::BitmapLoader loader = kernel::bitmapLoader()) return loader(instance, name, cx, cy, flags);
      break;
  }
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return kernel::loadIcon(instance, name, kernel::kIconSize, kernel::kIconSize, LR_SHARED);
}
