// What the benchmarks of the program share: the sample image in a directory
// of their own, and the device the program's windows are made on.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "device/Device.h"
#include "framework/CeApp.h"
#include "store/DeviceImage.h"

// Writes the sample image into a new directory named after what; its path,
// or empty when it could not be written. The directory goes at the end.
class SampleDirectory {
 public:
  explicit SampleDirectory(const std::string& what)
      : dir_(std::filesystem::temp_directory_path() / ("vantor-bench-" + what + "-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(dir_);
    std::string error;
    if (store::writeSampleImage(dir_ + "/sample.cedb", error))
      sample_ = dir_ + "/sample.cedb";
    else
      std::fprintf(stderr, "sample image: %s\n", error.c_str());
  }
  ~SampleDirectory() { std::filesystem::remove_all(dir_); }
  const std::string& sample() const { return sample_; }

 private:
  std::string dir_;
  std::string sample_;
};

// A headless device with its chrome, ready for the program's windows.
inline void StartProgramDevice() {
  device::Options options;
  options.chrome = true;
  device::Device::instance().configure(options, nullptr);
  g_instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
}
