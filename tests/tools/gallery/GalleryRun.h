// Runs the gallery on a headless device with a script (see ProgramRun).
#pragma once

#include <string>
#include <vector>

#include "harness/ProgramRun.h"

namespace gallerytest {

using harness::DumpWindow;
using harness::FindId;
using harness::FindWindowIn;
using harness::ParseDump;
using harness::Shows;
using harness::TextOf;
using GalleryResult = harness::RunResult;

class GalleryRun : public harness::ProgramRun {
 public:
  GalleryRun();

  // Runs the actions in turn with a dump of the windows after each, read
  // back into dumps, then closes the gallery from its menu: a run that ends
  // with the program still waiting is a failure of its own.
  GalleryResult RunSteps(const std::vector<std::string>& actions, std::vector<std::vector<DumpWindow>>& dumps);
};

}  // namespace gallerytest
