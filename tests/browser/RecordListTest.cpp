// The record list of the real program: the columns it discovers, the text
// of every kind of value, re-sorting by a header tap, and deleting records.
#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <sys/wait.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "RunSupport.h"
#include "kernel/Utf.h"
#include "store/Session.h"

namespace browsertest {
namespace {

constexpr uint64_t kNovember2002 = 126809603400000000;  // 2002-11-05 08:59 UTC
constexpr uint64_t kYear10000 = 2650467744000000000;

TEST(RecordList, ShowsEveryKindOfValueInColumnsMetRecordByRecord) {
  VantorRun run;
  {
    ImageBuilder image(run.Image());
    const CEOID types = image.Database(u"Types");
    image.Record(types, {Prop::I2(1, -1), Prop::UI2(2, 65535), Prop::I4(3, INT_MIN), Prop::UI4(4, 4294967295u),
                         Prop::R8(5, 0.05), Prop::Bool(6, 2), Prop::Text(7, u""), Prop::Time(8, kNovember2002),
                         Prop::Blob(9, {0x00, 0x10, 0xFF})});
    // Number 1 again, as text: a column of its own showing the first
    // property of that number, whatever its type.
    image.Record(types, {Prop::Text(1, u"one"), Prop::Bool(6, 0), Prop::Time(8, kYear10000),
                         Prop::Blob(9, std::vector<BYTE>(100, 0xAB))});
    image.Record(types, {Prop::Blob(9, {}), Prop::Text(7, u"Grüße, \"quoted\"")});
    image.Database(u"Empty");
  }
  ASSERT_EQ(run.Run("dump \"$DIR/types.txt\"\ntap 40 72\ndump \"$DIR/empty.txt\"\nclose\n").exitCode, 0);
  const Dump dump = run.ReadDump("types.txt");
  const DumpWindow& list = *FindId(dump, kListId);
  EXPECT_EQ(Columns(list),
            "\"0x0001 (Short)\" right, \"0x0002 (UShort)\" right, \"0x0003 (Int)\" right, \"0x0004 (UInt)\" right, "
            "\"0x0005 (Double)\" right, \"0x0006 (Boolean)\" left, \"0x0007 (String)\" left, "
            "\"0x0008 (FileTime)\" left, \"0x0009 (Blob)\" left, \"0x0001 (String)\" left");
  for (const std::string& column : ItemLines(list, "column ")) EXPECT_NE(column.find(" width=80 "), std::string::npos);
  const std::string hundredBytes = [] {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "AB ";  // 259 characters: the list's buffer less its terminator
    return text.substr(0, 259);
  }();
  const std::vector<std::vector<std::string>> rows = {
      {"-1", "65535", "-2147483648", "4294967295", "0.050", "true", "", "11/5/02 8:59 AM", "00 10 FF ", "-1"},
      {"one", "", "", "", "", "false", "", "", hundredBytes, "one"},
      {"", "", "", "", "", "", "Grüße, \\\"quoted\\\"", "", "", ""},
  };
  const std::vector<std::string> shown = ItemLines(list, "row ");
  ASSERT_EQ(shown.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(Cells(shown[i]), rows[i]) << "row " << i;

  const Dump empty = run.ReadDump("empty.txt");
  EXPECT_EQ(FindId(empty, kListId)->items, std::vector<std::string>{"list rows=0 top=0 page=7 selected=0 focus=-1 ownerdata"});
}

// Python's csv module reads the CSV back and prints each row as a dump prints
// a list row, each cell cut to the 259 characters the list's buffer holds.
const char kCsvAsDump[] = R"(
import csv, json, sys
for row in csv.reader(open(sys.argv[1], newline='', encoding='utf-8'), strict=True):
    print(row[0] + ' cells=' + ' '.join(json.dumps(cell[:259], ensure_ascii=False) for cell in row[1:])))";

// cestore csv: the list's heads and every cell it shows (a record that cannot
// be read shows empty cells), the whole of a text the list cuts; sorted, the
// rows in that order.
TEST(RecordList, CestoreCsvHoldsEveryCellTheListShows) {
  if (std::system("python3 -c 'import csv' 2>/dev/null") != 0) GTEST_SKIP() << "no python3 to read the CSV back";
  VantorRun run;
  std::vector<CEOID> oids;
  {
    ImageBuilder image(run.Image());
    const CEOID db = image.Database(u"Mixed", 0, {{0x00030013, 0}});
    oids = {image.Record(db, {Prop::I4(1, 5), Prop::Text(2, u"plain"), Prop::UI4(3, 4)}),
            image.Record(db, {Prop::Text(2, u"comma, \"quote\"\r\nline\tend"), Prop::R8(4, 2.5), Prop::Bool(5, 2),
                              Prop::UI4(3, 1)}),
            // Columns first met here, one of them of a number the rows above have.
            image.Record(db, {Prop::Text(1, u"late"), Prop::Time(6, kNovember2002), Prop::UI4(3, 3),
                              Prop::Blob(7, std::vector<BYTE>(100, 0xAB)), Prop::I2(8, -1), Prop::UI2(9, 65535),
                              Prop::Text(10, u"Grüße\n\xD83D\xDE00")}),
            image.Record(db, {Prop::Text(11, u"unreadable"), Prop::UI4(3, 2)})};
    ASSERT_TRUE(store::currentImage()->db().exec("UPDATE records SET props = x'0500' WHERE oid = " +
                                                 std::to_string(oids[3])));
  }
  ASSERT_EQ(run.Run("dump \"$DIR/list.txt\"\nclose\n").exitCode, 0);
  const Dump dump = run.ReadDump("list.txt");
  std::string heads, blob;
  for (const std::string& column : ItemLines(*FindId(dump, kListId), "column "))
    heads += (heads.empty() ? "" : " ") + column.substr(column.find('"'), column.find(" width") - column.find('"'));
  std::vector<std::string> shown = {"oid cells=" + heads};
  for (const std::string& row : ItemLines(*FindId(dump, kListId), "row "))
    shown.push_back(Hex8(oids[shown.size() - 1]) + row.substr(row.find(" cells=")));
  for (int i = 0; i < 100; ++i) blob += "AB ";
  std::ofstream(run.Path("read.py")) << kCsvAsDump;
  const auto readBack = [&](const std::string& sort) {
    const int status = std::system(("'" CESTORE_EXE "' csv '" + run.Image() + "' Mixed" + sort + " >'" +
                                    run.Path("out.csv") + "' 2>'" + run.Path("err.txt") + "'").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1) << "a record cannot be read";
    EXPECT_EQ(run.Read("err.txt"), "cestore: " + run.Image() + ": record " + Hex8(oids[3]) +
                                       ": unreadable (damaged property data); its row has only its identifier\n");
    EXPECT_NE(run.Read("out.csv").find("," + blob + ","), std::string::npos) << "the whole blob";
    std::system(("python3 '" + run.Path("read.py") + "' '" + run.Path("out.csv") + "' >'" + run.Path("rows.txt") + "'").c_str());
    std::vector<std::string> lines;
    std::istringstream rows(run.Read("rows.txt"));
    for (std::string line; std::getline(rows, line);) lines.push_back(line);
    return lines;
  };
  EXPECT_EQ(readBack(""), shown);
  std::vector<std::string> sorted;
  for (const std::string& line : readBack(" --sort 0x00030013")) sorted.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(sorted, (std::vector<std::string>{"oid", Hex8(oids[1]), Hex8(oids[3]), Hex8(oids[2]), Hex8(oids[0])}));
}

// Records met further down bring their columns on the right, also after a
// re-sort has reopened the database.
TEST(RecordList, AColumnMetAfterAHeaderTapGoesOnTheRight) {
  VantorRun run;
  {
    ImageBuilder image(run.Image());
    const CEOID db = image.Database(u"Late", 0, {{0x00010013, 0}});
    image.Records(db, 30, [](int i) { return Prop::UI4(1, ULONG(i)); });
    image.Record(db, {Prop::UI4(1, 30), Prop::Text(2, u"late")});
  }
  ASSERT_EQ(run.Run("tap 40 172\ndump \"$DIR/sorted.txt\"\ntap 40 200\nkey Home\nkey End\ndump \"$DIR/end.txt\"\n"
                    "close\n").exitCode, 0);
  const Dump sorted = run.ReadDump("sorted.txt");
  EXPECT_EQ(Columns(*FindId(sorted, kListId)), "\"0x0001 (UInt)\" right");
  const Dump end = run.ReadDump("end.txt");
  const DumpWindow& list = *FindId(end, kListId);
  EXPECT_EQ(Columns(list), "\"0x0001 (UInt)\" right, \"0x0002 (String)\" left");
  EXPECT_EQ(list.Item("column index=1 "), "column index=1 text=\"0x0002 (String)\" width=80 format=left subitem=1");
  EXPECT_EQ(ItemLines(list, "row ").back(), "row index=30 selected focused cells=\"30\" \"late\"");
}

// A header tap reopens the database in that column's sort order when it has
// one, and in its own order otherwise; the columns stay.
TEST(RecordList, AHeaderTapShowsTheRowsInThatColumnsSortOrder) {
  struct Case {
    const char* select;  // the database's node
    const char* header;
    const char16_t* database;
    CEPROPID sort;  // 0: none for that column
    CEPROPID shownText;  // the column 0 text the rows are compared by
  };
  const Case cases[] = {
      {"tap 40 54", "tap 40 172", u"Contacts Database", 0x3A11001F, 0x3A11001F},   // case-insensitive
      {"tap 40 54", "tap 120 172", u"Contacts Database", 0, 0x3A11001F},           // no sort order
      {"tap 40 90", "tap 200 172", u"Tasks Database", 0x41050040, 0x0037001F},     // unknown first
      {"tap 40 54\nkey End", "tap 40 172", u"CallLog", 0x0001001F, 0x0001001F},   // ascending
      {"tap 40 54\nkey End", "tap 120 172", u"CallLog", 0x00020040, 0x0001001F},  // descending
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header + std::string(" in ") + kernel::utf16ToUtf8(c.database));
    VantorRun run;
    run.UseSample();
    ASSERT_EQ(run.Run(std::string(c.select) + "\ndump \"$DIR/before.txt\"\n" + c.header +
                      "\ndump \"$DIR/after.txt\"\nclose\n")
                  .exitCode,
              0);
    const Dump before = run.ReadDump("before.txt");
    const Dump after = run.ReadDump("after.txt");
    EXPECT_EQ(Columns(*FindId(after, kListId)), Columns(*FindId(before, kListId)));
    const std::vector<std::string> shown = ColumnCells(*FindId(after, kListId), 0);
    EXPECT_EQ(shown, TextsInOrder(run.Image(), c.database, c.sort, c.shownText, int(shown.size())));
  }
}

// Rows of a one-column list on a 240 x 320 screen: row n is at y = 190 + 16 n.
TEST(RecordList, DeletingRecordsAsksFirstAndDeletesTheSelectedRowsTheCacheHolds) {
  struct Case {
    const char* name;
    const char* screen;
    const char* steps;  // before the command
    const char* answers;
    std::vector<std::string> boxes;  // caption and text of each box shown
    std::string left;  // the records left, by their letters
  };
  const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz01234567";
  const std::vector<std::string> question = {"Delete", "Delete ALL selected records?"};
  const Case cases[] = {
      {"no", "240x320", "tap 40 206", "press \"No\"", question, all},
      {"three rows", "240x320", "tap 40 206\ntap 40 238 ctrl\ntap 40 254 Ctrl", "press \"Yes\"", question,
       "AC" + all.substr(5)},
      {"root", "240x320", "tap 40 36", "", {}, all},
      {"nothing selected", "240x320", "", "", {}, all},
      // Row 9 is picked a page further down, then scrolled out of the cache:
      // the deletion stops there.
      {"out of the cache", "240x320", "tap 40 206\ntap 233 265\ntap 40 222 ctrl\nkey Ctrl+Home", "",
       {"Delete", "Delete ALL selected records?", "Delete Failed"}, "A" + all.substr(2)},
      // Every row selected and a page of 40 rows shown: the first 40 go.
      {"more than forty", "240x1370", "tap 40 715\nkey Shift+End\nkey Ctrl+Home", "press \"Yes\"", question,
       all.substr(40)},
      {"read-only", "240x320", "tap 40 206", "", {"Delete", "Delete ALL selected records?", "Delete Failed",
       "Access is denied.\\r\\n"}, all},
  };
  VantorRun built;
  {
    ImageBuilder image(built.Image());
    const CEOID db = image.Database(u"Numbers");
    for (char letter : all) image.Record(db, {Prop::Text(1, u"r" + std::u16string(1, char16_t(letter)))});
    image.Key(u"Software\\Tarniwell\\Vantor");
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VantorRun run;
    std::filesystem::copy_file(built.Image(), run.Image(), std::filesystem::copy_options::overwrite_existing);
    if (std::string(c.name) == "read-only") {
      ASSERT_EQ(chmod(run.Image().c_str(), 0444), 0);
    }
    const std::vector<uint8_t> bytes = FileBytes(run.Image());
    std::string script = std::string(c.steps) + "\nmenu \"Tools\" \"Delete Record\"\ndump \"$DIR/box1.txt\"\n";
    if (c.boxes.size() > 2) script += "press \"Yes\"\ndump \"$DIR/box2.txt\"\npress \"OK\"\n";
    else script += std::string(c.answers) + "\n";
    ASSERT_EQ(run.Run(script + "dump \"$DIR/after.txt\"\nclose\n", std::string("--screen ") + c.screen).exitCode, 0)
        << run.Read("stderr.txt");
    std::vector<std::string> boxes;
    for (const char* file : {"box1.txt", "box2.txt"}) {
      const Dump dump = run.ReadDump(file);
      if (const DumpWindow* box = harness::FindWindowIn(dump, "Dialog")) {
        boxes.push_back(box->text);
        const std::string text = harness::TextOf(dump, 0xFFFF);
        if (boxes.size() < 3 || text == "Access is denied.\\r\\n") boxes.push_back(text);
      }
    }
    EXPECT_EQ(boxes, c.boxes);
    std::string left;
    for (const std::string& text : TextsInOrder(run.Image(), u"Numbers", 0, 0x0001001F, 100)) left += text.substr(1);
    EXPECT_EQ(left, c.left);
    const Dump after = run.ReadDump("after.txt");
    if (left == all) {
      EXPECT_EQ(FileBytes(run.Image()), bytes) << "the image changed";
    } else {
      EXPECT_EQ(FindId(after, kListId)->Item("list rows=").substr(0, 13), "list rows=" + std::to_string(left.size()) + " ");
    }
  }
}

// Each round deletes the first record and dumps the list it rebuilt; a kill
// may come at any moment of any round.
TEST(RecordList, AKillWhileDeletingLeavesASoundImageWithEveryReportedDeletion) {
  constexpr int kRecords = 40;
  constexpr int kRounds = 12;
  constexpr int kRuns = 50;
  VantorRun run;
  const std::string built = run.Path("built.cedb");
  {
    ImageBuilder image(built);
    const CEOID db = image.Database(u"Numbers");
    for (int i = 0; i < kRecords; ++i) image.Record(db, {Prop::Text(1, u"r" + std::u16string(1, u'A' + i))});
  }
  std::string script;
  for (int round = 1; round <= kRounds; ++round)
    script += "tap 40 191\nmenu \"Tools\" \"Delete Record\"\npress \"Yes\"\ndump \"$DIR/done" +
              std::to_string(round) + ".txt\"\n";
  // How long the rounds take when nothing stops them.
  std::filesystem::copy_file(built, run.Image(), std::filesystem::copy_options::overwrite_existing);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(VantorRun::EndWithin(run.Start(script + "close\n"), 60000), 0);
  const int fullMs = int(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());

  std::mt19937 random(20261207);
  for (int i = 0; i < kRuns; ++i) {
    std::filesystem::copy_file(built, run.Image(), std::filesystem::copy_options::overwrite_existing);
    for (int round = 1; round <= kRounds; ++round) std::filesystem::remove(run.Path("done" + std::to_string(round) + ".txt"));
    // Start-up takes about the first quarter.
    const int killAt = fullMs / 4 + int(random() % unsigned(fullMs - fullMs / 4));
    VantorRun::EndWithin(run.Start(script), killAt);
    SCOPED_TRACE("killed after " + std::to_string(killAt) + " of " + std::to_string(fullMs) + " ms");
    ASSERT_EQ(std::system(("'" CESTORE_EXE "' check '" + run.Image() + "' >/dev/null 2>&1").c_str()), 0);
    // A dump that lists its rows was written whole, after the list was rebuilt.
    int reported = 0;
    while (reported < kRounds && run.Read("done" + std::to_string(reported + 1) + ".txt").find("row index=0") != std::string::npos)
      ++reported;
    const std::vector<std::string> left = TextsInOrder(run.Image(), u"Numbers", 0, 0x0001001F, kRecords);
    ASSERT_FALSE(left.empty());
    const int firstLeft = left.front()[1] - 'A';
    EXPECT_TRUE(firstLeft == reported || firstLeft == reported + 1) << firstLeft << " left first, " << reported << " reported";
    EXPECT_EQ(left.size(), size_t(kRecords - firstLeft)) << "records left are not the last ones";
  }
}

}  // namespace
}  // namespace browsertest
