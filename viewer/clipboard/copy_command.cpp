#include "viewer/clipboard/copy_command.h"

#include "frame/messages.h"
#include "viewer/app/view.h"
#include "viewer/clipboard/clipboard_guard.h"
#include "viewer/clipboard/clipboard_messages.h"
#include "viewer/export/displayed_dib.h"
#include "viewer/image/image_record.h"

namespace viewer {

void copy_command(HWND w) {
  if (g_image.displayKind == Splash || !g_image.dib) return;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  fmt::bmp::DisplayedLayout layout;
  HGLOBAL block = current_displayed_layout(w, &layout) ? render_displayed_dib(w, layout) : nullptr;
  bool handedOver = false;
  if (block) {
    // Another program holding the clipboard open makes the open fail before
    // anything is emptied, so the clipboard keeps what it had.
    ClipboardGuard clipboard(w);
    handedOver = clipboard.empty() && clipboard.set(CF_DIB, block);
    if (!handedOver) GlobalFree(block);
  }
  if (handedOver) refresh_paste_button(w);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  if (!handedOver) frame::show(w, msg::kClipboardMemory);
}

}  // namespace viewer
