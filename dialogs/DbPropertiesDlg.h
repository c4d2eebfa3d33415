// The read-only properties of one database: name, type, records, size, last
// change, identifier and sort orders, read once when the dialog opens. Full
// screen, in the wide or the tall layout.
#pragma once

#include <windows.h>
#include <aygshell.h>

#include "browser/ObjectStore.h"
#include "framework/CeLayout.h"
#include "framework/CeScrollDialog.h"
#include "framework/CeString.h"

class DbPropertiesDlg : public CeScrollDialog {
 public:
  // The template is chosen by the screen's shape when the dialog is run.
  DbPropertiesDlg() : CeScrollDialog(0) {}

  BOOL OnInitDialog() override;
  LRESULT OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) override;
  // The shell resizes the dialog when the input panel opens or closes.
  LRESULT OnSettingChange(UINT flag, LPARAM section, bool* handled) override;

  // The template that fits the screen: tall on a portrait screen, else wide.
  static int TemplateForScreen();

  // The database shown; set before the dialog runs.
  CEOID oid = 0;

 private:
  void ShowFields(const CEDBASEINFO& info);
  // True when the columns were made.
  bool ListSortOrders(const CEDBASEINFO& info);
  void AddSortOrderRow(HWND list, const SORTORDERSPEC& sort);
  void SetText(int id, const CeString& text);

  CeLayout layout;

  static SHACTIVATEINFO activateInfo;
};
