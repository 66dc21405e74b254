#include "viewer/clipboard/copy_command.h"

#include "viewer/app/view.h"
#include "viewer/clipboard/clipboard_guard.h"
#include "viewer/clipboard/clipboard_messages.h"
#include "viewer/export/displayed_dib.h"
#include "viewer/image/image_record.h"

namespace viewer {

void copy_command(HWND w) {
  if (g_image.displayKind == Splash || !g_image.dib) return;
  frame::WaitCursor busy;
  fmt::bmp::DisplayedLayout layout;
  frame::GlobalBlock block;
  if (current_displayed_layout(&layout)) block = render_displayed_dib(w, layout);
  if (!block) {
    busy.pause();
    frame::show(w, msg::kNoClipboardMemory);
    return;
  }
  {
    ClipboardGuard clipboard(w);
    // Once set, the block is the clipboard's: the guard must not free it.
    if (clipboard.empty() && clipboard.set(CF_DIB, block.get())) block.release();
  }
  refresh_paste_button(w);
}

}  // namespace viewer
