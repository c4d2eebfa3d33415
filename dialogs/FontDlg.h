// The font of the tree and the list: a face, a size in points, bold, italic
// and underline, with a preview rebuilt at every change. Centred over the
// main window.
#pragma once

#include <windows.h>

#include "framework/CeDialog.h"
#include "framework/CeString.h"

class FontDlg : public CeDialog {
 public:
  // Opens with pointSize and what record describes; the fields the dialog
  // does not control are carried over from record.
  FontDlg(int pointSize, const LOGFONTW& record);
  ~FontDlg() override;
  FontDlg(const FontDlg&) = delete;
  FontDlg& operator=(const FontDlg&) = delete;

  BOOL OnInitDialog() override;
  LRESULT OnCommand(WPARAM idAndCode, HWND control, bool* handled) override;

  // The preview's font, owned by the dialog; null when it could not be made.
  HFONT PreviewFont() const { return previewFont; }
  int PointSize() const { return pointSize; }

 private:
  void FillFaces();
  void FillSizes();
  void UpdatePreview();
  bool IsChecked(int id) const;
  static int CALLBACK AddFaceName(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD type, LPARAM dialog);

  CeString faceName;
  CeString sizeText;
  int logPixelsY = 0;
  int pointsPerInch = 72;
  int pointSize = 0;
  BYTE bold = 0;
  BYTE italic = 0;
  BYTE underline = 0;
  HFONT previewFont = nullptr;
};
