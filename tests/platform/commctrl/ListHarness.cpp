#include "ListHarness.h"

#include <cstdio>

#include "device/Device.h"
#include "display/HeadlessBackend.h"
#include "user/InputRouter.h"

namespace listtest {

namespace {

constexpr const char16_t* kParentClass = u"ListTestParent";

std::string format(const char* pattern, int a = 0, int b = 0, unsigned c = 0, unsigned d = 0) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, a, b, c, d);
  return text;
}

std::string narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::u16string number(int value) {
  std::u16string out;
  for (char c : std::to_string(value)) out += static_cast<char16_t>(c);
  return out;
}

std::string describeHeader(const char* name, const NMHEADERW* info) {
  std::string text = std::string(name) + " item=" + std::to_string(info->iItem);
  if (info->pitem && (info->pitem->mask & HDI_WIDTH)) text += " width=" + std::to_string(info->pitem->cxy);
  return text;
}

LRESULT answer(NMHDR* header, Note& note) {
  auto result = [&](LRESULT fallback) {
    auto found = answers().results.find(header->code);
    return found != answers().results.end() ? found->second : fallback;
  };
  switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ITEMCHANGING: {
      auto* info = reinterpret_cast<NMLISTVIEW*>(header);
      note.text = format(header->code == LVN_ITEMCHANGED ? "changed item=%d new=0x%x old=0x%x" : "changing item=%d new=0x%x old=0x%x",
                         info->iItem, static_cast<int>(info->uNewState), info->uOldState);
      return result(0);
    }
    case LVN_ODSTATECHANGED: {
      auto* info = reinterpret_cast<NMLVODSTATECHANGE*>(header);
      note.text = odChanged(info->iFrom, info->iTo, info->uNewState, info->uOldState);
      return 0;
    }
    case LVN_ODCACHEHINT: {
      auto* info = reinterpret_cast<NMLVCACHEHINT*>(header);
      note.text = hint(info->iFrom, info->iTo);
      if (answers().hint) answers().hint(header->hwndFrom, info->iFrom, info->iTo);
      return 0;
    }
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
      note.text = dispInfo(info->item.iItem, info->item.iSubItem);
      if (info->item.mask & LVIF_TEXT) {
        note.text += " capacity=" + std::to_string(info->item.cchTextMax);
        // As a program does: the text, cut to the buffer and terminated.
        std::u16string text = answers().cell(info->item.iItem, info->item.iSubItem);
        int capacity = info->item.cchTextMax;
        if (info->item.pszText && capacity > 0) {
          size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
          std::copy_n(text.data(), n, info->item.pszText);
          info->item.pszText[n] = 0;
        }
      }
      if (info->item.mask & LVIF_PARAM) info->item.lParam = 1000 + info->item.iItem;
      return 0;
    }
    case LVN_ODFINDITEMW: {
      auto* info = reinterpret_cast<NMLVFINDITEMW*>(header);
      std::u16string text = info->lvfi.psz ? std::u16string(info->lvfi.psz) : std::u16string();
      note.text = findItem(info->iStart, text) + format(" flags=0x%x", static_cast<int>(info->lvfi.flags));
      return answers().find(info->iStart, text);
    }
    case NM_CLICK:
    case NM_DBLCLK:
    case LVN_ITEMACTIVATE: {
      auto* info = reinterpret_cast<NMITEMACTIVATE*>(header);
      note.text = click(header->code, info->iItem, info->iSubItem);
      return 0;
    }
    case LVN_COLUMNCLICK:
      note.text = columnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    case LVN_INSERTITEM:
      note.text = format("insert item=%d", reinterpret_cast<NMLISTVIEW*>(header)->iItem);
      return 0;
    case LVN_DELETEITEM: {
      auto* info = reinterpret_cast<NMLISTVIEW*>(header);
      note.text = format("delete item=%d param=%d", info->iItem, static_cast<int>(info->lParam));
      return 0;
    }
    case LVN_DELETEALLITEMS:
      note.text = "deleteall";
      return result(0);
    case LVN_KEYDOWN:
      note.text = format("keydown vk=0x%x", reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return 0;
    case NM_SETFOCUS:
      note.text = "setfocus";
      return 0;
    case NM_KILLFOCUS:
      note.text = "killfocus";
      return 0;
    case HDN_ITEMCLICKW:
      note.text = describeHeader("hdn-itemclick", reinterpret_cast<NMHEADERW*>(header));
      return 0;
    case HDN_ITEMDBLCLICKW:
      note.text = describeHeader("hdn-itemdblclick", reinterpret_cast<NMHEADERW*>(header));
      return 0;
    case HDN_DIVIDERDBLCLICKW:
      note.text = describeHeader("hdn-dividerdblclick", reinterpret_cast<NMHEADERW*>(header));
      return 0;
    case HDN_BEGINTRACKW:
      note.text = describeHeader("hdn-begintrack", reinterpret_cast<NMHEADERW*>(header));
      return result(0);
    case HDN_TRACKW:
      note.text = describeHeader("hdn-track", reinterpret_cast<NMHEADERW*>(header));
      return result(0);
    case HDN_ENDTRACKW:
      note.text = describeHeader("hdn-endtrack", reinterpret_cast<NMHEADERW*>(header));
      return 0;
    case HDN_ITEMCHANGINGW:
      note.text = describeHeader("hdn-itemchanging", reinterpret_cast<NMHEADERW*>(header));
      return result(0);
    case HDN_ITEMCHANGEDW:
      note.text = describeHeader("hdn-itemchanged", reinterpret_cast<NMHEADERW*>(header));
      return 0;
    default:
      note.text = format("code=%d", static_cast<int>(header->code));
      return result(0);
  }
}

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    Note note;
    note.code = header->code;
    note.from = header->hwndFrom;
    LRESULT result = answer(header, note);
    notes().push_back(note);
    return result;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

Answers& answers() {
  static Answers instance;
  return instance;
}

std::vector<Note>& notes() {
  static std::vector<Note> instance;
  return instance;
}

std::vector<std::string> logged(std::initializer_list<UINT> codes) {
  std::vector<std::string> out;
  for (const Note& note : notes())
    for (UINT code : codes)
      if (note.code == code) out.push_back(note.text);
  return out;
}

std::string changed(int row, UINT newState, UINT oldState) {
  return format("changed item=%d new=0x%x old=0x%x", row, static_cast<int>(newState), oldState);
}

std::string odChanged(int first, int last, UINT newState, UINT oldState) {
  return format("odstate from=%d to=%d new=0x%x old=0x%x", first, last, newState, oldState);
}

std::string hint(int first, int last) { return format("hint %d..%d", first, last); }

std::string dispInfo(int row, int subItem) { return format("dispinfo row=%d sub=%d", row, subItem); }

std::string click(UINT code, int row, int subItem) {
  const char* name = code == NM_CLICK ? "click" : code == NM_DBLCLK ? "dblclk" : "activate";
  return std::string(name) + format(" item=%d sub=%d", row, subItem);
}

std::string columnClick(int subItem) { return format("columnclick sub=%d", subItem); }

std::string findItem(int start, const std::u16string& text) {
  return format("find start=%d text=", start) + narrow(text);
}

HWND createParent() {
  static bool registered = false;
  if (!registered) {
    registered = true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kParentClass;
    RegisterClassW(&wc);
  }
  return CreateWindowExW(0, kParentClass, u"parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

HWND createList(HWND parent, DWORD style, RECT r, int id) {
  return CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | style, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
}

void addColumns(HWND list, std::initializer_list<std::pair<const char16_t*, int>> columns) {
  int index = static_cast<int>(SendMessageW(list, LVM_GETHEADER, 0, 0)
                                   ? SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)),
                                                  HDM_GETITEMCOUNT, 0, 0)
                                   : 0);
  for (const auto& [text, width] : columns) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | (width >= 0 ? LVCF_WIDTH : 0);
    column.pszText = const_cast<WCHAR*>(text);
    column.cx = width;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
  }
}

int addRow(HWND list, std::initializer_list<const char16_t*> cells) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  int sub = 0;
  int row = -1;
  for (const char16_t* text : cells) {
    item.iSubItem = sub;
    item.pszText = const_cast<WCHAR*>(text);
    if (sub == 0) {
      row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
      item.iItem = row;
    } else {
      SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    ++sub;
  }
  return row;
}

std::u16string itemText(HWND list, int row, int subItem, int capacity) {
  std::vector<WCHAR> buffer(static_cast<size_t>(capacity) + 1, u'#');
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = buffer.data();
  item.cchTextMax = capacity;
  int length = static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
  std::u16string text(buffer.data());
  EXPECT_EQ(static_cast<int>(text.size()), length);
  return text;
}

std::vector<int> selectedRows(HWND list) {
  std::vector<int> rows;
  for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;) {
    rows.push_back(row);
    if (rows.size() > 100000) break;
  }
  return rows;
}

POINT cellPoint(HWND list, int row, int column) {
  RECT r{};
  if (column < 0) {
    r.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  } else {
    r.top = column;
    r.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  }
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  return p;
}

namespace {

void push(const display::InputEvent& event) {
  static_cast<display::HeadlessBackend&>(device::Device::instance().backend()).push(event);
}

}  // namespace

void tap(POINT p, bool shift, bool control) {
  display::InputEvent e;
  e.x = p.x;
  e.y = p.y;
  e.shift = shift;
  e.control = control;
  e.type = display::InputEvent::Type::StylusDown;
  push(e);
  e.type = display::InputEvent::Type::StylusUp;
  push(e);
  pump();
}

void pressKey(UINT vk, bool shift, bool control) {
  display::InputEvent e;
  e.key = vk;
  e.shift = shift;
  e.control = control;
  e.type = display::InputEvent::Type::KeyDown;
  push(e);
  e.type = display::InputEvent::Type::KeyUp;
  push(e);
  pump();
}

void typeText(HWND list, const std::u16string& text) {
  for (char16_t c : text) SendMessageW(list, WM_CHAR, c, 1);
}

void pump() {
  MSG m;
  for (int i = 0; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (i == 10000) {
      ADD_FAILURE() << "messages keep coming";
      return;
    }
    if (m.message == WM_QUIT) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void ListTest::SetUp() {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&init));
  answers() = Answers();
  answers().cell = [](int row, int subItem) { return u"R" + number(row) + u"C" + number(subItem); };
  notes().clear();
}

void ListTest::TearDown() {
  while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
  display::InputEvent drop;
  auto& backend = static_cast<display::HeadlessBackend&>(device::Device::instance().backend());
  while (backend.pollEvent(drop)) {
  }
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
  user::InputRouter::instance().reset();
  notes().clear();
  answers() = Answers();
}

}  // namespace listtest
