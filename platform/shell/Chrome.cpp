#include "shell/Chrome.h"

#include "device/Device.h"
#include "gdi/Region.h"
#include "user/MenuTracker.h"
#include "user/Window.h"
#include "user/WindowClass.h"
#include "user/WindowManager.h"

namespace shell {

namespace {

device::Device& device() { return device::Device::instance(); }

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RECT toRect(const display::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The shell reads what the window manager keeps, without asking the window.
user::Window* foreground() { return user::WindowManager::instance().fromHandle(GetForegroundWindow()); }

bool hasOkButton(const user::Window* window) { return window && (window->exStyle & WS_EX_CAPTIONOKBTN); }

// Popup menus show above the input panel and the bars, as topmost windows do.
bool showsAboveChrome(const user::Window* window) {
  return (window->exStyle & WS_EX_TOPMOST) || (window->cls && window->cls->name == user::kPopupMenuClassName);
}

void draw(const gdi::Region& area, const auto& paint) {
  if (area.empty()) return;
  ScreenCanvas canvas(area);
  paint(canvas.dc());
}

}  // namespace

Chrome::Chrome() = default;
Chrome::~Chrome() = default;

int Chrome::msUntilNextMinute(const SYSTEMTIME& now) {
  int ms = (59 - now.wSecond) * 1000 + (1000 - now.wMilliseconds);
  return ms > 0 ? ms : 1;
}

void Chrome::closeForeground() {
  HWND window = GetForegroundWindow();
  if (!window) {
    PostQuitMessage(0);
    return;
  }
  if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN)
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, kOkNotification), 0);
  else
    PostMessageW(window, WM_CLOSE, 0, 0);
}

std::vector<PlacedKey> Chrome::panelKeys() const { return layoutKeyboard(device().sipRect()); }

bool Chrome::Cover::operator==(const Cover& o) const { return sameRect(rect, o.rect) && above == o.above; }

std::vector<Chrome::Cover> Chrome::covers() {
  std::vector<Cover> out;
  for (user::Window* top : user::WindowManager::instance().topLevelWindows())
    if (top->visibleFlag() && !top->dead) out.push_back({top->screenRect(), showsAboveChrome(top)});
  return out;
}

void Chrome::clipToChrome(gdi::Region& area, bool underWindows) const {
  for (const Cover& cover : drawnCovers_)
    if (cover.above || underWindows) area.subtract(cover.rect);
}

// ---- drawing

NavBarLook Chrome::navBarLook(const SYSTEMTIME& now) const {
  NavBarLook look;
  user::Window* window = foreground();
  if (window) look.title = window->text;
  look.ok = hasOkButton(window);
  look.okPressed = look.ok && pressing(Part::Ok);
  WCHAR clock[16] = {};
  if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, u"h:mm", clock, 16) > 0) look.clock = clock;
  return look;
}

void Chrome::update(const SYSTEMTIME& now) {
  const RECT screen{0, 0, device().screenWidth(), device().screenHeight()};
  const bool reshaped = !sameRect(screen, drawnScreen_);
  // What windows drew since the screen was last shown may lie under the
  // chrome, and so may windows that went or moved: nobody else draws there.
  gdi::Region damage(toRect(device().backend().framebuffer().dirty()));
  std::vector<Cover> windows = covers();
  if (windows != drawnCovers_)
    for (const auto* list : {&drawnCovers_, &windows})
      for (const Cover& cover : *list) damage.unite(cover.rect);
  drawnCovers_ = std::move(windows);
  updateNavBar(damage, reshaped, now);
  updateMenuStrip(damage, reshaped);
  updatePanel(damage, reshaped);
  drawnScreen_ = screen;
}

void Chrome::updateNavBar(const gdi::Region& damage, bool reshaped, const SYSTEMTIME& now) {
  const RECT bar = device().navBarRect();
  const NavBarLook look = navBarLook(now);
  const NavBarLook& was = drawnNavBar_;
  gdi::Region area = damage;
  area.intersect(bar);
  if (reshaped || look.ok != was.ok) {
    area.unite(bar);
  } else {
    const NavBarLayout layout = layoutNavBar(bar, look.ok);
    if (look.title != was.title) area.unite(layout.title);
    if (look.clock != was.clock) area.unite(layout.clock);
    if (look.okPressed != was.okPressed) area.unite(layout.ok);
  }
  clipToChrome(area, false);
  draw(area, [&](HDC dc) { paintNavBar(dc, bar, look, fonts_); });
  drawnNavBar_ = look;
}

void Chrome::updateMenuStrip(const gdi::Region& damage, bool reshaped) {
  const RECT strip = device().menuStripRect();
  const RECT button = sipButtonRect(strip);
  const SipButtonLook look{device().sipVisible(), pressing(Part::SipButton)};
  gdi::Region area = damage;
  if (reshaped) area.unite(strip);
  area.intersect(strip);
  gdi::Region buttonArea = area;
  buttonArea.intersect(button);
  if (reshaped || !(look == drawnSipButton_)) buttonArea.unite(button);
  area.subtract(button);
  clipToChrome(area, true);
  clipToChrome(buttonArea, false);
  draw(area, [&](HDC dc) { paintMenuStrip(dc, strip); });
  draw(buttonArea, [&](HDC dc) { paintSipButton(dc, button, look); });
  drawnSipButton_ = look;
}

void Chrome::updatePanel(const gdi::Region& damage, bool reshaped) {
  if (!device().sipVisible()) {
    panelDrawn_ = false;
    return;
  }
  const RECT panel = device().sipRect();
  const std::vector<PlacedKey> keys = layoutKeyboard(panel);
  const int key = pressedShown_ && pressed_.part == Part::Key ? pressed_.key : -1;
  gdi::Region area = damage;
  area.intersect(panel);
  if (reshaped || !panelDrawn_ || shift_ != drawnShift_) {
    area.unite(panel);
  } else if (key != drawnKey_) {
    for (int k : {key, drawnKey_})
      if (k >= 0 && k < static_cast<int>(keys.size())) area.unite(keys[static_cast<size_t>(k)].rect);
  }
  clipToChrome(area, false);
  draw(area, [&](HDC dc) { paintPanel(dc, panel, keys, key, shift_, fonts_); });
  panelDrawn_ = true;
  drawnKey_ = key;
  drawnShift_ = shift_;
}

// ---- the stylus

Chrome::Hit Chrome::hitAt(POINT p) const {
  device::Device& d = device();
  const std::vector<Cover> windows = covers();
  auto covered = [&](bool byAny) {
    for (const Cover& cover : windows)
      if ((cover.above || byAny) && inside(cover.rect, p)) return true;
    return false;
  };
  if (covered(false)) return {};
  if (inside(d.navBarRect(), p)) {
    NavBarLayout layout = layoutNavBar(d.navBarRect(), hasOkButton(foreground()));
    return {inside(layout.ok, p) ? Part::Ok : Part::Bar, -1};
  }
  if (d.sipVisible() && inside(d.sipRect(), p)) {
    int key = keyAt(panelKeys(), p);
    return {key >= 0 ? Part::Key : Part::Bar, key};
  }
  const RECT strip = d.menuStripRect();
  if (inside(sipButtonRect(strip), p)) return {Part::SipButton, -1};
  if (inside(strip, p) && !covered(true)) return {Part::Bar, -1};
  return {};
}

bool Chrome::takeStylus(const display::InputEvent& event) {
  using Type = display::InputEvent::Type;
  if (event.type != Type::StylusDown && event.type != Type::StylusMove && event.type != Type::StylusUp) return false;
  const POINT p{event.x, event.y};
  if (event.type == Type::StylusDown) {
    // A window holding the stylus (an open menu) gets it wherever it lands,
    // so a tap on the bars dismisses the menu instead of acting.
    const Hit hit = GetCapture() ? Hit{} : hitAt(p);
    holding_ = hit.part != Part::None;
    pressed_ = hit;
    pressedShown_ = holding_;
    return holding_;
  }
  if (!holding_) return false;
  const Hit hit = hitAt(p);
  pressedShown_ = hit == pressed_;
  if (event.type == Type::StylusUp) {
    const Hit done = pressed_;
    holding_ = false;
    pressedShown_ = false;
    pressed_ = {};
    // Like a button: it acts when the stylus is lifted where it went down.
    if (hit == done) act(done);
  }
  return true;
}

void Chrome::act(const Hit& hit) {
  switch (hit.part) {
    case Part::Ok:
      if (hasOkButton(foreground())) closeForeground();
      break;
    case Part::SipButton:
      device().setSipVisible(!device().sipVisible());
      break;
    case Part::Key: {
      std::vector<PlacedKey> keys = panelKeys();
      if (hit.key >= 0 && hit.key < static_cast<int>(keys.size())) typeKey(*keys[static_cast<size_t>(hit.key)].key);
      break;
    }
    case Part::None:
    case Part::Bar:
      break;
  }
}

// Characters arrive as WM_CHAR; keys the device has are pressed, so the
// program sees WM_KEYDOWN and makes its own characters of them.
void Chrome::typeKey(const PanelKey& key) {
  display::Backend& backend = device().backend();
  if (key.shift) {
    shift_ = !shift_;
    return;
  }
  display::InputEvent event;
  if (key.vk) {
    event.type = display::InputEvent::Type::KeyDown;
    event.key = key.vk;
    backend.push(event);
    event.type = display::InputEvent::Type::KeyUp;
    backend.push(event);
    return;
  }
  event.type = display::InputEvent::Type::Char;
  event.ch = shift_ ? key.shifted : key.plain;
  backend.push(event);
  shift_ = false;  // shift holds for one character
}

}  // namespace shell
