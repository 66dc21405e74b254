#pragma once
#include <windows.h>

namespace viewer {
// Command 106: the image as displayed goes on the clipboard as a CF_DIB.
void copy_command(HWND mainWindow);
// Command 102: the clipboard's image becomes the current image.
void paste_command(HWND mainWindow);
}  // namespace viewer
