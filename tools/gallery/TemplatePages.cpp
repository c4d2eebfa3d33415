// Vantor's dialog templates, shown as Vantor shows them but without its
// dialog classes: the properties and About dialogs full screen through the
// shell, the font dialog centred over the main window. OK (the navigation
// bar's button, or Enter) and Cancel (Escape) end them.
#include <aygshell.h>

#include "Gallery.h"
#include "gallery_ids.h"
#include "resources/resource.h"

namespace {

void CentreOverOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT over = {};
  if (owner != nullptr)
    GetWindowRect(owner, &over);
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  RECT own = {};
  GetWindowRect(dialog, &own);
  const int x = (over.left + over.right) / 2 - (own.right - own.left) / 2;
  const int y = (over.top + over.bottom) / 2 - (own.bottom - own.top) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK TemplateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (lParam == IDD_FONT) {
        CentreOverOwner(dialog);
      } else {
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
        SHInitDialog(&info);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void OpenTemplate(HWND main, UINT command) {
  const int number = int(command) - ID_TEMPLATE_BASE;
  const INT_PTR result =
      DialogBoxParamW(GalleryInstance(), MAKEINTRESOURCEW(number), main, &TemplateProc, LPARAM(number));
  SetStatusF(main, u"Dialog %d ended with %d", number, int(result));
}

GalleryPage widePage(ID_TEMPLATE_WIDE, &OpenTemplate);
GalleryPage fontPage(ID_TEMPLATE_FONT, &OpenTemplate);
GalleryPage aboutPage(ID_TEMPLATE_ABOUT, &OpenTemplate);
GalleryPage tallPage(ID_TEMPLATE_TALL, &OpenTemplate);

}  // namespace
