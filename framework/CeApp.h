// The application object: start-up of the main window and the one message
// loop of the program.
#pragma once

#include <windows.h>

class CeApp {
 public:
  CeApp();

  // The message loop; returns the quit code of the message that ended it.
  virtual int Run();
  // Makes and shows the main window. 0 to go on to Run; otherwise the
  // process ends at once.
  virtual int Startup(HINSTANCE prevInstance, LPWSTR cmdLine, int cmdShow);
  // The process exit code after Run.
  virtual int ExitCode();

  // The module, for the time the entry function runs.
  HINSTANCE instance = nullptr;
  // Default owner of modal dialogs when set.
  HWND mainWindowHandle = nullptr;
  // Offered every message before anything else; none are loaded.
  HACCEL accelerators = nullptr;

 private:
  bool IsModelessDialogMessage(MSG* msg);
};

// The application object; null until it is constructed.
extern CeApp* g_app;
// The module instance, from Startup on.
extern HINSTANCE g_instance;
