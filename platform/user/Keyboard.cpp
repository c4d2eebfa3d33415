#include "user/Keyboard.h"

namespace user {

namespace {

struct Punctuation {
  UINT vk;
  char16_t plain;
  char16_t shifted;
};

constexpr Punctuation kPunctuation[] = {
    {VK_OEM_1, u';', u':'},      {VK_OEM_PLUS, u'=', u'+'},  {VK_OEM_COMMA, u',', u'<'}, {VK_OEM_MINUS, u'-', u'_'},
    {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},     {VK_OEM_3, u'`', u'~'},     {VK_OEM_4, u'[', u'{'},
    {VK_OEM_5, u'\\', u'|'},     {VK_OEM_6, u']', u'}'},     {VK_OEM_7, u'\'', u'"'},    {VK_MULTIPLY, u'*', u'*'},
    {VK_ADD, u'+', u'+'},        {VK_SUBTRACT, u'-', u'-'},  {VK_DECIMAL, u'.', u'.'},   {VK_DIVIDE, u'/', u'/'},
};

constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

}  // namespace

bool characterForKey(UINT vk, bool shift, bool control, char16_t& ch) {
  if (vk >= 'A' && vk <= 'Z') {
    // Control with a letter types its control character, Ctrl+A = 1.
    if (control)
      ch = static_cast<char16_t>(vk - 'A' + 1);
    else
      ch = static_cast<char16_t>(shift ? vk : vk - 'A' + 'a');
    return true;
  }
  if (control) return false;
  if (vk >= '0' && vk <= '9') {
    ch = shift ? kShiftedDigits[vk - '0'] : static_cast<char16_t>(vk);
    return true;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
    ch = static_cast<char16_t>(u'0' + (vk - VK_NUMPAD0));
    return true;
  }
  switch (vk) {
    case VK_SPACE:
      ch = u' ';
      return true;
    case VK_RETURN:
      ch = u'\r';
      return true;
    case VK_ESCAPE:
      ch = 0x1B;
      return true;
    case VK_BACK:
      ch = 0x08;
      return true;
    case VK_TAB:
      ch = u'\t';
      return true;
    default:
      break;
  }
  for (const Punctuation& p : kPunctuation) {
    if (p.vk == vk) {
      ch = shift ? p.shifted : p.plain;
      return true;
    }
  }
  return false;
}

}  // namespace user
