#include "GalleryRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <strings.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "store/Image.h"

extern char** environ;

namespace gallerytest {
namespace {

constexpr auto kHangLimit = std::chrono::seconds(60);

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

int Decode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

int WaitFor(pid_t pid) {
  const auto giveUp = std::chrono::steady_clock::now() + kHangLimit;
  int status = 0;
  for (;;) {
    if (waitpid(pid, &status, WNOHANG) == pid) return Decode(status);
    if (std::chrono::steady_clock::now() > giveUp) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return Decode(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

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
  image.close();
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

GalleryResult GalleryRun::Run(const std::string& script, const std::vector<std::string>& options) {
  std::ofstream(Path("script.txt")) << Replaced(script, "$DIR", dir_);
  std::vector<std::string> argv = {GALLERY_EXE, "--headless", "--store", Path("device.cedb"), "--script",
                                   Path("script.txt")};
  argv.insert(argv.end(), options.begin(), options.end());
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("XDG_RUNTIME_DIR=", 0) == 0 || entry.rfind("DISPLAY=", 0) == 0 ||
        entry.rfind("WAYLAND_DISPLAY=", 0) == 0)
      continue;
    env.push_back(entry);
  }
  env.push_back("XDG_RUNTIME_DIR=" + Path("run"));

  std::vector<char*> argp;
  std::vector<char*> envp;
  for (std::string& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  const std::string errorsPath = Path("stderr.txt");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, Path("stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error(std::string("cannot start the gallery: ") + std::strerror(rc));

  GalleryResult result;
  result.exitCode = WaitFor(pid);
  result.errors = Read("stderr.txt");
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

}  // namespace gallerytest
