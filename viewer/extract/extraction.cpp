#include "viewer/extract/extraction.h"

#include <cstring>

#include "viewer/app/viewer_state.h"
#include "viewer/image/image_record.h"

namespace viewer {

HWND g_extractionDialog = nullptr;

namespace {
bool g_copyWanted = false;  // the loaded image has no colour table; copy on first need
}  // namespace

void extraction_reset() {
  g_copyWanted = false;
  g_image.currentExtraction = 0;
  g_image.confirmedExtraction = 0;
  if (g_image.extractCopy) {
    GlobalFree(g_image.extractCopy);
    g_image.extractCopy = nullptr;
    g_image.extractCopyPtr = nullptr;
  }
  if (g_extractionDialog) DestroyWindow(g_extractionDialog);
  g_extractionDialog = nullptr;
}

void extraction_make_copy(HWND) { g_copyWanted = true; }

bool extraction_ensure_copy() {
  if (g_image.extractCopy) return true;
  if (!g_copyWanted || !g_image.dib) return false;
  const long long w = g_image.figures.width, h = g_image.figures.height;
  if (w <= 0 || h <= 0) return false;
  const long long size = h * ((24 * w + 31) / 32 * 4) + 40;
  if (size > 0x7FFFFFFF) return false;  // no such image fits a 32-bit process anyway
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
  if (!copy) return false;  // without a copy the extraction leaves the image as it is
  g_image.extractCopy = copy;
  uint8_t* dst = static_cast<uint8_t*>(GlobalLock(copy));
  ScopedBlockLock image(g_image.dib);
  const uint8_t* src = image.get();
  if (dst && src) {
    // Header and 24-bit rows (4·W − 4·⌊W/4⌋ is 3·W padded to 4 bytes), never
    // more than either block holds.
    long long n = (4 * w - 4 * (w / 4)) * h + 40;
    const long long have = static_cast<long long>(image.size());
    if (n > have) n = have;
    if (n > size) n = size;
    std::memcpy(dst, src, static_cast<size_t>(n));
  }
  image.release();
  GlobalUnlock(copy);
  return true;
}

void extraction_follow_main_window(HWND main, bool vBarVisible) {
  if (!g_extractionDialog) return;
  RECT mainRect, dlgRect;
  GetWindowRect(main, &mainRect);
  GetWindowRect(g_extractionDialog, &dlgRect);
  int x = mainRect.right - (dlgRect.right - dlgRect.left) - 8;
  if (vBarVisible) x -= g_screen.vScrollWidth;
  const int y = mainRect.top + GetSystemMetrics(SM_CYCAPTION) + 28;
  SetWindowPos(g_extractionDialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void extraction_focus_dialog() {
  if (g_extractionDialog && GetFocus() != g_extractionDialog) SetFocus(g_extractionDialog);
}

void extraction_shutdown() { extraction_reset(); }

}  // namespace viewer
