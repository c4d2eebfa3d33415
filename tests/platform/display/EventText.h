// The events a display delivered, as words a test compares with the
// expected sequence: "down 10,20+ctrl", "move 1,2", "up 3,4", "keydown 41+shift+ctrl",
// "keyup 41", "char e9", "quit".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "display/Backend.h"

namespace display {

inline std::string describe(const InputEvent& e) {
  static const char* const kNames[] = {"down", "move", "up", "keydown", "keyup", "char", "quit"};
  char text[48];
  switch (e.type) {
    case InputEvent::Type::StylusDown:
    case InputEvent::Type::StylusMove:
    case InputEvent::Type::StylusUp:
      std::snprintf(text, sizeof text, "%s %d,%d%s%s", kNames[int(e.type)], e.x, e.y, e.shift ? "+shift" : "",
                    e.control ? "+ctrl" : "");
      break;
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp:
      std::snprintf(text, sizeof text, "%s %x%s%s", kNames[int(e.type)], unsigned(e.key), e.shift ? "+shift" : "",
                    e.control ? "+ctrl" : "");
      break;
    case InputEvent::Type::Char:
      std::snprintf(text, sizeof text, "char %x", unsigned(e.ch));
      break;
    case InputEvent::Type::Quit:
      return "quit";
  }
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
