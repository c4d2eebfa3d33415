// Identifiers of the dialog tests' own templates and controls.
#pragma once

#define IDD_PROBE 300  // labels that notify, a field after the first, buttons
#define IDC_PROBE_FIELD 310
#define IDC_PROBE_OTHER 311
#define IDD_SMALL 301  // small and captionless, to centre
#define IDD_CHILD 302  // lives inside another window
#define IDD_SCROLL 303  // content that scrolls, markers in its corners
#define IDC_SCROLL_TOP 320
#define IDC_SCROLL_BOTTOM 321
#define IDC_SCROLL_RIGHT 322
#define IDD_TALL 304  // taller than a scroll message's 16-bit thumb position can carry
#define IDC_TALL_TOP 330
#define IDD_MISSING 999  // no template has this number
