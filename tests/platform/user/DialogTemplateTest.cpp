// Reading dialog templates: both formats as the resource compiler writes
// them, and corrupt templates refused whole.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "dialog_templates.h"
#include "user/DialogTemplate.h"

namespace usertest {
namespace {

// The resource compiler's bytes of a template.
std::vector<uint8_t> resourceBytes(int id) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
  auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, resource)));
  return {bytes, bytes + SizeofResource(nullptr, resource)};
}

TEST(DialogTemplateTest, CreationDataKeepsItsSizeWordInTheOldFormatOnly) {
  TemplateBytes old;
  old.header(WS_POPUP, 0, 1, 0, 0, 10, 10).word(0).word(0).word(0);
  old.align().dword(WS_CHILD).dword(0).word(0).word(0).word(5).word(5).word(7).ordinal(0x0082).word(0);
  old.word(4).dword(0xA1B2C3D4);
  auto a = user::parseDialogTemplate(old.data(), old.size());
  ASSERT_TRUE(a);
  EXPECT_EQ(a->items[0].creationData, (std::vector<uint8_t>{4, 0, 0xD4, 0xC3, 0xB2, 0xA1}));

  TemplateBytes ex;
  ex.word(1).word(0xFFFF).dword(0).dword(0).dword(WS_POPUP).word(1).word(0).word(0).word(10).word(10);
  ex.word(0).word(0).word(0);
  ex.align().dword(0).dword(0).dword(WS_CHILD).word(0).word(0).word(5).word(5).dword(7).ordinal(0x0082).word(0);
  ex.word(2).word(0xBEEF);
  auto b = user::parseDialogTemplate(ex.data(), ex.size());
  ASSERT_TRUE(b);
  EXPECT_TRUE(b->extended);
  EXPECT_EQ(b->items[0].creationData, (std::vector<uint8_t>{0xEF, 0xBE}));
}

// What the templates hold is checked on the dialogs made from them (DialogBuildTest).
TEST(DialogTemplateTest, EveryTruncationOfATemplateInEitherFormatIsRefused) {
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
}

TEST(DialogTemplateTest, CorruptCountsAndTextsAreRefused) {
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
