// The image reduced to chosen colour channels: the state every loader
// resets and the saved copy of images without colour table.
#pragma once
#include <windows.h>

namespace viewer {

extern HWND g_extractionDialog;  // the modeless dialog, null when closed

// A new image shows all its colours: both choices back to 0, the saved copy
// freed and the dialog closed.
void extraction_reset();
// Asks for a copy of the info header and the 24-bit rows of the loaded
// image, the source of every later extraction. The copy itself is made by
// extraction_ensure_copy when an extraction first needs it: until then the
// pixels are the loaded ones, and an open does not pay for a copy of a large
// image that nothing may ever read.
void extraction_make_copy(HWND mainWindow);
// Makes the asked-for copy if it does not exist yet; call it before an
// extraction changes the image's pixels. False when no copy could be made.
bool extraction_ensure_copy();
// Keeps the dialog beside the main window's right edge (and clear of the
// vertical scroll bar while it shows).
void extraction_follow_main_window(HWND mainWindow, bool vBarVisible);
void extraction_focus_dialog();
void extraction_shutdown();

}  // namespace viewer
