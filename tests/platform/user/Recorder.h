// Test harness for the window manager: a window class that records every message, per-window reactions, a fixture
// that leaves no window, message or timer behind, and the input and screen helpers the tests share.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "display/Backend.h"
#include "display/Framebuffer.h"

namespace usertest {

struct Entry { HWND hwnd; UINT msg; WPARAM wParam; LPARAM lParam; };

// Expected entries may leave parameters open.
struct Expect { HWND hwnd; UINT msg; std::optional<WPARAM> wParam; std::optional<LPARAM> lParam; };
inline Expect msg(HWND hwnd, UINT code) { return {hwnd, code, {}, {}}; }
inline Expect msgW(HWND hwnd, UINT code, WPARAM wParam) { return {hwnd, code, wParam, {}}; }
inline Expect msgWL(HWND hwnd, UINT code, WPARAM wParam, LPARAM lParam) { return {hwnd, code, wParam, lParam}; }

class Log {
 public:
  void clear() { entries_.clear(); }
  void add(const Entry& e) { entries_.push_back(e); }
  const std::vector<Entry>& entries() const { return entries_; }
  // Entries whose code is one of codes, in order.
  std::vector<Entry> only(std::initializer_list<UINT> codes) const;
  size_t count(HWND hwnd, UINT code) const;

 private:
  std::vector<Entry> entries_;
};

Log& log();

// Compares, printing both sequences on a mismatch.
::testing::AssertionResult sameSequence(const std::vector<Expect>& expected, const std::vector<Entry>& actual);

// A reaction replaces the default processing of one message for one window;
// it is recorded all the same.
using Reaction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
void react(HWND hwnd, UINT msg, Reaction reaction);
// Reactions for windows created later.
void reactOnCreate(UINT msg, Reaction reaction);

inline constexpr const char16_t* kRecorderClass = u"Recorder";
HWND createTopLevel(DWORD style = WS_VISIBLE, RECT rect = {0, 26, 240, 294}, HWND owner = nullptr,
                    const char16_t* cls = kRecorderClass, LPVOID param = nullptr);
HWND createChild(HWND parent, int id, RECT rect, DWORD style = WS_VISIBLE);
// A standard control: WS_CHILD | style.
HWND createControl(HWND parent, const char16_t* cls, const char16_t* text, DWORD style, int id, RECT rect);

void tap(int x, int y);
void stylus(display::InputEvent::Type type, int x, int y, bool shift = false, bool control = false);
void key(UINT vk, bool down, bool shift = false, bool control = false);
// Queues a key's press and release.
void press(UINT vk, bool shift = false);
// Takes and dispatches what is waiting, never waiting itself.
void pump();
// Pumps, then answers the notification codes parent got from control in
// WM_COMMAND, and clears the log.
std::vector<UINT> heardFrom(HWND parent, HWND control);

// The device's screen, as the headless display holds it.
display::Framebuffer& screen();
inline uint32_t pixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
RECT screenRect(HWND hwnd);
// Compares, printing both rectangles on a mismatch.
::testing::AssertionResult sameRect(const RECT& want, const RECT& got);
// The pixels in area for which test(pixel) holds.
template <class Test>
int countPixels(const RECT& area, Test test) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += test(screen().pixel(x, y)) ? 1 : 0;
  return n;
}
// Bounds of the pixels in area that differ from background; empty if none.
RECT inkIn(const RECT& area, uint32_t background);

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace usertest
