#include "Recorder.h"

#include <algorithm>
#include <climits>
#include <map>
#include <sstream>

#include "device/Device.h"
#include "display/HeadlessBackend.h"
#include "user/InputRouter.h"

namespace usertest {

namespace {

std::map<std::pair<HWND, UINT>, Reaction> reactions;
std::map<UINT, Reaction> pendingReactions;  // for the next windows created

LRESULT CALLBACK recorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  log().add({hwnd, msg, wParam, lParam});
  if (msg == WM_NCCREATE)
    for (auto& [code, reaction] : pendingReactions) reactions[{hwnd, code}] = reaction;
  auto found = reactions.find({hwnd, msg});
  if (found == reactions.end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
  Reaction reaction = found->second;  // the reaction may replace itself
  return reaction(hwnd, msg, wParam, lParam);
}

void registerRecorderClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = recorderProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kRecorderClass;
  RegisterClassW(&wc);
}

std::string hex(uintptr_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

template <class W, class L>
std::string describe(HWND hwnd, UINT code, const W& wParam, const L& lParam) {
  auto part = [](const auto& v) { return v ? hex(static_cast<uintptr_t>(*v)) : "*"; };
  return "  hwnd=" + hex(reinterpret_cast<uintptr_t>(hwnd)) + " msg=" + hex(code) + " w=" + part(wParam) +
         " l=" + part(lParam) + "\n";
}

void pushInput(const display::InputEvent& event) {
  static_cast<display::HeadlessBackend&>(device::Device::instance().backend()).push(event);
}

}  // namespace

Log& log() {
  static Log instance;
  return instance;
}

std::vector<Entry> Log::only(std::initializer_list<UINT> codes) const {
  std::vector<Entry> out;
  for (const Entry& e : entries_)
    if (std::find(codes.begin(), codes.end(), e.msg) != codes.end()) out.push_back(e);
  return out;
}

size_t Log::count(HWND hwnd, UINT code) const {
  return static_cast<size_t>(
      std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.hwnd == hwnd && e.msg == code; }));
}

::testing::AssertionResult sameSequence(const std::vector<Expect>& expected, const std::vector<Entry>& actual) {
  bool same = expected.size() == actual.size();
  for (size_t i = 0; same && i < expected.size(); ++i) {
    const Expect& e = expected[i];
    const Entry& a = actual[i];
    same = e.hwnd == a.hwnd && e.msg == a.msg && e.wParam.value_or(a.wParam) == a.wParam &&
           e.lParam.value_or(a.lParam) == a.lParam;
  }
  if (same) return ::testing::AssertionSuccess();
  std::string text = "expected:\n";
  for (const Expect& e : expected) text += describe(e.hwnd, e.msg, e.wParam, e.lParam);
  text += "actual:\n";
  for (const Entry& a : actual) text += describe(a.hwnd, a.msg, std::optional(a.wParam), std::optional(a.lParam));
  return ::testing::AssertionFailure() << text;
}

void react(HWND hwnd, UINT msg, Reaction reaction) { reactions[{hwnd, msg}] = std::move(reaction); }
void reactOnCreate(UINT msg, Reaction reaction) { pendingReactions[msg] = std::move(reaction); }

HWND createTopLevel(DWORD style, RECT r, HWND owner, const char16_t* cls, LPVOID param) {
  return CreateWindowExW(0, cls, u"top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, owner, nullptr,
                         GetModuleHandleW(nullptr), param);
}

HWND createChild(HWND parent, int id, RECT r, DWORD style) {
  return createControl(parent, kRecorderClass, u"child", style, id, r);
}

HWND createControl(HWND parent, const char16_t* cls, const char16_t* text, DWORD style, int id, RECT r) {
  return CreateWindowExW(0, cls, text, WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
}

void stylus(display::InputEvent::Type type, int x, int y, bool shift, bool control) {
  pushInput({.type = type, .x = x, .y = y, .shift = shift, .control = control});
}

void tap(int x, int y) {
  stylus(display::InputEvent::Type::StylusDown, x, y);
  stylus(display::InputEvent::Type::StylusUp, x, y);
}

void key(UINT vk, bool down, bool shift, bool control) {
  using Type = display::InputEvent::Type;
  pushInput({.type = down ? Type::KeyDown : Type::KeyUp, .key = vk, .shift = shift, .control = control});
}

void press(UINT vk, bool shift) {
  key(vk, true, shift);
  key(vk, false, shift);
}

void pump() {
  MSG m;
  // A window that never validates would be painted forever.
  for (int i = 0; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (i == 10000) {
      ADD_FAILURE() << "messages keep coming: " << hex(m.message);
      return;
    }
    if (m.message == WM_QUIT) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

std::vector<UINT> heardFrom(HWND parent, HWND control) {
  pump();
  std::vector<UINT> codes;
  for (const Entry& e : log().only({WM_COMMAND}))
    if (e.hwnd == parent && reinterpret_cast<HWND>(e.lParam) == control) codes.push_back(HIWORD(e.wParam));
  log().clear();
  return codes;
}

display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }

RECT screenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

::testing::AssertionResult sameRect(const RECT& want, const RECT& got) {
  if (EqualRect(&want, &got)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "want {" << want.left << "," << want.top << "," << want.right << ","
                                       << want.bottom << "} got {" << got.left << "," << got.top << "," << got.right
                                       << "," << got.bottom << "}";
}

RECT inkIn(const RECT& area, uint32_t background) {
  RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (screen().pixel(x, y) != background)
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
               std::max<LONG>(box.bottom, y + 1)};
  return box.left > box.right ? RECT{0, 0, 0, 0} : box;
}

void UserTest::SetUp() {
  static bool registered = (registerRecorderClass(), true);
  (void)registered;
  log().clear();
}

void UserTest::TearDown() {
  reactions.clear();
  pendingReactions.clear();
  while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) DestroyWindow(top);
  display::InputEvent drop;
  auto& backend = static_cast<display::HeadlessBackend&>(device::Device::instance().backend());
  while (backend.pollEvent(drop)) continue;
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) && m.message != WM_TIMER) continue;
  device::Device::instance().script().clear();
  user::InputRouter::instance().reset();
  log().clear();
}

}  // namespace usertest
