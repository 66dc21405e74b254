// Both programs run once: a second start hands over to the program that
// runs and ends.
#pragma once
#include <windows.h>

namespace frame {

// Brings the running program's main window forward, restored when it is
// minimised, with the dialog it has open (if any) on top. A window of
// another class that merely bears the name, or a main window hidden while
// the program is busy (a capture in progress), is left alone.
void bring_forward(HWND running, const char* mainClass);

}  // namespace frame
