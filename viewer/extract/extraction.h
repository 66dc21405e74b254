// The image reduced to chosen colour channels: the state every loader
// resets and the saved copy of images without colour table.
#pragma once
#include <windows.h>

namespace viewer {

extern HWND g_extractionDialog;  // the modeless dialog, null when closed

// A new image shows all its colours: both choices back to 0, the saved copy
// freed and the dialog closed.
void extraction_reset();
// Keeps a copy of the info header and the 24-bit rows of the loaded image,
// the source of every later extraction.
void extraction_make_copy(HWND mainWindow);
// Keeps the dialog beside the main window's right edge (and clear of the
// vertical scroll bar while it shows).
// Command 105: opens the modeless dialog beside the main window, or gives
// it the focus when it is open.
void extraction_command(HWND mainWindow);
// Applies the current choice to the image and repaints it.
void extraction_apply(HWND mainWindow);
void extraction_follow_main_window(HWND mainWindow, bool vBarVisible);
void extraction_focus_dialog();
void extraction_shutdown();

}  // namespace viewer
