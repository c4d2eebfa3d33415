#include "store/SampleImage.h"

#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <winreg.h>

#include "store/DeviceImage.h"
#include "store/ImageWriter.h"
#include "store/Schema.h"

namespace store {
namespace {

// A fixed generator: the same sample every time.
class Dice {
 public:
  uint32_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state_ >> 33);
  }
  uint32_t below(uint32_t n) { return next() % n; }
  template <typename T, size_t N>
  const T& pick(const T (&items)[N]) {
    return items[below(N)];
  }

 private:
  uint64_t state_ = 0x5EED2002;
};

std::u16string u16(const char* text) {
  std::u16string out;
  for (const char* p = text; *p; ++p) out.push_back(static_cast<unsigned char>(*p));
  return out;
}

PropValue text(CEPROPID id, const std::u16string& value) {
  PropValue v;
  v.propid = id;
  v.text = value;
  return v;
}
PropValue text(CEPROPID id, const char* value) { return text(id, u16(value)); }
PropValue number(CEPROPID id, uint64_t bits) {
  PropValue v;
  v.propid = id;
  v.bits = bits;
  return v;
}
PropValue real(CEPROPID id, double value) {
  PropValue v;
  v.propid = id;
  std::memcpy(&v.bits, &value, sizeof value);
  return v;
}
PropValue blob(CEPROPID id, const std::string& bytes) {
  PropValue v;
  v.propid = id;
  v.blob.assign(bytes.begin(), bytes.end());
  return v;
}

constexpr uint64_t kMinute = 600000000ULL;
constexpr uint64_t kDay = 1440 * kMinute;

const char* const kGiven[] = {"Anna",  "Ben",    "Carla", "David", "Elena",  "Frank", "Grace", "Hugo",
                              "Irene", "Jonas",  "Karin", "Lukas", "Maria",  "Nils",  "Olga",  "Peter",
                              "Rosa",  "Stefan", "Tanja", "Uwe",   "Vera",   "Walter", "Yvonne", "Zoltan",
                              "José",  "Zoë",    "Åsa",   "Émile", "Renée", "Øystein"};
const char* const kSurname[] = {"Adams",  "Becker",  "Clarke", "Dietrich", "Evans",  "Fischer", "García",
                                "Hansen", "Ivanova", "Jensen", "Keller",   "Larsen", "Müller",  "Nowak",
                                "Olsen",  "Petrov",  "Quinn",  "Richter",  "Schulz", "Tanaka",  "Umber",
                                "Vogel",  "Walsh",   "Xu",     "Young",    "Zimmer", "de Vries", "van Dijk",
                                "O'Brien", "Åberg"};
const char* const kCompany[] = {"Contoso Ltd.",   "Fabrikam",         "Northwind Traders", "Tailspin Toys",
                                "Litware Inc.",   "Adventure Works",  "Coho Winery",       "Wingtip Toys",
                                "Proseware",      "Lucerne Publishing", "Margie's Travel", "Fourth Coffee",
                                "",               ""};
const char* const kCategory[] = {"Business", "Personal", "Holiday", "Seasonal", "Hot Contacts", "Ideas", "Miscellaneous"};
const char* const kCity[] = {"Seattle", "Redmond", "Berlin", "München", "Zürich", "Oslo", "Paris", "Tokyo"};
const char* const kSubject[] = {"Project review", "Lunch", "Dentist", "Team meeting", "Call back", "Budget",
                                "Flight to Berlin", "Birthday party", "Quarterly report", "Gym", "Sync with PC"};

// "Dietrich, Anna" as Pocket Outlook files contacts.
std::u16string fileAs(const std::u16string& surname, const std::u16string& given) {
  return surname + u", " + given;
}

std::u16string utf8ToUtf16(const char* text) {
  std::u16string out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    uint32_t c = *p++;
    if (c >= 0xC0 && c < 0xE0 && *p) c = ((c & 0x1F) << 6) | (*p++ & 0x3F);
    else if (c >= 0xE0 && p[0] && p[1]) {
      c = ((c & 0x0F) << 12) | ((p[0] & 0x3F) << 6) | (p[1] & 0x3F);
      p += 2;
    }
    out.push_back(static_cast<char16_t>(c));
  }
  return out;
}

std::u16string phone(Dice& dice, const char* prefix) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%s %03u %04u", prefix, dice.below(1000), dice.below(10000));
  return u16(digits);
}

bool addContacts(ImageWriter& w, Dice& dice) {
  DatabaseDefinition definition;
  definition.name = u"Contacts Database";
  definition.type = 0x18;
  definition.sorts = {{0x4013001F, CEDB_SORT_CASEINSENSITIVE}, {0x3A16001F, CEDB_SORT_CASEINSENSITIVE},
                {0x3A11001F, CEDB_SORT_CASEINSENSITIVE}};
  definition.modified = fileTimeOf(2002, 11, 3, 9, 41);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  for (int i = 0; i < 320; ++i) {
    std::u16string given = utf8ToUtf16(dice.pick(kGiven));
    std::u16string surname = utf8ToUtf16(dice.pick(kSurname));
    std::u16string company = u16(dice.pick(kCompany));
    Record r;
    r.push_back(text(0x3A11001F, surname));
    r.push_back(text(0x3A06001F, given));
    r.push_back(text(0x4013001F, fileAs(surname, given)));
    if (!company.empty()) {
      r.push_back(text(0x3A16001F, company));
      r.push_back(text(0x3A08001F, phone(dice, "+1 425")));
    }
    if (dice.below(3)) r.push_back(text(0x3A1C001F, phone(dice, "+49 171")));
    if (dice.below(2)) r.push_back(text(0x3A09001F, phone(dice, "+49 30")));
    if (dice.below(4)) {
      std::u16string mail = u16("x@") + (company.empty() ? u16("example.org") : u16("example.com"));
      mail = given.substr(0, 1) + surname + mail.substr(1);
      for (char16_t& c : mail)
        if (c == u' ' || c == u'\'') c = u'.';
      r.push_back(text(0x4083001F, mail));
    }
    if (dice.below(3) == 0)
      r.push_back(number(0x40010040, fileTimeOf(1950 + dice.below(50), 1 + dice.below(12), 1 + dice.below(28))));
    if (dice.below(2)) r.push_back(text(0x4005001F, dice.pick(kCategory)));
    if (dice.below(5) == 0) r.push_back(text(0x3A27001F, utf8ToUtf16(dice.pick(kCity))));
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addAppointments(ImageWriter& w, Dice& dice) {
  DatabaseDefinition definition;
  definition.name = u"Appointments Database";
  definition.type = 0x19;
  definition.sorts = {{0x420D0040, 0}, {0x0037001F, CEDB_SORT_CASEINSENSITIVE}};
  definition.modified = fileTimeOf(2002, 11, 4, 18, 2);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  uint64_t start = fileTimeOf(2002, 9, 2, 8, 0);
  for (int i = 0; i < 180; ++i) {
    uint64_t when = start + dice.below(120) * kDay + (dice.below(20) * 30) * kMinute;
    Record r;
    r.push_back(text(0x0037001F, dice.pick(kSubject)));
    if (dice.below(2)) r.push_back(text(0x4208001F, utf8ToUtf16(dice.pick(kCity))));
    r.push_back(number(0x420D0040, when));
    r.push_back(number(0x42130003, 15 + 15 * dice.below(8)));
    r.push_back(number(0x00040002, dice.below(4) == 0 ? 2 : 0));        // sensitivity
    r.push_back(number(0x000F0002, dice.below(4)));                     // busy status
    r.push_back(number(0x0005000B, dice.below(3) ? 1 : 0));             // reminder set
    r.push_back(number(0x45010003, 15));                               // reminder minutes
    if (dice.below(3) == 0) r.push_back(text(0x4005001F, dice.pick(kCategory)));
    if (dice.below(4) == 0) {
      // Notes are rich text stored as bytes.
      std::string notes = "{\\rtf1\\ansi Bring the printouts for item " + std::to_string(i) + ".}";
      r.push_back(blob(0x00160041, notes));
    }
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addTasks(ImageWriter& w, Dice& dice) {
  DatabaseDefinition definition;
  definition.name = u"Tasks Database";
  definition.type = 0x1A;
  definition.sorts = {{0x41050040, CEDB_SORT_UNKNOWNFIRST}, {0x0037001F, CEDB_SORT_CASEINSENSITIVE}};
  definition.modified = fileTimeOf(2002, 10, 28, 12, 15);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  const char* const tasks[] = {"Renew passport", "Buy batteries", "Send invoice", "Back up the device",
                               "Book hotel",     "Water plants",  "Prepare slides", "Return library books"};
  for (int i = 0; i < 42; ++i) {
    Record r;
    r.push_back(text(0x0037001F, dice.pick(tasks)));
    r.push_back(number(0x00170002, dice.below(3)));  // importance
    if (dice.below(4)) r.push_back(number(0x41050040, fileTimeOf(2002, 11, 1) + dice.below(60) * kDay));
    r.push_back(number(0x410F000B, dice.below(3) == 0));  // complete
    if (dice.below(2)) r.push_back(text(0x4005001F, dice.pick(kCategory)));
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addCategories(ImageWriter& w) {
  DatabaseDefinition definition;
  definition.name = u"Categories Database";
  definition.type = 0x1B;
  definition.sorts = {{0x0001001F, CEDB_SORT_CASEINSENSITIVE}};
  definition.modified = fileTimeOf(2002, 6, 14, 10, 0);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  uint32_t id = 1;
  for (const char* name : kCategory) {
    Record r{text(0x0001001F, name), number(0x00020013, id++), number(0x00030012, 0)};
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addNotify(ImageWriter& w) {
  DatabaseDefinition events;
  events.name = u"DB_notify_events";
  events.modified = fileTimeOf(2002, 11, 5, 7, 0);
  CEOID db = w.addDatabase(events);
  if (!db) return false;
  const char* const apps[] = {"\\Windows\\clock.exe", "\\Windows\\calendar.exe", "\\Windows\\repllog.exe",
                              "\\Windows\\tmail.exe"};
  for (int i = 0; i < 4; ++i) {
    Record r{text(0x0001001F, apps[i]), text(0x0002001F, "AppRunAtTime"), number(0x00030013, 1 + i),
             number(0x00040040, fileTimeOf(2002, 11, 5, 7 + i, 30))};
    if (!w.addRecord(db, r)) return false;
  }
  DatabaseDefinition queue;
  queue.name = u"DB_notify_queue";
  queue.sorts = {{0x00040040, 0}};
  queue.modified = fileTimeOf(2002, 11, 5, 7, 0);
  return w.addDatabase(queue) != 0;  // empty
}

bool addMail(ImageWriter& w, Dice& dice) {
  DatabaseDefinition folders;
  folders.name = u"pmailFolders";
  folders.type = 0x60;
  folders.modified = fileTimeOf(2002, 11, 5, 8, 12);
  CEOID fdb = w.addDatabase(folders);
  if (!fdb) return false;
  const char* const names[] = {"Inbox", "Outbox", "Deleted Items", "Drafts", "Sent Items"};
  for (uint16_t i = 0; i < 5; ++i) {
    Record r{text(0x0001001F, names[i]), number(0x00020012, i + 1), number(0x00030013, 0x10 << i)};
    if (!w.addRecord(fdb, r)) return false;
  }
  // Four sort orders: received (newest first), subject, sender, size.
  DatabaseDefinition msgs;
  msgs.name = u"pmailMsgs";
  msgs.type = 0x61;
  msgs.sorts = {{0x0E060040, CEDB_SORT_DESCENDING},
                {0x0037001F, CEDB_SORT_CASEINSENSITIVE},
                {0x0C1A001F, CEDB_SORT_CASEINSENSITIVE | CEDB_SORT_UNKNOWNFIRST},
                {0x0E080013, CEDB_SORT_DESCENDING}};
  msgs.modified = fileTimeOf(2002, 11, 5, 8, 12);
  CEOID mdb = w.addDatabase(msgs);
  if (!mdb) return false;
  for (int i = 0; i < 96; ++i) {
    std::string body = "Hello,\r\n\r\nplease find the notes for " + std::string(dice.pick(kSubject)) + ".\r\n";
    Record r;
    r.push_back(text(0x0037001F, dice.pick(kSubject)));
    if (dice.below(6)) r.push_back(text(0x0C1A001F, utf8ToUtf16(dice.pick(kSurname))));
    r.push_back(number(0x0E060040, fileTimeOf(2002, 10, 1) + dice.below(35 * 24 * 60) * kMinute));
    r.push_back(number(0x0E080013, 512 + dice.below(40000)));
    r.push_back(number(0x0E070013, dice.below(2) ? 0x1 : 0x9));  // flags
    r.push_back(number(0x00010012, 1 + dice.below(5)));          // folder
    r.push_back(blob(0x10000041, body));
    if (!w.addRecord(mdb, r)) return false;
  }
  return true;
}

bool addMoney(ImageWriter& w, Dice& dice) {
  // Every property type appears here: short, int, double, boolean, unsigned
  // short and int, string, time and bytes.
  DatabaseDefinition definition;
  definition.name = u"Money Transactions";
  definition.type = 0x2F00;
  definition.sorts = {{0x00030040, CEDB_SORT_DESCENDING}, {0x00040005, 0}};
  definition.modified = fileTimeOf(2002, 11, 2, 21, 30);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  const char* const payees[] = {"Supermarket", "Rent", "Salary", "Petrol", "Bookshop", "Café Central"};
  for (int i = 0; i < 60; ++i) {
    double amount = (static_cast<int>(dice.below(200000)) - 150000) / 100.0;
    Record r{number(0x00010002, static_cast<uint16_t>(static_cast<int16_t>(dice.below(7) - 3))),
             number(0x00020003, static_cast<uint32_t>(-static_cast<int32_t>(i) * 37)),
             number(0x00030040, fileTimeOf(2002, 8, 1) + dice.below(90) * kDay),
             real(0x00040005, amount),
             number(0x0005000B, dice.below(2)),
             number(0x00060012, dice.below(65536)),
             number(0x00070013, dice.next()),
             text(0x0008001F, utf8ToUtf16(dice.pick(payees))),
             blob(0x00090041, std::string("\x01\x00\xFF\x7F", 4) + std::to_string(i))};
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addSettings(ImageWriter& w) {
  // Property 0x8001 holds a number in some records and text in others, as
  // applications that changed their format over time leave it.
  DatabaseDefinition definition;
  definition.name = u"AppSettings";
  definition.type = 0x3000;
  definition.sorts = {{0x80010003, 0}};
  definition.modified = fileTimeOf(2002, 7, 19, 16, 45);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  for (int i = 0; i < 12; ++i) {
    Record r{text(0x8000001F, u16(("Setting" + std::to_string(i)).c_str()))};
    if (i % 3 == 2)
      r.push_back(text(0x8001001F, u16(("v" + std::to_string(i * 7)).c_str())));
    else
      r.push_back(number(0x80010003, static_cast<uint32_t>(i * 7 - 20)));
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addSpeedDial(ImageWriter& w) {
  DatabaseDefinition definition;  // no sort orders
  definition.name = u"SpeedDial";
  definition.type = 0x3101;
  definition.modified = fileTimeOf(2002, 6, 20, 11, 5);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  const char* const entries[][2] = {{"Voicemail", "+49 171 000 0000"}, {"Home", "+49 30 555 0100"},
                                    {"Office", "+1 425 555 0199"}};
  for (uint16_t i = 0; i < 3; ++i) {
    Record r{number(0x00010012, i + 1), text(0x0002001F, entries[i][0]), text(0x0003001F, entries[i][1])};
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

bool addCallLog(ImageWriter& w, Dice& dice) {
  DatabaseDefinition definition;
  definition.name = u"CallLog";
  definition.type = 0x3102;
  definition.sorts = {{0x00020040, CEDB_SORT_DESCENDING}, {0x0001001F, 0}, {0x00030013, 0}};
  definition.modified = fileTimeOf(2002, 11, 5, 8, 59);
  CEOID db = w.addDatabase(definition);
  if (!db) return false;
  uint64_t first = fileTimeOf(1999, 1, 1);
  char dialled[24];
  for (uint32_t i = 0; i < kSampleLargeRecords; ++i) {
    std::snprintf(dialled, sizeof dialled, "+49 %u %07u", 30 + dice.below(900), dice.below(10000000));
    uint64_t when = first + uint64_t(i) * 23 * kMinute + dice.below(600) * 100000000ULL;
    Record r{text(0x0001001F, u16(dialled)), number(0x00020040, when),
             number(0x00030013, dice.below(3600)), number(0x00040012, dice.below(3))};
    if (!w.addRecord(db, r)) return false;
  }
  return true;
}

std::vector<uint8_t> sz(const char* text) {
  std::vector<uint8_t> bytes = utf16Bytes(utf8ToUtf16(text));
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

std::vector<uint8_t> dword(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

bool addRegistry(ImageWriter& w) {
  int64_t ident = w.addKey(kRootLocalMachine, u"Ident");
  int64_t owner = w.addKey(kRootCurrentUser, u"ControlPanel\\Owner");
  int64_t shell = w.addKey(kRootLocalMachine, u"Software\\Microsoft\\Shell");
  int64_t txt = w.addKey(kRootClasses, u".txt");
  int64_t today = w.addKey(kRootCurrentUser, u"Software\\Microsoft\\Today");
  if (!ident || !owner || !shell || !txt || !today) return false;
  std::vector<uint8_t> ownerInfo(0x2A0, 0);
  std::vector<uint8_t> name = utf16Bytes(u"Pocket PC User");
  std::copy(name.begin(), name.end(), ownerInfo.begin());
  std::vector<uint8_t> multi = sz("Contacts");
  for (uint8_t b : sz("Calendar")) multi.push_back(b);
  multi.push_back(0);
  multi.push_back(0);
  return w.addValue(ident, u"Name", REG_SZ, sz("Pocket_PC")) &&
         w.addValue(ident, u"Desc", REG_SZ, sz("Pocket PC 2002")) &&
         w.addValue(ident, u"OrigName", REG_SZ, sz("Pocket_PC")) &&
         w.addValue(owner, u"Owner", REG_BINARY, ownerInfo) &&
         w.addValue(shell, u"ShowTitleBarClock", REG_DWORD, dword(1)) &&
         w.addValue(shell, u"StartMenuOrder", REG_MULTI_SZ, multi) &&
         w.addValue(txt, u"", REG_SZ, sz("txtfile")) &&
         w.addValue(today, u"Wall", REG_EXPAND_SZ, sz("\\Windows\\tdywater.gif")) &&
         w.addValue(today, u"Date", REG_DWORD, dword(0x20021105));
}

}  // namespace

uint64_t fileTimeOf(int year, int month, int day, int hour, int minute, int second) {
  // Days from 1601-01-01 by the civil calendar.
  int y = year - (month <= 2);
  int era = y / 400;
  int yoe = y - era * 400;
  int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  int64_t days1970 = int64_t(era) * 146097 + doe - 719468;
  int64_t seconds = days1970 * 86400 + hour * 3600 + minute * 60 + second;
  return static_cast<uint64_t>(seconds * 10000000 + 116444736000000000LL);
}

bool fillSampleImage(ImageWriter& w) {
  Dice dice;
  return addContacts(w, dice) && addAppointments(w, dice) && addTasks(w, dice) && addCategories(w) &&
         addNotify(w) && addMail(w, dice) && addMoney(w, dice) && addSettings(w) && addSpeedDial(w) &&
         addCallLog(w, dice) && addRegistry(w);
}

bool writeSampleImage(const std::string& path, std::string& error) {
  // Written beside the target and renamed into place, so that a half-written
  // sample never appears under the final name.
  std::string temp = path + ".part";
  ::unlink(temp.c_str());
  {
    Image image;
    if (::access(path.c_str(), F_OK) == 0) {
      error = path + ": it already exists";
      return false;
    }
    if (!image.create(temp, error, true)) {
      error = path + ": " + error;
      return false;
    }
    ImageWriter writer(image);
    if (!writer.begin() || !fillSampleImage(writer) || !writer.commit()) {
      error = path + ": " + writer.error();
      image.close();
      ::unlink(temp.c_str());
      return false;
    }
    if (!image.finish(error)) {
      error = path + ": " + error;
      ::unlink(temp.c_str());
      return false;
    }
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    error = path + ": cannot write it: " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace store
