// The image reduced to chosen colour channels: the state every loader
// resets and the saved copy of images without colour table.
#pragma once
#include <windows.h>

namespace viewer {

extern HWND g_extractionDialog;  // the modeless dialog, null when closed

// A new image shows all its colours: both choices back to 0, the saved copy
// freed and the dialog closed.
void extraction_reset();
// Makes the copy of the info header and the rows of an image without colour
// table, the source of every later extraction, if the image has none that
// fits; call it before an extraction changes the image's pixels. Until then
// the pixels are the loaded ones, and an open does not pay for a copy of a
// large image that nothing may ever read. False when no copy is held or
// could be made.
bool extraction_ensure_copy();
// Command 105: opens the modeless dialog beside the main window, or gives
// it the focus when it is open.
void extraction_command(HWND mainWindow);
// Applies the current choice to the image and repaints it.
void extraction_apply(HWND mainWindow);
// Keeps the dialog beside the main window's right edge (and clear of the
// vertical scroll bar while it shows).
void extraction_follow_main_window(HWND mainWindow, bool vBarVisible);
void extraction_focus_dialog();
void extraction_shutdown();

}  // namespace viewer
