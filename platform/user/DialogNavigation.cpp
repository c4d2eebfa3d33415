#include "user/DialogNavigation.h"

#include <algorithm>

#include "user/DialogState.h"

namespace user {

namespace {

DWORD styleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }
DWORD exStyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)); }

bool usable(HWND hwnd) {
  DWORD style = styleOf(hwnd);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

bool tabStop(HWND hwnd) { return usable(hwnd) && (styleOf(hwnd) & WS_TABSTOP); }

void collect(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (exStyleOf(child) & WS_EX_CONTROLPARENT)
      collect(child, out);
    else
      out.push_back(child);
  }
}

bool isPushButton(UINT code) { return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0; }

UINT dialogCode(HWND hwnd) { return static_cast<UINT>(SendMessageW(hwnd, WM_GETDLGCODE, 0, 0)); }

void setButtonStyle(HWND button, DWORD style) {
  if ((styleOf(button) & BS_TYPEMASK) != style) SendMessageW(button, BM_SETSTYLE, style, TRUE);
}

// The default button shows beside the focus: a focused push button is the
// default for the moment; otherwise the dialog's own default is.
void showDefaultButton(HWND dialog, DialogState& state, HWND focus) {
  bool focusPushes = focus && isPushButton(dialogCode(focus));
  HWND shown = focusPushes ? focus : (state.hasDefault ? GetDlgItem(dialog, state.defaultId) : nullptr);
  for (HWND control : dialogControls(dialog)) {
    UINT code = dialogCode(control);
    if (!isPushButton(code)) continue;
    if (control == shown)
      setButtonStyle(control, BS_DEFPUSHBUTTON);
    else if (code & DLGC_DEFPUSHBUTTON)
      setButtonStyle(control, BS_PUSHBUTTON);
  }
}

}  // namespace

std::vector<HWND> dialogControls(HWND dialog) {
  std::vector<HWND> out;
  collect(dialog, out);
  return out;
}

HWND nextTabItem(HWND dialog, HWND control, bool previous) {
  std::vector<HWND> controls = dialogControls(dialog);
  size_t n = controls.size();
  if (n == 0) return nullptr;
  auto at = std::find(controls.begin(), controls.end(), control);
  // Without a starting control the search starts beside the first (or
  // last) one, so that the first (or last) tab stop is found.
  size_t start = at != controls.end() ? static_cast<size_t>(at - controls.begin()) : (previous ? 0 : n - 1);
  for (size_t step = 1; step <= n; ++step) {
    size_t i = previous ? (start + n - step % n) % n : (start + step) % n;
    if (tabStop(controls[i])) return controls[i];
  }
  return at != controls.end() ? control : nullptr;
}

HWND nextGroupItem(HWND dialog, HWND control, bool previous) {
  std::vector<HWND> controls = dialogControls(dialog);
  auto at = std::find(controls.begin(), controls.end(), control);
  if (at == controls.end()) return controls.empty() ? nullptr : controls.front();
  size_t index = static_cast<size_t>(at - controls.begin());
  size_t first = index;
  while (first > 0 && !(styleOf(controls[first]) & WS_GROUP)) --first;
  size_t last = index + 1;
  while (last < controls.size() && !(styleOf(controls[last]) & WS_GROUP)) ++last;
  size_t n = last - first;
  for (size_t step = 1; step < n; ++step) {
    size_t offset = index - first;
    size_t i = first + (previous ? (offset + n - step) % n : (offset + step) % n);
    if (usable(controls[i])) return controls[i];
  }
  return control;
}

void focusDialogControl(HWND dialog, HWND control) {
  if (!control) return;
  if (dialogCode(control) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
  DialogState* state = dialogState(dialog);
  if (state) showDefaultButton(dialog, *state, control);
  SetFocus(control);
  if (state && GetFocus() == control) state->focus = control;
}

bool restoreDialogFocus(HWND dialog) {
  DialogState* state = dialogState(dialog);
  HWND target = state ? state->focus : nullptr;
  if (!target || !IsWindow(target) || !IsChild(dialog, target) || !usable(target))
    target = nextTabItem(dialog, nullptr, false);
  if (!target) return false;
  SetFocus(target);
  if (GetFocus() != target) return false;
  if (state) state->focus = target;
  return true;
}

void rememberDialogFocus(HWND dialog) {
  DialogState* state = dialogState(dialog);
  HWND focus = GetFocus();
  if (state && focus && IsChild(dialog, focus)) state->focus = focus;
}

}  // namespace user
