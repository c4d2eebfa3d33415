// The gallery driven end to end by scripts on a headless device: its menu
// bar, Vantor's templates, message boxes, popup menus and the standard
// controls, checked through window dumps and screenshots.
#include <gtest/gtest.h>

#include <cstdint>

#include "GalleryRun.h"
#include "display/Png.h"

namespace gallerytest {
namespace {

constexpr int kStatusId = 2001;
constexpr int kLastEventId = 2114;

std::string Status(const std::vector<DumpWindow>& windows) {
  const DumpWindow* status = FindId(windows, kStatusId);
  return status != nullptr ? status->text : "(no status line)";
}

// Closes the gallery at the end of a script: a run that ends with the
// program still waiting is a failure of its own.
const char* const kClose = "menu \"Dialogs\" \"Close\"\n";

TEST(Gallery, OpensItsMainWindowAndClosesFromItsMenu) {
  GalleryRun run;
  const GalleryResult result = run.Run(std::string("dump \"$DIR/start.txt\"\n") + kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  const auto windows = ParseDump(run.Read("start.txt"));
  const DumpWindow* main = FindWindowIn(windows, "GalleryWnd", "Gallery");
  ASSERT_NE(main, nullptr) << run.Read("start.txt");
  EXPECT_TRUE(main->visible);
  // Below the navigation bar, above the menu bar.
  EXPECT_EQ(main->top, 26);
  EXPECT_EQ(main->bottom, 294);
  EXPECT_EQ(Status(windows), "Ready");
}

TEST(Gallery, EachMessageBoxVariantAnswersWithTheButtonPressed) {
  struct Variant {
    const char* item;
    const char* text;
    const char* button;
    const char* status;
  };
  const Variant variants[] = {
      {"OK", "A message box with an OK button.", "OK", "Message box answered OK (1)"},
      {"OK, Cancel", "OK goes on, Cancel does not.", "Cancel", "Message box answered Cancel (2)"},
      {"Yes, No", "Yes or no, without an icon?", "Yes", "Message box answered Yes (6)"},
      {"Yes, No, stop icon", "Stop: yes or no?", "No", "Message box answered No (7)"},
      {"Yes, No, question icon", "A question: yes or no?", "Yes", "Message box answered Yes (6)"},
      {"Yes, No, warning icon", "A warning: yes or no?", "No", "Message box answered No (7)"},
      {"Yes, No, information icon", "For your information: yes or no?", "Yes", "Message box answered Yes (6)"},
  };
  std::string script;
  int n = 0;
  for (const Variant& v : variants) {
    script += std::string("menu \"Boxes\" \"") + v.item + "\"\n";
    script += "dump \"$DIR/box" + std::to_string(n) + ".txt\"\n";
    script += std::string("press \"") + v.button + "\"\n";
    script += "dump \"$DIR/after" + std::to_string(n) + ".txt\"\n";
    ++n;
  }
  GalleryRun run;
  const GalleryResult result = run.Run(script + kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  n = 0;
  for (const Variant& v : variants) {
    const std::string box = run.Read("box" + std::to_string(n) + ".txt");
    EXPECT_NE(box.find(std::string("text=\"") + v.text + "\""), std::string::npos) << v.item << "\n" << box;
    EXPECT_EQ(Status(ParseDump(run.Read("after" + std::to_string(n) + ".txt"))), v.status) << v.item;
    ++n;
  }
}

TEST(Gallery, VantorsTemplatesOpenFullScreenOrCentredAndEndWithTheirButtons) {
  struct Template {
    const char* item;
    const char* caption;
    const char* key;
    const char* status;
    bool fullScreen;
  };
  const Template templates[] = {
      {"Properties, wide (102)...", "Database Properties", "Enter", "Dialog 102 ended with 1", true},
      {"Font (107)...", "Font", "Escape", "Dialog 107 ended with 2", false},
      {"About (112)...", "About Vantor", "Enter", "Dialog 112 ended with 1", true},
      {"Properties, tall (113)...", "Database Properties", "Escape", "Dialog 113 ended with 2", true},
  };
  std::string script;
  int n = 0;
  for (const Template& t : templates) {
    script += std::string("menu \"Dialogs\" \"") + t.item + "\"\n";
    script += "dump \"$DIR/open" + std::to_string(n) + ".txt\"\n";
    script += std::string("key ") + t.key + "\n";
    script += "dump \"$DIR/closed" + std::to_string(n) + ".txt\"\n";
    ++n;
  }
  GalleryRun run;
  const GalleryResult result = run.Run(script + kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  n = 0;
  for (const Template& t : templates) {
    const std::string open = run.Read("open" + std::to_string(n) + ".txt");
    const auto windows = ParseDump(open);
    const DumpWindow* dialog = FindWindowIn(windows, "Dialog", t.caption);
    ASSERT_NE(dialog, nullptr) << t.item << "\n" << open;
    EXPECT_EQ(dialog->depth, 0);
    if (t.fullScreen) {
      EXPECT_EQ(dialog->left, 0) << dialog->line;
      EXPECT_EQ(dialog->top, 26) << dialog->line;
      EXPECT_EQ(dialog->right, 240) << dialog->line;
      EXPECT_EQ(dialog->bottom, 294) << dialog->line;
    } else {
      // Centred over the main window, which fills the work area.
      EXPECT_LE(std::abs((dialog->left + dialog->right) / 2 - 120), 1) << dialog->line;
      EXPECT_LE(std::abs((dialog->top + dialog->bottom) / 2 - 160), 1) << dialog->line;
    }
    EXPECT_EQ(Status(ParseDump(run.Read("closed" + std::to_string(n) + ".txt"))), t.status) << t.item;
    ++n;
  }
}

TEST(Gallery, APopupMenuSendsItsCommandOrReturnsIt) {
  GalleryRun run;
  const GalleryResult result = run.Run(std::string(
                                           // A tap on the main window: the choice arrives as a command.
                                           "tap 120 200\n"
                                           "dump \"$DIR/open.txt\"\n"
                                           "key Down\n"
                                           "key Down\n"
                                           "key Enter\n"
                                           "dump \"$DIR/sent.txt\"\n"
                                           // From the menu bar: the choice comes back as the result.
                                           "menu \"Boxes\" \"Popup menu\"\n"
                                           "key Down\n"
                                           "key Enter\n"
                                           "dump \"$DIR/returned.txt\"\n"
                                           "menu \"Boxes\" \"Popup menu\"\n"
                                           "key Escape\n"
                                           "dump \"$DIR/dismissed.txt\"\n") +
                                       kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  EXPECT_EQ(Status(ParseDump(run.Read("sent.txt"))), "Popup menu sent 41402") << run.Read("open.txt");
  EXPECT_EQ(Status(ParseDump(run.Read("returned.txt"))), "Popup menu returned 41401");
  EXPECT_EQ(Status(ParseDump(run.Read("dismissed.txt"))), "Popup menu returned 0");
}

TEST(Gallery, TheStandardControlsDialogHoldsEveryControl) {
  GalleryRun run;
  const GalleryResult result = run.Run(std::string("menu \"Controls\" \"Standard controls...\"\n"
                                                   "dump \"$DIR/controls.txt\"\n"
                                                   "key Escape\n") +
                                       kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  const std::string dump = run.Read("controls.txt");
  const auto windows = ParseDump(dump);
  struct Expected {
    int id;
    const char* className;
    const char* text;
  };
  const Expected controls[] = {
      {2101, "static", "Left"},        {2102, "static", "Centre"},   {2103, "static", "Right"},
      {2104, "static", ""},            {2105, "static", "Tap this label to move to the list."},
      {2106, "button", "Push"},        {2107, "button", "Default"},  {2108, "button", "Options"},
      {2109, "button", "First"},       {2110, "button", "Second"},   {2111, "combobox", ""},
      {2112, "listbox", ""},           {2113, "scrollbar", ""},
  };
  const DumpWindow* dialog = FindWindowIn(windows, "Dialog", "Standard controls");
  ASSERT_NE(dialog, nullptr) << dump;
  for (const Expected& c : controls) {
    const DumpWindow* control = FindId(windows, c.id);
    ASSERT_NE(control, nullptr) << c.id << "\n" << dump;
    EXPECT_EQ(strcasecmp(control->className.c_str(), c.className), 0) << control->line;
    EXPECT_EQ(control->text, c.text) << control->line;
    EXPECT_EQ(control->depth, dialog->depth + 1) << control->line;
    EXPECT_TRUE(control->visible) << control->line;
    // Inside the dialog.
    EXPECT_GE(control->left, dialog->left) << control->line;
    EXPECT_LE(control->right, dialog->right) << control->line;
    EXPECT_LE(control->bottom, dialog->bottom) << control->line;
  }
  // The three aligned labels share a row, left to right.
  EXPECT_LT(FindId(windows, 2101)->left, FindId(windows, 2102)->left);
  EXPECT_LT(FindId(windows, 2102)->left, FindId(windows, 2103)->left);
  EXPECT_EQ(FindId(windows, 2101)->top, FindId(windows, 2103)->top);
}

// The centre of a dumped window as a script's screen point.
std::string CentreOf(const DumpWindow& w) {
  return std::to_string((w.left + w.right) / 2) + " " + std::to_string((w.top + w.bottom) / 2);
}

TEST(Gallery, TheStandardControlsReportWhatTheStylusAndKeysDo) {
  // Where the controls are, from a first run.
  GalleryRun look;
  ASSERT_EQ(look.Run(std::string("menu \"Controls\" \"Standard controls...\"\n"
                                 "dump \"$DIR/controls.txt\"\n"
                                 "key Escape\n") +
                     kClose)
                .exitCode,
            0);
  const auto placed = ParseDump(look.Read("controls.txt"));
  const DumpWindow* first = FindId(placed, 2109);
  const DumpWindow* label = FindId(placed, 2105);
  const DumpWindow* list = FindId(placed, 2112);
  ASSERT_TRUE(first != nullptr && label != nullptr && list != nullptr);

  struct Step {
    std::string action;
    std::string lastEvent;
  };
  const Step steps[] = {
      {"press \"Push\"", "Push pressed"},
      {"press \"Default\"", "Default pressed"},
      {"tap " + CentreOf(*first), "First checked"},
      {"tap " + CentreOf(*first), "First cleared"},
      {"press \"Second\"", "Second cleared"},
      // The tap moves the focus to the list; the keys then choose in it.
      {"tap " + CentreOf(*label), "Label tapped"},
      {"key Down", "List box: One"},
      {"key Down", "List box: Two"},
      // Tab from the list to the scroll bar, which moves with the keys.
      {"key Tab\nkey Right", "Scroll bar: 1"},
      {"key PageDown", "Scroll bar: 11"},
  };
  std::string script = "menu \"Controls\" \"Standard controls...\"\n";
  int n = 0;
  for (const Step& s : steps) script += s.action + "\ndump \"$DIR/step" + std::to_string(n++) + ".txt\"\n";
  script += "key Escape\ndump \"$DIR/ended.txt\"\n";
  GalleryRun run;
  const GalleryResult result = run.Run(script + kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  n = 0;
  for (const Step& s : steps) {
    const auto windows = ParseDump(run.Read("step" + std::to_string(n++) + ".txt"));
    const DumpWindow* last = FindId(windows, kLastEventId);
    ASSERT_NE(last, nullptr) << s.action;
    EXPECT_EQ(last->text, s.lastEvent) << s.action;
  }
  EXPECT_EQ(Status(ParseDump(run.Read("ended.txt"))),
            "Controls ended with 2: first 0, second 0, combo none, list Two, scroll 11");
}

TEST(Gallery, TheSortedComboBoxListsItsItemsWithoutRegardToCase) {
  std::string script = "menu \"Controls\" \"Standard controls...\"\n";
  // From Push, two tabs reach the combo box; each Down selects the next item.
  script += "key Tab\nkey Tab\n";
  for (int i = 0; i < 5; ++i) script += "key Down\ndump \"$DIR/item" + std::to_string(i) + ".txt\"\n";
  script += "key Escape\n";
  GalleryRun run;
  const GalleryResult result = run.Run(script + kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  const char* const expected[] = {"apple", "Banana", "cherry", "Pear", "Pear"};
  for (int i = 0; i < 5; ++i) {
    const auto windows = ParseDump(run.Read("item" + std::to_string(i) + ".txt"));
    const DumpWindow* combo = FindId(windows, 2111);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->text, expected[i]) << "after " << i + 1 << " Down";
  }
}

const display::Framebuffer* Decoded(const std::string& bytes, std::optional<display::Framebuffer>& holder) {
  std::string error;
  holder = display::decodePng(bytes, error);
  EXPECT_TRUE(holder.has_value()) << error;
  return holder ? &*holder : nullptr;
}

int CountOther(const display::Framebuffer& screen, int left, int top, int right, int bottom, uint32_t colour) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += screen.pixel(x, y) != colour;
  return count;
}

TEST(Gallery, AnOpenMenuBarPopupIsDrawnAboveTheMenuBar) {
  GalleryRun run;
  const GalleryResult result = run.Run(std::string("screenshot \"$DIR/closed.png\"\n"
                                                   "dump \"$DIR/closed.txt\"\n"
                                                   "tap 20 307\n"
                                                   "screenshot \"$DIR/open.png\"\n"
                                                   "dump \"$DIR/open.txt\"\n"
                                                   "key Escape\n") +
                                       kClose);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  std::optional<display::Framebuffer> closedHolder, openHolder;
  const display::Framebuffer* closed = Decoded(run.Read("closed.png"), closedHolder);
  const display::Framebuffer* open = Decoded(run.Read("open.png"), openHolder);
  ASSERT_TRUE(closed != nullptr && open != nullptr);
  // The main window's lower part is plain white until the popup covers some
  // of it, just above the menu bar.
  const uint32_t white = 0xFFFFFF;
  EXPECT_EQ(CountOther(*closed, 0, 200, 120, 290, white), 0);
  EXPECT_GT(CountOther(*open, 0, 200, 120, 290, white), 200) << run.Read("open.txt");
  // The status line and the hint stay as they were.
  EXPECT_EQ(CountOther(*open, 0, 26, 240, 100, white), CountOther(*closed, 0, 26, 240, 100, white));
}

}  // namespace
}  // namespace gallerytest
