// Command 109: an icon file made from two bitmaps the user picks, the
// second marking the transparent pixels by differing from the first.
#pragma once
#include <windows.h>

namespace viewer {
void make_icon_command(HWND mainWindow);
}  // namespace viewer
