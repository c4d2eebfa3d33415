#include "user/Painter.h"

#include "gdi/DeviceContext.h"
#include "user/WindowFrame.h"
#include "user/WindowManager.h"

namespace user::painter {

namespace {

WindowManager& wm() { return WindowManager::instance(); }

// The window's border, caption or scroll bars are drawn again.
void markFrame(Window* window) {
  if (hasFrame(window)) window->frameDirty = true;
}

// The area (screen coordinates) lands on the window and, where they cover
// it, on its children instead.
void exposeInWindow(Window* window, gdi::Region area) {
  area.intersect(window->screenRect());
  if (area.empty()) return;
  for (Window* child : window->children) {
    if (!child->visibleFlag()) continue;
    exposeInWindow(child, area);
    area.subtract(child->screenRect());
  }
  gdi::Region outside = area;
  outside.subtract(window->screenClient());
  if (!outside.empty()) markFrame(window);
  area.intersect(window->screenClient());
  if (area.empty()) return;
  POINT origin = window->clientOrigin();
  area.offset(-origin.x, -origin.y);
  window->update.unite(area);
  window->erasePending = true;
}

Window* findInvalid(Window* window) {
  if (!window->visibleFlag() || window->dead) return nullptr;
  if (!window->update.empty() || window->frameDirty) return window;
  for (Window* child : window->children)
    if (Window* found = findInvalid(child)) return found;
  return nullptr;
}

}  // namespace

gdi::Region visibleRegion(Window* window, bool clientOnly, bool clipChildren) {
  if (!window->reallyVisible()) return {};
  gdi::Region region(clientOnly ? window->screenClient() : window->screenRect());
  Window* child = window;
  for (Window* p = window->parent; p; child = p, p = p->parent) {
    region.intersect(p->screenClient());
    for (Window* sibling : p->children) {
      if (sibling == child) break;
      if (sibling->visibleFlag()) region.subtract(sibling->screenRect());
    }
  }
  if (clipChildren)
    for (Window* c : window->children)
      if (c->visibleFlag()) region.subtract(c->screenRect());
  return region;
}

void invalidate(Window* window, const RECT* rect, bool erase) {
  if (window->isDesktop()) {
    for (Window* top : window->children) invalidate(top, nullptr, erase);
    return;
  }
  if (!window->reallyVisible()) return;
  if (!rect) markFrame(window);
  RECT area = window->clientArea();
  if (rect) area = gdi::rectIntersection(area, *rect);
  if (gdi::rectEmpty(area)) return;
  window->update.unite(area);
  if (erase) window->erasePending = true;
  for (Window* child : window->children) {
    if (!child->visibleFlag()) continue;
    RECT part = gdi::rectIntersection(area, child->rect);
    if (gdi::rectEmpty(part)) continue;
    RECT clientPart = gdi::rectIntersection(part, child->client);
    if (clientPart.left != part.left || clientPart.top != part.top || clientPart.right != part.right ||
        clientPart.bottom != part.bottom)
      markFrame(child);
    RECT inChild = gdi::rectOffset(part, -child->client.left, -child->client.top);
    invalidate(child, &inChild, erase);
  }
}

void invalidateAll(Window* window) { invalidate(window, nullptr, true); }

void validate(Window* window, const RECT* rect) {
  if (rect)
    window->update.subtract(*rect);
  else
    window->update.clear();
  if (window->update.empty()) window->erasePending = false;
}

void exposeScreen(const RECT& screenRect) {
  gdi::Region remaining(screenRect);
  for (Window* top : wm().topLevelWindows()) {
    if (remaining.empty()) return;
    if (!top->visibleFlag()) continue;
    exposeInWindow(top, remaining);
    remaining.subtract(top->screenRect());
  }
}

void exposeGain(Window* window, const gdi::Region& before) {
  gdi::Region gained = visibleRegion(window, false, false);
  gained.subtract(before);
  if (!gained.empty()) exposeInWindow(window, gained);
}

namespace {

Window* findToPaint(Window* filter) {
  if (filter && !filter->isDesktop()) return filter->reallyVisible() ? findInvalid(filter) : nullptr;
  for (Window* top : wm().topLevelWindows())
    if (Window* found = findInvalid(top)) return found;
  return nullptr;
}

}  // namespace

Window* nextToPaint(Window* filter) {
  // Frames are drawn here and now; only client areas wait for WM_PAINT.
  for (;;) {
    Window* found = findToPaint(filter);
    if (!found || !found->frameDirty) return found;
    drawFrame(found);
    if (!found->update.empty()) return found;
  }
}

HDC beginPaint(Window* window, PAINTSTRUCT& paint) {
  paint = PAINTSTRUCT{};
  gdi::Region area = window->update;
  area.intersect(window->clientArea());
  bool erase = window->erasePending;
  window->update.clear();
  window->erasePending = false;

  POINT origin = window->clientOrigin();
  gdi::Region clip = area;
  clip.offset(origin.x, origin.y);
  clip.intersect(visibleRegion(window, true, (window->style & WS_CLIPCHILDREN) != 0));
  HDC hdc = gdi::createDC(window->handle, origin, std::move(clip));
  paint.hdc = hdc;
  paint.rcPaint = area.bounds();
  if (erase) paint.fErase = wm().call(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
  return hdc;
}

void updateNow(Window* window) {
  WindowPin pin(window);
  if (window->frameDirty && window->reallyVisible()) drawFrame(window);
  if (!window->update.empty() && window->reallyVisible()) wm().call(window, WM_PAINT, 0, 0);
  for (Window* child : std::vector<Window*>(window->children))
    if (!child->dead && child->parent == window) updateNow(child);
}

}  // namespace user::painter
