#include "harness/ImageBuilder.h"

#include <filesystem>
#include <stdexcept>

#include "store/DeviceImage.h"
#include "store/Image.h"

namespace harness {
namespace {

Prop Made(WORD number, WORD type) {
  Prop p;
  p.id = (DWORD(number) << 16) | type;
  return p;
}

// The values as the store takes them, pointing into props.
std::vector<CEPROPVAL> Values(const std::vector<Prop>& props) {
  std::vector<CEPROPVAL> values;
  for (const Prop& p : props) {
    CEPROPVAL v = {};
    v.propid = p.id;
    v.val = p.val;
    if (TypeFromPropID(p.id) == CEVT_LPWSTR) v.val.lpwstr = const_cast<LPWSTR>(p.text.c_str());
    if (TypeFromPropID(p.id) == CEVT_BLOB) v.val.blob = {DWORD(p.bytes.size()), const_cast<BYTE*>(p.bytes.data())};
    values.push_back(v);
  }
  return values;
}

CEOID Write(HANDLE database, const std::vector<Prop>& props) {
  std::vector<CEPROPVAL> values = Values(props);
  const CEOID oid = CeWriteRecordProps(database, 0, WORD(values.size()), values.data());
  if (oid == 0) throw std::runtime_error("record not written: error " + std::to_string(GetLastError()));
  return oid;
}

HANDLE Open(CEOID database) {
  HANDLE handle = CeOpenDatabase(&database, nullptr, 0, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("database not opened");
  return handle;
}

}  // namespace

Prop Prop::I2(WORD number, SHORT value) {
  Prop p = Made(number, CEVT_I2);
  p.val.iVal = value;
  return p;
}
Prop Prop::UI2(WORD number, USHORT value) {
  Prop p = Made(number, CEVT_UI2);
  p.val.uiVal = value;
  return p;
}
Prop Prop::I4(WORD number, LONG value) {
  Prop p = Made(number, CEVT_I4);
  p.val.lVal = value;
  return p;
}
Prop Prop::UI4(WORD number, ULONG value) {
  Prop p = Made(number, CEVT_UI4);
  p.val.ulVal = value;
  return p;
}
Prop Prop::R8(WORD number, double value) {
  Prop p = Made(number, CEVT_R8);
  p.val.dblVal = value;
  return p;
}
Prop Prop::Bool(WORD number, BOOL value) {
  Prop p = Made(number, CEVT_BOOL);
  p.val.boolVal = value;
  return p;
}
Prop Prop::Text(WORD number, std::u16string value) {
  Prop p = Made(number, CEVT_LPWSTR);
  p.text = std::move(value);
  return p;
}
Prop Prop::Time(WORD number, uint64_t value) {
  Prop p = Made(number, CEVT_FILETIME);
  p.val.filetime = {DWORD(value), DWORD(value >> 32)};
  return p;
}
Prop Prop::Blob(WORD number, std::vector<BYTE> value) {
  Prop p = Made(number, CEVT_BLOB);
  p.bytes = std::move(value);
  return p;
}

ImageBuilder::ImageBuilder(const std::string& path) {
  std::string error;
  if (!std::filesystem::exists(path)) {
    store::Image image;
    if (!image.create(path, error)) throw std::runtime_error("device image: " + error);
  }
  store::closeDeviceImage();
  if (!store::openDeviceImage(path, error)) throw std::runtime_error("device image: " + error);
}

ImageBuilder::~ImageBuilder() { store::closeDeviceImage(); }

CEOID ImageBuilder::Database(const std::u16string& name, DWORD type, const std::vector<SORTORDERSPEC>& sorts) {
  std::u16string text = name;
  std::vector<SORTORDERSPEC> orders = sorts;
  const CEOID oid = CeCreateDatabase(text.data(), type, WORD(orders.size()), orders.empty() ? nullptr : orders.data());
  if (oid == 0) throw std::runtime_error("database not created: error " + std::to_string(GetLastError()));
  return oid;
}

CEOID ImageBuilder::Record(CEOID database, const std::vector<Prop>& props) {
  HANDLE handle = Open(database);
  try {
    const CEOID oid = Write(handle, props);
    CloseHandle(handle);
    return oid;
  } catch (...) {
    CloseHandle(handle);
    throw;
  }
}

void ImageBuilder::Key(const std::u16string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != 0)
    throw std::runtime_error("registry key not made");
  RegCloseKey(key);
}

void ImageBuilder::Records(CEOID database, int count, Prop (*make)(int index)) {
  HANDLE handle = Open(database);
  for (int i = 0; i < count; ++i) Write(handle, {make(i)});
  CloseHandle(handle);
}

}  // namespace harness
