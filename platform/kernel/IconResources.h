// Icons from a module's resources: the group (RT_GROUP_ICON) lists the
// images by size and depth, each image (RT_ICON) is a DIB with its AND mask.
#pragma once

#include <optional>

#include <windef.h>

#include "kernel/Icons.h"
#include "kernel/ResourceFile.h"

namespace kernel {

// The group's image of width x height, else the nearest larger one, else the
// largest, scaled to that size; width 0 keeps the chosen image's own size
// (chosen as for 32 x 32). Nothing when the group is missing or no image
// decodes.
std::optional<Icon> loadIconResource(const ResourceIndex& resources, const ResourceName& group, int width, int height);

// Pixel (x, y) of an ARGB image of width x height scaled to toWidth x
// toHeight: the area average of the pixels it covers when shrinking, the
// nearest pixel as it is when enlarging.
uint32_t sampleArgb(const uint32_t* pixels, int width, int height, int toWidth, int toHeight, int x, int y);
// The whole image scaled so.
std::vector<uint32_t> scaleArgb(const std::vector<uint32_t>& pixels, int width, int height, int toWidth, int toHeight);

}  // namespace kernel
