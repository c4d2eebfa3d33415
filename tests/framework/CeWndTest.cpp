#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/Device.h"
#include "framework/CeString.h"
#include "framework/CeWnd.h"

namespace {

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
  return text;
}

// Records every handler call with its arguments as it arrives. Each handler
// sets the flag when `handles` says so and returns `answer`.
class Probe : public CeWnd {
 public:
  std::vector<std::string> calls;
  bool handles = true;
  LRESULT answer = 77;

  LRESULT OnChar(WPARAM c, UINT repeat, UINT data, bool* h) override { return Note("OnChar", {c, repeat, data}, h); }
  LRESULT OnClose(bool* h) override { return Note("OnClose", {}, h); }
  LRESULT OnCreate(CREATESTRUCTW* cs, bool* h) override {
    return Note("OnCreate", {cs->lpCreateParams == static_cast<CeWnd*>(this)}, h);
  }
  LRESULT OnCommand(WPARAM w, HWND control, bool* h) override {
    return Note("OnCommand", {w, reinterpret_cast<uint64_t>(control)}, h);
  }
  LRESULT OnNotify(WPARAM id, NMHDR* header, bool* h) override {
    return Note("OnNotify", {id, reinterpret_cast<uint64_t>(header)}, h);
  }
  LRESULT OnDestroy(bool* h) override { return Note("OnDestroy", {}, h); }
  LRESULT OnEnable(BOOL enabled, bool* h) override { return Note("OnEnable", {uint64_t(enabled)}, h); }
  LRESULT OnEraseBkgnd(HDC dc, bool* h) override { return Note("OnEraseBkgnd", {reinterpret_cast<uint64_t>(dc)}, h); }
  LRESULT OnKeyDown(WPARAM k, UINT r, UINT d, bool* h) override { return Note("OnKeyDown", {k, r, d}, h); }
  LRESULT OnKeyUp(WPARAM k, UINT r, UINT d, bool* h) override { return Note("OnKeyUp", {k, r, d}, h); }
  LRESULT OnLButtonDblClk(WPARAM k, UINT x, UINT y, bool* h) override {
    return Note("OnLButtonDblClk", {k, x, y}, h);
  }
  LRESULT OnLButtonDown(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnLButtonDown", {k, x, y}, h); }
  LRESULT OnLButtonUp(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnLButtonUp", {k, x, y}, h); }
  LRESULT OnMouseMove(WPARAM k, UINT x, UINT y, bool* h) override { return Note("OnMouseMove", {k, x, y}, h); }
  LRESULT OnMove(UINT x, UINT y, bool* h) override { return Note("OnMove", {x, y}, h); }
  LRESULT OnPaint(bool* h) override { return Note("OnPaint", {}, h); }
  LRESULT OnShowWindow(BOOL shown, LPARAM status, bool* h) override {
    return Note("OnShowWindow", {uint64_t(shown), uint64_t(status)}, h);
  }
  LRESULT OnSize(WPARAM type, UINT cx, UINT cy, bool* h) override { return Note("OnSize", {type, cx, cy}, h); }
  LRESULT OnTimer(WPARAM id, bool* h) override { return Note("OnTimer", {id}, h); }
  LRESULT OnSettingChange(UINT flag, LPARAM section, bool* h) override {
    return Note("OnSettingChange", {flag, uint64_t(section)}, h);
  }
  LRESULT OnMessage(UINT m, WPARAM w, LPARAM l, bool* h) override {
    return Note("OnMessage", {m, w, uint64_t(l)}, h);
  }
  void Attach(HWND window) override {
    calls.push_back("Attach " + std::string(window == nullptr ? "null" : "window") +
                    (hwnd == nullptr ? " unbound" : " bound"));
  }
  void Detach(HWND window) override {
    const bool defaultProc =
        GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DefWindowProcW);
    calls.push_back(std::string("Detach ") + (hwnd == nullptr ? "unbound" : "bound") +
                    (defaultProc ? " default-proc" : " other-proc"));
  }

  bool CreateGeneric(HWND parent = nullptr, DWORD style = WS_POPUP) {
    return Create(nullptr, parent, 0, 0, 100, 50, u"probe", style, 0, nullptr, nullptr);
  }
  // The calls after creation only.
  void Forget() { calls.clear(); }

 private:
  LRESULT Note(const char* slot, std::initializer_list<uint64_t> args, bool* handled) {
    std::string call = slot;
    call += "(";
    bool first = true;
    for (uint64_t a : args) {
      if (!first) call += ",";
      call += Hex(a);
      first = false;
    }
    calls.push_back(call + ")");
    *handled = handles;
    return answer;
  }
};

std::string Joined(const std::vector<std::string>& calls) {
  std::string text;
  for (const std::string& c : calls) text += c + "\n";
  return text;
}

TEST(CeWnd, CreateBindsTheWindowBeforeItsCreateHandlerRuns) {
  Probe probe;
  ASSERT_TRUE(probe.CreateGeneric());
  ASSERT_NE(probe.hwnd, nullptr);
  ASSERT_GE(probe.calls.size(), 2u);
  EXPECT_EQ(probe.calls[0], "Attach window unbound");
  EXPECT_EQ(probe.calls[1], "OnCreate(1)");
  EXPECT_EQ(GetWindowLongPtrW(probe.hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&probe));
  EXPECT_EQ(GetWindowLongPtrW(probe.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CeWnd::InstanceProc));
  WCHAR className[64] = {};
  GetClassNameW(probe.hwnd, className, 64);
  EXPECT_EQ(std::u16string(className), u"CeWnd:GENERIC");
}

TEST(CeWnd, EverySlotReceivesItsUnpackedArguments) {
  Probe probe;
  ASSERT_TRUE(probe.CreateGeneric());
  NMHDR header = {probe.hwnd, 100, 0};
  const WPARAM bigWParam = WPARAM(0x123456789ULL);
  const LPARAM highGarbage = LPARAM(0x7777000200000000LL);
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string expected;
  };
  const Case cases[] = {
      {WM_CHAR, 'a', MAKELPARAM(1, 0x1E), "OnChar(61,1,1e)"},
      {WM_CLOSE, 0, 0, "OnClose()"},
      {WM_COMMAND, MAKEWPARAM(40001, 3), LPARAM(probe.hwnd),
       "OnCommand(39c41," + Hex(reinterpret_cast<uint64_t>(probe.hwnd)) + ")"},
      {WM_NOTIFY, 100, LPARAM(&header), "OnNotify(64," + Hex(reinterpret_cast<uint64_t>(&header)) + ")"},
      {WM_ENABLE, TRUE, 0, "OnEnable(1)"},
      {WM_ERASEBKGND, 0xD00D, 0, "OnEraseBkgnd(d00d)"},
      {WM_KEYDOWN, VK_DOWN, LPARAM(0x01500001), "OnKeyDown(28,1,150)"},
      {WM_KEYUP, VK_DOWN, LPARAM(0xC1500001), "OnKeyUp(28,1,c150)"},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4), "OnLButtonDblClk(1,3,4)"},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0xFFFF, 5), "OnLButtonDown(1,ffff,5)"},
      {WM_LBUTTONUP, 0, MAKELPARAM(7, 0xFFFF), "OnLButtonUp(0,7,ffff)"},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(0x8000, 0x7FFF), "OnMouseMove(5,8000,7fff)"},
      {WM_MOUSEMOVE, 0, highGarbage | MAKELPARAM(1, 2), "OnMouseMove(0,1,2)"},
      {WM_MOVE, 0, MAKELPARAM(0xFFFF, 26), "OnMove(ffff,1a)"},
      {WM_PAINT, 0, 0, "OnPaint()"},
      {WM_SHOWWINDOW, TRUE, 3, "OnShowWindow(1,3)"},
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(240, 294), "OnSize(2,f0,126)"},
      {WM_TIMER, 7, 0, "OnTimer(7)"},
      {WM_SETTINGCHANGE, WPARAM(0xABCD3002), 0x44, "OnSettingChange(3002,44)"},
      {WM_HSCROLL, SB_LINEDOWN, 0x99, "OnMessage(114,1,99)"},
      {WM_USER + 5, bigWParam, LPARAM(-2), "OnMessage(405,123456789,fffffffffffffffe)"},
  };
  for (const Case& c : cases) {
    probe.Forget();
    SendMessageW(probe.hwnd, c.message, c.wParam, c.lParam);
    EXPECT_EQ(Joined(probe.calls), c.expected + "\n") << "message " << Hex(c.message);
  }
}

TEST(CeWnd, OnlyCommandNotifyEraseAndUnlistedMessagesReturnTheHandlersResult) {
  Probe probe;
  ASSERT_TRUE(probe.CreateGeneric());
  probe.answer = 77;
  NMHDR header = {probe.hwnd, 1, 0};
  struct Case {
    UINT message;
    LPARAM lParam;
    LRESULT expected;
  };
  const Case cases[] = {
      {WM_COMMAND, 0, 77},     {WM_NOTIFY, LPARAM(&header), 77}, {WM_ERASEBKGND, 0, 77}, {WM_HSCROLL, 0, 77},
      {WM_GETTEXTLENGTH, 0, 77}, {WM_CHAR, 0, 0},                {WM_CLOSE, 0, 0},       {WM_ENABLE, 0, 0},
      {WM_KEYDOWN, 0, 0},      {WM_KEYUP, 0, 0},                 {WM_LBUTTONDBLCLK, 0, 0}, {WM_LBUTTONDOWN, 0, 0},
      {WM_LBUTTONUP, 0, 0},    {WM_MOUSEMOVE, 0, 0},             {WM_MOVE, 0, 0},        {WM_PAINT, 0, 0},
      {WM_SHOWWINDOW, 0, 0},   {WM_SIZE, 0, 0},                  {WM_TIMER, 0, 0},       {WM_SETTINGCHANGE, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SendMessageW(probe.hwnd, c.message, 0, c.lParam), c.expected) << "message " << Hex(c.message);
}

TEST(CeWnd, AnUnhandledMessageGetsTheDefaultResult) {
  Probe probe;
  ASSERT_TRUE(probe.CreateGeneric());
  probe.handles = false;
  probe.answer = 77;
  probe.Forget();
  // "probe" is 5 characters: the default window procedure's answer, not the handler's.
  EXPECT_EQ(SendMessageW(probe.hwnd, WM_GETTEXTLENGTH, 0, 0), 5);
  EXPECT_EQ(Joined(probe.calls), "OnMessage(e,0,0)\n");
  probe.Forget();
  EXPECT_EQ(SendMessageW(probe.hwnd, WM_HSCROLL, SB_PAGEUP, 0x31), 0);
  EXPECT_EQ(Joined(probe.calls), "OnMessage(114,2,31)\n");
  // An unhandled command also goes to default processing, which answers 0.
  EXPECT_EQ(SendMessageW(probe.hwnd, WM_COMMAND, 5, 0), 0);
}

// A handler that sends its own window another message and then leaves its
// message to default processing: the default must see the outer message.
class NestingProbe : public CeWnd {
 public:
  LRESULT OnMessage(UINT message, WPARAM, LPARAM, bool*) override {
    if (message == WM_SETTEXT) SendMessageW(hwnd, WM_USER + 1, 0, 0);
    return 0;
  }
};

TEST(CeWnd, DefaultProcessingAfterANestedMessageSeesTheOuterMessage) {
  NestingProbe probe;
  ASSERT_TRUE(probe.Create(nullptr, nullptr, 0, 0, 10, 10, u"before", WS_POPUP, 0, nullptr, nullptr));
  EXPECT_TRUE(SetWindowTextW(probe.hwnd, u"after"));
  EXPECT_EQ(std::u16string(CeString(probe.hwnd).Text()), u"after");
}

TEST(CeWnd, DestroyRunsTheHandlerThenUnbindsAndRestoresTheDefaultProcedure) {
  Probe probe;
  ASSERT_TRUE(probe.CreateGeneric());
  HWND window = probe.hwnd;
  probe.handles = false;
  probe.Forget();
  ASSERT_TRUE(DestroyWindow(window));
  ASSERT_GE(probe.calls.size(), 2u);
  EXPECT_EQ(probe.calls[0], "OnDestroy()");
  EXPECT_EQ(probe.calls[1], "Detach unbound default-proc");
  EXPECT_EQ(probe.calls.size(), 2u) << Joined(probe.calls);
  EXPECT_EQ(probe.hwnd, nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST(CeWnd, DestroyingTheObjectDestroysItsLiveWindow) {
  HWND window = nullptr;
  {
    CeWnd object;
    ASSERT_TRUE(object.Create(nullptr, nullptr, 0, 0, 10, 10, u"w", WS_POPUP, 0, nullptr, nullptr));
    window = object.hwnd;
    EXPECT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window));
}

TEST(CeWnd, DestroyingAnObjectWhoseWindowIsGoneTouchesNothing) {
  Probe bystander;
  ASSERT_TRUE(bystander.CreateGeneric());
  {
    Probe probe;
    ASSERT_TRUE(probe.CreateGeneric());
    ASSERT_TRUE(DestroyWindow(probe.hwnd));
    EXPECT_EQ(probe.hwnd, nullptr);
  }
  {
    // A holder left with the handle of a window that has since gone, while
    // another window was made.
    CeWndHandle holder;
    holder.hwnd = CreateWindowExW(0, u"static", u"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(holder.hwnd, nullptr);
    ASSERT_TRUE(DestroyWindow(holder.hwnd));
    Probe newcomer;
    ASSERT_TRUE(newcomer.CreateGeneric());
    newcomer.Forget();
    bystander.Forget();
  }
  EXPECT_TRUE(IsWindow(bystander.hwnd));
  EXPECT_EQ(Joined(bystander.calls), "");
}

TEST(CeWnd, ASecondGenericWindowDoesNotRegisterTheClassAgain) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  {
    CeWnd first;
    ASSERT_TRUE(first.Create(nullptr, nullptr, 0, 0, 10, 10, u"first", WS_POPUP, 0, nullptr, nullptr));
  }
  WNDCLASSW generic = {};
  ASSERT_TRUE(GetClassInfoW(instance, u"CeWnd:GENERIC", &generic));
  ASSERT_TRUE(UnregisterClassW(u"CeWnd:GENERIC", instance));
  {
    CeWnd second;
    EXPECT_FALSE(second.Create(nullptr, nullptr, 0, 0, 10, 10, u"second", WS_POPUP, 0, nullptr, nullptr));
    EXPECT_EQ(second.hwnd, nullptr);
  }
  // Put the class back for the other tests of this process.
  generic.lpszClassName = u"CeWnd:GENERIC";
  ASSERT_NE(RegisterClassW(&generic), 0);
  EXPECT_EQ(generic.lpfnWndProc, &CeWnd::ClassProc);
  EXPECT_EQ(generic.style, 0u);
  EXPECT_EQ(generic.hbrBackground, GetStockObject(WHITE_BRUSH));
}

TEST(CeWnd, ASuperclassOfAGlobalClassDefaultsToThatClassesProcedure) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW button = {};
  ASSERT_TRUE(GetClassInfoW(nullptr, u"button", &button));
  Probe probe;
  probe.handles = false;
  ASSERT_TRUE(probe.Create(u"button", nullptr, 0, 0, 80, 20, u"Check", WS_POPUP | BS_AUTOCHECKBOX, 0, nullptr,
                           nullptr));
  WCHAR className[64] = {};
  GetClassNameW(probe.hwnd, className, 64);
  EXPECT_EQ(std::u16string(className), u"CeWnd:button");

  WNDCLASSW super = {};
  ASSERT_TRUE(GetClassInfoW(instance, u"CeWnd:button", &super));
  EXPECT_EQ(super.lpfnWndProc, &CeWnd::ClassProc);
  EXPECT_EQ(super.style & CS_GLOBALCLASS, 0u);
  EXPECT_EQ(super.style, button.style & ~UINT(CS_GLOBALCLASS));
  EXPECT_EQ(super.cbWndExtra, button.cbWndExtra);

  // The button's own procedure answers what the object leaves unhandled.
  SendMessageW(probe.hwnd, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(probe.hwnd, BM_GETCHECK, 0, 0), BST_CHECKED);
  probe.Forget();
  SendMessageW(probe.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(SendMessageW(probe.hwnd, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Joined(probe.calls), "OnMessage(f1,0,0)\nOnMessage(f0,0,0)\n");

  // A second object of the same superclass uses the class already there.
  Probe again;
  EXPECT_TRUE(again.Create(u"button", nullptr, 0, 0, 80, 20, u"Again", WS_POPUP, 0, nullptr, nullptr));
  DestroyWindow(probe.hwnd);
  EXPECT_EQ(probe.hwnd, nullptr);
}

TEST(CeWnd, CreateFailsForAClassThatDoesNotExist) {
  Probe probe;
  EXPECT_FALSE(probe.Create(u"NoSuchClass", nullptr, 0, 0, 10, 10, u"x", WS_POPUP, 0, nullptr, nullptr));
  EXPECT_EQ(probe.hwnd, nullptr);
}

TEST(CeWnd, AWindowOfTheGenericClassWithoutAnObjectGetsDefaultProcessing) {
  CeWnd registrar;
  ASSERT_TRUE(registrar.Create(nullptr, nullptr, 0, 0, 10, 10, u"r", WS_POPUP, 0, nullptr, nullptr));
  HWND orphan = CreateWindowExW(0, u"CeWnd:GENERIC", u"orphan", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(orphan, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(orphan, GWLP_USERDATA), 0);
  EXPECT_EQ(SendMessageW(orphan, WM_GETTEXTLENGTH, 0, 0), 6);
  DestroyWindow(orphan);
}

// The box an exception leaves behind, read while it waits and answered with
// its button.
struct FatalBox {
  std::u16string caption;
  std::u16string text;
  bool seen = false;
};

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
  auto* box = reinterpret_cast<FatalBox*>(param);
  CeString text(child);
  if (std::u16string(text.Text()).find(u"Window message") != std::u16string::npos) box->text = text.Text();
  return TRUE;
}

void AnswerTheNextFatalBox(FatalBox* box) {
  auto& script = device::Device::instance().script();
  script.add([box] {
    HWND found = FindWindowW(nullptr, u"Fatal");
    if (found == nullptr) return;
    box->seen = true;
    box->caption = CeString(found).Text();
    EnumChildWindows(found, CollectStaticText, reinterpret_cast<LPARAM>(box));
  });
  std::string error;
  ASSERT_TRUE(script.loadText("press \"OK\"\n", "fatal-box", error)) << error;
}

class ThrowingPaint : public CeWnd {
 public:
  LRESULT OnPaint(bool* handled) override {
    *handled = true;
    throw std::runtime_error("paint failed");
  }
};

TEST(CeWnd, AnExceptionInAHandlerIsReportedAndTheMessageAnswered) {
  ThrowingPaint window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 10, 10, u"thrower", WS_POPUP, 0, nullptr, nullptr));
  FatalBox box;
  AnswerTheNextFatalBox(&box);
  EXPECT_EQ(SendMessageW(window.hwnd, WM_PAINT, 0, 0), 0);
  EXPECT_TRUE(box.seen);
  EXPECT_EQ(box.caption, u"Fatal");
  EXPECT_EQ(box.text, u"Window message (0x000f) termainated abnormally by an exception");
  EXPECT_EQ(FindWindowW(nullptr, u"Fatal"), nullptr);
  // The window goes on answering.
  EXPECT_EQ(SendMessageW(window.hwnd, WM_GETTEXTLENGTH, 0, 0), 7);
}

class ThrowingDefault : public CeWnd {
 public:
  LRESULT OnCommand(WPARAM, HWND, bool*) override { return 41; }
  LRESULT DefaultProc() override {
    if (curMsg == WM_COMMAND) throw std::logic_error("default failed");
    return CeWnd::DefaultProc();
  }
};

TEST(CeWnd, AnExceptionInDefaultProcessingKeepsTheDispatchResult) {
  ThrowingDefault window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 10, 10, u"thrower", WS_POPUP, 0, nullptr, nullptr));
  FatalBox box;
  AnswerTheNextFatalBox(&box);
  EXPECT_EQ(SendMessageW(window.hwnd, WM_COMMAND, 1, 0), 41);
  EXPECT_EQ(box.text, u"Window message (0x0111) termainated abnormally by an exception");
}

class ThrowingDestroy : public CeWnd {
 public:
  LRESULT OnDestroy(bool*) override { throw 5; }
};

TEST(CeWnd, AnExceptionInTheDestroyHandlerLeavesTheObjectBound) {
  ThrowingDestroy window;
  ASSERT_TRUE(window.Create(nullptr, nullptr, 0, 0, 10, 10, u"thrower", WS_POPUP, 0, nullptr, nullptr));
  HWND handle = window.hwnd;
  FatalBox box;
  AnswerTheNextFatalBox(&box);
  EXPECT_TRUE(DestroyWindow(handle));
  EXPECT_EQ(box.text, u"Window message (0x0002) termainated abnormally by an exception");
  EXPECT_EQ(window.hwnd, handle);
  EXPECT_FALSE(IsWindow(handle));
  // The object's end finds its window gone and leaves it alone.
}

}  // namespace
