// Command 101: the user picks a BMP or ICO file and it becomes the current image.
#pragma once
#include <windows.h>

namespace viewer {
void open_command(HWND mainWindow);
}
