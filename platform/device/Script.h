// The device's script language: one step a line, driving the device as a
// person would. Scripts are how the program is tested end to end and how a
// bug report is replayed.
//
//   tap X Y [MODS]           stylus down and up at a screen point
//   drag X1 Y1 X2 Y2 [MODS]  stylus down, moves a few pixels at a time, up
//   key [MODS+]NAME          a named key (Up Down Left Right Enter Escape Tab
//                            Home End PageUp PageDown Delete Space Backspace
//                            F1..F12) or one character: a letter or digit is
//                            its virtual key (upper case with shift), another
//                            character is typed as it is
//   type "TEXT"              types the text into the focused window
//   press "TEXT"             taps the button with that text (ignoring '&') in
//                            the foreground window
//   menu "POPUP" "ITEM"      chooses an item from a popup of the menu bar
//   sip on|off               shows or hides the input panel
//   rotate                   turns the screen
//   wait MS                  lets the program run for a while
//   screenshot "FILE"        writes the screen as PNG
//   dump "FILE"              writes the window tree as text
//   close                    asks the foreground window to close
//
// MODS are the modifier keys Shift and Ctrl, one or both joined by '+', in
// any case: `tap 40 200 Ctrl`, `drag 10 60 10 120 shift`, `key Shift+End`,
// `key Ctrl+Shift+Home`. They are pressed before the step's input and
// released after it, as a person holds them, so the program sees them down
// throughout (GetKeyState, MK_SHIFT and MK_CONTROL) and up afterwards.
//
// `#` starts a comment outside quotes. Texts are in double quotes with the
// escapes \" \\ \n \t \xNN and \uNNNN; other text is UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

struct Step {
  enum class Kind { Tap, Drag, Key, Type, Press, Menu, Sip, Rotate, Wait, Screenshot, Dump, Close, Call };
  Kind kind = Kind::Tap;
  int line = 0;  // 0 for steps queued from code
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  uint32_t key = 0;    // Key: a virtual key, or 0 when ch is typed instead
  char16_t ch = 0;
  bool shift = false;    // Tap, Drag, Key: Shift held (Key: also for an upper-case letter)
  bool control = false;  // Tap, Drag, Key: Ctrl held
  std::u16string text;  // Type, Press; the popup of Menu
  std::u16string item;  // the item of Menu
  bool on = false;      // Sip
  int ms = 0;           // Wait
  std::string file;     // Screenshot, Dump
  std::function<void()> call;
};

struct ScriptError {
  int line = 0;
  std::string reason;
};

// Reads a whole script. Nothing runs until every line has been read, so a
// bad line refuses the whole script.
std::optional<std::vector<Step>> parseScript(std::string_view text, ScriptError& error);

// Reads one key name as the `key` step does.
bool parseKeyName(std::u16string_view name, Step& step);

}  // namespace device
