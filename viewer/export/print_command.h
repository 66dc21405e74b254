// Command 108: the print zoom dialog, then the image on one printed page.
#pragma once
#include <windows.h>

namespace viewer {

void print_command(HWND mainWindow);
// Prints the current image at printZoomPercent on the printer the system's
// print dialog chooses.
void print_image(HWND mainWindow);

}  // namespace viewer
