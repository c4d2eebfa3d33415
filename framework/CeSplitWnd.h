// A window with two child panes and a draggable 6-pixel bar between them:
// side by side on a landscape or square screen, stacked on a portrait one.
#pragma once

#include <windows.h>

#include "framework/CeWnd.h"

class CeSplitWnd : public CeWnd {
 public:
  // Splits area into the two panes with the bar between them; sets stacked.
  virtual void CalcPaneRects(const RECT& area, RECT* first, RECT* second);

  LRESULT OnLButtonDown(WPARAM keys, UINT x, UINT y, bool* handled) override;
  LRESULT OnLButtonUp(WPARAM keys, UINT x, UINT y, bool* handled) override;
  LRESULT OnMouseMove(WPARAM keys, UINT x, UINT y, bool* handled) override;
  LRESULT OnPaint(bool* handled) override;
  // Every resize puts the bar back where CalcPaneRects has it.
  LRESULT OnSize(WPARAM sizeType, UINT width, UINT height, bool* handled) override;

  static constexpr int kBarWidth = 6;

 protected:
  // A window's rectangle in this window's client coordinates.
  RECT ClientRectOf(HWND child) const;

  bool dragging = false;
  bool stacked = false;
  HWND firstPane = nullptr;
  HWND secondPane = nullptr;
  // A bar above both panes; takes its own height from the area when it
  // holds a window.
  CeWndHandle topBar;

 private:
  RECT PaneArea() const;
  void DragBarTo(int x, int y);
};
