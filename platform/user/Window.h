// One window: its class, procedure, styles, words, text, place in the tree
// and the z-order, geometry and update region. Rectangles are kept in the
// parent's client coordinates (screen coordinates for top-level windows,
// whose parent is the desktop).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "gdi/Region.h"

namespace user {

struct WindowClass;

// State of a standard control, owned by its window.
class Control {
 public:
  virtual ~Control() = default;
};

class Window {
 public:
  HWND handle = nullptr;
  WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HINSTANCE instance = nullptr;
  UINT_PTR id = 0;
  LONG_PTR userData = 0;
  std::u16string text;
  std::vector<uint8_t> extra;
  HICON smallIcon = nullptr;
  HICON bigIcon = nullptr;

  Window* parent = nullptr;  // the desktop for top-level windows
  Window* owner = nullptr;   // top-level windows only
  std::vector<Window*> children;  // z-order: front is topmost

  RECT rect{};    // window rectangle, parent client coordinates
  RECT client{};  // client rectangle, parent client coordinates

  gdi::Region update;  // client coordinates
  bool erasePending = false;
  bool frameDirty = false;  // the non-client parts (frame, caption, scroll bars) are drawn again

  std::unique_ptr<Control> control;
  std::unique_ptr<Control> scrollBars;  // WindowScrollBars, once the window has had scroll bars

  int callDepth = 0;        // window procedure calls running for it
  bool destroying = false;  // DestroyWindow has begun
  bool dead = false;        // its handle is gone

  bool isChild() const { return (style & WS_CHILD) != 0; }
  bool isTopLevel() const;
  bool isDesktop() const { return parent == nullptr; }
  bool visibleFlag() const { return (style & WS_VISIBLE) != 0; }
  bool enabledFlag() const { return (style & WS_DISABLED) == 0; }
  int clientWidth() const { return client.right - client.left; }
  int clientHeight() const { return client.bottom - client.top; }

  // Screen position of the client area's top-left corner.
  POINT clientOrigin() const;
  RECT screenRect() const;
  RECT screenClient() const;
  // Client rectangle in its own coordinates: (0, 0, width, height).
  RECT clientArea() const { return {0, 0, clientWidth(), clientHeight()}; }

  // Visible along with every ancestor.
  bool reallyVisible() const;
  Window* topLevel();
  bool isDescendantOf(const Window* ancestor) const;
};

}  // namespace user
