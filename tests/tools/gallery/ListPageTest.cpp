// The gallery's list view window driven by a script: a normal list and rows
// picked with Shift and Ctrl, the switch to a million owner-data rows,
// sorting by a header tap, typing to find a row, all read back from window
// dumps.
#include <gtest/gtest.h>

#include "GalleryRun.h"

namespace gallerytest {
namespace {

constexpr int kEventLineId = 2401;
constexpr int kListId = 2402;

const DumpWindow* ListIn(const std::vector<DumpWindow>& windows) { return FindId(windows, kListId); }

std::string EventLine(const std::vector<DumpWindow>& windows) { return TextOf(windows, kEventLineId); }

TEST(GalleryList, PicksRowsWithShiftAndCtrlSwitchesToAMillionOwnerDataRowsSortsAndFindsTypedRows) {
  GalleryRun run;
  // The header of the owner-data list and its rows lie where the normal list's did.
  const std::string script =
      "menu \"Controls\" \"List view...\"\n"
      "dump \"$DIR/normal.txt\"\n"
      "key Down\n"
      "key Down\n"
      "key Down\n"
      "dump \"$DIR/keys.txt\"\n"
      "tap 40 141 Shift\n"  // rows 2 to 4
      "tap 40 192 ctrl\n"   // and row 7
      "dump \"$DIR/picked.txt\"\n"
      "key Shift+End\n"  // from row 7 to the last
      "dump \"$DIR/end.txt\"\n"
      "press \"Owner data\"\n"
      "dump \"$DIR/owner.txt\"\n"
      "tap 150 56\n"  // the "Size" heading
      "dump \"$DIR/sorted.txt\"\n"
      "tap 150 56\n"
      "dump \"$DIR/reversed.txt\"\n"
      "press \"Normal\"\n"
      "press \"Owner data\"\n"
      "type \"row 0000001\"\n"
      "dump \"$DIR/typed.txt\"\n"
      "close\n"
      "menu \"Dialogs\" \"Close\"\n";
  const GalleryResult result = run.Run(script);
  ASSERT_EQ(result.exitCode, 0) << result.errors;

  auto normal = ParseDump(run.Read("normal.txt"));
  const DumpWindow* list = ListIn(normal);
  ASSERT_NE(list, nullptr) << run.Read("normal.txt");
  EXPECT_EQ(list->Item("list rows=").rfind("list rows=200 top=0 ", 0), 0u);
  EXPECT_EQ(list->Item("column index=2"), "column index=2 text=\"Size\" width=50 format=right subitem=2");
  EXPECT_EQ(list->Item("column index=0"), "column index=0 text=\"Name\" width=76 format=left subitem=0");
  EXPECT_EQ(list->Item("row index=1 "), "row index=1 cells=\"Row 0000001\" \"1\" \"7932\" \"31\" \"5761\"");

  // The first Down focuses and selects the first row; then one row each.
  auto keys = ParseDump(run.Read("keys.txt"));
  EXPECT_EQ(EventLine(keys), "1 selected, first row 2 (2)");
  EXPECT_EQ(ListIn(keys)->Item("row index=2 "),
            "row index=2 selected focused cells=\"Row 0000002\" \"2\" \"15851\" \"62\" \"4226\"");

  EXPECT_EQ(EventLine(ParseDump(run.Read("picked.txt"))), "4 selected, first row 2 (2)");
  EXPECT_EQ(EventLine(ParseDump(run.Read("end.txt"))), "193 selected, first row 7 (7)");

  auto owner = ParseDump(run.Read("owner.txt"));
  ASSERT_NE(ListIn(owner), nullptr);
  EXPECT_NE(ListIn(owner)->Item("list rows=1000000 ").find(" ownerdata"), std::string::npos);
  EXPECT_EQ(EventLine(owner), "Owner-data list of 1000000 rows");

  auto sorted = ParseDump(run.Read("sorted.txt"));
  EXPECT_EQ(EventLine(sorted), "Sorted by Size, ascending");
  // Ten rows share each size: the smallest first, in their own order.
  EXPECT_EQ(ListIn(sorted)->Item("row index=0 "), "row index=0 cells=\"Row 0070173\" \"70173\" \"0\" \"906\" \"6429\"");
  auto reversed = ParseDump(run.Read("reversed.txt"));
  EXPECT_EQ(EventLine(reversed), "Sorted by Size, descending");
  EXPECT_NE(ListIn(reversed)->Item("row index=0 ").find("\"99999\""), std::string::npos);

  // Typing asks the window, which finds the row by its name.
  auto typed = ParseDump(run.Read("typed.txt"));
  EXPECT_EQ(EventLine(typed), "1 selected, first row 1 (1)");
  EXPECT_EQ(ListIn(typed)->Item("row index=1 "),
            "row index=1 selected focused cells=\"Row 0000001\" \"1\" \"7932\" \"31\" \"5761\"");
}

}  // namespace
}  // namespace gallerytest
