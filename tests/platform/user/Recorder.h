// Test harness for the window manager: a window class whose procedure
// records every message (Wine's conformance-test style), per-window
// reactions, and a fixture that leaves no window, message or timer behind.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "display/Backend.h"

namespace usertest {

struct Entry {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Entry& o) const {
    return hwnd == o.hwnd && msg == o.msg && wParam == o.wParam && lParam == o.lParam;
  }
};

// Expected entries may leave parameters open.
struct Expect {
  HWND hwnd;
  UINT msg;
  bool checkWParam = false;
  WPARAM wParam = 0;
  bool checkLParam = false;
  LPARAM lParam = 0;
};
Expect msg(HWND hwnd, UINT code);
Expect msgW(HWND hwnd, UINT code, WPARAM wParam);
Expect msgWL(HWND hwnd, UINT code, WPARAM wParam, LPARAM lParam);

std::string messageName(UINT msg);

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
// Reactions for windows created later: by creation parameter.
void reactOnCreate(UINT msg, Reaction reaction);

inline constexpr const char16_t* kRecorderClass = u"Recorder";
inline constexpr const char16_t* kRecorderDblClass = u"RecorderDbl";
void registerRecorderClasses();
HWND createTopLevel(DWORD style = WS_VISIBLE, RECT rect = {0, 26, 240, 294}, HWND owner = nullptr,
                    const char16_t* cls = kRecorderClass, LPVOID param = nullptr);
HWND createChild(HWND parent, int id, RECT rect, DWORD style = WS_VISIBLE, const char16_t* cls = kRecorderClass);

void pushInput(const display::InputEvent& event);
void tap(int x, int y);
void stylus(display::InputEvent::Type type, int x, int y, bool shift = false, bool control = false);
void key(UINT vk, bool down, bool shift = false, bool control = false);
// Takes and dispatches what is waiting, never waiting itself.
void pump();

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace usertest
