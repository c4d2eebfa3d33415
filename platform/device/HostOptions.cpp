#include "device/HostOptions.h"

#include <charconv>
#include <cstdlib>

namespace device {

namespace {

bool parseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && text[0] != '-' && ec == std::errc() && ptr == end;
}

bool parseScreen(const std::string& text, Options& options) {
  size_t x = text.find('x');
  if (x == std::string::npos) return false;
  int width, height;
  if (!parseInt(std::string_view(text).substr(0, x), width) || !parseInt(std::string_view(text).substr(x + 1), height))
    return false;
  if (width < kMinScreenSide || height < kMinScreenSide || width > kMaxScreenSide || height > kMaxScreenSide)
    return false;
  options.screenWidth = width;
  options.screenHeight = height;
  return true;
}

}  // namespace

bool parseHostOptions(const std::vector<std::string>& args, HostCommand& command, std::string& error) {
  Options& o = command.options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help") {
      command.help = true;
      continue;
    }
    if (arg == "--sip") {
      o.sip = true;
      continue;
    }
    if (arg == "--headless") {
      o.headless = true;
      continue;
    }
    if (arg == "--read-only") {
      o.readOnly = true;
      continue;
    }
    std::string* file = arg == "--store"        ? &o.storePath
                        : arg == "--script"     ? &o.scriptPath
                        : arg == "--screenshot" ? &o.screenshotPath
                        : arg == "--dump"       ? &o.dumpPath
                                                : nullptr;
    bool takesValue = file || arg == "--screen" || arg == "--depth" || arg == "--scale";
    if (!takesValue) {
      error = arg.rfind("-", 0) == 0 ? "unknown option " + arg : "unexpected argument " + arg;
      return false;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (file) {
      *file = value;
    } else if (arg == "--screen") {
      if (!parseScreen(value, o)) {
        error = "--screen takes WIDTHxHEIGHT, each from " + std::to_string(kMinScreenSide) + " to " +
                std::to_string(kMaxScreenSide) + " pixels, not " + value;
        return false;
      }
    } else if (arg == "--depth") {
      if (!parseInt(value, o.depth) || (o.depth != 2 && o.depth != 16)) {
        error = "--depth takes 2 (four greys) or 16 (colour), not " + value;
        return false;
      }
    } else if (!parseInt(value, o.scale) || o.scale < 1 || o.scale > kMaxScale) {
      error = "--scale takes a whole number from 1 to " + std::to_string(kMaxScale) + ", not " + value;
      return false;
    }
  }
  return true;
}

std::string defaultStorePath() {
  // Relative values are invalid for these variables and are ignored.
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return std::string(data) + "/vantor/device.cedb";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/share/vantor/device.cedb";
  return {};
}

bool displayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace device
