#include "device/Dump.h"

#include <windows.h>

#include <cstdio>
#include <map>

#include "device/Device.h"
#include "kernel/Utf.h"
#include "kernel/Cursors.h"

namespace device {

namespace {

std::u16string foldCase(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded)
    if (c >= u'A' && c <= u'Z') c = c - u'A' + u'a';
  return folded;
}

std::map<std::u16string, DumpItems>& itemWriters() {
  static auto* writers = new std::map<std::u16string, DumpItems>;
  return *writers;
}

std::u16string className(HWND hwnd) {
  char16_t name[257] = {};
  int got = GetClassNameW(hwnd, name, 257);
  return std::u16string(name, got > 0 ? static_cast<size_t>(got) : 0);
}

struct Walk {
  HWND focus;
  HWND foreground;
  std::string out;

  void window(HWND hwnd, int depth) {
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    std::u16string cls = className(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, " rect=(%d,%d,%d,%d) style=0x%08X exstyle=0x%08X", static_cast<int>(r.left),
                  static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom),
                  static_cast<unsigned>(GetWindowLongW(hwnd, GWL_STYLE)),
                  static_cast<unsigned>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    char handle[40];
    std::snprintf(handle, sizeof handle, "hwnd=0x%llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
    out += indent + handle + " class=" + quoteText(cls) +
           " id=" + std::to_string(static_cast<int>(GetWindowLongW(hwnd, GWL_ID))) +
           " text=" + quoteText(windowText(hwnd)) + numbers;
    if (IsWindowVisible(hwnd)) out += " visible";
    if (!IsWindowEnabled(hwnd)) out += " disabled";
    if (hwnd == focus) out += " focus";
    if (hwnd == foreground) out += " foreground";
    out += '\n';

    auto writer = itemWriters().find(foldCase(cls));
    if (writer != itemWriters().end()) writer->second(hwnd, indent + "  ", out);

    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      window(child, depth + 1);
  }
};

}  // namespace

void registerDumpItems(std::u16string_view name, DumpItems items) { itemWriters()[foldCase(name)] = std::move(items); }

std::string quoteText(std::u16string_view text) {
  std::u16string plain;
  std::string out = "\"";
  auto flush = [&]() {
    out += kernel::utf16ToUtf8(plain);
    plain.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    const char* escape = nullptr;
    char buffer[8];
    bool high = c >= 0xD800 && c <= 0xDBFF;
    bool pairedHigh = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (c == u'"') {
      escape = "\\\"";
    } else if (c == u'\\') {
      escape = "\\\\";
    } else if (c == u'\n') {
      escape = "\\n";
    } else if (c == u'\r') {
      escape = "\\r";
    } else if (c == u'\t') {
      escape = "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(c));
      escape = buffer;
    } else if ((c >= 0x80 && c < 0xA0) || (c >= 0xD800 && c <= 0xDFFF && !pairedHigh)) {
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      escape = buffer;
    }
    if (pairedHigh) {
      plain += c;
      plain += text[++i];
    } else if (escape) {
      flush();
      out += escape;
    } else {
      plain += c;
    }
  }
  flush();
  return out + "\"";
}

std::string dumpWindows() {
  Device& device = Device::instance();
  Walk walk{GetFocus(), GetForegroundWindow(), {}};
  walk.out = "screen=" + std::to_string(device.screenWidth()) + "x" + std::to_string(device.screenHeight()) +
             " sip=" + (device.sipVisible() ? "on" : "off") + " cursor=" + kernel::cursorName() + "\n";
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) walk.window(w, 0);
  return walk.out;
}

std::u16string windowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  int got = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace device
