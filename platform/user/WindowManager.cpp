#include "user/WindowManager.h"

#include <algorithm>

#include "device/Device.h"
#include "user/Activation.h"
#include "user/MessageQueue.h"
#include "user/Painter.h"
#include "user/SystemClasses.h"
#include "user/Timers.h"
#include "user/WindowClass.h"

namespace user {

namespace {

std::vector<Window*> snapshot(const std::vector<Window*>& windows) { return windows; }

}  // namespace

WindowManager& WindowManager::instance() {
  static auto* manager = new WindowManager;
  return *manager;
}

WindowManager::WindowManager() {
  registerSystemClasses();
  auto desktop = std::make_unique<Window>();
  desktop->cls = ClassRegistry::instance().find(kDesktopClassName, nullptr);
  desktop->proc = DefWindowProcW;
  desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
  desktop_ = desktop.get();
  desktop_->handle = windows_.add<HWND>(std::move(desktop));
}

Window* WindowManager::desktop() {
  // The screen can be rotated at any time; the desktop always covers it.
  device::Device& device = device::Device::instance();
  RECT screen{0, 0, device.screenWidth(), device.screenHeight()};
  desktop_->rect = screen;
  desktop_->client = screen;
  return desktop_;
}

Window* WindowManager::fromHandle(HWND hwnd) const {
  if (!hwnd) return nullptr;
  Window* window = windows_.get(hwnd);
  if (window == desktop_) const_cast<WindowManager*>(this)->desktop();
  return window;
}

Window* WindowManager::checked(HWND hwnd) const {
  Window* window = fromHandle(hwnd);
  if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return window;
}

LRESULT WindowManager::call(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = window->proc;
  if (!proc) return 0;
  WindowPin pin(window);
  return proc(window->handle, msg, wParam, lParam);
}

void WindowManager::collectGarbage() {
  std::erase_if(graveyard_, [](const std::unique_ptr<Window>& w) { return w->callDepth == 0; });
}

// ---- z-order

void WindowManager::linkChild(Window* window, Window* parent, bool atTop) {
  window->parent = parent;
  if (atTop)
    parent->children.insert(parent->children.begin(), window);
  else
    parent->children.push_back(window);
}

void WindowManager::unlink(Window* window) {
  if (!window->parent) return;
  std::erase(window->parent->children, window);
}

bool WindowManager::raise(Window* window) {
  Window* parent = window->parent;
  if (!parent) return false;
  auto& siblings = parent->children;
  bool changed = siblings.empty() || siblings.front() != window;
  if (changed) {
    std::erase(siblings, window);
    siblings.insert(siblings.begin(), window);
  }
  if (parent->isDesktop()) {
    // Owned windows stay above their owner, in their present order.
    std::vector<Window*> owned;
    for (Window* w : siblings)
      if (w->owner == window) owned.push_back(w);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) changed = raise(*it) || changed;
  }
  return changed;
}

bool WindowManager::lower(Window* window) {
  Window* parent = window->parent;
  if (!parent || parent->children.back() == window) return false;
  std::erase(parent->children, window);
  parent->children.push_back(window);
  return true;
}

bool WindowManager::placeBelow(Window* window, Window* sibling) {
  Window* parent = window->parent;
  if (!parent || sibling == window || sibling->parent != parent) return false;
  auto& siblings = parent->children;
  auto current = std::find(siblings.begin(), siblings.end(), window);
  auto target = std::find(siblings.begin(), siblings.end(), sibling);
  if (current == target + 1) return false;
  std::erase(siblings, window);
  siblings.insert(std::find(siblings.begin(), siblings.end(), sibling) + 1, window);
  return true;
}

std::vector<Window*> WindowManager::topLevelWindows() { return desktop()->children; }

void WindowManager::collectDescendants(Window* window, std::vector<Window*>& out) {
  for (Window* child : window->children) {
    out.push_back(child);
    collectDescendants(child, out);
  }
}

// ---- non-client area

RECT WindowManager::nonClientInsets(DWORD style, DWORD exStyle) {
  RECT insets{0, 0, 0, 0};
  auto add = [&](int n) {
    insets.left += n;
    insets.top += n;
    insets.right += n;
    insets.bottom += n;
  };
  if ((style & WS_CAPTION) == WS_CAPTION) {
    add(GetSystemMetrics(SM_CXBORDER));
    insets.top += GetSystemMetrics(SM_CYCAPTION);
  } else if (style & WS_BORDER) {
    add(GetSystemMetrics(SM_CXBORDER));
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    add(GetSystemMetrics(SM_CXDLGFRAME));
  }
  if (exStyle & WS_EX_CLIENTEDGE) add(GetSystemMetrics(SM_CXEDGE));
  if (exStyle & WS_EX_STATICEDGE) add(GetSystemMetrics(SM_CXBORDER));
  if (style & WS_VSCROLL) insets.right += GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return insets;
}

RECT WindowManager::clientFromWindowRect(const RECT& rect, DWORD style, DWORD exStyle) {
  RECT insets = nonClientInsets(style, exStyle);
  RECT client{rect.left + insets.left, rect.top + insets.top, rect.right - insets.right, rect.bottom - insets.bottom};
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  return client;
}

void WindowManager::updateClient(Window* window) {
  window->client = clientFromWindowRect(window->rect, window->style, window->exStyle);
}

// ---- creation

void WindowManager::placeDefault(CreateArgs& args, bool child) {
  if (child) {
    if (args.x == CW_USEDEFAULT) args.x = args.y = 0;
    if (args.y == CW_USEDEFAULT) args.y = 0;
    if (args.width == CW_USEDEFAULT) args.width = args.height = 0;
    if (args.height == CW_USEDEFAULT) args.height = 0;
    return;
  }
  RECT desk = device::Device::instance().visibleDesktop();
  if (args.x == CW_USEDEFAULT) {
    args.x = desk.left;
    args.y = desk.top;
  }
  if (args.y == CW_USEDEFAULT) args.y = desk.top;
  if (args.width == CW_USEDEFAULT) {
    args.width = desk.right - desk.left;
    args.height = desk.bottom - desk.top;
  }
  if (args.height == CW_USEDEFAULT) args.height = desk.bottom - desk.top;
}

HWND WindowManager::create(const CreateArgs& given) {
  CreateArgs args = given;
  args.instance = defaultInstance(args.instance);
  WindowClass* cls = ClassRegistry::instance().find(args.className, args.instance);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  bool child = (args.style & WS_CHILD) != 0;
  Window* parent = desktop();
  Window* owner = nullptr;
  if (child) {
    if (!args.parent) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    parent = checked(args.parent);
    if (!parent) return nullptr;
  } else if (args.parent) {
    Window* given = checked(args.parent);
    if (!given) return nullptr;
    owner = given->isDesktop() ? nullptr : given->topLevel();
  }
  placeDefault(args, child);

  auto object = std::make_unique<Window>();
  Window* window = object.get();
  window->cls = cls;
  window->proc = cls->proc;
  window->style = args.style & ~WS_VISIBLE;
  window->exStyle = args.exStyle;
  window->instance = args.instance;
  window->id = child ? reinterpret_cast<UINT_PTR>(args.menu) : 0;
  window->extra.assign(static_cast<size_t>(cls->windowExtra), 0);
  window->owner = owner;
  window->rect = {args.x, args.y, args.x + std::max(args.width, 0), args.y + std::max(args.height, 0)};
  updateClient(window);
  window->handle = windows_.add<HWND>(std::move(object));
  if (!window->handle) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  ++cls->windows;
  // Children keep their creation order (the tab order); new top-level
  // windows come to the top.
  linkChild(window, parent, !child);
  if (!child && !owner && !mainWindow()) mainWindow_ = window->handle;

  WindowPin pin(window);
  CREATESTRUCTW cs{args.param,      args.instance, args.menu,          args.parent,   args.height, args.width,
                   args.y,          args.x,        LONG(args.style),   args.windowName, args.className,
                   args.exStyle};
  if (!call(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (!window->dead) {
      window->destroying = true;
      ncDestroyTree(window);
    }
    return nullptr;
  }
  if (window->dead || window->destroying) return nullptr;
  updateClient(window);
  if (call(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (!window->dead) destroy(window);
    return nullptr;
  }
  if (window->dead || window->destroying) return nullptr;
  call(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->clientWidth(), window->clientHeight()));
  call(window, WM_MOVE, 0, MAKELPARAM(window->client.left, window->client.top));
  if (window->dead || window->destroying) return nullptr;
  if (args.style & WS_VISIBLE) ShowWindow(window->handle, SW_SHOW);
  return window->dead ? nullptr : window->handle;
}

// ---- destruction

bool WindowManager::destroy(Window* window) {
  if (window->isDesktop()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (window->destroying) return true;
  WindowPin pin(window);
  window->destroying = true;

  if (window->isTopLevel())
    for (Window* other : snapshot(desktop()->children))
      if (other->owner == window && !other->dead) destroy(other);

  if (window->visibleFlag()) {
    bool wasShowing = window->reallyVisible();
    RECT before = window->screenRect();
    window->style &= ~WS_VISIBLE;
    if (wasShowing) painter::exposeScreen(before);
  }
  Activation::instance().windowGoing(window);

  sendDestroyTree(window);
  if (!window->dead) ncDestroyTree(window);
  return true;
}

void WindowManager::sendDestroyTree(Window* window) {
  WindowPin pin(window);
  window->destroying = true;
  call(window, WM_DESTROY, 0, 0);
  for (Window* child : snapshot(window->children))
    if (!child->dead && !child->destroying) sendDestroyTree(child);
}

void WindowManager::ncDestroyTree(Window* window) {
  WindowPin pin(window);
  for (Window* child : snapshot(window->children))
    if (!child->dead) ncDestroyTree(child);
  if (window->dead) return;
  call(window, WM_NCDESTROY, 0, 0);
  release(window);
}

void WindowManager::release(Window* window) {
  if (window->dead) return;
  // A child made while its parent was being destroyed goes with it.
  while (!window->children.empty()) {
    Window* child = window->children.front();
    child->destroying = true;
    ncDestroyTree(child);
    if (!window->children.empty() && window->children.front() == child) unlink(child);
  }
  HWND handle = window->handle;
  Timers::instance().removeWindow(handle);
  MessageQueue::instance().removeWindow(handle);
  Activation::instance().forget(handle);
  for (Window* other : desktop()->children)
    if (other->owner == window) other->owner = nullptr;
  unlink(window);
  window->dead = true;
  --window->cls->windows;
  graveyard_.push_back(windows_.remove(handle));
}

// ---- lookup for the bus

HWND findLocalWindow(const char16_t* className, const char16_t* title) {
  for (Window* w : WindowManager::instance().topLevelWindows()) {
    if (className && IS_INTRESOURCE(className)) {
      if (w->cls->atom != static_cast<ATOM>(reinterpret_cast<uintptr_t>(className))) continue;
    } else if (className && !equalNoCase(w->cls->name, className)) {
      continue;
    }
    if (title && w->text != title) continue;
    return w->handle;
  }
  return nullptr;
}

}  // namespace user
