// The window class: dispatch, binding, classes and exceptions; the application
// that runs its windows; the map of modeless dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <charconv>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "FatalBox.h"
#include "browser/BrowserWnd.h"
#include "framework/CeApp.h"
#include "framework/CeModelessMap.h"
#include "framework/CeString.h"
#include "framework/CeWnd.h"
#include "kernel/Icons.h"

namespace {

std::string Hex(uint64_t value) { char t[24]; return std::string(t, std::to_chars(t, t + sizeof t, value, 16).ptr); }

uint64_t Word(uint64_t value) { return value; }
uint64_t Word(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

// Records each handler call with its arguments; handlers follow `handles` and return `answer`.
class Probe : public CeWnd {
 public:
  std::string calls;  // one line a call
  bool handles = true;
  LRESULT answer = 77;

  LRESULT OnChar(WPARAM c, UINT r, UINT d, bool* h) override { return Note("OnChar", h, c, r, d); }
  LRESULT OnClose(bool* h) override { return Note("OnClose", h); }
  // Bound before its create handler runs.
  LRESULT OnCreate(CREATESTRUCTW* cs, bool* h) override {
    return Note("OnCreate", h, cs->lpCreateParams == static_cast<CeWnd*>(this) && hwnd != nullptr);
  }
  LRESULT OnCommand(WPARAM w, HWND control, bool* h) override { return Note("OnCommand", h, w, control); }
  LRESULT OnNotify(WPARAM id, NMHDR* header, bool* h) override { return Note("OnNotify", h, id, header); }
  LRESULT OnDestroy(bool* h) override { return Note("OnDestroy", h); }
  LRESULT OnEnable(BOOL enabled, bool* h) override { return Note("OnEnable", h, enabled); }
  LRESULT OnEraseBkgnd(HDC dc, bool* h) override { return Note("OnEraseBkgnd", h, dc); }
  LRESULT OnKeyDown(WPARAM k, UINT r, UINT d, bool* h) override { return Note("OnKeyDown", h, k, r, d); }
  LRESULT OnKeyUp(WPARAM k, UINT r, UINT d, bool* h) override { return Note("OnKeyUp", h, k, r, d); }
  LRESULT OnLButtonDblClk(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnLButtonDblClk", h, k, x, y); }
  LRESULT OnLButtonDown(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnLButtonDown", h, k, x, y); }
  LRESULT OnLButtonUp(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnLButtonUp", h, k, x, y); }
  LRESULT OnMouseMove(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnMouseMove", h, k, x, y); }
  LRESULT OnMove(UINT x, UINT y, bool* h) override { return Note("OnMove", h, x, y); }
  LRESULT OnPaint(bool* h) override { return Note("OnPaint", h); }
  LRESULT OnShowWindow(BOOL shown, LPARAM status, bool* h) override { return Note("OnShowWindow", h, shown, status); }
  LRESULT OnSize(WPARAM type, UINT cx, UINT cy, bool* h) override { return Note("OnSize", h, type, cx, cy); }
  LRESULT OnTimer(WPARAM id, bool* h) override { return Note("OnTimer", h, id); }
  LRESULT OnSettingChange(UINT flag, LPARAM s, bool* h) override { return Note("OnSettingChange", h, flag, s); }
  LRESULT OnMessage(UINT m, WPARAM w, LPARAM l, bool* h) override { return Note("OnMessage", h, m, w, l); }
  void Attach(HWND) override { calls += hwnd == nullptr ? "Attach unbound\n" : "Attach bound\n"; }
  void Detach(HWND window) override {
    const bool defaultProc = GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DefWindowProcW);
    calls += std::string("Detach ") + (hwnd == nullptr ? "unbound" : "bound") + (defaultProc ? " default\n" : "\n");
  }

  bool CreateGeneric() { return Create(nullptr, nullptr, 0, 0, 100, 50, u"probe", WS_POPUP, 0, nullptr, nullptr); }
  // The calls from the next message on.
  std::string Joined() { return std::exchange(calls, {}); }

 private:
  template <class... Args>
  LRESULT Note(const char* slot, bool* handled, Args... args) {
    std::string call = std::string(slot) + "(";
    ((call += Hex(Word(args)) + ","), ...);
    if (call.back() == ',') call.pop_back();
    calls += call + ")\n";
    *handled = handles;
    return answer;
  }
};

// Only WM_COMMAND, WM_NOTIFY, WM_ERASEBKGND and unlisted messages answer
// with the handler's result; the others answer 0.
TEST(CeWnd, EverySlotReceivesItsUnpackedArgumentsAndAnswersAsItsMessageDoes) {
  Probe probe;
  ASSERT_TRUE(probe.CreateGeneric());
  EXPECT_EQ(probe.Joined().substr(0, 27), "Attach unbound\nOnCreate(1)\n");
  EXPECT_EQ(GetWindowLongPtrW(probe.hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&probe));
  EXPECT_EQ(GetWindowLongPtrW(probe.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CeWnd::InstanceProc));
  NMHDR header = {probe.hwnd, 100, 0};
  const std::string window = Hex(Word(probe.hwnd));
  const std::tuple<UINT, WPARAM, LPARAM, std::string, LRESULT> cases[] = {
      {WM_CHAR, 'a', MAKELPARAM(1, 0x1E), "OnChar(61,1,1e)", 0},
      {WM_CLOSE, 0, 0, "OnClose()", 0},
      {WM_COMMAND, MAKEWPARAM(40001, 3), LPARAM(probe.hwnd), "OnCommand(39c41," + window + ")", 77},
      {WM_NOTIFY, 100, LPARAM(&header), "OnNotify(64," + Hex(Word(&header)) + ")", 77},
      {WM_ENABLE, TRUE, 0, "OnEnable(1)", 0},
      {WM_ERASEBKGND, 0xD00D, 0, "OnEraseBkgnd(d00d)", 77},
      {WM_KEYDOWN, VK_DOWN, LPARAM(0x01500001), "OnKeyDown(28,1,150)", 0},
      {WM_KEYUP, VK_DOWN, LPARAM(0xC1500001), "OnKeyUp(28,1,c150)", 0},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4), "OnLButtonDblClk(1,3,4)", 0},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0xFFFF, 5), "OnLButtonDown(1,ffff,5)", 0},
      {WM_LBUTTONUP, 0, MAKELPARAM(7, 0xFFFF), "OnLButtonUp(0,7,ffff)", 0},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(0x8000, 0x7FFF), "OnMouseMove(5,8000,7fff)", 0},
      {WM_MOUSEMOVE, 0, LPARAM(0x7777000200000000LL) | MAKELPARAM(1, 2), "OnMouseMove(0,1,2)", 0},
      {WM_MOVE, 0, MAKELPARAM(0xFFFF, 26), "OnMove(ffff,1a)", 0},
      {WM_PAINT, 0, 0, "OnPaint()", 0},
      {WM_SHOWWINDOW, TRUE, 3, "OnShowWindow(1,3)", 0},
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(240, 294), "OnSize(2,f0,126)", 0},
      {WM_TIMER, 7, 0, "OnTimer(7)", 0},
      {WM_SETTINGCHANGE, WPARAM(0xABCD3002), 0x44, "OnSettingChange(3002,44)", 0},
      {WM_HSCROLL, SB_LINEDOWN, 0x99, "OnMessage(114,1,99)", 77},
      {WM_USER + 5, WPARAM(0x123456789ULL), LPARAM(-2), "OnMessage(405,123456789,fffffffffffffffe)", 77},
  };
  for (const auto& [message, wParam, lParam, expected, result] : cases) {
    SCOPED_TRACE("message " + Hex(message));
    EXPECT_EQ(SendMessageW(probe.hwnd, message, wParam, lParam), result);
    EXPECT_EQ(probe.Joined(), expected + "\n");
  }
  // Unhandled: the default window procedure's answer ("probe" is 5 long).
  probe.handles = false;
  EXPECT_EQ(SendMessageW(probe.hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
  EXPECT_EQ(probe.Joined(), "OnMessage(e,0,0)\n");
  EXPECT_EQ(SendMessageW(probe.hwnd, WM_COMMAND, 5, 0), 0);
}

TEST(CeWnd, DestroyUnbindsAndAnObjectWhoseWindowIsGoneTouchesNothing) {
  Probe bystander;
  ASSERT_TRUE(bystander.CreateGeneric());
  {
    Probe probe;
    ASSERT_TRUE(probe.CreateGeneric());
    probe.handles = false;
    probe.Joined();
    ASSERT_TRUE(DestroyWindow(probe.hwnd));
    EXPECT_EQ(probe.hwnd, nullptr);
    EXPECT_EQ(probe.Joined(), "OnDestroy()\nDetach unbound default\n");
    // A holder left with the handle of a window that has since gone, while
    // another window was made.
    CeWndHandle holder;
    holder.hwnd = CreateWindowExW(0, u"static", u"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(DestroyWindow(holder.hwnd));
    Probe newcomer;
    ASSERT_TRUE(newcomer.CreateGeneric());
    bystander.Joined();
  }
  EXPECT_TRUE(IsWindow(bystander.hwnd));
  EXPECT_EQ(bystander.Joined(), "");
  HWND window = nullptr;
  {
    CeWnd object;
    ASSERT_TRUE(object.Create(nullptr, nullptr, 0, 0, 10, 10, u"w", WS_POPUP, 0, nullptr, nullptr));
    window = object.hwnd;
  }
  EXPECT_FALSE(IsWindow(window)) << "the object's end destroys its live window";
}

// A superclass of a global class defaults to that class's procedure.
TEST(CeWnd, ASecondGenericWindowOrSuperclassDoesNotRegisterTheClassAgain) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  ASSERT_TRUE(CeWnd().Create(nullptr, nullptr, 0, 0, 10, 10, u"first", WS_POPUP, 0, nullptr, nullptr));
  // A window of the class made without an object gets default processing.
  HWND orphan =
      CreateWindowExW(0, u"CeWnd:GENERIC", u"orphan", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  EXPECT_EQ(SendMessageW(orphan, WM_GETTEXTLENGTH, 0, 0), 6);
  DestroyWindow(orphan);

  WNDCLASSW generic = {};
  ASSERT_TRUE(GetClassInfoW(instance, u"CeWnd:GENERIC", &generic));
  ASSERT_TRUE(UnregisterClassW(u"CeWnd:GENERIC", instance));
  CeWnd second;
  EXPECT_FALSE(second.Create(nullptr, nullptr, 0, 0, 10, 10, u"second", WS_POPUP, 0, nullptr, nullptr));
  EXPECT_EQ(second.hwnd, nullptr);
  // Put the class back for the other tests of this process.
  generic.lpszClassName = u"CeWnd:GENERIC";
  ASSERT_NE(RegisterClassW(&generic), 0);
  EXPECT_EQ(generic.hbrBackground, GetStockObject(WHITE_BRUSH));

  WNDCLASSW button = {};
  ASSERT_TRUE(GetClassInfoW(nullptr, u"button", &button));
  Probe probe;
  probe.handles = false;
  ASSERT_TRUE(probe.Create(u"button", nullptr, 0, 0, 80, 20, u"Check", WS_POPUP | BS_AUTOCHECKBOX, 0, nullptr, nullptr));
  WNDCLASSW super = {};
  ASSERT_TRUE(GetClassInfoW(instance, u"CeWnd:button", &super));
  EXPECT_EQ(std::make_tuple(super.lpfnWndProc, super.style, super.cbWndExtra),
            std::make_tuple(WNDPROC(&CeWnd::ClassProc), button.style & ~UINT(CS_GLOBALCLASS), button.cbWndExtra));

  // The button's own procedure answers what the object leaves unhandled.
  probe.Joined();
  for (WPARAM check : {BST_CHECKED, BST_UNCHECKED}) {
    SendMessageW(probe.hwnd, BM_SETCHECK, check, 0);
    EXPECT_EQ(SendMessageW(probe.hwnd, BM_GETCHECK, 0, 0), LRESULT(check));
  }
  EXPECT_EQ(probe.Joined(), "OnMessage(f1,1,0)\nOnMessage(f0,0,0)\nOnMessage(f1,0,0)\nOnMessage(f0,0,0)\n");

  // A second object of the same superclass uses the class already there.
  Probe again, none;
  EXPECT_TRUE(again.Create(u"button", nullptr, 0, 0, 80, 20, u"Again", WS_POPUP, 0, nullptr, nullptr));
  EXPECT_FALSE(none.Create(u"NoSuchClass", nullptr, 0, 0, 10, 10, u"x", WS_POPUP, 0, nullptr, nullptr));
  EXPECT_EQ(none.hwnd, nullptr);
}

// The box names the message; what was done before the throw is kept. Default
// processing after a nested message sees the outer message.
TEST(CeWnd, AnExceptionInAHandlerOrDefaultProcessingIsReportedAndTheMessageAnswered) {
  struct Thrower : CeWnd {
    LRESULT OnMessage(UINT message, WPARAM, LPARAM, bool*) override {
      if (message == WM_SETTEXT) SendMessageW(hwnd, WM_USER + 1, 0, 0);
      return 0;
    }
    LRESULT OnPaint(bool* handled) override {
      *handled = true;
      throw std::runtime_error("paint failed");
    }
    LRESULT OnCommand(WPARAM, HWND, bool*) override { return 41; }
    LRESULT OnDestroy(bool*) override { throw 5; }
    LRESULT DefaultProc() override {
      if (curMsg == WM_COMMAND) throw std::logic_error("default failed");
      return CeWnd::DefaultProc();
    }
  } window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 10, 10, u"thrower", WS_POPUP, 0, nullptr, nullptr));
  const HWND handle = window.hwnd;
  EXPECT_TRUE(SetWindowTextW(handle, u"nested"));
  EXPECT_EQ(std::u16string(CeString(handle).Text()), u"nested");
  const std::tuple<UINT, LRESULT, const char16_t*> cases[] = {
      {WM_PAINT, 0, u"0x000f"}, {WM_COMMAND, 41, u"0x0111"}, {WM_DESTROY, 0, u"0x0002"}};
  for (auto [message, result, code] : cases) {
    FatalBox box;
    AnswerTheNextFatalBox(&box);
    EXPECT_EQ(message == WM_DESTROY ? !DestroyWindow(handle) : SendMessageW(handle, message, 1, 0), result);
    EXPECT_EQ(box.caption, u"Fatal");
    EXPECT_EQ(box.text, u"Window message (" + std::u16string(code) + u") termainated abnormally by an exception");
    EXPECT_EQ(FindWindowW(nullptr, u"Fatal"), nullptr);
    if (message == WM_COMMAND) { EXPECT_EQ(SendMessageW(handle, WM_GETTEXTLENGTH, 0, 0), 6) << "the window goes on"; }
  }
  EXPECT_EQ(window.hwnd, handle);
  EXPECT_FALSE(IsWindow(handle));
  // The object's end finds its window gone and leaves it alone.
}


// Notes the keys, characters and commands that reach it.
struct KeyRecorder : CeWnd {
  std::string calls;
  LRESULT OnKeyDown(WPARAM key, UINT, UINT, bool* handled) override { return Note("key " + std::to_string(key), handled); }
  LRESULT OnChar(WPARAM c, UINT, UINT, bool* handled) override { return Note("char " + std::to_string(c), handled); }
  LRESULT OnCommand(WPARAM idAndCode, HWND, bool* handled) override {
    return Note("command " + std::to_string(LOWORD(idAndCode)) + "/" + std::to_string(HIWORD(idAndCode)), handled);
  }
  LRESULT Note(const std::string& call, bool* handled) {
    calls += call + ";";
    *handled = true;
    return 0;
  }
};

// Keys posted, then the quit: a key the accelerators take comes as their command alone;
// Escape comes as IDCANCEL only to a modeless dialog.
TEST(CeAppRun, AMessageTakenByTheAcceleratorsIsNotDispatchedAndDialogKeysOnlyReachAModelessDialog) {
  ASSERT_NE(g_app, nullptr);
  ACCEL accel = {FVIRTKEY, 'A', 500};
  HACCEL table = CreateAcceleratorTableW(&accel, 1);
  ASSERT_NE(table, nullptr);
  const struct {
    HACCEL accelerators;
    bool modeless;
    std::vector<WPARAM> keys;
    int quitCode;
    const char* calls;
  } cases[] = {{table, false, {'A', 'B'}, 42, "command 500/1;key 66;char 98;"},
               {nullptr, false, {'B', VK_ESCAPE}, 0, "key 66;key 27;char 98;char 27;"},
               {nullptr, true, {VK_ESCAPE}, 0, "command 2/0;"}};
  for (const auto& c : cases) {
    KeyRecorder window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 50, 50, u"keys", WS_POPUP, 0, nullptr, nullptr));
    if (c.modeless) { ASSERT_TRUE(g_modelessMap.Add(window.hwnd, &window)); }
    g_app->accelerators = c.accelerators;
    for (WPARAM key : c.keys) PostMessageW(window.hwnd, WM_KEYDOWN, key, 1);
    PostQuitMessage(c.quitCode);
    EXPECT_EQ(g_app->Run(), c.quitCode);
    EXPECT_EQ(window.calls, c.calls);
    g_app->accelerators = nullptr;
    g_modelessMap.Remove(window.hwnd);
  }
  DestroyAcceleratorTable(table);
}

TEST(CeAppStartup, ShowsTheMainWindowWithTheProgramIconAtBothSizes) {
  ASSERT_NE(g_app, nullptr);
  g_app->instance = GetModuleHandleW(nullptr);
  ASSERT_EQ(g_app->Startup(nullptr, const_cast<LPWSTR>(u""), SW_SHOW), 0);
  HWND main = g_mainWnd.hwnd;
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsWindowVisible(main));
  for (int size : {16, 32}) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, size == 16 ? ICON_SMALL : ICON_BIG, 0));
    const kernel::Icon* image = kernel::iconFromHandle(icon);
    ASSERT_NE(image, nullptr) << size;
    EXPECT_EQ(std::make_pair(image->width, image->height), std::make_pair(size, size));
  }
  DestroyWindow(main);
  for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) continue;
  g_app->instance = nullptr;
}

// The main window fails when a class that binds no object took the generic name.
TEST(CeAppStartup, EndsWithCodeOneWhenTheMainWindowCannotBeCreated) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSW squatter = {};
        squatter.lpfnWndProc = &DefWindowProcW;
        squatter.hInstance = instance;
        squatter.lpszClassName = CeWnd::kGenericClassName;
        if (RegisterClassW(&squatter) == 0) std::exit(99);
        std::exit(WinMain(instance, nullptr, const_cast<LPWSTR>(u""), SW_SHOW));
      },
      ::testing::ExitedWithCode(1), "");
}


HWND Handle(uintptr_t value) { return reinterpret_cast<HWND>(value); }
CeWnd* Object(uintptr_t value) { return reinterpret_cast<CeWnd*>(value); }

std::vector<uintptr_t> Keys(const CeModelessMap& map) {
  std::vector<uintptr_t> keys;
  CeModelessMap::Iterator it(map);
  for (HWND key = nullptr; it.Next(&key);) keys.push_back(reinterpret_cast<uintptr_t>(key));
  return keys;
}

TEST(CeModelessMap, IteratesBucketsInOrderRemovalUnlinksOnlyItsKeyAndTheLastReleasesEverything) {
  CeModelessMap map;
  EXPECT_FALSE(map.Remove(Handle(0x20)));
  EXPECT_EQ(Keys(map), std::vector<uintptr_t>{});
  for (uintptr_t key : {0x20, 0x10, 0x130, 0x110, 0x240}) ASSERT_TRUE(map.Add(Handle(key), Object(key)));
  // Buckets (handle >> 4) % 17: 0x110 -> 0; 0x10 -> 1; 0x20, 0x130, 0x240 -> 2 (latest first).
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x130, 0x20}));
  // Adding a key again replaces its value.
  ASSERT_TRUE(map.Add(Handle(0x130), Object(2)));
  EXPECT_EQ(std::make_tuple(map.Count(), map.Lookup(Handle(0x130)), map.Lookup(Handle(0x50))),
            std::make_tuple(5, Object(2), static_cast<CeWnd*>(nullptr)));

  EXPECT_TRUE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x130)));
  EXPECT_FALSE(map.Remove(Handle(0x350)));
  EXPECT_EQ(Keys(map), (std::vector<uintptr_t>{0x110, 0x10, 0x240, 0x20}));
  EXPECT_EQ(std::make_tuple(map.Count(), map.Lookup(Handle(0x240))), std::make_tuple(4, Object(0x240)));
  for (uintptr_t key : {0x110, 0x10, 0x240, 0x20}) EXPECT_TRUE(map.Remove(Handle(key)));

  // The last removal releases everything and the map starts afresh; 25 keys
  // need three node blocks.
  for (uintptr_t round = 0; round < 3; ++round) {
    auto key = [round](uintptr_t i) { return Handle((i + 100 * round) << 4); };
    for (uintptr_t i = 1; i <= 25; ++i) ASSERT_TRUE(map.Add(key(i), Object(i)));
    EXPECT_EQ(Keys(map).size(), 25u);
    for (uintptr_t i = 1; i <= 25; ++i) {
      EXPECT_EQ(map.Lookup(key(i)), Object(i));
      EXPECT_TRUE(map.Remove(key(i)));
    }
    EXPECT_EQ(std::make_tuple(map.Count(), Keys(map).size()), std::make_tuple(0, size_t(0)));
  }
}

}  // namespace
