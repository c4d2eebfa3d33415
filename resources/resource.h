// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

// The icon: program, window and tree nodes.
#define IDI_VANTOR 106

// The menu behind the menu bar, and the menu bar resource (same number).
#define IDM_MAIN 101

// The menu bar's two drop-down buttons.
#define IDM_MENUBAR_TOOLS 1
#define IDM_MENUBAR_VIEW 2

// Commands.
#define IDM_CLOSE 40001
#define IDM_DELETE_DATABASE 40002
#define IDM_DELETE_RECORD 40003
#define IDM_DATABASE_PROPERTIES 40004
#define IDM_REFRESH 40005
#define IDM_OPTIONS 40006
#define IDM_ABOUT 40007

// Menu bar button strips: three 16 x 16 images each, for the buttons of
// IDM_DATABASE_PROPERTIES, IDM_DELETE_RECORD and IDM_DELETE_DATABASE.
#define IDB_MENUBAR_GREY 114
#define IDB_MENUBAR_COLOUR 137
#define MENUBAR_IMAGE_COUNT 3

// Texts of the menu bar's drop-down buttons.
#define IDS_TOOLS 1015
#define IDS_VIEW 1016

// Dialog templates.
#define IDD_DBPROPERTIES_WIDE 102
#define IDD_FONT 107
#define IDD_ABOUT 112
#define IDD_DBPROPERTIES_TALL 113

// Controls without an identifier of their own.
#define IDC_STATIC (-1)

// Database properties (both templates).
#define IDC_DB_TYPE 1001
#define IDC_DB_RECORDS 1002
#define IDC_DB_SIZE 1003
#define IDC_DB_MODIFIED 1004
#define IDC_DB_NAME 1005
#define IDC_DB_OID 1006
#define IDC_DB_SORTORDERS 1012

// Font.
#define IDC_FONT_FACE 1006
#define IDC_FONT_SIZE 1007
#define IDC_FONT_BOLD 1008
#define IDC_FONT_ITALIC 1009
#define IDC_FONT_UNDERLINE 1010
#define IDC_FONT_PREVIEW 1011

// About.
#define IDC_ABOUT_NOTICE 1034
