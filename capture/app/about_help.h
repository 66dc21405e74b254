// The About box and the readme of the capture program, through the shared
// frame with this program's templates, texts and file names.
#pragma once
#include <windows.h>

namespace capture {

void about_command(HWND main);
void help_command(HWND main);

}  // namespace capture
