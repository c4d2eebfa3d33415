// The program's main window: the database tree above or beside the list,
// the splitter between them and the menu bar below.
#pragma once

#include <windows.h>
#include <aygshell.h>
#include <commctrl.h>

#include "browser/ColumnMap.h"
#include "browser/ObjectStore.h"
#include "browser/RecordCache.h"
#include "framework/CeSplitWnd.h"

class BrowserWnd : public CeSplitWnd {
 public:
  static constexpr int kTreeId = 100;
  static constexpr int kListId = 101;

  BrowserWnd() = default;
  ~BrowserWnd() override;

  LRESULT OnCreate(CREATESTRUCTW* create, bool* handled) override;
  LRESULT OnCommand(WPARAM idAndCode, HWND control, bool* handled) override;
  LRESULT OnNotify(WPARAM controlId, NMHDR* header, bool* handled) override;
  LRESULT OnClose(bool* handled) override;
  LRESULT OnDestroy(bool* handled) override;
  LRESULT OnSettingChange(UINT flag, LPARAM section, bool* handled) override;

  // The tree and the list (BrowserLists.cpp).
  void FillTree();
  void RefreshList();
  void ShowList(CEOID oid, CEPROPID sortProp);

  // The record list (BrowserRecords.cpp).
  bool FillCache(int first, int count);
  LRESULT OnCacheHint(NMLVCACHEHINT* hint);
  LRESULT OnGetDispInfo(NMLVDISPINFOW* info);
  LRESULT OnColumnClick(NMLISTVIEW* click);
  LRESULT OnFindItem(NMLVFINDITEMW* find);

  // Commands (BrowserDelete.cpp and the dialogs).
  void OnDeleteDatabase();
  void OnDeleteRecords();
  void OnRefresh();
  void OnDatabaseProperties();
  void OnOptions();
  void OnAbout();

  // The pane font (with the font dialog). The caller keeps font; the window
  // makes its own copy. Null gives both panes their default font back.
  void ApplyFont(HFONT font);
  void LoadFont();
  // Stores the pane font, then posts the quit message.
  void SaveFont();

 private:
  void CreateMenuBar();
  void CreateTreeView(const RECT& rect);
  void CreateListView(const RECT& rect, bool ownerData);
  void SetListMode(bool ownerData);
  void ShowSummary();
  void ShowRecords(CEPROPID sortProp);
  void AddColumnFor(CEPROPID id);
  void CloseDatabase();
  // The selected tree node's item data (0 when none is selected), and its
  // text when asked.
  HTREEITEM SelectedNode(LPARAM* data, WCHAR* text = nullptr, int textChars = 0);
  void ShowDeleteError();
  void DestroyMainWindow();

  static SHACTIVATEINFO activateInfo;

 public:
  // Owned by the font dialog's operations.
  int listPointSize = 0;
  HFONT listFont = nullptr;

  HWND listView = nullptr;
  HWND treeView = nullptr;
  ColumnMap columns;
  int nextColumn = 0;
  // What the list shows: kRootOid for the summary, else a database.
  CEOID currentOid = 0;
  HANDLE dbHandle = kNoHandle;
  // The identifier handed to the open and written back by it.
  CEOID openOid = 0;
  RecordCache cache;
};

// The one main window object.
extern BrowserWnd g_mainWnd;
