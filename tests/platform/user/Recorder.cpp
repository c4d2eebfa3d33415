#include "Recorder.h"

#include <sstream>

#include "device/Device.h"
#include "display/HeadlessBackend.h"
#include "user/InputRouter.h"

namespace usertest {

namespace {

std::map<std::pair<HWND, UINT>, Reaction>& reactions() {
  static std::map<std::pair<HWND, UINT>, Reaction> table;
  return table;
}

std::map<UINT, Reaction>& pendingReactions() {
  static std::map<UINT, Reaction> table;
  return table;
}

LRESULT CALLBACK recorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  log().add({hwnd, msg, wParam, lParam});
  if (msg == WM_NCCREATE)
    for (auto& [code, reaction] : pendingReactions()) reactions()[{hwnd, code}] = reaction;
  auto found = reactions().find({hwnd, msg});
  if (found != reactions().end()) {
    Reaction reaction = found->second;
    return reaction(hwnd, msg, wParam, lParam);
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const std::map<UINT, const char*>& names() {
  static const std::map<UINT, const char*> table = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_GETTEXT, "WM_GETTEXT"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_USER, "WM_USER"},
  };
  return table;
}

std::string describe(HWND hwnd, UINT code, const std::string& wParam, const std::string& lParam) {
  std::ostringstream out;
  out << "  hwnd=" << hwnd << " " << messageName(code) << " w=" << wParam << " l=" << lParam << "\n";
  return out.str();
}

std::string hex(uintptr_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

bool matches(const Expect& e, const Entry& a) {
  return e.hwnd == a.hwnd && e.msg == a.msg && (!e.checkWParam || e.wParam == a.wParam) &&
         (!e.checkLParam || e.lParam == a.lParam);
}

}  // namespace

Expect msg(HWND hwnd, UINT code) { return {hwnd, code}; }
Expect msgW(HWND hwnd, UINT code, WPARAM wParam) { return {hwnd, code, true, wParam}; }
Expect msgWL(HWND hwnd, UINT code, WPARAM wParam, LPARAM lParam) { return {hwnd, code, true, wParam, true, lParam}; }

std::string messageName(UINT code) {
  auto found = names().find(code);
  if (found != names().end()) return found->second;
  return hex(code);
}

Log& log() {
  static Log instance;
  return instance;
}

std::vector<Entry> Log::only(std::initializer_list<UINT> codes) const {
  std::vector<Entry> out;
  for (const Entry& e : entries_)
    for (UINT c : codes)
      if (e.msg == c) out.push_back(e);
  return out;
}

size_t Log::count(HWND hwnd, UINT code) const {
  size_t n = 0;
  for (const Entry& e : entries_) n += (e.hwnd == hwnd && e.msg == code) ? 1 : 0;
  return n;
}

::testing::AssertionResult sameSequence(const std::vector<Expect>& expected, const std::vector<Entry>& actual) {
  bool same = expected.size() == actual.size();
  for (size_t i = 0; same && i < expected.size(); ++i) same = matches(expected[i], actual[i]);
  if (same) return ::testing::AssertionSuccess();
  std::string text = "expected:\n";
  for (const Expect& e : expected)
    text += describe(e.hwnd, e.msg, e.checkWParam ? hex(e.wParam) : "*", e.checkLParam ? hex(e.lParam) : "*");
  text += "actual:\n";
  for (const Entry& a : actual)
    text += describe(a.hwnd, a.msg, hex(a.wParam), hex(static_cast<uintptr_t>(a.lParam)));
  return ::testing::AssertionFailure() << text;
}

void react(HWND hwnd, UINT msg, Reaction reaction) { reactions()[{hwnd, msg}] = std::move(reaction); }
void reactOnCreate(UINT msg, Reaction reaction) { pendingReactions()[msg] = std::move(reaction); }

void registerRecorderClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = recorderProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.cbWndExtra = 16;
  wc.lpszClassName = kRecorderClass;
  RegisterClassW(&wc);
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = kRecorderDblClass;
  RegisterClassW(&wc);
}

HWND createTopLevel(DWORD style, RECT r, HWND owner, const char16_t* cls, LPVOID param) {
  return CreateWindowExW(0, cls, u"top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, owner, nullptr,
                         GetModuleHandleW(nullptr), param);
}

HWND createChild(HWND parent, int id, RECT r, DWORD style, const char16_t* cls) {
  return CreateWindowExW(0, cls, u"child", WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

void pushInput(const display::InputEvent& event) {
  static_cast<display::HeadlessBackend&>(device::Device::instance().backend()).push(event);
}

void stylus(display::InputEvent::Type type, int x, int y, bool shift, bool control) {
  display::InputEvent e;
  e.type = type;
  e.x = x;
  e.y = y;
  e.shift = shift;
  e.control = control;
  pushInput(e);
}

void tap(int x, int y) {
  stylus(display::InputEvent::Type::StylusDown, x, y);
  stylus(display::InputEvent::Type::StylusUp, x, y);
}

void key(UINT vk, bool down, bool shift, bool control) {
  display::InputEvent e;
  e.type = down ? display::InputEvent::Type::KeyDown : display::InputEvent::Type::KeyUp;
  e.key = vk;
  e.shift = shift;
  e.control = control;
  pushInput(e);
}

void pump() {
  MSG m;
  // A window that never validates would be painted forever.
  for (int i = 0; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (i == 10000) {
      ADD_FAILURE() << "messages keep coming: " << messageName(m.message);
      return;
    }
    if (m.message == WM_QUIT) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void UserTest::SetUp() {
  registerRecorderClasses();
  log().clear();
  reactions().clear();
  pendingReactions().clear();
}

void UserTest::TearDown() {
  reactions().clear();
  pendingReactions().clear();
  EnumWindows([](HWND hwnd, LPARAM) { return DestroyWindow(hwnd); }, 0);
  while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
  display::InputEvent drop;
  auto& backend = static_cast<display::HeadlessBackend&>(device::Device::instance().backend());
  while (backend.pollEvent(drop)) {
  }
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) && m.message != WM_TIMER) {
  }
  user::InputRouter::instance().reset();
  log().clear();
}

}  // namespace usertest
