// Image lists: equally sized images kept one after another, drawn onto a
// device context with or without their mask and blended for the selected
// look. Handles (tag 9) map to ImageList objects.
#pragma once

#include <cstdint>
#include <vector>

#include <commctrl.h>

#include "kernel/HandleTable.h"

namespace gdi {
class DeviceContext;
}

namespace commctrl {

class ImageList {
 public:
  // Larger images are refused at creation, so that a request cannot ask for
  // a huge allocation per image.
  static constexpr int kMaxImageSide = 256;

  ImageList(int width, int height, UINT flags, int initial, int grow);

  int width() const { return width_; }
  int height() const { return height_; }
  int count() const { return count_; }
  bool masked() const { return (flags_ & ILC_MASK) != 0; }

  // Stores an image of any size, scaled to the list's size. index -1
  // appends; otherwise it replaces an existing image. Returns the index, -1
  // for an index out of range. argb: 0xAARRGGBB, top row first, alpha 0
  // where transparent.
  int put(int index, const uint32_t* argb, int sourceWidth, int sourceHeight);
  // Removes one image, or all with index -1.
  bool remove(int index);

  COLORREF bkColor() const { return bkColor_; }
  COLORREF setBkColor(COLORREF color);

  // The stored pixels of image index (width() x height()), null if none.
  const uint32_t* image(int index) const;

  // Draws image index with its top-left corner at (x, y), logical
  // coordinates of dc.
  bool draw(gdi::DeviceContext& dc, int index, int x, int y, UINT style) const;

 private:
  size_t imagePixels() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }
  void growFor(int images);

  int width_;
  int height_;
  UINT flags_;
  int grow_;
  int capacity_;
  int count_ = 0;
  COLORREF bkColor_ = CLR_NONE;
  std::vector<uint32_t> pixels_;
};

kernel::HandleTable<ImageList>& imageLists();
ImageList* imageListFromHandle(HIMAGELIST handle);

}  // namespace commctrl
