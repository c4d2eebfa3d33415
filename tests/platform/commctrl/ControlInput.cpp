#include "ControlInput.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "device/Device.h"
#include "user/InputRouter.h"

namespace ctltest {

namespace {

using Type = display::InputEvent::Type;

// A press and its release, or one event alone, taken and dispatched at once.
void send(std::initializer_list<Type> types, POINT p, UINT vk = 0, bool shift = false, bool control = false) {
  for (Type type : types) device::Device::instance().pushInput({type, p.x, p.y, vk, 0, shift, control});
  pump();
}

// One stylus event, taken and dispatched at once (moves are not merged).
void stylus(Type type, POINT p) { send({type}, p); }

}  // namespace

void tap(POINT p, bool shift, bool control) { send({Type::StylusDown, Type::StylusUp}, p, 0, shift, control); }
void drag(POINT from, POINT to) {
  stylus(Type::StylusDown, from);
  stylus(Type::StylusMove, {(from.x + to.x) / 2, to.y});
  stylus(Type::StylusMove, to);
  stylus(Type::StylusUp, to);
}
void key(UINT vk, bool shift, bool control) { send({Type::KeyDown, Type::KeyUp}, {0, 0}, vk, shift, control); }

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
