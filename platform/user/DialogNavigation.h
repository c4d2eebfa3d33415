// Moving through a dialog's controls: the tab order (WS_TABSTOP controls in
// creation order, looking inside WS_EX_CONTROLPARENT children), groups
// (from one WS_GROUP control to the next), and the focus moves of the
// dialog manager, which keep the default push button beside the focus.
#pragma once

#include <vector>

#include <windows.h>

namespace user {

// The dialog's controls in tab order; a WS_EX_CONTROLPARENT child stands
// for its own controls.
std::vector<HWND> dialogControls(HWND dialog);

// The next (or previous) visible, enabled WS_TABSTOP control after
// control, wrapping; from the start (or the end) when control is null or
// not the dialog's. The control itself when no other qualifies; null when
// none does.
HWND nextTabItem(HWND dialog, HWND control, bool previous);

// The next (or previous) visible, enabled control of control's group,
// wrapping within the group; the control itself when there is no other.
HWND nextGroupItem(HWND dialog, HWND control, bool previous);

// The focus goes to control: an edit control's text is selected, a push
// button taking the focus shows as the default one (the dialog's default
// button shows so again once the focus leaves push buttons), and the
// dialog remembers the control for its next activation.
void focusDialogControl(HWND dialog, HWND control);

// Gives the focus back to the control the dialog last had it on, or to its
// first tab stop; false when neither can take it.
bool restoreDialogFocus(HWND dialog);

// The dialog notes where the focus is, when it is on one of its controls.
void rememberDialogFocus(HWND dialog);

}  // namespace user
