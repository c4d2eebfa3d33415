// The operations a window object offers its window procedure: one handler per
// message of interest, with the message's arguments already unpacked. Every
// handler gets the handled flag last; it is false on entry, and a handler that
// has fully processed the message sets it. Left false, the message goes on to
// default processing. The base handlers do nothing.
#pragma once

#include <windows.h>

class MessageHandler {
 public:
  virtual ~MessageHandler() = default;

  // Default processing of the message being dispatched.
  virtual LRESULT DefaultProc() = 0;
  // Routes one message to its handler; returns the message result.
  virtual LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) = 0;

  // x, y, width, height, repeat counts and key data are the zero-extended
  // 16-bit halves of the message's second parameter.
  virtual LRESULT OnChar(WPARAM character, UINT repeatCount, UINT keyData, bool* handled);
  virtual LRESULT OnClose(bool* handled);
  virtual LRESULT OnCreate(CREATESTRUCTW* create, bool* handled);
  virtual LRESULT OnCommand(WPARAM idAndCode, HWND control, bool* handled);
  virtual LRESULT OnNotify(WPARAM controlId, NMHDR* header, bool* handled);
  virtual LRESULT OnDestroy(bool* handled);
  virtual LRESULT OnEnable(BOOL enabled, bool* handled);
  virtual LRESULT OnEraseBkgnd(HDC dc, bool* handled);
  virtual LRESULT OnKeyDown(WPARAM virtualKey, UINT repeatCount, UINT keyData, bool* handled);
  virtual LRESULT OnKeyUp(WPARAM virtualKey, UINT repeatCount, UINT keyData, bool* handled);
  virtual LRESULT OnLButtonDblClk(WPARAM keys, UINT x, UINT y, bool* handled);
  virtual LRESULT OnLButtonDown(WPARAM keys, UINT x, UINT y, bool* handled);
  virtual LRESULT OnLButtonUp(WPARAM keys, UINT x, UINT y, bool* handled);
  virtual LRESULT OnMouseMove(WPARAM keys, UINT x, UINT y, bool* handled);
  virtual LRESULT OnMove(UINT x, UINT y, bool* handled);
  virtual LRESULT OnPaint(bool* handled);
  virtual LRESULT OnShowWindow(BOOL shown, LPARAM status, bool* handled);
  virtual LRESULT OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled);
  virtual LRESULT OnTimer(WPARAM timerId, bool* handled);
  // Only the low 16 bits of the first parameter arrive.
  virtual LRESULT OnSettingChange(UINT flag, LPARAM section, bool* handled);
  // Every message without a handler of its own.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

  // The window being bound to, or let go by, the object.
  virtual void Attach(HWND window);
  virtual void Detach(HWND window);
};

inline LRESULT MessageHandler::OnChar(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnClose(bool*) { return 0; }
inline LRESULT MessageHandler::OnCreate(CREATESTRUCTW*, bool*) { return 0; }
inline LRESULT MessageHandler::OnCommand(WPARAM, HWND, bool*) { return 0; }
inline LRESULT MessageHandler::OnNotify(WPARAM, NMHDR*, bool*) { return 0; }
inline LRESULT MessageHandler::OnDestroy(bool*) { return 0; }
inline LRESULT MessageHandler::OnEnable(BOOL, bool*) { return 0; }
inline LRESULT MessageHandler::OnEraseBkgnd(HDC, bool*) { return 0; }
inline LRESULT MessageHandler::OnKeyDown(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnKeyUp(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnLButtonDblClk(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnLButtonDown(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnLButtonUp(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnMouseMove(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnMove(UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnPaint(bool*) { return 0; }
inline LRESULT MessageHandler::OnShowWindow(BOOL, LPARAM, bool*) { return 0; }
inline LRESULT MessageHandler::OnSize(WPARAM, UINT, UINT, bool*) { return 0; }
inline LRESULT MessageHandler::OnTimer(WPARAM, bool*) { return 0; }
inline LRESULT MessageHandler::OnSettingChange(UINT, LPARAM, bool*) { return 0; }
inline LRESULT MessageHandler::OnMessage(UINT, WPARAM, LPARAM, bool*) { return 0; }
inline void MessageHandler::Attach(HWND) {}
inline void MessageHandler::Detach(HWND) {}
