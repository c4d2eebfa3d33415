#include "kernel/IconResources.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "kernel/Dib.h"

namespace kernel {
namespace {

constexpr WORD kRtIcon = 3;
constexpr WORD kRtGroupIcon = 14;
constexpr size_t kGroupHeader = 6;
constexpr size_t kGroupEntry = 14;

struct GroupEntry {
  int width;
  int height;
  int bitCount;
  WORD id;
};

std::vector<GroupEntry> readGroup(const ResourceEntry& group) {
  std::vector<GroupEntry> entries;
  const uint8_t* b = group.data;
  if (group.size < kGroupHeader) return entries;
  WORD type, count;
  std::memcpy(&type, b + 2, 2);
  std::memcpy(&count, b + 4, 2);
  if (type != 1) return entries;
  for (size_t i = 0; i < count && kGroupHeader + (i + 1) * kGroupEntry <= group.size; ++i) {
    const uint8_t* e = b + kGroupHeader + i * kGroupEntry;
    GroupEntry entry;
    entry.width = e[0] ? e[0] : 256;
    entry.height = e[1] ? e[1] : 256;
    WORD bits;
    std::memcpy(&bits, e + 6, 2);
    std::memcpy(&entry.id, e + 12, 2);
    entry.bitCount = bits;
    entries.push_back(entry);
  }
  return entries;
}

// Best first: the exact size, then larger ones from the nearest up, then
// smaller ones from the nearest down; deeper colour first within a size.
void rank(std::vector<GroupEntry>& entries, int width, int height) {
  auto key = [&](const GroupEntry& e) {
    bool exact = e.width == width && e.height == height;
    bool larger = e.width >= width && e.height >= height;
    int distance = std::abs(e.width - width) + std::abs(e.height - height);
    return std::make_tuple(exact ? 0 : larger ? 1 : 2, distance, -e.bitCount);
  };
  std::stable_sort(entries.begin(), entries.end(),
                   [&](const GroupEntry& a, const GroupEntry& b) { return key(a) < key(b); });
}

}  // namespace

uint32_t sampleArgb(const uint32_t* pixels, int width, int height, int toWidth, int toHeight, int x, int y) {
  // The source pixels [x0, x1) x [y0, y1) that destination pixel (x, y) covers.
  auto cover = [](int i, int to, int from, int& first, int& last) {
    first = static_cast<int>(static_cast<int64_t>(i) * from / to);
    last = std::max(first + 1, static_cast<int>(static_cast<int64_t>(i + 1) * from / to));
  };
  int x0, x1, y0, y1;
  cover(x, toWidth, width, x0, x1);
  cover(y, toHeight, height, y0, y1);
  auto at = [&](int sx, int sy) { return pixels[static_cast<size_t>(sy) * static_cast<size_t>(width) + sx]; };
  if (x1 - x0 == 1 && y1 - y0 == 1) return at(x0, y0);
  // Colours weighted by alpha, so transparent pixels lend no colour.
  uint64_t a = 0, r = 0, g = 0, b = 0, n = 0;
  for (int sy = y0; sy < y1; ++sy)
    for (int sx = x0; sx < x1; ++sx) {
      uint32_t p = at(sx, sy);
      uint32_t pa = p >> 24;
      a += pa;
      r += ((p >> 16) & 0xFF) * pa;
      g += ((p >> 8) & 0xFF) * pa;
      b += (p & 0xFF) * pa;
      ++n;
    }
  if (a == 0) return 0;
  return static_cast<uint32_t>((a + n / 2) / n) << 24 | static_cast<uint32_t>((r + a / 2) / a) << 16 |
         static_cast<uint32_t>((g + a / 2) / a) << 8 | static_cast<uint32_t>((b + a / 2) / a);
}

std::vector<uint32_t> scaleArgb(const std::vector<uint32_t>& pixels, int width, int height, int toWidth,
                                int toHeight) {
  std::vector<uint32_t> out(static_cast<size_t>(toWidth) * static_cast<size_t>(toHeight));
  for (int y = 0; y < toHeight; ++y)
    for (int x = 0; x < toWidth; ++x)
      out[static_cast<size_t>(y) * static_cast<size_t>(toWidth) + x] =
          sampleArgb(pixels.data(), width, height, toWidth, toHeight, x, y);
  return out;
}

std::optional<Icon> loadIconResource(const ResourceIndex& resources, const ResourceName& group, int width,
                                     int height) {
  ResourceName groupType;
  groupType.ordinal = kRtGroupIcon;
  const ResourceEntry* groupEntry = resources.find(groupType, group);
  if (!groupEntry) return std::nullopt;
  if (int64_t(width) * height > kMaxDibPixels) return std::nullopt;
  bool keepSize = width <= 0 || height <= 0;
  if (keepSize) width = height = 32;
  std::vector<GroupEntry> entries = readGroup(*groupEntry);
  rank(entries, width, height);
  ResourceName imageType;
  imageType.ordinal = kRtIcon;
  for (const GroupEntry& e : entries) {
    ResourceName imageName;
    imageName.ordinal = e.id;
    const ResourceEntry* image = resources.find(imageType, imageName);
    DibImage dib;
    if (!image || !decodeDib(image->data, image->size, dib, DibKind::Icon)) continue;
    Icon icon;
    if (keepSize || (dib.width == width && dib.height == height)) {
      icon.width = dib.width;
      icon.height = dib.height;
      icon.pixels = std::move(dib.pixels);
    } else {
      icon.width = width;
      icon.height = height;
      icon.pixels = scaleArgb(dib.pixels, dib.width, dib.height, width, height);
    }
    return icon;
  }
  return std::nullopt;
}

}  // namespace kernel
