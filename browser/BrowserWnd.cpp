#include "browser/BrowserWnd.h"

#include "framework/CeApp.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                             TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS;
constexpr int kIconSize = 16;
// Displays of this depth or less get the grey button strip.
constexpr int kGreyDepth = 2;

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

}  // namespace

SHACTIVATEINFO BrowserWnd::activateInfo = {};

BrowserWnd::~BrowserWnd() {
  cache.ReleaseAll();
  CloseDatabase();
  columns.Clear();
}

LRESULT BrowserWnd::OnCreate(CREATESTRUCTW*, bool* handled) {
  *handled = true;
  CreateMenuBar();
  RECT area = {};
  GetClientRect(hwnd, &area);
  RECT first = {};
  RECT second = {};
  CalcPaneRects(area, &first, &second);
  CreateTreeView(first);
  CreateListView(second, false);
  FillTree();
  LoadFont();
  return 0;
}

void BrowserWnd::CreateMenuBar() {
  HDC dc = GetDC(hwnd);
  const int depth = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(hwnd, dc);

  SHMENUBARINFO info = {};
  info.cbSize = sizeof(info);
  info.hwndParent = hwnd;
  info.dwFlags = 0;
  info.nToolBarId = IDM_MAIN;
  info.hInstRes = g_instance;
  info.nBmpId = depth > kGreyDepth ? IDB_MENUBAR_COLOUR : IDB_MENUBAR_GREY;
  info.cBmpImages = MENUBAR_IMAGE_COUNT;
  if (!SHCreateMenuBar(&info)) {
    GetLastError();
    MessageBoxW(hwnd, u"SHCreateMenuBar Failed", u"Error", MB_OK | MB_ICONSTOP);
  }
}

void BrowserWnd::CreateTreeView(const RECT& rect) {
  treeView = CreateWindowExW(0, WC_TREEVIEWW, nullptr, kTreeStyle, rect.left, rect.top, WidthOf(rect),
                             HeightOf(rect), hwnd, reinterpret_cast<HMENU>(kTreeId), g_instance, nullptr);
  HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_MASK, 1, 1);
  auto* icon = static_cast<HICON>(
      LoadImageW(g_instance, MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, kIconSize, kIconSize, 0));
  ImageList_ReplaceIcon(images, -1, icon);
  SendMessageW(treeView, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void BrowserWnd::CreateListView(const RECT& rect, bool ownerData) {
  if (listView != nullptr) DestroyWindow(listView);
  const DWORD style = kListStyle | (ownerData ? LVS_OWNERDATA : 0);
  listView = CreateWindowExW(0, WC_LISTVIEWW, nullptr, style, rect.left, rect.top, WidthOf(rect), HeightOf(rect),
                             hwnd, reinterpret_cast<HMENU>(kListId), g_instance, nullptr);
  firstPane = treeView;
  secondPane = listView;
  SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  SendMessageW(listView, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), TRUE);
}

// The summary is a normal list and the records an owner-data one; the list
// control cannot change between the two, so it is made again in place.
void BrowserWnd::SetListMode(bool ownerData) {
  const RECT rect = ClientRectOf(listView);
  const bool isOwnerData = (GetWindowLongW(listView, GWL_STYLE) & LVS_OWNERDATA) != 0;
  if (isOwnerData != ownerData) CreateListView(rect, ownerData);
}

LRESULT BrowserWnd::OnCommand(WPARAM idAndCode, HWND, bool* handled) {
  const WORD id = LOWORD(idAndCode);
  // The navigation bar's "ok" sends IDOK with a non-zero code; it closes
  // the program, and the command still goes on to default processing.
  if (HIWORD(idAndCode) != 0) {
    if (id == IDOK) DestroyMainWindow();
    return 0;
  }
  *handled = true;
  switch (id) {
    case IDM_CLOSE:
      DestroyMainWindow();
      break;
    case IDM_DELETE_DATABASE:
      OnDeleteDatabase();
      break;
    case IDM_DELETE_RECORD:
      OnDeleteRecords();
      break;
    case IDM_DATABASE_PROPERTIES:
      OnDatabaseProperties();
      break;
    case IDM_REFRESH:
      OnRefresh();
      break;
    case IDM_OPTIONS:
      OnOptions();
      break;
    case IDM_ABOUT:
      OnAbout();
      break;
    default:
      *handled = false;
      break;
  }
  return 0;
}

// Controls are told apart by their ids. Selection changes the window makes
// itself come with no action; whoever made them refreshes the list.
LRESULT BrowserWnd::OnNotify(WPARAM controlId, NMHDR* header, bool* handled) {
  if (controlId == kTreeId) {
    if (header->code == TVN_SELCHANGEDW) {
      const UINT action = reinterpret_cast<NMTREEVIEWW*>(header)->action;
      if (action == TVC_BYMOUSE || action == TVC_BYKEYBOARD) RefreshList();
    }
    return 0;
  }
  if (controlId != kListId) return 0;
  *handled = true;
  switch (header->code) {
    case LVN_ODFINDITEMW:
      return OnFindItem(reinterpret_cast<NMLVFINDITEMW*>(header));
    case LVN_GETDISPINFOW:
      return OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
    case LVN_ODCACHEHINT:
      return OnCacheHint(reinterpret_cast<NMLVCACHEHINT*>(header));
    case LVN_COLUMNCLICK:
      return OnColumnClick(reinterpret_cast<NMLISTVIEW*>(header));
    default:
      return 0;
  }
}

LRESULT BrowserWnd::OnClose(bool* handled) {
  *handled = true;
  DestroyMainWindow();
  return 0;
}

LRESULT BrowserWnd::OnDestroy(bool* handled) {
  *handled = true;
  SaveFont();
  return 0;
}

// The shell resizes the window when the input panel opens or closes.
LRESULT BrowserWnd::OnSettingChange(UINT flag, LPARAM section, bool* handled) {
  *handled = true;
  activateInfo.cbSize = sizeof(activateInfo);
  SHHandleWMSettingChange(hwnd, flag, section, &activateInfo);
  return 0;
}

void BrowserWnd::DestroyMainWindow() {
  HWND window = hwnd;
  if (DestroyWindow(window)) hwnd = nullptr;
}

void BrowserWnd::CloseDatabase() {
  if (dbHandle == kNoHandle) return;
  ObjectStore::Close(dbHandle);
  dbHandle = kNoHandle;
}
