#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <windows.h>
#include <windbase.h>

#include "store/DeviceImage.h"
#include "store/Image.h"
#include "store/ImageWriter.h"
#include "store/Sqlite.h"

namespace {

struct Outcome {
  int exitCode = -1;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ostringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

class Cestore : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = (std::filesystem::temp_directory_path() / "vantor-cestore-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir_.data()), nullptr);
  }
  void TearDown() override {
    store::closeDeviceImage();
    std::filesystem::remove_all(dir_);
  }

  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  Outcome run(const std::vector<std::string>& args) {
    std::string command = std::string("'") + CESTORE_EXE + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    int status = std::system((command + " >'" + path("stdout") + "' 2>'" + path("stderr") + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(path("stdout")), slurp(path("stderr"))};
  }

  // A small image with every kind of value the store keeps.
  void makeVariedImage(const std::string& file) {
    store::Image image;
    std::string error;
    ASSERT_TRUE(image.create(file, error)) << error;
    store::ImageWriter w(image);
    ASSERT_TRUE(w.begin());
    // The name holds an unpaired surrogate.
    CEOID db = w.addDatabase({.name = u"Odd \xD800 names ü", .type = 0x42,
                              .sorts = {{0x0001001F, CEDB_SORT_CASEINSENSITIVE}, {0x00020005, CEDB_SORT_DESCENDING}},
                              .modified = 0x01C2000011112222ULL});
    auto num = [](CEPROPID id, uint64_t bits) { return store::PropValue{id, bits, {}, {}}; };
    auto real = [&](CEPROPID id, double d) { return num(id, std::bit_cast<uint64_t>(d)); };
    store::PropValue text{0x0001001F, 0, u"Grüße \"quoted\"\n\xD83D\xDE00", {}};
    store::PropValue broken{0x0003001F, 0, u"half \xDC00 pair", {}};
    store::PropValue blob{0x00040041, 0, {}, {0, 1, 0xFE, 0xFF}};
    ASSERT_NE(w.addRecord(db, {text, real(0x00020005, -0.0), num(0x00050002, 0x8000), num(0x00060012, 65535),
                                num(0x00070003, 0x80000000), num(0x00080013, 0xFFFFFFFF), num(0x0009000B, 2),
                                num(0x000A000B, 1), num(0x000B0040, 0xFFFFFFFFFFFFFFFFULL), blob, broken}),
              0u);
    ASSERT_NE(w.addRecord(db, {real(0x00020005, NAN), real(0x00030005, 1.0 / 3)}), 0u);
    ASSERT_NE(w.addRecord(db, {real(0x00020005, INFINITY)}), 0u);
    ASSERT_NE(w.addDatabase({.name = u"Empty", .sorts = {}}), 0u);
    int64_t key = w.addKey(3, u"Software\\Tarniwell\\Vantor");
    ASSERT_NE(key, 0);
    ASSERT_TRUE(w.addValue(key, u"Font", REG_BINARY, std::vector<uint8_t>(92, 7)));
    ASSERT_TRUE(w.addValue(key, u"", REG_SZ, {'x', 0, 0, 0}));
    ASSERT_TRUE(w.addValue(w.addKey(2, u"Ünïcode"), u"\xD801", REG_DWORD, {1, 2, 3, 4}));
    w.reserveOids(0x00200000);
    ASSERT_TRUE(w.commit()) << w.error();
  }

  std::string dir_;
};

void execSql(const std::string& file, const std::string& sql) {
  store::Connection raw;
  std::string error;
  ASSERT_TRUE(raw.open(file, store::Connection::Mode::Create, error)) << error;
  ASSERT_TRUE(raw.exec(sql)) << sql << ": " << raw.lastError();
}

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

TEST_F(Cestore, SampleIsCreatedCheckedAndListed) {
  std::string file = path("sample.img");
  Outcome sample = run({"sample", file});
  ASSERT_EQ(sample.exitCode, 0) << sample.err;
  Outcome check = run({"check", file});
  EXPECT_EQ(std::make_tuple(check.exitCode, check.out.find(": ok: 12 databases") != std::string::npos),
            std::make_tuple(0, true)) << check.out;
  Outcome list = run({"list", file});
  EXPECT_EQ(list.exitCode, 0);
  for (const char* name : {"Contacts Database", "Appointments Database", "Tasks Database", "Categories Database",
                           "DB_notify_events", "DB_notify_queue", "65535", "Z  0x0001001F nocase\n", "Z  -\n"})
    EXPECT_NE(list.out.find(name), std::string::npos) << name;
  // The same sample every time, byte for byte.
  ASSERT_EQ(run({"sample", path("second.img")}).exitCode, 0);
  EXPECT_TRUE(slurp(path("second.img")) == slurp(file)) << "a second sample differs from the first";
  Outcome again = run({"sample", file});
  EXPECT_EQ(std::make_tuple(again.exitCode, lineCount(again.err), again.err.find("already exists") != std::string::npos),
            std::make_tuple(2, 1, true)) << again.err;
}

// A refused import names the document and its fault in one line and leaves no file.
TEST_F(Cestore, ExportImportRoundTripsByteForByteAndRefusesBadDocuments) {
  std::string original = path("original.img"), copy = path("copy.img");
  makeVariedImage(original);
  Outcome exported = run({"export", original});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  std::ofstream(path("export.json")) << exported.out;
  ASSERT_EQ(run({"import", copy, path("export.json")}).exitCode, 0);
  for (const char* command : {"export", "dump", "reg"})
    EXPECT_EQ(run({command, copy}).out, run({command, original}).out) << command;
  EXPECT_EQ(run({"check", copy}).exitCode, 0);
  // The odd values are carried in their exact forms.
  for (const char* form : {"\"nameUtf16\"", "\"bits\": \"0x7FF8", "\"value\": 2", "\"raw\": 18446744073709551615",
                           "\"value\": -0.0", "\"nextOid\": \"0x00200000\"", "\"value\": \"0001feff\"",
                           "\"value\": true", "\\n\xF0\x9F\x98\x80\""})
    EXPECT_NE(exported.out.find(form), std::string::npos) << form;
  // New identifiers continue after the imported ones.
  std::string error;
  ASSERT_TRUE(store::openDeviceImage(copy, error)) << error;
  EXPECT_EQ(CeCreateDatabase(const_cast<LPWSTR>(u"New"), 0, 0, nullptr), 0x00200000u);

  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string doc = exported.out;
    const size_t at = doc.find(from);
    // A text that is not there makes a document refused for another reason.
    return at == std::string::npos ? "missing " + from : doc.replace(at, from.size(), to);
  };
  struct Case { const char* what; std::string doc; const char* reason; };
  std::vector<Case> cases = {
      {"not JSON", "{\"format\": ", "not JSON"},
      {"another format", replaced("vantor-device-image", "something-else"), "not a device image export"},
      {"a type that does not match", replaced("\"type\": \"R8\"", "\"type\": \"I4\""), "does not match"},
      {"a short out of range", replaced("\"value\": -32768", "\"value\": 40000"), "out of range"},
      {"bad hex", replaced("\"0001feff\"", "\"0001fez\""), "not hex"},
      {"an identifier twice", replaced("\"oid\": \"0x00010003\"", "\"oid\": \"0x00010001\""), "given twice"},
      {"a blob sort key", replaced("\"id\": \"0x00020005\",\n\t\t\t\t\t\"flags\"", "\"id\": \"0x00020041\",\n\t\t\t\t\t\"flags\""),
       "sort"},
      {"a string with a null", replaced("Grüße", "Gr\\u0000üße"), "null"},
  };
  for (const Case& c : cases) {
    const std::string target = path("target.img");
    std::ofstream(path("bad.json")) << c.doc;
    Outcome r = run({"import", target, path("bad.json")});
    // Exit code, lines, the file and the reason named, then no image and no leftover part.
    EXPECT_EQ(std::make_tuple(r.exitCode, lineCount(r.err), r.err.find("bad.json") != std::string::npos,
                              r.err.find(c.reason) != std::string::npos, std::filesystem::exists(target),
                              std::filesystem::exists(target + ".part")),
              std::make_tuple(2, 1, true, true, false, false))
        << c.what << ": " << r.err;
  }
}

// Bad arguments and files that are no image get one line and exit code 2.
TEST_F(Cestore, CheckFindsEachKindOfDamageAndBadArgumentsAndFilesAreRefused) {
  std::string clean = path("clean.img");
  makeVariedImage(clean);
  ASSERT_EQ(run({"check", clean}).exitCode, 0);
  struct Case { const char* what; std::string sql; const char* finding; };
  std::vector<Case> cases = {
      {"damaged property data", "UPDATE records SET props = x'0500' WHERE oid = 0x00010002", "damaged property data"},
      {"wrong record count", "UPDATE databases SET records = 7 WHERE oid = 0x00010001", "says 7 records, holds 3"},
      {"wrong size", "UPDATE databases SET size = size + 1 WHERE oid = 0x00010001", "its records make"},
      {"stale sort key", "UPDATE records SET k1 = x'10' WHERE oid = 0x00010003", "does not match its value"},
      {"key without a sort order", "UPDATE records SET k3 = x'10' WHERE oid = 0x00010003", "which its database lacks"},
      {"orphan record", "UPDATE records SET db = 0x00300000 WHERE oid = 0x00010003", "belongs to no database"},
      {"identifier used twice", "UPDATE records SET oid = 0x00010005 WHERE oid = 0x00010004", "used twice"},
      {"identifier past the counter", "UPDATE meta SET value = 0x00010003", "not below the next identifier"},
      {"blob sort key", "UPDATE sortorders SET propid = 0x00020041 WHERE slot = 1", "cannot be a sort key"},
      {"sort order gap", "UPDATE sortorders SET slot = 3 WHERE slot = 1", "in turn"},
      {"folded name", "UPDATE databases SET folded = x'4500' WHERE oid = 0x00010005", "folded name"},
      {"orphan registry value", "UPDATE regvalues SET key = 999 WHERE id = 1", "its key is missing"},
      {"registry loop", "UPDATE regkeys SET parent = 7 WHERE id = 5", "loop"},
  };
  for (const Case& c : cases) {
    std::string file = path("damaged.img");
    std::filesystem::copy_file(clean, file, std::filesystem::copy_options::overwrite_existing);
    execSql(file, c.sql);
    Outcome r = run({"check", file});
    EXPECT_EQ(std::make_tuple(r.exitCode, r.out.find("damaged:") != std::string::npos,
                              r.out.find(c.finding) != std::string::npos),
              std::make_tuple(1, true, true))
        << c.what << ": " << r.out << r.err;
  }

  std::string noise = path("noise.bin"), foreign = path("foreign.db");
  std::ofstream(noise) << std::string(5000, 'x');
  execSql(foreign, "CREATE TABLE t(x)");
  struct Refusal { std::vector<std::string> args; const char* mention; };
  std::vector<Refusal> refusals = {
      {{}, "usage"},
      {{"frobnicate", clean}, "unknown command"},
      {{"list"}, "wrong number of arguments"},
      {{"import", clean}, "wrong number of arguments"},
      {{"dump", clean, "No Such Database"}, "No Such Database"},
      {{"csv", clean, "No Such Database"}, "No Such Database"},
      {{"csv", clean, "Empty", "--sort", "0x00010013"}, "'Empty' has no sort order on 0x00010013 (it has none)"},
      {{"csv", clean, "0x00010001", "--sort", "0x00030013"},
       "no sort order on 0x00030013 (its sort orders: 0x0001001F nocase, 0x00020005 desc)"},
      {{"csv", clean, "Empty", "--sort", "name"}, "--sort takes a property identifier"},
  };
  for (const char* command : {"info", "list", "dump", "reg", "check", "export"}) {
    refusals.push_back({{command, path("missing.img")}, "missing.img: cannot open it"});
    refusals.push_back({{command, noise}, "noise.bin: not a device image"});
    refusals.push_back({{command, foreign}, "foreign.db: not a device image"});
  }
  for (const Refusal& c : refusals) {
    Outcome r = run(c.args);
    // Usage takes several lines; every other refusal takes one.
    EXPECT_EQ(std::make_tuple(r.exitCode, r.err.find(c.mention) != std::string::npos,
                              c.args.empty() || lineCount(r.err) == 1, r.out),
              std::make_tuple(2, true, true, std::string()))
        << (c.args.empty() ? "(none)" : c.args[0]) << ": " << r.err;
  }
}

TEST_F(Cestore, AKilledDeletionRunLosesNothingButWhatItDeleted) {
  std::string file = path("durable.img");
  std::vector<CEOID> all;
  CEOID bystander = 0;
  {
    store::Image image;
    std::string error;
    ASSERT_TRUE(image.create(file, error)) << error;
    store::ImageWriter w(image);
    ASSERT_TRUE(w.begin());
    bystander = w.addDatabase({.name = u"Bystander", .sorts = {}});
    CEOID db = w.addDatabase({.name = u"Doomed", .sorts = {{0x00010013, 0}}});
    for (uint32_t i = 0; i < 2000; ++i) {
      all.push_back(w.addRecord(db, {{0x00010013, i, {}, {}}}));
      w.addRecord(bystander, {{0x00010013, i, {}, {}}});
    }
    ASSERT_TRUE(w.commit());
  }
  std::vector<CEOID> reported;
  for (int round = 0; round < 3; ++round) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      dup2(pipeFds[1], 1);
      close(pipeFds[0]);
      execl(CESTORE_EXE, CESTORE_EXE, "_delete-all", file.c_str(), "Doomed", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeFds[1]);
    FILE* lines = fdopen(pipeFds[0], "r");
    char line[64];
    // Killed after a different number of deletions each round; lines written
    // before the kill may still be in the pipe.
    int status = 0;
    for (int n = 0; std::fgets(line, sizeof line, lines); ++n) {
      reported.push_back(static_cast<CEOID>(std::strtoul(line, nullptr, 16)));
      if (n + 1 == 150 + 70 * round) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
      }
    }
    fclose(lines);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before it was killed";

    Outcome check = run({"check", file});
    ASSERT_EQ(check.exitCode, 0) << "round " << round << ": " << check.out << check.err;

    std::string error;
    ASSERT_TRUE(store::openDeviceImage(file, error)) << error;
    CEOIDINFO info{};
    ASSERT_TRUE(CeOidGetInfo(bystander, &info));
    EXPECT_EQ(info.infDatabase.wNumRecords, 2000) << "the other database is untouched";
    std::set<CEOID> present;
    for (CEOID oid : all)
      if (CeOidGetInfo(oid, &info)) present.insert(oid);
    store::closeDeviceImage();

    // Deletions run in creation order: what is gone is a prefix, every
    // reported deletion is in it, and at most the one in flight at the
    // kill went without being reported.
    for (CEOID oid : reported) EXPECT_FALSE(present.count(oid)) << "round " << round << ": reported " << oid;
    size_t gone = all.size() - present.size();
    EXPECT_GE(gone, reported.size());
    EXPECT_LE(gone, reported.size() + 1) << "round " << round;
    for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(present.count(all[i]) == 0, i < gone) << i;
  }
}
