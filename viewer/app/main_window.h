// The viewer's main window: start-up, message handling, command dispatch
// and shutdown.
#pragma once
#include <windows.h>

namespace viewer {

constexpr const char* kMainClass = "KALDERO5";

LRESULT CALLBACK main_window_proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);
void shutdown(HWND w);

}  // namespace viewer
