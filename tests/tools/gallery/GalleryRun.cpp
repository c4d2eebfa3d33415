#include "GalleryRun.h"

namespace gallerytest {

GalleryRun::GalleryRun() : ProgramRun(GALLERY_EXE) {}

GalleryResult GalleryRun::RunSteps(const std::vector<std::string>& actions,
                                   std::vector<std::vector<DumpWindow>>& dumps) {
  std::string script;
  for (size_t i = 0; i < actions.size(); ++i) script += actions[i] + "\ndump \"$DIR/step" + std::to_string(i) + ".txt\"\n";
  const GalleryResult result = Run(script + "menu \"Dialogs\" \"Close\"\n");
  dumps.clear();
  for (size_t i = 0; i < actions.size(); ++i) dumps.push_back(ReadDump("step" + std::to_string(i) + ".txt"));
  return result;
}

}  // namespace gallerytest
