// The drop-down combo box: its items in order, prefix selection, the window
// text, which changes its parent hears of, and the drop-down list driven by
// the stylus and the keys, alone and in a dialog.
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "Recorder.h"

namespace usertest {
namespace {

constexpr int kComboId = 1006;
constexpr DWORD kDropDownList = WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;
using Texts = std::vector<std::u16string>;
using Codes = std::vector<UINT>;

class ComboBoxTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent = createTopLevel(WS_VISIBLE);
  }
  void make(DWORD style, std::initializer_list<const char16_t*> texts) {
    combo = createControl(parent, WC_COMBOBOX, nullptr, kDropDownList | style, kComboId, {10, 40, 130, 140});
    for (const char16_t* t : texts) send(CB_ADDSTRING, 0, t);
  }
  LRESULT send(UINT msg, WPARAM wParam, const void* text = nullptr) {
    return SendMessageW(combo, msg, wParam, reinterpret_cast<LPARAM>(text));
  }
  Texts items() {
    Texts out(static_cast<size_t>(send(CB_GETCOUNT, 0)));
    for (size_t i = 0; i < out.size(); ++i) {
      out[i].resize(static_cast<size_t>(send(CB_GETLBTEXTLEN, i)));
      send(CB_GETLBTEXT, i, out[i].data());
    }
    return out;
  }
  std::u16string text() {
    WCHAR buffer[64] = {};
    GetWindowTextW(combo, buffer, 64);
    return buffer;
  }
  LRESULT selected() { return send(CB_GETCURSEL, 0); }
  bool dropped() { return send(CB_GETDROPPEDSTATE, 0) != 0; }
  POINT itemPoint(int index) {
    RECT list{};
    send(CB_GETDROPPEDCONTROLRECT, 0, &list);
    int h = static_cast<int>(send(CB_GETITEMHEIGHT, 0));
    return {list.left + 10, list.top + 1 + index * h + h / 2};
  }
  HWND parent = nullptr;
  HWND combo = nullptr;
};

TEST_F(ComboBoxTest, ItemsAreSortedWithoutRegardToCaseSelectStringFindsTheNextWithThePrefixAndTheTextIsTheSelection) {
  make(CBS_SORT, {});
  const std::pair<const char16_t*, LRESULT> added[] = {{u"banana", 0}, {u"Apricot", 0}, {u"cherry", 2},
                                                       {u"apple", 0},  {u"Blueberry", 3}, {u"APPLE", 1}};
  for (auto [item, index] : added) EXPECT_EQ(send(CB_ADDSTRING, 0, item), index) << "adding a text";
  EXPECT_EQ(items(), (Texts{u"apple", u"APPLE", u"Apricot", u"banana", u"Blueberry", u"cherry"}));
  EXPECT_EQ(text(), u"") << "nothing selected";
  const struct { int start; const char16_t* prefix; LRESULT found; } cases[] = {
      {-1, u"ap", 0},       // the whole list from the top
      {0, u"ap", 1},        // after the start index
      {2, u"ap", 0},        // wrapping round to the top
      {-1, u"B", 3},        // without regard to case
      {5, u"CHER", 5},      // the start item itself comes last
      {4, u"Blueberry", 4},
      {99, u"ch", 5},       // a start past the end searches from the top
      {-1, u"apples", CB_ERR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "start " << c.start);
    send(CB_SETCURSEL, 2);
    EXPECT_EQ(send(CB_SELECTSTRING, static_cast<WPARAM>(c.start), c.prefix), c.found);
    EXPECT_EQ(selected(), c.found == CB_ERR ? 2 : c.found) << "a failed search keeps the selection";
  }
  EXPECT_TRUE(heardFrom(parent, combo).empty()) << "a program's selections are not announced";
  EXPECT_EQ(text(), u"Apricot") << "the window text is the selected item";
  EXPECT_EQ(send(CB_INSERTSTRING, 2, u"zebra"), 2) << "inserting places an item where it is asked, sorted or not";
  EXPECT_EQ(selected(), 3) << "an item inserted at the selection moves it along";
  EXPECT_EQ(send(CB_DELETESTRING, 0), 6) << "the count left";
  EXPECT_EQ(text(), u"Apricot");
  EXPECT_EQ(send(CB_SETCURSEL, 9), CB_ERR);
  EXPECT_EQ(selected(), CB_ERR) << "an index past the end clears the selection";
  EXPECT_EQ(text(), u"");
  EXPECT_TRUE(SetWindowTextW(combo, u"BANANA"));
  EXPECT_EQ(text(), u"banana") << "setting the text selects the item that has it";
  EXPECT_EQ(send(WM_SETTEXT, 0, u"Helvetica"), CB_ERR);
  EXPECT_EQ(selected(), 3);
}

TEST_F(ComboBoxTest, ThePersonsKeysAndTapsChooseAndOpenAndOnlyTheyAreHeard) {
  make(WS_VSCROLL | CBS_SORT, {u"Courier New", u"Arial", u"Comic", u"Tahoma", u"Times"});
  send(CB_SETCURSEL, 0);
  SetFocus(combo);
  EXPECT_EQ(heardFrom(parent, combo), (Codes{CBN_SETFOCUS}));
  constexpr int kField = -1, kOutside = -2;  // taps; 0 and up: a tap on that item of the open list
  const UINT ok[] = {CBN_SELENDOK, CBN_CLOSEUP}, cancel[] = {CBN_SELENDCANCEL, CBN_CLOSEUP};
  const struct { UINT vk; int tapAt; const char16_t* text; Codes heard; bool dropped; } steps[] = {
      {'C', 0, u"Comic", {CBN_SELCHANGE}, false},  // typing selects by prefix
      {'O', 0, u"Comic", {}, false},               // "co" still matches the selected item
      {'U', 0, u"Courier New", {CBN_SELCHANGE}, false},
      {'T', 0, u"Tahoma", {CBN_SELCHANGE}, false},  // no item starts "cout": a new prefix
      {VK_DOWN, 0, u"Times", {CBN_SELCHANGE}, false},
      {VK_HOME, 0, u"Arial", {CBN_SELCHANGE}, false},
      {VK_END, 0, u"Times", {CBN_SELCHANGE}, false},
      {0, kField, u"Times", {CBN_DROPDOWN}, true},
      {0, 2, u"Courier New", {ok[0], ok[1], CBN_SELCHANGE}, false},
      {0, kField, u"Courier New", {CBN_DROPDOWN}, true},
      {0, 2, u"Courier New", {ok[0], ok[1]}, false},  // the item already selected
      {VK_F4, 0, u"Courier New", {CBN_DROPDOWN}, true},
      {VK_DOWN, 0, u"Courier New", {}, true},  // the field keeps its item while the list is open
      {VK_ESCAPE, 0, u"Courier New", {cancel[0], cancel[1]}, false},
      {VK_F4, 0, u"Courier New", {CBN_DROPDOWN}, true},
      {VK_DOWN, 0, u"Courier New", {}, true},
      {VK_RETURN, 0, u"Tahoma", {ok[0], ok[1], CBN_SELCHANGE}, false},
      {0, kField, u"Tahoma", {CBN_DROPDOWN}, true},
      {0, kOutside, u"Tahoma", {cancel[0], cancel[1]}, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << &s - steps);
    RECT f = screenRect(combo);
    POINT at = s.tapAt == kOutside ? POINT{200, 300}
               : s.tapAt == kField ? POINT{f.left + 10, (f.top + f.bottom) / 2} : itemPoint(s.tapAt);
    s.vk ? press(s.vk) : tap(at.x, at.y);
    pump();
    EXPECT_EQ(log().count(parent, WM_LBUTTONDOWN), 0u) << "no tap reaches the parent, not even one outside";
    EXPECT_EQ(heardFrom(parent, combo), s.heard);
    EXPECT_EQ(text(), s.text);
    EXPECT_EQ(dropped(), s.dropped);
  }

  send(CB_SHOWDROPDOWN, TRUE);
  SetFocus(parent);
  EXPECT_FALSE(dropped()) << "losing the focus closes it";
  EXPECT_EQ(heardFrom(parent, combo), (Codes{CBN_DROPDOWN, cancel[0], cancel[1], CBN_KILLFOCUS}));
}

INT_PTR CALLBACK endingProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
    return EndDialog(dialog, LOWORD(wParam));
  return msg == WM_INITDIALOG;
}

TEST_F(ComboBoxTest, InADialogTheOpenListTakesEnterAndEscape) {
  TemplateBytes t;
  t.header(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 2, 0, 0, 139, 84).word(0).word(0).text(u"Font");
  t.word(8).text(u"Tahoma");
  t.item(WS_CHILD | WS_VISIBLE | WS_VSCROLL | kDropDownList | CBS_SORT, 4, 16, 77, 53, kComboId, 0x85, u"");
  t.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 88, 60, 40, 14, IDOK, 0x80, u"OK");
  std::u16string chosen;
  int fieldHeight = 0;
  whileModal([&] {
    HWND faces = GetDlgItem(GetActiveWindow(), kComboId);
    fieldHeight = screenRect(faces).bottom - screenRect(faces).top;
    EXPECT_EQ(GetFocus(), faces);
    for (const char16_t* face : {u"Tahoma", u"Courier New", u"Arial", u"Frutiger"})
      SendMessageW(faces, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face));
    for (UINT vk : {VK_F4, VK_HOME, VK_RETURN}) press(vk);  // takes the lit item: the list closes, the dialog stays
  });
  whileModal([&] {
    HWND faces = GetDlgItem(GetActiveWindow(), kComboId);
    EXPECT_FALSE(SendMessageW(faces, CB_GETDROPPEDSTATE, 0, 0));
    WCHAR text[32] = {};
    GetWindowTextW(faces, text, 32);
    chosen = text;
    press(VK_F4);
    press(VK_ESCAPE);  // closes the list only
  });
  whileModal([&] {
    EXPECT_TRUE(IsWindowVisible(GetActiveWindow())) << "the dialog is still open";
    press(VK_ESCAPE);  // now the dialog's
  });
  EXPECT_EQ(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.dialogTemplate(), parent, endingProc, 0), IDCANCEL);
  EXPECT_EQ(chosen, u"Arial");
  EXPECT_LT(fieldHeight, 40) << "the control keeps the field's height, not the template's 53 units";
}

}  // namespace
}  // namespace usertest
