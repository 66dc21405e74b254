// The viewer's own controls as a person sees them: tool bar buttons, scroll
// bars, the open dialog, and the bitmaps the program carries.
#pragma once
#include <windows.h>

#include <string>

#include "tests/e2e/harness.h"
#include "resources/viewer/resource.h"

namespace e2e {

constexpr int kCmdOpen = IDM_OPEN;
constexpr int kCmdZoomOut = IDM_ZOOM_OUT;
constexpr int kCmdZoomIn = IDM_ZOOM_IN;
constexpr int kButtonPrm = IDC_PRM_BUTTON;
constexpr int kButtonOpen = IDC_OPEN_BUTTON;
constexpr int kButtonPaste = IDC_PASTE_BUTTON;
constexpr int kButtonZoomOut = IDC_ZOOM_OUT_BUTTON;
constexpr int kButtonZoomIn = IDC_ZOOM_IN_BUTTON;
// The buttons that act on a shown image, the two zoom buttons first.
constexpr int kImageButtons[] = {IDC_ZOOM_OUT_BUTTON, IDC_ZOOM_IN_BUTTON, IDC_MODE_BUTTON,
                                 IDC_COPY_BUTTON,     IDC_SAVE_BUTTON,    IDC_PRINT_BUTTON};
constexpr int kStrip = 20;  // height of the tool bar strip above the view
constexpr const char* kOpenDialogTitle = "Select a bitmap or an icon file to open.";

// Starts the viewer in a fresh folder and waits until its tool bar stands.
bool start_viewer_ready(Program& p, const std::string& dirName,
                        const std::vector<std::pair<std::string, std::string>>& env = {});

HWND button_of(HWND main, int id);
bool button_enabled(HWND main, int id);
// Screen point in the middle of a tool bar button.
POINT button_centre(HWND main, int id);

// The view's scroll bars (children of the main window) and the size grip.
HWND horizontal_bar(HWND main);
HWND vertical_bar(HWND main);
HWND size_grip(HWND main);
bool shown(HWND w);
int scroll_max(HWND bar);
int scroll_pos(HWND bar);

// Resizes the main window so that its client area is cw x ch.
void set_client_size(HWND main, int cw, int ch);

// Posts a command and waits for the dialog it opens, found by its title; null when none came.
HWND command_dialog(Program& p, int command, const std::string& title);
HWND command_dialog(Program& p, int command, const std::wstring& title);
// Runs the open command and types path into the real open dialog; true once
// the dialog has gone.
bool open_with_dialog(Program& p, const std::string& path);
// Opens path with the dialog and waits until the caption names the file at
// ratio ("1:1"), then for the viewer to have handled everything.
bool open_at(Program& p, const std::string& path, const std::string& ratio, int ms = 10000);
// Opens path with the dialog and waits until the caption names the file at a
// reduced ratio ("1:k"); k, or 0 when that did not come.
int open_reduced(Program& p, const std::string& path, int ms = 10000);
// Waits for the main window's title.
bool wait_title(HWND main, const std::string& title, int ms = 10000);
// Sends a tool bar command and waits (ms at most) for the viewer to have handled it.
void command_and_settle(HWND main, int command, int ms = 10000);
// Sends the view `times` scroll messages of a code (SB_LINEDOWN …) from its
// horizontal or vertical bar; sent, not posted, so that the driver's next
// look sees their effect.
void scroll_view(HWND main, bool vertical, int code, int times = 1);
// Repaints the whole client area at once (erasing) and waits.
void repaint(HWND main);

// A bitmap resource of the viewer's EXE as 0x00RRGGBB pixels.
Pixels resource_bitmap(const char* name);

// Presses or releases the left mouse button where the cursor is (real input).
void mouse_button(bool down);

// Compares a w x h block of pixels; returns the number that differ.
int count_differences(const Pixels& a, int ax, int ay, const Pixels& b, int bx, int by, int w, int h);

// Pictures whose every pixel tells where it lies in the image: red = x,
// green = y (low bytes), blue = the high nibbles of both.
uint32_t coded(int x, int y);
int coded_x(uint32_t c);
int coded_y(uint32_t c);
// Writes a w x h coded 24-bit BMP into a fresh folder and returns its path.
std::string bmp_with_coded_pixels(const std::string& dirName, const std::string& name, int w, int h);
uint32_t client_pixel(HWND main, int x, int y);
// The image pixel shown at the top-left corner of the view.
POINT shown_at_origin(HWND main);

}  // namespace e2e
