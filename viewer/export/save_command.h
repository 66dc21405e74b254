#pragma once
#include <windows.h>

namespace viewer {
// Command 107: saves the current image as TIF or BMP by its origin.
void save_command(HWND mainWindow);
}  // namespace viewer
