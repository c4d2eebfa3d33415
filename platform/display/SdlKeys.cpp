#include "display/SdlKeys.h"

#include <SDL.h>
#include <windows.h>

namespace display {

namespace {

struct Named {
  SDL_Keycode code;
  uint32_t vk;
};

// Keys that type nothing, or whose character is the same on every layout.
constexpr Named kControlKeys[] = {
    {SDLK_RETURN, VK_RETURN},     {SDLK_KP_ENTER, VK_RETURN},  {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},           {SDLK_LEFT, VK_LEFT},        {SDLK_RIGHT, VK_RIGHT},     {SDLK_UP, VK_UP},
    {SDLK_DOWN, VK_DOWN},         {SDLK_HOME, VK_HOME},        {SDLK_END, VK_END},         {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},     {SDLK_INSERT, VK_INSERT},    {SDLK_DELETE, VK_DELETE},   {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},      {SDLK_LCTRL, VK_CONTROL},    {SDLK_RCTRL, VK_CONTROL},   {SDLK_F1, VK_F1},
    {SDLK_F4, VK_F4},             {SDLK_F5, VK_F5},            {SDLK_F6, VK_F6},           {SDLK_F7, VK_F7},
    {SDLK_F8, VK_F8},             {SDLK_F9, VK_F9},            {SDLK_F10, VK_F10},         {SDLK_F11, VK_F11},
};

// Keys of the US layout by the character they type without shift.
constexpr Named kPunctuation[] = {
    {SDLK_SEMICOLON, VK_OEM_1},  {SDLK_EQUALS, VK_OEM_PLUS}, {SDLK_COMMA, VK_OEM_COMMA},     {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_SLASH, VK_OEM_2},    {SDLK_BACKQUOTE, VK_OEM_3},     {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},  {SDLK_RIGHTBRACKET, VK_OEM_6}, {SDLK_QUOTE, VK_OEM_7},
};

// The keypad types the same everywhere once num lock is on.
constexpr Named kKeypad[] = {
    {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD},     {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL},    {SDLK_KP_DIVIDE, VK_DIVIDE},
};

template <size_t N>
uint32_t find(const Named (&table)[N], SDL_Keycode code) {
  for (const Named& n : table)
    if (n.code == code) return n.vk;
  return 0;
}

}  // namespace

DeviceKey deviceKey(int32_t keycode, uint16_t modifiers) {
  const bool shift = (modifiers & KMOD_SHIFT) != 0;
  const bool control = (modifiers & KMOD_CTRL) != 0;
  // AltGr and its kin make characters the key's own name does not tell.
  const bool altered = (modifiers & (KMOD_RALT | KMOD_MODE)) != 0;
  DeviceKey key;
  key.shift = shift;
  if (uint32_t vk = find(kControlKeys, keycode)) {
    key.vk = vk;
    return key;
  }
  if (altered) return key;
  if (keycode >= SDLK_a && keycode <= SDLK_z) {
    key.vk = 'A' + static_cast<uint32_t>(keycode - SDLK_a);
    key.shift = shift != ((modifiers & KMOD_CAPS) != 0);
    key.typesText = !control;
    return key;
  }
  if (keycode == SDLK_SPACE) {
    key.vk = VK_SPACE;
    key.typesText = !control;
    return key;
  }
  // Shifted digits and punctuation differ between layouts: their text comes
  // as characters instead.
  if (keycode >= SDLK_0 && keycode <= SDLK_9 && (!shift || control)) {
    key.vk = '0' + static_cast<uint32_t>(keycode - SDLK_0);
    key.typesText = !control;
    return key;
  }
  if (uint32_t vk = find(kPunctuation, keycode); vk && !shift) {
    key.vk = vk;
    key.typesText = !control;
    return key;
  }
  const bool numLock = (modifiers & KMOD_NUM) != 0;
  if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9 && numLock) {
    key.vk = VK_NUMPAD1 + static_cast<uint32_t>(keycode - SDLK_KP_1);
    key.typesText = !control;
    return key;
  }
  if (keycode == SDLK_KP_0 && numLock) {
    key.vk = VK_NUMPAD0;
    key.typesText = !control;
    return key;
  }
  if (uint32_t vk = find(kKeypad, keycode)) {
    key.vk = vk;
    key.typesText = !control;
  }
  return key;
}

std::optional<HostRequest> hostKey(int32_t keycode) {
  switch (keycode) {
    case SDLK_F2: return HostRequest::Rotate;
    case SDLK_F3: return HostRequest::ToggleSip;
    case SDLK_F12: return HostRequest::Screenshot;
    default: return std::nullopt;
  }
}

}  // namespace display
