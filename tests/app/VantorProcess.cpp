#include "VantorProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "store/DeviceImage.h"

extern char** environ;

namespace {

constexpr auto kHangLimit = std::chrono::seconds(60);

// The sample image is written once per test process and copied into each
// sandbox: writing it is far slower than copying it.
const std::string& TemplateImage() {
  static const std::string path = [] {
    static Sandbox holder(Sandbox::kBare);
    const std::string image = holder.path("template.cedb");
    std::string error;
    if (!store::writeSampleImage(image, error)) throw std::runtime_error("sample image: " + error);
    return image;
  }();
  return path;
}

}  // namespace

Sandbox::Sandbox(Bare) {
  char pattern[] = "/tmp/vantor-app-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

Sandbox::Sandbox() : Sandbox(kBare) {
  std::filesystem::create_directories(dataHome() + "/vantor");
  std::filesystem::create_directories(runtimeDir());
  chmod(runtimeDir().c_str(), 0700);
  std::filesystem::copy_file(TemplateImage(), defaultImage());
}

Sandbox::~Sandbox() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

std::string Sandbox::writeScript(const std::string& name, const std::string& text) const {
  std::ofstream(path(name)) << text;
  return path(name);
}

VantorProcess::VantorProcess(const Sandbox& sandbox, const std::string& name, const std::vector<std::string>& args,
                             const std::string& runtimeDir) {
  std::vector<std::string> argv = {VANTOR_EXE, "--headless"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("XDG_DATA_HOME=", 0) == 0 || entry.rfind("XDG_RUNTIME_DIR=", 0) == 0 ||
        entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0)
      continue;
    env.push_back(entry);
  }
  env.push_back("XDG_DATA_HOME=" + sandbox.dataHome());
  env.push_back("XDG_RUNTIME_DIR=" + (runtimeDir.empty() ? sandbox.runtimeDir() : runtimeDir));

  std::vector<char*> argvp, envp;
  for (std::string& a : argv) argvp.push_back(a.data());
  argvp.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  stderrPath_ = sandbox.path(name + ".stderr");
  const std::string stdoutPath = sandbox.path(name + ".stdout");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int rc = posix_spawn(&pid_, argvp[0], &actions, nullptr, argvp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error(std::string("cannot start vantor: ") + std::strerror(rc));
}

VantorProcess::~VantorProcess() {
  if (exitCode_ < 0 && pid_ > 0) {
    kill();
    wait();
  }
}

int VantorProcess::decode(int status) {
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return exitCode_;
}

int VantorProcess::poll() {
  if (exitCode_ >= 0) return exitCode_;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) return decode(status);
  return -1;
}

int VantorProcess::wait() {
  const auto giveUp = std::chrono::steady_clock::now() + kHangLimit;
  while (poll() < 0) {
    if (std::chrono::steady_clock::now() > giveUp) kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return exitCode_;
}

void VantorProcess::kill() {
  if (exitCode_ < 0 && pid_ > 0) ::kill(pid_, SIGKILL);
}

std::string VantorProcess::errorOutput() const { return ReadFile(stderrPath_); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string MainWindowLine(const std::string& dump, int* count) {
  std::istringstream lines(dump);
  std::string line, found;
  *count = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("hwnd=", 0) != 0) continue;  // top-level windows only
    if (line.find("class=\"CeWnd:GENERIC\"") == std::string::npos) continue;
    if (line.find("text=\"Vantor\"") == std::string::npos) continue;
    ++*count;
    found = line;
  }
  return found;
}

std::string FieldOf(const std::string& line, const std::string& field) {
  const std::string key = " " + field + "=";
  const size_t start = line.find(key);
  if (start == std::string::npos) return "";
  const size_t value = start + key.size();
  return line.substr(value, line.find(' ', value) - value);
}
