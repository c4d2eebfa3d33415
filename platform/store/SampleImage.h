// The realistic Pocket PC 2002 object store that a first start creates.
#pragma once

#include <cstdint>

namespace store {

class ImageWriter;

// FILETIME of a UTC date and time.
uint64_t fileTimeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Adds the sample's databases and registry through writer.
bool fillSampleImage(ImageWriter& writer);

// Records in the sample's largest database.
constexpr uint32_t kSampleLargeRecords = 65535;

}  // namespace store
