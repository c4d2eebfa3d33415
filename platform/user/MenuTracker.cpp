#include "user/MenuTracker.h"

#include <vector>

#include "kernel/Utf.h"
#include "user/ControlState.h"
#include "user/Menu.h"
#include "user/MenuLayout.h"

namespace user {

namespace {

// The state of one popup's window: which menu it shows and what is lit.
class PopupMenuWindow : public Control {
 public:
  explicit PopupMenuWindow(HWND) {}
  HMENU menu = nullptr;
  PopupLayout layout;
  int selected = -1;
};

PopupMenuWindow* popupState(HWND hwnd) {
  Window* window = WindowManager::instance().fromHandle(hwnd);
  return window ? dynamic_cast<PopupMenuWindow*>(window->control.get()) : nullptr;
}

RECT screenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

bool isStylusMessage(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_LBUTTONUP || msg == WM_MOUSEMOVE;
}

bool isKeyMessage(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP ||
         msg == WM_SYSCHAR;
}

class MenuSession;
MenuSession* g_session = nullptr;
std::optional<POINT> g_dismissingTap;

class MenuSession {
 public:
  MenuSession(HWND owner, UINT flags) : owner_(owner), flags_(flags) { g_session = this; }
  ~MenuSession() {
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    g_session = nullptr;
  }
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;

  // The command chosen, 0 when the menu was dismissed.
  UINT run(HMENU menu, POINT at, const RECT* exclude);
  bool findItem(std::u16string_view text, RECT& onScreen) const;

 private:
  bool open(HMENU menu, int fromItem, POINT at, const RECT* exclude);
  void closeAbove(size_t level);
  bool stillValid() const;
  void stylus(const MSG& msg);
  void key(const MSG& msg);
  // The level and item under a screen point; level -1 outside every popup.
  std::pair<int, int> hit(POINT screen) const;
  void select(size_t level, int item);
  // Lights an item reached by the stylus and opens the menu it leads to.
  void point(size_t level, int item);
  void activate(size_t level, int item);
  void step(int direction);
  void mnemonic(char16_t typed);
  void dismiss() { ended_ = true; }

  HWND owner_;
  UINT flags_;
  std::vector<HWND> levels_;  // outermost first
  bool stylusHeld_ = false;
  bool ended_ = false;
  UINT command_ = 0;
};

bool MenuSession::open(HMENU menu, int fromItem, POINT at, const RECT* exclude) {
  if (!(flags_ & TPM_NONOTIFY))
    SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(fromItem < 0 ? 0 : fromItem, FALSE));
  Menu* m = menuTable().get(menu);
  if (!m || m->items.empty() || !IsWindow(owner_)) return false;
  PopupLayout layout = layoutPopup(*m);
  RECT placed;
  if (levels_.empty()) {
    placed = placePopup(layout.size, at, flags_, exclude, screenRect());
  } else {
    PopupMenuWindow* parent = popupState(levels_.back());
    RECT parentRect;
    GetWindowRect(levels_.back(), &parentRect);
    RECT item = parent->layout.items[static_cast<size_t>(fromItem)];
    OffsetRect(&item, parentRect.left, parentRect.top);
    placed = placeSubmenu(layout.size, item, parentRect, screenRect());
  }
  HWND window = CreateWindowExW(0, kPopupMenuClassName, nullptr, WS_POPUP, placed.left, placed.top,
                                placed.right - placed.left, placed.bottom - placed.top, topLevelOf(owner_), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) return false;
  PopupMenuWindow* state = controlState<PopupMenuWindow>(window);
  state->menu = menu;
  state->layout = std::move(layout);
  levels_.push_back(window);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetCapture(window);
  return true;
}

void MenuSession::closeAbove(size_t level) {
  while (levels_.size() > level + 1) {
    HWND window = levels_.back();
    levels_.pop_back();
    if (IsWindow(window)) DestroyWindow(window);
  }
  if (level < levels_.size()) SetCapture(levels_[level]);
}

bool MenuSession::stillValid() const {
  if (!IsWindow(owner_)) return false;
  for (HWND window : levels_) {
    PopupMenuWindow* state = popupState(window);
    if (!state || !menuTable().get(state->menu)) return false;
  }
  return !levels_.empty() && GetCapture() == levels_.back();
}

UINT MenuSession::run(HMENU menu, POINT at, const RECT* exclude) {
  g_dismissingTap.reset();
  // A menu opened by a press can be chosen by dragging onto an item and
  // lifting there.
  stylusHeld_ = GetKeyState(VK_LBUTTON) < 0;
  if (!open(menu, -1, at, exclude)) return 0;
  bool quit = false;
  int quitCode = 0;
  MSG msg;
  while (!ended_) {
    // Looked at before each wait as well: the menu or its owner may go while
    // nothing is delivered to this loop.
    if (!stillValid()) break;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (isStylusMessage(msg.message)) {
      stylus(msg);
    } else if (isKeyMessage(msg.message)) {
      key(msg);
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (quit) PostQuitMessage(quitCode);
  return command_;
}

std::pair<int, int> MenuSession::hit(POINT screen) const {
  for (int level = static_cast<int>(levels_.size()) - 1; level >= 0; --level) {
    RECT r;
    GetWindowRect(levels_[static_cast<size_t>(level)], &r);
    if (!contains(r, screen)) continue;
    PopupMenuWindow* state = popupState(levels_[static_cast<size_t>(level)]);
    return {level, popupItemAt(state->layout, POINT{screen.x - r.left, screen.y - r.top})};
  }
  return {-1, -1};
}

void MenuSession::select(size_t level, int item) {
  PopupMenuWindow* state = popupState(levels_[level]);
  if (!state || state->selected == item) return;
  state->selected = item;
  InvalidateRect(levels_[level], nullptr, FALSE);
}

void MenuSession::point(size_t level, int item) {
  Menu* menu = menuTable().get(popupState(levels_[level])->menu);
  const MenuItem* target = item >= 0 ? &menu->items[static_cast<size_t>(item)] : nullptr;
  if (!target || !target->selectable()) item = -1;
  // Moving within a popup closes the menus opened from its other items.
  bool opensShownMenu = item >= 0 && target->popup() && levels_.size() > level + 1 &&
                        popupState(levels_[level])->selected == item;
  if (!opensShownMenu) closeAbove(level);
  select(level, item);
  if (item >= 0 && target->popup() && !opensShownMenu) open(target->submenu, item, {}, nullptr);
}

void MenuSession::activate(size_t level, int item) {
  Menu* menu = menuTable().get(popupState(levels_[level])->menu);
  if (item < 0 || !menu) return;
  const MenuItem& target = menu->items[static_cast<size_t>(item)];
  if (!target.selectable()) return;
  if (target.popup()) {
    if (levels_.size() == level + 1 && open(target.submenu, item, {}, nullptr)) step(1);
    return;
  }
  command_ = target.id;
  ended_ = true;
}

void MenuSession::stylus(const MSG& msg) {
  POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  ClientToScreen(msg.hwnd, &screen);
  auto [level, item] = hit(screen);
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (level < 0) {
        g_dismissingTap = screen;
        dismiss();
        return;
      }
      stylusHeld_ = true;
      point(static_cast<size_t>(level), item);
      return;
    case WM_MOUSEMOVE:
      if (!stylusHeld_) return;
      if (level >= 0)
        point(static_cast<size_t>(level), item);
      else
        select(levels_.size() - 1, -1);
      return;
    case WM_LBUTTONUP: {
      if (!stylusHeld_) return;
      stylusHeld_ = false;
      if (level < 0 || item < 0) return;
      Menu* menu = menuTable().get(popupState(levels_[static_cast<size_t>(level)])->menu);
      const MenuItem& target = menu->items[static_cast<size_t>(item)];
      if (target.selectable() && !target.popup()) activate(static_cast<size_t>(level), item);
      return;
    }
  }
}

// Moves the highlight of the innermost popup to the next item that can be
// chosen, wrapping around; direction 0 goes to the first such item.
void MenuSession::step(int direction) {
  size_t level = levels_.size() - 1;
  PopupMenuWindow* state = popupState(levels_[level]);
  Menu* menu = menuTable().get(state->menu);
  int count = static_cast<int>(menu->items.size());
  int current = state->selected;
  if (direction == 0 || current < 0) current = direction < 0 ? count : -1;
  int delta = direction < 0 ? -1 : 1;
  for (int i = 0; i < count; ++i) {
    current = ((current + delta) % count + count) % count;
    if (menu->items[static_cast<size_t>(current)].selectable()) {
      select(level, current);
      return;
    }
  }
}

void MenuSession::mnemonic(char16_t typed) {
  size_t level = levels_.size() - 1;
  Menu* menu = menuTable().get(popupState(levels_[level])->menu);
  char16_t wanted = towlower(typed);
  for (size_t i = 0; wanted && i < menu->items.size(); ++i) {
    if (menuMnemonic(menu->items[i].text) != wanted || !menu->items[i].selectable()) continue;
    select(level, static_cast<int>(i));
    activate(level, static_cast<int>(i));
    return;
  }
}

void MenuSession::key(const MSG& msg) {
  size_t level = levels_.size() - 1;
  PopupMenuWindow* state = popupState(levels_[level]);
  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
    mnemonic(static_cast<char16_t>(msg.wParam));
    return;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  switch (msg.wParam) {
    case VK_DOWN:
      step(1);
      break;
    case VK_UP:
      step(-1);
      break;
    case VK_HOME:
      select(level, -1);
      step(1);
      break;
    case VK_END:
      select(level, -1);
      step(-1);
      break;
    case VK_RIGHT:
    case VK_RETURN:
      if (state->selected >= 0) {
        Menu* menu = menuTable().get(state->menu);
        bool popup = menu->items[static_cast<size_t>(state->selected)].popup();
        if (msg.wParam == VK_RETURN || popup) activate(level, state->selected);
      }
      break;
    case VK_LEFT:
      if (level > 0) closeAbove(level - 1);
      break;
    case VK_ESCAPE:
      if (level > 0)
        closeAbove(level - 1);
      else
        dismiss();
      break;
    default:
      // The loop translates no keys: a letter or digit key is its character.
      if ((msg.wParam >= 'A' && msg.wParam <= 'Z') || (msg.wParam >= '0' && msg.wParam <= '9'))
        mnemonic(static_cast<char16_t>(msg.wParam));
      break;
  }
}

bool MenuSession::findItem(std::u16string_view text, RECT& onScreen) const {
  for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) {
    PopupMenuWindow* state = popupState(*it);
    Menu* menu = state ? menuTable().get(state->menu) : nullptr;
    if (!menu) continue;
    RECT window;
    GetWindowRect(*it, &window);
    for (size_t i = 0; i < menu->items.size(); ++i) {
      if (menu->items[i].separator || menuTextAsRead(menu->items[i].text) != text) continue;
      onScreen = state->layout.items[i];
      OffsetRect(&onScreen, window.left, window.top);
      return true;
    }
  }
  return false;
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  if (!hdc) return;
  PopupMenuWindow* state = popupState(hwnd);
  if (Menu* menu = state ? menuTable().get(state->menu) : nullptr) paintPopup(hdc, *menu, state->layout, state->selected);
  EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK popupMenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;  // the whole popup is painted at once
    case WM_PAINT:
      paint(hwnd);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

BOOL trackPopupMenu(HMENU menu, UINT flags, POINT at, HWND owner, const RECT* exclude) {
  if (!menuFromHandle(menu)) return FALSE;
  if (!owner || !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (g_session) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  UINT command;
  {
    MenuSession session(owner, flags);
    command = session.run(menu, at, exclude);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(command);
  if (command && IsWindow(owner)) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return TRUE;
}

bool menuIsOpen() { return g_session != nullptr; }

bool findOpenMenuItem(std::u16string_view text, RECT& onScreen, std::string& reason) {
  if (!g_session) {
    reason = "no menu is open";
    return false;
  }
  if (g_session->findItem(text, onScreen)) return true;
  reason = "the open menu has no item \"" + kernel::utf16ToUtf8(text) + "\"";
  return false;
}

std::optional<POINT> lastDismissingTap() { return g_dismissingTap; }

}  // namespace user
