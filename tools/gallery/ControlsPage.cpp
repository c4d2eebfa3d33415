// A dialog of every standard control. Each says what happens to it on the
// dialog's last line; when the dialog ends, the main window's status line
// sums up the state it was left in.
#include "Gallery.h"
#include "gallery_ids.h"

namespace {

// Given out of order: the sorted combo box puts them in order, without
// regard to case.
constexpr const WCHAR* kFruit[] = {u"Pear", u"apple", u"Banana", u"cherry"};
constexpr const WCHAR* kNumbers[] = {u"One", u"Two", u"Three", u"Four", u"Five"};
constexpr int kScrollMax = 100;
constexpr int kScrollPage = 10;

void Report(HWND dialog, const WCHAR* format, ...) {
  WCHAR text[256];
  va_list args;
  va_start(args, format);
  wvsprintfW(text, format, args);
  va_end(args);
  SetDlgItemTextW(dialog, IDC_LAST_EVENT, text);
}

void Fill(HWND dialog) {
  for (const WCHAR* fruit : kFruit) SendDlgItemMessageW(dialog, IDC_COMBO, CB_ADDSTRING, 0, LPARAM(fruit));
  for (const WCHAR* number : kNumbers) SendDlgItemMessageW(dialog, IDC_LIST, LB_ADDSTRING, 0, LPARAM(number));
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, kScrollMax, kScrollPage, 0, 0};
  SetScrollInfo(GetDlgItem(dialog, IDC_SCROLL), SB_CTL, &info, TRUE);
  CheckDlgButton(dialog, IDC_CHECK_SECOND, BST_CHECKED);
}

// The text of the selected item of a combo or list box, or "none".
void SelectedText(HWND dialog, int id, UINT getSelection, UINT getText, WCHAR* text) {
  const LRESULT selected = SendDlgItemMessageW(dialog, id, getSelection, 0, 0);
  text[0] = 0;
  if (selected < 0 || SendDlgItemMessageW(dialog, id, getText, WPARAM(selected), LPARAM(text)) < 0)
    wsprintfW(text, u"none");
}

void OnCommand(HWND dialog, WORD id, WORD code) {
  WCHAR text[128];
  switch (id) {
    case IDC_PUSH:
    case IDC_DEFAULT:
      Report(dialog, u"%s pressed", id == IDC_PUSH ? u"Push" : u"Default");
      return;
    case IDC_CHECK_FIRST:
    case IDC_CHECK_SECOND:
      Report(dialog, u"%s %s", id == IDC_CHECK_FIRST ? u"First" : u"Second",
             IsDlgButtonChecked(dialog, id) == BST_CHECKED ? u"checked" : u"cleared");
      return;
    case IDC_COMBO:
      if (code == CBN_SELCHANGE) {
        SelectedText(dialog, IDC_COMBO, CB_GETCURSEL, CB_GETLBTEXT, text);
        Report(dialog, u"Combo box: %s", text);
      }
      return;
    case IDC_LIST:
      if (code == LBN_SELCHANGE) {
        SelectedText(dialog, IDC_LIST, LB_GETCURSEL, LB_GETTEXT, text);
        Report(dialog, u"List box: %s", text);
      }
      return;
    case IDC_NOTIFY_LABEL:
      if (code == STN_CLICKED) {
        SendMessageW(dialog, WM_NEXTDLGCTL, WPARAM(GetDlgItem(dialog, IDC_LIST)), TRUE);
        Report(dialog, u"Label tapped");
      }
      return;
    default:
      return;
  }
}

// The scroll bar control moves as its arrows, track and thumb ask.
void OnScroll(HWND dialog, HWND bar, WORD request, SHORT thumb) {
  SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  int pos = info.nPos;
  switch (request) {
    case SB_LINELEFT:
      --pos;
      break;
    case SB_LINERIGHT:
      ++pos;
      break;
    case SB_PAGELEFT:
      pos -= kScrollPage;
      break;
    case SB_PAGERIGHT:
      pos += kScrollPage;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = thumb;
      break;
    case SB_LEFT:
      pos = 0;
      break;
    case SB_RIGHT:
      pos = kScrollMax;
      break;
    default:
      return;
  }
  SetScrollPos(bar, SB_CTL, pos, TRUE);
  Report(dialog, u"Scroll bar: %d", GetScrollPos(bar, SB_CTL));
}

void Summarise(HWND main, HWND dialog, int result) {
  WCHAR combo[64];
  WCHAR list[64];
  SelectedText(dialog, IDC_COMBO, CB_GETCURSEL, CB_GETLBTEXT, combo);
  SelectedText(dialog, IDC_LIST, LB_GETCURSEL, LB_GETTEXT, list);
  SetStatusF(main, u"Controls ended with %d: first %d, second %d, combo %s, list %s, scroll %d", result,
             IsDlgButtonChecked(dialog, IDC_CHECK_FIRST), IsDlgButtonChecked(dialog, IDC_CHECK_SECOND), combo, list,
             GetScrollPos(GetDlgItem(dialog, IDC_SCROLL), SB_CTL));
}

INT_PTR CALLBACK ControlsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      Fill(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        Summarise(reinterpret_cast<HWND>(GetWindowLongPtrW(dialog, DWLP_USER)), dialog, LOWORD(wParam));
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      OnScroll(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), SHORT(HIWORD(wParam)));
      return TRUE;
    default:
      return FALSE;
  }
}

void OpenControls(HWND main, UINT) {
  DialogBoxParamW(GalleryInstance(), MAKEINTRESOURCEW(IDD_CONTROLS), main, &ControlsProc, LPARAM(main));
}

GalleryPage controlsPage(ID_CONTROLS_STANDARD, &OpenControls);

}  // namespace
