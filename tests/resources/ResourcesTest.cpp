// The program's resources as the device reads them from this module: the menu
// behind the menu bar, the menu bar resource and its texts, the version, the
// icon and the menu bar strips against the pixel maps they are drawn from, and
// the dialog templates. The platform's own readers decode them.
#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "kernel/Dib.h"
#include "kernel/Icons.h"
#include "resources/resource.h"
#include "shell/MenuBarResource.h"
#include "user/DialogTemplate.h"
#include "user/MenuTemplate.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The bytes of resource id of type in this module; nullopt when missing.
std::optional<Bytes> loadResource(LPCWSTR type, int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  const auto* data = found ? static_cast<const uint8_t*>(LockResource(LoadResource(module, found))) : nullptr;
  if (data == nullptr) return std::nullopt;
  return Bytes(data, data + SizeofResource(module, found));
}

// For messages: the texts here are ASCII.
std::string narrow(const std::u16string& text) {
  std::string result;
  for (char16_t unit : text) result.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return result;
}

constexpr size_t kMenuBarHeader = 4;
constexpr size_t kMenuBarButton = 14;
constexpr size_t kReservedWord = 10;

// Items start enabled and unchecked. A level ended early shows as its
// remaining items moved up a level; one never ended makes the menu run past
// its end.
std::string describe(const user::MenuTemplateItem& item) {
  std::string text = item.popup()       ? "popup " + narrow(item.text)
                     : item.separator() ? "separator"
                                        : narrow(item.text) + " = " + std::to_string(item.id);
  if (item.options & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) text += " (not plain)";
  return text;
}

// The menu, then the menu bar over it: two drop-downs and three image buttons,
// then the bar's texts alone in their block of the string table.
TEST(MenuBar, DropDownsOfTheMainMenuAndImageButtonsWithTheirTextsAloneInTheirBlock) {
  auto bytes = loadResource(RT_MENU, IDM_MAIN);
  ASSERT_TRUE(bytes) << "menu " << IDM_MAIN << " is missing";
  auto menu = user::parseMenuTemplate(bytes->data(), bytes->size());
  ASSERT_TRUE(menu) << "menu " << IDM_MAIN << " runs past its end";
  std::vector<std::vector<std::string>> actual;
  for (const user::MenuTemplateItem& popup : *menu) {
    actual.push_back({describe(popup)});
    for (const user::MenuTemplateItem& item : popup.children) actual.back().push_back(describe(item));
  }
  EXPECT_EQ(actual, (std::vector<std::vector<std::string>>{
                        {"popup Tools", "Delete Database = 40002", "Delete Record = 40003", "separator",
                         "Database Properties... = 40004", "About Vantor... = 40007", "separator", "Close = 40001"},
                        {"popup View", "Refresh = 40005", "Options... = 40006"}}));

  bytes = loadResource(RT_RCDATA, IDM_MAIN);
  ASSERT_TRUE(bytes) << "menu bar " << IDM_MAIN << " is missing";
  auto bar = shell::parseMenuBarResource(bytes->data(), bytes->size());
  ASSERT_TRUE(bar) << "shorter than the buttons it counts";
  EXPECT_EQ(bar->menuId, IDM_MAIN);
  // The shell reads only the buttons counted and passes over each one's
  // reserved word, so neither may hide anything.
  EXPECT_EQ(bytes->size(), kMenuBarHeader + kMenuBarButton * bar->buttons.size())
      << "holds other than the buttons it counts";
  const BYTE dropDown = TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE;
  // Image, command, state, style, string, popup (NOMENU reads as -1), reserved word.
  using Button = std::tuple<int, int, int, int, int, int, int>;
  const Button expected[] = {
      {I_IMAGENONE, IDM_MENUBAR_TOOLS, TBSTATE_ENABLED, dropDown, IDS_TOOLS, 0, 0},
      {I_IMAGENONE, IDM_MENUBAR_VIEW, TBSTATE_ENABLED, dropDown, IDS_VIEW, 1, 0},
      {0, IDM_DATABASE_PROPERTIES, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1, 0},
      {1, IDM_DELETE_RECORD, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1, 0},
      {2, IDM_DELETE_DATABASE, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, -1, 0},
  };
  ASSERT_EQ(bar->buttons.size(), std::size(expected));
  for (size_t i = 0; i < bar->buttons.size(); ++i) {
    const shell::MenuBarResourceButton& b = bar->buttons[i];
    const size_t reserved = kMenuBarHeader + kMenuBarButton * i + kReservedWord;
    EXPECT_EQ(Button(b.image, b.command, b.state, b.style, b.stringId, b.popup,
                     (*bytes)[reserved] | (*bytes)[reserved + 1]),
              expected[i])
        << "button " << i;
  }
  WCHAR text[64];
  for (UINT id = IDS_TOOLS / 16 * 16; id < IDS_TOOLS / 16 * 16 + 16; ++id) {
    const auto length = LoadStringW(GetModuleHandleW(nullptr), id, text, 64);
    EXPECT_EQ(std::u16string(text, length > 0 ? size_t(length) : 0),
              id == IDS_TOOLS ? u"Tools" : id == IDS_VIEW ? u"View" : u"") << id;
  }
}

// Nothing on the device reads the version: its fixed part is found by its
// signature and its texts as UTF-16 words, each value right after its key.
TEST(Version, Says0Point96ForFileAndProductInUsEnglish) {
  auto bytes = loadResource(RT_VERSION, VS_VERSION_INFO);
  ASSERT_TRUE(bytes);
  const uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE};
  auto at = std::search(bytes->begin(), bytes->end(), std::begin(signature), std::end(signature));
  ASSERT_GE(bytes->end() - at, static_cast<ptrdiff_t>(sizeof(VS_FIXEDFILEINFO)));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, &*at, sizeof fixed);
  // File and product version 0.96.0.0 of an application for Windows CE.
  EXPECT_EQ(std::vector<DWORD>({fixed.dwFileVersionMS, fixed.dwFileVersionLS, fixed.dwProductVersionMS,
                                fixed.dwProductVersionLS, fixed.dwFileType, fixed.dwFileOS}),
            std::vector<DWORD>({96, 0, 96, 0, VFT_APP, VOS_WINCE}));
  EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask & VS_FF_DEBUG, 0u) << "a release";

  std::u16string words(bytes->size() / 2, u'\0');
  std::memcpy(words.data(), bytes->data(), words.size() * 2);
  const std::pair<std::u16string, std::u16string> texts[] = {
      {u"VS_VERSION_INFO", u""}, {u"StringFileInfo", u""},      {u"040904B0", u""},
      {u"FileVersion", u"0.96"}, {u"ProductVersion", u"0.96"}, {u"ProductName", u"Vantor"},
      {u"VarFileInfo", u""},     {u"Translation", std::u16string(u"\x0409\x04B0", 2)}};
  for (const auto& [key, value] : texts) {
    const size_t k = words.find(key + u'\0');
    ASSERT_NE(k, std::u16string::npos) << narrow(key);
    EXPECT_LE(words.find(value, k + key.size()) - k - key.size(), 2u) << narrow(key) << " is followed by another value";
  }
}

// The maps' legend: the 16-colour palette and the four greys, as 0xRRGGBB.
const std::map<char, uint32_t> kLegend = {
    {'K', 0x000000}, {'r', 0x800000}, {'g', 0x008000}, {'o', 0x808000}, {'n', 0x000080}, {'p', 0x800080},
    {'t', 0x008080}, {'s', 0xC0C0C0}, {'d', 0x808080}, {'R', 0xFF0000}, {'G', 0x00FF00}, {'Y', 0xFFFF00},
    {'B', 0x0000FF}, {'M', 0xFF00FF}, {'C', 0x00FFFF}, {'W', 0xFFFFFF},
};

// A decoded image (ARGB, top row first, alpha 0 where an icon's mask lets the
// background through) in the maps' letters: '.' clear, '?' outside the legend.
std::vector<std::string> inLetters(int width, const std::vector<uint32_t>& pixels) {
  std::vector<std::string> rows;
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (i % width == 0) rows.emplace_back();
    char letter = pixels[i] >> 24 == 0 ? '.' : '?';
    for (const auto& [name, rgb] : kLegend)
      if (letter == '?' && (pixels[i] & 0xFFFFFF) == rgb) letter = name;
    rows.back() += letter;
  }
  return rows;
}

// A map's rows; in the menu bar strips '.' is the light grey of the button face.
std::vector<std::string> mapRows(const std::string& mapName, bool isIcon) {
  std::ifstream file(std::string(VANTOR_SOURCE_DIR) + "/resources/art/" + mapName);
  EXPECT_TRUE(file.good()) << mapName;
  std::vector<std::string> rows;
  for (std::string line; std::getline(file, line);) {
    std::erase(line, ' ');
    if (!isIcon) std::replace(line.begin(), line.end(), '.', 's');
    if (!line.empty() && line[0] != '#') rows.push_back(line);
  }
  return rows;
}

TEST(Images, TheIconAt16And32PixelsAndTheMenuBarStripsAreTheDrawnMaps) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(std::to_string(size) + " x " + std::to_string(size));
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VANTOR), IMAGE_ICON, size, size, 0);
    ASSERT_NE(icon, nullptr) << "error " << GetLastError();
    const kernel::Icon* loaded = kernel::iconFromHandle(static_cast<HICON>(icon));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(inLetters(loaded->width, loaded->pixels), mapRows(size == 16 ? "icon16.txt" : "icon32.txt", true));
    EXPECT_TRUE(DestroyIcon(static_cast<HICON>(icon)));
  }
  // The menu bar strips: rows of sixteen-pixel buttons at their depths.
  const std::tuple<int, int, const char*> strips[] = {{IDB_MENUBAR_GREY, 2, "menubar_grey.txt"},
                                                           {IDB_MENUBAR_COLOUR, 4, "menubar_colour.txt"}};
  for (auto [id, bitCount, map] : strips) {
    SCOPED_TRACE("bitmap " + std::to_string(id));
    auto bytes = loadResource(RT_BITMAP, id);
    kernel::DibImage dib;
    ASSERT_TRUE(bytes && kernel::decodeDib(bytes->data(), bytes->size(), dib)) << "missing or incomplete";
    EXPECT_EQ(std::pair(dib.bitsPerPixel, dib.width), std::pair(bitCount, 16 * MENUBAR_IMAGE_COUNT));
    EXPECT_EQ(inLetters(dib.width, dib.pixels), mapRows(map, false));
  }
}

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr uint32_t kCentred = kChild | WS_GROUP | SS_CENTER;
constexpr uint32_t kIcon = kChild | SS_ICON;
constexpr uint32_t kSortOrderList = kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_NOSORTHEADER;
constexpr uint32_t kComboList = kChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr uint32_t kCheckBox = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;

// The class (the predefined ones as the dialog manager names them), id, text
// ("#106" for an icon named by number), place and size, style.
using Control = std::tuple<std::string, int, std::string, int, int, int, int, uint32_t>;

struct DialogCase { int id; const char* caption; int cx, cy; std::vector<Control> controls; };

std::vector<Control> propertiesControls(int nameX, int nameY, int valueX, Control list) {
  return {
      {"static", IDC_STATIC, "#106", 4, 4, 20, 20, kIcon},
      {"static", IDC_DB_NAME, "", nameX, nameY, 76, 8, kLabel},
      {"static", IDC_STATIC, "Type:", 4, 27, 19, 8, kLabel},
      {"static", IDC_DB_TYPE, "", valueX, 27, 66, 8, kLabel},
      {"static", IDC_STATIC, "Records:", 4, 38, 30, 8, kLabel},
      {"static", IDC_DB_RECORDS, "", valueX, 38, 66, 8, kLabel},
      {"static", IDC_STATIC, "Size:", 4, 49, 16, 8, kLabel},
      {"static", IDC_DB_SIZE, "", valueX, 49, 66, 8, kLabel},
      {"static", IDC_STATIC, "Modified:", 4, 60, 30, 8, kLabel},
      {"static", IDC_DB_MODIFIED, "", valueX, 60, 66, 8, kLabel},
      {"static", IDC_STATIC, "OID:", 4, 71, 16, 8, kLabel},
      {"static", IDC_DB_OID, "", valueX, 71, 66, 8, kLabel},
      list,
  };
}

const DialogCase kDialogs[] = {
    {IDD_DBPROPERTIES_WIDE, "Database Properties", 253, 82,
     propertiesControls(35, 9, 45, {"SysListView32", IDC_DB_SORTORDERS, "", 120, 4, 129, 75, kSortOrderList})},
    {IDD_DBPROPERTIES_TALL, "Database Properties", 122, 124,
     propertiesControls(42, 10, 52, {"SysListView32", IDC_DB_SORTORDERS, "", 4, 83, 114, 37, kSortOrderList})},
    {IDD_FONT, "Font", 139, 84,
     {
         {"static", IDC_STATIC, "Font:", 4, 3, 17, 8, kLabel},
         {"combobox", IDC_FONT_FACE, "", 4, 16, 77, 53, kComboList | CBS_SORT},
         {"static", IDC_STATIC, "Size:", 88, 3, 16, 8, kLabel},
         {"combobox", IDC_FONT_SIZE, "", 88, 16, 33, 53, kComboList},
         {"static", IDC_STATIC, "Preview:", 4, 32, 28, 8, kLabel},
         {"static", IDC_FONT_PREVIEW, "AaBbCcYyZz", 4, 44, 77, 36, kCentred},
         {"button", IDC_FONT_BOLD, "Bold", 89, 44, 30, 10, kCheckBox},
         {"button", IDC_FONT_ITALIC, "Italic", 89, 55, 31, 10, kCheckBox},
         {"button", IDC_FONT_UNDERLINE, "Underline", 89, 66, 42, 10, kCheckBox},
         {"button", IDC_STATIC, "Style:", 86, 32, 49, 48, kChild | BS_GROUPBOX},
     }},
    {IDD_ABOUT, "About Vantor", 117, 113,
     {
         {"static", IDC_STATIC, "Vantor version 0.9", 30, 8, 69, 8, kCentred},
         {"static", IDC_ABOUT_NOTICE, "(notice)", 3, 21, 111, 89, kCentred},
         {"static", IDC_STATIC, "#106", 5, 2, 21, 20, kIcon},
         {"static", IDC_STATIC, "", 3, 67, 111, 40, kLabel},
     }},
};

// A predefined class by its name, any other number as "#N".
std::string nameOf(const user::TemplateName& field, bool isClass = false) {
  const char16_t* predefined = isClass && field.isOrdinal ? user::predefinedClassName(field.ordinal) : nullptr;
  return predefined ? narrow(predefined) : field.isOrdinal ? "#" + std::to_string(field.ordinal) : narrow(field.text);
}

// The author and employer, then a blank line, then the terms.
void expectNotice(const std::string& notice) {
  EXPECT_TRUE(std::regex_match(notice, std::regex("[^\n]+\n[^\n]*@[^\n]*(\n[^\n]+){3}\n\n[^\n]+"))) << notice;
  for (const char* term : {"free of charge", "All rights reserved", "payment is prohibited"})
    EXPECT_NE(notice.find(term, notice.rfind('\n')), std::string::npos) << term;
}

TEST(DialogTemplate, EachIsAPopupInTahoma8HoldingItsControlsInOrder) {
  for (const DialogCase& expected : kDialogs) {
    SCOPED_TRACE("template " + std::to_string(expected.id));
    auto bytes = loadResource(RT_DIALOG, expected.id);
    auto parsed = bytes ? user::parseDialogTemplate(bytes->data(), bytes->size()) : std::nullopt;
    ASSERT_TRUE(parsed) << "missing or malformed";
    const user::DialogTemplate& dialog = *parsed;
    // A DIALOG (not DIALOGEX) in Tahoma 8, without menu, of the dialog manager's class.
    user::DialogFontTemplate font = dialog.font.value_or(user::DialogFontTemplate{});
    EXPECT_EQ(std::tuple(dialog.extended, DWORD(dialog.style), DWORD(dialog.exStyle), narrow(dialog.title),
                         int(font.pointSize), narrow(font.face), dialog.menu.empty(), dialog.className.empty()),
              std::tuple(false, DWORD(WS_POPUP | WS_CAPTION | DS_SETFONT), DWORD(WS_EX_CAPTIONOKBTN),
                         std::string(expected.caption), 8, std::string("Tahoma"), true, true));
    EXPECT_EQ(std::vector<int>({dialog.x, dialog.y, dialog.cx, dialog.cy}),
              std::vector<int>({0, 0, expected.cx, expected.cy}));
    std::vector<Control> actual;
    for (const user::DialogItemTemplate& item : dialog.items) {
      std::string text = nameOf(item.title);
      if (item.id == IDC_ABOUT_NOTICE) {
        expectNotice(text);
        text = "(notice)";
      }
      actual.emplace_back(nameOf(item.className, true), static_cast<int16_t>(item.id), text, item.x, item.y, item.cx,
                          item.cy, item.style);
      EXPECT_EQ(item.exStyle, 0u) << nameOf(item.className, true) << " " << item.id;
    }
    EXPECT_EQ(actual, expected.controls);
  }
}

}  // namespace
