#include "RunSupport.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>

#include "store/DeviceImage.h"
#include "store/Sqlite.h"
#include "kernel/Utf.h"

namespace browsertest {

VantorRun::VantorRun() : ProgramRun(VANTOR_EXE) {}

void BuildKnownDatabases(ImageBuilder& image) {
  const CEOID alpha = image.Database(u"Alpha", 7, {{0x0002001F, CEDB_SORT_CASEINSENSITIVE}});
  image.Records(alpha, kAlphaRecords, [](int i) { return Prop::UI4(1, ULONG(i)); });
  image.Database(u"Beta", 8);
  // Where the program keeps its font: made at its first start, so made here
  // for runs that must leave the image as it was.
  image.Key(u"Software\\Tarniwell\\Vantor");
}

void DamageSortOrders(const std::string& image, CEOID database) {
  store::Connection db;
  std::string error;
  if (!db.open(image, store::Connection::Mode::ReadWrite, error)) throw std::runtime_error(error);
  db.exec("UPDATE sortorders SET slot = 7 WHERE db = " + std::to_string(database));
}

std::vector<DatabaseFacts> ReadFacts(const std::string& image) {
  std::string error;
  if (!store::openDeviceImage(image, error)) throw std::runtime_error(error);
  std::vector<DatabaseFacts> facts;
  HANDLE walk = CeFindFirstDatabase(0);
  for (CEOID oid = CeFindNextDatabase(walk); oid != 0; oid = CeFindNextDatabase(walk)) {
    CEOIDINFO info = {};
    if (!CeOidGetInfo(oid, &info)) continue;
    const CEDBASEINFO& db = info.infDatabase;
    facts.push_back({oid, kernel::utf16ToUtf8(db.szDbaseName), db.wNumRecords, db.wNumSortOrder, db.dwSize});
  }
  CloseHandle(walk);
  store::closeDeviceImage();
  return facts;
}

std::vector<std::string> TextsInOrder(const std::string& image, const std::u16string& database, CEPROPID sortProp,
                                      CEPROPID textProp, int count) {
  std::string error;
  if (!store::openDeviceImage(image, error)) throw std::runtime_error(error);
  std::u16string name = database;
  CEOID oid = 0;
  HANDLE db = CeOpenDatabase(&oid, name.data(), sortProp, 0, nullptr);
  std::vector<std::string> texts;
  DWORD index = 0;
  for (CEOID at = CeSeekDatabase(db, CEDB_SEEK_BEGINNING, 0, &index); at != 0 && int(texts.size()) < count;
       at = CeSeekDatabase(db, CEDB_SEEK_CURRENT, 1, &index)) {
    WORD props = 1;
    CEPROPID wanted = textProp;
    LPBYTE buffer = nullptr;
    DWORD size = 0;
    std::string text;
    if (CeReadRecordProps(db, CEDB_ALLOWREALLOC, &props, &wanted, &buffer, &size) != 0) {
      const auto* value = reinterpret_cast<const CEPROPVAL*>(buffer);
      if (!(value->wFlags & CEDB_PROPNOTFOUND)) text = kernel::utf16ToUtf8(value->val.lpwstr);
    }
    LocalFree(buffer);
    texts.push_back(text);
  }
  CloseHandle(db);
  store::closeDeviceImage();
  return texts;
}

std::string Hex8(CEOID oid) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", oid);
  return text;
}

std::string Rect(const DumpWindow* window) {
  if (window == nullptr) return "(none)";
  return "(" + std::to_string(window->left) + "," + std::to_string(window->top) + "," +
         std::to_string(window->right) + "," + std::to_string(window->bottom) + ")";
}

std::vector<std::string> TreeLines(const Dump& dump) {
  const DumpWindow* tree = FindId(dump, kTreeId);
  return tree != nullptr ? tree->items : std::vector<std::string>{};
}

std::vector<std::string> ItemLines(const DumpWindow& window, const std::string& prefix) {
  std::vector<std::string> lines;
  for (const std::string& item : window.items)
    if (item.compare(0, prefix.size(), prefix) == 0) lines.push_back(item);
  return lines;
}

std::string Columns(const DumpWindow& list) {
  static const std::regex kColumn(R"(column index=\d+ text=("(?:[^"\\]|\\.)*") width=\d+ format=(\w+) .*)");
  std::string columns;
  for (const std::string& line : ItemLines(list, "column ")) {
    std::smatch m;
    if (!std::regex_match(line, m, kColumn)) return "(bad line " + line + ")";
    columns += (columns.empty() ? "" : ", ") + m[1].str() + " " + m[2].str();
  }
  return columns;
}

std::string HandleOf(const DumpWindow* window) {
  if (window == nullptr) return "(none)";
  return window->line.substr(window->line.find("hwnd="), window->line.find(' ', window->line.find("hwnd=")) - window->line.find("hwnd="));
}

std::vector<std::string> Cells(const std::string& row) {
  static const std::regex kCell(R"re("((?:[^"\\]|\\.)*)")re");
  std::vector<std::string> cells;
  const size_t start = row.find("cells=");
  if (start == std::string::npos) return cells;
  const std::string rest = row.substr(start);
  for (auto it = std::sregex_iterator(rest.begin(), rest.end(), kCell); it != std::sregex_iterator(); ++it)
    cells.push_back((*it)[1]);
  return cells;
}

std::vector<std::string> ColumnCells(const DumpWindow& list, size_t column) {
  std::vector<std::string> cells;
  for (const std::string& row : ItemLines(list, "row ")) {
    const std::vector<std::string> all = Cells(row);
    cells.push_back(column < all.size() ? all[column] : "(none)");
  }
  return cells;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace browsertest
