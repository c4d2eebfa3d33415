#include "GalleryRun.h"

#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "store/Image.h"

namespace gallerytest {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

GalleryRun::GalleryRun() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = std::string(VANTOR_TEST_BINARY_DIR) + "/gallery-" + std::to_string(getpid()) + "-" +
         (test != nullptr ? test->name() : "run");
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_ + "/run");
  std::filesystem::permissions(dir_ + "/run", std::filesystem::perms::owner_all);
  store::Image image;
  std::string error;
  if (!image.create(Path("device.cedb"), error)) throw std::runtime_error("device image: " + error);
}

GalleryRun::~GalleryRun() {
  // Kept when the test failed, for a person to look at.
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test == nullptr || !test->result()->Failed()) {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
}

std::string GalleryRun::Read(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

GalleryResult GalleryRun::Run(const std::string& script) {
  std::ofstream(Path("script.txt")) << Replaced(script, "$DIR", dir_);
  // Away from the host's display, with a bus of its own; a run that has not
  // ended after a minute is killed.
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR=" + Quoted(Path("run")) +
                              " timeout -s KILL 60 " + Quoted(GALLERY_EXE) + " --headless --store " +
                              Quoted(Path("device.cedb")) + " --script " + Quoted(Path("script.txt")) + " >" +
                              Quoted(Path("stdout.txt")) + " 2>" + Quoted(Path("stderr.txt"));
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), Read("stderr.txt")};
}

GalleryResult GalleryRun::RunSteps(const std::vector<std::string>& actions,
                                   std::vector<std::vector<DumpWindow>>& dumps) {
  std::string script;
  for (size_t i = 0; i < actions.size(); ++i) script += actions[i] + "\ndump \"$DIR/step" + std::to_string(i) + ".txt\"\n";
  const GalleryResult result = Run(script + "menu \"Dialogs\" \"Close\"\n");
  dumps.clear();
  for (size_t i = 0; i < actions.size(); ++i) dumps.push_back(ParseDump(Read("step" + std::to_string(i) + ".txt")));
  return result;
}

std::vector<DumpWindow> ParseDump(const std::string& dump) {
  static const std::regex kLine(
      R"re(^( *)hwnd=\S+ class="((?:[^"\\]|\\.)*)" id=(-?\d+) text="((?:[^"\\]|\\.)*)" rect=\((-?\d+),(-?\d+),(-?\d+),(-?\d+)\) style=0x([0-9a-fA-F]+)(.*)$)re");
  std::vector<DumpWindow> windows;
  std::istringstream lines(dump);
  std::string line;
  while (std::getline(lines, line)) {
    std::smatch m;
    if (!std::regex_match(line, m, kLine)) {
      if (!windows.empty()) windows.back().items.push_back(line);
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

const DumpWindow* FindWindowIn(const std::vector<DumpWindow>& windows, const std::string& className,
                               const std::string& text) {
  for (const DumpWindow& w : windows) {
    if (strcasecmp(w.className.c_str(), className.c_str()) != 0) continue;
    if (!text.empty() && w.text != text) continue;
    return &w;
  }
  return nullptr;
}

const DumpWindow* FindId(const std::vector<DumpWindow>& windows, int id) {
  for (const DumpWindow& w : windows)
    if (w.id == id) return &w;
  return nullptr;
}

std::string TextOf(const std::vector<DumpWindow>& windows, int id) {
  const DumpWindow* w = FindId(windows, id);
  return w != nullptr ? w->text : "(no window " + std::to_string(id) + ")";
}

}  // namespace gallerytest
