// Runs the real vantor executable in a sandbox of its own: a temporary data
// directory (the default device image lives there) and runtime directory
// (the single-instance bus lives there).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class Sandbox {
 public:
  enum Bare { kBare };
  // With the sample device image in its default place.
  Sandbox();
  // An empty directory only.
  explicit Sandbox(Bare);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::string& root() const { return root_; }
  std::string path(const std::string& name) const { return root_ + "/" + name; }
  std::string dataHome() const { return path("data"); }
  std::string runtimeDir() const { return path("run"); }
  std::string defaultImage() const { return dataHome() + "/vantor/device.cedb"; }
  // Writes a script file and returns its path.
  std::string writeScript(const std::string& name, const std::string& text) const;

 private:
  std::string root_;
};

class VantorProcess {
 public:
  // Starts `vantor --headless ARGS` with the sandbox's directories; its
  // output goes to files named after `name` in the sandbox.
  VantorProcess(const Sandbox& sandbox, const std::string& name, const std::vector<std::string>& args,
                const std::string& runtimeDir = "");
  ~VantorProcess();
  VantorProcess(const VantorProcess&) = delete;
  VantorProcess& operator=(const VantorProcess&) = delete;

  // The exit code, or 128 + the signal when it was ended by one. A run that
  // hangs is killed after a minute.
  int wait();
  // Exit code when it has ended, -1 while it runs.
  int poll();
  void kill();
  std::string errorOutput() const;

 private:
  int decode(int status);
  pid_t pid_ = -1;
  int exitCode_ = -1;
  std::string stderrPath_;
};

std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// The rectangle of the main window's line in a window dump, "" when the dump
// has no such window; count receives how many main windows it lists.
std::string MainWindowLine(const std::string& dump, int* count);
std::string FieldOf(const std::string& line, const std::string& field);
