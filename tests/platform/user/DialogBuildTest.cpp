// Dialog templates: both formats read as the resource compiler writes them, corrupt ones refused whole; where a
// dialog and its controls land for the template's font, what each control is given, templates that cannot be made.
#include "DialogTestSupport.h"
#include "Recorder.h"
#include "dialog_templates.h"
#include "user/DialogTemplate.h"

namespace usertest {
namespace {

using DialogBuildTest = UserTest;

struct Units { int cx; int cy; };

// The base units of a font measured here, the way the device defines them:
// the average width of the 52 Latin letters and the character height.
Units measure(HFONT font) {
  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, font);
  SIZE size{};
  GetTextExtentPoint32W(hdc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  SelectObject(hdc, old);
  ReleaseDC(nullptr, hdc);
  return {(size.cx / 26 + 1) / 2, static_cast<int>(tm.tmHeight)};
}

int px(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }

RECT expected(Units u, int x, int y, int cx, int cy) {
  int left = px(x, u.cx, 4);
  int top = px(y, u.cy, 8);
  return {left, top, left + px(cx, u.cx, 4), top + px(cy, u.cy, 8)};
}

INT_PTR CALLBACK quietProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(DialogBuildTest, ControlsLandWhereTheirDialogUnitsSayForTheTemplatesFont) {
  HWND owner = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  log().clear();
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_LAYOUT), owner, quietProc, 0);
  ASSERT_TRUE(dialog);
  auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), int(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);  // 8 points at 96 dots per inch
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
  Units u = measure(font);
  ASSERT_GT(u.cx, 2);
  const struct { int id; int x, y, cx, cy; } controls[] = {
      {IDC_TEST_LABEL, 30, 4, 30, 8},  {IDC_TEST_NOTIFY, 30, 14, 31, 9},   {IDC_TEST_BUTTON, 64, 4, 32, 14},
      {IDC_TEST_CHECK, 4, 28, 60, 10}, {IDC_TEST_GROUPBOX, 3, 40, 94, 38}, {1099, 8, 52, 30, 12},
      {IDOK, 52, 82, 44, 14},          {IDCANCEL, 4, 82, 44, 14},
  };
  for (const auto& c : controls) {
    HWND control = GetDlgItem(dialog, c.id);
    ASSERT_TRUE(control) << c.id;
    RECT r = screenRect(control);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);  // into the dialog's client coordinates
    EXPECT_TRUE(sameRect(expected(u, c.x, c.y, c.cx, c.cy), r)) << "control " << c.id;
  }

  // The template gives the client area and places it from the owner's.
  RECT client;
  GetClientRect(dialog, &client);
  MapWindowPoints(dialog, owner, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_TRUE(sameRect(expected(u, 10, 6, 100, 100), client));
  RECT units{0, 0, 8, 16};
  EXPECT_TRUE(MapDialogRect(dialog, &units));
  EXPECT_TRUE(sameRect(expected(u, 0, 0, 8, 16), units)) << "the units of its controls";
  EXPECT_FALSE(MapDialogRect(owner, &units)) << "not a dialog";
  EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN, WS_EX_CAPTIONOKBTN);
  EXPECT_FALSE(IsWindowVisible(dialog));  // the template has no WS_VISIBLE

  // Every control gets the font; the one that records says so.
  auto fontMessages = log().only({WM_SETFONT});
  ASSERT_EQ(fontMessages.size(), 1u);
  EXPECT_EQ(fontMessages[0].hwnd, GetDlgItem(dialog, 1099));
  EXPECT_EQ(fontMessages[0].wParam, reinterpret_cast<WPARAM>(font));
  // The icon, first of the children in template order, comes from the instance.
  HWND icon = GetWindow(dialog, GW_CHILD);
  EXPECT_TRUE(SendMessageW(icon, STM_GETICON, 0, 0));
  EXPECT_EQ(GetWindow(icon, GW_HWNDNEXT), GetDlgItem(dialog, IDC_TEST_LABEL));
  DestroyWindow(dialog);
}

// The program's templates are all DIALOG ones; DIALOGEX is read in DialogTemplateTest. A missing
// template is the framework's DialogProc test.
TEST_F(DialogBuildTest, AControlOfAnUnknownClassFailsTheDialogWhole) {
  HWND owner = createTopLevel(WS_VISIBLE);
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_UNKNOWN_CLASS), owner, quietProc, 0), -1);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_TEST_UNKNOWN_CLASS), nullptr, quietProc, 0), nullptr);
  EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), owner) << "nothing half-made is left behind";
  EXPECT_EQ(GetWindow(owner, GW_HWNDNEXT), nullptr);
}

// The resource compiler's bytes of a template.
std::vector<uint8_t> resourceBytes(int id) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
  auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, resource)));
  return {bytes, bytes + SizeofResource(nullptr, resource)};
}

// What the templates hold is checked on the dialogs made from them (DialogBuildTest).
TEST(DialogTemplateTest, EveryTruncationOfATemplateInEitherFormatAndCorruptCountsAndTextsAreRefused) {
  for (auto [id, items] : {std::pair{IDD_TEST_LAYOUT, 10u}, std::pair{IDD_TEST_EXTENDED, 2u}}) {
    std::vector<uint8_t> bytes = resourceBytes(id);
    auto whole = user::parseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(whole) << id;
    EXPECT_EQ(whole->items.size(), items);
    for (size_t n = 0; n < bytes.size(); ++n) {
      // An exact-size copy: reading past it would be caught by the sanitizer.
      std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n));
      EXPECT_FALSE(user::parseDialogTemplate(cut.data(), cut.size())) << id << " cut at " << n;
    }
  }
  EXPECT_FALSE(user::parseDialogTemplate(nullptr, 100));

  auto bare = [](uint32_t style, uint16_t count) {
    TemplateBytes t;
    return t.header(style, 0, count, 0, 0, 10, 10);
  };
  const std::pair<const char*, TemplateBytes> cases[] = {
      {"more items than bytes",
       bare(WS_POPUP, 3).word(0).word(0).word(0).item(WS_CHILD, 0, 0, 1, 1, 1, 0x0080, u"one")},
      {"an item count no dialog has", bare(WS_POPUP, 0xFFFF).word(0).word(0).word(0)},
      {"title without its terminator", bare(WS_POPUP, 0).word(0).word(0).word(u'A').word(u'B')},
      {"font without its face", bare(WS_POPUP | DS_SETFONT, 0).word(0).word(0).word(0).word(8)},
      {"creation data longer than the template",
       bare(WS_POPUP, 1).word(0).word(0).word(0).align().dword(WS_CHILD).dword(0).word(0).word(0).word(5).word(5)
           .word(7).ordinal(0x0082).word(0).word(200).word(1)},
      {"menu ordinal cut off", bare(WS_POPUP, 0).word(0xFFFF)},
  };
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(user::parseDialogTemplate(bytes.data(), bytes.size())) << what;
}

}  // namespace
}  // namespace usertest
