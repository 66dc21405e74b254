// The capture program's main window: start-up, painting by capture state,
// the command table and shutdown.
#pragma once
#include <windows.h>

namespace capture {

LRESULT CALLBACK main_window_proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace capture
