// cestore csv: one database as the record list shows it, for a spreadsheet.
// The columns, their heads and the cells come from the browser's own code,
// so that a cell says exactly what the list says.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Commands.h"
#include "Reading.h"
#include "Text.h"
#include "browser/ColumnMap.h"
#include "browser/ObjectStore.h"
#include "browser/PropFormat.h"
#include "browser/RecordCache.h"

namespace cestore {
namespace {

constexpr DWORD kAllRecords = 0xFFFFFFFF;

// At most count records in the order of sortProp, read as the record list
// reads its rows: one seek to the first, then a read and a step per record.
// visit gets the identifier the seek gave and the record, which is empty
// when it could not be read. Only one record is held at a time.
template <typename Visit>
bool walkRecords(CEOID database, CEPROPID sortProp, DWORD count, Visit visit) {
  HANDLE handle = ObjectStore::OpenDatabase(&database, sortProp);
  if (handle == kNoHandle) return false;
  CachedRecord record;
  DWORD done = 0;
  for (CEOID at = ObjectStore::SeekToIndex(handle, 0); at != 0 && done < count; at = ObjectStore::SeekNext(handle)) {
    record.Read(handle);
    visit(at, record);
    ++done;
  }
  ObjectStore::Close(handle);
  return true;
}

// A field with a comma, a quote or a line break is quoted, its quotes
// doubled (RFC 4180).
void appendField(const CeString& text, std::string& row) {
  const std::u16string_view field(text.Text(), size_t(text.Length()));
  if (field.find_first_of(u",\"\r\n") == std::u16string_view::npos) {
    appendDisplayUtf8(field.data(), field.size(), row);
    return;
  }
  std::string utf8;
  appendDisplayUtf8(field.data(), field.size(), utf8);
  row += '"';
  for (char c : utf8) {
    if (c == '"') row += '"';
    row += c;
  }
  row += '"';
}

// The row's text replaces what row held; its room is kept from row to row.
const std::string& rowText(CEOID at, const CachedRecord& record, const ColumnMap& columns, std::string& row) {
  row = hex32(at);
  CeString text;
  for (int c = 0; c < columns.Count(); ++c) {
    row += ',';
    FormatCell(record, columns.IdAt(c), &text);
    appendField(text, row);
  }
  return row += "\r\n";
}

// Adds the columns the record brings, as the list discovers them: property
// by property, each identifier met for the first time on the right. False
// when it brought none or the heap had no room for one (roomy false).
bool discoverColumns(const CachedRecord& record, ColumnMap& columns, bool& roomy) {
  const int before = columns.Count();
  for (int p = 0; p < record.propCount; ++p)
    if (columns.Find(record.props[p].propid) == -1)
      roomy = columns.Append(record.props[p].propid, WORD(columns.Count())) && roomy;
  return columns.Count() != before;
}

// The rows written since the last new column, in an unnamed file of their
// own: the rows above a new column lack its cells and are read again.
class Spool {
 public:
  Spool() {
    const char* dir = std::getenv("TMPDIR");
    std::string name = std::string(dir != nullptr && *dir != 0 ? dir : "/tmp") + "/cestore-csv-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return;
    ::unlink(name.c_str());
    file_ = ::fdopen(fd, "w+b");
    if (file_ == nullptr) ::close(fd);
  }
  ~Spool() {
    if (file_ != nullptr) std::fclose(file_);
  }
  Spool(const Spool&) = delete;
  Spool& operator=(const Spool&) = delete;

  bool ok() const { return file_ != nullptr && !failed_; }
  void restart() {
    failed_ = std::fflush(file_) != 0 || ::ftruncate(::fileno(file_), 0) != 0 || failed_;
    std::rewind(file_);
  }
  void add(const std::string& row) { failed_ = std::fwrite(row.data(), 1, row.size(), file_) != row.size() || failed_; }
  bool copyTo(std::FILE* out) {
    if (std::fflush(file_) != 0) return false;
    std::rewind(file_);
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
      if (std::fwrite(buffer, 1, n, out) != n) return false;
    return !std::ferror(file_);
  }

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

bool hasSortOrder(const CEDBASEINFO& info, CEPROPID sortProp) {
  for (int i = 0; i < info.wNumSortOrder && i < CEDB_MAXSORTORDER; ++i)
    if (info.rgSortSpecs[i].propid == sortProp) return true;
  return false;
}

std::string sortOrdersOf(const CEDBASEINFO& info) {
  std::string text;
  for (int i = 0; i < info.wNumSortOrder && i < CEDB_MAXSORTORDER; ++i)
    text += (i ? ", " : "") + sortText(info.rgSortSpecs[i]);
  return text.empty() ? "it has none" : "its sort orders: " + text;
}

bool write(const std::string& text) { return std::fwrite(text.data(), 1, text.size(), stdout) == text.size(); }

}  // namespace

int runCsv(const std::string& file, const std::string& database, const std::string* sort) {
  uint64_t sortNumber = 0;
  if (sort && (!parseNumber(*sort, sortNumber) || sortNumber == 0 || sortNumber > 0xFFFFFFFF))
    return fail("--sort takes a property identifier such as 0x0001001F, not '" + *sort + "'");
  const CEPROPID sortProp = CEPROPID(sortNumber);
  OpenImage image(file);
  if (!image.ok()) return fail(image.error());
  const CEOID oid = findDatabase(database);
  CEDBASEINFO info{};
  if (oid == 0 || !databaseInfo(oid, info)) return fail(file + ": no database '" + database + "'");
  const std::string name = "'" + displayUtf8(info.szDbaseName) + "'";
  if (sort && !hasSortOrder(info, sortProp))
    return fail(file + ": " + name + " has no sort order on " + hex32(sortProp) + " (" + sortOrdersOf(info) + ")");
  Spool spool;
  if (!spool.ok()) return fail("cannot make a temporary file for the rows (TMPDIR, else /tmp)");

  // One read of every record meets the columns and spools the rows; the
  // rows above the last new column are read again once the head is written.
  ColumnMap columns;
  std::string row;
  bool roomy = true;
  DWORD rows = 0, reread = 0, unreadable = 0;
  const bool opened = walkRecords(oid, sortProp, kAllRecords, [&](CEOID at, const CachedRecord& record) {
    if (record.oid == 0) {
      const DWORD error = GetLastError();
      ++unreadable;
      std::fprintf(stderr, "cestore: %s: record %s: unreadable (%s); its row has only its identifier\n",
                   file.c_str(), hex32(at).c_str(),
                   error == ERROR_INVALID_DATA ? "damaged property data" : ("error " + std::to_string(error)).c_str());
    }
    if (discoverColumns(record, columns, roomy)) {
      reread = rows;
      spool.restart();
    }
    spool.add(rowText(at, record, columns, row));
    ++rows;
  });
  if (!opened) return fail(file + ": cannot open " + name + " (error " + std::to_string(GetLastError()) + ")");
  if (!roomy) return fail(file + ": " + name + ": not enough memory for its columns");
  if (!spool.ok()) return fail("cannot write the rows to a temporary file (TMPDIR, else /tmp)");

  std::string head = "oid";
  for (int c = 0; c < columns.Count(); ++c) {
    head += ',';
    appendField(ColumnHeader(columns.IdAt(c)), head);
  }
  bool written = write(head += "\r\n");
  if (reread > 0 && !walkRecords(oid, sortProp, reread, [&](CEOID at, const CachedRecord& record) {
        written = write(rowText(at, record, columns, row)) && written;
      }))
    return fail(file + ": cannot open " + name + " again (error " + std::to_string(GetLastError()) + ")");
  written = spool.copyTo(stdout) && written;
  if (std::fflush(stdout) != 0 || !written) return fail("cannot write the CSV to standard output");
  return unreadable > 0 ? kExitDamaged : kExitOk;
}

}  // namespace cestore
