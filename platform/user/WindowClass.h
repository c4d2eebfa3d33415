// Window classes: registered per module instance (local) or for every module
// (CS_GLOBALCLASS and the platform's own controls). Names compare without
// regard to case.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

namespace user {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  // A resource ordinal is kept as given; a name is kept in menuNameText.
  LPCWSTR menuName = nullptr;
  std::u16string menuNameText;
  bool global = false;
  std::vector<uint8_t> extraBytes;
  int windows = 0;  // live windows of the class; it cannot be unregistered meanwhile

  void describe(WNDCLASSW& wc) const;
};

class ClassRegistry {
 public:
  static ClassRegistry& instance();

  // Fails with ERROR_CLASS_ALREADY_EXISTS when the instance (or, for a
  // global class, any module) already has the name.
  WindowClass* add(const WNDCLASSW& wc);
  bool remove(LPCWSTR name, HINSTANCE instance);
  // The instance's local classes first, then the global ones. A null
  // instance looks among the global classes only.
  WindowClass* find(LPCWSTR name, HINSTANCE instance) const;

 private:
  ClassRegistry() = default;
  WindowClass* findLocal(LPCWSTR name, HINSTANCE instance) const;
  WindowClass* findGlobal(LPCWSTR name) const;
  static bool matches(const WindowClass& cls, LPCWSTR name);

  std::vector<std::unique_ptr<WindowClass>> classes_;
  ATOM nextAtom_ = 0xC000;
};

// The module handle a null instance stands for.
HINSTANCE defaultInstance(HINSTANCE instance);
bool equalNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace user
