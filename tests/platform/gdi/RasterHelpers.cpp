#include "RasterHelpers.h"

#include <map>

#include "device/Device.h"

namespace rastertest {

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};  // top-down
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  previous_ = SelectObject(dc_, bitmap_);
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

Canvas::~Canvas() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

std::vector<std::string> Canvas::picture(const std::vector<std::pair<uint32_t, char>>& legend) const {
  std::vector<std::string> rows;
  for (int y = 0; y < height_; ++y) {
    std::string row;
    for (int x = 0; x < width_; ++x) {
      char c = '?';
      for (auto& [pixel, ch] : legend)
        if (pixel == at(x, y)) c = ch;
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

int Canvas::count(uint32_t pixel) const {
  int n = 0;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) n += at(x, y) == pixel;
  return n;
}

uint32_t screenPixel(int x, int y) { return device::Device::instance().backend().framebuffer().pixel(x, y); }

void fillScreen(COLORREF color) {
  HDC screen = GetDC(nullptr);
  RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(screen, &all, brush);
  DeleteObject(brush);
  ReleaseDC(nullptr, screen);
}

uint32_t sysPixel(int index) {
  COLORREF c = GetSysColor(index);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

namespace {

constexpr const char16_t* kClass = u"RasterTestWindow";

std::map<HWND, PaintFn>& painters() {
  static std::map<HWND, PaintFn> map;
  return map;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      auto it = painters().find(hwnd);
      if (it != painters().end() && it->second) it->second(hdc, ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      painters().erase(hwnd);
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void registerClass() {
  static bool done = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassW(&wc) != 0;
  }();
  ASSERT_TRUE(done);
}

}  // namespace

HWND createWindow(RECT rect, HWND parent, PaintFn paint) {
  registerClass();
  DWORD style = WS_VISIBLE | (parent ? WS_CHILD : WS_POPUP);
  HWND hwnd = CreateWindowExW(0, kClass, u"", style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  painters()[hwnd] = std::move(paint);
  return hwnd;
}

void paintAll() {
  MSG m;
  for (int i = 0; i < 100 && PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) DispatchMessageW(&m);
}

void ScreenTest::TearDown() {
  for (int i = 0; i < 100; ++i) {
    HWND top = GetWindow(GetDesktopWindow(), GW_CHILD);
    if (!top || !DestroyWindow(top)) break;
  }
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace rastertest
