#include "dialogs/FontDlg.h"

#include <cstdint>
#include <cstring>

#include "browser/BrowserWnd.h"
#include "dialogs/FontSettings.h"
#include "resources/resource.h"

namespace {

const WCHAR* const kSizes[] = {u"8", u"9", u"10", u"11", u"12", u"14", u"16", u"18", u"20", u"22", u"24", u"26"};
const WCHAR kPreviewText[] = u"AaBbCcYyZz";
// While there is no pane font the dialog opens at this size.
constexpr int kFirstPointSize = 9;

CeString FaceNameOf(const LOGFONTW& record) {
  CeString name;
  name.AssignField(record.lfFaceName, LF_FACESIZE);
  return name;
}

LOGFONTW SystemFontRecord() {
  LOGFONTW record = {};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(record), &record);
  return record;
}

// Selects the first entry that begins with text. Every entry begins with an
// empty text, so an empty face (one stored after a face was not found)
// selects nothing rather than the first family, which OK would then apply.
void SelectPrefix(HWND combo, const CeString& text) {
  if (text.Length() == 0) return;
  SendMessageW(combo, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text.Text()));
}

}  // namespace

void BrowserWnd::OnOptions() {
  LOGFONTW record = {};
  if (listFont == nullptr) {
    listPointSize = kFirstPointSize;
    record = SystemFontRecord();
  } else {
    GetObjectW(listFont, sizeof(record), &record);
  }
  FontDlg dialog(listPointSize, record);
  if (dialog.RunModal(MAKEINTRESOURCEW(IDD_FONT), hwnd) != IDOK) return;
  ApplyFont(dialog.PreviewFont());
  listPointSize = dialog.PointSize();
}

FontDlg::FontDlg(int size, const LOGFONTW& record)
    : CeDialog(LPCWSTR(nullptr)), logPixelsY(FontSettings::DisplayPixelsPerInch()), pointSize(size) {
  previewFont = CreateFontIndirectW(&record);
  // The font as made is what the dialog shows; should it not be made, the
  // record itself.
  LOGFONTW made = record;
  if (previewFont != nullptr) GetObjectW(previewFont, sizeof(made), &made);
  underline = made.lfUnderline != 0;
  italic = made.lfItalic != 0;
  bold = made.lfWeight >= FW_BOLD;
  faceName = FaceNameOf(made);
  sizeText.SetInt32(pointSize, 10);
}

FontDlg::~FontDlg() {
  if (previewFont != nullptr) DeleteObject(previewFont);
}

BOOL FontDlg::OnInitDialog() {
  const BOOL result = CeDialog::OnInitDialog();
  FillFaces();
  FillSizes();
  SelectPrefix(GetDlgItem(hwnd, IDC_FONT_SIZE), sizeText);
  SelectPrefix(GetDlgItem(hwnd, IDC_FONT_FACE), faceName);
  SendDlgItemMessageW(hwnd, IDC_FONT_BOLD, BM_SETCHECK, bold, 0);
  SendDlgItemMessageW(hwnd, IDC_FONT_ITALIC, BM_SETCHECK, italic, 0);
  SendDlgItemMessageW(hwnd, IDC_FONT_UNDERLINE, BM_SETCHECK, underline, 0);
  SetDlgItemTextW(hwnd, IDC_FONT_PREVIEW, kPreviewText);
  UpdatePreview();
  return result;
}

void FontDlg::FillFaces() {
  HDC dc = GetDC(hwnd);
  EnumFontFamiliesW(dc, nullptr, &AddFaceName, reinterpret_cast<LPARAM>(hwnd));
  ReleaseDC(hwnd, dc);
}

// Families are reported with their enumeration record; the list shows each
// by its full name and sorts them itself.
int CALLBACK FontDlg::AddFaceName(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM dialog) {
  const auto* family = reinterpret_cast<const ENUMLOGFONTW*>(font);
  SendDlgItemMessageW(reinterpret_cast<HWND>(dialog), IDC_FONT_FACE, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(family->elfFullName));
  return 1;
}

void FontDlg::FillSizes() {
  for (const WCHAR* size : kSizes)
    SendDlgItemMessageW(hwnd, IDC_FONT_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
}

LRESULT FontDlg::OnCommand(WPARAM idAndCode, HWND, bool* handled) {
  const WORD id = LOWORD(idAndCode);
  const WORD code = HIWORD(idAndCode);
  switch (id) {
    case IDC_FONT_FACE:
    case IDC_FONT_SIZE:
      *handled = true;
      if (code == CBN_SELCHANGE || code == CBN_KILLFOCUS) UpdatePreview();
      break;
    case IDC_FONT_BOLD:
    case IDC_FONT_ITALIC:
    case IDC_FONT_UNDERLINE:
      *handled = true;
      if (code == BN_CLICKED) UpdatePreview();
      break;
    default:
      break;
  }
  return 0;
}

bool FontDlg::IsChecked(int id) const { return SendDlgItemMessageW(hwnd, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Every field the dialog does not control keeps its value from the current
// preview font, or from the system font when that could not be made.
void FontDlg::UpdatePreview() {
  LOGFONTW record = {};
  if (previewFont == nullptr || GetObjectW(previewFont, sizeof(record), &record) != sizeof(record))
    record = SystemFontRecord();
  bold = IsChecked(IDC_FONT_BOLD);
  italic = IsChecked(IDC_FONT_ITALIC);
  underline = IsChecked(IDC_FONT_UNDERLINE);
  faceName.AssignWindowText(GetDlgItem(hwnd, IDC_FONT_FACE));
  sizeText.AssignWindowText(GetDlgItem(hwnd, IDC_FONT_SIZE));
  pointSize = _wtoi(sizeText.Text());

  const int64_t pixels = int64_t(pointSize) * logPixelsY / pointsPerInch;
  record.lfHeight = LONG(pixels < 0 ? pixels : -pixels);
  record.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  record.lfItalic = italic;
  record.lfUnderline = underline;
  record.lfStrikeOut = 0;
  std::memset(record.lfFaceName, 0, sizeof(record.lfFaceName));
  const int faceLength = faceName.Length() < LF_FACESIZE - 1 ? faceName.Length() : LF_FACESIZE - 1;
  std::memcpy(record.lfFaceName, faceName.Text(), size_t(faceLength) * sizeof(WCHAR));

  HFONT previous = previewFont;
  previewFont = CreateFontIndirectW(&record);
  SendDlgItemMessageW(hwnd, IDC_FONT_PREVIEW, WM_SETFONT, reinterpret_cast<WPARAM>(previewFont), TRUE);
  if (previous != nullptr) DeleteObject(previous);
}
