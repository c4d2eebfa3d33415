// A window object: binds one window to this object and routes each of its
// messages to a handler of the MessageHandler interface.
#pragma once

#include <windows.h>

#include "framework/CeWndHandle.h"
#include "framework/MessageHandler.h"

class CeWnd : public CeWndHandle, public MessageHandler {
 public:
  // Class of every window created without a class name of its own.
  static constexpr const WCHAR* kGenericClassName = u"CeWnd:GENERIC";

  CeWnd() = default;
  ~CeWnd() override;

  // Creates a window bound to this object. A non-empty class name makes the
  // window a superclass ("CeWnd:<name>") of that global class; without one it
  // gets the generic class. instance null means the program's module. True
  // when the window exists and is the one bound to this object.
  bool Create(LPCWSTR className, HWND parent, int x, int y, int width, int height, LPCWSTR title, DWORD style,
              DWORD exStyle, HMENU menuOrId, HINSTANCE instance);

  // Procedure of every framework class: binds the window at WM_CREATE.
  static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Procedure of a bound window: dispatches to the object, guarded.
  static LRESULT CALLBACK InstanceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  LRESULT DefaultProc() override;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

 protected:
  // Shows the box that says a message was cut short by an exception.
  static void ReportException(UINT message) noexcept;

  // Where default processing goes; null means the platform's default.
  WNDPROC prevProc = nullptr;
  // The message being dispatched.
  HWND curHwnd = nullptr;
  UINT curMsg = 0;
  WPARAM curWParam = 0;
  LPARAM curLParam = 0;

  // Makes a message the one being dispatched while it lives. A handler may
  // send further messages to its own window; the outer message comes back
  // afterwards, so that its default processing still sees it.
  class CurrentMessage {
   public:
    CurrentMessage(CeWnd& wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    ~CurrentMessage();
    CurrentMessage(const CurrentMessage&) = delete;
    CurrentMessage& operator=(const CurrentMessage&) = delete;

   private:
    CeWnd& wnd;
    HWND outerHwnd;
    UINT outerMsg;
    WPARAM outerWParam;
    LPARAM outerLParam;
  };

 private:
  void RegisterSuperclass(LPCWSTR baseClassName, LPCWSTR superclassName, HINSTANCE instance);
  // The window is being destroyed: it goes back to the procedure it would
  // have had without this object, and the object forgets it.
  void Unbind(HWND window);
};
