// The resources the program looks up by number, its string table and its version.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "ResourceReader.h"
#include "resources/resource.h"

namespace resources_test {
namespace {

TEST(StringTable, HoldsTheMenuBarTextsAndNothingBeside) {
  for (UINT id = IDS_TOOLS / 16 * 16; id < IDS_TOOLS / 16 * 16 + 16; ++id)
    EXPECT_EQ(loadString(id), id == IDS_TOOLS ? u"Tools" : id == IDS_VIEW ? u"View" : u"") << id;
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
      {u"VS_VERSION_INFO", u""},   {u"StringFileInfo", u""},      {u"040904B0", u""},
      {u"FileVersion", u"0.96"}, {u"ProductVersion", u"0.96"}, {u"ProductName", u"Vantor"},
      {u"VarFileInfo", u""},     {u"Translation", std::u16string(u"\x0409\x04B0", 2)}};
  for (const auto& [key, value] : texts) {
    const size_t k = words.find(key + u'\0');
    ASSERT_NE(k, std::u16string::npos) << narrow(key);
    if (value.empty()) continue;
    const size_t v = words.find(value, k + key.size());
    EXPECT_LE(v - k - key.size(), 2u) << narrow(key) << " is followed by another value";
  }
}

}  // namespace
}  // namespace resources_test
