#include "user/Activation.h"

#include "user/Painter.h"
#include "user/WindowManager.h"

namespace user {

namespace {

WindowManager& wm() { return WindowManager::instance(); }

bool canTakeFocus(Window* window) {
  for (Window* w = window; w && !w->isDesktop(); w = w->parent)
    if (!w->visibleFlag() || !w->enabledFlag()) return false;
  return !window->dead && !window->destroying;
}

bool inside(HWND hwnd, Window* ancestor) {
  Window* w = wm().fromHandle(hwnd);
  return w && (w == ancestor || w->isDescendantOf(ancestor));
}

}  // namespace

Activation& Activation::instance() {
  static auto* activation = new Activation;
  return *activation;
}

bool Activation::setFocus(Window* window, HWND& previous) {
  previous = focus_;
  if (window) {
    if (!canTakeFocus(window)) return false;
    Window* top = window->topLevel();
    if (top->handle != active_) activate(top, WA_ACTIVE);
    // Activation may have moved the focus or destroyed the window.
    if (window->dead || !canTakeFocus(window)) return false;
    previous = focus_;
  }
  HWND next = window ? window->handle : nullptr;
  if (next == focus_) return true;
  HWND old = focus_;
  focus_ = next;
  if (Window* w = wm().fromHandle(old)) wm().call(w, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
  // The old window's handler may have moved the focus on already.
  if (window && focus_ == next && !window->dead) wm().call(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return true;
}

void Activation::activate(Window* top, int how) {
  HWND next = top ? top->handle : nullptr;
  if (top) {
    gdi::Region before = painter::visibleRegion(top, false, false);
    if (wm().raise(top)) painter::exposeGain(top, before);
  }
  if (next == active_) return;
  HWND old = active_;
  active_ = next;
  if (Window* w = wm().fromHandle(old); w && !w->dead)
    wm().call(w, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(next));
  if (active_ != next) return;  // a handler activated another window
  if (!top) {
    HWND ignored;
    if (focus_) setFocus(nullptr, ignored);
    return;
  }
  wm().call(top, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(old));
  // A window that left WM_ACTIVATE to itself still ends up with the focus
  // inside the active window.
  if (active_ == next && !top->dead && !inside(focus_, top)) {
    HWND ignored;
    if (canTakeFocus(top))
      setFocus(top, ignored);
    else
      setFocus(nullptr, ignored);
  }
}

HWND Activation::setCapture(Window* window) {
  HWND previous = capture_;
  HWND next = window ? window->handle : nullptr;
  if (previous == next) return previous;
  capture_ = next;
  if (Window* w = wm().fromHandle(previous)) wm().call(w, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(next));
  return previous;
}

bool Activation::releaseCapture() {
  setCapture(nullptr);
  return true;
}

Window* Activation::successor(Window* leaving) {
  auto usable = [&](Window* w) {
    return w && w != leaving && !w->dead && !w->destroying && w->visibleFlag() && w->enabledFlag() &&
           w->owner != leaving;
  };
  if (usable(leaving->owner)) return leaving->owner;
  for (Window* w : wm().topLevelWindows())
    if (usable(w)) return w;
  return nullptr;
}

void Activation::windowGoing(Window* window) {
  if (inside(capture_, window)) setCapture(nullptr);
  if (inside(focus_, window)) {
    HWND ignored;
    Window* parent = window->isChild() ? window->parent : nullptr;
    if (!parent || !canTakeFocus(parent) || !setFocus(parent, ignored)) setFocus(nullptr, ignored);
  }
  if (window->isTopLevel() && active_ == window->handle) activate(successor(window), WA_ACTIVE);
}

void Activation::forget(HWND hwnd) {
  if (focus_ == hwnd) focus_ = nullptr;
  if (active_ == hwnd) active_ = nullptr;
  if (capture_ == hwnd) capture_ = nullptr;
}

}  // namespace user
