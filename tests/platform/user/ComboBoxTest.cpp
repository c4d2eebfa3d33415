// The drop-down combo box: its items in order, prefix selection, the window
// text, which changes its parent hears of, and the drop-down list driven by
// the stylus and the keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "Recorder.h"
#include "device/Device.h"

namespace usertest {
namespace {

constexpr int kComboId = 1006;
constexpr DWORD kDropDownList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;

display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }

class ComboBoxTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent = createTopLevel(WS_VISIBLE);
    pump();
  }

  HWND make(DWORD style, RECT r = {10, 40, 130, 140}) {
    combo = CreateWindowExW(0, WC_COMBOBOX, nullptr, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(kComboId)), GetModuleHandleW(nullptr),
                            nullptr);
    return combo;
  }
  void add(std::initializer_list<const char16_t*> texts) {
    for (const char16_t* t : texts) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  }
  std::vector<std::u16string> items() {
    std::vector<std::u16string> out;
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      std::u16string text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), u'\0');
      SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      out.push_back(text);
    }
    return out;
  }
  std::u16string text() {
    WCHAR buffer[64] = {};
    GetWindowTextW(combo, buffer, 64);
    return buffer;
  }
  LRESULT selected() { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }
  // The notification codes the parent received from the combo box.
  std::vector<UINT> heard() {
    pump();
    std::vector<UINT> codes;
    for (const Entry& e : log().only({WM_COMMAND}))
      if (e.hwnd == parent && reinterpret_cast<HWND>(e.lParam) == combo && LOWORD(e.wParam) == kComboId)
        codes.push_back(HIWORD(e.wParam));
    log().clear();
    return codes;
  }
  void press(UINT vk) {
    key(vk, true);
    key(vk, false);
    pump();
  }
  RECT fieldOnScreen() {
    RECT r;
    GetWindowRect(combo, &r);
    return r;
  }
  RECT listOnScreen() {
    RECT r{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void tapItem(int index) {
    RECT list = listOnScreen();
    int h = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    tap(list.left + 10, list.top + 1 + index * h + h / 2);
    pump();
  }
  void tapField() {
    RECT f = fieldOnScreen();
    tap(f.left + 10, (f.top + f.bottom) / 2);
    pump();
  }

  HWND parent = nullptr;
  HWND combo = nullptr;
};

using Texts = std::vector<std::u16string>;

TEST_F(ComboBoxTest, SortedComboKeepsItemsInAlphabeticalOrderWithoutRegardToCase) {
  make(kDropDownList | CBS_SORT);
  struct Step {
    const char16_t* text;
    LRESULT index;
  } steps[] = {{u"banana", 0}, {u"Apricot", 0}, {u"cherry", 2}, {u"apple", 0}, {u"Blueberry", 3}, {u"APPLE", 1}};
  for (const Step& s : steps)
    EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.text)), s.index) << "adding a text";
  EXPECT_EQ(items(), (Texts{u"apple", u"APPLE", u"Apricot", u"banana", u"Blueberry", u"cherry"}));
  // Inserting places an item where it is asked, sorted or not.
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"zebra")), 0);
  EXPECT_EQ(items().front(), u"zebra");
}

TEST_F(ComboBoxTest, UnsortedComboKeepsTheOrderItemsCameIn) {
  make(kDropDownList);
  add({u"8", u"9", u"10", u"11", u"12", u"14"});
  EXPECT_EQ(items(), (Texts{u"8", u"9", u"10", u"11", u"12", u"14"}));
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"7")), 6);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 6) << "the count left";
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 6, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 1, 0), 2);
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 6, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 2, 77), CB_OKAY);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 2, 0), 77);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 9, 0), CB_ERR);
}

TEST_F(ComboBoxTest, SelectStringFindsTheNextItemStartingWithThePrefix) {
  make(kDropDownList | CBS_SORT);
  add({u"cherry", u"banana", u"Blueberry", u"apple", u"Apricot"});  // apple Apricot banana Blueberry cherry
  struct Case {
    int start;
    const char16_t* prefix;
    LRESULT found;
  } cases[] = {
      {-1, u"ap", 0},      // the whole list from the top
      {0, u"ap", 1},       // after the start index
      {1, u"ap", 0},       // wrapping round to the top
      {-1, u"B", 2},       // without regard to case
      {2, u"b", 3},
      {4, u"CHER", 4},     // the start item itself comes last
      {3, u"Blueberry", 3},
      {99, u"ch", 4},      // a start past the end searches from the top
      {-1, u"apples", CB_ERR},
  };
  for (const Case& c : cases) {
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    LRESULT found = SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.prefix));
    EXPECT_EQ(found, c.found) << "start " << c.start;
    EXPECT_EQ(selected(), c.found == CB_ERR ? 2 : c.found) << "a failed search keeps the selection";
    // Finding answers the same without selecting.
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.prefix)), c.found);
    EXPECT_EQ(selected(), 2);
  }
  EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"BANANA")), 2);
  EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"ban")), CB_ERR);
  EXPECT_TRUE(heard().empty()) << "a program's selections are not announced";
}

TEST_F(ComboBoxTest, WindowTextIsTheSelectedItemOrEmpty) {
  make(kDropDownList);
  add({u"Tahoma", u"Courier", u"Arial"});
  EXPECT_EQ(text(), u"");
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(text(), u"Courier");
  EXPECT_EQ(GetWindowTextLengthW(combo), 7);
  // An item inserted before the selection moves it along.
  SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"Verdana"));
  EXPECT_EQ(selected(), 2);
  EXPECT_EQ(text(), u"Courier");
  SendMessageW(combo, CB_DELETESTRING, 0, 0);
  EXPECT_EQ(text(), u"Courier");
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 7, 0), CB_ERR);
  EXPECT_EQ(selected(), CB_ERR) << "an index past the end clears the selection";
  EXPECT_EQ(text(), u"");
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(combo, CB_DELETESTRING, 2, 0);
  EXPECT_EQ(selected(), CB_ERR) << "the selected item deleted";
  EXPECT_EQ(text(), u"");
  // Setting the text selects the item that has it.
  EXPECT_TRUE(SetWindowTextW(combo, u"COURIER"));
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(text(), u"Courier");
  EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Helvetica")), CB_ERR);
  EXPECT_EQ(selected(), 1);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(text(), u"");
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ComboBoxTest, TheParentHearsOfThePersonsChangesOnly) {
  make(kDropDownList | WS_VSCROLL);
  add({u"one", u"two", u"three", u"four"});
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_SETFOCUS}));

  press(VK_DOWN);
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(text(), u"two");
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_SELCHANGE}));
  press(VK_UP);
  press(VK_UP);  // already at the top: nothing changes
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_SELCHANGE}));
  press(VK_END);
  EXPECT_EQ(text(), u"four");
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_SELCHANGE}));

  // A tap on an item of the dropped list.
  tapField();
  EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_DROPDOWN}));
  tapItem(2);
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(text(), u"three");
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

  // The item already selected: no change to announce.
  tapField();
  tapItem(2);
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}));

  // The program's own changes.
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"f"));
  EXPECT_EQ(text(), u"four");
  EXPECT_TRUE(heard().empty());

  SetFocus(parent);
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_KILLFOCUS}));
}

TEST_F(ComboBoxTest, TheListClosesKeepingOrTakingTheLitItem) {
  make(kDropDownList);
  add({u"one", u"two", u"three"});
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  heard();

  press(VK_F4);
  EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  press(VK_DOWN);
  press(VK_DOWN);
  EXPECT_EQ(text(), u"one") << "the field keeps its item while the list is open";
  press(VK_ESCAPE);
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(text(), u"one");
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));

  press(VK_F4);
  press(VK_DOWN);
  press(VK_RETURN);
  EXPECT_EQ(text(), u"two");
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));

  // A tap outside closes it and changes nothing, nor reaches the parent.
  tapField();
  tap(200, 300);
  pump();
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(text(), u"two");
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(log().count(parent, WM_LBUTTONDOWN), 0u);

  // Losing the focus closes it as well.
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SetFocus(parent);
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBoxTest, TypingSelectsByPrefix) {
  make(kDropDownList | CBS_SORT);
  add({u"Courier New", u"Arial", u"Comic", u"Tahoma", u"Times"});  // Arial Comic Courier New Tahoma Times
  SetFocus(combo);
  heard();
  struct Case {
    UINT key;
    const char16_t* text;
  } cases[] = {
      {'C', u"Comic"},
      {'O', u"Comic"},        // "co" still matches the selected item
      {'U', u"Courier New"},  // "cou"
      {'T', u"Tahoma"},       // no item starts "cout": a new prefix
  };
  for (const Case& c : cases) {
    press(c.key);
    EXPECT_EQ(text(), c.text);
  }
  EXPECT_EQ(heard(), (std::vector<UINT>{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));
}

TEST_F(ComboBoxTest, ListDropsBelowTheFieldOrAboveWhenTheScreenEnds) {
  make(kDropDownList, {10, 40, 130, 140});
  add({u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j"});
  RECT field = fieldOnScreen();
  int fieldHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(field.bottom - field.top, fieldHeight) << "the control is as high as its field";
  RECT list = listOnScreen();
  EXPECT_EQ(list.top, field.bottom);
  EXPECT_EQ(list.left, field.left);
  EXPECT_EQ(list.right, field.right);
  // The rest of the height the control was given holds whole rows.
  int rows = (100 - fieldHeight) / itemHeight;
  EXPECT_EQ(list.bottom - list.top, rows * itemHeight + 2);

  // Near the bottom of the screen it opens upwards.
  SetWindowPos(combo, nullptr, 10, 250, 120, 100, SWP_NOZORDER);
  field = fieldOnScreen();
  list = listOnScreen();
  EXPECT_EQ(list.bottom, field.top);
  // Fewer items than rows: as many rows as items.
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  add({u"x", u"y"});
  list = listOnScreen();
  EXPECT_EQ(list.bottom - list.top, 2 * itemHeight + 2);

  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  pump();
  HWND shown = nullptr;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsWindowVisible(w) && w != parent) shown = w;
  ASSERT_NE(shown, nullptr) << "the list is a popup of its own";
  RECT actual;
  GetWindowRect(shown, &actual);
  EXPECT_EQ(actual.top, list.top);
  EXPECT_EQ(actual.bottom, list.bottom);
  EXPECT_EQ(GetActiveWindow(), parent) << "the list does not take activation";
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(IsWindow(shown)) << "the list goes when it closes";
}

TEST_F(ComboBoxTest, PressDraggedIntoTheListChoosesOnLift) {
  make(kDropDownList);
  add({u"one", u"two", u"three"});
  RECT f = fieldOnScreen();
  stylus(display::InputEvent::Type::StylusDown, f.left + 10, f.top + 5);
  pump();
  RECT list = listOnScreen();
  int h = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  stylus(display::InputEvent::Type::StylusMove, list.left + 10, list.top + 1 + h + h / 2);
  stylus(display::InputEvent::Type::StylusUp, list.left + 10, list.top + 1 + h + h / 2);
  pump();
  EXPECT_EQ(text(), u"two");
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, DrawsTheSelectedTextAndTheArrowButton) {
  make(kDropDownList);
  add({u"Tahoma", u"Courier"});
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  pump();
  RECT f = fieldOnScreen();
  auto count = [&](RECT r, uint32_t color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += screen().pixel(x, y) == color;
    return n;
  };
  const uint32_t face = 0xC0C0C0;  // the button face
  int arrow = GetSystemMetrics(SM_CXVSCROLL);
  RECT button{f.right - 1 - arrow, f.top + 1, f.right - 1, f.bottom - 1};
  RECT textArea{f.left + 2, f.top + 2, f.right - arrow - 2, f.bottom - 2};
  EXPECT_GT(count(button, face), arrow * 4) << "the arrow button";
  EXPECT_GT(count(button, 0), 3) << "its arrow";
  EXPECT_EQ(screen().pixel(f.left, f.top), 0u) << "the black frame";
  int darkBefore = 0;
  for (int y = textArea.top; y < textArea.bottom; ++y)
    for (int x = textArea.left; x < textArea.right; ++x) darkBefore += (screen().pixel(x, y) & 0xFF) < 0x60;
  EXPECT_GT(darkBefore, 10) << "the item's text";

  // With the focus the field is lit.
  SetFocus(combo);
  pump();
  EXPECT_GT(count(textArea, 0x000080), 100);
}

TEST_F(ComboBoxTest, ScrollBarStyleBelongsToTheList) {
  make(kDropDownList | WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(combo, GWL_STYLE) & WS_VSCROLL) << "the field shows no scroll bar";
  add({u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j", u"k", u"l"});
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND shown = nullptr;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsWindowVisible(w) && w != parent) shown = w;
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(GetWindowLongW(shown, GWL_STYLE) & WS_VSCROLL) << "more items than rows";
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

INT_PTR CALLBACK fontLikeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  if (msg != WM_INITDIALOG) return FALSE;
  HWND faces = GetDlgItem(dialog, kComboId);
  for (const char16_t* face : {u"Tahoma", u"Courier New", u"Arial", u"Frutiger"})
    SendMessageW(faces, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face));
  SendMessageW(faces, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"Tah"));
  return TRUE;
}

// In a dialog, Enter and Escape close the open list, not the dialog.
TEST_F(ComboBoxTest, InADialogTheOpenListTakesEnterAndEscape) {
  TemplateBytes t;
  t.header(WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 2, 0, 0, 139, 84).word(0).word(0).text(u"Font").word(8).text(u"Tahoma");
  t.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, 4, 16, 77, 53, kComboId, 0x85, u"");
  t.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 88, 60, 40, 14, IDOK, 0x80, u"OK");
  std::u16string chosen;
  int fieldHeight = 0;
  auto press = [](UINT vk) {
    key(vk, true);
    key(vk, false);
  };
  whileModal([&] {
    HWND faces = GetDlgItem(activeDialog(), kComboId);
    RECT r;
    GetWindowRect(faces, &r);
    fieldHeight = r.bottom - r.top;
    EXPECT_EQ(GetFocus(), faces);
    press(VK_F4);
    press(VK_HOME);
    press(VK_RETURN);  // takes the lit item: the list closes, the dialog stays
  });
  whileModal([&] {
    HWND faces = GetDlgItem(activeDialog(), kComboId);
    EXPECT_FALSE(SendMessageW(faces, CB_GETDROPPEDSTATE, 0, 0));
    WCHAR text[32] = {};
    GetWindowTextW(faces, text, 32);
    chosen = text;
    press(VK_F4);
    press(VK_ESCAPE);  // closes the list only
  });
  whileModal([&] {
    EXPECT_TRUE(IsWindowVisible(activeDialog())) << "the dialog is still open";
    press(VK_ESCAPE);  // now the dialog's
  });
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.dialogTemplate(), parent, fontLikeProc, 0);
  device::Device::instance().script().clear();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(chosen, u"Arial");
  EXPECT_LT(fieldHeight, 40) << "the control keeps the field's height, not the template's 53 units";
}

}  // namespace
}  // namespace usertest
