#include "dialogs/AboutDlg.h"

#include <aygshell.h>

#include "browser/BrowserWnd.h"
#include "resources/resource.h"

void BrowserWnd::OnAbout() {
  AboutDlg dialog;
  dialog.RunModal(MAKEINTRESOURCEW(IDD_ABOUT), hwnd);
}

AboutDlg::AboutDlg() : CeScrollDialog(IDD_ABOUT) {}

// The notice takes whatever room the full screen gives; the version line
// and the icon keep their places.
BOOL AboutDlg::OnInitDialog() {
  const BOOL result = CeScrollDialog::OnInitDialog();
  layout.AddControl(GetDlgItem(hwnd, IDC_ABOUT_NOTICE), CeLayout::StretchWidth | CeLayout::StretchHeight);
  SHINITDLGINFO fullScreen = {};
  fullScreen.dwMask = SHIDIM_FLAGS;
  fullScreen.hDlg = hwnd;
  fullScreen.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
  SHInitDialog(&fullScreen);
  return result;
}

LRESULT AboutDlg::OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) {
  layout.Relayout(sizeType);
  return CeScrollDialog::OnSize(sizeType, width, height, handled);
}
