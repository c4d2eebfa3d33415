// SHCreateMenuBar: builds a menu bar from a menu-bar resource (or a menu)
// and ties it to its parent's top-level window, whose activation the bar
// follows by watching that window's messages.
#include <aygshell.h>

#include <map>

#include "device/Dump.h"
#include "shell/MenuBar.h"
#include "shell/MenuBarResource.h"
#include "user/SystemClasses.h"
#include "user/WindowManager.h"

namespace shell {

namespace {

// The device's structure, which a program written for it may name.
constexpr DWORD kDeviceInfoSize = 32;

struct Owner {
  HWND bar = nullptr;
  WNDPROC previous = nullptr;
};

// Top-level windows with a bar, and the procedure each had before.
std::map<HWND, Owner>& owners() {
  static auto* map = new std::map<HWND, Owner>;
  return *map;
}

HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto found = owners().find(hwnd);
  if (found == owners().end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  WNDPROC previous = found->second.previous;
  LRESULT result = CallWindowProcW(previous, hwnd, msg, wParam, lParam);
  found = owners().find(hwnd);
  if (found == owners().end()) return result;
  switch (msg) {
    case WM_ACTIVATE:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
      if (MenuBar* bar = MenuBar::of(found->second.bar)) bar->followOwner();
      break;
    case WM_NCDESTROY:
      owners().erase(found);
      break;
    default:
      break;
  }
  return result;
}

// The bar's window is going: its owner's procedure is given back, unless
// something was put in front of it since, which then still calls through
// (and is forgotten with its window). An owner being destroyed keeps its
// entry until WM_NCDESTROY, so its own procedure still gets WM_DESTROY.
void forgetBar(HWND bar) {
  for (auto it = owners().begin(); it != owners().end(); ++it) {
    if (it->second.bar != bar) continue;
    HWND owner = it->first;
    user::Window* window = user::WindowManager::instance().fromHandle(owner);
    if (!window || window->dead) {
      owners().erase(it);
    } else if (!window->destroying &&
               reinterpret_cast<WNDPROC>(GetWindowLongPtrW(owner, GWLP_WNDPROC)) == &ownerProc) {
      SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
      owners().erase(it);
    } else {
      it->second.bar = nullptr;
    }
    return;
  }
}

LRESULT CALLBACK barProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) forgetBar(hwnd);
  return user::controlProc<MenuBar>(hwnd, msg, wParam, lParam);
}

void registerBarClass() {
  static bool done = false;
  if (done) return;
  done = true;
  user::registerSystemClass(kMenuBarClassName, barProc, 0, 0, nullptr);
  device::registerDumpItems(kMenuBarClassName, [](HWND hwnd, const std::string& indent, std::string& out) {
    if (MenuBar* bar = MenuBar::of(hwnd)) bar->dump(indent, out);
  });
}

// Frees what a content holds unless it is handed on.
class ContentGuard {
 public:
  explicit ContentGuard(MenuBarContent& content) : content_(content) {}
  ~ContentGuard() {
    if (kept_) return;
    if (content_.menu) DestroyMenu(content_.menu);
    if (content_.images) DeleteObject(content_.images);
  }
  void keep() { kept_ = true; }

 private:
  MenuBarContent& content_;
  bool kept_ = false;
};

bool refuse(DWORD error) {
  SetLastError(error);
  return false;
}

std::u16string loadString(HINSTANCE instance, UINT id) {
  if (id == 0) return {};
  const WCHAR* text = nullptr;
  int length = static_cast<int>(LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0));
  return text && length > 0 ? std::u16string(text, static_cast<size_t>(length)) : std::u16string();
}

// A menu's top level as the bar's buttons: popups open, commands are sent.
bool fromMenu(const SHMENUBARINFO& info, MenuBarContent& content) {
  content.menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId));
  if (!content.menu) return false;
  int count = GetMenuItemCount(content.menu);
  for (int i = 0; i < count; ++i) {
    MenuBarButton button;
    WCHAR text[128] = {};
    GetMenuStringW(content.menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    button.text = text;
    button.popup = GetSubMenu(content.menu, i);
    button.command = button.popup ? 0 : GetMenuItemID(content.menu, i);
    button.style = button.popup ? (TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE) : TBSTYLE_BUTTON;
    if (!button.text.empty() || button.popup) content.buttons.push_back(std::move(button));
  }
  return true;
}

bool fromResource(const SHMENUBARINFO& info, MenuBarContent& content) {
  HRSRC found = FindResourceW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId), RT_RCDATA);
  if (!found) return false;
  const void* bytes = LockResource(LoadResource(info.hInstRes, found));
  auto resource = parseMenuBarResource(bytes, bytes ? SizeofResource(info.hInstRes, found) : 0);
  if (!resource) return refuse(ERROR_INVALID_DATA);

  bool popups = false, images = false;
  for (const MenuBarResourceButton& b : resource->buttons) {
    popups = popups || b.popup >= 0;
    images = images || b.image != I_IMAGENONE;
  }
  if (popups && !(content.menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(resource->menuId)))) return false;
  if (images) {
    content.images = LoadBitmapW(info.hInstRes, MAKEINTRESOURCEW(info.nBmpId));
    if (!content.images) return false;
    content.imageCount = info.cBmpImages;
    content.imagesId = info.nBmpId;
  }
  for (const MenuBarResourceButton& b : resource->buttons) {
    MenuBarButton button;
    button.image = b.image;
    button.command = b.command;
    button.state = b.state;
    button.style = b.style;
    button.text = loadString(info.hInstRes, b.stringId);
    if (b.popup >= 0 && !(button.popup = GetSubMenu(content.menu, b.popup))) return refuse(ERROR_INVALID_DATA);
    if (b.image != I_IMAGENONE && (b.image < 0 || b.image >= content.imageCount)) return refuse(ERROR_INVALID_DATA);
    content.buttons.push_back(std::move(button));
  }
  return true;
}

bool createMenuBar(SHMENUBARINFO& info) {
  if (info.cbSize != sizeof(SHMENUBARINFO) && info.cbSize != kDeviceInfoSize) return refuse(ERROR_INVALID_PARAMETER);
  HWND owner = topLevelOf(info.hwndParent);
  if (!info.hwndParent || !IsWindow(info.hwndParent) || !owner) return refuse(ERROR_INVALID_WINDOW_HANDLE);

  MenuBarContent content;
  ContentGuard guard(content);
  if (!(info.dwFlags & SHCMBF_EMPTYBAR) && !((info.dwFlags & SHCMBF_HMENU) ? fromMenu(info, content) : fromResource(info, content)))
    return false;

  registerBarClass();
  // A window has one bar: a new one replaces the old.
  if (HWND old = menuBarOf(owner)) DestroyWindow(old);
  HWND hwnd = CreateWindowExW(0, kMenuBarClassName, nullptr, WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  MenuBar* bar = MenuBar::of(hwnd);
  if (!bar) {
    if (hwnd) DestroyWindow(hwnd);
    return refuse(ERROR_NOT_ENOUGH_MEMORY);
  }
  guard.keep();
  bar->setup(info.hwndParent, std::move(content), (info.dwFlags & SHCMBF_HIDESIPBUTTON) != 0,
             !(info.dwFlags & SHCMBF_HIDDEN));

  auto found = owners().find(owner);
  if (found != owners().end()) {
    found->second.bar = hwnd;
  } else {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(owner, GWLP_WNDPROC));
    owners()[owner] = Owner{hwnd, previous};
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ownerProc));
  }
  installMenuChooser();
  bar->followOwner();
  info.hwndMB = hwnd;
  return true;
}

}  // namespace

HWND menuBarOf(HWND topLevel) {
  auto found = owners().find(topLevel);
  return found == owners().end() ? nullptr : found->second.bar;
}

}  // namespace shell

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi) {
  if (!pmbi) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return shell::createMenuBar(*pmbi) ? TRUE : FALSE;
}
