// Input as a person gives it, and a desktop left clean, for the tree and list tests.
#pragma once

#include <windows.h>

namespace ctltest {

void tap(POINT screen, bool shift = false, bool control = false);
// Down, two moves (halfway, then there), up.
void drag(POINT from, POINT to);
void key(UINT vk, bool shift = false, bool control = false);
// Takes and dispatches what is waiting, never waiting itself.
void pump();
// Destroys every top-level window and drops queued messages and input.
void cleanUp();

}  // namespace ctltest
