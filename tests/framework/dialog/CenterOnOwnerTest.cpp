// Centring a dialog over its owner, in the work area or in its parent.
#include "DialogTestSupport.h"
#include "dialog_test_ids.h"
#include "framework/CeDialog.h"

namespace dialogtest {
namespace {

// The device's work area: below the navigation bar, above the menu bar.
constexpr RECT kWorkArea = {0, 26, 240, 294};

// Ends its modal run once initialised (and centred), noting where it was put.
class PlacedDialog : public CeDialog {
 public:
  explicit PlacedDialog(int templateNumber = IDD_SMALL) : CeDialog(templateNumber) {}
  RECT placed = {};
  BOOL OnInitDialog() override {
    const BOOL result = CeDialog::OnInitDialog();
    placed = WindowRect(hwnd);
    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return result;
  }
};

HWND MakeWindow(const RECT& r, DWORD style = WS_POPUP | WS_VISIBLE) {
  return CreateWindowExW(0, u"static", u"owner", style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                         nullptr, nullptr, nullptr);
}


using CenterOnOwner = DialogTest;

// Owners whose centre lies beyond one edge of the work area pull the
// dialog's side back to that edge; the other direction still follows the
// owner's centre. A hidden owner counts as none.
TEST_F(CenterOnOwner, AModalDialogIsCentredOverAVisibleOwnerInsideTheWorkAreaAndInItOverAHiddenOneOrNone) {
  const struct {
    const char* what;
    RECT owner;
    DWORD style;
    LONG RECT::*side;  // the dialog's side that meets the work area's
  } cases[] = {
      {"visible", {30, 70, 210, 250}, WS_POPUP | WS_VISIBLE, nullptr},
      {"hidden", {-200, 200, -100, 300}, WS_POPUP, nullptr},
      {"left", {-220, 100, -20, 200}, WS_POPUP | WS_VISIBLE, &RECT::left},
      {"right", {200, 100, 420, 200}, WS_POPUP | WS_VISIBLE, &RECT::right},
      {"top", {40, -150, 200, 30}, WS_POPUP | WS_VISIBLE, &RECT::top},
      {"bottom", {40, 260, 200, 460}, WS_POPUP | WS_VISIBLE, &RECT::bottom},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PlacedDialog dialog;
    EXPECT_EQ(dialog.RunModal(nullptr, MakeWindow(c.owner, c.style)), IDOK);
    const RECT r = dialog.placed;
    const int x = (c.owner.left + c.owner.right) / 2, y = (c.owner.top + c.owner.bottom) / 2;
    if (c.side == nullptr) {
      EXPECT_EQ(OffCentre(r, 120, 160), "");
    } else {
      EXPECT_EQ(r.*c.side, kWorkArea.*c.side) << Describe(r);
      const bool across = c.side == &RECT::left || c.side == &RECT::right;
      EXPECT_EQ(across ? r.top : r.left, across ? y - (r.bottom - r.top) / 2 : x - (r.right - r.left) / 2);
    }
  }
}

// Asked, a modeless dialog is centred in the work area with no owner or
// over a window given; a child dialog inside its parent, and pulled back
// inside it over a sibling near the parent's corner.
TEST_F(CenterOnOwner, AModelessDialogIsCentredWhenAskedOverAWindowGivenOrInsideItsParent) {
  PlacedDialog lone;
  HWND window = lone.CreateModeless();
  ASSERT_NE(window, nullptr);
  lone.CenterOnOwner();
  EXPECT_EQ(OffCentre(WindowRect(window), 120, 160), "");
  lone.CenterOnOwner(MakeWindow({100, 150, 200, 250}));
  EXPECT_EQ(OffCentre(WindowRect(window), 150, 200), "");

  HWND parent = MakeWindow(kWorkArea);
  HWND corner = CreateWindowExW(0, u"static", u"corner", WS_CHILD | WS_VISIBLE, 200, 230, 40, 38, parent, nullptr,
                                nullptr, nullptr);
  PlacedDialog child(IDD_CHILD);
  ASSERT_NE(child.CreateModeless(nullptr, parent), nullptr);
  ASSERT_EQ(GetParent(child.hwnd), parent);
  child.CenterOnOwner();
  EXPECT_EQ(OffCentre(RectInParent(child.hwnd), 120, 134), "");
  child.CenterOnOwner(corner);
  const RECT r = RectInParent(child.hwnd);
  EXPECT_EQ(std::make_tuple(r.right, r.bottom), std::make_tuple(240L, 268L)) << Describe(r);
}

}  // namespace
}  // namespace dialogtest
