// Owns every window of the process: creation, destruction, lookup by
// handle, the desktop window at the root of the tree, the z-order of
// siblings, and the calls into window procedures.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "kernel/HandleTable.h"
#include "user/Window.h"

namespace user {

struct CreateArgs {
  DWORD exStyle = 0;
  LPCWSTR className = nullptr;
  LPCWSTR windowName = nullptr;
  DWORD style = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  HWND parent = nullptr;
  HMENU menu = nullptr;
  HINSTANCE instance = nullptr;
  LPVOID param = nullptr;
};

class WindowManager {
 public:
  static WindowManager& instance();

  // A live window (the desktop included); null for anything else.
  Window* fromHandle(HWND hwnd) const;
  // As fromHandle, setting ERROR_INVALID_WINDOW_HANDLE when there is none.
  Window* checked(HWND hwnd) const;
  Window* desktop();

  HWND create(const CreateArgs& args);
  // The program's main window: its first top-level window without an owner,
  // while it lasts; null before and after. The host names its window after it.
  Window* mainWindow() const { return fromHandle(mainWindow_); }
  bool destroy(Window* window);

  // Calls the window procedure; the window object outlives the call even if
  // the window is destroyed meanwhile.
  LRESULT call(Window* window, UINT msg, WPARAM wParam, LPARAM lParam);
  // Frees destroyed windows no procedure call is running for.
  void collectGarbage();

  // Z-order among siblings.
  void linkChild(Window* window, Window* parent, bool atTop);
  void unlink(Window* window);
  // Raises a window among its siblings; a top-level window takes its owned
  // windows along above it. Returns whether the order changed.
  bool raise(Window* window);
  bool lower(Window* window);
  bool placeBelow(Window* window, Window* sibling);

  std::vector<Window*> topLevelWindows();
  // Every descendant, parents before children, siblings in z-order.
  static void collectDescendants(Window* window, std::vector<Window*>& out);

  // Client area after the non-client parts the styles ask for.
  static RECT clientFromWindowRect(const RECT& rect, DWORD style, DWORD exStyle);
  static RECT nonClientInsets(DWORD style, DWORD exStyle);
  void updateClient(Window* window);

 private:
  WindowManager();
  void sendDestroyTree(Window* window);
  void ncDestroyTree(Window* window);
  void release(Window* window);
  void placeDefault(CreateArgs& args, bool child);

  kernel::HandleTable<Window> windows_{1};
  std::vector<std::unique_ptr<Window>> graveyard_;
  Window* desktop_ = nullptr;
  HWND mainWindow_ = nullptr;
};

// Keeps a window object alive (not freed by collectGarbage) while held.
class WindowPin {
 public:
  explicit WindowPin(Window* window) : window_(window) { ++window_->callDepth; }
  ~WindowPin() { --window_->callDepth; }
  WindowPin(const WindowPin&) = delete;
  WindowPin& operator=(const WindowPin&) = delete;

 private:
  Window* window_;
};

// The bus answers other processes' FindWindowW requests with this: a
// top-level window of this process by class and title (null: any).
HWND findLocalWindow(const char16_t* className, const char16_t* title);

}  // namespace user
