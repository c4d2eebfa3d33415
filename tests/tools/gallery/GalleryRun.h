// Runs the gallery on a headless device with a script, in a directory of
// its own (an empty device image, the bus's runtime directory, the files
// the script writes), and reads what it left: window dumps and screenshots.
#pragma once

#include <string>
#include <vector>

namespace gallerytest {

// One window of a dump.
struct DumpWindow {
  int depth = 0;  // 0 for top-level windows
  std::string className;
  int id = 0;
  std::string text;
  int left = 0, top = 0, right = 0, bottom = 0;
  unsigned long style = 0;
  bool visible = false;
  std::string line;
  // Lines the dump adds below the window (rows, items).
  std::vector<std::string> items;
};

struct GalleryResult {
  int exitCode = -1;  // 128 + signal when it was killed
  std::string errors;  // what it wrote to stderr
};

class GalleryRun {
 public:
  GalleryRun();
  ~GalleryRun();
  GalleryRun(const GalleryRun&) = delete;
  GalleryRun& operator=(const GalleryRun&) = delete;

  // Runs the script to its end; "$DIR" in it stands for this run's
  // directory. A run that has not ended after a minute is killed.
  GalleryResult Run(const std::string& script);
  // Runs the actions in turn with a dump of the windows after each, read
  // back into dumps, then closes the gallery from its menu: a run that ends
  // with the program still waiting is a failure of its own.
  GalleryResult RunSteps(const std::vector<std::string>& actions, std::vector<std::vector<DumpWindow>>& dumps);

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Read(const std::string& name) const;

 private:
  std::string dir_;
};

std::vector<DumpWindow> ParseDump(const std::string& dump);
// The first window with the class (without regard to case) and, when not
// empty, the text; null when there is none.
const DumpWindow* FindWindowIn(const std::vector<DumpWindow>& windows, const std::string& className,
                               const std::string& text = "");
const DumpWindow* FindId(const std::vector<DumpWindow>& windows, int id);
// The text of the window with the id, or a note that there is none.
std::string TextOf(const std::vector<DumpWindow>& windows, int id);

}  // namespace gallerytest
