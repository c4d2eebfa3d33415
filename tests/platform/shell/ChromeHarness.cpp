#include "ChromeHarness.h"

#include <aygshell.h>

#include <map>

#include "display/Backend.h"

namespace chrometest {

namespace {

struct Look { COLORREF colour; bool followPanel; };
std::map<HWND, Look> looks;

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  received().push_back({hwnd, msg, wParam, lParam});
  const Look look = looks.count(hwnd) ? looks[hwnd] : Look{RGB(255, 255, 255), false};
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(look.colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);
  if (msg == WM_LBUTTONUP) ReleaseCapture();
  if (msg == WM_SETTINGCHANGE && look.followPanel) {
    SIPINFO info{};
    info.cbSize = sizeof info;
    SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
    RECT r = info.rcVisibleDesktop;
    if (!(info.fdwFlags & SIPF_ON)) r.bottom -= device::Device::kMenuBarHeight;
    MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

std::vector<Received>& received() {
  static std::vector<Received> log;
  return log;
}

std::vector<Received> receivedOf(UINT msg) {
  std::vector<Received> out;
  for (const Received& r : received())
    if (r.msg == msg) out.push_back(r);
  return out;
}

std::u16string typed() {
  std::u16string text;
  for (const Received& r : receivedOf(WM_CHAR)) text.push_back(static_cast<char16_t>(r.wParam));
  return text;
}

HWND window(const char16_t* title, RECT rect, COLORREF colour, DWORD exStyle, bool followPanel) {
  HWND hwnd = CreateWindowExW(exStyle, u"ChromeTestWnd", title, WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  looks[hwnd] = {colour, followPanel};
  SetForegroundWindow(hwnd);
  return hwnd;
}

void stylus(display::InputEvent::Type type, POINT p) { device::Device::instance().pushInput({type, p.x, p.y}); }

void tap(POINT p) {
  stylus(display::InputEvent::Type::StylusDown, p);
  stylus(display::InputEvent::Type::StylusUp, p);
}

// Input the chrome takes may post messages after the queue was looked at:
// the queue is quiet when it is found empty twice.
void pump() {
  MSG msg;
  for (int i = 0, quiet = 0; i < 10000 && quiet < 2; ++i) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ++quiet;
      continue;
    }
    quiet = 0;
    if (msg.message == WM_QUIT) received().push_back({nullptr, WM_QUIT, msg.wParam, 0});
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void settle() {
  pump();
  device::Device::instance().refreshScreen();
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
uint32_t pixel(int x, int y) { return device::Device::instance().backend().framebuffer().pixel(x, y); }
uint32_t fb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }
shell::Chrome& chrome() { return *device::Device::instance().chrome(); }

std::vector<uint32_t> pixels(const RECT& r) {
  std::vector<uint32_t> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(pixel(x, y));
  return out;
}

int countColour(const RECT& r, COLORREF colour) {
  int n = 0;
  for (uint32_t p : pixels(r)) n += p == fb(colour);
  return n;
}

void ChromeTest::SetUp() {
  device::Options options;
  options.chrome = true;
  device::Device::instance().configure(options, nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = windowProc;
  wc.lpszClassName = u"ChromeTestWnd";
  RegisterClassW(&wc);
  received().clear();
}

void ChromeTest::TearDown() {
  while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  device::Device::instance().configure(device::Options{}, nullptr);
  received().clear();
  looks.clear();
}

}  // namespace chrometest
