// The gallery's tree window driven by a script: the stylus on a label and
// on a button, the keys, read back from window dumps and a screenshot.
#include <gtest/gtest.h>

#include "GalleryRun.h"
#include "display/Png.h"

namespace gallerytest {
namespace {

constexpr int kEventLineId = 2301;
constexpr int kTreeId = 2302;

std::string EventLine(const std::vector<DumpWindow>& windows) { return TextOf(windows, kEventLineId); }

// The tree's node lines, without their indentation.
std::vector<std::string> Nodes(const std::vector<DumpWindow>& windows) {
  std::vector<std::string> out;
  const DumpWindow* tree = FindId(windows, kTreeId);
  if (tree == nullptr) return out;
  for (const std::string& line : tree->items) out.push_back(line.substr(line.find_first_not_of(' ')));
  return out;
}

bool Has(const std::vector<std::string>& nodes, const std::string& line) {
  for (const std::string& n : nodes)
    if (n == line) return true;
  return false;
}

TEST(GalleryTree, StylusAndKeysSelectAndExpandNodesOfThreeLevels) {
  GalleryRun run;
  // Rows of 18 pixels from y = 44: "Databases", "Contacts Database",
  // "Appointments Database", "Tasks Database", "Inbox", "Registry". Labels of
  // the second level start at x = 55; their buttons sit around x = 28.
  const std::string script =
      "menu \"Controls\" \"Tree view...\"\n"
      "dump \"$DIR/open.txt\"\n"
      "tap 80 107\n"  // "Tasks Database"
      "dump \"$DIR/tapped.txt\"\n"
      "tap 28 71\n"  // the button of "Contacts Database"
      "dump \"$DIR/expanded.txt\"\n"
      "key Down\n"
      "key Left\n"
      "key Left\n"
      "dump \"$DIR/keys.txt\"\n"
      "screenshot \"$DIR/tree.png\"\n"
      "close\n"
      "menu \"Dialogs\" \"Close\"\n";
  const GalleryResult result = run.Run(script);
  ASSERT_EQ(result.exitCode, 0) << result.errors;

  auto open = ParseDump(run.Read("open.txt"));
  std::vector<std::string> nodes = Nodes(open);
  ASSERT_EQ(nodes.size(), 18u) << run.Read("open.txt");
  EXPECT_EQ(nodes[0], "node \"Databases\" data=0 expanded");
  EXPECT_EQ(nodes[1], "node \"Contacts Database\" data=1 selected");
  EXPECT_EQ(nodes[2], "node \"Sort: 0x4013 String\" data=2");
  EXPECT_EQ(EventLine(open), "18 nodes");
  const DumpWindow* tree = FindId(open, kTreeId);
  EXPECT_NE(tree->line.find(" focus"), std::string::npos);

  auto tapped = ParseDump(run.Read("tapped.txt"));
  EXPECT_EQ(EventLine(tapped), "Tasks Database selected by stylus");
  EXPECT_TRUE(Has(Nodes(tapped), "node \"Tasks Database\" data=8 selected"));

  auto expanded = ParseDump(run.Read("expanded.txt"));
  EXPECT_EQ(EventLine(expanded), "Contacts Database expanded");
  EXPECT_TRUE(Has(Nodes(expanded), "node \"Contacts Database\" data=1 expanded"));
  EXPECT_TRUE(Has(Nodes(expanded), "node \"Tasks Database\" data=8 selected"));

  // Down to "Inbox", Left to its parent, Left again closes it.
  auto keys = ParseDump(run.Read("keys.txt"));
  EXPECT_EQ(EventLine(keys), "Databases collapsed");
  EXPECT_TRUE(Has(Nodes(keys), "node \"Databases\" data=0 selected"));

  std::string error;
  auto shot = display::decodePng(run.Read("tree.png"), error);
  ASSERT_TRUE(shot) << error;
  // The selected root's label is highlighted (dark blue) at the top row.
  EXPECT_EQ(shot->pixel(40, 53) & 0x00FFFFFF, 0x000080u);
  // "Registry" now follows on the second row, not highlighted.
  EXPECT_EQ(shot->pixel(40, 64) & 0x00FFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace gallerytest
