// Device images of unknown origin: opening refuses what is not sound, and
// whatever opens can be walked, read, checked and enumerated without fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <windows.h>
#include <windbase.h>

#include "store/Checker.h"
#include "store/DeviceImage.h"
#include "store/Image.h"

namespace {

void walkKey(HKEY key, int depth) {
  if (depth > 8) return;
  BYTE data[512];
  WCHAR name[300];
  for (DWORD i = 0; i < 64; ++i) {
    DWORD nameSize = 300, size = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data, &size) == ERROR_NO_MORE_ITEMS) break;
  }
  for (DWORD i = 0; i < 64; ++i) {
    DWORD nameSize = 300;
    if (RegEnumKeyExW(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name, 0, 0, &child) == ERROR_SUCCESS) {
      walkKey(child, depth + 1);
      RegCloseKey(child);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string path = [] {
    char pattern[] = "/tmp/vantor-fuzz-XXXXXX";
    return std::string(mkdtemp(pattern)) + "/image.img";
  }();
  ::unlink(path.c_str());
  ::unlink((path + "-journal").c_str());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  std::string error;
  if (store::openDeviceImage(path, error)) {
    HANDLE walk = CeFindFirstDatabase(0);
    for (CEOID db; (db = CeFindNextDatabase(walk)) != 0;) {
      CEOIDINFO info{};
      if (!CeOidGetInfo(db, &info)) continue;
      for (WORD s = 0; s <= info.infDatabase.wNumSortOrder && s <= CEDB_MAXSORTORDER; ++s) {
        CEOID oid = db;
        CEPROPID sort = s == 0 ? 0 : info.infDatabase.rgSortSpecs[s - 1].propid;
        HANDLE h = CeOpenDatabase(&oid, nullptr, sort, CEDB_AUTOINCREMENT, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        BYTE* buffer = nullptr;
        for (int n = 0; n < 200; ++n) {
          WORD count = 0;
          DWORD bytes = 0;
          if (!CeReadRecordProps(h, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &bytes) &&
              GetLastError() == ERROR_NO_MORE_ITEMS)
            break;
        }
        LocalFree(buffer);
        CeSeekDatabase(h, CEDB_SEEK_END, 0, nullptr);
        CeSeekDatabase(h, CEDB_SEEK_CURRENT, DWORD(-3), nullptr);
        CloseHandle(h);
      }
    }
    CloseHandle(walk);
    walkKey(HKEY_LOCAL_MACHINE, 0);
    walkKey(HKEY_CURRENT_USER, 0);
    store::closeDeviceImage();
    store::Image image;
    if (image.open(path, error)) store::checkImage(image);
  }
  return 0;
}
