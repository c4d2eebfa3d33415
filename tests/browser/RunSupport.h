// What the program's scripted runs share: the run itself, the images they
// open, and readers of the tree and list parts of a dump.
#pragma once

#include <windows.h>
#include <windbase.h>

#include <string>
#include <vector>

#include "harness/ImageBuilder.h"
#include "harness/ProgramRun.h"

namespace browsertest {

using harness::Dump;
using harness::DumpWindow;
using harness::FindId;
using harness::ImageBuilder;
using harness::Prop;

constexpr int kTreeId = 100;
constexpr int kListId = 101;

// Vantor on its own headless device; the test builds the image.
class VantorRun : public harness::ProgramRun {
 public:
  VantorRun();
};

// Two databases: "Alpha" with kAlphaRecords records numbered from 0 in
// property 1, and a sort order, "Beta" with none.
constexpr int kAlphaRecords = 20;
void BuildKnownDatabases(ImageBuilder& image);
// Makes a database's information unreadable while the walk still lists it.
void DamageSortOrders(const std::string& image, CEOID database);

// What the store says of a database, read back in-process.
struct DatabaseFacts {
  CEOID oid = 0;
  std::string name;
  unsigned records = 0, sorts = 0, size = 0;
};
// Every database the walk lists whose information can be read.
std::vector<DatabaseFacts> ReadFacts(const std::string& image);

// The first count values of a text property in the order of sortProp (0:
// the database's own order), "" where a record has none.
std::vector<std::string> TextsInOrder(const std::string& image, const std::u16string& database, CEPROPID sortProp,
                                      CEPROPID textProp, int count);

std::string Hex8(CEOID oid);
std::string Rect(const DumpWindow* window);
// The tree's node lines, indented by level.
std::vector<std::string> TreeLines(const Dump& dump);
// The item lines of a window that start with prefix.
std::vector<std::string> ItemLines(const DumpWindow& window, const std::string& prefix);
// The list's columns in order: "\"Name\" left, ..." (widths left out: they
// follow the font).
std::string Columns(const DumpWindow& list);
// The cells of a dump's row line, as the dump quotes them.
std::vector<std::string> Cells(const std::string& row);
// Column column of the rows the list shows.
std::vector<std::string> ColumnCells(const DumpWindow& list, size_t column);
std::vector<uint8_t> FileBytes(const std::string& path);
// The handle of a window in a dump, which tells a window made again from
// the one kept.
std::string HandleOf(const DumpWindow* window);

}  // namespace browsertest
