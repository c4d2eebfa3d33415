// A window with a tree of three levels, as Vantor's tree looks: the object
// store's kinds of data, made-up databases and registry keys below them,
// and their details below those. The line above the tree says what the
// tree last told its parent, so that scripts can read it from the dump.
// The navigation bar's OK button closes the window.
#include <aygshell.h>
#include <commctrl.h>

#include "Gallery.h"
#include "gallery_ids.h"
#include "resources/resource.h"

namespace {

constexpr const WCHAR* kTreeWindowClass = u"GalleryTreeWnd";
constexpr int kEventLineId = 2301;
constexpr int kTreeId = 2302;
constexpr int kMargin = 4;
constexpr int kLineHeight = 18;

struct Node {
  int level;  // 0, 1 or 2
  const WCHAR* text;
};

// In order: each node belongs to the closest node above it one level up.
constexpr Node kNodes[] = {
    {0, u"Databases"},
    {1, u"Contacts Database"},
    {2, u"Sort: 0x4013 String"},
    {2, u"Sort: 0x4006 String"},
    {2, u"Records: 128"},
    {1, u"Appointments Database"},
    {2, u"Sort: 0x0042 Time"},
    {2, u"Records: 57"},
    {1, u"Tasks Database"},
    {2, u"Records: 12"},
    {1, u"Inbox"},
    {2, u"Records: 0"},
    {0, u"Registry"},
    {1, u"HKEY_LOCAL_MACHINE"},
    {2, u"Software"},
    {2, u"System"},
    {1, u"HKEY_CURRENT_USER"},
    {2, u"ControlPanel"},
};
constexpr int kNodeCount = int(sizeof(kNodes) / sizeof(kNodes[0]));

// Leaves show the second image.
bool IsLeaf(int index) { return index + 1 >= kNodeCount || kNodes[index + 1].level <= kNodes[index].level; }

const WCHAR* ActionName(UINT action) {
  switch (action) {
    case TVC_BYMOUSE:
      return u"by stylus";
    case TVC_BYKEYBOARD:
      return u"by key";
    default:
      return u"by message";
  }
}

// The text of an item, cut to the buffer as the tree cuts it.
void ItemText(HWND tree, HTREEITEM item, WCHAR* text, int size) {
  text[0] = 0;
  TVITEMW tv = {};
  tv.mask = TVIF_HANDLE | TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = size;
  SendMessageW(tree, TVM_GETITEMW, 0, LPARAM(&tv));
}

void Report(HWND window, const WCHAR* format, ...) {
  WCHAR text[256];
  va_list args;
  va_start(args, format);
  wvsprintfW(text, format, args);
  va_end(args);
  SetDlgItemTextW(window, kEventLineId, text);
}

HIMAGELIST MakeImages() {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 2, 1);
  HICON vantor = HICON(LoadImageW(GalleryInstance(), MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, 16, 16, 0));
  ImageList_ReplaceIcon(images, -1, vantor);
  ImageList_ReplaceIcon(images, -1, LoadIconW(nullptr, IDI_ASTERISK));
  if (vantor != nullptr) DestroyIcon(vantor);
  return images;
}

void Fill(HWND tree) {
  HTREEITEM parents[3] = {TVI_ROOT, nullptr, nullptr};
  HTREEITEM first = nullptr;
  for (int i = 0; i < kNodeCount; ++i) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parents[kNodes[i].level];
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<WCHAR*>(kNodes[i].text);
    insert.item.iImage = insert.item.iSelectedImage = IsLeaf(i) ? 1 : 0;
    insert.item.lParam = i;
    HTREEITEM item = HTREEITEM(SendMessageW(tree, TVM_INSERTITEMW, 0, LPARAM(&insert)));
    if (kNodes[i].level < 2) parents[kNodes[i].level + 1] = item;
    if (first == nullptr && kNodes[i].level == 1) first = item;
  }
  // As Vantor does after filling its tree: the first database, its parent opened.
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, LPARAM(first));
}

void Layout(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  MoveWindow(GetDlgItem(window, kEventLineId), kMargin, 0, client.right - 2 * kMargin, kLineHeight, TRUE);
  MoveWindow(GetDlgItem(window, kTreeId), 0, kLineHeight, client.right, client.bottom - kLineHeight, TRUE);
}

void OnCreate(HWND window) {
  CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
                  HMENU(UINT_PTR(kEventLineId)), GalleryInstance(), nullptr);
  const DWORD style = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                      TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS;
  HWND tree = CreateWindowExW(0, WC_TREEVIEWW, u"", style, 0, 0, 0, 0, window, HMENU(UINT_PTR(kTreeId)),
                              GalleryInstance(), nullptr);
  HIMAGELIST images = MakeImages();
  SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(images));
  SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(images));
  Layout(window);
  Fill(tree);
  Report(window, u"%d nodes", int(SendMessageW(tree, TVM_GETCOUNT, 0, 0)));
}

LRESULT OnNotify(HWND window, const NMHDR& header) {
  if (header.idFrom != kTreeId) return 0;
  const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
  WCHAR text[64];
  switch (header.code) {
    case TVN_SELCHANGEDW:
      ItemText(header.hwndFrom, change.itemNew.hItem, text, 64);
      Report(window, u"%s selected %s", text, ActionName(change.action));
      break;
    case TVN_ITEMEXPANDEDW:
      ItemText(header.hwndFrom, change.itemNew.hItem, text, 64);
      Report(window, u"%s %s", text, change.action == TVE_EXPAND ? u"expanded" : u"collapsed");
      break;
    case NM_RETURN: {
      HTREEITEM caret = HTREEITEM(SendMessageW(header.hwndFrom, TVM_GETNEXTITEM, TVGN_CARET, 0));
      ItemText(header.hwndFrom, caret, text, 64);
      Report(window, u"Enter on %s", text);
      break;
    }
    default:
      break;
  }
  return 0;
}

LRESULT CALLBACK TreeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_SIZE:
      Layout(window);
      return 0;
    case WM_ACTIVATE:
      // The keys go to the tree whenever the window comes to the front.
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(GetDlgItem(window, kTreeId));
      return 0;
    case WM_NOTIFY:
      return OnNotify(window, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      // The tree goes after its parent: it lets go of the images first.
      SendDlgItemMessageW(window, kTreeId, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
      ImageList_Destroy(HIMAGELIST(GetWindowLongPtrW(window, GWLP_USERDATA)));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void OpenTreeWindow(HWND main, UINT) {
  HWND window = OpenPageWindow(main, &TreeWindowProc, kTreeWindowClass, u"Tree view");
  if (window == nullptr) SetStatus(main, u"The tree window could not be made");
}

GalleryPage treePage(ID_CONTROLS_TREE, &OpenTreeWindow);

}  // namespace
