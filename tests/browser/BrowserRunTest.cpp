// The real program on images built for the test, driven by scripts as a
// person would drive it: what the tree, the lists and the panes show, and
// what deleting a database leaves in the image.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "RunSupport.h"

using harness::TextOf;

namespace browsertest {
namespace {

// The panes of the main window in a dump.
std::string Panes(const Dump& dump) {
  return Rect(FindId(dump, kTreeId)) + " " + Rect(FindId(dump, kListId));
}

TEST(BrowserRun, TheTreeListsTheDatabasesInWalkOrderAndTheRootTheirSummary) {
  VantorRun run;
  CEOID unreadable = 0;
  {
    ImageBuilder image(run.Image());
    BuildKnownDatabases(image);
    unreadable = image.Database(u"Damaged", 0, {{0x00010013, 0}});
  }
  DamageSortOrders(run.Image(), unreadable);
  const std::vector<DatabaseFacts> facts = ReadFacts(run.Image());
  ASSERT_EQ(facts.size(), 2u);

  ASSERT_EQ(run.Run("dump \"$DIR/start.txt\"\ntap 40 36\ndump \"$DIR/root.txt\"\nclose\n").exitCode, 0);
  const Dump start = run.ReadDump("start.txt");
  const std::string damagedName = Hex8(unreadable);
  EXPECT_EQ(TreeLines(start), (std::vector<std::string>{
                                  "node \"Databases\" data=4294967295 expanded",
                                  "  node \"Alpha\" data=" + std::to_string(facts[0].oid) + " selected",
                                  "  node \"Beta\" data=" + std::to_string(facts[1].oid),
                                  "  node \"" + damagedName + "\" data=" + std::to_string(unreadable),
                              }));

  const Dump root = run.ReadDump("root.txt");
  const DumpWindow* list = FindId(root, kListId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Columns(*list), "\"Name\" left, \"Records\" left, \"Sorts\" left, \"Size\" left");
  std::vector<std::string> rows;
  for (size_t i = 0; i < 2; ++i)
    rows.push_back("row index=" + std::to_string(i) + " cells=\"" + facts[i].name + "\" \"" +
                   std::to_string(facts[i].records) + "\" \"" + std::to_string(facts[i].sorts) + "\" \"" +
                   std::to_string(facts[i].size) + "\"");
  rows.push_back("row index=2 cells=\"" + damagedName + "\" \"\" \"\" \"\"");
  EXPECT_EQ(ItemLines(*list, "row"), rows);
}

TEST(BrowserRun, AnImageWithoutDatabasesShowsTheRootAloneAndAnEmptyList) {
  VantorRun run;
  ASSERT_EQ(run.Run("dump \"$DIR/start.txt\"\ntap 40 36\ndump \"$DIR/root.txt\"\nclose\n").exitCode, 0);
  const Dump start = run.ReadDump("start.txt");
  EXPECT_EQ(TreeLines(start), std::vector<std::string>{"node \"Databases\" data=4294967295"});
  EXPECT_EQ(FindId(start, kListId)->items.size(), 1u);
  EXPECT_EQ(FindId(start, kListId)->Item("list rows=0 "), "list rows=0 top=0 page=7 selected=0 focus=-1");
  // The summary of nothing: the four headers alone.
  EXPECT_EQ(ItemLines(*FindId(run.ReadDump("root.txt"), kListId), "column").size(), 4u);
}


TEST(BrowserRun, CloseTheCloseBoxAndTheOkButtonEndTheProgramWithZero) {
  for (const char* step : {"menu \"Tools\" \"Close\"", "close", "tap 228 13"}) {
    VantorRun run;
    EXPECT_EQ(run.Run(std::string(step) + "\n").exitCode, 0) << step;
  }
}

// The menu bar's button strip follows the display's depth.
TEST(BrowserRun, PanesFollowTheScreenTheDragAndComeBackWhenTheInputPanelResizesTheWindow) {
  struct Case {
    const char* screen;
    const char* depth;
    const char* strip;
    const char* drag;
    std::string start, dragged, withPanel;
  };
  const Case cases[] = {
      {"240x320", "16", "strip bitmap=137 images=3", "drag 120 160 120 100", "(0,26,240,157) (0,163,240,294)", "(0,26,240,96) (0,101,240,294)",
       "(0,26,240,117) (0,123,240,214)"},
      {"320x240", "2", "strip bitmap=114 images=3", "drag 128 100 200 100", "(0,26,125,214) (131,26,320,214)", "(0,26,196,214) (201,26,320,214)",
       "(0,26,125,134) (131,26,320,134)"},
      {"240x240", "16", "strip bitmap=137 images=3", "drag 96 100 150 100", "(0,26,93,214) (99,26,240,214)", "(0,26,146,214) (151,26,240,214)",
       "(0,26,93,134) (99,26,240,134)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    VantorRun run;
    const std::string script = "dump \"$DIR/start.txt\"\n" + std::string(c.drag) +
                               "\ndump \"$DIR/dragged.txt\"\nsip on\ndump \"$DIR/panel.txt\"\nclose\n";
    ASSERT_EQ(run.Run(script, std::string("--screen ") + c.screen + " --depth " + c.depth).exitCode, 0);
    const Dump start = run.ReadDump("start.txt");
    EXPECT_EQ(Panes(start), c.start);
    EXPECT_EQ(harness::FindWindowIn(start, "menu_worker")->Item("strip "), c.strip);
    EXPECT_EQ(Panes(run.ReadDump("dragged.txt")), c.dragged);
    EXPECT_EQ(Panes(run.ReadDump("panel.txt")), c.withPanel);
  }
}

// A database's records need an owner-data list, the summary a normal one:
// the list is made again only when the kind changes.
TEST(BrowserRun, TheListIsMadeAgainOnlyWhenItsKindChanges) {
  VantorRun run;
  {
    ImageBuilder image(run.Image());
    BuildKnownDatabases(image);
  }
  const char* taps[] = {"# start: Alpha", "tap 40 72", "tap 40 36", "tap 40 54", "tap 40 54"};
  std::string script;
  for (int i = 0; i < 5; ++i) script += std::string(taps[i]) + "\ndump \"$DIR/" + std::to_string(i) + ".txt\"\n";
  ASSERT_EQ(run.Run(script + "close\n").exitCode, 0);
  std::vector<std::string> handles, kinds;
  for (int i = 0; i < 5; ++i) {
    const Dump dump = run.ReadDump(std::to_string(i) + ".txt");
    const DumpWindow* list = FindId(dump, kListId);
    ASSERT_NE(list, nullptr);
    handles.push_back(HandleOf(list));
    const std::string line = list->Item("list ");
    kinds.push_back(line.substr(0, line.find(' ', 5)) + (line.find(" ownerdata") != std::string::npos ? " owner" : ""));
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"list rows=20 owner", "list rows=0 owner", "list rows=2",
                                             "list rows=20 owner", "list rows=20 owner"}));
  EXPECT_EQ(handles[1], handles[0]);  // database to database
  EXPECT_NE(handles[2], handles[1]);  // to the summary
  EXPECT_NE(handles[3], handles[2]);  // back to a database
  EXPECT_EQ(handles[4], handles[3]);  // the same node again
}

TEST(BrowserRun, DeletingADatabaseAsksFirstAndRemovesItFromTheImageAndTheTree) {
  struct Case {
    const char* name;
    const char* before;  // steps before the command
    const char* answer;
    bool readOnly;
    std::vector<std::string> boxes;  // texts of the boxes shown, in order
    size_t databasesLeft;
    std::string selectedAfter;
    std::string lastRow;  // after a tap in the list and End
  };
  const Case cases[] = {
      {"cancelled", "", "press \"Cancel\"", false, {"Delete Database", "Delete Database Alpha?"}, 2, "Alpha",
       "row index=19 selected focused cells=\"19\""},
      {"confirmed", "", "press \"OK\"", false, {"Delete Database", "Delete Database Alpha?"}, 1, "Beta", "(none)"},
      {"root", "tap 40 36", "", false, {}, 2, "Databases", "row index=1 selected focused cells=\"Beta\" \"0\" \"0\" \"0\""},
      {"read-only", "", "press \"OK\"\npress \"OK\"", true,
       {"Delete Database", "Delete Database Alpha?", "Delete Failed", "Access is denied.\\r\\n"}, 2, "Alpha",
       "row index=19 selected focused cells=\"\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VantorRun run;
    {
      ImageBuilder image(run.Image());
      BuildKnownDatabases(image);
    }
    if (c.readOnly) {
      ASSERT_EQ(chmod(run.Image().c_str(), 0444), 0);
    }
    const std::vector<uint8_t> bytes = FileBytes(run.Image());
    std::string script = std::string(c.before) + "\nmenu \"Tools\" \"Delete Database\"\ndump \"$DIR/asked.txt\"\n";
    if (c.readOnly) script += "press \"OK\"\ndump \"$DIR/failed.txt\"\n";
    script += (c.readOnly ? "press \"OK\"" : c.answer) + std::string("\ntap 120 198\nkey End\ndump \"$DIR/after.txt\"\nclose\n");
    ASSERT_EQ(run.Run(script).exitCode, 0) << run.Read("stderr.txt");

    std::vector<std::string> boxes;
    for (const char* file : {"asked.txt", "failed.txt"}) {
      const Dump dump = run.ReadDump(file);
      if (const DumpWindow* box = harness::FindWindowIn(dump, "Dialog")) {
        boxes.push_back(box->text);
        boxes.push_back(TextOf(dump, 0xFFFF));
      }
    }
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(ReadFacts(run.Image()).size(), c.databasesLeft);
    if (c.databasesLeft == 2) {
      EXPECT_EQ(FileBytes(run.Image()), bytes) << "the image changed";
    }
    const Dump after = run.ReadDump("after.txt");
    std::string selected;
    for (const std::string& node : TreeLines(after))
      if (node.find(" selected") != std::string::npos) selected = node.substr(node.find('"') + 1, node.rfind('"') - node.find('"') - 1);
    EXPECT_EQ(selected, c.selectedAfter);
    EXPECT_EQ(TreeLines(after).size(), c.databasesLeft + 1);
    const std::vector<std::string> rows = ItemLines(*FindId(after, kListId), "row ");
    EXPECT_EQ(rows.empty() ? "(none)" : rows.back(), c.lastRow);
  }
}

// With --read-only the steps that write fail, quietly or as on a read-only
// file, and the image, its time and the names beside it stay as they were;
// without it the same steps change it. The About box is the same in both.
TEST(BrowserRun, ReadOnlyLeavesTheImageAsItWasWhateverThePersonDoes) {
  const std::string script =
      "tap 120 198\nkey End\nmenu \"Tools\" \"Database Properties...\"\nkey Enter\nmenu \"Tools\" \"About Vantor...\"\n"
      "dump \"$DIR/about.txt\"\nkey Enter\nmenu \"View\" \"Options...\"\npress \"Bold\"\nkey Enter\n"
      "menu \"Tools\" \"Delete Record\"\npress \"Yes\"\ndump \"$DIR/record.txt\"\nkey Enter\n"
      "menu \"Tools\" \"Delete Database\"\npress \"OK\"\ndump \"$DIR/database.txt\"\nkey Enter\nclose\n";
  std::vector<std::string> abouts;
  for (const bool readOnly : {true, false}) {
    VantorRun run;
    const std::string image = run.Path("evidence/device.cedb");
    std::filesystem::create_directory(run.Path("evidence"));
    {
      ImageBuilder builder(image);  // without the program's registry key
      builder.Records(builder.Database(u"Alpha"), kAlphaRecords, [](int i) { return Prop::UI4(1, ULONG(i)); });
    }
    const auto state = [&] {
      struct stat st = {};
      stat(image.c_str(), &st);
      const std::filesystem::directory_iterator names(run.Path("evidence"));
      return std::make_tuple(FileBytes(image), st.st_mtim.tv_sec, st.st_mtim.tv_nsec, std::distance(begin(names), end(names)));
    };
    const auto before = state();
    const harness::RunResult result = run.Run(script, "--store '" + image + "'" + (readOnly ? " --read-only" : ""));
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.errors, readOnly ? "vantor: " + image + ": open read-only; nothing will be written to it\n" : "");
    EXPECT_EQ(state() == before, readOnly);
    std::vector<std::string> boxes;
    for (const char* file : {"record.txt", "database.txt"}) {
      const Dump dump = run.ReadDump(file);
      if (const DumpWindow* box = harness::FindWindowIn(dump, "Dialog")) boxes.push_back(box->text + ": " + TextOf(dump, 0xFFFF));
    }
    EXPECT_EQ(boxes, std::vector<std::string>(readOnly ? 2 : 0, "Delete Failed: Access is denied.\\r\\n")) << readOnly;
    abouts.push_back(run.Read("about.txt"));
  }
  EXPECT_EQ(abouts[0], abouts[1]);
}

}  // namespace
}  // namespace browsertest
