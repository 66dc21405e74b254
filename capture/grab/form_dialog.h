// The icon form dialog: size, colours, orientation and frame colour of the
// next capture. It edits the pending form; a capture makes it current.
#pragma once
#include <windows.h>

namespace capture {

void open_form_dialog(HWND main);

}  // namespace capture
