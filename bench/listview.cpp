// The list view with a million owner-data rows and a parent that answers
// at once: setting the row count, paging from the top to the end with Page
// Down, drawing one page, and the memory the control holds, all against
// drawing the same page of an ordinary 40-row list measured in this run.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include <windows.h>
#include <commctrl.h>

namespace {

constexpr int kMillion = 1000000;
constexpr int kColumns = 5;

// The parent: every cell is its row and column, written straight into the
// list's buffer.
LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 12) {
      WCHAR digits[12];
      int n = 0;
      for (unsigned v = static_cast<unsigned>(item.iItem); n == 0 || v; v /= 10) digits[n++] = static_cast<WCHAR>(u'0' + v % 10);
      int at = 0;
      item.pszText[at++] = static_cast<WCHAR>(u'A' + item.iSubItem);
      while (n) item.pszText[at++] = digits[--n];
      item.pszText[at] = 0;
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND parentWindow() {
  static HWND parent = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    WNDCLASSW wc{};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = u"BenchListParent";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"BenchListParent", u"bench", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return parent;
}

HWND makeList(bool ownerData, int rows) {
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, nullptr,
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | (ownerData ? LVS_OWNERDATA : 0), 0,
                              0, 240, 268, parentWindow(), reinterpret_cast<HMENU>(101), GetModuleHandleW(nullptr),
                              nullptr);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  const char16_t* names[kColumns] = {u"Id", u"Name", u"Size", u"Count", u"Date"};
  for (int c = 0; c < kColumns; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.cx = 56;
    column.pszText = const_cast<WCHAR*>(names[c]);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
  if (ownerData) {
    SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
  } else {
    for (int row = 0; row < rows; ++row) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = LPSTR_TEXTCALLBACKW;
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      for (int c = 1; c < kColumns; ++c) {
        item.iSubItem = c;
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      }
      item.iSubItem = 0;
    }
  }
  UpdateWindow(list);
  return list;
}

void drawPage(HWND list) {
  InvalidateRect(list, nullptr, FALSE);
  UpdateWindow(list);
}

void PageOfFortyRows(benchmark::State& state) {
  HWND list = makeList(false, 40);
  for (auto _ : state) drawPage(list);
  DestroyWindow(list);
}

// The same page as the 40-row list's: the first, with the same texts.
void PageOfAMillionRows(benchmark::State& state) {
  HWND list = makeList(true, kMillion);
  for (auto _ : state) drawPage(list);
  DestroyWindow(list);
}

void SetItemCountToAMillion(benchmark::State& state) {
  HWND list = makeList(true, 0);
  for (auto _ : state) {
    state.PauseTiming();
    SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
    UpdateWindow(list);
    state.ResumeTiming();
    SendMessageW(list, LVM_SETITEMCOUNT, kMillion, 0);
  }
  DestroyWindow(list);
}

// Page Down, drawing after each press, from the first row to the last.
void PageDownToTheEnd(benchmark::State& state) {
  HWND list = makeList(true, kMillion);
  int64_t pages = 0;
  for (auto _ : state) {
    SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    UpdateWindow(list);
    while (SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) < kMillion - 1) {
      SendMessageW(list, WM_KEYDOWN, VK_NEXT, 0);
      UpdateWindow(list);
      ++pages;
    }
  }
  state.counters["pages"] = static_cast<double>(pages) / static_cast<double>(state.iterations());
  DestroyWindow(list);
}

size_t heapInUse() { return mallinfo2().uordblks; }

// Heap held by an owner-data list of rows rows, every row selected and
// scrolled to the end. Drawn before it is measured, the list would count
// the text caches of the graphics module too.
size_t listMemory(int rows) {
  parentWindow();
  size_t before = heapInUse();
  HWND list = makeList(true, rows);
  LVITEMW all{};
  all.stateMask = LVIS_SELECTED;
  all.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
  SendMessageW(list, WM_KEYDOWN, VK_END, 0);
  size_t held = heapInUse() - before;
  UpdateWindow(list);
  DestroyWindow(list);
  return held;
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      times[run.run_name.function_name] = run.GetAdjustedRealTime();
      auto pages = run.counters.find("pages");
      if (pages != run.counters.end()) pagesTurned = pages->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
  double pagesTurned = 0;
};

}  // namespace

int main(int argc, char** argv) {
  // Fonts, glyphs and classes come into being once, and a destroyed window
  // is freed a little later: the least of a few runs is what a list holds.
  listMemory(10);
  size_t thousand = SIZE_MAX, million = SIZE_MAX;
  for (int run = 0; run < 3; ++run) {
    thousand = std::min(thousand, listMemory(1000));
    million = std::min(million, listMemory(kMillion));
  }
  benchmark::RegisterBenchmark("page/40-rows", PageOfFortyRows);
  benchmark::RegisterBenchmark("page/1M-owner-data", PageOfAMillionRows);
  benchmark::RegisterBenchmark("setitemcount/1M", SetItemCountToAMillion);
  benchmark::RegisterBenchmark("pagedown-to-end/1M", PageDownToTheEnd)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  std::printf("\nagainst drawing a page of a 40-row list:\n");
  if (t.count("page/40-rows")) {
    double page = t["page/40-rows"];
    if (t.count("page/1M-owner-data"))
      std::printf("  a page of 1,000,000 owner-data rows  %8.2fx\n", t["page/1M-owner-data"] / page);
    if (t.count("setitemcount/1M")) std::printf("  setting the count to 1,000,000       %8.4fx\n", t["setitemcount/1M"] / page);
    if (t.count("pagedown-to-end/1M") && reporter.pagesTurned > 0) {
      // The whole run is in milliseconds; a page is in nanoseconds.
      double perPage = t["pagedown-to-end/1M"] * 1e6 / reporter.pagesTurned;
      std::printf("  Page Down to the end: %.0f pages, each %8.2fx\n", reporter.pagesTurned, perPage / page);
    }
  }
  std::printf("\nheap held by an owner-data list, every row selected, at the end:\n");
  std::printf("  1,000 rows      %8zu bytes\n  1,000,000 rows  %8zu bytes\n", thousand, million);
  benchmark::Shutdown();
  return 0;
}
