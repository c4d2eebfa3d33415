#include "framework/CeApp.h"

#include <aygshell.h>
#include <commctrl.h>

#include <type_traits>

#include "browser/BrowserWnd.h"
#include "framework/CeModelessMap.h"
#include "resources/resource.h"

CeApp* g_app = nullptr;
HINSTANCE g_instance = nullptr;

// The process's static objects, in one place so that their order holds: the
// main window first, then the application, then the dialog registry. They go
// in the reverse order at exit (the application has nothing to release), so
// the main window object outlives the registry.
BrowserWnd g_mainWnd;
static CeApp theApp;
CeModelessMap g_modelessMap;

static_assert(std::is_trivially_destructible_v<CeApp>, "the application object registers no destructor");

namespace {

constexpr const WCHAR* kAppTitle = u"Vantor";
// The menu bar strip at the bottom, which the window leaves free while the
// input panel is hidden.
constexpr int kMenuBarHeight = 26;

// The visible desktop from the shell, less the menu bar unless the input
// panel covers it. Should the shell not answer, the work area serves.
SIZE MainWindowSize() {
  SIPINFO sip = {};
  sip.cbSize = sizeof(sip);
  RECT area = {};
  int height = 0;
  if (SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0)) {
    area = sip.rcVisibleDesktop;
    height = area.bottom - area.top - ((sip.fdwFlags & SIPF_ON) != 0 ? 0 : kMenuBarHeight);
  } else if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    height = area.bottom - area.top;
  } else {
    return {CW_USEDEFAULT, CW_USEDEFAULT};
  }
  return {area.right - area.left, height};
}

void SetIcons(HWND window, HINSTANCE instance) {
  auto* smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, 16, 16, 0));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  auto* bigIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, 32, 32, 0));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPWSTR cmdLine, int cmdShow) {
  if (g_app == nullptr) return 0;
  g_app->instance = instance;
  if (g_app->Startup(prevInstance, cmdLine, cmdShow) != 0) {
    g_app->instance = nullptr;
    return 1;
  }
  g_app->Run();
  const int exitCode = g_app->ExitCode();
  g_app->instance = nullptr;
  return exitCode;
}

CeApp::CeApp() { g_app = this; }

int CeApp::Startup(HINSTANCE, LPWSTR, int cmdShow) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&controls);

  // One instance: a second start brings the first one forward and ends.
  HWND running = FindWindowW(CeWnd::kGenericClassName, kAppTitle);
  if (running != nullptr) {
    SetForegroundWindow(running);
    return 1;
  }
  g_instance = instance;

  const SIZE size = MainWindowSize();
  if (!g_mainWnd.Create(nullptr, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, kAppTitle, WS_VISIBLE,
                        WS_EX_CAPTIONOKBTN, nullptr, instance))
    return 1;
  SetIcons(g_mainWnd.hwnd, instance);
  ShowWindow(g_mainWnd.hwnd, cmdShow);
  UpdateWindow(g_mainWnd.hwnd);
  return 0;
}

int CeApp::Run() {
  MSG msg = {};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return int(msg.wParam);
    if (got == -1) return -1;
    if (TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) continue;
    if (IsModelessDialogMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int CeApp::ExitCode() { return 0; }

bool CeApp::IsModelessDialogMessage(MSG* msg) {
  if (g_modelessMap.Count() == 0) return false;
  CeModelessMap::Iterator dialogs(g_modelessMap);
  HWND dialog = nullptr;
  while (dialogs.Next(&dialog))
    if (IsDialogMessageW(dialog, msg)) return true;
  return false;
}
