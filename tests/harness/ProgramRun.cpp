#include "harness/ProgramRun.h"

#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "store/DeviceImage.h"
#include "store/Image.h"

namespace harness {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string TestName() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return test != nullptr ? test->name() : "run";
}

}  // namespace

std::string DumpWindow::Item(const std::string& prefix) const {
  for (const std::string& item : items)
    if (item.compare(0, prefix.size(), prefix) == 0) return item;
  return "(no " + prefix + ")";
}

ProgramRun::ProgramRun(std::string executable, bool emptyImage) : executable_(std::move(executable)) {
  const std::string name = std::filesystem::path(executable_).filename().string();
  static int runs = 0;
  dir_ = std::string(VANTOR_TEST_BINARY_DIR) + "/" + name + "-" + std::to_string(getpid()) + "-" + TestName() + "-" +
         std::to_string(++runs);
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_ + "/run");
  std::filesystem::permissions(dir_ + "/run", std::filesystem::perms::owner_all);
  if (!emptyImage) return;
  store::Image image;
  std::string error;
  if (!image.create(Image(), error)) throw std::runtime_error("device image: " + error);
}

ProgramRun::~ProgramRun() {
  // Kept when the test failed, for a person to look at.
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test == nullptr || !test->result()->Failed()) {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
}

void ProgramRun::UseSample() {
  std::filesystem::copy_file(SampleImage(), Image(), std::filesystem::copy_options::overwrite_existing);
}

std::string SampleImage() {
  static const std::string path = [] {
    const std::string sample = std::string(VANTOR_TEST_BINARY_DIR) + "/sample.cedb";
    if (std::filesystem::exists(sample)) return sample;
    // Tests run side by side: each writes its own and the first rename wins.
    const std::string mine = sample + "." + std::to_string(getpid());
    std::string error;
    if (!store::writeSampleImage(mine, error)) throw std::runtime_error("sample image: " + error);
    std::filesystem::rename(mine, sample);
    return sample;
  }();
  return path;
}

std::string ProgramRun::Read(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

Dump ProgramRun::ReadDump(const std::string& name) const { return ParseDump(Read(name)); }

// Away from the host's display, with a bus of its own; a run that has not
// ended after a minute is killed.
std::string ProgramRun::Command(const std::string& script, const std::string& hostOptions) {
  std::ofstream(Path("script.txt")) << Replaced(script, "$DIR", dir_);
  return "exec env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR=" + Quoted(Path("run")) + " timeout -s KILL 60 " +
         Quoted(executable_) + " --headless --store " + Quoted(Image()) + " --script " + Quoted(Path("script.txt")) +
         " " + hostOptions + " >" + Quoted(Path("stdout.txt")) + " 2>" + Quoted(Path("stderr.txt"));
}

RunResult ProgramRun::Run(const std::string& script, const std::string& hostOptions) {
  const int status = std::system(Command(script, hostOptions).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), Read("stderr.txt")};
}

pid_t ProgramRun::Start(const std::string& script, const std::string& hostOptions) {
  const std::string command = Command(script, hostOptions);
  pid_t process = fork();
  if (process == 0) {
    // Its own process group, so that one signal ends the program with the
    // shell and timeout that start it.
    setpgid(0, 0);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (process > 0) setpgid(process, process);
  return process;
}

int ProgramRun::EndWithin(pid_t process, int ms) {
  int status = 0;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (waitpid(process, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= giveUp) {
      kill(-process, SIGKILL);
      waitpid(process, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Dump ParseDump(const std::string& dump) {
  static const std::regex kLine(
      R"re(^( *)hwnd=\S+ class="((?:[^"\\]|\\.)*)" id=(-?\d+) text="((?:[^"\\]|\\.)*)" rect=\((-?\d+),(-?\d+),(-?\d+),(-?\d+)\) style=0x([0-9a-fA-F]+)(.*)$)re");
  Dump windows;
  std::istringstream lines(dump);
  std::string line;
  while (std::getline(lines, line)) {
    std::smatch m;
    if (!std::regex_match(line, m, kLine)) {
      // Items keep their indent relative to one another (a tree's levels).
      if (windows.empty()) continue;
      const size_t indent = size_t(windows.back().depth) * 2 + 2;
      windows.back().items.push_back(line.compare(0, indent, std::string(indent, ' ')) == 0 ? line.substr(indent) : line);
      continue;
    }
    DumpWindow w;
    w.depth = int(m[1].length()) / 2;
    w.className = m[2];
    w.id = std::stoi(m[3]);
    w.text = m[4];
    w.left = std::stoi(m[5]);
    w.top = std::stoi(m[6]);
    w.right = std::stoi(m[7]);
    w.bottom = std::stoi(m[8]);
    w.style = std::stoul(m[9], nullptr, 16);
    w.visible = m[10].str().find(" visible") != std::string::npos;
    w.line = line;
    windows.push_back(w);
  }
  return windows;
}

const DumpWindow* FindWindowIn(const Dump& windows, const std::string& className, const std::string& text) {
  for (const DumpWindow& w : windows) {
    if (strcasecmp(w.className.c_str(), className.c_str()) != 0) continue;
    if (!text.empty() && w.text != text) continue;
    return &w;
  }
  return nullptr;
}

const DumpWindow* FindId(const Dump& windows, int id) {
  for (const DumpWindow& w : windows)
    if (w.id == id) return &w;
  return nullptr;
}

std::string TextOf(const Dump& windows, int id) {
  const DumpWindow* w = FindId(windows, id);
  return w != nullptr ? w->text : "(no window " + std::to_string(id) + ")";
}

bool Shows(const Dump& windows, const std::string& text) {
  return std::any_of(windows.begin(), windows.end(), [&](const DumpWindow& w) { return w.text == text; });
}

}  // namespace harness
