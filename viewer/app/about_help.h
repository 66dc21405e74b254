// The viewer's About box and Help command (the shared frame does the work).
#pragma once
#include <windows.h>

namespace viewer {

void about_command(HWND main);
void help_command(HWND main);

}  // namespace viewer
