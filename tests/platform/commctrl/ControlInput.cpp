#include "ControlInput.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "device/Device.h"
#include "user/InputRouter.h"

namespace ctltest {

namespace {

// A press and its release, or one event alone, taken and dispatched at once.
void send(display::InputEvent e, std::initializer_list<display::InputEvent::Type> types) {
  for (auto type : types) {
    e.type = type;
    device::Device::instance().pushInput(e);
  }
  pump();
}

display::InputEvent at(POINT p, bool shift = false, bool control = false) {
  display::InputEvent e;
  e.x = p.x;
  e.y = p.y;
  e.shift = shift;
  e.control = control;
  return e;
}

}  // namespace

void stylus(display::InputEvent::Type type, POINT p) { send(at(p), {type}); }

void tap(POINT p, bool shift, bool control) {
  send(at(p, shift, control), {display::InputEvent::Type::StylusDown, display::InputEvent::Type::StylusUp});
}

void key(UINT vk, bool shift, bool control) {
  display::InputEvent e = at({0, 0}, shift, control);
  e.key = vk;
  send(e, {display::InputEvent::Type::KeyDown, display::InputEvent::Type::KeyUp});
}

void pump() {
  MSG m;
  for (int i = 0; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (i == 10000) {
      ADD_FAILURE() << "messages keep coming";
      return;
    }
    if (m.message == WM_QUIT) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void cleanUp() {
  while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
  display::InputEvent drop;
  while (device::Device::instance().backend().pollEvent(drop)) {
  }
  user::InputRouter::instance().reset();
}

}  // namespace ctltest
