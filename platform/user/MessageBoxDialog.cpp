#include "user/MessageBoxDialog.h"

#include <algorithm>

#include "user/SystemClasses.h"
#include "user/TextMeasure.h"

namespace user {

namespace {

const MessageBoxDialog::Button kOk{IDOK, u"OK"};
const MessageBoxDialog::Button kCancel{IDCANCEL, u"Cancel"};
const MessageBoxDialog::Button kYes{IDYES, u"Yes"};
const MessageBoxDialog::Button kNo{IDNO, u"No"};
const MessageBoxDialog::Button kAbort{IDABORT, u"Abort"};
const MessageBoxDialog::Button kRetry{IDRETRY, u"Retry"};
const MessageBoxDialog::Button kIgnore{IDIGNORE, u"Ignore"};

constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION;

HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

MessageBoxDialog::MessageBoxDialog(HWND owner, std::u16string text, std::u16string caption, UINT type)
    : owner_(topLevelOf(owner)), text_(std::move(text)), caption_(std::move(caption)), type_(type) {}

std::vector<MessageBoxDialog::Button> MessageBoxDialog::buttonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {kOk, kCancel};
    case MB_ABORTRETRYIGNORE:
      return {kAbort, kRetry, kIgnore};
    case MB_YESNOCANCEL:
      return {kYes, kNo, kCancel};
    case MB_YESNO:
      return {kYes, kNo};
    case MB_RETRYCANCEL:
      return {kRetry, kCancel};
    default:
      return {kOk};
  }
}

int MessageBoxDialog::escapeAnswer() const {
  auto buttons = buttonsFor(type_);
  if (std::any_of(buttons.begin(), buttons.end(), [](const Button& b) { return b.id == IDCANCEL; })) return IDCANCEL;
  if (buttons.size() == 1) return IDOK;
  return 0;
}

int MessageBoxDialog::forcedAnswer() const {
  if (int answer = escapeAnswer()) return answer;
  return (type_ & MB_TYPEMASK) == MB_YESNO ? IDNO : IDABORT;
}

LPCWSTR MessageBoxDialog::iconName() const {
  switch (type_ & MB_ICONMASK) {
    case MB_ICONHAND:
      return IDI_HAND;
    case MB_ICONQUESTION:
      return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
      return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
      return IDI_ASTERISK;
    default:
      return nullptr;
  }
}

bool MessageBoxDialog::create() {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int workWidth = work.right - work.left;
  int workHeight = work.bottom - work.top;
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kBoxStyle, FALSE, 0);
  int frameWidth = frame.right - frame.left;
  int frameHeight = frame.bottom - frame.top;

  LPCWSTR icon = iconName();
  int iconPart = icon ? kIconSize + kMargin : 0;
  auto buttons = buttonsFor(type_);
  int buttonWidth = kButtonMinWidth;
  for (const Button& b : buttons) buttonWidth = std::max(buttonWidth, textWidth(b.text) + 2 * kMargin);
  int buttonsWidth = static_cast<int>(buttons.size()) * (buttonWidth + kButtonGap) - kButtonGap;

  int maxClientWidth = workWidth - frameWidth;
  int maxTextWidth = std::max(maxClientWidth - 2 * kMargin - iconPart, 1);
  std::vector<std::u16string> lines = wrapText(text_, maxTextWidth);
  int longest = 0;
  for (const auto& line : lines) longest = std::max(longest, textWidth(line));
  int textHeight = static_cast<int>(lines.size()) * textLineHeight();

  int clientWidth = std::min(maxClientWidth, 2 * kMargin + std::max(iconPart + longest, buttonsWidth));
  int contentHeight = std::max(icon ? kIconSize : 0, textHeight);
  int clientHeight = std::min(workHeight - frameHeight, 3 * kMargin + contentHeight + kButtonHeight);
  int width = clientWidth + frameWidth;
  int height = clientHeight + frameHeight;
  int x = work.left + (workWidth - width) / 2;
  int y = work.top + (workHeight - height) / 2;

  HINSTANCE instance = GetModuleHandleW(nullptr);
  box_ = CreateWindowExW(0, kDialogClassName, caption_.c_str(), kBoxStyle, x, y, width, height, owner_, nullptr,
                         instance, nullptr);
  if (!box_) return false;
  SetWindowLongPtrW(box_, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(box_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&MessageBoxDialog::dialogProc));

  int contentTop = kMargin;
  int buttonTop = std::max(contentTop + contentHeight + kMargin, clientHeight - kMargin - kButtonHeight);
  buttonTop = std::min(buttonTop, clientHeight - kMargin - kButtonHeight);
  if (icon) {
    HWND iconWindow = CreateWindowExW(0, WC_STATIC, nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, kMargin, contentTop,
                                      kIconSize, kIconSize, box_, reinterpret_cast<HMENU>(kIconId), instance, nullptr);
    SendMessageW(iconWindow, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
  }
  int textLeft = kMargin + iconPart;
  int textBottom = std::max(contentTop, buttonTop - kMargin);
  // Drawn as wrapText broke it: the label is as wide as the longest line or wider.
  CreateWindowExW(0, WC_STATIC, text_.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
                  textLeft, contentTop, clientWidth - textLeft - kMargin, std::min(textHeight, textBottom - contentTop),
                  box_, reinterpret_cast<HMENU>(static_cast<uintptr_t>(kTextId)), instance, nullptr);
  createButtons(clientWidth, buttonTop);
  return true;
}

void MessageBoxDialog::createButtons(int clientWidth, int top) {
  auto buttons = buttonsFor(type_);
  size_t defaultIndex = ((type_ & MB_DEFMASK) >> 8);
  if (defaultIndex >= buttons.size()) defaultIndex = 0;
  int buttonWidth = kButtonMinWidth;
  for (const Button& b : buttons) buttonWidth = std::max(buttonWidth, textWidth(b.text) + 2 * kMargin);
  int total = static_cast<int>(buttons.size()) * (buttonWidth + kButtonGap) - kButtonGap;
  int x = std::max((clientWidth - total) / 2, 0);
  for (size_t i = 0; i < buttons.size(); ++i) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                  (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = CreateWindowExW(0, WC_BUTTON, buttons[i].text, style, x, top, buttonWidth, kButtonHeight, box_,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(buttons[i].id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (i == defaultIndex) defaultButton_ = button;
    x += buttonWidth + kButtonGap;
  }
}

INT_PTR CALLBACK MessageBoxDialog::dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  auto* self = reinterpret_cast<MessageBoxDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      return self->command(LOWORD(wParam)) ? TRUE : FALSE;
    case WM_NCPAINT:
      self->paintFrame();
      return TRUE;
    case WM_PAINT:
      // The frame is painted with the client; the client's painting goes on.
      self->paintFrame();
      return FALSE;
    default:
      return FALSE;
  }
}

void MessageBoxDialog::paintFrame() const {
  HDC hdc = GetWindowDC(box_);
  if (!hdc) return;
  RECT window;
  GetWindowRect(box_, &window);
  POINT client{0, 0};
  ClientToScreen(box_, &client);
  int width = window.right - window.left;
  int border = client.x - window.left;
  RECT outline{0, 0, width, window.bottom - window.top};
  FrameRect(hdc, &outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  // The caption strip: the title in bold white on the caption colour.
  RECT strip{border, border, width - border, client.y - window.top};
  FillRect(hdc, &strip, GetSysColorBrush(COLOR_ACTIVECAPTION));
  LOGFONTW bold{};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(bold), &bold);
  bold.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&bold);
  HGDIOBJ previous = SelectObject(hdc, font);
  SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
  SetBkMode(hdc, TRANSPARENT);
  RECT title{strip.left + kMargin, strip.top, strip.right - kMargin, strip.bottom};
  DrawTextW(hdc, caption_.c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(hdc, previous);
  DeleteObject(font);
  ReleaseDC(box_, hdc);
}

bool MessageBoxDialog::command(int id) {
  if (id == IDCANCEL) id = escapeAnswer();
  auto buttons = buttonsFor(type_);
  if (!id || std::none_of(buttons.begin(), buttons.end(), [&](const Button& b) { return b.id == id; })) return false;
  done_ = true;
  result_ = id;
  return true;
}

int MessageBoxDialog::run() {
  bool disableOwner = owner_ && IsWindowEnabled(owner_);
  if (!create()) return 0;
  if (disableOwner) EnableWindow(owner_, FALSE);
  ShowWindow(box_, SW_SHOW);
  if (defaultButton_) SetFocus(defaultButton_);

  bool quit = false;
  int quitCode = 0;
  MSG msg;
  while (!done_ && IsWindow(box_)) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (!IsDialogMessageW(box_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (!done_) result_ = forcedAnswer();

  // The owner is enabled before the box goes, so activation returns to it.
  if (disableOwner && IsWindow(owner_)) EnableWindow(owner_, TRUE);
  if (IsWindow(box_)) {
    SetWindowLongPtrW(box_, DWLP_USER, 0);
    DestroyWindow(box_);
  }
  if (owner_ && IsWindow(owner_) && IsWindowVisible(owner_)) SetActiveWindow(owner_);
  if (quit) PostQuitMessage(quitCode);
  return result_;
}

}  // namespace user

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  user::MessageBoxDialog box(owner, text ? text : u"", caption ? caption : u"Error", type);
  return box.run();
}
