#include "user/DialogBuilder.h"

#include <algorithm>
#include <array>
#include <optional>

#include "user/DialogNavigation.h"
#include "user/DialogState.h"
#include "user/SystemClasses.h"
#include "user/WindowManager.h"

namespace user {

namespace {

constexpr int kPointsPerInch = 72;
constexpr size_t kMaxFaceLength = LF_FACESIZE - 1;

HFONT makeFont(const DialogFontTemplate& font) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi <= 0) dpi = 96;
  LOGFONTW description{};
  description.lfHeight = -mulDivRound(font.pointSize, dpi, kPointsPerInch);
  description.lfWeight = font.weight ? font.weight : FW_NORMAL;
  description.lfItalic = font.italic ? 1 : 0;
  description.lfCharSet = font.charset;
  size_t length = std::min(font.face.size(), kMaxFaceLength);
  std::copy_n(font.face.begin(), length, description.lfFaceName);
  description.lfFaceName[length] = 0;
  return CreateFontIndirectW(&description);
}

// The window rectangle (screen coordinates, or the parent's client
// coordinates for a child dialog) for a template's client size and place.
RECT placeDialog(const DialogTemplate& t, DWORD style, DWORD exStyle, HWND owner, const BaseUnits& units) {
  RECT frame{0, 0, dialogUnitsToPixelsX(t.cx, units), dialogUnitsToPixelsY(t.cy, units)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  // The template places the client area; the frame goes around it.
  POINT at{dialogUnitsToPixelsX(t.x, units) + frame.left, dialogUnitsToPixelsY(t.y, units) + frame.top};
  if (style & WS_CHILD) return {at.x, at.y, at.x + width, at.y + height};

  if (owner && !(t.style & DS_ABSALIGN)) ClientToScreen(owner, &at);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  if (t.style & DS_CENTER) {
    at.x = work.left + ((work.right - work.left) - width) / 2;
    at.y = work.top + ((work.bottom - work.top) - height) / 2;
  }
  // A top-level dialog is kept on the screen.
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  at.x = std::max(0, std::min<int>(at.x, screenWidth - width));
  at.y = std::max(0, std::min<int>(at.y, screenHeight - height));
  return {at.x, at.y, at.x + width, at.y + height};
}

LPCWSTR classArgument(const TemplateName& name, LPCWSTR fallback) {
  if (name.isOrdinal) {
    if (const char16_t* predefined = predefinedClassName(name.ordinal)) return predefined;
    return MAKEINTRESOURCEW(name.ordinal);
  }
  return name.text.empty() ? fallback : name.text.c_str();
}

class Builder {
 public:
  Builder(const DialogTemplate& t, const DialogRequest& request) : t_(t), request_(request) {}

  HWND build() {
    if (!createWindow()) return nullptr;
    if (!createControls()) return fail();
    HWND first = nextTabItem(dialog_, nullptr, false);
    LRESULT wantsFocus = SendMessageW(dialog_, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), request_.param);
    if (!IsWindow(dialog_)) return fail();
    if (wantsFocus) {
      // The procedure may have disabled or hidden controls meanwhile.
      if (HWND focus = nextTabItem(dialog_, nullptr, false)) state_->focus = focus;
    }
    if (!request_.modal && (t_.style & WS_VISIBLE) && !state_->ended) ShowWindow(dialog_, SW_SHOWNORMAL);
    return dialog_;
  }

 private:
  bool createWindow() {
    DWORD style = t_.style & ~WS_VISIBLE;
    DWORD exStyle = t_.exStyle;
    if (style & DS_CONTROL) {
      style = (style & ~(WS_CAPTION | WS_SYSMENU | WS_POPUP)) | WS_CHILD;
      exStyle |= WS_EX_CONTROLPARENT;
    }
    if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    if (t_.font) {
      font_ = makeFont(*t_.font);
      ownsFont_ = font_ != nullptr;
    }
    BaseUnits units = baseUnitsOf(font_);
    RECT r = placeDialog(t_, style, exStyle, request_.owner, units);
    dialog_ = CreateWindowExW(exStyle, classArgument(t_.className, kDialogClassName), t_.title.c_str(), style, r.left,
                              r.top, r.right - r.left, r.bottom - r.top, request_.owner, nullptr, request_.instance,
                              reinterpret_cast<LPVOID>(request_.param));
    if (!dialog_) {
      dropFont();
      return false;
    }
    // The state is read until the build ends, even if the dialog is
    // destroyed meanwhile.
    pin_.emplace(WindowManager::instance().fromHandle(dialog_));
    state_ = ensureDialogState(dialog_);
    if (!state_) {
      DestroyWindow(dialog_);
      dialog_ = nullptr;
      dropFont();
      return false;
    }
    state_->units = units;
    state_->hasUnits = true;
    state_->modal = request_.modal;
    if (ownsFont_) state_->templateFont = font_;
    ownsFont_ = false;
    if (request_.modal && request_.owner && IsWindowEnabled(request_.owner)) {
      EnableWindow(request_.owner, FALSE);
      state_->disabledOwner = request_.owner;
    }
    SetWindowLongPtrW(dialog_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(request_.proc));
    if (t_.font && font_) {
      state_->font = font_;
      SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    return IsWindow(dialog_) != FALSE;
  }

  bool createControls() {
    for (const DialogItemTemplate& item : t_.items) {
      if (!IsWindow(dialog_)) return false;
      if (!createControl(item) && !(t_.style & DS_NOFAILCREATE)) return false;
    }
    return IsWindow(dialog_) != FALSE;
  }

  bool createControl(const DialogItemTemplate& item) {
    const BaseUnits& units = state_->units;
    // An ordinal title names a resource (an icon statics's picture).
    std::array<char16_t, 3> ordinalTitle{0xFFFF, item.title.ordinal, 0};
    LPCWSTR title = item.title.isOrdinal ? ordinalTitle.data() : item.title.text.c_str();
    DWORD style = (item.style | WS_CHILD) & ~WS_POPUP;
    auto data = item.creationData.empty() ? nullptr : const_cast<uint8_t*>(item.creationData.data());
    HWND control = CreateWindowExW(
        item.exStyle, classArgument(item.className, WC_STATIC), title, style, dialogUnitsToPixelsX(item.x, units),
        dialogUnitsToPixelsY(item.y, units), dialogUnitsToPixelsX(item.cx, units), dialogUnitsToPixelsY(item.cy, units),
        dialog_, reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)), request_.instance, data);
    if (!control) return false;
    if (item.title.isOrdinal)
      if (Window* w = WindowManager::instance().fromHandle(control)) w->text.clear();
    if (t_.font && font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (IsWindow(control) && !state_->hasDefault && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
      state_->defaultId = static_cast<WORD>(item.id);
      state_->hasDefault = true;
    }
    return true;
  }

  // The owner is given back before the dialog goes, so that it is
  // activated again; the dialog may have destroyed itself already.
  HWND fail() {
    HWND owner = state_ ? state_->disabledOwner : nullptr;
    if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    return nullptr;
  }

  void dropFont() {
    if (ownsFont_ && font_) DeleteObject(font_);
    font_ = nullptr;
    ownsFont_ = false;
  }

  const DialogTemplate& t_;
  const DialogRequest& request_;
  HWND dialog_ = nullptr;
  DialogState* state_ = nullptr;
  std::optional<WindowPin> pin_;
  HFONT font_ = nullptr;
  bool ownsFont_ = false;
};

}  // namespace

HWND buildDialog(const DialogTemplate& dialogTemplate, const DialogRequest& request) {
  return Builder(dialogTemplate, request).build();
}

}  // namespace user
