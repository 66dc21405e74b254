// The transparent-pixel tool: after a capture is saved, the main window
// shows the image enlarged on a grid with OK, Cancel, Tool and the list of
// mark colours; clicks mark pixels (one by one or by area) and OK makes the
// marked pixels of the saved icon transparent.
#pragma once
#include <windows.h>

#include "capture/grab/form_logic.h"

namespace capture {

// Opens the tool over the captured image for the icon just saved at
// last_saved_path() in this form.
void open_mask_tool(HWND main, const IconForm& form);
bool mask_tool_open();

// The enlarged view, marks and grid (WM_PAINT in the marking state).
void paint_mask_view(HDC dc);
// Left button down on the main window: the cell under the pointer.
void mask_click(HWND main);
// Commands 123 OK, 124 Cancel, 125 fill tool dialog, 126 colour list.
void mask_command(HWND main, int command);
// An item of the colour list (WM_DRAWITEM).
void draw_colour_item(const DRAWITEMSTRUCT& item);

// Closes the tool as Cancel does, its success message included.
void cancel_mask_tool(HWND main);
// Leaving the program with the tool open: the controls go, the saved icon
// stays as it was written and nothing is said.
void drop_mask_tool();

// While the tool is open, Enter means OK and Esc means Cancel wherever the
// keyboard is in the main window (its buttons and list are no dialog, so no
// dialog manager does it). True when the key was taken.
bool mask_tool_key(const MSG& m);

// Rewrites the icon at path with the marked pixels transparent, through a
// new file in the same folder moved over it. False (after "Unable to open
// file.", owned by owner) when the file is missing, unreadable, not this
// form's icon, or cannot be replaced; the file is then as it was.
bool write_marks(HWND owner, const char* path, const IconForm& form, const uint8_t* marks);

// The fill tool dialog (command 125); value 0 pixel, 1 area.
void run_fill_tool_dialog(HWND main, int* fillTool);

}  // namespace capture
