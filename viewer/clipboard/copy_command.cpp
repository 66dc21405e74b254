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
  bool handedOver = false;
  if (block) {
    // Another program holding the clipboard open makes the open fail before
    // anything is emptied, so the clipboard keeps what it had.
    ClipboardGuard clipboard(w);
    handedOver = clipboard.empty() && clipboard.set(CF_DIB, block.get());
    // Once set, the block is the clipboard's: the guard must not free it.
    if (handedOver) block.release();
  }
  if (!handedOver) {
    busy.pause();
    frame::show(w, msg::kNoClipboardMemory);
    return;
  }
  refresh_paste_button(w);
}

}  // namespace viewer
