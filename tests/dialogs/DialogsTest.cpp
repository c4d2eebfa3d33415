// The dialogs and the stored font in the real program on the headless device
// (dumps, screenshots, the registry); in-process, fonts that cannot be made.
#include <gtest/gtest.h>

#include "browser/BrowserWnd.h"
#include "device/Device.h"
#include "dialogs/FontDlg.h"
#include "display/Png.h"
#include "harness/ImageBuilder.h"
#include "harness/ProgramRun.h"
#include "store/Session.h"

using namespace harness;

namespace {

const std::string kOptions = "menu \"View\" \"Options...\"\ndump \"$DIR/font.txt\"\n";
const WCHAR kKey[] = u"Software\\Tarniwell\\Vantor";

// Opens the properties and dumps the screen to $DIR/name.txt.
std::string Properties(const std::string& name) {
  return "menu \"Tools\" \"Database Properties...\"\ndump \"$DIR/" + name + ".txt\"\n";
}

std::string Rect(const DumpWindow* w) {
  const size_t at = w->line.find("rect=") + 5;
  return w->line.substr(at, w->line.find(" style") - at);
}

// The six fields, a C per column of the sort orders, then their rows.
std::string Shown(const Dump& d) {
  std::string shown;
  for (int id : {1005, 1001, 1002, 1003, 1004, 1006}) shown += TextOf(d, id) + "|";
  for (const std::string& item : FindId(d, 1012)->items)
    shown += item.rfind("column", 0) == 0 ? "C" : item.rfind("row", 0) == 0 ? "|" + item.substr(item.find("=\"") + 1)
                                                                             : "";
  return shown;
}

TEST(DbProperties, ShowTheSelectedDatabaseInTheLayoutOfTheScreen) {
  ProgramRun run(VANTOR_EXE);
  {
    ImageBuilder b(run.Image());
    const CEOID first = b.Database(u"Known", 0x1234, {{0x8001001F, 1}, {0x8002001F, 6}, {0x8003000B, 0}});
    ASSERT_EQ(b.Database(u"Later", 7) + b.Database(u"Broken") + b.Database(u"Plain"), 3 * first + 6);
    // What the store's calls refuse: chosen identifiers, a huge size, a time past 9999, one sort
    // order on identifier 0, sort slots that do not read (the information call then fails).
    ASSERT_TRUE(store::currentImage()->db().exec(
        "UPDATE databases SET oid = oid + 4768 - " + std::to_string(first) + ", modified = 126807900600000000;"
        "UPDATE sortorders SET db = 4768; UPDATE databases SET size = 4294967295 WHERE oid = 4768;"
        "UPDATE databases SET modified = 2650467744000000000 WHERE oid = 4769;"
        "INSERT INTO sortorders VALUES(4769, 0, 0, 0), (4770, 1, 65567, 0);"));
  }
  ASSERT_EQ(run.Run("tap 40 34\n" + Properties("root") + "key Down\n" + Properties("known") +
                        "sip on\ndump \"$DIR/sip.txt\"\nsip off\nkey Enter\nkey Down\n" + Properties("later") +
                        "key Enter\nkey Down\n" + Properties("broken") + "key Enter\nkey Down\n" + Properties("plain") +
                        "key Enter\nrotate\nkey Home\nkey Down\n" + Properties("wide") + "key Enter\nclose",
                    "--screen 240x320").exitCode, 0);
  EXPECT_EQ(FindWindowIn(run.ReadDump("root.txt"), "Dialog"), nullptr);
  const Dump known = run.ReadDump("known.txt");
  for (const auto& [file, shown] : std::initializer_list<std::pair<const char*, std::string>>{
           {"known.txt", "Known|4660|0|4294967295|11/3/02 9:41 AM|0x12a0|CCC|\"8001\" \"String\" \"Descending \"|"
                         "\"8002\" \"String\" \"CaseInsensitive UnknownFirst\"|\"8003\" \"???\" \"\""},
           {"later.txt", "Later|7|0|0||0x12a1|"}, {"broken.txt", "||0|0|1/1/01 12:00 AM|0x12a2|"},
           {"plain.txt", "Plain|0|0|0|11/3/02 9:41 AM|0x12a3|CCC"}, {"wide.txt", Shown(known)}})
    EXPECT_EQ(Shown(run.ReadDump(file)), shown) << file;
  // The input panel takes 80 pixels from the list; the content no longer fits, and the dialog's
  // scroll bar narrows the fields and the list.
  const Dump sip = run.ReadDump("sip.txt");
  EXPECT_EQ(std::make_tuple(FindId(sip, 1012)->bottom, FindId(sip, 1001)->right, FindWindowIn(sip, "Dialog")->style),
            std::make_tuple(FindId(known, 1012)->bottom - 80, FindId(sip, 1012)->right,
                            FindWindowIn(known, "Dialog")->style | WS_VSCROLL));
  ASSERT_EQ(run.Run(Properties("square") + "key Enter\nclose", "--screen 240x240").exitCode, 0);
  // The tall layout has the sort orders below the fields, the wide one beside them.
  for (const auto& [file, tall] : {std::pair{"known.txt", true}, {"wide.txt", false}, {"square.txt", false}})
    EXPECT_EQ(FindId(run.ReadDump(file), 1012)->top > FindId(run.ReadDump(file), 1006)->bottom, tall) << file;
}

TEST(About, OpensFullScreenInBothOrientationsAndLeavesTheMainWindowAsItWas) {
  ProgramRun run(VANTOR_EXE);
  const std::string about = "menu \"Tools\" \"About Vantor...\"\ndump \"$DIR/about";
  ASSERT_EQ(run.Run("dump \"$DIR/before.txt\"\n" + about + "1.txt\"\nkey Enter\ndump \"$DIR/after.txt\"\nrotate\n" +
                    about + "2.txt\"\nkey Enter\nclose").exitCode, 0);
  EXPECT_EQ(run.Read("before.txt"), run.Read("after.txt"));
  // The notice keeps its margins to the right and bottom, the version line its place.
  for (const auto& [file, rects] : {std::pair{"about1.txt", "(0,26,240,294) (5,60,236,289) (45,39,149,52)"},
                                    {"about2.txt", "(0,26,320,214) (5,60,316,209) (45,39,149,52)"}}) {
    const Dump d = run.ReadDump(file);
    EXPECT_EQ(Rect(FindWindowIn(d, "Dialog", "About Vantor")) + " " + Rect(FindId(d, 1034)) + " " +
                  Rect(FindWindowIn(d, "static", "Vantor version 0.9")), rects);
  }
}

// A record as stored; a font first made from the system font's record
// carries over its character set and pitch.
std::string Record(LONG height, LONG weight, BYTE underline, const std::u16string& face, bool system = false) {
  LOGFONTW font = {height, 0, 0, 0, weight, 0, underline, 0, BYTE(system ? DEFAULT_CHARSET : 0), 0, 0, 0,
                   BYTE(system ? VARIABLE_PITCH | FF_SWISS : 0), {}};
  std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE), font.lfFaceName);
  return std::string(reinterpret_cast<const char*>(&font), sizeof(font));
}

// Writes the stored value when one is given, and returns it as it then is.
std::string Stored(const ProgramRun& run, const std::string* value = nullptr) {
  ImageBuilder open(run.Image());
  HKEY key = nullptr;
  if (value != nullptr) RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
  if (value != nullptr) RegSetValueExW(key, u"Font", 0, REG_BINARY, (const BYTE*)value->data(), DWORD(value->size()));
  if (value == nullptr && RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, 0, &key) != 0) return "no key";
  std::string bytes(256, '\0');
  DWORD size = DWORD(bytes.size()), type = 0;
  if (RegQueryValueExW(key, u"Font", nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) != 0) size = 0;
  RegCloseKey(key);
  return bytes.substr(0, size) + (size == 0 || type == REG_BINARY ? "" : " not binary");
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

// Each run starts on an empty device with the stored value of its row,
// opens the dialog, does the steps and closes the program.
TEST(FontDlg, OpensOnTheStoredFontWhateverItHoldsAndStoresOnlyWhatOkConfirms) {
  const std::string nine = Record(-12, FW_NORMAL, 1, u"Tahoma", true);
  const std::string ten = Record(-13, FW_NORMAL, 1, u"DejaVu Serif");
  const std::string twelve = Record(-16, FW_NORMAL, 0, u"");
  const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
      // stored before ("" none), the steps, the face and size shown, stored afterwards
      {"", "key Escape", "Tahoma/9", ""},  // the key is made, nothing stored
      {"", "press \"Underline\"\nscreenshot \"$DIR/2.png\"\nkey Enter", "Tahoma/9", nine},
      {nine, "key Tab\nkey Down\nkey Enter", "Tahoma/9", Record(-13, FW_NORMAL, 1, u"Tahoma", true)},
      {ten.substr(0, 91), "key Escape", "Tahoma/9", ten.substr(0, 91)},
      {ten + "x", "key Escape", "Tahoma/9", ten + "x"},
      {ten, "key Enter", "DejaVu Serif/10", ten},
      {Record(-16, FW_NORMAL, 0, u"Nonesuch"), "key Enter", "/12", twelve},
      {twelve, "key Enter", "/12", twelve},
      {Record(INT_MIN, INT_MAX, 0, std::u16string(32, u'Z')), "key Enter", "/", Record(0, FW_BOLD, 0, u"")},
  };
  std::vector<std::pair<int, int>> panes;  // ink in the tree and the list at start
  for (const auto& [before, steps, shown, after] : cases) {
    ProgramRun run(VANTOR_EXE);
    if (!before.empty()) Stored(run, &before);
    ASSERT_EQ(run.Run("dump \"$DIR/plain.txt\"\nscreenshot \"$DIR/0.png\"\n" + Properties("none") + kOptions +
                      "screenshot \"$DIR/1.png\"\n" + steps + "\nclose").exitCode, 0) << shown;
    const Dump d = run.ReadDump("font.txt");
    std::string sizes = TextOf(d, 1006) + "/" + TextOf(d, 1007) + ":";
    for (const std::string& item : FindId(d, 1007)->items) sizes += " " + item.substr(5, item.find(" data") - 5);
    EXPECT_EQ(sizes, std::string(shown) + R"(: "8" "9" "10" "11" "12" "14" "16" "18" "20" "22" "24" "26")");
    EXPECT_EQ(Stored(run), after) << shown;
    // Nothing is selected on an empty device: no properties open.
    EXPECT_EQ(FindWindowIn(run.ReadDump("none.txt"), "Dialog"), nullptr);
    panes.emplace_back(Inked(run, "0.png", FindId(run.ReadDump("plain.txt"), 100)),
                       Inked(run, "0.png", FindId(run.ReadDump("plain.txt"), 101)));
    // Underline redraws the preview underlined.
    if (!run.Read("2.png").empty()) {
      EXPECT_GT(Inked(run, "2.png", FindId(d, 1011)), Inked(run, "1.png", FindId(d, 1011)));
    }
  }
  // The stored underlined font is on both panes from the start.
  EXPECT_GT(panes[2].first, panes[0].first + 50);
  EXPECT_GT(panes[2].second, panes[0].second + 50);
}

// The panes get their default font back rather than a deleted one; the
// dialog's preview is rebuilt from the system font's record.
TEST(Fonts, ThatCannotBeMadeLeaveThePanesOnTheirDefaultFontAndThePreviewOnTheSystemFont) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  BrowserWnd window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 240, 268, u"main", WS_VISIBLE, 0, nullptr, nullptr));
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
  window.ApplyFont(font);
  HFONT copy = window.listFont;
  ASSERT_NE(copy, nullptr);
  for (HWND pane : {window.treeView, window.listView}) EXPECT_EQ(SendMessageW(pane, WM_GETFONT, 0, 0), LRESULT(copy));
  window.ApplyFont(nullptr);
  EXPECT_EQ(std::make_tuple(GetObjectType(copy), window.listFont), std::make_tuple(DWORD(0), HFONT(nullptr)));
  for (HWND pane : {window.treeView, window.listView}) EXPECT_EQ(SendMessageW(pane, WM_GETFONT, 0, 0), 0);

  LOGFONTW record = {};
  std::fill_n(record.lfFaceName, LF_FACESIZE, u'Q');  // unterminated: read within its field only
  std::vector<HGDIOBJ> taken;  // every GDI handle
  while (HGDIOBJ brush = CreateSolidBrush(0)) taken.push_back(brush);
  FontDlg dialog(9, record);
  for (HGDIOBJ brush : taken) DeleteObject(brush);
  EXPECT_EQ(dialog.PreviewFont(), nullptr);
  device::Device::instance().script().add([&] { PostMessageW(dialog.hwnd, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(dialog.RunModal(MAKEINTRESOURCEW(107), window.hwnd), IDCANCEL);
  LOGFONTW made = {};
  GetObjectW(dialog.PreviewFont(), sizeof(made), &made);
  EXPECT_EQ(std::make_pair(made.lfCharSet, made.lfPitchAndFamily),
            std::make_pair(BYTE(DEFAULT_CHARSET), BYTE(VARIABLE_PITCH | FF_SWISS)));
  DestroyWindow(window.hwnd);
  for (MSG quit; PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE);) {
  }
}

}  // namespace
