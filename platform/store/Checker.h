// The full integrity check of a device image: everything the database and
// registry calls rely on, read straight from the tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/Image.h"

namespace store {

struct CheckReport {
  std::vector<std::string> problems;  // one line each
  uint32_t databases = 0;
  uint64_t records = 0;
  uint32_t keys = 0;
  uint32_t values = 0;
  bool ok() const { return problems.empty(); }
};

CheckReport checkImage(Image& image);

}  // namespace store
