// String tables as the device stores them: string id lives in block
// id / 16 + 1 of RT_STRING, a run of 16 counted UTF-16 strings.
#pragma once

#include <windef.h>

#include "kernel/ResourceFile.h"

namespace kernel {

struct CountedString {
  const WCHAR* text;  // not terminated
  WORD length;
};

// The string's place in its block, or nothing when its block is missing or
// too short to hold it. An entry of length 0 is found.
std::optional<CountedString> findString(const ResourceIndex& resources, UINT id);

}  // namespace kernel
