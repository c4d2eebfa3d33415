// Plays script steps on the device, one each time the device idles (no
// message queued, no input pending, nothing to paint), so every step meets a
// program that has finished reacting to the one before.
//
// Tests of other modules use it in-process to act while their code waits in
// a loop of its own:
//
//   auto& script = device::Device::instance().script();
//   script.loadText("press \"OK\"\n", "message-box-test", error);  // taps OK once the box waits
//   script.add([&] { EXPECT_TRUE(IsWindowVisible(dialog)); });       // runs while the modal loop runs
//   MessageBoxW(...);
//
// When the steps are used up and the program waits again, a headless device
// ends the process (exit code 3); a step that cannot be done ends it with 4.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "device/Script.h"

namespace device {

class ScriptPlayer {
 public:
  // Chooses an item of a menu-bar popup; false with a reason when there is
  // no such popup or item. The shell's menu bar installs it.
  using MenuChooser = std::function<bool(const std::u16string& popup, const std::u16string& item, std::string& error)>;

  // Appends the steps of a script; name stands in messages ("NAME:LINE:
  // reason"). A bad script is refused whole with such a message.
  bool loadText(std::string_view text, const std::string& name, std::string& error);
  void load(std::vector<Step> steps, const std::string& name);
  // Appends a step that calls code.
  void add(std::function<void()> call);
  void clear();

  bool finished() const { return steps_.empty() && !waiting(); }
  // Some steps were given since the last clear().
  bool given() const { return given_; }
  size_t pendingSteps() const { return steps_.size(); }
  // A `wait` step is running.
  bool waiting() const;
  int remainingWaitMs() const;

  // Runs the next step. False when it could not be done, with error as
  // "NAME:LINE: reason".
  bool runNext(std::string& error);

  void setMenuChooser(MenuChooser chooser) { menuChooser_ = std::move(chooser); }

 private:
  struct Queued {
    Step step;
    std::string source;
  };
  bool run(const Step& step, std::string& reason);
  bool tap(const Step& step, std::string& reason);
  bool drag(const Step& step, std::string& reason);
  void key(const Step& step);
  void type(const std::u16string& text);
  bool press(const std::u16string& text, std::string& reason);
  bool close(std::string& reason);
  bool screenshot(const std::string& file, std::string& reason);
  bool dump(const std::string& file, std::string& reason);

  std::deque<Queued> steps_;
  std::chrono::steady_clock::time_point waitEnds_{};
  MenuChooser menuChooser_;
  bool given_ = false;
};

}  // namespace device
