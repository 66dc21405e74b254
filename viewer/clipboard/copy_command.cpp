#include "viewer/clipboard/copy_command.h"

#include "viewer/app/messages.h"
#include "viewer/app/view.h"
#include "viewer/clipboard/clipboard_guard.h"
#include "viewer/export/displayed_dib.h"
#include "viewer/image/image_record.h"

namespace viewer {

void copy_command(HWND w) {
  if (g_image.displayKind == Splash || !g_image.dib) return;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  fmt::bmp::DisplayedLayout layout;
  HGLOBAL block = current_displayed_layout(w, &layout) ? render_displayed_dib(w, layout) : nullptr;
  if (!block) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    message(w, MB_OK | MB_ICONERROR, "Unable to allocate clipboard memory.", "Error",
            "クリップボードのメモリを確保できません.", "エラー");
    return;
  }
  {
    ClipboardGuard clipboard(w);
    if (!clipboard.empty() || !clipboard.set(CF_DIB, block)) GlobalFree(block);
  }
  refresh_paste_button(w);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace viewer
