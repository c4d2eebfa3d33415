// Builds a device image through the object store's API, as a device's own
// programs would fill it, for a program run to open afterwards.
#pragma once

#include <windows.h>
#include <windbase.h>

#include <cstdint>
#include <string>
#include <vector>

namespace harness {

// One property value; texts and bytes are kept here, so that tables of
// values can be written inline.
struct Prop {
  CEPROPID id = 0;
  CEVALUNION val = {};
  std::u16string text;
  std::vector<BYTE> bytes;

  static Prop I2(WORD number, SHORT value);
  static Prop UI2(WORD number, USHORT value);
  static Prop I4(WORD number, LONG value);
  static Prop UI4(WORD number, ULONG value);
  static Prop R8(WORD number, double value);
  static Prop Bool(WORD number, BOOL value);
  static Prop Text(WORD number, std::u16string value);
  static Prop Time(WORD number, uint64_t value);
  static Prop Blob(WORD number, std::vector<BYTE> value);
};

class ImageBuilder {
 public:
  // Opens the image at path as this process's image, creating an empty one
  // when there is none; the image is closed again at the end.
  explicit ImageBuilder(const std::string& path);
  ~ImageBuilder();
  ImageBuilder(const ImageBuilder&) = delete;
  ImageBuilder& operator=(const ImageBuilder&) = delete;

  CEOID Database(const std::u16string& name, DWORD type = 0, const std::vector<SORTORDERSPEC>& sorts = {});
  CEOID Record(CEOID database, const std::vector<Prop>& props);
  // A registry key under HKEY_LOCAL_MACHINE, made with its parents.
  void Key(const std::u16string& path);
  // count records, the properties of each made by make(index).
  void Records(CEOID database, int count, Prop (*make)(int index));
};

}  // namespace harness
