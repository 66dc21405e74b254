// A bitmap the icon maker shows is a real current image: it is scanned and
// read like an opened BMP file, so the other commands work on what is seen.
#pragma once
#include <windows.h>

namespace viewer {
// tag 1 or 2: which of the two bitmaps, named in the caption.
void show_make_icon_bitmap(HWND mainWindow, const char* path, int tag);
}  // namespace viewer
