#include "ControlInput.h"

#include <gtest/gtest.h>

#include "device/Device.h"
#include "user/InputRouter.h"

namespace ctltest {

namespace {

void push(display::InputEvent e, display::InputEvent::Type type) {
  e.type = type;
  device::Device::instance().pushInput(e);
}

}  // namespace

void stylus(display::InputEvent::Type type, POINT p) {
  display::InputEvent e;
  e.x = p.x;
  e.y = p.y;
  push(e, type);
  pump();
}

void tap(POINT p, bool shift, bool control) {
  display::InputEvent e;
  e.x = p.x;
  e.y = p.y;
  e.shift = shift;
  e.control = control;
  push(e, display::InputEvent::Type::StylusDown);
  push(e, display::InputEvent::Type::StylusUp);
  pump();
}

void key(UINT vk, bool shift, bool control) {
  display::InputEvent e;
  e.key = vk;
  e.shift = shift;
  e.control = control;
  push(e, display::InputEvent::Type::KeyDown);
  push(e, display::InputEvent::Type::KeyUp);
  pump();
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
