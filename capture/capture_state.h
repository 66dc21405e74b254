// Program-wide values of the capture program, owned by the main window's
// code and read by the commands. One GUI thread touches them; no locks.
#pragma once
#include <windows.h>

#include "capture/app/startup_logic.h"
#include "capture/grab/form_logic.h"

namespace capture {

enum CaptureState { kStateNone = 0, kStateCaptured = 1, kStateMarking = 100, kStateFilling = 200 };

// The menu's and the tool bar's commands.
enum Command {
  kCmdForm = 100, kCmdIcon = 101, kCmdAbout = 102, kCmdHelp = 103, kCmdExit = 104,
  kCmdButtonForm = 110, kCmdButtonIcon = 111, kCmdButtonAbout = 112,
  kCmdToolOk = 123, kCmdToolCancel = 124, kCmdToolFill = 125, kCmdToolColour = 126,
};

enum ButtonId { kGapButton = 105, kFormButton = 106, kIconButton = 107, kAboutButton = 108, kSpaceButton = 109 };

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
