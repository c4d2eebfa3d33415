// Runs a program of the device (vantor, the gallery) headless with a script,
// in a directory of its own (the device image, the bus's runtime directory,
// the files the script writes), and reads what it left: window dumps,
// screenshots, the image.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace harness {

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
  // Lines the dump adds below the window (rows, items), indented relative
  // to the first level.
  std::vector<std::string> items;

  // The first item line starting with prefix, or "(no PREFIX)".
  std::string Item(const std::string& prefix) const;
};

using Dump = std::vector<DumpWindow>;

struct RunResult {
  int exitCode = -1;   // 128 + signal when it was killed
  std::string errors;  // what it wrote to stderr
};

class ProgramRun {
 public:
  // An empty device image is made at Image() unless the test makes its own.
  explicit ProgramRun(std::string executable, bool emptyImage = true);
  virtual ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Runs the script to its end; "$DIR" in it stands for this run's
  // directory. A run that has not ended after a minute is killed.
  RunResult Run(const std::string& script, const std::string& hostOptions = "");

  // Starts the script and returns at once; the program's process.
  pid_t Start(const std::string& script, const std::string& hostOptions = "");
  // Kills the process when it has not ended within ms; its exit code, or
  // 128 + the signal that ended it.
  static int EndWithin(pid_t process, int ms);

  // The image becomes a copy of the sample Pocket PC image.
  void UseSample();

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Image() const { return Path("device.cedb"); }
  std::string Read(const std::string& name) const;
  // The dump the script wrote to $DIR/name.
  Dump ReadDump(const std::string& name) const;

 private:
  std::string Command(const std::string& script, const std::string& hostOptions);

  std::string executable_;
  std::string dir_;
};

// The sample image, written once for all tests of the build.
std::string SampleImage();

Dump ParseDump(const std::string& dump);
// The first window with the class (without regard to case) and, when not
// empty, the text; null when there is none.
const DumpWindow* FindWindowIn(const Dump& windows, const std::string& className, const std::string& text = "");
const DumpWindow* FindId(const Dump& windows, int id);
// The text of the window with the id, or a note that there is none.
std::string TextOf(const Dump& windows, int id);
// Whether any window shows the text.
bool Shows(const Dump& windows, const std::string& text);

}  // namespace harness
