#include "viewer/extract/extraction.h"

#include "formats/bmp_read.h"
#include "formats/bytes.h"
#include "frame/messages.h"
#include "frame/os_style.h"
#include "frame/scoped.h"
#include "viewer/app/buttons.h"
#include "viewer/app/kept_picture.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/extract/extraction_logic.h"
#include "viewer/image/image_record.h"
#include "resources/viewer/resource.h"

#include <utility>

namespace viewer {

HWND g_extractionDialog = nullptr;

namespace {

constexpr int kFirstChoiceButton = IDC_EXTRACT_RGB;
constexpr int kLastChoiceButton = kFirstChoiceButton + kExtractionChoices - 1;

size_t image_block_size() { return g_image.dibSize ? g_image.dibSize : g_image.dib.size(); }

bool image_layout(const uint8_t* block, fmt::bmp::DibLayout* l) {
  return fmt::bmp::dib_layout(block, image_block_size(), file_header_of(g_image.fileHeader), l) ==
         fmt::bmp::BmpReadError::None;
}

// Whether the copy was taken from this image (the paste command may keep
// one of its own making); a copy that does not fit is made again. That is
// safe: the pixels change only through a copy that fits, so without one
// they are still as loaded.
bool ensure_copy(const uint8_t* block, const fmt::bmp::DibLayout& l) {
  frame::GlobalBlock& kept = g_image.extractCopy;
  if (kept) {
    const bool fits = extraction_copy_fits(kept.lock(), kept.size(), block, l);
    kept.unlock();
    if (fits) return true;
    kept.reset();
  }
  const uint64_t size = extraction_copy_size(l);
  if (size > 0x7FFFFFFF) return false;
  frame::GlobalBlock copy;
  // Without a copy the extraction leaves the image as it is.
  if (!copy.allocate(static_cast<SIZE_T>(size), GMEM_ZEROINIT) || !copy.lock()) return false;
  fill_extraction_copy(copy.lock(), block, l);
  copy.unlock();
  kept = std::move(copy);
  return true;
}

void check_choice(HWND dialog, int choice) {
  CheckRadioButton(dialog, kFirstChoiceButton, kLastChoiceButton, kFirstChoiceButton + choice);
}

INT_PTR CALLBACK extraction_dialog_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: check_choice(dialog, g_image.currentExtraction); return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= kFirstChoiceButton && id <= kLastChoiceButton) {
        check_choice(dialog, id - kFirstChoiceButton);
        g_image.currentExtraction = id - kFirstChoiceButton;
        extraction_apply(g_mainWindow);
      } else if (id == IDOK || id == IDCANCEL) {
        if (id == IDOK)
          g_image.confirmedExtraction = g_image.currentExtraction;
        else
          g_image.currentExtraction = g_image.confirmedExtraction;
        PostMessageA(g_mainWindow, kApplyExtractionMessage, 0, 0);
        DestroyWindow(dialog);
        g_extractionDialog = nullptr;
      }
      return TRUE;
    }
    case WM_DESTROY:
      g_image.currentExtraction = g_image.confirmedExtraction;
      g_extractionDialog = nullptr;
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void extraction_reset() {
  g_image.currentExtraction = 0;
  g_image.confirmedExtraction = 0;
  g_image.extractCopy.reset();
  if (g_extractionDialog) DestroyWindow(g_extractionDialog);
  g_extractionDialog = nullptr;
  // The dialog's destruction put back the confirmed choice: the new image
  // shows all its colours.
  g_image.currentExtraction = g_image.confirmedExtraction = 0;
}

bool extraction_ensure_copy() {
  if (!g_image.dib) return false;
  frame::BlockLock image(g_image.dib.get());
  const uint8_t* block = image.get();
  fmt::bmp::DibLayout l;
  return block && image_layout(block, &l) && !extracts_through_table(l) && ensure_copy(block, l);
}

void extraction_command(HWND main) {
  if (g_extractionDialog) {
    SetFocus(g_extractionDialog);
    return;
  }
  g_image.currentExtraction = g_image.confirmedExtraction;
  g_extractionDialog = CreateDialogParamA(g_instance, frame::tr(IDD_EXTRACTION, IDD_EXTRACTION_J), main,
                                          extraction_dialog_proc, 0);
  if (!g_extractionDialog) {
    frame::report_dialog_failure();
    return;
  }
  g_image.view.vBarVisibleAtLastMove = g_image.view.vBarVisible;
  extraction_follow_main_window(main, g_image.view.vBarVisible != 0);
}

void extraction_apply(HWND main) {
  if (g_image.dib && g_image.displayKind != Splash && g_image.displayKind != Unset) {
    frame::WaitCursor busy;
    frame::BlockLock image(g_image.dib.get());
    uint8_t* block = image.get();
    fmt::bmp::DibLayout l;
    if (block && image_layout(block, &l)) {
      const int choice = g_image.currentExtraction;
      if (extracts_through_table(l)) {
        extract_table(block, l, g_image.figures.palette, g_image.figures.palette_size, choice);
      } else if (ensure_copy(block, l)) {
        if (const uint8_t* copy = g_image.extractCopy.lock()) extract_pixels(block, l, copy, choice);
        g_image.extractCopy.unlock();
      }
    }
  }
  // The reduced picture the view keeps shows the colours before this choice.
  invalidate_kept_picture();
  redraw_view(main, true);
}

void extraction_follow_main_window(HWND main, bool vBarVisible) {
  if (!g_extractionDialog) return;
  RECT mainRect, dlgRect;
  GetWindowRect(main, &mainRect);
  GetWindowRect(g_extractionDialog, &dlgRect);
  int x = mainRect.right - (dlgRect.right - dlgRect.left) - 8;
  if (vBarVisible) x -= g_screen.vScrollWidth;
  const int y = mainRect.top + g_screen.dialogOffset - 2;
  SetWindowPos(g_extractionDialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void extraction_focus_dialog() {
  if (g_extractionDialog && GetFocus() != g_extractionDialog) SetFocus(g_extractionDialog);
}

void extraction_shutdown() { extraction_reset(); }

}  // namespace viewer
