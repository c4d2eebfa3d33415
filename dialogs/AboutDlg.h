// The About box: the icon, the version line and the notice, full screen.
#pragma once

#include <windows.h>

#include "framework/CeLayout.h"
#include "framework/CeScrollDialog.h"

class AboutDlg : public CeScrollDialog {
 public:
  AboutDlg();

  BOOL OnInitDialog() override;
  LRESULT OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) override;

 private:
  CeLayout layout;
};
