// Identifiers of the dialog tests' own templates and controls.
#pragma once

// Labels that notify, a field after the first, buttons.
#define IDD_PROBE 300
#define IDC_PROBE_FIELD 310
#define IDC_PROBE_OTHER 311

// A small captionless dialog to centre.
#define IDD_SMALL 301
// A dialog that lives inside another window.
#define IDD_CHILD 302
// A dialog whose content scrolls: markers in its corners.
#define IDD_SCROLL 303
#define IDC_SCROLL_TOP 320
#define IDC_SCROLL_BOTTOM 321
#define IDC_SCROLL_RIGHT 322

// No template has this number.
#define IDD_MISSING 999

// Content taller than a scroll message's 16-bit thumb position can carry.
#define IDD_TALL 304
#define IDC_TALL_TOP 330
