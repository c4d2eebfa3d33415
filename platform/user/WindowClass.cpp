#include "user/WindowClass.h"

#include <algorithm>

namespace user {

namespace {

char16_t foldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  return c;
}

}  // namespace

bool equalNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return foldCase(x) == foldCase(y); });
}

HINSTANCE defaultInstance(HINSTANCE instance) { return instance ? instance : GetModuleHandleW(nullptr); }

void WindowClass::describe(WNDCLASSW& wc) const {
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.cbClsExtra = classExtra;
  wc.cbWndExtra = windowExtra;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszMenuName = menuName;
  wc.lpszClassName = name.c_str();
}

ClassRegistry& ClassRegistry::instance() {
  static auto* registry = new ClassRegistry;
  return *registry;
}

bool ClassRegistry::matches(const WindowClass& cls, LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return cls.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
  return equalNoCase(cls.name, name);
}

WindowClass* ClassRegistry::findLocal(LPCWSTR name, HINSTANCE instance) const {
  for (const auto& cls : classes_)
    if (!cls->global && cls->instance == instance && matches(*cls, name)) return cls.get();
  return nullptr;
}

WindowClass* ClassRegistry::findGlobal(LPCWSTR name) const {
  for (const auto& cls : classes_)
    if (cls->global && matches(*cls, name)) return cls.get();
  return nullptr;
}

WindowClass* ClassRegistry::find(LPCWSTR name, HINSTANCE instance) const {
  if (!name) return nullptr;
  if (instance)
    if (WindowClass* local = findLocal(name, instance)) return local;
  return findGlobal(name);
}

WindowClass* ClassRegistry::add(const WNDCLASSW& wc) {
  if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !wc.lpszClassName[0] || !wc.lpfnWndProc ||
      wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40 || wc.cbWndExtra > 256) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  bool global = (wc.style & CS_GLOBALCLASS) != 0;
  HINSTANCE instance = defaultInstance(wc.hInstance);
  if (global ? findGlobal(wc.lpszClassName) != nullptr : findLocal(wc.lpszClassName, instance) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return nullptr;
  }
  auto cls = std::make_unique<WindowClass>();
  cls->name = wc.lpszClassName;
  cls->atom = nextAtom_++;
  cls->style = wc.style;
  cls->proc = wc.lpfnWndProc;
  cls->classExtra = wc.cbClsExtra;
  cls->windowExtra = wc.cbWndExtra;
  cls->instance = instance;
  cls->icon = wc.hIcon;
  cls->cursor = wc.hCursor;
  cls->background = wc.hbrBackground;
  if (IS_INTRESOURCE(wc.lpszMenuName)) {
    cls->menuName = wc.lpszMenuName;
  } else {
    cls->menuNameText = wc.lpszMenuName;
    cls->menuName = cls->menuNameText.c_str();
  }
  cls->global = global;
  cls->extraBytes.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  classes_.push_back(std::move(cls));
  return classes_.back().get();
}

bool ClassRegistry::remove(LPCWSTR name, HINSTANCE instance) {
  if (!name) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  WindowClass* cls = findLocal(name, defaultInstance(instance));
  if (!cls) cls = findGlobal(name);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  if (cls->windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return false;
  }
  classes_.erase(std::find_if(classes_.begin(), classes_.end(), [&](const auto& c) { return c.get() == cls; }));
  return true;
}

}  // namespace user
