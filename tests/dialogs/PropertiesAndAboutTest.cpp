// The properties and About dialogs of the real program on a headless device,
// read from dumps.
#include <gtest/gtest.h>

#include "harness/ImageBuilder.h"
#include "harness/ProgramRun.h"
#include "store/Session.h"

using namespace harness;

namespace {

// The six fields, then the sort-order list: its column count and rows.
std::string Shown(const Dump& d) {
  std::string shown;
  for (int id : {1005, 1001, 1002, 1003, 1004, 1006}) shown += TextOf(d, id) + "|";
  const DumpWindow* list = FindId(d, 1012);
  if (list == nullptr) return shown + "no list";
  shown += std::to_string(std::count_if(list->items.begin(), list->items.end(),
                                        [](const std::string& item) { return item.rfind("column", 0) == 0; }));
  for (const std::string& item : list->items)
    if (item.rfind("row", 0) == 0) shown += "|" + item.substr(item.find("cells=") + 6);
  return shown;
}

std::string Hex(CEOID oid) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%x", unsigned(oid));
  return text;
}

// The tall layout has the list below the fields, the wide one beside them.
bool Tall(const Dump& d) { return FindId(d, 1012) != nullptr && FindId(d, 1012)->top > FindId(d, 1006)->bottom; }

TEST(DbProperties, ShowTheSelectedDatabaseInTheLayoutOfTheScreen) {
  ProgramRun run(VANTOR_EXE);
  CEOID later = 0;
  CEOID broken = 0;
  {
    ImageBuilder b(run.Image());
    const CEOID known = b.Database(u"Known", 0x1234, {{0x8001001F, 3}, {0x8002001F, 4}, {0x8003000B, 0}});
    later = b.Database(u"Later", 7);
    broken = b.Database(u"Broken");
    // What the store's calls refuse to make: a huge size, a time past the
    // year 9999, a sort order on identifier 0, and sort slots that do not
    // read (the information call then fails).
    const std::string edits[] = {
        "UPDATE databases SET oid = 4768, size = 4294967295, modified = 126807900600000000 WHERE oid = " +
            std::to_string(known),
        "UPDATE sortorders SET db = 4768 WHERE db = " + std::to_string(known),
        "UPDATE databases SET modified = 2650467744000000000 WHERE oid = " + std::to_string(later),
        "INSERT INTO sortorders VALUES(" + std::to_string(later) + ", 0, 0, 0)",
        "INSERT INTO sortorders VALUES(" + std::to_string(broken) + ", 1, 65567, 0)"};
    for (const std::string& edit : edits) ASSERT_TRUE(store::currentImage()->db().exec(edit)) << edit;
  }
  const std::string open = "\nmenu \"Tools\" \"Database Properties...\"\ndump \"$DIR/";
  ASSERT_EQ(run.Run("tap 40 34" + open + "root.txt\"\nkey Down" + open + "known.txt\"\nsip on\ndump \"$DIR/sip.txt\"\n"
                    "sip off\nkey Enter\nkey Down" + open + "later.txt\"\nkey Enter\nkey Down" + open +
                    "broken.txt\"\nkey Enter\nrotate\nkey Up\nkey Up" + open + "wide.txt\"\nkey Enter\nclose",
                    "--screen 240x320").exitCode, 0);
  EXPECT_EQ(FindWindowIn(run.ReadDump("root.txt"), "Dialog"), nullptr);
  const std::pair<const char*, std::string> cases[] = {
      {"known.txt", "Known|4660|0|4294967295|11/3/02 9:41 AM|0x12a0|3|\"8001\" \"String\" \"Descending CaseInsensitive \""
                    "|\"8002\" \"String\" \"UnknownFirst\"|\"8003\" \"???\" \"\""},
      {"later.txt", "Later|7|0|0||" + Hex(later) + "|0"},
      {"broken.txt", "||0|0|1/1/01 12:00 AM|" + Hex(broken) + "|0"},
      {"wide.txt", Shown(run.ReadDump("known.txt"))}};
  for (const auto& [file, expected] : cases) EXPECT_EQ(Shown(run.ReadDump(file)), expected) << file;

  // The input panel takes 80 pixels from the list, and the content no longer
  // fits: the dialog gets its scroll bar.
  const Dump full = run.ReadDump("known.txt");
  const Dump sip = run.ReadDump("sip.txt");
  EXPECT_EQ(FindId(sip, 1012)->bottom, FindId(full, 1012)->bottom - 80);
  EXPECT_EQ(FindId(sip, 1012)->right, FindId(sip, 1001)->right);
  EXPECT_EQ(FindWindowIn(full, "Dialog")->style & WS_VSCROLL, 0u);
  EXPECT_NE(FindWindowIn(sip, "Dialog")->style & WS_VSCROLL, 0u);
  EXPECT_TRUE(Tall(full));
  EXPECT_FALSE(Tall(run.ReadDump("wide.txt")));
  ASSERT_EQ(run.Run(open.substr(1) + "square.txt\"\nkey Enter\nclose", "--screen 240x240").exitCode, 0);
  EXPECT_FALSE(Tall(run.ReadDump("square.txt")));
}

TEST(About, OpensFullScreenInBothOrientationsAndLeavesTheMainWindowAsItWas) {
  ProgramRun run(VANTOR_EXE);
  const std::string about = "menu \"Tools\" \"About Vantor...\"\ndump \"$DIR/about";
  ASSERT_EQ(run.Run("dump \"$DIR/before.txt\"\n" + about + "1.txt\"\nkey Enter\ndump \"$DIR/after.txt\"\nrotate\n" +
                    about + "2.txt\"\nkey Enter\nclose").exitCode, 0);
  EXPECT_EQ(run.Read("before.txt"), run.Read("after.txt"));
  // Full screen each time; the notice keeps its margins to the dialog's
  // right and bottom edges, the version line its place.
  std::vector<std::vector<int>> seen;
  for (const char* file : {"about1.txt", "about2.txt"}) {
    const Dump d = run.ReadDump(file);
    const DumpWindow* dialog = FindWindowIn(d, "Dialog", "About Vantor");
    const DumpWindow* notice = FindId(d, 1034);
    const DumpWindow* version = FindWindowIn(d, "static", "Vantor version 0.9");
    ASSERT_TRUE(dialog && notice && version) << file;
    seen.push_back({dialog->left, dialog->top, dialog->right - dialog->left, dialog->bottom - dialog->top,
                    dialog->right - notice->right, dialog->bottom - notice->bottom, version->left, version->top});
  }
  EXPECT_EQ(seen[0], std::vector<int>({0, 26, 240, 268, seen[0][4], seen[0][5], seen[0][6], seen[0][7]}));
  EXPECT_EQ(seen[1], std::vector<int>({0, 26, 320, 188, seen[0][4], seen[0][5], seen[0][6], seen[0][7]}));
}

}  // namespace
