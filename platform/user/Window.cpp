#include "user/Window.h"

namespace user {

bool Window::isTopLevel() const { return parent && parent->isDesktop(); }

POINT Window::clientOrigin() const {
  POINT origin{client.left, client.top};
  for (const Window* p = parent; p; p = p->parent) {
    origin.x += p->client.left;
    origin.y += p->client.top;
  }
  return origin;
}

RECT Window::screenRect() const {
  POINT base = parent ? parent->clientOrigin() : POINT{0, 0};
  return gdi::rectOffset(rect, base.x, base.y);
}

RECT Window::screenClient() const {
  POINT base = parent ? parent->clientOrigin() : POINT{0, 0};
  return gdi::rectOffset(client, base.x, base.y);
}

bool Window::reallyVisible() const {
  for (const Window* w = this; w; w = w->parent)
    if (!w->isDesktop() && !w->visibleFlag()) return false;
  return !dead;
}

Window* Window::topLevel() {
  Window* w = this;
  while (w->parent && !w->parent->isDesktop()) w = w->parent;
  return w;
}

bool Window::isDescendantOf(const Window* ancestor) const {
  for (const Window* p = parent; p; p = p->parent)
    if (p == ancestor) return true;
  return false;
}

}  // namespace user
