// export and import: the image as a JSON document, exact enough that an
// exported image imports into one that exports the same bytes.
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Commands.h"
#include "Text.h"
#include "store/Image.h"
#include "store/ImageWriter.h"
#include "store/Record.h"
#include "store/Schema.h"

namespace cestore {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormat = "vantor-device-image";
constexpr int kJsonVersion = 1;

struct TypeName {
  WORD type;
  const char* name;
};
const TypeName kTypeNames[] = {{CEVT_I2, "I2"},         {CEVT_UI2, "UI2"},           {CEVT_I4, "I4"},
                               {CEVT_UI4, "UI4"},       {CEVT_BOOL, "BOOL"},         {CEVT_R8, "R8"},
                               {CEVT_FILETIME, "FILETIME"}, {CEVT_LPWSTR, "LPWSTR"}, {CEVT_BLOB, "BLOB"}};

const char* typeName(WORD type) {
  for (const TypeName& t : kTypeNames)
    if (t.type == type) return t.name;
  return nullptr;
}

// Text as UTF-8 when it can be, else its UTF-16 code units in hex.
void putText(Json& object, const char* key, const std::u16string& text) {
  std::string utf8;
  if (toUtf8(text, utf8))
    object[key] = utf8;
  else
    object[std::string(key) + "Utf16"] = hexBytes(store::utf16Bytes(text));
}

std::string hex64(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(value));
  return text;
}

Json propertyJson(const store::PropValue& value) {
  Json p;
  WORD type = store::propType(value.propid);
  p["id"] = hex32(value.propid);
  p["type"] = typeName(type);
  switch (type) {
    case CEVT_I2: p["value"] = static_cast<int16_t>(value.bits); break;
    case CEVT_UI2: p["value"] = static_cast<uint16_t>(value.bits); break;
    case CEVT_I4: p["value"] = static_cast<int32_t>(value.bits); break;
    case CEVT_UI4: p["value"] = static_cast<uint32_t>(value.bits); break;
    case CEVT_BOOL:
      if (value.bits <= 1)
        p["value"] = value.bits == 1;
      else
        p["value"] = static_cast<int32_t>(value.bits);
      break;
    case CEVT_R8: {
      double d;
      std::memcpy(&d, &value.bits, sizeof d);
      if (std::isfinite(d))
        p["value"] = d;
      else
        p["bits"] = hex64(value.bits);
      break;
    }
    case CEVT_FILETIME: p["value"] = Json{{"time", isoTime(value.bits)}, {"raw", value.bits}}; break;
    case CEVT_LPWSTR: putText(p, "value", value.text); break;
    case CEVT_BLOB: p["value"] = hexBytes(value.blob); break;
  }
  return p;
}

class ExportError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

Json registryJson(store::Connection& db, int64_t key) {
  Json node = Json::object();
  Json values = Json::array();
  store::Statement v = db.prepare("SELECT name, type, data FROM regvalues WHERE key = ? ORDER BY id");
  v.bind(1, key);
  while (v.step()) {
    Json value;
    putText(value, "name", store::utf16FromBytes(v.blob(0)));
    value["type"] = v.integer(1);
    value["data"] = hexBytes(v.blob(2));
    values.push_back(std::move(value));
  }
  Json keys = Json::array();
  store::Statement k = db.prepare("SELECT id, name FROM regkeys WHERE parent = ? ORDER BY id");
  k.bind(1, key);
  std::vector<std::pair<int64_t, std::u16string>> children;
  while (k.step()) children.emplace_back(k.integer(0), store::utf16FromBytes(k.blob(1)));
  for (auto& [id, name] : children) {
    Json child;
    putText(child, "name", name);
    Json inner = registryJson(db, id);
    child["values"] = inner["values"];
    child["keys"] = inner["keys"];
    keys.push_back(std::move(child));
  }
  node["values"] = std::move(values);
  node["keys"] = std::move(keys);
  return node;
}

const std::pair<const char*, int64_t> kRoots[] = {{"HKEY_CLASSES_ROOT", store::kRootClasses},
                                                  {"HKEY_CURRENT_USER", store::kRootCurrentUser},
                                                  {"HKEY_LOCAL_MACHINE", store::kRootLocalMachine},
                                                  {"HKEY_USERS", store::kRootUsers}};

Json exportJson(store::Image& image) {
  store::Connection& db = image.db();
  Json doc;
  doc["format"] = kFormat;
  doc["version"] = kJsonVersion;
  store::Statement next = db.prepare("SELECT value FROM meta WHERE name = 'next_oid'");
  char nextOid[24];
  std::snprintf(nextOid, sizeof nextOid, "0x%08llX", next.step() ? static_cast<unsigned long long>(next.integer(0)) : 0ULL);
  doc["nextOid"] = nextOid;
  Json databases = Json::array();
  store::Statement dbs = db.prepare("SELECT oid, name, type, flags, modified FROM databases ORDER BY oid");
  store::Statement sorts = db.prepare("SELECT propid, flags FROM sortorders WHERE db = ? ORDER BY slot");
  store::Statement records = db.prepare("SELECT oid, props FROM records WHERE db = ? ORDER BY oid");
  while (dbs.step()) {
    int64_t oid = dbs.integer(0);
    Json d;
    d["oid"] = hex32(static_cast<uint32_t>(oid));
    putText(d, "name", store::utf16FromBytes(dbs.blob(1)));
    d["type"] = hex32(static_cast<uint32_t>(dbs.integer(2)));
    d["flags"] = dbs.integer(3);
    uint64_t modified = static_cast<uint64_t>(dbs.integer(4));
    d["modified"] = Json{{"time", isoTime(modified)}, {"raw", modified}};
    Json sortOrders = Json::array();
    sorts.reset();
    sorts.bind(1, oid);
    while (sorts.step())
      sortOrders.push_back(Json{{"id", hex32(static_cast<uint32_t>(sorts.integer(0)))}, {"flags", sorts.integer(1)}});
    d["sortOrders"] = std::move(sortOrders);
    Json recs = Json::array();
    records.reset();
    records.bind(1, oid);
    while (records.step()) {
      std::vector<uint8_t> props = records.blob(1);
      store::Record record;
      std::string why;
      if (!store::decodeRecord(props.data(), props.size(), record, &why))
        throw ExportError("record " + hex32(static_cast<uint32_t>(records.integer(0))) + " is damaged (" + why +
                          "); run cestore check");
      Json r;
      r["oid"] = hex32(static_cast<uint32_t>(records.integer(0)));
      Json list = Json::array();
      for (const store::PropValue& value : record) list.push_back(propertyJson(value));
      r["props"] = std::move(list);
      recs.push_back(std::move(r));
    }
    d["records"] = std::move(recs);
    databases.push_back(std::move(d));
  }
  doc["databases"] = std::move(databases);
  Json registry;
  for (auto& [name, id] : kRoots) registry[name] = registryJson(db, id);
  doc["registry"] = std::move(registry);
  return doc;
}

// ---- import

class ImportError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

const Json& member(const Json& object, const char* key, const std::string& at) {
  if (!object.is_object() || !object.contains(key)) throw ImportError(at + ": \"" + key + "\" missing");
  return object.at(key);
}

uint64_t number(const Json& value, uint64_t max, const std::string& at) {
  uint64_t out = 0;
  if (value.is_string()) {
    if (!parseNumber(value.get<std::string>(), out)) throw ImportError(at + ": not a number");
  } else if (value.is_number_unsigned()) {
    out = value.get<uint64_t>();
  } else if (value.is_number_integer() && value.get<int64_t>() >= 0) {
    out = static_cast<uint64_t>(value.get<int64_t>());
  } else {
    throw ImportError(at + ": not a number");
  }
  if (out > max) throw ImportError(at + ": out of range");
  return out;
}

int64_t signedNumber(const Json& value, int64_t min, int64_t max, const std::string& at) {
  if (!value.is_number_integer()) throw ImportError(at + ": not an integer");
  int64_t out = value.is_number_unsigned() && value.get<uint64_t>() > uint64_t(INT64_MAX) ? INT64_MAX : value.get<int64_t>();
  if (out < min || out > max) throw ImportError(at + ": out of range");
  return out;
}

std::u16string text(const Json& object, const char* key, const std::string& at) {
  std::u16string out;
  std::string utf16Key = std::string(key) + "Utf16";
  if (object.is_object() && object.contains(utf16Key)) {
    const Json& hex = object.at(utf16Key);
    std::vector<uint8_t> bytes;
    if (!hex.is_string() || !parseHexBytes(hex.get<std::string>(), bytes) || bytes.size() % 2)
      throw ImportError(at + ": \"" + utf16Key + "\" is not UTF-16 in hex");
    return store::utf16FromBytes(bytes);
  }
  const Json& value = member(object, key, at);
  if (!value.is_string() || !fromUtf8(value.get<std::string>(), out)) throw ImportError(at + ": \"" + key + "\" is not UTF-8 text");
  return out;
}

std::vector<uint8_t> hexData(const Json& value, const std::string& at) {
  std::vector<uint8_t> bytes;
  if (!value.is_string() || !parseHexBytes(value.get<std::string>(), bytes)) throw ImportError(at + ": not hex bytes");
  return bytes;
}

store::PropValue propertyFrom(const Json& p, const std::string& at) {
  store::PropValue value;
  value.propid = static_cast<CEPROPID>(number(member(p, "id", at), 0xFFFFFFFF, at + ": id"));
  WORD type = store::propType(value.propid);
  const char* name = typeName(type);
  if (!name) throw ImportError(at + ": unknown property type " + std::to_string(type));
  const Json& declared = member(p, "type", at);
  if (!declared.is_string() || declared.get<std::string>() != name)
    throw ImportError(at + ": \"type\" does not match the identifier's type " + name);
  std::string where = at + ": value";
  switch (type) {
    case CEVT_I2: value.bits = static_cast<uint16_t>(signedNumber(member(p, "value", at), -32768, 32767, where)); break;
    case CEVT_UI2: value.bits = number(member(p, "value", at), 0xFFFF, where); break;
    case CEVT_I4:
      value.bits = static_cast<uint32_t>(signedNumber(member(p, "value", at), INT32_MIN, INT32_MAX, where));
      break;
    case CEVT_UI4: value.bits = number(member(p, "value", at), 0xFFFFFFFF, where); break;
    case CEVT_BOOL: {
      const Json& v = member(p, "value", at);
      value.bits = v.is_boolean() ? (v.get<bool>() ? 1 : 0)
                                  : static_cast<uint32_t>(signedNumber(v, INT32_MIN, INT32_MAX, where));
      break;
    }
    case CEVT_R8:
      if (p.contains("bits")) {
        value.bits = number(p.at("bits"), UINT64_MAX, at + ": bits");
      } else {
        const Json& v = member(p, "value", at);
        if (!v.is_number()) throw ImportError(where + ": not a number");
        double d = v.get<double>();
        std::memcpy(&value.bits, &d, sizeof d);
      }
      break;
    case CEVT_FILETIME: value.bits = number(member(member(p, "value", at), "raw", where), UINT64_MAX, where + ": raw"); break;
    case CEVT_LPWSTR: value.text = text(p, "value", at); break;
    case CEVT_BLOB: value.blob = hexData(member(p, "value", at), where); break;
  }
  if (store::checkValue(value) != store::ValueProblem::None)
    throw ImportError(at + ": the value is over the limits or holds a null character");
  return value;
}

void importKey(store::ImageWriter& writer, int64_t key, const Json& node, const std::string& at) {
  const Json& values = member(node, "values", at);
  if (!values.is_array()) throw ImportError(at + ": \"values\" is not a list");
  for (size_t i = 0; i < values.size(); ++i) {
    std::string vat = at + ": value " + std::to_string(i);
    std::u16string name = text(values[i], "name", vat);
    DWORD type = static_cast<DWORD>(number(member(values[i], "type", vat), 0xFFFFFFFF, vat + ": type"));
    if (!writer.addValue(key, name, type, hexData(member(values[i], "data", vat), vat + ": data")))
      throw ImportError(vat + ": " + writer.error());
  }
  const Json& keys = member(node, "keys", at);
  if (!keys.is_array()) throw ImportError(at + ": \"keys\" is not a list");
  for (size_t i = 0; i < keys.size(); ++i) {
    std::u16string name = text(keys[i], "name", at + ": key " + std::to_string(i));
    std::string kat = at + "\\" + displayUtf8(name);
    int64_t child = writer.addChildKey(key, name);
    if (!child) throw ImportError(kat + ": " + writer.error());
    importKey(writer, child, keys[i], kat);
  }
}

void importJson(store::ImageWriter& writer, const Json& doc) {
  if (!doc.is_object() || !doc.contains("format") || doc.at("format") != kFormat)
    throw ImportError("not a device image export (\"format\" is not \"" + std::string(kFormat) + "\")");
  if (number(member(doc, "version", "document"), UINT32_MAX, "version") != kJsonVersion)
    throw ImportError("made by another version of cestore (\"version\" is not 1)");
  const Json& databases = member(doc, "databases", "document");
  if (!databases.is_array()) throw ImportError("\"databases\" is not a list");
  for (size_t i = 0; i < databases.size(); ++i) {
    const Json& d = databases[i];
    std::string at = "database " + std::to_string(i);
    store::DatabaseDefinition definition;
    definition.oid = static_cast<CEOID>(number(member(d, "oid", at), 0xFFFFFFFF, at + ": oid"));
    if (definition.oid < store::kFirstOid) throw ImportError(at + ": oid below " + hex32(store::kFirstOid));
    definition.name = text(d, "name", at);
    if (definition.name.size() > CEDB_MAXDBASENAMELEN - 1) throw ImportError(at + ": name longer than 31 characters");
    definition.type = static_cast<DWORD>(number(member(d, "type", at), 0xFFFFFFFF, at + ": type"));
    definition.flags = static_cast<DWORD>(number(member(d, "flags", at), 0xFFFFFFFF, at + ": flags"));
    definition.modified = number(member(member(d, "modified", at), "raw", at + ": modified"), UINT64_MAX, at + ": modified");
    const Json& sorts = member(d, "sortOrders", at);
    if (!sorts.is_array()) throw ImportError(at + ": \"sortOrders\" is not a list");
    for (size_t s = 0; s < sorts.size(); ++s) {
      std::string sat = at + ": sort order " + std::to_string(s);
      definition.sorts.push_back({static_cast<CEPROPID>(number(member(sorts[s], "id", sat), 0xFFFFFFFF, sat)),
                            static_cast<DWORD>(number(member(sorts[s], "flags", sat), 0xF, sat + ": flags"))});
    }
    CEOID db = writer.addDatabase(definition);
    if (!db) throw ImportError(at + ": " + writer.error());
    at = "database \"" + displayUtf8(definition.name) + "\"";
    const Json& records = member(d, "records", at);
    if (!records.is_array()) throw ImportError(at + ": \"records\" is not a list");
    for (size_t r = 0; r < records.size(); ++r) {
      std::string rat = at + ": record " + std::to_string(r);
      CEOID oid = static_cast<CEOID>(number(member(records[r], "oid", rat), 0xFFFFFFFF, rat + ": oid"));
      if (oid < store::kFirstOid) throw ImportError(rat + ": oid below " + hex32(store::kFirstOid));
      const Json& props = member(records[r], "props", rat);
      if (!props.is_array()) throw ImportError(rat + ": \"props\" is not a list");
      store::Record record;
      for (size_t p = 0; p < props.size(); ++p) {
        store::PropValue value = propertyFrom(props[p], rat + ": property " + std::to_string(p));
        for (const store::PropValue& seen : record)
          if (seen.propid == value.propid) throw ImportError(rat + ": property " + hex32(value.propid) + " twice");
        record.push_back(std::move(value));
      }
      if (!writer.addRecord(db, record, oid)) throw ImportError(rat + ": " + writer.error());
    }
  }
  if (doc.contains("registry")) {
    const Json& registry = doc.at("registry");
    for (auto& [name, id] : kRoots)
      if (registry.contains(name)) importKey(writer, id, registry.at(name), name);
  }
  writer.reserveOids(number(member(doc, "nextOid", "document"), 0x100000000ULL, "nextOid"));
}

}  // namespace

int runExport(const std::string& file) {
  store::Image image;
  std::string error;
  if (!image.open(file, error)) return fail(file + ": " + error);
  try {
    std::string text = exportJson(image).dump(1, '\t', false, nlohmann::json::error_handler_t::strict);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
  } catch (const std::exception& e) {
    return fail(file + ": " + e.what());
  }
  return std::fflush(stdout) == 0 ? kExitOk : fail("cannot write the export");
}

int runImport(const std::string& file, const std::string& jsonFile) {
  std::string input;
  if (jsonFile == "-") {
    input.assign(std::istreambuf_iterator<char>(std::cin), {});
  } else {
    std::ifstream in(jsonFile, std::ios::binary);
    if (!in) return fail(jsonFile + ": cannot read it: " + std::strerror(errno));
    std::ostringstream buffer;
    buffer << in.rdbuf();
    input = buffer.str();
  }
  Json doc;
  try {
    doc = Json::parse(input);
  } catch (const std::exception& e) {
    std::string why = e.what();
    return fail(jsonFile + ": not JSON: " + why.substr(0, why.find('\n')));
  }
  if (::access(file.c_str(), F_OK) == 0) return fail(file + ": it already exists");
  // Built beside the target and renamed, so a refused import leaves nothing.
  std::string part = file + ".part";
  ::unlink(part.c_str());
  std::string error;
  {
    store::Image image;
    if (!image.create(part, error, true)) return fail(file + ": " + error);
    store::ImageWriter writer(image);
    try {
      if (!writer.begin()) throw ImportError(writer.error());
      importJson(writer, doc);
      if (!writer.commit()) throw ImportError(writer.error());
    } catch (const std::exception& e) {
      image.close();
      ::unlink(part.c_str());
      return fail(jsonFile + ": " + e.what());
    }
    if (!image.finish(error)) {
      ::unlink(part.c_str());
      return fail(file + ": " + error);
    }
  }
  if (::rename(part.c_str(), file.c_str()) != 0) {
    ::unlink(part.c_str());
    return fail(file + ": cannot write it: " + std::strerror(errno));
  }
  return kExitOk;
}

}  // namespace cestore
