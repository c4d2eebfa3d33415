// A dialog that scrolls its whole content when its client area becomes
// smaller than it was at initialisation (the input panel took room, or the
// template is larger than the screen): a scroll bar per short dimension, and
// all child controls moved together with it.
#pragma once

#include <windows.h>

#include "framework/CeDialog.h"

class CeScrollDialog : public CeDialog {
 public:
  // 0 when the template is chosen when the dialog is run.
  explicit CeScrollDialog(int templateNumber = 0);

  // Records the client size as the content size; a requested size then
  // resizes the window.
  BOOL OnInitDialog() override;
  // Shows, updates or hides the scroll bars for the new client size.
  LRESULT OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) override;
  // WM_HSCROLL and WM_VSCROLL move the content.
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

  // The line step of the arrows, in pixels.
  static constexpr int kLineStep = 20;

 protected:
  // bar is SB_HORZ or SB_VERT.
  void SetBarRange(int bar, int minimum, int maximum, int page);
  // 0 when the bar has no position to give.
  int GetBarPos(int bar);
  bool GetBarRange(int bar, int* minimum, int* maximum);

  // A subclass may ask for an initial window size; 0 keeps the template's
  // in that dimension (plus room for the other dimension's scroll bar).
  int requestedWidth = 0;
  int requestedHeight = 0;
  // Set once the content size is known; size changes before that are not
  // handled here.
  int scrollReady = 0;
  int contentWidth = 0;
  int contentHeight = 0;
  // 1 while the bar is in use: the client extent is below the content's.
  int vertScrolling = 0;
  int horzScrolling = 0;

 private:
  // One bar settled for the client extent in its direction.
  void FitBar(int bar, int content, int* scrolling);
  void OnScrollRequest(int bar, int code, int thumb);
  // The content moves by delta pixels along the bar's direction.
  void ScrollContent(int bar, int delta);
};
