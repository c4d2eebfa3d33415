// What a frame costs on the device with its chrome: a full-screen repaint
// of a main window like Vantor's (a tree above a list of records) together
// with the navigation bar, the menu-bar strip and the input panel, and one
// line of text, against a memset of the framebuffer measured in the same
// run. Then a check that an idle device draws nothing: the framebuffer's
// writes are counted over idle rounds of the device. Ratios and the check
// are printed at the end; a device that repaints while idle fails the run.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "device/Device.h"
#include "display/HeadlessBackend.h"

namespace {

constexpr int kIdleRounds = 2000;

device::Device& dev() { return device::Device::instance(); }
display::Framebuffer& screen() { return dev().backend().framebuffer(); }

// A display with a person in front of it who does nothing: waiting returns
// at once, so idle rounds can be counted.
class StillWindow : public display::HeadlessBackend {
 public:
  StillWindow() : HeadlessBackend(240, 320) {}
  bool interactive() const override { return true; }
  void waitEvents(int, int) override {}
};

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

LRESULT CALLBACK mainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The device with its chrome, the panel shown, and a main window holding a
// tree of databases above a list of records.
HWND mainWindow() {
  static HWND main = [] {
    device::Options options;
    options.chrome = true;
    options.sip = true;
    dev().configure(options, std::make_unique<StillWindow>());
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    WNDCLASSW wc{};
    wc.lpfnWndProc = mainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = u"BenchMain";
    RegisterClassW(&wc);
    const RECT area = dev().visibleDesktop();
    const int width = area.right - area.left;
    const int half = (area.bottom - area.top) / 2;
    HWND hwnd = CreateWindowExW(WS_EX_CAPTIONOKBTN, u"BenchMain", u"Vantor", WS_POPUP | WS_VISIBLE, area.left, area.top,
                                width, area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, nullptr,
                                WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, width,
                                half - 3, hwnd, reinterpret_cast<HMENU>(100), GetModuleHandleW(nullptr), nullptr);
    TVINSERTSTRUCTW root{};
    root.hInsertAfter = TVI_LAST;
    root.item.mask = TVIF_TEXT;
    root.item.pszText = const_cast<LPWSTR>(u"Databases");
    auto rootItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&root)));
    for (const char16_t* name : {u"Contacts Database", u"Appointments Database", u"Tasks Database", u"Inbox",
                                 u"pmailFolders", u"pmailMsgs", u"DB_notify_events", u"Speed Dial"}) {
      TVINSERTSTRUCTW child{};
      child.hParent = rootItem;
      child.hInsertAfter = TVI_LAST;
      child.item.mask = TVIF_TEXT;
      child.item.pszText = const_cast<LPWSTR>(name);
      SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&child));
    }
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(rootItem));
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, half + 3, width,
                                area.bottom - area.top - half - 3, hwnd, reinterpret_cast<HMENU>(101),
                                GetModuleHandleW(nullptr), nullptr);
    const char16_t* headings[] = {u"0x4013 (CEVT_LPWSTR)", u"0x3a06 (CEVT_LPWSTR)", u"0x4001 (CEVT_FILETIME)"};
    for (int c = 0; c < 3; ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = 90;
      column.pszText = const_cast<LPWSTR>(headings[c]);
      SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int row = 0; row < 40; ++row) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = const_cast<LPWSTR>(u"Tarniwell, Ada");
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      for (int c = 1; c < 3; ++c) {
        item.iSubItem = c;
        item.pszText = const_cast<LPWSTR>(c == 1 ? u"+44 20 7946 0321" : u"3/14/2003 9:41:07 AM");
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
      }
    }
    SetForegroundWindow(hwnd);
    pump();
    dev().refreshScreen();
    return hwnd;
  }();
  return main;
}

void Memset(benchmark::State& state) {
  mainWindow();
  display::Framebuffer& fb = screen();
  const size_t bytes = fb.pixels().size() * sizeof(uint32_t);
  int value = 0;
  for (auto _ : state) {
    std::memset(fb.row(0), ++value & 0xFF, bytes);
    benchmark::ClobberMemory();
  }
}

// Everything is drawn again: the window and its controls, and the chrome,
// which draws whatever lies under a change to the whole screen.
void FullRepaint(benchmark::State& state) {
  HWND main = mainWindow();
  for (auto _ : state) {
    InvalidateRect(main, nullptr, TRUE);
    screen().markDirty(screen().bounds());
    pump();
    dev().refreshScreen();
  }
}

void TextLine(benchmark::State& state) {
  mainWindow();
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  const std::u16string line = u"Tarniwell, Ada   +44 20 7946 0321";
  RECT r{4, 150, 236, 166};
  for (auto _ : state) DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
}

// Idle rounds of the device as its message loop makes them: nothing queued,
// nothing to paint; the device answers the bus, brings the chrome up to date
// and waits. None of it may touch a pixel, unless the clock turned a minute.
bool idleDrawsNothing() {
  mainWindow();
  pump();
  dev().refreshScreen();
  SYSTEMTIME start, end;
  GetLocalTime(&start);
  const uint64_t writes = screen().writeCount();
  for (int i = 0; i < kIdleRounds; ++i) {
    pump();
    dev().idle(-1);
  }
  GetLocalTime(&end);
  const uint64_t drawn = screen().writeCount() - writes;
  std::printf("\nidle device: %llu framebuffer writes over %d idle rounds", static_cast<unsigned long long>(drawn),
              kIdleRounds);
  if (drawn == 0) {
    std::printf(" (none: good)\n");
    return true;
  }
  if (start.wMinute != end.wMinute) {
    std::printf(" (the clock turned a minute; run again)\n");
    return true;
  }
  std::printf(" (an idle device must draw nothing)\n");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("memset_screen", Memset);
  benchmark::RegisterBenchmark("full_repaint_main_and_chrome", FullRepaint);
  benchmark::RegisterBenchmark("text_line", TextLine);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double base = reporter.times["memset_screen"];
  if (base > 0) {
    std::printf("\nagainst a memset of the framebuffer:\n");
    for (const char* what : {"full_repaint_main_and_chrome", "text_line"})
      if (reporter.times.count(what)) std::printf("  %-30s %8.2fx\n", what, reporter.times[what] / base);
  }
  return idleDrawsNothing() ? 0 : 1;
}
