// Vantor's record list on the sample's 65,535-record call log, headless and
// in-process: Page Down from the first row to the last, then 1,000 jumps to
// random rows, each page of 40 rows drawn as a person would see it. Every
// page is measured against the store's own read of the same 40 records,
// timed right after it in the same run. Printed per page: store reads, seeks
// and cache fills, the ratio to the store's own read (target at most 2x), the
// cost of the last tenth of the pages against the first (target at most
// 1.2), and the heap the program holds after 1,000 rows and after all of
// them (it must not grow with the rows). Jumps are made with
// LVM_ENSUREVISIBLE, as a tap on the scroll bar's track or thumb ends in.
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <windbase.h>

#include "ProgramBench.h"
#include "browser/BrowserWnd.h"
#include "device/Device.h"
#include "framework/CeApp.h"
#include "kernel/Utf.h"
#include "store/CallCounts.h"
#include "store/DeviceImage.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPageRows = 40;
constexpr int kJumps = 1000;

struct Page {
  int row = 0;  // the top row shown
  double browserUs = 0;
  double storeUs = 0;
  uint64_t reads = 0;
  uint64_t seeks = 0;
};

double Micros(Clock::time_point from) {
  return std::chrono::duration<double, std::micro>(Clock::now() - from).count();
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// What the window holds for its records: the cache's buffers and the
// column map.
long long ProgramHeld(const BrowserWnd& window) {
  long long bytes = window.columns.Count() * (sizeof(CEPROPID) + sizeof(WORD));
  for (const CachedRecord& slot : window.cache.slots) bytes += slot.props != nullptr ? slot.bufferSize : 0;
  return bytes;
}

// The heap less what SQLite keeps in its page cache, which is bounded by its
// own settings and says nothing of the program.
long long HeapInUse() {
  malloc_trim(0);
  return static_cast<long long>(mallinfo2().uordblks) - sqlite3_memory_used();
}

HTREEITEM FindNode(HWND tree, const char16_t* text) {
  auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
  for (; node != nullptr;
       node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)))) {
    char16_t buffer[64] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (std::u16string(buffer) == text) return node;
  }
  return nullptr;
}

// The least the rows cost: one positioned seek, then a read and a step per
// record, as a caller of the store alone would read them.
double StoreReadsPage(HANDLE database, int first) {
  const auto start = Clock::now();
  DWORD index = 0;
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  CEOID at = CeSeekDatabase(database, CEDB_SEEK_BEGINNING, DWORD(first), &index);
  for (int i = 0; i < kPageRows && at != 0; ++i) {
    WORD count = 0;
    LocalFree(buffer);
    buffer = nullptr;
    CeReadRecordProps(database, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size);
    at = CeSeekDatabase(database, CEDB_SEEK_CURRENT, 1, &index);
  }
  LocalFree(buffer);
  return Micros(start);
}

int TopRow(HWND list) { return int(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }

// Shows the next page of the list and the same rows read by the store alone.
Page MeasurePage(HWND list, HANDLE database, UINT message, WPARAM wParam, LPARAM lParam) {
  Page page;
  const store::CallCounts before = store::callCounts();
  const auto start = Clock::now();
  SendMessageW(list, message, wParam, lParam);
  Pump();
  page.browserUs = Micros(start);
  page.reads = store::callCounts().reads - before.reads;
  page.seeks = store::callCounts().seeks - before.seeks;
  page.row = TopRow(list);
  page.storeUs = StoreReadsPage(database, page.row);
  return page;
}

double Mean(const std::vector<Page>& pages, size_t from, size_t to, double Page::*field) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += pages[i].*field;
  return to > from ? sum / double(to - from) : 0;
}

// Flatness compares the pages nearest the end of the database with those
// nearest its start.
void Report(const char* what, std::vector<Page> pages) {
  std::stable_sort(pages.begin(), pages.end(), [](const Page& a, const Page& b) { return a.row < b.row; });
  const size_t n = pages.size();
  const size_t tenth = std::max<size_t>(n / 10, 1);
  uint64_t reads = 0, seeks = 0, fills = 0;
  for (const Page& p : pages) {
    reads += p.reads;
    seeks += p.seeks;
    fills += p.reads > 0 ? 1 : 0;
  }
  const double browser = Mean(pages, 0, n, &Page::browserUs);
  const double store = Mean(pages, 0, n, &Page::storeUs);
  const double flat = Mean(pages, n - tenth, n, &Page::browserUs) / Mean(pages, 0, tenth, &Page::browserUs);
  std::printf("%s: %zu pages\n", what, n);
  std::printf("  per page: %.1f store reads, %.1f seeks, %.2f cache fills\n", double(reads) / double(n),
              double(seeks) / double(n), double(fills) / double(n));
  std::printf("  per page: %.0f us shown against %.0f us read by the store alone: %.2fx (target at most 2x)\n",
              browser, store, browser / store);
  std::printf("  the last tenth of the rows against the first: %.2fx (target at most 1.2)\n", flat);
}

}  // namespace

int main() {
  SampleDirectory directory("list");
  std::string error;
  if (directory.sample().empty() || !store::openDeviceImage(directory.sample(), error)) {
    std::fprintf(stderr, "sample image: %s\n", error.c_str());
    return 1;
  }
  StartProgramDevice();

  BrowserWnd window;
  window.Create(nullptr, nullptr, 0, 26, 240, 268, u"Vantor", WS_VISIBLE, WS_EX_CAPTIONOKBTN, nullptr, nullptr);
  SendMessageW(window.treeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindNode(window.treeView, u"CallLog")));
  window.RefreshList();
  Pump();
  // A list exactly a cache's worth of rows tall, so that every page is 40
  // records.
  RECT row = {};
  row.left = LVIR_BOUNDS;
  SendMessageW(window.listView, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const int rowHeight = row.bottom - row.top;
  MoveWindow(window.listView, 0, 0, 240, row.top + kPageRows * rowHeight, TRUE);
  SetFocus(window.listView);
  Pump();
  const int rows = int(SendMessageW(window.listView, LVM_GETITEMCOUNT, 0, 0));
  std::printf("call log: %d rows, %d a page, the cache answering for %d\n\n", rows,
              int(SendMessageW(window.listView, LVM_GETCOUNTPERPAGE, 0, 0)), window.cache.windowCount);

  CEOID callLog = CEOID(window.currentOid);
  HANDLE database = CeOpenDatabase(&callLog, nullptr, 0, 0, nullptr);
  std::vector<Page> pages;
  long long heapAtThousand = 0;
  long long heldAtThousand = 0;
  // The first Page Down moves the focus to the foot of the page; every one
  // after it shows the next page.
  while (SendMessageW(window.listView, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED) < rows - 1) {
    pages.push_back(MeasurePage(window.listView, database, WM_KEYDOWN, VK_NEXT, 0));
    if (heapAtThousand == 0 && TopRow(window.listView) >= 1000) {
      heapAtThousand = HeapInUse();
      heldAtThousand = ProgramHeld(window);
    }
  }
  const long long heapAtEnd = HeapInUse();
  const long long heldAtEnd = ProgramHeld(window);
  Report("Page Down from the first row to the last", pages);

  std::mt19937 random(7);
  std::vector<Page> jumps;
  for (int i = 0; i < kJumps; ++i)
    jumps.push_back(MeasurePage(window.listView, database, LVM_ENSUREVISIBLE, WPARAM(random() % unsigned(rows)), FALSE));
  Report("\n1,000 jumps to random rows", jumps);

  std::printf("\nheld by the window (cache buffers, column map) after 1,000 rows: %lld bytes; after %d rows: %lld "
              "bytes\n", heldAtThousand, rows, heldAtEnd);
  std::printf("heap in use, SQLite's page cache aside, after 1,000 rows: %lld bytes; after %d rows: %lld bytes (%+lld)\n",
              heapAtThousand, rows, heapAtEnd, heapAtEnd - heapAtThousand);
  CloseHandle(database);
  DestroyWindow(window.hwnd);
  store::closeDeviceImage();
  return 0;
}
