// The current image drawn again at the size the view shows it, as a packed
// DIB in a new movable block: what Copy puts on the clipboard and what a
// pasted image is saved as.
#pragma once
#include <windows.h>

#include "formats/bmp_write.h"
#include "frame/scoped.h"

namespace viewer {

// The layout at the current zoom, from the image's own header. False when
// there is no image block or it cannot be locked.
bool current_displayed_layout(fmt::bmp::DisplayedLayout* out);
// A new movable block of layout.dib_bytes holding the header, the table
// and the drawn rows (unlocked); empty when memory or a GDI object is not to
// be had.
frame::GlobalBlock render_displayed_dib(HWND window, const fmt::bmp::DisplayedLayout& layout);

}  // namespace viewer
