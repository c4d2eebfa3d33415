// The resources the program looks up by number, its string table and its version.
#include <gtest/gtest.h>

#include <cstring>

#include "ResourceReader.h"
#include "resources/resource.h"

namespace resources_test {
namespace {

struct ResourceCase {
  LPCWSTR type;
  int id;
  const char* what;
};

TEST(Module, HoldsEveryResourceTheProgramLooksUp) {
  const ResourceCase cases[] = {
      {RT_GROUP_ICON, IDI_VANTOR, "icon"},
      {RT_MENU, IDM_MAIN, "menu"},
      {RT_RCDATA, IDM_MAIN, "menu bar"},
      {RT_BITMAP, IDB_MENUBAR_GREY, "grey button strip"},
      {RT_BITMAP, IDB_MENUBAR_COLOUR, "colour button strip"},
      {RT_DIALOG, IDD_DBPROPERTIES_WIDE, "wide properties dialog"},
      {RT_DIALOG, IDD_DBPROPERTIES_TALL, "tall properties dialog"},
      {RT_DIALOG, IDD_FONT, "font dialog"},
      {RT_DIALOG, IDD_ABOUT, "about dialog"},
      {RT_STRING, IDS_TOOLS / 16 + 1, "string block of the menu bar texts"},
      {RT_VERSION, VS_VERSION_INFO, "version"},
  };
  for (const ResourceCase& c : cases) {
    auto bytes = loadResource(c.type, c.id);
    ASSERT_TRUE(bytes) << c.what << " (" << c.id << ") is missing";
    EXPECT_FALSE(bytes->empty()) << c.what;
  }
}

TEST(Module, TellsResourcesApartByTypeAndNumber) {
  EXPECT_FALSE(loadResource(RT_DIALOG, IDM_MAIN)) << "101 is a menu, not a dialog";
  EXPECT_FALSE(loadResource(RT_BITMAP, IDI_VANTOR)) << "106 is an icon, not a bitmap";
  EXPECT_FALSE(loadResource(RT_DIALOG, 103));
  EXPECT_NE(loadResource(RT_MENU, IDM_MAIN), loadResource(RT_RCDATA, IDM_MAIN));
}

TEST(StringTable, HoldsTheMenuBarTexts) {
  EXPECT_EQ(loadString(IDS_TOOLS), u"Tools");
  EXPECT_EQ(loadString(IDS_VIEW), u"View");
}

TEST(StringTable, HasNoEntryBesideTheMenuBarTexts) {
  for (UINT id = IDS_TOOLS / 16 * 16; id < IDS_TOOLS / 16 * 16 + 16; ++id)
    if (id != IDS_TOOLS && id != IDS_VIEW) {
      EXPECT_EQ(loadString(id), u"") << id;
    }
}

VersionNode loadVersion() {
  auto bytes = loadResource(RT_VERSION, VS_VERSION_INFO);
  if (!bytes) ADD_FAILURE() << "no version resource";
  auto version = bytes ? parseVersion(*bytes) : std::nullopt;
  if (bytes && !version) ADD_FAILURE() << "version resource is malformed";
  return version.value_or(VersionNode{});
}

TEST(Version, FixedPartSays0Point96ForFileAndProduct) {
  VersionNode version = loadVersion();
  EXPECT_EQ(version.key, u"VS_VERSION_INFO");
  ASSERT_EQ(version.value.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, version.value.data(), sizeof fixed);
  EXPECT_EQ(fixed.dwSignature, static_cast<DWORD>(VS_FFI_SIGNATURE));
  EXPECT_EQ(fixed.dwFileVersionMS, (0u << 16) | 96u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, (0u << 16) | 96u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS_WINCE));
  EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask & VS_FF_DEBUG, 0u) << "a release";
}

TEST(Version, TextsSay0Point96InUsEnglish) {
  VersionNode version = loadVersion();
  const VersionNode* strings = version.child(u"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  const VersionNode* table = strings->child(u"040904B0");
  ASSERT_NE(table, nullptr) << "English (United States), Unicode";
  for (const char16_t* name : {u"FileVersion", u"ProductVersion"}) {
    const VersionNode* value = table->child(name);
    ASSERT_NE(value, nullptr) << narrow(name);
    EXPECT_EQ(value->type, 1);
    EXPECT_EQ(value->text(), u"0.96") << narrow(name);
  }
  ASSERT_NE(table->child(u"ProductName"), nullptr);
  EXPECT_EQ(table->child(u"ProductName")->text(), u"Vantor");

  const VersionNode* variables = version.child(u"VarFileInfo");
  ASSERT_NE(variables, nullptr);
  const VersionNode* translation = variables->child(u"Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->value, (Bytes{0x09, 0x04, 0xB0, 0x04})) << "language 0x409, code page 1200";
}

}  // namespace
}  // namespace resources_test
