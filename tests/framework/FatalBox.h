// The box an exception in a handler shows, read and answered. Shared by both framework test folders.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "device/Device.h"
#include "framework/CeString.h"

struct FatalBox {
  std::u16string caption, text;  // text: the line naming the window message
};

// Reads and answers the next "Fatal" box once the loop that shows it waits.
inline void AnswerTheNextFatalBox(FatalBox* box) {
  auto& script = device::Device::instance().script();
  script.add([box] {
    HWND found = FindWindowW(nullptr, u"Fatal");
    if (found == nullptr) return;
    box->caption = CeString(found).Text();
    auto collect = [](HWND child, LPARAM param) -> BOOL {
      const std::u16string text = CeString(child).Text();
      if (text.find(u"Window message") != std::u16string::npos) reinterpret_cast<FatalBox*>(param)->text = text;
      return TRUE;
    };
    EnumChildWindows(found, collect, reinterpret_cast<LPARAM>(box));
  });
  std::string error;
  ASSERT_TRUE(script.loadText("press \"OK\"\n", "fatal-box", error)) << error;
}
