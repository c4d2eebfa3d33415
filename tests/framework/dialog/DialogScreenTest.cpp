// What the program's dialog templates look like when the framework runs
// them: About full screen through the shell, Font centred over its owner.
// Regions of the screen are checked, not whole images, so font rendering
// details do not matter.
#include <aygshell.h>

#include <cstdint>

#include "DialogTestSupport.h"
#include "framework/CeScrollDialog.h"
#include "resources/resource.h"

namespace dialogtest {
namespace {

const display::Framebuffer& Screen() { return device::Device::instance().backend().framebuffer(); }

// How many pixels of a screen rectangle differ from colour; with no colour,
// how many are coloured (red, green and blue not all alike).
int CountOther(const RECT& r, int64_t colour = -1) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const uint32_t p = Screen().pixel(x, y);
      const uint32_t grey = (p & 0xFF) * 0x010101;
      count += colour >= 0 ? p != colour : (p & 0xFFFFFF) != grey;
    }
  return count;
}

// A template's rectangle in dialog units, in screen pixels.
RECT ControlOnScreen(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&units), 2);
  return units;
}

class FullScreenAbout : public CeScrollDialog {
 public:
  FullScreenAbout() : CeScrollDialog(IDD_ABOUT) {}
  BOOL OnInitDialog() override {
    const BOOL result = CeScrollDialog::OnInitDialog();
    SHINITDLGINFO info = {SHIDIM_FLAGS, hwnd, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&info);
    return result;
  }
  bool VertScrolling() const { return vertScrolling != 0; }
};

using DialogScreen = DialogTest;

TEST_F(DialogScreen, AboutFillsTheAreaBetweenTheBarsWithItsContentAtTheTop) {
  HWND owner = CreateWindowExW(0, u"static", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr,
                               nullptr);
  FullScreenAbout dialog;
  RECT placed = {};
  RECT work = {};
  RECT icon = {}, notice = {}, version = {}, empty = {};
  uint32_t background = 0;
  bool scrolling = true;
  WhileModal([&] {
    HWND window = dialog.hwnd;
    placed = WindowRect(window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    icon = ControlOnScreen(window, {5, 2, 26, 22});
    version = ControlOnScreen(window, {30, 8, 99, 16});
    notice = ControlOnScreen(window, {3, 21, 114, 60});
    // Below the template's content, down to the dialog's bottom.
    const RECT content = ControlOnScreen(window, {0, 0, 117, 113});
    empty = {placed.left, content.bottom + 1, placed.right, placed.bottom};
    background = Screen().pixel(placed.right - 1, placed.bottom - 1);
    scrolling = dialog.VertScrolling();
    EndDialog(window, IDOK);
  });
  EXPECT_EQ(dialog.RunModal(nullptr, owner), IDOK);

  EXPECT_EQ(Describe(placed), Describe(work));
  EXPECT_FALSE(scrolling);
  // The icon is drawn in colour where its template puts it.
  EXPECT_GT(CountOther(icon), 20) << Describe(icon);
  // The version line and the notice are written.
  EXPECT_GT(CountOther(version, background), 10) << Describe(version);
  EXPECT_GT(CountOther(notice, background), 100) << Describe(notice);
  // Nothing below the content.
  ASSERT_GT(empty.bottom, empty.top);
  EXPECT_EQ(CountOther(empty, background), 0) << Describe(empty);
}

TEST_F(DialogScreen, FontIsCentredOverItsOwnerWithItsFrameAndControls) {
  HWND owner = CreateWindowExW(0, u"static", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr,
                               nullptr);
  CeDialog dialog(IDD_FONT);
  RECT placed = {};
  RECT client = {};
  RECT boldBox = {}, preview = {}, clientSample = {};
  uint32_t ownerColour = 0, dialogColour = 0, frameColour = 0;
  int ownerAround = -1;
  WhileModal([&] {
    HWND window = dialog.hwnd;
    placed = WindowRect(window);
    client = ClientRect(window);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    boldBox = ControlOnScreen(window, {89, 44, 99, 54});
    preview = ControlOnScreen(window, {4, 44, 81, 80});
    clientSample = ControlOnScreen(window, {124, 3, 136, 12});
    ownerColour = Screen().pixel(2, 30);
    dialogColour = Screen().pixel(clientSample.left, clientSample.top);
    frameColour = Screen().pixel((placed.left + placed.right) / 2, placed.top);
    // A ring of owner just outside the dialog on every side.
    const RECT ring[] = {{placed.left - 2, placed.top, placed.left, placed.bottom},
                         {placed.right, placed.top, placed.right + 2, placed.bottom},
                         {placed.left, placed.top - 2, placed.right, placed.top},
                         {placed.left, placed.bottom, placed.right, placed.bottom + 2}};
    ownerAround = 0;
    for (const RECT& r : ring) ownerAround += CountOther(r, ownerColour);
    EndDialog(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.RunModal(nullptr, owner), IDCANCEL);

  const int width = placed.right - placed.left;
  const int height = placed.bottom - placed.top;
  EXPECT_EQ(placed.left, 120 - width / 2) << Describe(placed);
  EXPECT_EQ(placed.top, 160 - height / 2) << Describe(placed);
  // The caption strip lies above the client area and looks unlike it.
  EXPECT_GT(client.top, placed.top);
  EXPECT_NE(frameColour, dialogColour);
  EXPECT_EQ(ownerAround, 0);
  // The check box's square and the preview text are drawn.
  EXPECT_GT(CountOther(boldBox, dialogColour), 8) << Describe(boldBox);
  EXPECT_GT(CountOther(preview, dialogColour), 20) << Describe(preview);
  EXPECT_EQ(CountOther(clientSample, dialogColour), 0) << Describe(clientSample);
}

}  // namespace
}  // namespace dialogtest
