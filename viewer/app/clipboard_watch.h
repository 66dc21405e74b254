// The main window in the clipboard-viewer chain: the Paste button follows
// what other programs put on the clipboard or take off it, without waiting
// for the next paint.
#pragma once
#include <windows.h>

namespace viewer {

// Joins the chain; called once the main window stands.
void clipboard_watch_start(HWND main);
// Leaves the chain (once; later calls do nothing).
void clipboard_watch_stop(HWND main);
// WM_DRAWCLIPBOARD and WM_CHANGECBCHAIN: handled and passed on to the next
// viewer of the chain.
LRESULT clipboard_watch_message(HWND main, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace viewer
