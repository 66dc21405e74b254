// The dialogue after a capture: whether to save, where (fixed disks and RAM
// disks only), the icon file, and the closing questions.
#pragma once
#include <windows.h>

#include "capture/grab/form_logic.h"

namespace capture {

// Runs after the captured image is shown and reduced. Messages and the save
// dialog are owned by owner (the main window), which keeps a second capture
// from starting while they are open.
void run_save_dialogue(HWND owner, const IconForm& form);

}  // namespace capture
