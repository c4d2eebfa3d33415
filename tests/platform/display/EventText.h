// The events a display delivered, as words a test compares with the
// expected sequence: "down 10,20+ctrl", "move 1,2", "up 3,4", "keydown 41+shift+ctrl",
// "keyup 41", "char e9", "quit".
#pragma once

#include <cstdio>
#include <string>

#include "display/Backend.h"

namespace display {

inline std::string describe(const InputEvent& e) {
  static const char* const kNames[] = {"down", "move", "up", "keydown", "keyup", "char", "quit"};
  const char* modifiers[] = {e.shift ? "+shift" : "", e.control ? "+ctrl" : ""};
  char text[48];
  if (e.type <= InputEvent::Type::StylusUp)
    std::snprintf(text, sizeof text, "%s %d,%d%s%s", kNames[int(e.type)], e.x, e.y, modifiers[0], modifiers[1]);
  else if (e.type <= InputEvent::Type::KeyUp)
    std::snprintf(text, sizeof text, "%s %x%s%s", kNames[int(e.type)], unsigned(e.key), modifiers[0], modifiers[1]);
  else if (e.type == InputEvent::Type::Char)
    std::snprintf(text, sizeof text, "char %x", unsigned(e.ch));
  else
    return "quit";
  return text;
}

// Everything the display has to give, in order, separated by spaces.
inline std::string drainText(Backend& backend) {
  std::string all;
  InputEvent e;
  while (backend.pollEvent(e)) all += (all.empty() ? "" : " ") + describe(e);
  return all;
}

}  // namespace display
