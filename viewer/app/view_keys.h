// The mouse wheel and the keys that move the view, whichever of the main
// window's controls (a tool bar button just clicked, a scroll bar) has the
// keyboard.
#pragma once
#include <windows.h>

namespace viewer {

// Looks at a message taken from the queue before it is dispatched: a wheel
// turn or a scrolling key aimed at the main window or one of its children
// scrolls the view, and true says it has been handled. Dialogs and other
// windows keep their own keys.
bool route_view_input(HWND main, const MSG& m);

}  // namespace viewer
