// Resource ids of the capture program: read by the resource scripts, the
// program and the programs that drive it (the end-to-end tests, the manual's
// pictures). Plain defines, as the resource compiler reads nothing else. The
// driver includes the viewer's header too: no name here is also one there.
#ifndef MERIDOT_RESOURCE_H
#define MERIDOT_RESOURCE_H

// Commands of the menu.
#define IDM_MENU_FORM 100
#define IDM_MENU_ICON 101
#define IDM_MENU_ABOUT 102
#define IDM_MENU_HELP 103
#define IDM_MENU_EXIT 104

// Tool bar buttons (children of the strip), left to right, and the commands
// they send.
#define IDC_STRIP_GAP 105
#define IDC_STRIP_FORM 106
#define IDC_STRIP_ICON 107
#define IDC_STRIP_ABOUT 108
#define IDC_STRIP_SPACE 109
#define IDM_BUTTON_FORM 110
#define IDM_BUTTON_ICON 111
#define IDM_BUTTON_ABOUT 112

// The transparent-pixel tool's controls, children of the main window; each
// sends its own id as its command.
#define IDC_TOOL_OK 123
#define IDC_TOOL_CANCEL 124
#define IDC_TOOL_FILL 125
#define IDC_TOOL_COLOUR 126

// Dialog templates and menus, English and Japanese.
#define IDD_FORM "CAPTSIZE_DLG"
#define IDD_FORM_J "CAPTSIZE_DLG_J"
#define IDD_FILL_TOOL "TOOL_DLG"
#define IDD_FILL_TOOL_J "TOOL_DLG_J"
#define IDD_MERIDOT_ABOUT "ABOUT_DLG"
#define IDD_MERIDOT_ABOUT_J "ABOUT_DLG_J"
#define IDR_MENU "MENU_0"    // replaces the class menu at start in the English UI
#define IDR_MENU_J "MENU_1"  // the class menu

// Controls of the form dialog: four groups of radio buttons.
#define IDC_SIZE_16 113
#define IDC_SIZE_32 114
#define IDC_SIZE_48 115
#define IDC_SIZE_64 116
#define IDC_COLOURS_16 117
#define IDC_COLOURS_256 118
#define IDC_ERECT 119
#define IDC_INVERTED 120
#define IDC_ERECT_MIRROR 121
#define IDC_INVERTED_MIRROR 122
#define IDC_FRAME_INVERTED 127
#define IDC_FRAME_BLACK 128
#define IDC_FRAME_WHITE 129

// Controls of the fill tool dialog and the About box.
#define IDC_FILL_PIXEL 130
#define IDC_FILL_AREA 131
#define IDC_MERIDOT_ABOUT_TEXT 100  // the title line, the version and the text, filled by the program

// Icons and the cursor drawn by the artwork tool (its meridot_artwork.rc uses
// the same names and numbers); the tool bar's bitmaps are named by the button
// table.
#define IDI_MERIDOT "ICON_1"
#define IDI_GRAB "ICON_2"
#define IDI_MERIDOT_ABOUT 132
#define IDC_CROSS_CURSOR "CURSOR_C"

#endif
