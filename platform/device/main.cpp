// The host: reads the host options, sets up the device and its image, and
// calls the program's entry function with an empty command line.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/Bus.h"
#include "device/Device.h"
#include "device/HostOptions.h"
#include "display/HeadlessBackend.h"
#include "display/SdlBackend.h"
#include "store/DeviceImage.h"

namespace {

int refuse(const std::string& message) {
  std::fprintf(stderr, "vantor: %s\n", message.c_str());
  return device::Device::kExitBadInput;
}

// Store errors may name the file already.
std::string aboutFile(const std::string& path, const std::string& reason) {
  return reason.rfind(path + ": ", 0) == 0 ? reason : path + ": " + reason;
}

bool readFile(const std::string& path, std::string& text) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return !in.bad();
}

// The default image is made on first use; one named on the command line must
// exist. A read-only run makes nothing: an image to be examined that is not
// there is a mistake to be told, not a sample to be made in its place.
bool prepareImage(std::string& path, bool readOnly, std::string& error) {
  if (!path.empty()) return true;
  path = device::defaultStorePath();
  if (path.empty()) {
    error = "no place for the device image: set XDG_DATA_HOME or HOME, or use --store FILE";
    return false;
  }
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return true;
  if (readOnly) {
    error = path + ": there is no device image here, and --read-only makes none";
    return false;
  }
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (ec) {
    error = path + ": " + ec.message();
    return false;
  }
  std::string reason;
  if (!store::writeSampleImage(path, reason)) {
    error = aboutFile(path, reason);
    return false;
  }
  return true;
}

// A window when there is a display to show it on, else the framebuffer
// alone; the device is the same either way.
std::unique_ptr<display::Backend> openDisplay(device::Options& options) {
  if (!options.headless) {
    if (!device::displayAvailable()) {
      std::fputs("vantor: no display; running headless\n", stderr);
    } else {
      std::string error;
      auto window = display::SdlBackend::open(options.screenWidth, options.screenHeight, options.scale, error);
      if (window) return window;
      std::fprintf(stderr, "vantor: %s; running headless\n", error.c_str());
    }
    options.headless = true;
  }
  return std::make_unique<display::HeadlessBackend>(options.screenWidth, options.screenHeight);
}

}  // namespace

int main(int argc, char** argv) {
  device::HostCommand command;
  std::string error;
  if (!device::parseHostOptions(std::vector<std::string>(argv + 1, argv + argc), command, error)) {
    std::fprintf(stderr, "vantor: %s (see vantor --help)\n", error.c_str());
    return device::Device::kExitBadInput;
  }
  if (command.help) {
    std::fputs(device::kUsage, stdout);
    return 0;
  }
  device::Options& options = command.options;

  // The whole script is read before anything starts: a bad line refuses the run.
  std::vector<device::Step> steps;
  if (!options.scriptPath.empty()) {
    std::string text;
    if (!readFile(options.scriptPath, text)) return refuse(options.scriptPath + ": cannot read the script");
    device::ScriptError scriptError;
    auto parsed = device::parseScript(text, scriptError);
    if (!parsed) {
      std::fprintf(stderr, "%s:%d: %s\n", options.scriptPath.c_str(), scriptError.line, scriptError.reason.c_str());
      return device::Device::kExitBadInput;
    }
    steps = std::move(*parsed);
  }

  if (!prepareImage(options.storePath, options.readOnly, error)) return refuse(error);
  if (!store::openDeviceImage(options.storePath, error, options.readOnly))
    return refuse(aboutFile(options.storePath, error));
  if (options.readOnly)
    std::fprintf(stderr, "vantor: %s: open read-only; nothing will be written to it\n", options.storePath.c_str());

  options.chrome = true;
  device::Device& device = device::Device::instance();
  std::unique_ptr<display::Backend> display = openDisplay(options);
  device.configure(options, std::move(display));
  if (!options.scriptPath.empty()) device.script().load(std::move(steps), options.scriptPath);
  device::Bus::instance().start(options.storePath);

  static char16_t commandLine[1] = {u'\0'};
  int result = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW);

  if (!device.writeRequestedFiles(true) && result == 0) result = device::Device::kExitStepFailed;
  device::Bus::instance().stop();
  return result;
}
