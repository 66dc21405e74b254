// Resource ids of the viewer: read by the resource scripts, the program and
// the programs that drive it (the end-to-end tests, the manual's pictures).
// Plain defines, as the resource compiler reads nothing else.
#ifndef KALDERO_RESOURCE_H
#define KALDERO_RESOURCE_H

// Commands of the tool bar buttons (WM_COMMAND to the main window).
#define IDM_PARAMETERS 100
#define IDM_OPEN 101
#define IDM_PASTE 102
#define IDM_ZOOM_OUT 103
#define IDM_ZOOM_IN 104
#define IDM_EXTRACTION 105
#define IDM_COPY 106
#define IDM_SAVE 107
#define IDM_PRINT 108
#define IDM_MAKE_ICON 109
#define IDM_ABOUT 110
#define IDM_HELP 111
#define IDM_EXIT 112

// Tool bar buttons (children of the strip), left to right.
#define IDC_GAP_BUTTON 0x71
#define IDC_PRM_BUTTON 0x72
#define IDC_OPEN_BUTTON 0x73
#define IDC_PASTE_BUTTON 0x74
#define IDC_ZOOM_OUT_BUTTON 0x75
#define IDC_ZOOM_IN_BUTTON 0x76
#define IDC_MODE_BUTTON 0x77
#define IDC_COPY_BUTTON 0x78
#define IDC_SAVE_BUTTON 0x79
#define IDC_PRINT_BUTTON 0x7a
#define IDC_MAKE_ICON_BUTTON 0x7b
#define IDC_ABOUT_BUTTON 0x7c
#define IDC_HELP_BUTTON 0x7d
#define IDC_EXIT_BUTTON 0x7e
#define IDC_SPACE_BUTTON 0x7f

// Dialog templates, English and Japanese.
#define IDD_COLOUR_SELECT "COLORSELECT_DLG"
#define IDD_COLOUR_SELECT_J "COLORSELECT_DLG_J"
#define IDD_EXTRACTION "RGBSET_DLG"
#define IDD_EXTRACTION_J "RGBSET_DLG_J"
#define IDD_MAKE_ICON "MAKE_ICO_DLG"
#define IDD_MAKE_ICON_J "MAKE_ICO_DLG_J"
#define IDD_PRINT_ZOOM "PRINTZOOM_DLG"
#define IDD_PRINT_ZOOM_J "PRINTZOOM_DLG_J"
#define IDD_TIF_CONDITIONS "SETPARAM_DLG"
#define IDD_TIF_CONDITIONS_J "SETPARAM_DLG_J"
#define IDD_ABOUT "ABOUT_DLG"
#define IDD_ABOUT_J "ABOUT_DLG_J"

// Controls of the dialogs.
#define IDC_ABOUT_TITLE 100  // title and version line, filled by the program
#define IDC_ABOUT_TEXT 101
#define IDC_COLOUR_LIST 128
#define IDC_TIF_INTEL 130
#define IDC_TIF_MOTOROLA 131
#define IDC_TIF_AS_16BIT 132
// The seven extraction choices in their order: a choice is its id less the first.
#define IDC_EXTRACT_RGB 133
#define IDC_EXTRACT_RG 134
#define IDC_EXTRACT_GB 135
#define IDC_EXTRACT_BR 136
#define IDC_EXTRACT_R 137
#define IDC_EXTRACT_G 138
#define IDC_EXTRACT_B 139
#define IDC_PRINT_ZOOM_SLIDER 140
#define IDC_PRINT_ZOOM_VALUE 141
#define IDC_PRINT_ZOOM_OK 142
#define IDC_PRINT_ZOOM_CANCEL 143

// Icons and bitmaps drawn by the artwork tool (its artwork.rc uses the same
// names and numbers); the tool bar's bitmaps are named by the button table.
#define IDI_KALDERO "ICON_1"
#define IDI_ABOUT 129
#define IDI_EXAMPLE_FIRST 144  // the icon maker's first bitmap
#define IDI_EXAMPLE_SECOND 145
#define IDI_EXAMPLE_ICON 146
#define IDB_SPLASH "IBMP_1"

#endif
