// The reading commands: they go through the device's own database and
// registry calls, as any program on the device would.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include <windows.h>
#include <windbase.h>

#include "Commands.h"
#include "Reading.h"
#include "Text.h"
#include "store/Checker.h"
#include "store/DeviceImage.h"
#include "store/Image.h"
#include "store/Schema.h"

namespace cestore {
namespace {

uint64_t fileTime(const FILETIME& time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

std::string quoted(const WCHAR* text) {
  std::string out = "\"";
  for (char c : displayUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\', out += c;
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (static_cast<unsigned char>(c) < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\x%02x", c);
      out += esc;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string valueText(const CEPROPVAL& prop) {
  char text[96];
  switch (TypeFromPropID(prop.propid)) {
    case CEVT_I2: std::snprintf(text, sizeof text, "I2 %d", prop.val.iVal); return text;
    case CEVT_UI2: std::snprintf(text, sizeof text, "UI2 %u", prop.val.uiVal); return text;
    case CEVT_I4: std::snprintf(text, sizeof text, "I4 %d", prop.val.lVal); return text;
    case CEVT_UI4: std::snprintf(text, sizeof text, "UI4 %u (0x%08X)", prop.val.ulVal, prop.val.ulVal); return text;
    case CEVT_BOOL:
      if (prop.val.boolVal == 0 || prop.val.boolVal == 1) return prop.val.boolVal ? "BOOL TRUE" : "BOOL FALSE";
      std::snprintf(text, sizeof text, "BOOL TRUE (%d)", prop.val.boolVal);
      return text;
    case CEVT_R8: std::snprintf(text, sizeof text, "R8 %.17g", prop.val.dblVal); return text;
    case CEVT_FILETIME:
      return "FILETIME " + isoTime(fileTime(prop.val.filetime)) + " (0x" +
             [&] {
               char raw[24];
               std::snprintf(raw, sizeof raw, "%016" PRIX64, fileTime(prop.val.filetime));
               return std::string(raw);
             }() + ")";
    case CEVT_LPWSTR: return "LPWSTR " + quoted(prop.val.lpwstr);
    case CEVT_BLOB: {
      DWORD shown = prop.val.blob.dwCount < 64 ? prop.val.blob.dwCount : 64;
      std::vector<uint8_t> head(prop.val.blob.lpb, prop.val.blob.lpb + shown);
      return "BLOB " + std::to_string(prop.val.blob.dwCount) + " bytes " + hexBytes(head) +
             (shown < prop.val.blob.dwCount ? "..." : "");
    }
    default: return "?";
  }
}

std::vector<CEOID> allDatabases() {
  std::vector<CEOID> oids;
  HANDLE walk = CeFindFirstDatabase(0);
  if (walk == INVALID_HANDLE_VALUE) return oids;
  for (CEOID oid; (oid = CeFindNextDatabase(walk)) != 0;) oids.push_back(oid);
  CloseHandle(walk);
  return oids;
}

void dumpDatabase(CEOID oid) {
  CEDBASEINFO info{};
  if (!databaseInfo(oid, info)) return;
  std::printf("database %s \"%s\" type 0x%08X, %u records\n", hex32(oid).c_str(),
              displayUtf8(info.szDbaseName).c_str(), info.dwDbaseType, info.wNumRecords);
  HANDLE h = CeOpenDatabase(&oid, nullptr, 0, CEDB_AUTOINCREMENT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    std::printf("  cannot open it (error %u)\n", GetLastError());
    return;
  }
  BYTE* buffer = nullptr;
  for (DWORD index = 0;; ++index) {
    WORD count = 0;
    DWORD size = 0;
    LocalFree(buffer);
    buffer = nullptr;
    CEOID record = CeReadRecordProps(h, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size);
    if (!record) {
      DWORD error = GetLastError();
      if (error == ERROR_NO_MORE_ITEMS) break;
      std::printf("  record %u: unreadable (%s)\n", index,
                  error == ERROR_INVALID_DATA ? "damaged property data" : std::to_string(error).c_str());
      continue;
    }
    std::printf("  record %s\n", hex32(record).c_str());
    auto* props = reinterpret_cast<CEPROPVAL*>(buffer);
    for (WORD i = 0; i < count; ++i)
      std::printf("    %s %s\n", hex32(props[i].propid).c_str(), valueText(props[i]).c_str());
  }
  LocalFree(buffer);
  CloseHandle(h);
}

void dumpKey(HKEY key, int depth) {
  std::string indent(depth * 2, ' ');
  for (DWORD i = 0;; ++i) {
    WCHAR name[16384];
    DWORD nameSize = 16384, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    nameSize = 16384;
    RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data.data(), &size);
    std::string shown;
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && size % 2 == 0 && size >= 2) {
      std::u16string text(size / 2, u'\0');
      std::memcpy(text.data(), data.data(), size);
      shown = quoted(text.substr(0, text.find(u'\0')).c_str());
    } else if (type == REG_DWORD && size == 4) {
      DWORD value;
      std::memcpy(&value, data.data(), 4);
      shown = hex32(value);
    } else {
      shown = std::to_string(size) + " bytes " + hexBytes(std::vector<uint8_t>(data.begin(), data.begin() + std::min<DWORD>(size, 64))) +
              (size > 64 ? "..." : "");
    }
    static const char* const kTypes[] = {"REG_NONE", "REG_SZ",   "REG_EXPAND_SZ", "REG_BINARY",
                                         "REG_DWORD", "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ"};
    std::string typeName = type < 8 ? kTypes[type] : "type " + std::to_string(type);
    std::printf("%s%s = %s %s\n", indent.c_str(), nameSize ? quoted(name).c_str() : "(default)", typeName.c_str(),
                shown.c_str());
  }
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD nameSize = 256;
    if (RegEnumKeyExW(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::printf("%s%s\\\n", indent.c_str(), displayUtf8(name).c_str());
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name, 0, 0, &child) == ERROR_SUCCESS) {
      dumpKey(child, depth + 1);
      RegCloseKey(child);
    }
  }
}

}  // namespace

OpenImage::OpenImage(const std::string& file) { ok_ = store::openDeviceImage(file, error_); }

OpenImage::~OpenImage() { store::closeDeviceImage(); }

bool databaseInfo(CEOID oid, CEDBASEINFO& info) {
  CEOIDINFO all{};
  if (!CeOidGetInfo(oid, &all) || all.wObjType != OBJTYPE_DATABASE) return false;
  info = all.infDatabase;
  return true;
}

CEOID findDatabase(const std::string& database) {
  uint64_t number = 0;
  CEDBASEINFO info{};
  if (parseNumber(database, number) && number <= 0xFFFFFFFF && databaseInfo(static_cast<CEOID>(number), info))
    return static_cast<CEOID>(number);
  std::u16string name;
  if (!fromUtf8(database, name)) return 0;
  CEOID oid = 0;
  HANDLE h = CeOpenDatabase(&oid, name.data(), 0, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(h);
  return oid;
}

std::string sortText(const SORTORDERSPEC& sort) {
  std::string text = hex32(sort.propid);
  if (sort.dwFlags & CEDB_SORT_DESCENDING) text += " desc";
  if (sort.dwFlags & CEDB_SORT_CASEINSENSITIVE) text += " nocase";
  if (sort.dwFlags & CEDB_SORT_UNKNOWNFIRST) text += " unknown-first";
  if (sort.dwFlags & CEDB_SORT_GENERICORDER) text += " generic";
  return text;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "cestore: %s\n", message.c_str());
  return kExitError;
}

int runSample(const std::string& file) {
  std::string error;
  if (!store::writeSampleImage(file, error)) return fail(error);
  return kExitOk;
}

int runInfo(const std::string& file) {
  store::Image image;
  std::string error;
  if (!image.open(file, error)) return fail(file + ": " + error);
  auto count = [&](const char* sql) {
    store::Statement stmt = image.db().prepare(sql);
    return stmt.step() ? stmt.integer(0) : -1;
  };
  struct stat st {};
  ::stat(file.c_str(), &st);
  std::printf("%s: device image, format %u\n", file.c_str(), store::kSchemaVersion);
  std::printf("  databases: %lld\n", static_cast<long long>(count("SELECT count(*) FROM databases")));
  std::printf("  records: %lld\n", static_cast<long long>(count("SELECT count(*) FROM records")));
  std::printf("  registry keys: %lld\n", static_cast<long long>(count("SELECT count(*) FROM regkeys WHERE parent <> 0")));
  std::printf("  registry values: %lld\n", static_cast<long long>(count("SELECT count(*) FROM regvalues")));
  std::printf("  next identifier: %s\n",
              hex32(static_cast<uint32_t>(count("SELECT value FROM meta WHERE name = 'next_oid'"))).c_str());
  std::printf("  size: %lld bytes (%lld pages of %lld)\n", static_cast<long long>(st.st_size),
              static_cast<long long>(image.db().pragma("page_count")),
              static_cast<long long>(image.db().pragma("page_size")));
  std::printf("  access: %s\n", image.readOnly() ? "read-only" : "read-write");
  return kExitOk;
}

int runList(const std::string& file) {
  OpenImage image(file);
  if (!image.ok()) return fail(image.error());
  std::printf("%-10s  %-31s  %-10s  %7s  %9s  %-28s  %s\n", "OID", "NAME", "TYPE", "RECORDS", "SIZE", "MODIFIED",
              "SORT ORDERS");
  for (CEOID oid : allDatabases()) {
    CEDBASEINFO info{};
    if (!databaseInfo(oid, info)) continue;
    std::string sorts;
    for (WORD i = 0; i < info.wNumSortOrder && i < CEDB_MAXSORTORDER; ++i)
      sorts += (i ? ", " : "") + sortText(info.rgSortSpecs[i]);
    std::printf("%-10s  %-31s  0x%08X  %7u  %9u  %-28s  %s\n", hex32(oid).c_str(),
                displayUtf8(info.szDbaseName).c_str(), info.dwDbaseType, info.wNumRecords, info.dwSize,
                isoTime(fileTime(info.ftLastModified)).c_str(), sorts.empty() ? "-" : sorts.c_str());
  }
  return kExitOk;
}

int runDump(const std::string& file, const std::string* database) {
  OpenImage image(file);
  if (!image.ok()) return fail(image.error());
  if (!database) {
    for (CEOID oid : allDatabases()) dumpDatabase(oid);
    return kExitOk;
  }
  CEOID oid = findDatabase(*database);
  if (!oid) return fail(file + ": no database '" + *database + "'");
  dumpDatabase(oid);
  return kExitOk;
}

int runRegistry(const std::string& file) {
  OpenImage image(file);
  if (!image.ok()) return fail(image.error());
  for (auto [root, name] : {std::pair{HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                            std::pair{HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                            std::pair{HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"}, std::pair{HKEY_USERS, "HKEY_USERS"}}) {
    std::printf("%s\\\n", name);
    dumpKey(root, 1);
  }
  return kExitOk;
}

int runCheck(const std::string& file) {
  store::Image image;
  std::string error;
  if (!image.open(file, error)) return fail(file + ": " + error);
  store::CheckReport report = store::checkImage(image);
  if (report.ok()) {
    std::printf("%s: ok: %u databases, %llu records, %u registry keys, %u values\n", file.c_str(), report.databases,
                static_cast<unsigned long long>(report.records), report.keys, report.values);
    return kExitOk;
  }
  std::printf("%s: damaged: %zu problem%s\n", file.c_str(), report.problems.size(),
              report.problems.size() == 1 ? "" : "s");
  for (const std::string& problem : report.problems) std::printf("  %s\n", problem.c_str());
  return kExitDamaged;
}

int runDeleteAll(const std::string& file, const std::string& database) {
  OpenImage image(file);
  if (!image.ok()) return fail(image.error());
  std::u16string name;
  CEOID oid = 0;
  if (!fromUtf8(database, name)) return fail(file + ": bad database name");
  HANDLE h = CeOpenDatabase(&oid, name.data(), 0, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return fail(file + ": no database '" + database + "'");
  for (CEOID record; (record = CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 0, nullptr)) != 0;) {
    if (!CeDeleteRecord(h, record)) {
      CloseHandle(h);
      return fail(file + ": deleting " + hex32(record) + " failed with error " + std::to_string(GetLastError()));
    }
    std::printf("%s\n", hex32(record).c_str());
    std::fflush(stdout);
  }
  CloseHandle(h);
  return kExitOk;
}

}  // namespace cestore
