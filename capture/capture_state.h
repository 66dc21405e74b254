// Program-wide values of the capture program, owned by the main window's
// code and read by the commands. One GUI thread touches them; no locks.
#pragma once
#include <windows.h>

#include "capture/app/startup_logic.h"
#include "capture/grab/form_logic.h"
#include "resources/capture/resource.h"

namespace capture {

enum CaptureState { kStateNone = 0, kStateCaptured = 1, kStateMarking = 100, kStateFilling = 200 };

// The menu's and the tool bar's commands.
enum Command {
  kCmdForm = IDM_MENU_FORM, kCmdIcon = IDM_MENU_ICON, kCmdAbout = IDM_MENU_ABOUT, kCmdHelp = IDM_MENU_HELP, kCmdExit = IDM_MENU_EXIT,
  kCmdButtonForm = IDM_BUTTON_FORM, kCmdButtonIcon = IDM_BUTTON_ICON, kCmdButtonAbout = IDM_BUTTON_ABOUT,
  kCmdToolOk = IDC_TOOL_OK, kCmdToolCancel = IDC_TOOL_CANCEL, kCmdToolFill = IDC_TOOL_FILL,
  kCmdToolColour = IDC_TOOL_COLOUR,
};

enum ButtonId {
  kGapButton = IDC_STRIP_GAP, kFormButton = IDC_STRIP_FORM, kIconButton = IDC_STRIP_ICON,
  kAboutButton = IDC_STRIP_ABOUT, kSpaceButton = IDC_STRIP_SPACE,
};

constexpr int kImageTop = 21;  // the captured image starts this far down the client area

extern HINSTANCE g_instance;
extern HWND g_mainWindow;
extern HWND g_grabWindow;
extern HWND g_toolbar;
extern int g_captureState;
extern IconForm g_currentForm;
extern IconForm g_pendingForm;
extern int g_frameColour;  // FrameColour
extern MainSizes g_sizes;
extern int g_screenWidth, g_screenHeight;
extern char g_iniPath[256];
extern HCURSOR g_arrowCursor;
extern HCURSOR g_crossCursor;

}  // namespace capture
