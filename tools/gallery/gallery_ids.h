// Identifiers of the gallery's resources and commands. Vantor's own
// resources (resource.h) are compiled in as well; these stay clear of them.
#pragma once

// The menu bar and the menu it takes its popups from (same number), and the
// popup menu a tap on the main window opens.
#define IDM_GALLERY 200
#define IDM_GALLERY_POPUP 201

// The menu bar's drop-down buttons and their texts.
#define IDM_BAR_DIALOGS 1
#define IDM_BAR_BOXES 2
#define IDM_BAR_CONTROLS 3
#define IDS_DIALOGS 220
#define IDS_BOXES 221
#define IDS_CONTROLS 222

// Dialogs: Vantor's templates open with 41000 + their number.
#define ID_CLOSE 41001
#define ID_TEMPLATE_BASE 41000
#define ID_TEMPLATE_WIDE (ID_TEMPLATE_BASE + 102)
#define ID_TEMPLATE_FONT (ID_TEMPLATE_BASE + 107)
#define ID_TEMPLATE_ABOUT (ID_TEMPLATE_BASE + 112)
#define ID_TEMPLATE_TALL (ID_TEMPLATE_BASE + 113)

// Boxes: the message box variants, and the popup menu.
#define ID_BOX_OK 41201
#define ID_BOX_OKCANCEL 41202
#define ID_BOX_YESNO 41203
#define ID_BOX_YESNO_HAND 41204
#define ID_BOX_YESNO_QUESTION 41205
#define ID_BOX_YESNO_EXCLAMATION 41206
#define ID_BOX_YESNO_ASTERISK 41207
#define ID_POPUP_MENU 41210

// Controls: one command per page. 41302 and 41303 are kept for the tree
// view and list view windows.
#define ID_CONTROLS_STANDARD 41301
#define ID_CONTROLS_TREE 41302
#define ID_CONTROLS_LIST 41303

// The popup menu's items.
#define ID_POPUP_FIRST 41401
#define ID_POPUP_SECOND 41402
#define ID_POPUP_DISABLED 41403
#define ID_POPUP_CHECKED 41404

// The main window's lines.
#define IDC_STATUS 2001
#define IDC_HINT 2002

// The dialog of standard controls.
#define IDD_CONTROLS 210
#define IDC_LEFT 2101
#define IDC_CENTRE 2102
#define IDC_RIGHT 2103
#define IDC_ICON 2104
#define IDC_NOTIFY_LABEL 2105
#define IDC_PUSH 2106
#define IDC_DEFAULT 2107
#define IDC_GROUP 2108
#define IDC_CHECK_FIRST 2109
#define IDC_CHECK_SECOND 2110
#define IDC_COMBO 2111
#define IDC_LIST 2112
#define IDC_SCROLL 2113
#define IDC_LAST_EVENT 2114
