// The dialog templates as the dialog manager reads them from the module.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "ResourceReader.h"
#include "resources/resource.h"
#include "user/DialogTemplate.h"

namespace resources_test {
namespace {

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
}  // namespace resources_test
