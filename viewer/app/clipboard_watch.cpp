#include "viewer/app/clipboard_watch.h"

#include "viewer/app/buttons.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

namespace {
bool g_inChain = false;
HWND g_nextViewer = nullptr;

bool clipboard_offers_image() {
  return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB);
}
}  // namespace

void clipboard_watch_start(HWND main) {
  if (g_inChain) return;
  // The first WM_DRAWCLIPBOARD comes during this call, before the next
  // viewer is known; it has nothing to pass on then.
  g_inChain = true;
  g_nextViewer = SetClipboardViewer(main);
}

void clipboard_watch_stop(HWND main) {
  if (!g_inChain) return;
  g_inChain = false;
  ChangeClipboardChain(main, g_nextViewer);
  g_nextViewer = nullptr;
}

LRESULT clipboard_watch_message(HWND main, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHANGECBCHAIN) {
    if (reinterpret_cast<HWND>(wParam) == g_nextViewer)
      g_nextViewer = reinterpret_cast<HWND>(lParam);
    else if (g_nextViewer)
      SendMessageA(g_nextViewer, msg, wParam, lParam);
    return 0;
  }
  // WM_DRAWCLIPBOARD: the paint decides the button's state; repaint its
  // strip only when that state is not what the clipboard now offers.
  HWND paste = g_toolbar ? GetDlgItem(g_toolbar, kPasteButton) : nullptr;
  if (paste && (IsWindowEnabled(paste) != FALSE) != clipboard_offers_image()) refresh_paste_button(main);
  if (g_nextViewer) SendMessageA(g_nextViewer, msg, wParam, lParam);
  return 0;
}

}  // namespace viewer
