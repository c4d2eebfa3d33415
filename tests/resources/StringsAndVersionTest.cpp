// The resources the program looks up by number, its string table and its version.
#include <gtest/gtest.h>

#include <cstring>

#include "ResourceReader.h"
#include "resources/resource.h"

namespace resources_test {
namespace {

// Every other resource the program looks up is read by the other tests.
TEST(Module, TellsResourcesApartByTypeAndNumber) {
  EXPECT_FALSE(loadResource(RT_DIALOG, IDM_MAIN)) << "101 is a menu, not a dialog";
  EXPECT_FALSE(loadResource(RT_BITMAP, IDI_VANTOR)) << "106 is an icon, not a bitmap";
  EXPECT_FALSE(loadResource(RT_DIALOG, 103));
  EXPECT_NE(loadResource(RT_MENU, IDM_MAIN), loadResource(RT_RCDATA, IDM_MAIN));
}

TEST(StringTable, HoldsTheMenuBarTextsAndNothingBeside) {
  for (UINT id = IDS_TOOLS / 16 * 16; id < IDS_TOOLS / 16 * 16 + 16; ++id)
    EXPECT_EQ(loadString(id), id == IDS_TOOLS ? u"Tools" : id == IDS_VIEW ? u"View" : u"") << id;
}

TEST(Version, Says0Point96ForFileAndProductInUsEnglish) {
  auto bytes = loadResource(RT_VERSION, VS_VERSION_INFO);
  ASSERT_TRUE(bytes);
  auto version = parseVersion(*bytes);
  ASSERT_TRUE(version) << "malformed";
  EXPECT_EQ(version->key, u"VS_VERSION_INFO");
  ASSERT_EQ(version->value.size(), sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, version->value.data(), sizeof fixed);
  EXPECT_EQ(fixed.dwSignature, static_cast<DWORD>(VS_FFI_SIGNATURE));
  EXPECT_EQ(fixed.dwFileVersionMS, (0u << 16) | 96u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, (0u << 16) | 96u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS_WINCE));
  EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask & VS_FF_DEBUG, 0u) << "a release";

  const VersionNode* strings = version->child(u"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  const VersionNode* table = strings->child(u"040904B0");
  ASSERT_NE(table, nullptr) << "English (United States), Unicode";
  const std::pair<const char16_t*, const char16_t*> texts[] = {
      {u"FileVersion", u"0.96"}, {u"ProductVersion", u"0.96"}, {u"ProductName", u"Vantor"}};
  for (auto [name, text] : texts) {
    const VersionNode* value = table->child(name);
    ASSERT_NE(value, nullptr) << narrow(name);
    EXPECT_EQ(value->type, 1);
    EXPECT_EQ(value->text(), text) << narrow(name);
  }
  const VersionNode* variables = version->child(u"VarFileInfo");
  ASSERT_NE(variables, nullptr);
  const VersionNode* translation = variables->child(u"Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->value, (Bytes{0x09, 0x04, 0xB0, 0x04})) << "language 0x409, code page 1200";
}

}  // namespace
}  // namespace resources_test
