// What the reading commands share: the image opened for one command, the
// database a command names, and the text of a sort order.
#pragma once

#include <string>

#include <windows.h>
#include <windbase.h>

namespace cestore {

// Opens FILE as the process's image for the duration of a command.
class OpenImage {
 public:
  explicit OpenImage(const std::string& file);
  ~OpenImage();
  OpenImage(const OpenImage&) = delete;
  OpenImage& operator=(const OpenImage&) = delete;
  bool ok() const { return ok_; }
  const std::string& error() const { return error_; }

 private:
  bool ok_ = false;
  std::string error_;
};

bool databaseInfo(CEOID oid, CEDBASEINFO& info);
// The database of the open image with that identifier (hex or decimal) or,
// failing that, that name; 0 when there is none.
CEOID findDatabase(const std::string& database);
// "0x0001001F desc nocase".
std::string sortText(const SORTORDERSPEC& sort);

}  // namespace cestore
