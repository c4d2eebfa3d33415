// The font dialog and the stored font: scripted runs of the real program
// that read the registry in the image afterwards, and the font calls that
// fail only in-process.
#include <gtest/gtest.h>
#include <strings.h>

#include <algorithm>

#include "browser/BrowserWnd.h"
#include "device/Device.h"
#include "dialogs/FontDlg.h"
#include "display/Png.h"
#include "harness/ImageBuilder.h"
#include "harness/ProgramRun.h"

using namespace harness;

namespace {

const WCHAR kKey[] = u"Software\\Tarniwell\\Vantor";
const std::string kOptions = "menu \"View\" \"Options...\"\ndump \"$DIR/font.txt\"\n";

// A record as stored; a font first made from the system font's record
// carries over its character set and pitch.
std::string Record(LONG height, LONG weight, BYTE underline, const std::u16string& face, bool system = false) {
  LOGFONTW font = {};
  font.lfCharSet = system ? DEFAULT_CHARSET : 0;
  font.lfPitchAndFamily = system ? VARIABLE_PITCH | FF_SWISS : 0;
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfUnderline = underline;
  std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE), font.lfFaceName);
  return std::string(reinterpret_cast<const char*>(&font), sizeof(font));
}

// The stored value's bytes; "no key" without the key.
std::string Stored(const std::string& image) {
  ImageBuilder open(image);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, 0, &key) != 0) return "no key";
  std::string bytes(256, '\0');
  DWORD size = DWORD(bytes.size());
  DWORD type = 0;
  if (RegQueryValueExW(key, u"Font", nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) != 0) size = 0;
  EXPECT_TRUE(size == 0 || type == REG_BINARY);
  RegCloseKey(key);
  return bytes.substr(0, size);
}

// Pixels other than white in the window's rectangle of the screenshot.
int Inked(const ProgramRun& run, const std::string& png, const DumpWindow* w) {
  std::string error;
  const auto screen = display::decodePng(run.Read(png), error);
  int count = 0;
  for (int y = w->top; y < w->bottom; ++y)
    for (int x = w->left; x < w->right; ++x) count += screen->pixel(x, y) != 0xFFFFFF;
  return count;
}

TEST(FontDlg, NothingIsStoredUntilConfirmedAndTheConfirmedFontComesBackAfterARestart) {
  ProgramRun run(VANTOR_EXE);
  // An empty device: nothing is selected, so no properties open either.
  ASSERT_EQ(run.Run("dump \"$DIR/plain.txt\"\nscreenshot \"$DIR/plain.png\"\nmenu \"Tools\" \"Database Properties...\"\n" +
                    kOptions + "key Escape\nclose").exitCode, 0);
  Dump d = run.ReadDump("font.txt");
  EXPECT_EQ(FindWindowIn(d, "Dialog", "Database Properties"), nullptr);
  std::vector<std::string> sizes;
  for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26"})
    sizes.push_back("item \"" + std::string(size) + "\" data=0" + (size == std::string("9") ? " selected" : ""));
  EXPECT_EQ(FindId(d, 1007)->items, sizes);
  std::vector<std::string> faces;
  for (const std::string& item : FindId(d, 1006)->items) faces.push_back(item.substr(6, item.find("\" data=") - 6));
  EXPECT_GT(faces.size(), 3u);
  EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }));
  EXPECT_EQ(TextOf(d, 1006), "Tahoma");
  EXPECT_EQ(Stored(run.Image()), "");

  // Underline redraws the preview underlined; OK stores it with the system
  // font's 9 points (bold and italic as the system font has them: off).
  ASSERT_EQ(run.Run(kOptions + "screenshot \"$DIR/0.png\"\npress \"Underline\"\nscreenshot \"$DIR/1.png\"\nkey Enter\nclose")
                .exitCode, 0);
  EXPECT_GT(Inked(run, "1.png", FindId(run.ReadDump("font.txt"), 1011)), Inked(run, "0.png", FindId(d, 1011)));
  EXPECT_EQ(Stored(run.Image()), Record(-12, FW_NORMAL, 1, u"Tahoma", true));

  // A restart underlines both panes; the dialog opens at the stored size
  // and with Underline ticked; the next size, 10 points, is 13 pixels.
  ASSERT_EQ(run.Run("screenshot \"$DIR/styled.png\"\n" + kOptions + "key Tab\nkey Down\nkey Enter\nclose").exitCode, 0);
  const Dump plain = run.ReadDump("plain.txt");
  for (int pane : {BrowserWnd::kTreeId, BrowserWnd::kListId})
    EXPECT_GT(Inked(run, "styled.png", FindId(plain, pane)), Inked(run, "plain.png", FindId(plain, pane)) + 50);
  EXPECT_EQ(Stored(run.Image()), Record(-13, FW_NORMAL, 1, u"Tahoma", true));
}

TEST(FontDlg, AStoredRecordIsTakenOnlyWhole92BytesLongAndOpensTheDialogWhateverItHolds) {
  struct Case {
    const char* what;
    std::string value;
    const char* face;
    const char* size;
    const char* key;
    std::string stored;
  };
  const std::string tenPoints = Record(-13, FW_NORMAL, 1, u"DejaVu Serif");
  const Case cases[] = {
      {"91 bytes", tenPoints.substr(0, 91), "Tahoma", "9", "Escape", tenPoints.substr(0, 91)},
      {"93 bytes", tenPoints + "x", "Tahoma", "9", "Escape", tenPoints + "x"},
      {"kept as it was", tenPoints, "DejaVu Serif", "10", "Enter", tenPoints},
      {"unknown face", Record(-16, FW_NORMAL, 0, u"Nonesuch"), "", "12", "Enter", Record(-16, FW_NORMAL, 0, u"")},
      {"empty face", Record(-16, FW_NORMAL, 0, u""), "", "12", "Enter", Record(-16, FW_NORMAL, 0, u"")},
      {"nonsense", Record(INT_MIN, INT_MAX, 0, std::u16string(32, u'Z')), "", "", "Enter", Record(0, FW_BOLD, 0, u"")},
  };
  for (const Case& c : cases) {
    ProgramRun run(VANTOR_EXE);
    {
      ImageBuilder open(run.Image());
      HKEY key = nullptr;
      ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, 0, nullptr, &key, nullptr), 0);
      RegSetValueExW(key, u"Font", 0, REG_BINARY, reinterpret_cast<const BYTE*>(c.value.data()), DWORD(c.value.size()));
      RegCloseKey(key);
    }
    ASSERT_EQ(run.Run(kOptions + "key " + c.key + "\nclose").exitCode, 0) << c.what;
    const Dump d = run.ReadDump("font.txt");
    EXPECT_EQ(TextOf(d, 1006) + "/" + TextOf(d, 1007), std::string(c.face) + "/" + c.size) << c.what;
    EXPECT_EQ(Stored(run.Image()), c.stored) << c.what;
  }
}

TEST(ApplyFont, WithoutAFontGivesBothPanesTheirDefaultFontBack) {
  BrowserWnd window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 240, 268, u"main", WS_VISIBLE, 0, nullptr, nullptr));
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  window.ApplyFont(font);
  DeleteObject(font);
  HFONT copy = window.listFont;
  EXPECT_EQ(GetObjectType(copy), DWORD(OBJ_FONT));
  window.ApplyFont(nullptr);
  EXPECT_EQ(GetObjectType(copy), 0u);
  EXPECT_EQ(window.listFont, nullptr);
  for (HWND pane : {window.treeView, window.listView}) EXPECT_EQ(SendMessageW(pane, WM_GETFONT, 0, 0), 0);
  DestroyWindow(window.hwnd);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(FontDlg, ARebuildAfterThePreviewFontCouldNotBeMadeStartsFromTheSystemFont) {
  LOGFONTW record = {};
  record.lfWidth = 5;
  record.lfCharSet = SYMBOL_CHARSET;
  record.lfQuality = 3;
  std::fill_n(record.lfFaceName, LF_FACESIZE, u'Q');
  LOGFONTW system = {};
  ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(system), &system), int(sizeof(system)));
  // No font can be made while every GDI handle is taken.
  std::vector<HGDIOBJ> taken;
  while (HGDIOBJ brush = CreateSolidBrush(0)) taken.push_back(brush);
  FontDlg dialog(9, record);
  for (HGDIOBJ brush : taken) DeleteObject(brush);
  EXPECT_EQ(dialog.PreviewFont(), nullptr);

  device::Device::instance().script().add([&] { PostMessageW(dialog.hwnd, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(dialog.RunModal(MAKEINTRESOURCEW(107), nullptr), IDCANCEL);
  LOGFONTW made = {};
  ASSERT_EQ(GetObjectW(dialog.PreviewFont(), sizeof(made), &made), int(sizeof(made)));
  EXPECT_EQ(std::make_tuple(made.lfWidth, made.lfCharSet, made.lfQuality, made.lfPitchAndFamily),
            std::make_tuple(system.lfWidth, system.lfCharSet, system.lfQuality, system.lfPitchAndFamily));
}

}  // namespace
