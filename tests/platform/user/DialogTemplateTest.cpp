// Reading dialog templates: both formats as the resource compiler writes
// them, and corrupt templates refused whole.
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "dialog_templates.h"
#include "user/DialogTemplate.h"

namespace usertest {
namespace {

std::optional<user::DialogTemplate> resourceTemplate(int id) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (!resource) return std::nullopt;
  const void* bytes = LockResource(LoadResource(nullptr, resource));
  return user::parseDialogTemplate(bytes, SizeofResource(nullptr, resource));
}

// A DIALOG template with a caption, a font and two controls.
TemplateBytes smallTemplate() {
  TemplateBytes t;
  t.header(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 2, 1, 2, 100, 50).word(0).word(0).text(u"Small");
  t.word(8).text(u"Tahoma");
  t.item(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5, 40, 14, IDOK, 0x0080, u"OK");
  t.item(WS_CHILD | WS_VISIBLE, 5, 25, 40, 8, 0xFFFF, 0x0082, u"Label");
  return t;
}

TEST(DialogTemplateTest, ReadsTheResourceCompilersDialogFormat) {
  auto t = resourceTemplate(IDD_TEST_LAYOUT);
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->extended);
  EXPECT_EQ(t->style & (WS_POPUP | WS_CAPTION | DS_SETFONT), DWORD(WS_POPUP | WS_CAPTION | DS_SETFONT));
  EXPECT_EQ(t->exStyle, DWORD(WS_EX_CAPTIONOKBTN));
  EXPECT_EQ(std::vector<int>({t->x, t->y, t->cx, t->cy}), std::vector<int>({10, 6, 100, 100}));
  EXPECT_TRUE(t->menu.empty() && t->className.empty());
  EXPECT_EQ(t->title, u"Layout");
  ASSERT_TRUE(t->font);
  EXPECT_EQ(t->font->pointSize, 8);
  EXPECT_EQ(t->font->face, u"Tahoma");
  ASSERT_EQ(t->items.size(), 10u);

  const user::DialogItemTemplate& icon = t->items[0];
  EXPECT_TRUE(icon.className.isOrdinal && icon.title.isOrdinal);
  EXPECT_EQ(icon.className.ordinal, 0x0082);
  EXPECT_EQ(icon.title.ordinal, IDI_TEST_ICON);
  EXPECT_EQ(icon.id, 0xFFFFu);
  const user::DialogItemTemplate& notify = t->items[2];
  EXPECT_EQ(notify.title.text, u"Tap me");
  EXPECT_TRUE(notify.style & SS_NOTIFY);
  EXPECT_EQ(std::vector<int>({notify.x, notify.y, notify.cx, notify.cy}), std::vector<int>({30, 14, 31, 9}));
  const user::DialogItemTemplate& byName = t->items[7];
  EXPECT_FALSE(byName.className.isOrdinal);
  EXPECT_EQ(byName.className.text, u"Recorder");
  EXPECT_EQ(byName.id, 1099u);
  EXPECT_TRUE(byName.creationData.empty());
}

TEST(DialogTemplateTest, ReadsTheExtendedFormatWithWeightItalicHelpAndWideIds) {
  auto t = resourceTemplate(IDD_TEST_EXTENDED);
  ASSERT_TRUE(t);
  EXPECT_TRUE(t->extended);
  EXPECT_TRUE(t->style & DS_CENTER);
  ASSERT_TRUE(t->font);
  EXPECT_EQ(t->font->pointSize, 9);
  EXPECT_EQ(t->font->weight, 700);
  EXPECT_TRUE(t->font->italic);
  ASSERT_EQ(t->items.size(), 2u);
  EXPECT_EQ(t->items[0].id, 70000u);
  EXPECT_EQ(t->items[0].helpId, 77u);
  EXPECT_EQ(t->items[0].exStyle, DWORD(WS_EX_STATICEDGE));
  EXPECT_EQ(t->items[0].className.text, u"button");
  EXPECT_EQ(t->items[1].title.text, u"Label");
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

TEST(DialogTemplateTest, EveryTruncationOfATemplateIsRefused) {
  TemplateBytes t = smallTemplate();
  std::vector<uint8_t> bytes(t.data(), t.data() + t.size());
  ASSERT_TRUE(user::parseDialogTemplate(bytes.data(), bytes.size()));
  for (size_t n = 0; n < bytes.size(); ++n) {
    // An exact-size copy: reading past it would be caught by the sanitizer.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_FALSE(user::parseDialogTemplate(cut.data(), cut.size())) << "cut at " << n;
  }
  EXPECT_FALSE(user::parseDialogTemplate(nullptr, 100));
}

TEST(DialogTemplateTest, CorruptCountsAndTextsAreRefused) {
  auto bare = [](uint32_t style, uint16_t count) {
    TemplateBytes t;
    return t.header(style, 0, count, 0, 0, 10, 10);
  };
  const std::pair<const char*, TemplateBytes> cases[] = {
      {"more items than bytes", bare(WS_POPUP, 3).word(0).word(0).word(0).item(WS_CHILD, 0, 0, 1, 1, 1, 0x0080, u"one")},
      {"an item count no dialog has", bare(WS_POPUP, 0xFFFF).word(0).word(0).word(0)},
      {"title without its terminator", bare(WS_POPUP, 0).word(0).word(0).word(u'A').word(u'B')},
      {"font without its face", bare(WS_POPUP | DS_SETFONT, 0).word(0).word(0).word(0).word(8)},
      {"creation data longer than the template",
       bare(WS_POPUP, 1).word(0).word(0).word(0).align().dword(WS_CHILD).dword(0).word(0).word(0).word(5).word(5).word(7)
           .ordinal(0x0082).word(0).word(200).word(1)},
      {"menu ordinal cut off", bare(WS_POPUP, 0).word(0xFFFF)},
  };
  for (const auto& [what, bytes] : cases) EXPECT_FALSE(user::parseDialogTemplate(bytes.data(), bytes.size())) << what;
}

}  // namespace
}  // namespace usertest
