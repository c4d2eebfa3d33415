// The header control ("SysHeader32"): a row of column headings with text,
// width and alignment. With HDS_BUTTONS a heading is a button: it looks
// pressed while the stylus holds it and tells the parent HDN_ITEMCLICKW when
// released on it. Dragging the divider at a heading's right edge resizes it:
// HDN_BEGINTRACKW, HDN_TRACKW and the change itself (HDN_ITEMCHANGINGW,
// HDN_ITEMCHANGEDW) as the stylus moves, HDN_ENDTRACKW when it lifts.
#pragma once

#include <string>
#include <vector>

#include <commctrl.h>

#include "user/ControlState.h"
#include "user/Window.h"

namespace commctrl {

void registerHeaderClass();

class Header : public user::Control {
 public:
  explicit Header(HWND hwnd) : hwnd_(hwnd) {}
  // The header state of a window, if it is one; never creates it.
  static Header* of(HWND hwnd) { return user::existingControl<Header>(hwnd); }

  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  // The height the header wants with its font.
  int preferredHeight() const;
  // The window dump's lines: one per heading.
  void dump(const std::string& indent, std::string& out) const;

 private:
  struct Item {
    int width = 0;
    std::u16string text;
    int format = HDF_LEFT | HDF_STRING;
    LPARAM param = 0;
    HBITMAP bitmap = nullptr;
    int image = 0;
    int order = 0;
  };

  int count() const { return static_cast<int>(items_.size()); }
  bool has(int index) const { return index >= 0 && index < count(); }

  // ---- items
  int insertItem(int index, const HDITEMW* item);
  bool deleteItem(int index);
  bool getItem(int index, HDITEMW* item) const;
  // Changes an item as HDM_SETITEMW does: asks the parent, changes, tells it.
  bool setItem(int index, const HDITEMW& item);
  void apply(Item& item, const HDITEMW& fields);
  bool layout(HDLAYOUT* layout) const;
  RECT itemRect(int index) const;
  int hitTest(HDHITTESTINFO* info) const;
  int orderToIndex(int order) const;

  // ---- stylus
  void stylusDown(LPARAM lParam, bool twice);
  void stylusMove(LPARAM lParam);
  void stylusUp(LPARAM lParam);
  void endTracking(bool notifyEnd);
  void captureLost();
  // The heading whose right edge is near x (the last of several), or -1.
  int dividerAt(int x) const;

  LRESULT notify(UINT code, int index, HDITEMW* item);
  void setFont(HFONT font, bool redraw);
  void invalidate();
  void paint();

  HWND hwnd_;
  std::vector<Item> items_;
  HFONT font_ = nullptr;
  bool redraw_ = true;
  // Stylus: the heading held down as a button, or the divider being dragged.
  int pressed_ = -1;
  bool pressedInside_ = false;
  int tracking_ = -1;
  int trackOffset_ = 0;  // from the stylus to the divider when it went down
};

}  // namespace commctrl
