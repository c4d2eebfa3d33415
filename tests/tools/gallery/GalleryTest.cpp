// The gallery driven end to end by scripts on a headless device: its menu
// bar, Vantor's templates, message boxes, popup menus and the standard
// controls, checked through window dumps.
#include <gtest/gtest.h>

#include <strings.h>

#include <tuple>

#include "harness/ProgramRun.h"

namespace gallerytest {
namespace {

using harness::DumpWindow;
using harness::FindId;
using harness::FindWindowIn;
using harness::Shows;
using harness::TextOf;
using GalleryResult = harness::RunResult;
using Dumps = std::vector<std::vector<DumpWindow>>;

// Runs the actions in turn with a dump of the windows after each, read back
// into dumps, then closes the gallery from its menu: a run that ends with the
// program still waiting is a failure of its own.
class GalleryRun : public harness::ProgramRun {
 public:
  GalleryRun() : ProgramRun(GALLERY_EXE) {}
  GalleryResult RunSteps(const std::vector<std::string>& actions, Dumps& dumps) {
    std::string script;
    for (size_t i = 0; i < actions.size(); ++i)
      script += actions[i] + "\ndump \"$DIR/step" + std::to_string(i) + ".txt\"\n";
    const GalleryResult result = Run(script + "menu \"Dialogs\" \"Close\"\n");
    dumps.clear();
    for (size_t i = 0; i < actions.size(); ++i) dumps.push_back(ReadDump("step" + std::to_string(i) + ".txt"));
    return result;
  }
};

constexpr int kStatusId = 2001;
constexpr int kLastEventId = 2114;

TEST(Gallery, EachMessageBoxVariantAnswersWithTheButtonPressed) {
  const std::tuple<const char*, const char*, const char*, const char*> variants[] = {
      {"OK", "A message box with an OK button.", "OK", "Message box answered OK (1)"},
      {"OK, Cancel", "OK goes on, Cancel does not.", "Cancel", "Message box answered Cancel (2)"},
      {"Yes, No", "Yes or no, without an icon?", "Yes", "Message box answered Yes (6)"},
      {"Yes, No, stop icon", "Stop: yes or no?", "No", "Message box answered No (7)"},
      {"Yes, No, question icon", "A question: yes or no?", "Yes", "Message box answered Yes (6)"},
      {"Yes, No, warning icon", "A warning: yes or no?", "No", "Message box answered No (7)"},
      {"Yes, No, information icon", "For your information: yes or no?", "Yes", "Message box answered Yes (6)"},
  };
  std::vector<std::string> actions;
  for (auto [item, text, button, status] : variants) {
    actions.push_back(std::string("menu \"Boxes\" \"") + item + "\"");
    actions.push_back(std::string("press \"") + button + "\"");
  }
  GalleryRun run;
  Dumps dumps;
  ASSERT_EQ(run.RunSteps(actions, dumps).exitCode, 0) << run.Read("stderr.txt");
  size_t n = 0;
  for (auto [item, text, button, status] : variants) {
    EXPECT_TRUE(Shows(dumps[n++], text)) << item;
    EXPECT_EQ(TextOf(dumps[n++], kStatusId), status) << item;
  }
}

TEST(Gallery, VantorsTemplatesOpenFullScreenOrCentredOverTheMainWindowAndEndWithTheirButtons) {
  const std::tuple<const char*, const char*, const char*, const char*, bool> templates[] = {
      {"Properties, wide (102)...", "Database Properties", "Enter", "Dialog 102 ended with 1", true},
      {"Font (107)...", "Font", "Escape", "Dialog 107 ended with 2", false},
      {"About (112)...", "About Vantor", "Enter", "Dialog 112 ended with 1", true},
      {"Properties, tall (113)...", "Database Properties", "Escape", "Dialog 113 ended with 2", true},
  };
  std::vector<std::string> actions = {"# the main window as it starts"};
  for (auto [item, caption, key, status, fullScreen] : templates) {
    actions.push_back(std::string("menu \"Dialogs\" \"") + item + "\"");
    actions.push_back(std::string("key ") + key);
  }
  GalleryRun run;
  Dumps dumps;
  ASSERT_EQ(run.RunSteps(actions, dumps).exitCode, 0) << run.Read("stderr.txt");
  // The main window lies between the navigation bar and the menu bar.
  const DumpWindow* main = FindWindowIn(dumps[0], "GalleryWnd", "Gallery");
  ASSERT_NE(main, nullptr) << run.Read("step0.txt");
  EXPECT_EQ(std::make_tuple(main->visible, main->top, main->bottom), std::make_tuple(true, 26, 294));
  EXPECT_EQ(TextOf(dumps[0], kStatusId), "Ready");
  size_t n = 1;
  for (auto [item, caption, key, status, fullScreen] : templates) {
    const DumpWindow* dialog = FindWindowIn(dumps[n], "Dialog", caption);
    ASSERT_NE(dialog, nullptr) << item << "\n" << run.Read("step" + std::to_string(n) + ".txt");
    EXPECT_EQ(dialog->depth, 0);
    if (fullScreen) {
      EXPECT_EQ(std::vector<int>({dialog->left, dialog->top, dialog->right, dialog->bottom}),
                std::vector<int>({0, 26, 240, 294}))
          << dialog->line;
    } else {
      // Centred over the main window, which fills the work area.
      EXPECT_LE(std::abs((dialog->left + dialog->right) / 2 - 120), 1) << dialog->line;
      EXPECT_LE(std::abs((dialog->top + dialog->bottom) / 2 - 160), 1) << dialog->line;
    }
    EXPECT_EQ(TextOf(dumps[n + 1], kStatusId), status) << item;
    n += 2;
  }
}

TEST(Gallery, APopupMenuSendsItsCommandOrReturnsIt) {
  GalleryRun run;
  Dumps dumps;
  const GalleryResult result = run.RunSteps(
      {// A tap on the main window: the choice arrives as a command.
       "tap 120 200\nkey Down\nkey Down\nkey Enter",
       // From the menu bar: the choice comes back as the result.
       "menu \"Boxes\" \"Popup menu\"\nkey Down\nkey Enter", "menu \"Boxes\" \"Popup menu\"\nkey Escape"},
      dumps);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  EXPECT_EQ(TextOf(dumps[0], kStatusId), "Popup menu sent 41402");
  EXPECT_EQ(TextOf(dumps[1], kStatusId), "Popup menu returned 41401");
  EXPECT_EQ(TextOf(dumps[2], kStatusId), "Popup menu returned 0");
}

// The list and tree pages: each step's line of events, and a row or node as
// the dump shows it afterwards (the header and rows of the owner-data list lie
// where the normal list's did).
TEST(Gallery, TheListAndTreePagesReportWhatTheStylusKeysAndHeadersDo) {
  constexpr int kListEvents = 2401, kList = 2402, kTreeEvents = 2301, kTree = 2302;
  const std::tuple<std::string, int, const char*, int, const char*, const char*> steps[] = {
      {"menu \"Controls\" \"List view...\"", kListEvents, nullptr, kList, "column index=2",
       "column index=2 text=\"Size\" width=50 format=right subitem=2"},
      {"key Down\nkey Down\nkey Down", kListEvents, "1 selected, first row 2 (2)", kList, "row index=2 ",
       "row index=2 selected focused cells=\"Row 0000002\" \"2\" \"15851\" \"62\" \"4226\""},
      {"tap 40 141 Shift\ntap 40 192 ctrl", kListEvents, "4 selected, first row 2 (2)", kList, nullptr, nullptr},
      {"key Shift+End", kListEvents, "193 selected, first row 7 (7)", kList, nullptr, nullptr},
      {"press \"Owner data\"", kListEvents, "Owner-data list of 1000000 rows", kList, "list rows=1000000 ", nullptr},
      // Ten rows share each size: the smallest first, in their own order.
      {"tap 150 56", kListEvents, "Sorted by Size, ascending", kList, "row index=0 ",
       "row index=0 cells=\"Row 0070173\" \"70173\" \"0\" \"906\" \"6429\""},
      {"tap 150 56", kListEvents, "Sorted by Size, descending", kList, nullptr, nullptr},
      {"press \"Normal\"\npress \"Owner data\"\ntype \"row 0000001\"", kListEvents, "1 selected, first row 1 (1)",
       kList, "row index=1 ", "row index=1 selected focused cells=\"Row 0000001\" \"1\" \"7932\" \"31\" \"5761\""},
      {"close\nmenu \"Controls\" \"Tree view...\"", kTreeEvents, "18 nodes", kTree, "node \"Databases\"",
       "node \"Databases\" data=0 expanded"},
      {"tap 80 107", kTreeEvents, "Tasks Database selected by stylus", kTree, nullptr, nullptr},
      {"tap 28 71", kTreeEvents, "Contacts Database expanded", kTree, nullptr, nullptr},
      // Down to "Inbox", Left to its parent, Left again closes it.
      {"key Down\nkey Left\nkey Left", kTreeEvents, "Databases collapsed", kTree, "node \"Databases\"",
       "node \"Databases\" data=0 selected"},
  };
  std::vector<std::string> actions;
  for (const auto& step : steps) actions.push_back(std::get<0>(step));
  actions.push_back("close");
  GalleryRun run;
  Dumps dumps;
  const GalleryResult result = run.RunSteps(actions, dumps);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  for (size_t n = 0; n < std::size(steps); ++n) {
    auto [action, eventsId, event, controlId, prefix, line] = steps[n];
    SCOPED_TRACE(action);
    if (event != nullptr) {
      EXPECT_EQ(TextOf(dumps[n], eventsId), event);
    }
    const DumpWindow* control = FindId(dumps[n], controlId);
    ASSERT_NE(control, nullptr) << run.Read("step" + std::to_string(n) + ".txt");
    if (prefix == nullptr) continue;
    const std::string expected = line != nullptr ? line : prefix;
    EXPECT_EQ(control->Item(prefix).substr(0, expected.size()), expected);
  }
}

// The centre of a dumped window as a script's screen point.
std::string CentreOf(const DumpWindow* w) {
  return w == nullptr ? "0 0" : std::to_string((w->left + w->right) / 2) + " " + std::to_string((w->top + w->bottom) / 2);
}

TEST(Gallery, TheStandardControlsDialogHoldsEveryControlAndEachReportsWhatTheStylusAndKeysDo) {
  // Where the controls are, from a first run.
  GalleryRun look;
  Dumps dumps;
  const GalleryResult looked = look.RunSteps({"menu \"Controls\" \"Standard controls...\"", "key Escape"}, dumps);
  ASSERT_EQ(looked.exitCode, 0) << looked.errors;
  const auto& placed = dumps[0];
  const DumpWindow* dialog = FindWindowIn(placed, "Dialog", "Standard controls");
  ASSERT_NE(dialog, nullptr) << look.Read("step0.txt");
  const std::tuple<int, const char*, const char*> controls[] = {
      {2101, "static", "Left"},  {2102, "static", "Centre"},  {2103, "static", "Right"},
      {2104, "static", ""},      {2105, "static", "Tap this label to move to the list."},
      {2106, "button", "Push"},  {2107, "button", "Default"}, {2108, "button", "Options"},
      {2109, "button", "First"}, {2110, "button", "Second"},  {2111, "combobox", ""},
      {2112, "listbox", ""},     {2113, "scrollbar", ""},
  };
  for (auto [id, className, text] : controls) {
    const DumpWindow* control = FindId(placed, id);
    ASSERT_NE(control, nullptr) << id << "\n" << look.Read("step0.txt");
    EXPECT_EQ(strcasecmp(control->className.c_str(), className), 0) << control->line;
    EXPECT_EQ(control->text, text) << control->line;
    EXPECT_EQ(control->depth, dialog->depth + 1) << control->line;
    EXPECT_TRUE(control->visible) << control->line;
    EXPECT_TRUE(control->left >= dialog->left && control->right <= dialog->right && control->bottom <= dialog->bottom)
        << "outside the dialog: " << control->line;
  }
  // The three aligned labels share a row, left to right.
  EXPECT_LT(FindId(placed, 2101)->left, FindId(placed, 2102)->left);
  EXPECT_LT(FindId(placed, 2102)->left, FindId(placed, 2103)->left);
  EXPECT_EQ(FindId(placed, 2101)->top, FindId(placed, 2103)->top);

  const std::pair<std::string, std::string> steps[] = {
      {"menu \"Controls\" \"Standard controls...\"", ""},
      // From Push, two tabs reach the sorted combo box, which orders its
      // items without regard to case; Down selects the next, up to the last.
      {"key Tab\nkey Tab\nkey Down", "Combo box: apple"},
      {"key Down", "Combo box: Banana"},
      {"key Down", "Combo box: cherry"},
      {"key Down", "Combo box: Pear"},
      {"key Down", "Combo box: Pear"},
      {"press \"Push\"", "Push pressed"},
      {"press \"Default\"", "Default pressed"},
      {"tap " + CentreOf(FindId(placed, 2109)), "First checked"},
      {"tap " + CentreOf(FindId(placed, 2109)), "First cleared"},
      {"press \"Second\"", "Second cleared"},
      {"press \"First\"", "First checked"},
      // The tap moves the focus to the list; the keys then choose in it.
      {"tap " + CentreOf(FindId(placed, 2105)), "Label tapped"},
      {"key Down", "List box: One"},
      {"key Down", "List box: Two"},
      // Tab from the list to the scroll bar, which moves with the keys.
      {"key Tab\nkey Right", "Scroll bar: 1"},
      {"key PageDown", "Scroll bar: 11"},
      {"key Escape", ""},
  };
  std::vector<std::string> actions;
  for (const auto& step : steps) actions.push_back(step.first);
  GalleryRun run;
  const GalleryResult result = run.RunSteps(actions, dumps);
  ASSERT_EQ(result.exitCode, 0) << result.errors;
  for (size_t n = 1; n + 1 < actions.size(); ++n) EXPECT_EQ(TextOf(dumps[n], kLastEventId), steps[n].second) << actions[n];
  EXPECT_EQ(TextOf(dumps.back(), kStatusId),
            "Controls ended with 2: first 1, second 0, combo Pear, list Two, scroll 11");
}

}  // namespace
}  // namespace gallerytest
