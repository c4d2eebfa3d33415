// The program's main window.
#pragma once

#include <windows.h>

#include "framework/CeWnd.h"

class BrowserWnd : public CeWnd {
 public:
  LRESULT OnClose(bool* handled) override;
  LRESULT OnCommand(WPARAM idAndCode, HWND control, bool* handled) override;
  LRESULT OnDestroy(bool* handled) override;

 private:
  void DestroyMainWindow();
};

// The one main window object.
extern BrowserWnd g_mainWnd;
